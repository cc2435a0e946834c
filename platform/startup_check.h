// The data files the program looks for in its folder at start-up.
#pragma once

#include <cstdint>
#include <string>

namespace kirvale::platform {

struct MissingFiles {
  std::string list;            // each missing name followed by one blank
  bool dictionaryMissing = false;  // the program cannot run without both dictionaries
  bool empty() const { return list.empty(); }
};

// Tests, in this order, "multilingual.dic", "english.dic", "appendix.app",
// "language.ini", the four style pictures (listed once as "style file ")
// and "Kirvale.chm", relative to `folder`.
MissingFiles CheckDataFiles(const std::string& folder);

// The message shown for a non-empty list, in the interface language.
std::string MissingFilesMessage(const MissingFiles& missing, std::int16_t uiLanguage);

bool FileExists(const std::string& path);

}  // namespace kirvale::platform
