#include "text/codec.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kirvale::text {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as possible; on an invalid or unconvertible sequence
  // writes `replacement`, skips one byte of input and goes on.
  std::string convert(std::string_view in, std::string_view replacement, bool* lossless) {
    std::string out;
    if (lossless) *lossless = true;
    if (!ok()) return std::string(in);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[4096];
    while (left > 0) {
      char* dst = buf;
      size_t room = sizeof buf;
      size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (truncated sequence at the end): replace one byte.
        if (lossless) *lossless = false;
        out.append(replacement);
        ++src;
        --left;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    char* dst = buf;
    size_t room = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    return out;
  }

 private:
  iconv_t cd_;
};

bool isAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string decodeToUtf8(std::string_view bytes, const char* charset) {
  Iconv cv("UTF-8", charset);
  return cv.convert(bytes, "\xEF\xBF\xBD", nullptr);
}

std::string gbkToUtf8(std::string_view gbk) {
  if (isAscii(gbk)) return std::string(gbk);
  return decodeToUtf8(gbk, "GB18030");
}

std::string utf8ToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  Iconv cv("GB18030", "UTF-8");
  return cv.convert(utf8, "?", nullptr);
}

std::size_t gbkLength(std::string_view utf8) { return utf8ToGbk(utf8).size(); }

bool fitsGbk(std::string_view utf8) {
  if (isAscii(utf8)) return true;
  Iconv cv("GBK", "UTF-8");
  bool lossless = true;
  cv.convert(utf8, "?", &lossless);
  return lossless;
}

std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(b, e - b));
}

std::string searchText(std::string_view s) {
  // A line break (CR, LF or both, or several) becomes one blank.
  std::string out;
  out.reserve(s.size());
  bool inBreak = false;
  for (char c : s) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (!lineBreak)
      out += c;
    else if (!inBreak)
      out += ' ';
    inBreak = lineBreak;
  }
  // Blanks and control codes at both ends, and the ideographic space an
  // input method may leave there.
  static constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
  std::size_t b = 0, e = out.size();
  for (bool again = true; again;) {
    again = false;
    while (b < e && static_cast<unsigned char>(out[b]) <= 32) ++b, again = true;
    while (e > b && static_cast<unsigned char>(out[e - 1]) <= 32) --e, again = true;
    if (e - b >= 3 && std::string_view(out).substr(b, 3) == kIdeographicSpace) b += 3, again = true;
    if (e - b >= 3 && std::string_view(out).substr(e - 3, 3) == kIdeographicSpace) e -= 3, again = true;
  }
  return out.substr(b, e - b);
}

std::string asciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

bool readFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  bytes = ss.str();
  return true;
}

bool readGbkLines(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!readFile(path, bytes)) return false;
  // Line breaks are ASCII and never occur inside a GBK or GB18030 character,
  // so the whole file can be decoded at once and split afterwards.
  lines = splitLines(gbkToUtf8(bytes));
  return true;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, int mode) {
  // The new file takes the old one's permissions; a first file takes the
  // mode asked for, or the usual permissions less the umask.
  mode_t perms = 0666;
  bool exact = mode >= 0;
  struct stat old {};
  if (exact) {
    perms = static_cast<mode_t>(mode);
  } else if (::stat(path.c_str(), &old) == 0) {
    perms = old.st_mode & 07777;
    exact = true;
  }
  const std::string tmp = path + ".tmp-" + std::to_string(::getpid());
  ::unlink(tmp.c_str());
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exact ? 0600 : perms);
  if (fd < 0) return false;
  auto fail = [&] {
    const int err = errno;
    ::close(fd);
    ::unlink(tmp.c_str());
    errno = err;
    return false;
  };
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail();
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (exact && ::fchmod(fd, perms) != 0) return fail();
  // The data reaches the disk before the name points at it, so that a power
  // loss leaves either the old file or the new one.
  if (::fsync(fd) != 0) return fail();
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    errno = err;
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    errno = err;
    return false;
  }
  const std::size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool writeGbkLinesAtomically(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& l : lines) {
    bytes += utf8ToGbk(l);
    bytes += "\r\n";
  }
  return writeFileAtomically(path, bytes);
}

}  // namespace kirvale::text
