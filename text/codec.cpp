#include "text/codec.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <cstring>
#include <vector>
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

// True when every character is ASCII, hiragana U+3041..U+3093, katakana
// U+30A1..U+30F6 or a CJK ideograph U+4E00..U+9FA5, all of which GBK holds.
bool inCommonGbkRanges(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    if ((b & 0xF0) != 0xE0 || i + 3 > utf8.size()) return false;
    const auto b1 = static_cast<unsigned char>(utf8[i + 1]), b2 = static_cast<unsigned char>(utf8[i + 2]);
    if ((b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return false;
    const unsigned cp = (b & 0x0Fu) << 12 | (b1 & 0x3Fu) << 6 | (b2 & 0x3Fu);
    const bool common = (cp >= 0x3041 && cp <= 0x3093) || (cp >= 0x30A1 && cp <= 0x30F6) || (cp >= 0x4E00 && cp <= 0x9FA5);
    if (!common) return false;
    i += 3;
  }
  return true;
}

}  // namespace

std::string decodeToUtf8(std::string_view bytes, const char* charset) {
  Iconv cv("UTF-8", charset);
  return cv.convert(bytes, "\xEF\xBF\xBD", nullptr);
}

// The converters used over and over, opened once per thread: opening one
// costs more than converting a line.
Iconv& fromGbk() {
  thread_local Iconv cv("UTF-8", "GB18030");
  return cv;
}

// UTF-8 of every two-byte GBK code (lead 0x81..0xFE, trail 0x40..0xFE but
// 0x7F), taken from the converter itself in one call: entry [0] is the
// length, 0 when the converter does not read the pair as one character.
struct TwoByteTable {
  std::vector<std::array<char, 4>> utf8;
  static std::size_t index(unsigned char lead, unsigned char trail) {
    return static_cast<std::size_t>(lead - 0x81) * 191 + (trail - 0x40);
  }
  TwoByteTable() : utf8(126 * 191, std::array<char, 4>{}) {
    std::string all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        all += static_cast<char>(lead);
        all += static_cast<char>(trail);
        all += '\n';
      }
    const std::string out = fromGbk().convert(all, "\xEF\xBF\xBD", nullptr);
    std::size_t at = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        const std::size_t end = out.find('\n', at);
        if (end == std::string::npos) return;  // unexpected: every pair stays with the converter
        const std::string_view one(out.data() + at, end - at);
        at = end + 1;
        const bool single = one.size() >= 1 && one.size() <= 3 && one.find("\xEF\xBF\xBD") == std::string_view::npos &&
                            trail != 0x7F && static_cast<unsigned char>(one[0]) >= 0x80;
        if (!single) continue;
        auto& e = utf8[index(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail))];
        e[0] = static_cast<char>(one.size());
        for (std::size_t i = 0; i < one.size(); ++i) e[i + 1] = one[i];
      }
  }
};

std::atomic<const TwoByteTable*> builtTable{nullptr};

const TwoByteTable& twoByteTable() {
  static const TwoByteTable table;
  builtTable.store(&table, std::memory_order_release);
  return table;
}

// Below this size the converter alone is cheaper than making the table.
constexpr std::size_t kTableWorthIt = 16 * 1024;

void appendGbkAsUtf8(std::string_view gbk, std::string& out) {
  if (isAscii(gbk)) {
    out.append(gbk);
    return;
  }
  // A process that decodes a few lines (one look-up) never makes the table;
  // once made, it serves every size.
  if (gbk.size() < kTableWorthIt && !builtTable.load(std::memory_order_acquire)) {
    out += fromGbk().convert(gbk, "\xEF\xBF\xBD", nullptr);
    return;
  }
  // ASCII and two-byte GBK from the table; anything else (four-byte GB18030,
  // bytes that do not decode) goes to the converter up to the next byte
  // below 0x30, which never belongs to a multi-byte character, so the pieces
  // decode exactly as the whole would.
  const TwoByteTable& table = twoByteTable();
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  const std::size_t n = gbk.size();
  std::size_t i = 0;
  while (i < n) {
    // A run of ASCII and table characters is written straight into room
    // made for it: each byte becomes at most a byte and a half.
    const std::size_t base = out.size();
    out.resize(base + (n - i) * 3 / 2 + 1);
    char* w = out.data() + base;
    while (i < n) {
      const unsigned char b = p[i];
      if (b < 0x80) {
        *w++ = static_cast<char>(b);
        ++i;
        continue;
      }
      if (b >= 0x81 && b <= 0xFE && i + 1 < n && p[i + 1] >= 0x40 && p[i + 1] <= 0xFE) {
        const auto& e = table.utf8[TwoByteTable::index(b, p[i + 1])];
        if (e[0]) {
          std::memcpy(w, e.data() + 1, 3);
          w += e[0];
          i += 2;
          continue;
        }
      }
      break;
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    if (i == n) break;
    std::size_t j = i + 1;
    while (j < n && p[j] >= 0x30) ++j;
    out += fromGbk().convert(gbk.substr(i, j - i), "\xEF\xBF\xBD", nullptr);
    i = j;
  }
}

std::string gbkToUtf8(std::string_view gbk) {
  std::string out;
  appendGbkAsUtf8(gbk, out);
  return out;
}

std::string utf8ToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  thread_local Iconv cv("GB18030", "UTF-8");
  return cv.convert(utf8, "?", nullptr);
}

std::size_t gbkLength(std::string_view utf8) { return utf8ToGbk(utf8).size(); }

bool fitsGbk(std::string_view utf8) {
  if (isAscii(utf8)) return true;
  // Kana and the common CJK ideographs are all in GBK: no converter needed.
  if (inCommonGbkRanges(utf8)) return true;
  thread_local Iconv cv("GBK", "UTF-8");
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

FileRead readFileReporting(const std::string& path, std::string& bytes, int& err) {
  err = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    err = errno;
    return err == ENOENT ? FileRead::Missing : FileRead::Failed;
  }
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      ::close(fd);
      return FileRead::Failed;
    }
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return FileRead::Ok;
}

bool readFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // A file of known size is read straight into the string: no second copy.
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size >= 0) {
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    if (in.gcount() == size) {
      // Whatever the file grew by meanwhile comes too.
      std::ostringstream rest;
      rest << in.rdbuf();
      bytes += rest.str();
      return true;
    }
    in.clear();
    in.seekg(0, std::ios::beg);
  } else {
    in.clear();
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  bytes = ss.str();
  return true;
}

void forEachGbkLine(std::string_view all, const std::function<bool(std::string_view)>& take) {
  // Line breaks are ASCII and never occur inside a GBK or GB18030 character,
  // and no character continues past them: each line decodes on its own as it
  // would within the whole file, without a decoded copy of the whole file.
  if (all.size() >= kTableWorthIt) twoByteTable();
  // One buffer serves every line.
  std::string line;
  auto decoded = [&](std::string_view gbk) -> std::string_view {
    line.clear();
    appendGbkAsUtf8(gbk, line);
    return line;
  };
  // The next CR and the next LF, each found by memchr and kept until passed.
  const char* const data = all.data();
  const std::size_t size = all.size();
  auto next = [&](char c, std::size_t from) {
    const void* at = from < size ? std::memchr(data + from, c, size - from) : nullptr;
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - data) : size;
  };
  std::size_t cr = next('\r', 0), lf = next('\n', 0);
  std::size_t start = 0;
  while (start < size) {
    const std::size_t end = std::min(cr, lf);
    if (end == size) {
      take(decoded(all.substr(start)));
      break;
    }
    if (!take(decoded(all.substr(start, end - start)))) return;
    start = end + 1;
    if (end == cr && start < size && data[start] == '\n') ++start;
    if (cr < start) cr = next('\r', start);
    if (lf < start) lf = next('\n', start);
  }
}

bool readGbkLines(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!readFile(path, bytes)) return false;
  lines.clear();
  forEachGbkLine(bytes, [&](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
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

std::string systemError(int err) {
  return err != 0 ? std::string(std::strerror(err)) : std::string("input/output error");
}

ListSave SaveListFile(const std::string& path, const std::vector<std::string>& lines,
                      const std::string& keepOriginalAs) {
  namespace fs = std::filesystem;
  ListSave out;
  std::error_code ec;
  if (!keepOriginalAs.empty() && fs::exists(fs::symlink_status(path, ec))) {
    fs::rename(path, keepOriginalAs, ec);
    if (ec) {
      out.ok = false;
      out.error = ec.message();
      return out;
    }
  }
  if (lines.empty()) {
    fs::remove(path, ec);
    if (ec) {
      out.ok = false;
      out.error = ec.message();
    }
    return out;
  }
  errno = 0;
  if (!writeGbkLinesAtomically(path, lines)) {
    out.ok = false;
    out.error = systemError(errno);
  }
  return out;
}

}  // namespace kirvale::text
