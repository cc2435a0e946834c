#include "platform/windows_dir.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace kirvale::platform {
namespace {

bool makeDirs(const std::string& path, mode_t mode) {
  if (path.empty()) return false;
  struct stat st{};
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !makeDirs(path.substr(0, slash), 0700)) return false;
  return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

}  // namespace

std::string WindowsDirectory() {
  std::string base;
  if (const char* x = std::getenv("XDG_STATE_HOME"); x && *x == '/') {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = std::string(h) + "/.local/state";
  } else {
    return {};
  }
  std::string dir = base + "/kirvale";
  if (!makeDirs(dir, 0700)) return {};
  ::chmod(dir.c_str(), 0700);
  return dir;
}

bool IsNtFamily() { return true; }

}  // namespace kirvale::platform
