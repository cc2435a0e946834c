// The grammar of a Japanese dictionary line ("head [kana] /English//Chinese/")
// and of an English line ("word,explanation").
#include "dictionary/entry_line.h"
#include "fuzz_support.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const auto& line : fuzz::GbkLines(FUZZ_INPUT)) {
    const auto entry = dictionary::ParseEntryLine(line);
    FUZZ_CHECK(text::trim(entry.headWord) == entry.headWord);
    FUZZ_CHECK(entry.headWord.size() <= line.size());
    FUZZ_CHECK(entry.kana.size() <= line.size());
    FUZZ_CHECK(entry.english.size() <= line.size());
    FUZZ_CHECK(entry.chinese.size() <= line.size());
    (void)dictionary::JapaneseListItem(line);

    const std::string_view head = dictionary::EnglishHeadWord(line);
    const std::string_view explanation = dictionary::EnglishExplanation(line);
    FUZZ_CHECK(head.size() <= line.size() && explanation.size() <= line.size());
    (void)dictionary::EnglishListItem(line);
  }
  return 0;
}
