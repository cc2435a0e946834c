// The main search: mode decision, head-word list tracking, the Japanese and
// English lookups, and what the result area shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_reader.h"
#include "dictionary/english_candidates.h"
#include "dictionary/entry_line.h"

namespace kirvale::personal {
class UserDictionary;
}

namespace kirvale::dictionary {

enum class Mode { Japanese, English };

// English when the first byte is an ASCII digit or letter, Japanese
// otherwise. `trimmed` must not be empty.
Mode ModeOf(std::string_view trimmed);

// Index of the first item that begins with `prefix` (byte-wise, letter case
// significant), or -1.
int TrackList(const std::vector<std::string>& items, std::string_view prefix);
// The same on the reader's head-word list (JapaneseListItems /
// EnglishListItems of `reader`), answered from its index.
int TrackJapaneseList(const DictionaryReader& reader, std::string_view prefix);
int TrackEnglishList(const DictionaryReader& reader, std::string_view prefix);

// The head-word lists: one item per line, in file order, empty items kept.
std::vector<std::string> JapaneseListItems(const DictionaryReader& reader);
std::vector<std::string> EnglishListItems(const DictionaryReader& reader);

// What the result area shows after a search.
struct LookupResult {
  bool found = false;
  Mode mode = Mode::Japanese;
  std::string headLabel;         // "◇" + head word, or "◇" + the typed text
  std::string kanaLabel;         // "〖" + kana + "〗", or empty
  std::string chinesePane;
  std::string englishPane;
  std::string currentEntryLine;  // the dictionary line shown (Japanese hits in the file only)
  DictionaryEntry entry;         // the entry last parsed; after an English hit its head word
  bool fromUserDictionary = false;
};

// Japanese search for the trimmed text: the first line whose head word equals
// it; failing that, My Dictionary when `userDictionary` is given (the
// fallback is on).
LookupResult SearchJapanese(const DictionaryReader& reader, std::string_view text,
                            const personal::UserDictionary* userDictionary);

// English search: candidate k matches a line when it equals the lower-case
// head word; the first candidate also when it equals the head word as
// stored. A first-candidate match ends the scan; otherwise the last matching
// line wins.
LookupResult SearchEnglish(const DictionaryReader& reader, std::string_view text, const SuffixTable& table);

// The line each search shows, or -1: from the indexes (Find*) and by a pass
// over the lines (Scan*, the reference the indexes must agree with).
int FindJapaneseLine(const DictionaryReader& reader, std::string_view text);
int ScanJapaneseLine(const DictionaryReader& reader, std::string_view text);
int FindEnglishLine(const DictionaryReader& reader, const std::vector<std::string>& candidates);
int ScanEnglishLine(const DictionaryReader& reader, const std::vector<std::string>& candidates);

// The not-found texts, both languages together.
void SetNotFound(LookupResult& r, std::string_view text);

// The clipboard text of the copy button.
std::string CopyText(std::string_view headLabel, std::string_view kanaLabel, std::string_view english,
                     std::string_view chinese);

// The word double-clicked in the English pane: trimmed, one trailing ";"
// removed.
std::string EnglishPaneWord(std::string_view selected);

}  // namespace kirvale::dictionary
