#include "dictionary/advanced_search.h"

namespace kirvale::dictionary {
namespace {
constexpr auto npos = std::string_view::npos;

constexpr std::array<const char*, kSearchFieldCount> kEnglishRows{"Japanese entry", "Kana", "Chinese", "English",
                                                                  "Any of above"};
constexpr std::array<const char*, kSearchFieldCount> kChineseRows{"日文词条", "假名发音", "中文解释", "英语解释",
                                                                  "以上四项"};

std::string_view trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

}  // namespace

const std::array<const char*, kSearchFieldCount>& SearchFieldTexts(std::int16_t uiLanguage) {
  return uiLanguage == 0 ? kEnglishRows : kChineseRows;
}

// The same cuts as ParseEntryLine (entry_line.cpp), as views into the line.
std::string_view EntryField(std::string_view line, SearchField field) {
  switch (field) {
    case SearchField::HeadWord: {
      std::size_t cut = line.find('[');
      if (cut == npos) cut = line.find('/');
      // A line without either mark has no head word.
      if (cut == npos) return {};
      return trimmed(line.substr(0, cut));
    }
    case SearchField::Kana: {
      const std::size_t bracket = line.find('[');
      if (bracket == npos) return {};
      const std::size_t close = line.find(']');
      if (close == npos || close <= bracket) return {};
      return line.substr(bracket + 1, close - bracket - 1);
    }
    case SearchField::English: {
      const std::size_t slash = line.find('/');
      const std::size_t doubleSlash = line.find("//");
      if (slash == npos || doubleSlash == npos || doubleSlash <= slash) return {};
      return line.substr(slash + 1, doubleSlash - slash - 1);
    }
    case SearchField::Chinese: {
      const std::size_t doubleSlash = line.find("//");
      if (doubleSlash == npos) return {};
      const std::size_t start = doubleSlash + 2;
      // Less the line's last whole character (the closing "/").
      std::size_t end = line.size();
      if (end > 0) {
        --end;
        while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
      }
      if (end <= start) return {};
      return line.substr(start, end - start);
    }
    case SearchField::WholeLine:
      return line;
  }
  return {};
}

std::optional<AdvancedSearchResult> AdvancedSearch(const DictionaryReader& reader, std::string_view text,
                                                   SearchField field) {
  const std::string_view wanted = trimmed(text);
  if (wanted.empty()) return std::nullopt;
  AdvancedSearchResult result;
  for (const std::string_view line : reader.lines()) {
    if (EntryField(line, field).find(wanted) == npos) continue;
    result.headWords.emplace_back(EntryField(line, SearchField::HeadWord));
  }
  return result;
}

}  // namespace kirvale::dictionary
