// The appendix: six reference sections in "appendix.app", each starting at a
// line that is its title. The viewer shows one section in the Chinese pane.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_reader.h"

namespace kirvale::dictionary {

inline constexpr const char* kAppendixFile = "appendix.app";

// The appendix list's items, in order; they are also the section titles.
inline constexpr std::array<const char*, 6> kAppendixTopics = {
    "词典缩略语", "日语的词类", "日语有关词汇", "日本城市地名", "罗马字-假名对应表", "平假名-片假名对照表"};

// True when `line` is one of the six titles, ignoring the letter case of
// ASCII letters.
bool IsAppendixTopic(std::string_view line);

// The lines the viewer shows for `title`, read from the first line of the
// appendix. A non-empty line that `title` begins with starts the section
// (normally the title line itself, which is shown first); once started, the
// next line that is any of the six titles ends it. Empty when the title has
// no section.
std::vector<std::string> AppendixSection(const DictionaryReader& appendix, std::string_view title);

// The section as the Chinese pane holds it: every line appended as a new
// line, joined by line breaks.
std::string AppendixPaneText(const std::vector<std::string>& lines);

}  // namespace kirvale::dictionary
