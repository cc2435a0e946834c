// Where the program folder is when no folder is named: the folder the data
// files and the user's lists are read from.
//
// Run from the build tree the program folder is the working directory. An
// installed Kirvale gives each user a folder of their own,
// $XDG_DATA_HOME/kirvale (default ~/.local/share/kirvale), that links to the
// installed read-only data and holds the user's lists as real files.
#pragma once

#include <string>

namespace kirvale::platform {

// $XDG_DATA_HOME/kirvale, else $HOME/.local/share/kirvale; empty when
// neither variable is set. The folder is not created.
std::string UserProgramFolder();

// The first of: the working directory, the user's program folder, and
// `installedData` (when not empty) that holds "multilingual.dic"; "." when
// none does.
std::string DefaultProgramFolder(const std::string& installedData);

}  // namespace kirvale::platform
