// kirvale-cli: the dictionary's operations from the command line.
//
//   kirvale-cli encrypt SRC DST PASSPHRASE   plain file -> encrypted container
//   kirvale-cli decrypt SRC DST PASSPHRASE   encrypted container -> plain file
//   kirvale-cli lookup [--dir FOLDER] WORD   the main window's search
//   kirvale-cli export notebook|userdict [--format tsv|csv] [--dir FOLDER] OUT
//
// encrypt/decrypt: exit 0 on success; on failure the error text goes to
// stderr and the exit code is 1 (2 for bad usage).
// lookup: prints what the result area would show, one item per line (head
// word label, kana label, Chinese pane, English pane); exit 0 when found, 1
// when not found, 2 on bad usage or unreadable files.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "personal/user_dict.h"
#include "platform/program_folder.h"
#include "platform/windows_dir.h"
#include "settings/settings_store.h"
#include "text/codec.h"
#include "tools/cli/export_cmd.h"
#include "tools/cli/capture_delegate.h"

namespace kirvale::cli {
int AppendixCommand(int argc, char** argv);  // appendix_cmd.cpp
int LookupCommand(int argc, char** argv);    // lookup_cmd.cpp
}
#include "tools/cli/search_cmd.h"

namespace {

int usage() {
  std::cerr << "usage:\n"
               "  kirvale-cli encrypt SRC DST PASSPHRASE\n"
               "  kirvale-cli decrypt SRC DST PASSPHRASE\n"
               "  kirvale-cli lookup [--dir PROGRAM_FOLDER] WORD\n"
               "  kirvale-cli export notebook|userdict [--format tsv|csv] [--dir PROGRAM_FOLDER] OUT\n"
               "  kirvale-cli appendix [--dir PROGRAM_FOLDER] TITLE\n"
               "  kirvale-cli search [--dir PROGRAM_FOLDER] --field N TEXT\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string cmd = argv[1];
  if (cmd == "encrypt" || cmd == "decrypt") {
    if (argc != 5) return usage();
    try {
      if (cmd == "encrypt")
        kirvale::crypto::EncryptFileToContainer(argv[2], argv[3], argv[4]);
      else
        kirvale::crypto::DecryptContainerToFile(argv[2], argv[3], argv[4]);
    } catch (const std::exception& e) {
      std::cerr << e.what() << "\n";
      return 1;
    }
    return 0;
  }
  if (cmd == "lookup") return kirvale::cli::LookupCommand(argc, argv);
  if (cmd == "export") return ExportCommand(argc, argv);
  if (cmd == "capture" || cmd == "post-capture") return kirvale::cli::RunCaptureHelper(argc, argv);
  if (cmd == "appendix") return kirvale::cli::AppendixCommand(argc, argv);
  if (cmd == "search") return kirvale::cli::SearchCommand(argc, argv);
  return usage();
}
