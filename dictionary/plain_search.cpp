#include "dictionary/plain_search.h"

#include <algorithm>
#include <cstring>

#include "dictionary/dictionary_reader.h"
#include "dictionary/entry_line.h"
#include "dictionary/lookup.h"
#include "text/codec.h"

namespace kirvale::dictionary {
namespace {

bool isBreak(char c) { return c == '\r' || c == '\n'; }

// The number of line breaks: LF, and CR not followed by LF.
std::size_t countBreaks(std::string_view bytes) {
  if (bytes.empty()) return 0;
  std::size_t n = 0;
  const char* p = bytes.data();
  const std::size_t last = bytes.size() - 1;
  for (std::size_t i = 0; i < last; ++i) n += (p[i] == '\n') | ((p[i] == '\r') & (p[i + 1] != '\n'));
  return n + (p[last] == '\n' || p[last] == '\r');
}

// The next line break at or after `from` (CR or LF), found with memchr and
// remembered, so that walking all lines costs one pass per break kind.
class BreakFinder {
 public:
  explicit BreakFinder(std::string_view bytes) : bytes_(bytes) {}
  std::size_t next(std::size_t from) {
    return std::min(find(from, '\r', cr_), find(from, '\n', lf_));
  }

 private:
  std::size_t find(std::size_t from, char c, std::size_t& cached) {
    if (cached != kUnknown && cached >= from) return cached;
    const void* p = from < bytes_.size() ? std::memchr(bytes_.data() + from, c, bytes_.size() - from) : nullptr;
    cached = p ? static_cast<std::size_t>(static_cast<const char*>(p) - bytes_.data()) : bytes_.size();
    return cached;
  }
  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  std::string_view bytes_;
  std::size_t cr_ = kUnknown, lf_ = kUnknown;
};

// The lines of a file's bytes as the reader splits them: CR LF, LF and a
// lone CR end a line; a final line without a break still counts.
class LineWalker {
 public:
  explicit LineWalker(std::string_view bytes) : bytes_(bytes) {
    // With fewer breaks than kMaxLines no line is dropped, and line numbers
    // need not be counted.
    counting_ = countBreaks(bytes) >= kMaxLines;
  }

  // Start and end of the line holding byte `at`; false when that line is
  // past kMaxLines. Calls must come with `at` in increasing order.
  bool lineAt(std::size_t at, std::size_t& start, std::size_t& end) {
    start = at;
    while (start > 0 && !isBreak(bytes_[start - 1])) --start;
    end = at;
    while (end < bytes_.size() && !isBreak(bytes_[end])) ++end;
    if (!counting_) return true;
    // Line number of `start`: line breaks before it, CR LF counting once.
    for (; scanned_ < start; ++scanned_) {
      const char c = bytes_[scanned_];
      if (c == '\n' || (c == '\r' && !(scanned_ + 1 < bytes_.size() && bytes_[scanned_ + 1] == '\n'))) ++lines_;
    }
    return lines_ < kMaxLines;
  }

 private:
  std::string_view bytes_;
  bool counting_ = false;
  std::size_t scanned_ = 0;
  std::size_t lines_ = 0;
};

// The GBK bytes every line whose decoded text holds `utf8` must contain,
// or nothing when the text has no single byte form (invalid UTF-8, or the
// replacement character, which any bad byte decodes to).
std::optional<std::string> searchableBytes(std::string_view utf8) {
  if (utf8.find("\xEF\xBF\xBD") != std::string_view::npos) return std::nullopt;
  std::string bytes = text::utf8ToGbk(utf8);
  if (text::gbkToUtf8(bytes) != utf8) return std::nullopt;
  return bytes;
}

// True when `lowered` equals `s` with ASCII A-Z made lower case.
bool equalsLowered(std::string_view lowered, std::string_view s) {
  if (lowered.size() != s.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
    if (c != lowered[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> FindJapaneseLineInBytes(std::string_view gbk, std::string_view text) {
  const std::optional<std::string> needle = searchableBytes(text);
  if (!needle || needle->empty()) {
    // No byte pattern to look for: decode the whole file.
    DictionaryReader reader;
    reader.BindGbk(gbk);
    const int hit = ScanJapaneseLine(reader, text);
    if (hit < 0) return std::nullopt;
    return std::string(reader.line(static_cast<std::size_t>(hit)));
  }
  LineWalker walker(gbk);
  std::size_t from = 0;
  while (from < gbk.size()) {
    const void* hit = ::memmem(gbk.data() + from, gbk.size() - from, needle->data(), needle->size());
    if (!hit) break;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - gbk.data());
    std::size_t start = 0, end = 0;
    if (!walker.lineAt(at, start, end)) break;
    // The item is the line's text up to "[" or "/", trimmed: a line whose
    // item is the word has the word's bytes right after its leading blanks.
    std::size_t first = start;
    while (first < end && static_cast<unsigned char>(gbk[first]) <= 32) ++first;
    if (first == at) {
      std::string line = text::gbkToUtf8(gbk.substr(start, end - start));
      if (JapaneseListItem(line) == text) return line;
    }
    from = end;  // the next line
  }
  return std::nullopt;
}

std::optional<std::string> FindEnglishLineInBytes(std::string_view gbk, const std::vector<std::string>& candidates) {
  if (candidates.empty()) return std::nullopt;
  std::optional<std::string> remembered;
  std::size_t start = 0, number = 0;
  BreakFinder breaks(gbk);
  while (start < gbk.size() && number < kMaxLines) {
    const std::size_t end = breaks.next(start);
    const std::string_view line = gbk.substr(start, end - start);
    // "," is ASCII and never part of a GBK character: the head word's bytes
    // decode to the head word of the decoded line.
    const std::string_view headBytes = EnglishHeadWord(line);
    std::string decoded;
    std::string_view head = headBytes;
    if (std::any_of(headBytes.begin(), headBytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
      decoded = text::gbkToUtf8(headBytes);
      head = decoded;
    }
    int matched = -1;
    for (std::size_t k = 0; k < candidates.size() && matched < 0; ++k) {
      const std::string& c = candidates[k];
      if (c.size() != head.size()) continue;
      if ((k == 0 && c == head) || equalsLowered(c, head)) matched = static_cast<int>(k);
    }
    if (matched >= 0) {
      remembered = text::gbkToUtf8(line);
      if (matched == 0) break;
    }
    // Past the line break (CR LF is one).
    if (end == gbk.size()) break;
    start = end + 1;
    if (gbk[end] == '\r' && start < gbk.size() && gbk[start] == '\n') ++start;
    ++number;
  }
  return remembered;
}

}  // namespace kirvale::dictionary
