#include "dictionary/lookup.h"

#include <algorithm>

#include "personal/user_dict.h"
#include "settings/messages.h"
#include "text/codec.h"

namespace kirvale::dictionary {
namespace {

constexpr const char* kDiamond = "◇";

std::string kanaLabel(const std::string& kana) { return kana.empty() ? std::string() : "〖" + kana + "〗"; }

}  // namespace

Mode ModeOf(std::string_view trimmed) {
  const unsigned char c = trimmed.empty() ? 0 : static_cast<unsigned char>(trimmed[0]);
  const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return alnum ? Mode::English : Mode::Japanese;
}

int TrackList(const std::vector<std::string>& items, std::string_view prefix) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (std::string_view(items[i]).starts_with(prefix)) return static_cast<int>(i);
  return -1;
}

namespace {
int trackIndexed(const LineIndex& index, std::string_view prefix) {
  const auto [first, last] = index.Prefix(prefix);
  return index.FirstLine(first, last);
}
}  // namespace

int TrackJapaneseList(const DictionaryReader& reader, std::string_view prefix) {
  return trackIndexed(reader.Index(IndexKey::JapaneseItem), prefix);
}

int TrackEnglishList(const DictionaryReader& reader, std::string_view prefix) {
  return trackIndexed(reader.Index(IndexKey::EnglishItem), prefix);
}

std::vector<std::string> JapaneseListItems(const DictionaryReader& reader) {
  std::vector<std::string> items;
  items.reserve(reader.size());
  for (const auto& line : reader.lines()) items.push_back(JapaneseListItem(line));
  return items;
}

std::vector<std::string> EnglishListItems(const DictionaryReader& reader) {
  std::vector<std::string> items;
  items.reserve(reader.size());
  for (const auto& line : reader.lines()) items.push_back(EnglishListItem(line));
  return items;
}

void SetNotFound(LookupResult& r, std::string_view text) {
  using namespace settings::msg;
  r.found = false;
  r.headLabel = kDiamond + std::string(text);
  r.kanaLabel.clear();
  r.chinesePane = kEntryNotFound.english;
  r.englishPane = kEntryNotFound.chinese;
  if (r.mode == Mode::Japanese) {
    r.chinesePane += kTryAdvancedSearch.english;
    r.englishPane += kTryAdvancedSearch.chinese;
  }
}

int ScanJapaneseLine(const DictionaryReader& reader, std::string_view text) {
  const auto& lines = reader.lines();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (JapaneseListItem(lines[i]) == text) return static_cast<int>(i);
  return -1;
}

int FindJapaneseLine(const DictionaryReader& reader, std::string_view text) {
  const LineIndex& index = reader.Index(IndexKey::JapaneseItem);
  const auto [first, last] = index.Equal(text);
  return first < last ? index.LineAt(first) : -1;
}

LookupResult SearchJapanese(const DictionaryReader& reader, std::string_view text,
                            const personal::UserDictionary* userDictionary) {
  LookupResult r;
  r.mode = Mode::Japanese;
  // Only the head word decides; the rest of the line is parsed on a hit.
  if (const int hit = FindJapaneseLine(reader, text); hit >= 0) {
    const std::string_view line = reader.line(static_cast<std::size_t>(hit));
    r.entry = ParseEntryLine(line);
    r.found = true;
    r.kanaLabel = kanaLabel(r.entry.kana);
    r.chinesePane = r.entry.chinese;
    r.englishPane = r.entry.english;
    r.currentEntryLine = line;
  }
  if (!r.found && userDictionary) {
    const int pos = userDictionary->FindUserEntry(text);
    if (pos >= 0) {
      r.entry = ParseEntryLine(userDictionary->lines()[static_cast<std::size_t>(pos)]);
      r.found = true;
      r.fromUserDictionary = true;
      r.kanaLabel = kanaLabel(r.entry.kana);
      r.chinesePane = r.entry.chinese + settings::msg::kFoundInMyDictionary.chinese;
      r.englishPane = r.entry.english + settings::msg::kFoundInMyDictionary.english;
    }
  }
  if (r.found)
    r.headLabel = kDiamond + r.entry.headWord;
  else
    SetNotFound(r, text);
  return r;
}

// Candidate k matches a line when it equals the lower-case head word; the
// first candidate also when it equals the head word as stored. A
// first-candidate match ends the pass; otherwise the last matching line wins.
int ScanEnglishLine(const DictionaryReader& reader, const std::vector<std::string>& candidates) {
  const auto& lines = reader.lines();
  int remembered = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view head = EnglishHeadWord(lines[i]);
    const std::string lowerHead = text::asciiLower(head);
    int matched = -1;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
      if (candidates[k] == lowerHead || (k == 0 && candidates[k] == head)) {
        matched = static_cast<int>(k);
        break;
      }
    }
    if (matched < 0) continue;
    remembered = static_cast<int>(i);
    if (matched == 0) break;
  }
  return remembered;
}

int FindEnglishLine(const DictionaryReader& reader, const std::vector<std::string>& candidates) {
  if (candidates.empty()) return -1;
  const LineIndex& exact = reader.Index(IndexKey::EnglishHead);
  const LineIndex& folded = reader.Index(IndexKey::EnglishHeadFolded);
  // A candidate with an upper-case letter never equals a lower-case head
  // word, so only lower-case candidates are looked up without case.
  auto isLower = [](const std::string& c) {
    return std::none_of(c.begin(), c.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; });
  };
  // The first candidate: the first line it matches ends the pass.
  int first = -1;
  if (const auto [a, b] = exact.Equal(candidates[0]); a < b) first = exact.LineAt(a);
  if (isLower(candidates[0]))
    if (const auto [a, b] = folded.Equal(candidates[0]); a < b) {
      const int line = folded.LineAt(a);
      if (first < 0 || line < first) first = line;
    }
  if (first >= 0) return first;
  // Otherwise the last line any other candidate matches.
  int last = -1;
  for (std::size_t k = 1; k < candidates.size(); ++k) {
    if (!isLower(candidates[k])) continue;
    if (const auto [a, b] = folded.Equal(candidates[k]); a < b) last = std::max(last, folded.LineAt(b - 1));
  }
  return last;
}

LookupResult SearchEnglish(const DictionaryReader& reader, std::string_view text, const SuffixTable& table) {
  LookupResult r;
  r.mode = Mode::English;
  const int hit = FindEnglishLine(reader, CandidateForms(text, table));
  if (hit >= 0) {
    const std::string_view line = reader.line(static_cast<std::size_t>(hit));
    r.found = true;
    r.entry.headWord = std::string(EnglishHeadWord(line));
    r.chinesePane = text::trim(EnglishExplanation(line));
    r.englishPane.clear();
    r.headLabel = kDiamond + r.entry.headWord;
  } else {
    SetNotFound(r, text);
  }
  return r;
}

std::string CopyText(std::string_view headLabel, std::string_view kanaLabel, std::string_view english,
                     std::string_view chinese) {
  std::string out(headLabel);
  out += '\n';
  out += kanaLabel;
  out += '\n';
  out += english;
  out += '\n';
  out += ' ';
  out += chinese;
  return out;
}

std::string EnglishPaneWord(std::string_view selected) {
  std::string w = text::trim(selected);
  if (!w.empty() && w.back() == ';') w.pop_back();
  return w;
}

}  // namespace kirvale::dictionary
