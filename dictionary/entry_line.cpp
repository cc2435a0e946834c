#include "dictionary/entry_line.h"

#include "text/codec.h"

namespace kirvale::dictionary {
namespace {
constexpr auto npos = std::string_view::npos;

std::string_view between(std::string_view s, std::size_t from, std::size_t to) {
  if (from == npos || to == npos || to < from) return {};
  return s.substr(from, to - from);
}
}  // namespace

DictionaryEntry ParseEntryLine(std::string_view line) {
  DictionaryEntry e;
  const std::size_t bracket = line.find('[');
  const std::size_t slash = line.find('/');
  const std::size_t doubleSlash = line.find("//");

  e.headWord = JapaneseListItem(line);

  if (bracket != npos) {
    const std::size_t close = line.find(']');
    if (close != npos && close > bracket) e.kana = std::string(between(line, bracket + 1, close));
  }

  if (slash != npos && doubleSlash != npos && doubleSlash > slash)
    e.english = std::string(between(line, slash + 1, doubleSlash));

  if (doubleSlash != npos) {
    const std::size_t start = doubleSlash + 2;
    // The Chinese text ends one character before the end of the line (the
    // closing "/"). "Character" is a whole UTF-8 character here, as it was a
    // whole GBK character on disk.
    std::size_t end = line.size();
    if (end > 0) {
      --end;
      while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    }
    if (end > start) e.chinese = std::string(line.substr(start, end - start));
  }
  return e;
}

std::string JapaneseListItem(std::string_view line) {
  std::size_t cut = line.find('[');
  if (cut == npos) cut = line.find('/');
  // A line without either mark has no head word: it must not turn into an
  // entry that every lookup of its whole text would "find".
  if (cut == npos) return {};
  return text::trim(line.substr(0, cut));
}

std::string_view EnglishHeadWord(std::string_view line) {
  std::size_t comma = line.find(',');
  return comma == npos ? std::string_view() : line.substr(0, comma);
}

std::string_view EnglishExplanation(std::string_view line) {
  std::size_t comma = line.find(',');
  return comma == npos ? std::string_view() : line.substr(comma + 1);
}

std::string EnglishListItem(std::string_view line) { return text::trim(EnglishHeadWord(line)); }

}  // namespace kirvale::dictionary
