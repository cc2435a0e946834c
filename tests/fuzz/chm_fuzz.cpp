// The help file: the site maps (contents and index) and page text read from
// the help file, links resolved between pages, and whole help files opened.
#include "fuzz_support.h"
#include "platform/chm_file.h"

using namespace kirvale;

namespace {
std::size_t countTopics(const std::vector<platform::HelpTopic>& topics) {
  std::size_t n = topics.size();
  for (const auto& t : topics) n += countTopics(t.children);
  return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0];
  const std::string_view in = std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1);

  if (mode < 0xF0) {
    // A site map, as the contents and index files hold it.
    const auto topics = platform::ParseHelpSitemap(in);
    FUZZ_CHECK(countTopics(topics) <= in.size());
    (void)platform::HelpTextToUtf8(in);
    const std::size_t cut = in.find('\n');
    const std::string_view from = in.substr(0, cut), link = cut == std::string_view::npos ? "" : in.substr(cut + 1);
    const std::string resolved = platform::ResolveHelpPath(from, link);
    (void)platform::ResolveHelpPath(resolved, link);
    return 0;
  }

  // A whole help file.
  const std::string path = fuzz::ScratchPath("help.chm");
  fuzz::WriteBytes(path, in);
  platform::ChmFile chm;
  if (!chm.Open(path)) return 0;
  (void)chm.Contents();
  (void)chm.Index();
  (void)chm.Read(chm.defaultTopic());
  for (const auto& object : chm.Objects()) (void)chm.Read(object);
  return 0;
}
