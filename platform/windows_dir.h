// The per-user folder that holds the settings and, during a run, the plain
// dictionary copies: $XDG_STATE_HOME/kirvale (default ~/.local/state/kirvale),
// created with mode 0700.
#pragma once

#include <string>

namespace kirvale::platform {

// Returns the folder, creating it (and its parents) when missing. Returns an
// empty text when it cannot be created or written, with `error` set to the
// folder and the system's reason, separated by "|".
std::string WindowsDirectory(std::string* error = nullptr);

// True when the platform belongs to the family that supports screen capture.
bool IsNtFamily();

}  // namespace kirvale::platform
