#include "platform/program_folder.h"

#include <cstdlib>
#include <filesystem>

namespace kirvale::platform {
namespace {

bool holdsDictionary(const std::string& folder) {
  std::error_code ec;
  return !folder.empty() && std::filesystem::exists(folder + "/multilingual.dic", ec);
}

}  // namespace

std::string UserProgramFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return std::string(data) + "/kirvale";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/kirvale";
  return {};
}

std::string DefaultProgramFolder(const std::string& installedData) {
  for (const std::string& folder : {std::string("."), UserProgramFolder(), installedData})
    if (holdsDictionary(folder)) return folder;
  return ".";
}

}  // namespace kirvale::platform
