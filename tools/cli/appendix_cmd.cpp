// kirvale-cli appendix [--dir FOLDER] TITLE: prints the appendix section that
// the main window's Chinese pane would show for TITLE (one line per line).
// Exit 0 when the section has lines, 1 when it is empty, 2 on bad usage or
// when "appendix.app" cannot be read.
#include <filesystem>
#include <iostream>
#include <string>

#include "dictionary/appendix_section.h"

namespace kirvale::cli {

int AppendixCommand(int argc, char** argv) {
  std::string folder = ".";
  std::string title;
  bool haveTitle = false;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc) {
      folder = argv[++i];
    } else if (!haveTitle && a != "--dir") {
      title = a;
      haveTitle = true;
    } else {
      haveTitle = false;
      break;
    }
  }
  if (!haveTitle) {
    std::cerr << "usage: kirvale-cli appendix [--dir PROGRAM_FOLDER] TITLE\n";
    return 2;
  }
  const std::string path = folder + "/" + dictionary::kAppendixFile;
  dictionary::DictionaryReader reader;
  if (!std::filesystem::is_regular_file(path) || !reader.Bind(path)) {
    std::cerr << "cannot read " << path << "\n";
    return 2;
  }
  const auto lines = dictionary::AppendixSection(reader, title);
  for (const auto& line : lines) std::cout << line << "\n";
  return lines.empty() ? 1 : 0;
}

}  // namespace kirvale::cli
