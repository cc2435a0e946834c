// Looking up interface texts by control tag in a language.ini.
#include <cstring>

#include "fuzz_support.h"
#include "settings/language_table.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first four bytes pick a tag of the fuzzer's own choosing; the file
  // follows.
  int picked = 0;
  if (size >= 4) {
    std::memcpy(&picked, data, 4);
    data += 4;
    size -= 4;
  }
  const std::string_view in = FUZZ_INPUT;
  settings::LanguageTable table;
  if (size % 2) {
    table.OpenLines(fuzz::GbkLines(in));
  } else {
    const std::string path = fuzz::ScratchPath("language.ini");
    fuzz::WriteBytes(path, in);
    FUZZ_CHECK(table.Open(path));
  }
  for (std::int16_t language : {std::int16_t{0}, std::int16_t{1}, std::int16_t{2}, std::int16_t{-1}}) {
    (void)table.LookUpTagText(picked, language);
    for (int tag : {0, 1, 2, 10, 100, 101, 999, 1000, 1001, -1, 65536})
      (void)table.LookUpTagText(tag, language);
  }
  return 0;
}
