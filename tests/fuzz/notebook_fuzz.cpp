// Loading newdict.dic (the notebook): any file loads, and a saved notebook
// loads back with the same words, readings and meanings.
#include "fuzz_support.h"
#include "personal/notebook.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("newdict.dic");
  const std::string saved = fuzz::ScratchPath("newdict-saved.dic");
  fuzz::WriteBytes(path, FUZZ_INPUT);

  personal::Notebook book;
  FUZZ_CHECK(personal::LoadNotebook(path, book).ok);
  for (const auto& row : book.rows()) {
    (void)personal::ScanMeaning(row);
    FUZZ_CHECK(personal::NotebookLine(row).find_first_of("\r\n") == std::string::npos);
  }

  FUZZ_CHECK(personal::SaveNotebook(saved, book).ok);
  personal::Notebook again;
  FUZZ_CHECK(personal::LoadNotebook(saved, again).ok);
  FUZZ_CHECK(again.size() == book.size());
  for (int i = 0; i < book.size(); ++i) {
    const auto& a = book.row(i);
    const auto& b = again.row(i);
    FUZZ_CHECK(a.headWord == b.headWord);
    FUZZ_CHECK(a.kana == b.kana);
    FUZZ_CHECK(a.chinese == b.chinese);
    FUZZ_CHECK(a.english == b.english);
  }
  return 0;
}
