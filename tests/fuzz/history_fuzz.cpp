// Loading history.txt: any file loads, and saving what was loaded writes the
// user's bytes back unchanged (line breaks aside).
#include "dictionary/history.h"
#include "fuzz_support.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("history.txt");
  const std::string saved = fuzz::ScratchPath("history-saved.txt");
  const std::string resaved = fuzz::ScratchPath("history-resaved.txt");
  fuzz::WriteBytes(path, FUZZ_INPUT);

  dictionary::HistoryList history;
  std::string error;
  FUZZ_CHECK(history.Load(path, &error));
  FUZZ_CHECK(history.Save(saved, &error));
  dictionary::HistoryList again;
  FUZZ_CHECK(again.Load(saved, &error));
  FUZZ_CHECK(again.items() == history.items());
  FUZZ_CHECK(again.Save(resaved, &error));
  if (!history.empty()) {
    const std::string bytes = fuzz::ReadBytes(saved);
    FUZZ_CHECK(fuzz::ReadBytes(resaved) == bytes);
    // Every line of the input is in the saved file, byte for byte.
    FUZZ_CHECK(text::splitLines(bytes) == text::splitLines(FUZZ_INPUT));
  }

  // A search adds to the list the program has loaded.
  if (!history.items().empty()) (void)history.Add(text::trim(history.items().back()));
  return 0;
}
