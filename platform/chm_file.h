// A compiled HTML help file (CHM) read with chmlib: its pages and pictures,
// its contents tree and its index. The program's own help window shows it
// when the desktop has no viewer for help files.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace kirvale::platform {

// One entry of a contents tree or an index: the title and the page it
// opens (a path inside the help file, possibly with a "#anchor").
struct HelpTopic {
  std::string name;
  std::string local;
  std::vector<HelpTopic> children;
};

// Parses a contents (.hhc) or index (.hhk) sitemap: nested <UL> lists of
// <OBJECT type="text/sitemap"> items with "Name" and "Local" parameters.
// Tolerates missing closing tags and any letter case. The text is UTF-8
// when it is valid UTF-8, GBK otherwise; entities are decoded.
std::vector<HelpTopic> ParseHelpSitemap(std::string_view bytes);

// Turns bytes of a help page or sitemap into UTF-8 (see above).
std::string HelpTextToUtf8(std::string_view bytes);

// Joins a link found in page `from` to the path it names inside the help
// file ("../en/a.html#x" from "/zh/b.html" gives "/en/a.html#x").
std::string ResolveHelpPath(std::string_view from, std::string_view link);

class ChmFile {
 public:
  ChmFile();
  ~ChmFile();
  ChmFile(const ChmFile&) = delete;
  ChmFile& operator=(const ChmFile&) = delete;

  // Opens the file; false when it is missing, not a help file, or so damaged
  // that reading it would crash the help file library.
  bool Open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }

  // An object's bytes by its path ("/zh/index.html"); nothing when the help
  // file has no such object.
  std::optional<std::string> Read(std::string_view path) const;
  // Every page and picture in the file (paths starting with "/").
  std::vector<std::string> Objects() const;

  // From the file's system data, with fallbacks to the first .hhc/.hhk
  // object and "/index.html".
  const std::string& title() const { return title_; }
  const std::string& defaultTopic() const { return defaultTopic_; }
  std::vector<HelpTopic> Contents() const;
  std::vector<HelpTopic> Index() const;

 private:
  void readSystem();
  chmFile* file_ = nullptr;
  std::string title_, defaultTopic_, contentsFile_, indexFile_;
};

}  // namespace kirvale::platform
