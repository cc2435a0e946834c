// kirvale-cli hands its screen-capture subcommands to kirvale-cli-capture,
// the only part of the command line that needs Qt.
#pragma once

#include <string>

namespace kirvale::cli {

// The helper's path, or "" when it is not there.
std::string CaptureHelperPath();

// Replaces this process by the helper with the same arguments; returns 2
// (after a message on stderr) only when that fails.
int RunCaptureHelper(int argc, char** argv);

}  // namespace kirvale::cli
