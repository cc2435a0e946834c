#include "platform/windows_dir.h"

#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cstdlib>

namespace kirvale::platform {
namespace {

bool makeDirs(const std::string& path, mode_t mode) {
  if (path.empty()) return false;
  struct stat st{};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) errno = ENOTDIR;
    return S_ISDIR(st.st_mode);
  }
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !makeDirs(path.substr(0, slash), 0700)) return false;
  return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

}  // namespace

std::string WindowsDirectory(std::string* error) {
  std::string base;
  if (const char* x = std::getenv("XDG_STATE_HOME"); x && *x == '/') {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h == '/') {
    base = std::string(h) + "/.local/state";
  } else {
    if (error) *error = "$HOME/.local/state/kirvale|HOME is not set";
    return {};
  }
  std::string dir = base + "/kirvale";
  errno = 0;
  if (!makeDirs(dir, 0700)) {
    if (error) *error = dir + "|" + std::strerror(errno ? errno : ENOTDIR);
    return {};
  }
  ::chmod(dir.c_str(), 0700);
  // The folder must be usable for the settings and the plain copies.
  if (::access(dir.c_str(), W_OK | X_OK) != 0) {
    if (error) *error = dir + "|" + std::strerror(errno);
    return {};
  }
  return dir;
}

bool IsNtFamily() { return true; }

}  // namespace kirvale::platform
