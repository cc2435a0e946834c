// The main search run on a dictionary file's GBK bytes without binding it:
// for a single look-up (the command line) only the lines that can match are
// decoded. The answers are those of the same search on a reader bound to
// the file (lookup.h): the first line in file order, the same English rules,
// nothing past kMaxLines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::dictionary {

// The line (UTF-8) whose Japanese list item equals `text`, or nothing.
std::optional<std::string> FindJapaneseLineInBytes(std::string_view gbk, std::string_view text);

// The line the English search shows for `candidates`, or nothing.
std::optional<std::string> FindEnglishLineInBytes(std::string_view gbk, const std::vector<std::string>& candidates);

}  // namespace kirvale::dictionary
