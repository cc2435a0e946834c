#include "dictionary/appendix_section.h"

#include <algorithm>

namespace kirvale::dictionary {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace

bool IsAppendixTopic(std::string_view line) {
  return std::any_of(kAppendixTopics.begin(), kAppendixTopics.end(),
                     [line](const char* t) { return equalIgnoringCase(line, t); });
}

std::vector<std::string> AppendixSection(const DictionaryReader& appendix, std::string_view title) {
  std::vector<std::string> shown;
  bool started = false;
  for (const std::string_view line : appendix.lines()) {
    if (started && IsAppendixTopic(line)) break;
    if (!line.empty() && title.starts_with(line)) started = true;
    if (started) shown.emplace_back(line);
  }
  return shown;
}

std::string AppendixPaneText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace kirvale::dictionary
