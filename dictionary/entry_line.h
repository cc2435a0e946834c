// The line forms of the dictionary files.
//
// EntryLine (Japanese dictionary, My Dictionary, notebook):
//   head word ["[" kana "]"] "/" English "//" Chinese "/"
// EnglishLine (English word list):
//   English head word "," Chinese explanation
#pragma once

#include <string>
#include <string_view>

namespace kirvale::dictionary {

struct DictionaryEntry {
  std::string headWord;  // trimmed
  std::string kana;      // as written between the brackets; empty without "["
  std::string english;   // between the first "/" and the first "//"
  std::string chinese;   // after the first "//", less the line's last character
};

// Splits one EntryLine. Never fails: a line without some of the marks yields
// empty fields for the parts it lacks.
DictionaryEntry ParseEntryLine(std::string_view line);

// The Japanese head-word list's item for a line: the text before the first
// "[" (or, without "[", before the first "/"), trimmed.
std::string JapaneseListItem(std::string_view line);

// The English head word of an EnglishLine: the text before the first ",",
// not trimmed (empty when the line has no ",").
std::string_view EnglishHeadWord(std::string_view line);
// The text after the first "," (empty without ",").
std::string_view EnglishExplanation(std::string_view line);
// The English head-word list's item: the head word, trimmed.
std::string EnglishListItem(std::string_view line);

}  // namespace kirvale::dictionary
