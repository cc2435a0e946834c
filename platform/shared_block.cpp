#include "platform/shared_block.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kirvale::platform {
namespace {

// A folder that only this user can enter: ours, a real folder, no access
// for others.
bool privateFolder(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::string RuntimeFolderPath() {
  if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) {
    struct stat st {};
    if (::stat(dir, &st) == 0 && S_ISDIR(st.st_mode)) return dir;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp && *tmp ? tmp : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string dir = base + "/kirvale-" + std::to_string(::getuid());
  ::mkdir(dir.c_str(), 0700);
  return privateFolder(dir) ? dir : std::string();
}

std::string DisplayTag() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* x11 = std::getenv("DISPLAY");
  std::string d = wayland && *wayland ? wayland : x11 && *x11 ? x11 : "nodisplay";
  for (char& c : d)
    if (c == '/' || c == ':') c = '_';
  return d;
}

std::string SharedBlockPath(std::string_view name) {
  const std::string folder = RuntimeFolderPath();
  if (folder.empty()) return {};
  std::string file(name);
  for (char& c : file)
    if (c == '/' || c == '\0') c = '_';
  return folder + "/kirvale-" + file + "-" + DisplayTag() + ".block";
}

int CreateSharedBlock(std::string_view name, std::size_t size) {
  const std::string path = SharedBlockPath(name);
  if (path.empty()) return EACCES;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return errno;
  int result = 0;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result = errno;
  } else if (st.st_uid != ::getuid()) {
    result = EACCES;
  } else {
    ::fchmod(fd, 0600);
    if (static_cast<std::size_t>(st.st_size) < size && ::ftruncate(fd, static_cast<off_t>(size)) != 0)
      result = errno;
  }
  ::close(fd);
  return result;
}

SharedBlock::~SharedBlock() {
  if (data_) ::munmap(data_, size_);
}

SharedBlock::Failure SharedBlock::Open(std::string_view name, std::size_t minSize) {
  const std::string path = SharedBlockPath(name);
  const int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    error_ = path.empty() ? EACCES : errno;
    return Failure::NotFound;
  }
  struct stat st {};
  Failure failure = Failure::None;
  if (::fstat(fd, &st) != 0) {
    error_ = errno;
    failure = Failure::CannotMap;
  } else if (static_cast<std::size_t>(st.st_size) < minSize) {
    // Touching bytes past the end of a short file would kill the process.
    error_ = EINVAL;
    failure = Failure::CannotMap;
  } else {
    void* p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
      error_ = errno;
      failure = Failure::CannotMap;
    } else {
      data_ = static_cast<unsigned char*>(p);
      size_ = static_cast<std::size_t>(st.st_size);
    }
  }
  ::close(fd);
  return failure;
}

}  // namespace kirvale::platform
