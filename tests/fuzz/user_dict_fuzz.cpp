// Loading userdict.dic (My Dictionary): any file loads, and a list that was
// saved loads back as the same list, so saving never drifts the user's words.
#include "fuzz_support.h"
#include "personal/user_dict.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("userdict.dic");
  const std::string saved = fuzz::ScratchPath("userdict-saved.dic");
  fuzz::WriteBytes(path, FUZZ_INPUT);

  personal::UserDictionary dict;
  const auto load = dict.Load(path);
  FUZZ_CHECK(load.ok);
  FUZZ_CHECK(dict.lines().size() <= personal::kMaxUserLines);
  const auto table =
      personal::BuildPartOfSpeechTable(personal::kPartOfSpeechAbbreviations, personal::kPartOfSpeechNames);
  for (std::size_t i = 0; i < dict.lines().size() && i < 64; ++i) {
    const std::string& line = dict.lines()[i];
    // Every loaded line is found by its own key.
    const std::string_view key = personal::LineKey(line);
    if (!key.empty()) FUZZ_CHECK(dict.FindUserEntry(key) >= 0);
    (void)personal::FieldsOfLine(line, table);
  }

  FUZZ_CHECK(dict.Save(saved).ok);
  personal::UserDictionary again;
  FUZZ_CHECK(again.Load(saved).ok);
  FUZZ_CHECK(again.lines() == dict.lines());
  FUZZ_CHECK(again.overflow() == dict.overflow());
  return 0;
}
