// The advanced search: every line of the Japanese dictionary whose chosen
// field contains a piece of text, in file order.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_reader.h"

namespace kirvale::dictionary {

// The rows of the field choice.
enum class SearchField : int {
  HeadWord = 0,
  Kana = 1,
  Chinese = 2,
  English = 3,
  WholeLine = 4,  // the line as stored, separators included
};
inline constexpr int kSearchFieldCount = 5;

// The five row texts in the interface language (0 English, 1 Chinese).
const std::array<const char*, kSearchFieldCount>& SearchFieldTexts(std::int16_t uiLanguage);

// The text of one field of an EntryLine, exactly as ParseEntryLine makes it
// (for WholeLine: the line itself). Takes no copy, so that a search over the
// whole dictionary costs one pass and no allocation per line.
std::string_view EntryField(std::string_view line, SearchField field);

struct AdvancedSearchResult {
  // The head word of each matching line, once per line, in file order.
  std::vector<std::string> headWords;
  // The number of matches. A reader holds at most kMaxLines lines and each
  // line matches at most once, so the count never passes 32767; it is kept
  // in a full-width integer all the same, so that it never wraps.
  std::size_t count() const { return headWords.size(); }
};

// Tests every line of `reader`: a line matches when the trimmed `text`
// occurs in its `field` as an exact byte substring (letter case significant,
// no other normalisation). A text that is empty after trimming runs no
// search at all: the result is empty (std::nullopt), so that the caller keeps
// what it showed before.
std::optional<AdvancedSearchResult> AdvancedSearch(const DictionaryReader& reader, std::string_view text,
                                                   SearchField field);

}  // namespace kirvale::dictionary
