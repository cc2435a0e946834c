// The word of the day: which dictionary line comes next, and what the
// window shows for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_reader.h"
#include "dictionary/entry_line.h"

namespace kirvale::personal {

// The index after `current` in a dictionary whose last line index is
// `lastLine` (line count − 1): one further, or 0 after the last line. A
// stored index beyond the last line (kept from a longer dictionary) and any
// negative index (−1 before the first showing, or a hand-edited value) also
// give 0, so that the next showing is always a real line.
std::int16_t NextTipIndex(std::int16_t current, std::int16_t lastLine);

// The last line index of a dictionary: its line count − 1 (−1 when empty).
std::int16_t LastLineIndex(const dictionary::DictionaryReader& reader);

// A memo header: 6 blanks, 18 middle dots, the language name, 18 middle
// dots, 6 blanks.
std::string TipHeader(std::string_view languageName);

// What the window shows for one line.
struct TipDisplay {
  dictionary::DictionaryEntry entry;
  // "◇" + head word + CR + ("〖" + kana + "〗" when the entry has kana).
  std::string label;
  // Chinese header, Chinese text, English header, English text.
  std::vector<std::string> memoLines;
};

// The display of line `index` in the interface language (0 English,
// 1 Chinese); false when the dictionary has no such line (the window then
// keeps its label and leaves the memo empty).
bool TipDisplayFor(const dictionary::DictionaryReader& reader, int index, std::int16_t uiLanguage, TipDisplay& out);

}  // namespace kirvale::personal
