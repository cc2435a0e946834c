// The sections of appendix.app: each topic's lines are cut from any file.
#include "dictionary/appendix_section.h"
#include "fuzz_support.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  dictionary::DictionaryReader appendix;
  bool truncated = false;
  appendix.BindLines(fuzz::GbkLines(FUZZ_INPUT), &truncated);
  for (const char* topic : dictionary::kAppendixTopics) {
    const auto section = dictionary::AppendixSection(appendix, topic);
    FUZZ_CHECK(section.size() <= appendix.size());
    if (!section.empty()) FUZZ_CHECK(std::string_view(topic).starts_with(section.front()));
    (void)dictionary::AppendixPaneText(section);
  }
  // A section asked for by a line of the file itself.
  for (std::size_t i = 0; i < appendix.size() && i < 8; ++i) {
    (void)dictionary::IsAppendixTopic(appendix.line(i));
    (void)dictionary::AppendixPaneText(dictionary::AppendixSection(appendix, appendix.line(i)));
  }
  return 0;
}
