#include "personal/user_dict.h"

#include <algorithm>
#include <cstdio>

#include "dictionary/dictionary_reader.h"
#include "dictionary/entry_line.h"
#include "platform/startup_check.h"
#include "text/codec.h"

namespace kirvale::personal {

std::string PadHeadWord(std::string_view headWord) {
  std::string out(headWord);
  const std::size_t len = text::gbkLength(headWord);
  if (len < 20) out.append(21 - len, ' ');
  return out;
}

std::string_view LineKey(std::string_view line) {
  const std::size_t blank = line.find(' ');
  return blank == std::string_view::npos ? std::string_view() : line.substr(0, blank);
}

bool UserDictionary::Load(const std::string& path) {
  if (!platform::FileExists(path)) return true;
  std::vector<std::string> fileLines;
  if (!text::readGbkLines(path, fileLines)) return false;
  if (fileLines.size() > dictionary::kMaxLines) fileLines.resize(dictionary::kMaxLines);
  lines_.clear();
  for (const std::string& line : fileLines) {
    const std::string head = dictionary::ParseEntryLine(line).headWord;
    // The rest of the line after the head word. The head word is the line's
    // start less blanks in front, so a hand-edited line with blanks before
    // its head word keeps the head word whole.
    std::string_view rest(line);
    while (!rest.empty() && static_cast<unsigned char>(rest.front()) <= 32) rest.remove_prefix(1);
    rest.remove_prefix(std::min(head.size(), rest.size()));
    lines_.push_back(PadHeadWord(head) + text::trim(rest));
  }
  return true;
}

bool UserDictionary::Save(const std::string& path) const {
  if (lines_.empty()) {
    if (platform::FileExists(path)) return std::remove(path.c_str()) == 0;
    return true;
  }
  return text::writeGbkLinesAtomically(path, lines_);
}

std::int16_t UserDictionary::FindUserEntry(std::string_view word) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (LineKey(lines_[i]) == word) return static_cast<std::int16_t>(i);
  return -1;
}

}  // namespace kirvale::personal
