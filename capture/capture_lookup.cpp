#include "capture/capture_lookup.h"

#include <algorithm>
#include <climits>
#include <span>
#include <cstring>

#include "settings/messages.h"
#include "text/codec.h"

namespace kirvale::capture {
namespace {

constexpr std::size_t kMaxKeyCharacters = 5;
constexpr std::size_t kMaxFieldText = kTextField - 1;
constexpr const char* kDot = "\xC2\xB7";  // U+00B7, A1 A4 in GBK

// One character of a UTF-8 text: its bytes, and whether they are a valid
// sequence. A byte that starts no valid sequence is a character of its own.
struct Character {
  std::string_view bytes;
  bool valid;
};

Character nextCharacter(std::string_view s, std::size_t at) {
  const auto b = static_cast<unsigned char>(s[at]);
  std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || at + n > s.size()) return {s.substr(at, 1), n == 1};
  for (std::size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80) return {s.substr(at, 1), false};
  return {s.substr(at, n), true};
}

std::vector<std::string_view> characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < s.size();) {
    Character c = nextCharacter(s, i);
    out.push_back(c.bytes);
    i += c.bytes.size();
  }
  return out;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalLower(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}

// Byte-wise comparison of the lower-case forms: true when a sorts before b.
bool lessLower(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(lowerAscii(a[i]));
    const auto y = static_cast<unsigned char>(lowerAscii(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool isKeyAscii(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '\'';
}

bool isDelimiter(std::string_view c) {
  static constexpr const char* kDelimiters[] = {"，", "。", "！", "？", "（", "）", "《", "》", "—", "、", "…"};
  for (const char* d : kDelimiters)
    if (c == d) return true;
  return false;
}

// True when the character is a single byte below 127 in the ANSI code page:
// an ASCII character below 127, or one that code page cannot hold.
bool singleByteInAnsi(const Character& c) {
  if (!c.valid) return true;
  if (c.bytes.size() == 1) return static_cast<unsigned char>(c.bytes[0]) < 127;
  return !text::fitsGbk(c.bytes);
}

// Number of open candidates among the first `count`.
int leadingRun(const Slots& candidates) {
  int n = 0;
  while (n < kSlots && !candidates[n].empty()) ++n;
  return n;
}

}  // namespace

// ---------------------------------------------------------------- block text

std::string BlockFieldFromText(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    Character c = nextCharacter(utf8, i);
    i += c.bytes.size();
    std::string bytes;
    if (c.valid && c.bytes.size() == 1)
      bytes = std::string(c.bytes);
    else if (c.valid && text::fitsGbk(c.bytes))
      bytes = text::utf8ToGbk(c.bytes);
    else
      bytes = "?";
    if (out.size() + bytes.size() > kMaxFieldText) break;
    out += bytes;
  }
  // A NUL inside the selection ends the text there, as it would in the field.
  if (std::size_t nul = out.find('\0'); nul != std::string::npos) out.resize(nul);
  return out;
}

std::string TextFromBlockField(std::string_view field) {
  field = field.substr(0, kTextField);
  if (std::size_t nul = field.find('\0'); nul != std::string_view::npos) field = field.substr(0, nul);
  return text::trim(text::gbkToUtf8(field));
}

std::uint32_t TargetHandle(const unsigned char* block) {
  std::uint32_t h = 0;
  for (int i = 3; i >= 0; --i) h = h << 8 | block[kTargetOffset + static_cast<std::size_t>(i)];
  return h;
}

void WriteTargetHandle(unsigned char* block, std::uint32_t handle) {
  for (int i = 0; i < 4; ++i) block[kTargetOffset + static_cast<std::size_t>(i)] = static_cast<unsigned char>(handle >> (8 * i));
}

void WriteBlockText(unsigned char* block, std::string_view field) {
  field = field.substr(0, kMaxFieldText);
  std::memset(block + kTextOffset, 0, kTextField);
  std::memcpy(block + kTextOffset, field.data(), field.size());
}

// ---------------------------------------------------------------- key and candidates

std::string CaptureKey(std::string_view text) {
  if (text.empty()) return {};
  if (static_cast<unsigned char>(text[0]) < 127) {
    std::size_t n = 0;
    while (n < text.size() && isKeyAscii(static_cast<unsigned char>(text[n]))) ++n;
    return std::string(text.substr(0, n));
  }
  std::string key;
  std::size_t taken = 0;
  for (std::size_t i = 0; i < text.size() && taken < kMaxKeyCharacters;) {
    Character c = nextCharacter(text, i);
    if (singleByteInAnsi(c) || isDelimiter(c.bytes)) break;
    key += c.bytes;
    i += c.bytes.size();
    ++taken;
  }
  return key;
}

bool IsJapaneseKey(std::string_view key) { return !key.empty() && static_cast<unsigned char>(key[0]) >= 127; }

Slots Candidates(std::string_view key, bool japanese, const dictionary::SuffixTable& table) {
  Slots out;
  if (key.empty()) return out;
  if (japanese) {
    const std::vector<std::string_view> chars = characters(key);
    for (std::size_t k = 1; k <= kSlots; ++k) {
      const std::size_t from = chars.size() > k ? chars.size() - k : 0;
      for (std::size_t i = from; i < chars.size(); ++i) out[k - 1] += chars[i];
    }
    return out;
  }
  const std::vector<std::string> forms = dictionary::CandidateForms(key, table);
  for (std::size_t i = 0; i < forms.size() && i < kSlots; ++i) out[i] = forms[i];
  return out;
}

// ---------------------------------------------------------------- search

std::string_view JapaneseHeadWord(std::string_view line) { return dictionary::HeadBeforeSpace(line); }

std::string_view EnglishHeadWord(std::string_view line) { return dictionary::HeadBeforeComma(line); }

Slots SearchJapanese(const std::vector<std::string>& lines, const Slots& candidates) {
  Slots results;
  const int n = leadingRun(candidates);
  std::array<bool, kSlots> open{};
  int remaining = n;
  for (int k = 0; k < n; ++k) open[k] = true;
  for (const std::string& line : lines) {
    if (remaining == 0) break;
    for (int k = 0; k < n; ++k) {
      // Most lines fail on their first bytes; the head word is cut only
      // for a line that begins with the candidate.
      if (!open[k] || !std::string_view(line).starts_with(candidates[k])) continue;
      if (!JapaneseHeadWord(line).starts_with(candidates[k])) continue;
      results[k] = line;
      open[k] = false;
      --remaining;
      break;
    }
  }
  return results;
}

Slots SearchEnglish(const std::vector<std::string>& lines, const Slots& candidates) {
  Slots results;
  const int n = leadingRun(candidates);
  std::array<bool, kSlots> open{};
  std::array<bool, kSlots> hasComma{};
  for (int k = 0; k < n; ++k) {
    open[k] = true;
    hasComma[k] = candidates[k].find(',') != std::string::npos;
  }
  // The scan goes on while one of candidates 1..4 is non-empty and open.
  auto keepsScanning = [&] {
    for (int k = 0; k < std::min(n, 4); ++k)
      if (open[k]) return true;
    return false;
  };
  const std::string* fallback = nullptr;
  if (keepsScanning()) {
    for (const std::string& line : lines) {
      const std::string_view l(line);
      const std::string_view head = fallback ? std::string_view() : EnglishHeadWord(l);
      for (int k = 0; k < n; ++k) {
        if (!open[k]) continue;
        const std::string& c = candidates[k];
        bool exact;
        if (!fallback) {
          if (equalLower(c, head)) fallback = &line;
          exact = c == head;
        } else if (hasComma[k]) {
          exact = c == EnglishHeadWord(l);
        } else {
          // Without a comma in the candidate, the head word equals it exactly
          // when the line begins with it followed by the comma.
          exact = l.size() > c.size() && l[c.size()] == ',' && l.starts_with(c);
        }
        if (exact) {
          results[k] = line;
          open[k] = false;
          break;
        }
      }
      if (!fallback && lessLower(candidates[0], head) && head.find(' ') == std::string_view::npos)
        fallback = &line;
      if (!keepsScanning()) break;
    }
  }
  if (fallback && results[0].empty() && results[1].empty() && results[2].empty() && results[3].empty())
    results[0] = *fallback;
  return results;
}

// Candidate k gets the first line its head word matches that no
// lower-numbered candidate took: in the pass, a line goes to the
// lowest-numbered open candidate it matches, and candidate j takes exactly
// one line, its own first match among the lines the candidates before it
// left. Candidate 5 of the English search only counts while the pass runs,
// i.e. before the line on which the last of candidates 1..4 closed.
Slots FindJapanese(const dictionary::DictionaryReader& reader, const Slots& candidates) {
  Slots results;
  const int n = leadingRun(candidates);
  if (n == 0) return results;
  const dictionary::LineIndex& index = reader.Index(dictionary::IndexKey::HeadBeforeSpace);
  std::array<int, kSlots> taken{};
  int count = 0;
  for (int k = 0; k < n; ++k) {
    const auto [first, last] = index.Prefix(candidates[k]);
    const int line = index.FirstLineExcept(first, last, std::span<const int>(taken.data(), count));
    if (line < 0) continue;
    results[k] = reader.line(static_cast<std::size_t>(line));
    taken[count++] = line;
  }
  return results;
}

Slots FindEnglish(const dictionary::DictionaryReader& reader, const Slots& candidates) {
  Slots results;
  const int n = leadingRun(candidates);
  if (n == 0) return results;
  const dictionary::LineIndex& exact = reader.Index(dictionary::IndexKey::HeadBeforeComma);
  std::array<int, kSlots> lineOf;
  lineOf.fill(-1);
  std::array<int, kSlots> taken{};
  int count = 0;
  for (int k = 0; k < n; ++k) {
    const auto [first, last] = exact.Equal(candidates[k]);
    const int line = exact.FirstLineExcept(first, last, std::span<const int>(taken.data(), count));
    if (line < 0) continue;
    lineOf[k] = line;
    taken[count++] = line;
  }
  // The pass stops after the line that closed the last of candidates 1..4;
  // it runs to the end while one of them never matches.
  const int scanned = std::min(n, 4);
  int end = -1;
  for (int k = 0; k < scanned; ++k) end = lineOf[k] < 0 ? INT32_MAX : std::max(end, lineOf[k]);
  for (int k = scanned; k < n; ++k)
    if (lineOf[k] >= end) lineOf[k] = -1;
  for (int k = 0; k < n; ++k)
    if (lineOf[k] >= 0) results[k] = reader.line(static_cast<std::size_t>(lineOf[k]));
  if (!results[0].empty() || !results[1].empty() || !results[2].empty() || !results[3].empty()) return results;
  // No exact match among candidates 1..4, so the pass read every line. The
  // fallback is the first line whose head word equals an open candidate
  // without case (a candidate is open up to and including its exact match,
  // which is also such a line), or that has no space and sorts after
  // candidate 1.
  const dictionary::LineIndex& folded = reader.Index(dictionary::IndexKey::HeadBeforeCommaFolded);
  const dictionary::LineIndex& after = reader.Index(dictionary::IndexKey::HeadBeforeCommaFoldedNoSpace);
  int fallback = after.FirstLine(after.UpperBound(candidates[0]), after.size());
  for (int k = 0; k < n; ++k) {
    const auto [first, last] = folded.Equal(candidates[k]);
    if (first < last && (fallback < 0 || folded.LineAt(first) < fallback)) fallback = folded.LineAt(first);
  }
  if (fallback >= 0) results[0] = reader.line(static_cast<std::size_t>(fallback));
  return results;
}

// ---------------------------------------------------------------- scores and order

int MatchScore(std::string_view candidate, std::string_view headWord) {
  if (!candidate.empty() && candidate == headWord) return -1;
  int shared = 0;
  std::size_t i = 0, j = 0;
  while (i < candidate.size() && j < headWord.size()) {
    Character a = nextCharacter(candidate, i);
    Character b = nextCharacter(headWord, j);
    if (a.bytes.size() == 1 && b.bytes.size() == 1) {
      if (lowerAscii(a.bytes[0]) != lowerAscii(b.bytes[0])) break;
    } else if (a.bytes != b.bytes) {
      break;
    }
    ++shared;
    i += a.bytes.size();
    j += b.bytes.size();
  }
  return shared;
}

std::array<int, kSlots> DisplayOrder(const std::array<int, kSlots>& scores) {
  // -1 (an exact match) ranks above every count of shared characters.
  auto rank = [](int score) { return score == -1 ? 1 << 30 : score; };
  std::array<int, kSlots> order{};
  std::array<bool, kSlots> taken{};
  for (int j = 0; j < kSlots; ++j) {
    int best = -1;
    for (int k = 0; k < kSlots; ++k) {
      if (taken[k]) continue;
      if (best < 0 || rank(scores[k]) >= rank(scores[best])) best = k;
    }
    taken[best] = true;
    order[j] = best;
  }
  return order;
}

// ---------------------------------------------------------------- line texts

std::string JapaneseLineText(std::string_view line, std::int16_t showwhat) {
  std::string explanation;
  const std::size_t doubleSlash = line.find("//");
  if (showwhat == 1) {
    if (doubleSlash != std::string_view::npos) {
      explanation = text::trim(line.substr(doubleSlash + 2));
      // The closing "/" of the entry; a malformed line without one keeps its
      // last character.
      if (!explanation.empty() && explanation.back() == '/') explanation.pop_back();
    }
  } else {
    const std::size_t slash = line.find('/');
    if (slash != std::string_view::npos && doubleSlash != std::string_view::npos && doubleSlash > slash)
      explanation = std::string(line.substr(slash + 1, doubleSlash - slash - 1));
  }
  return std::string(kDot) + std::string(JapaneseHeadWord(line)) + "," + explanation;
}

std::string EnglishLineText(std::string_view line) { return std::string(kDot) + std::string(line); }

std::string NotFoundLineText(std::string_view capturedText, std::int16_t uiLanguage) {
  return std::string(kDot) + std::string(capturedText) + "," + settings::msg::kNotFound.in(uiLanguage);
}

std::string MarkedLineWord(std::string_view lineText) {
  const std::size_t comma = lineText.find(',');
  if (comma == std::string_view::npos) return {};
  std::string_view word = lineText.substr(0, comma);
  // Drop the first character, the dot.
  if (!word.empty()) word.remove_prefix(nextCharacter(word, 0).bytes.size());
  return std::string(word);
}

// ---------------------------------------------------------------- the whole look-up

PopupLookup LookUp(std::string_view text, const dictionary::DictionaryReader& japanese,
                   const dictionary::DictionaryReader& english, const dictionary::SuffixTable& table,
                   const LookupOptions& options) {
  PopupLookup r;
  r.key = CaptureKey(text);
  if (r.key.empty()) return r;
  r.japanese = IsJapaneseKey(r.key);
  const dictionary::DictionaryReader& reader = r.japanese ? japanese : english;
  if (!reader.bound()) {
    r.outcome = PopupLookup::Outcome::Unreadable;
    return r;
  }
  r.candidates = Candidates(r.key, r.japanese, table);
  r.results = r.japanese ? FindJapanese(reader, r.candidates) : FindEnglish(reader, r.candidates);
  for (int k = 0; k < kSlots; ++k)
    r.scores[k] = MatchScore(r.candidates[k], r.japanese ? JapaneseHeadWord(r.results[k]) : EnglishHeadWord(r.results[k]));
  r.order = DisplayOrder(r.scores);
  for (int j = 0; j < kSlots; ++j) {
    const int k = r.order[j];
    if (r.scores[k] == 0) continue;
    if (options.match == 1 && r.scores[k] != -1) break;
    r.texts[j] = r.japanese ? JapaneseLineText(r.results[k], options.showwhat) : EnglishLineText(r.results[k]);
    r.visible[j] = true;
    r.slotFilled[j] = true;
    r.slotLines[j] = r.results[k];
    r.shownAny = true;
    r.lastLine = j;
  }
  if (r.shownAny) {
    r.outcome = PopupLookup::Outcome::Listed;
  } else {
    r.outcome = PopupLookup::Outcome::NotFound;
    r.texts[0] = NotFoundLineText(text, options.uiLanguage);
    r.visible[0] = true;
    r.lastLine = 0;
  }
  return r;
}

// ---------------------------------------------------------------- window geometry

MessageDecision DecideOnMessage(std::int64_t lParam, int x, int y, const Rect& mainWindow, const Rect& popup,
                                bool popupClosed, bool minimised, bool followCursor) {
  MessageDecision d;
  if (popup.contains(x, y)) return d;
  if (mainWindow.contains(x, y) || popupClosed) {
    if (!minimised) {
      d.hide = true;
      return d;
    }
  } else if (lParam == kNotifyPointer) {
    d.hide = followCursor && !popup.grown(12).contains(x, y);
    return d;
  }
  d.readText = lParam == kNotifyText;
  return d;
}

Point PlacePopup(Point p, int width, int height, const Rect& screen) {
  Point at{p.x + 8, p.y + 8};
  if (at.y + height > screen.bottom) at.y = p.y - height - 8;
  if (at.x + width > screen.right) at.x = p.x - width - 8;
  return at;
}

}  // namespace kirvale::capture
