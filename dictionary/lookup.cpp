#include "dictionary/lookup.h"

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

LookupResult SearchJapanese(const DictionaryReader& reader, std::string_view text,
                            const personal::UserDictionary* userDictionary) {
  LookupResult r;
  r.mode = Mode::Japanese;
  for (const auto& line : reader.lines()) {
    // Only the head word decides; the rest of the line is parsed on a hit.
    if (JapaneseListItem(line) != text) continue;
    r.entry = ParseEntryLine(line);
    r.found = true;
    r.kanaLabel = kanaLabel(r.entry.kana);
    r.chinesePane = r.entry.chinese;
    r.englishPane = r.entry.english;
    r.currentEntryLine = line;
    break;
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

LookupResult SearchEnglish(const DictionaryReader& reader, std::string_view text, const SuffixTable& table) {
  LookupResult r;
  r.mode = Mode::English;
  const std::vector<std::string> candidates = CandidateForms(text, table);
  const std::string* remembered = nullptr;
  for (const auto& line : reader.lines()) {
    const std::string_view head = EnglishHeadWord(line);
    const std::string lowerHead = text::asciiLower(head);
    int matched = -1;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
      if (candidates[k] == lowerHead || (k == 0 && candidates[k] == head)) {
        matched = static_cast<int>(k);
        break;
      }
    }
    if (matched < 0) continue;
    remembered = &line;
    r.entry = DictionaryEntry{};
    r.entry.headWord = std::string(head);
    if (matched == 0) break;
  }
  if (remembered) {
    r.found = true;
    r.chinesePane = text::trim(EnglishExplanation(*remembered));
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
