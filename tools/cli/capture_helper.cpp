// kirvale-cli-capture: the screen-capture subcommands of kirvale-cli
// ("capture", "post-capture"), which need Qt to reach the running program.
// kirvale-cli hands these two over to it with the same arguments, so that
// every other subcommand starts without loading Qt.
#include "tools/cli/capture_cmd.h"

int main(int argc, char** argv) { return kirvale::cli::CaptureCommand(argc, argv); }
