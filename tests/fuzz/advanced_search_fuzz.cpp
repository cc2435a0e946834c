// The advanced search fields: any dictionary line is cut into head word,
// reading, Chinese, English, and searched by any text.
#include "dictionary/advanced_search.h"
#include "fuzz_support.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first line is the text typed into the search box, the rest the
  // dictionary.
  auto lines = fuzz::GbkLines(FUZZ_INPUT);
  if (lines.empty()) return 0;
  const std::string typed = lines.front();
  lines.erase(lines.begin());
  dictionary::DictionaryReader reader;
  reader.BindLines(lines);

  for (const auto& line : reader.lines())
    for (int f = 0; f < dictionary::kSearchFieldCount; ++f) {
      const std::string_view field = dictionary::EntryField(line, static_cast<dictionary::SearchField>(f));
      // A field is a piece of its line.
      FUZZ_CHECK(field.empty() || (field.data() >= line.data() && field.data() + field.size() <= line.data() + line.size()));
    }
  for (int f = 0; f < dictionary::kSearchFieldCount; ++f) {
    const auto result = dictionary::AdvancedSearch(reader, typed, static_cast<dictionary::SearchField>(f));
    if (result) FUZZ_CHECK(result->count() <= reader.size());
    else FUZZ_CHECK(text::trim(typed).empty());
  }
  for (std::int16_t language : {std::int16_t{0}, std::int16_t{1}}) (void)dictionary::SearchFieldTexts(language);
  return 0;
}
