#include "tools/cli/capture_delegate.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace kirvale::cli {
namespace {
constexpr const char* kHelperName = "kirvale-cli-capture";
}

std::string CaptureHelperPath() {
  // Beside this program first (the build tree), then where the package
  // installs it.
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const std::filesystem::path beside = self.parent_path() / kHelperName;
    if (::access(beside.c_str(), X_OK) == 0) return beside.string();
  }
#ifdef KIRVALE_HELPER_DIR
  const std::string installed = std::string(KIRVALE_HELPER_DIR) + "/" + kHelperName;
  if (::access(installed.c_str(), X_OK) == 0) return installed;
#endif
  return {};
}

int RunCaptureHelper(int argc, char** argv) {
  (void)argc;
  const std::string helper = CaptureHelperPath();
  if (helper.empty()) {
    std::cerr << "cannot find " << kHelperName << " (it is installed with kirvale-cli)\n";
    return 2;
  }
  ::execv(helper.c_str(), argv);
  std::cerr << helper << ": " << std::strerror(errno) << "\n";
  return 2;
}

}  // namespace kirvale::cli
