// kirvale-cli's screen-capture subcommands.
#pragma once

namespace kirvale::cli {

// "capture": the capture pop-up's look-up on a text, printed as the pop-up's
// lines. "post-capture": what the hook library does, from outside.
// argv[1] names the subcommand.
int CaptureCommand(int argc, char** argv);

}  // namespace kirvale::cli
