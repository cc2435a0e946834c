// kirvale-cli export: the new-words notebook or My Dictionary as UTF-8 text
// for a flashcard program.
//
// Exit 0 when the file was written (lines that could not be read are listed
// on stderr and left out), 1 when the list file cannot be read or OUT cannot
// be written, 2 on bad usage.
#include "tools/cli/export_cmd.h"

#include <iostream>
#include <string>
#include <vector>

#include "personal/export.h"
#include "platform/program_folder.h"
#include "text/codec.h"

namespace {

int exportUsage() {
  std::cerr << "usage: kirvale-cli export notebook|userdict [--format tsv|csv] [--dir PROGRAM_FOLDER] OUT\n";
  return 2;
}

}  // namespace

int ExportCommand(int argc, char** argv) {
  std::string list, folder, out;
  auto format = kirvale::personal::ExportFormat::Tsv;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc) {
      folder = argv[++i];
    } else if (a == "--format" && i + 1 < argc) {
      const std::string f = argv[++i];
      if (f == "tsv")
        format = kirvale::personal::ExportFormat::Tsv;
      else if (f == "csv")
        format = kirvale::personal::ExportFormat::Csv;
      else
        return exportUsage();
    } else if (list.empty() && (a == "notebook" || a == "userdict")) {
      list = a;
    } else if (!list.empty() && out.empty() && !a.empty() && a.rfind("--", 0) != 0) {
      out = a;
    } else {
      return exportUsage();
    }
  }
  if (list.empty() || out.empty()) return exportUsage();
  if (folder.empty()) folder = kirvale::platform::DefaultProgramFolder(KIRVALE_INSTALLED_DATA);
  const std::string name = list == "notebook" ? "newdict.dic" : "userdict.dic";
  const std::string path = folder + "/" + name;
  std::vector<std::string> lines;
  if (!kirvale::text::readGbkLines(path, lines)) {
    std::cerr << "cannot read " << path << "\n";
    return 1;
  }
  const kirvale::personal::ExportResult r = kirvale::personal::ReadListForExport(lines);
  for (const auto& s : r.skipped) std::cerr << path << ":" << s.lineNumber << ": skipped: " << s.reason << "\n";
  if (!kirvale::text::writeFileAtomically(out, kirvale::personal::FormatExport(r.rows, format))) {
    std::cerr << "cannot write " << out << "\n";
    return 1;
  }
  std::cerr << r.rows.size() << " entries written to " << out;
  if (!r.skipped.empty()) std::cerr << ", " << r.skipped.size() << " lines skipped";
  std::cerr << "\n";
  return 0;
}
