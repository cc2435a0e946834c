// "language.ini": one line per control tag, tag ":" English "/" Chinese.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kirvale::settings {

class LanguageTable {
 public:
  // Reads the file (GBK). Returns false when it cannot be read.
  bool Open(const std::string& path);
  void OpenLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

  // The text for a tag in a language (0 English, 1 Chinese). Every lookup
  // starts at the first line and stops at the first line that holds the
  // decimal digits of the tag's low 8 bits anywhere; English is the trimmed
  // text between the first ":" and the first "/", Chinese the trimmed text
  // after the first "/" (the whole trimmed line when it has no "/"). A tag
  // no line holds gives the empty text.
  std::string LookUpTagText(int tag, std::int16_t language) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace kirvale::settings
