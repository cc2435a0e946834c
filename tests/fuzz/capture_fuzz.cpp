// The capture block: the block file is mapped, its text field read, a key
// cut from the text, candidates formed and looked up in the dictionaries.
#include <cstdlib>

#include "capture/capture_lookup.h"
#include "fuzz_support.h"
#include "platform/shared_block.h"

using namespace kirvale;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The block lives in a runtime folder of the harness's own.
  ::setenv("XDG_RUNTIME_DIR", fuzz::ScratchFolder().c_str(), 1);
  ::setenv("DISPLAY", ":fuzz", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in = FUZZ_INPUT;
  const std::string path = platform::SharedBlockPath(capture::kBlockName);
  FUZZ_CHECK(!path.empty());
  fuzz::WriteBytes(path, in);

  platform::SharedBlock block;
  const auto failure = block.Open(capture::kBlockName, capture::kBlockUsedBytes);
  if (size < capture::kBlockUsedBytes) {
    FUZZ_CHECK(failure != platform::SharedBlock::Failure::None);
    return 0;
  }
  FUZZ_CHECK(failure == platform::SharedBlock::Failure::None);
  (void)capture::TargetHandle(block.data());
  const std::string text = capture::TextFromBlockField(
      std::string_view(reinterpret_cast<const char*>(block.data()) + capture::kTextOffset, capture::kTextField));

  // The bytes after the block serve as both dictionaries.
  dictionary::DictionaryReader japanese, english;
  const auto lines = fuzz::GbkLines(in.substr(capture::kBlockUsedBytes));
  japanese.BindLines(lines);
  english.BindLines(lines);
  static const dictionary::SuffixTable table;
  for (std::int16_t match : {std::int16_t{0}, std::int16_t{1}}) {
    capture::LookupOptions options;
    options.match = match;
    options.showwhat = static_cast<std::int16_t>(data[0] & 1);
    options.uiLanguage = static_cast<std::int16_t>((data[0] >> 1) & 1);
    const auto r = capture::LookUp(text, japanese, english, table, options);
    for (const auto& shown : r.texts) (void)capture::MarkedLineWord(shown);
    for (int k : r.order) FUZZ_CHECK(k >= 0 && k < capture::kSlots);
  }
  (void)capture::NotFoundLineText(text, 0);
  (void)capture::NotFoundLineText(text, 1);

  // Cutting a key out of any text, and writing it back into a block.
  const std::string key = capture::CaptureKey(text);
  const bool japaneseKey = !key.empty() && capture::IsJapaneseKey(key);
  if (!key.empty()) (void)capture::Candidates(key, japaneseKey, table);
  const std::string field = capture::BlockFieldFromText(text);
  FUZZ_CHECK(field.size() <= capture::kTextField);
  capture::WriteBlockText(block.data(), field);
  return 0;
}
