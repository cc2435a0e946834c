#include "crypto/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "crypto/aes.h"

namespace kirvale::crypto {

std::size_t MemoryStream::read(void* buf, std::size_t n) {
  if (pos_ >= size()) return 0;
  std::size_t avail = static_cast<std::size_t>(size() - pos_);
  if (n > avail) n = avail;
  std::memcpy(buf, data_.data() + pos_, n);
  pos_ += static_cast<std::int64_t>(n);
  return n;
}

std::size_t MemoryStream::write(const void* buf, std::size_t n) {
  std::size_t end = static_cast<std::size_t>(pos_) + n;
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + pos_, buf, n);
  pos_ += static_cast<std::int64_t>(n);
  return n;
}

FileStream::FileStream(const std::string& path, bool forWriting, unsigned mode) : path_(path) {
  if (forWriting) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd >= 0 && mode != 0666 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
      const int err = errno;
      ::close(fd);
      errno = err;
      throw EStreamError("Cannot create file \"" + path + "\". " + std::strerror(errno));
    }
    if (fd >= 0) {
      f_ = ::fdopen(fd, "wb+");
      if (!f_) ::close(fd);
    }
  } else {
    f_ = std::fopen(path.c_str(), "rb");
  }
  if (!f_) {
    std::string what = forWriting ? "Cannot create file \"" : "Cannot open file \"";
    throw EStreamError(what + path + "\". " + std::strerror(errno));
  }
}

FileStream::~FileStream() {
  if (f_) std::fclose(f_);
}

std::int64_t FileStream::size() const {
  long cur = std::ftell(f_);
  std::fseek(f_, 0, SEEK_END);
  long end = std::ftell(f_);
  std::fseek(f_, cur, SEEK_SET);
  return end;
}

std::int64_t FileStream::position() const { return std::ftell(f_); }

void FileStream::seek(std::int64_t pos) { std::fseek(f_, static_cast<long>(pos), SEEK_SET); }

std::size_t FileStream::read(void* buf, std::size_t n) { return std::fread(buf, 1, n, f_); }

std::size_t FileStream::write(const void* buf, std::size_t n) { return std::fwrite(buf, 1, n, f_); }

void FileStream::truncate(std::int64_t length) {
  std::fflush(f_);
  if (::ftruncate(fileno(f_), static_cast<off_t>(length)) != 0) throw EStreamError("Stream write error");
}

void FileStream::close() {
  if (!f_) return;
  int r = std::fclose(f_);
  f_ = nullptr;
  if (r != 0) throw EStreamError("Stream write error");
}

}  // namespace kirvale::crypto
