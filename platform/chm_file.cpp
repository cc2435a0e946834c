#include "platform/chm_file.h"

#include <chm_lib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>

#include "text/codec.h"

namespace kirvale::platform {
namespace {

bool validUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCopy(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), lower);
  return out;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x110000) {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string decodeEntities(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    const std::size_t semi = s.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
      out += '&';
      continue;
    }
    const std::string_view name = s.substr(i + 1, semi - i - 1);
    std::uint32_t cp = 0;
    bool ok = true;
    if (name == "amp") cp = '&';
    else if (name == "lt") cp = '<';
    else if (name == "gt") cp = '>';
    else if (name == "quot") cp = '"';
    else if (name == "apos") cp = '\'';
    else if (name == "nbsp") cp = 0xA0;
    else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string digits(name.substr(hex ? 2 : 1));
      ok = !digits.empty() && digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                                  std::string::npos && digits.size() <= 7;
      if (ok) cp = static_cast<std::uint32_t>(std::stoul(digits, nullptr, hex ? 16 : 10));
    } else {
      ok = false;
    }
    if (!ok) {
      out += '&';
      continue;
    }
    appendUtf8(out, cp);
    i = semi;
  }
  return out;
}

// The value of attribute `name` in the text of one tag ("" when absent).
std::string attribute(std::string_view tag, std::string_view name) {
  const std::string lowered = lowerCopy(tag);
  std::size_t pos = 0;
  while ((pos = lowered.find(name, pos)) != std::string::npos) {
    const bool startsWord = pos > 0 && (lowered[pos - 1] == ' ' || lowered[pos - 1] == '\t' ||
                                        lowered[pos - 1] == '\n' || lowered[pos - 1] == '\r');
    std::size_t p = pos + name.size();
    while (p < tag.size() && tag[p] == ' ') ++p;
    if (!startsWord || p >= tag.size() || tag[p] != '=') {
      pos += name.size();
      continue;
    }
    ++p;
    while (p < tag.size() && tag[p] == ' ') ++p;
    if (p >= tag.size()) return {};
    if (tag[p] == '"' || tag[p] == '\'') {
      const std::size_t end = tag.find(tag[p], p + 1);
      return decodeEntities(tag.substr(p + 1, (end == std::string_view::npos ? tag.size() : end) - p - 1));
    }
    std::size_t end = p;
    while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '\r' && tag[end] != '\n') ++end;
    // "value=x/" at the end of a self-closing tag.
    if (end == tag.size() && end > p && tag[end - 1] == '/') --end;
    return decodeEntities(tag.substr(p, end - p));
  }
  return {};
}

std::uint16_t le16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                    (static_cast<unsigned char>(s[at + 1]) << 8));
}

std::string cString(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

int collectObject(chmFile*, chmUnitInfo* ui, void* context) {
  auto* out = static_cast<std::vector<std::string>*>(context);
  const std::string path = ui->path;
  if (!path.empty() && path[0] == '/' && path.back() != '/' && path.rfind("/#", 0) != 0 &&
      path.rfind("/$", 0) != 0)
    out->push_back(path);
  return CHM_ENUMERATOR_CONTINUE;
}

// No page of a help file comes near this; a larger length is a damaged
// directory entry and is not allocated.
constexpr LONGUINT64 kMaxObjectBytes = 64u << 20;

std::optional<std::string> retrieve(chmFile* file, chmUnitInfo& ui) {
  if (ui.length > kMaxObjectBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(ui.length), '\0');
  if (ui.length == 0) return bytes;
  const LONGINT64 got = chm_retrieve_object(file, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(ui.length));
  if (got != static_cast<LONGINT64>(ui.length)) return std::nullopt;
  return bytes;
}

int retrieveEach(chmFile* file, chmUnitInfo* ui, void*) {
  (void)retrieve(file, *ui);
  return CHM_ENUMERATOR_CONTINUE;
}

// The help file library trusts the numbers in a file's headers: a damaged
// file can make it divide by zero or read wild memory while opening or
// decompressing, which would end the whole program. So a child process
// first opens the file and reads every object in it; only a file the child
// read to the end is opened here. Reading is deterministic, so what the
// child survived cannot harm this process.
bool readsSafely(const std::string& path) {
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    // A crash ends the child quietly: no handler of this program's runs in
    // it, and it leaves no core file.
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::signal(sig, SIG_DFL);
    const struct rlimit noCore {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    chmFile* file = chm_open(path.c_str());
    if (!file) ::_exit(1);
    chm_enumerate(file, CHM_ENUMERATE_ALL, retrieveEach, nullptr);
    chm_close(file);
    ::_exit(0);
  }
  // Reading a whole help file takes well under a second; a damaged
  // directory can also send the library round in circles, so a file that
  // keeps the child busy for seconds is not a help file either.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string HelpTextToUtf8(std::string_view bytes) {
  if (validUtf8(bytes)) return std::string(bytes);
  return text::gbkToUtf8(bytes);
}

std::vector<HelpTopic> ParseHelpSitemap(std::string_view bytes) {
  const std::string text = HelpTextToUtf8(bytes);
  std::vector<HelpTopic> root;
  // The lists being filled: the root, then each open <UL>'s parent item.
  std::vector<std::vector<HelpTopic>*> lists;
  std::optional<HelpTopic> item;
  int depth = 0;
  std::size_t pos = 0;
  while ((pos = text.find('<', pos)) != std::string::npos) {
    const std::size_t end = text.find('>', pos);
    if (end == std::string::npos) break;
    const std::string_view tag(text.data() + pos + 1, end - pos - 1);
    pos = end + 1;
    std::string name;
    for (char c : tag) {
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') break;
      name += lower(c);
    }
    if (name == "ul") {
      if (depth == 0) {
        lists.push_back(&root);
      } else {
        std::vector<HelpTopic>* top = lists.back();
        lists.push_back(top->empty() ? top : &top->back().children);
      }
      ++depth;
    } else if (name == "/ul") {
      if (depth > 0) {
        --depth;
        lists.pop_back();
      }
    } else if (name == "object" && lowerCopy(attribute(tag, "type")) == "text/sitemap") {
      item = HelpTopic{};
    } else if (name == "param" && item) {
      const std::string which = lowerCopy(attribute(tag, "name"));
      const std::string value = attribute(tag, "value");
      if (which == "name" && item->name.empty()) item->name = value;
      else if (which == "local" && item->local.empty()) item->local = value;
    } else if (name == "/object" && item) {
      (lists.empty() ? root : *lists.back()).push_back(std::move(*item));
      item.reset();
    }
  }
  return root;
}

std::string ResolveHelpPath(std::string_view from, std::string_view link) {
  std::string fragment;
  if (const std::size_t hash = link.find('#'); hash != std::string_view::npos) {
    fragment = std::string(link.substr(hash));
    link = link.substr(0, hash);
  }
  if (link.empty()) return std::string(from.substr(0, from.find('#'))) + fragment;
  std::string base;
  if (link[0] != '/') {
    const std::string_view page = from.substr(0, from.find('#'));
    base = std::string(page.substr(0, page.rfind('/') + 1));
  }
  std::vector<std::string> parts;
  const std::string joined = base + std::string(link);
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    const std::string part = joined.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return (out.empty() ? "/" : out) + fragment;
}

ChmFile::ChmFile() = default;

ChmFile::~ChmFile() {
  if (file_) chm_close(file_);
}

bool ChmFile::Open(const std::string& path) {
  if (file_) chm_close(file_);
  file_ = nullptr;
  if (!readsSafely(path)) return false;
  file_ = chm_open(path.c_str());
  if (!file_) return false;
  readSystem();
  return true;
}

std::optional<std::string> ChmFile::Read(std::string_view path) const {
  if (!file_) return std::nullopt;
  chmUnitInfo ui{};
  // A page's "#anchor" is not part of its name; the file's own system
  // objects ("/#SYSTEM") begin with one.
  std::string p(path);
  if (const std::size_t hash = p.find('#'); hash != std::string::npos && hash > 0 && p[hash - 1] != '/')
    p.erase(hash);
  if (p.empty() || p[0] != '/') p.insert(p.begin(), '/');
  if (chm_resolve_object(file_, p.c_str(), &ui) != CHM_RESOLVE_SUCCESS) {
    // Names in help files are matched without regard to letter case.
    const std::string wanted = lowerCopy(p);
    bool found = false;
    for (const auto& o : Objects())
      if (lowerCopy(o) == wanted) {
        found = chm_resolve_object(file_, o.c_str(), &ui) == CHM_RESOLVE_SUCCESS;
        break;
      }
    if (!found) return std::nullopt;
  }
  return retrieve(file_, ui);
}

std::vector<std::string> ChmFile::Objects() const {
  std::vector<std::string> out;
  if (file_) chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectObject, &out);
  return out;
}

void ChmFile::readSystem() {
  title_.clear();
  defaultTopic_.clear();
  contentsFile_.clear();
  indexFile_.clear();
  // #SYSTEM: a 4-byte version, then records of code, length and data.
  if (auto system = Read("/#SYSTEM")) {
    const std::string& s = *system;
    std::size_t at = 4;
    while (at + 4 <= s.size()) {
      const std::uint16_t code = le16(s, at), length = le16(s, at + 2);
      at += 4;
      if (at + length > s.size()) break;
      const std::string value = cString(std::string_view(s).substr(at, length));
      if (code == 0) contentsFile_ = value;
      else if (code == 1) indexFile_ = value;
      else if (code == 2) defaultTopic_ = value;
      else if (code == 3) title_ = HelpTextToUtf8(value);
      at += length;
    }
  }
  auto slash = [](std::string p) { return p.empty() || p[0] == '/' ? p : "/" + p; };
  contentsFile_ = slash(contentsFile_);
  indexFile_ = slash(indexFile_);
  defaultTopic_ = slash(defaultTopic_);
  const auto objects = Objects();
  auto firstEndingIn = [&](const char* ext) {
    for (const auto& o : objects)
      if (lowerCopy(o).ends_with(ext)) return o;
    return std::string();
  };
  if (contentsFile_.empty() || !Read(contentsFile_)) contentsFile_ = firstEndingIn(".hhc");
  if (indexFile_.empty() || !Read(indexFile_)) indexFile_ = firstEndingIn(".hhk");
  if (defaultTopic_.empty() || !Read(defaultTopic_)) defaultTopic_ = "/index.html";
}

std::vector<HelpTopic> ChmFile::Contents() const {
  if (contentsFile_.empty()) return {};
  auto bytes = Read(contentsFile_);
  return bytes ? ParseHelpSitemap(*bytes) : std::vector<HelpTopic>{};
}

std::vector<HelpTopic> ChmFile::Index() const {
  if (indexFile_.empty()) return {};
  auto bytes = Read(indexFile_);
  return bytes ? ParseHelpSitemap(*bytes) : std::vector<HelpTopic>{};
}

}  // namespace kirvale::platform
