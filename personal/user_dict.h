// My Dictionary's list of lines, "userdict.dic" on disk. Each line is an
// EntryLine whose head word is padded with blanks to 21 GBK bytes; the key
// of a line is its text before the first blank.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::personal {

class UserDictionary {
 public:
  // Reads "userdict.dic": each line is parsed, its head word re-padded to 21
  // bytes and followed by the rest of the line, trimmed. A missing file
  // leaves the list empty and is not an error; an unreadable one returns
  // false and keeps the list as it was.
  bool Load(const std::string& path);
  // Writes the lines verbatim (temp file + rename), or deletes the file when
  // the list is empty. Returns false when the file could not be written.
  bool Save(const std::string& path) const;

  // Position of the first line whose key equals `word` exactly, or -1.
  std::int16_t FindUserEntry(std::string_view word) const;

  const std::vector<std::string>& lines() const { return lines_; }
  std::vector<std::string>& lines() { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// The head word followed by blanks up to 21 GBK bytes when it is shorter
// than 20 bytes.
std::string PadHeadWord(std::string_view headWord);

// The key of a line: its text before the first blank (empty without one).
std::string_view LineKey(std::string_view line);

}  // namespace kirvale::personal
