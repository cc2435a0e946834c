// The GBK codec: every byte string decodes, text that fits the code page
// comes back unchanged, and the helpers built on it agree with it.
#include "fuzz_support.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in = FUZZ_INPUT;

  // Decoding large files goes through a table of every two-byte code, made
  // once: made here first, it serves every input after.
  static const bool tableMade = !text::gbkToUtf8(std::string(40000, '\xB0')).empty();
  FUZZ_CHECK(tableMade);

  // Bytes from a file, decoded as the program decodes every list it reads:
  // the table gives what the converter alone gives.
  const std::string utf8 = text::gbkToUtf8(in);
  FUZZ_CHECK(utf8 == text::decodeToUtf8(in, "GB18030"));
  // Read from a file, line by line, the lines are those the whole text
  // splits into.
  const std::string path = fuzz::ScratchPath("lines");
  fuzz::WriteBytes(path, in);
  std::vector<std::string> lines;
  FUZZ_CHECK(text::readGbkLines(path, lines));
  FUZZ_CHECK(lines == text::splitLines(utf8));
  const std::string gbk = text::utf8ToGbk(utf8);
  FUZZ_CHECK(text::gbkLength(utf8) == gbk.size());
  if (text::fitsGbk(utf8)) FUZZ_CHECK(text::gbkToUtf8(gbk) == utf8);
  // Decoding what was encoded is stable from then on.
  FUZZ_CHECK(text::utf8ToGbk(text::gbkToUtf8(gbk)) == gbk);

  // The same bytes taken as typed UTF-8 text (possibly broken).
  const std::string typed = text::utf8ToGbk(in);
  (void)text::fitsGbk(in);
  (void)text::decodeToUtf8(in, "UTF-16LE");

  for (const auto& line : text::splitLines(in)) {
    FUZZ_CHECK(line.find('\n') == std::string::npos);
    FUZZ_CHECK(line.find('\r') == std::string::npos);
  }
  const std::string t = text::trim(in);
  FUZZ_CHECK(text::trim(t) == t);
  FUZZ_CHECK(text::equalsIgnoringAsciiCase(text::asciiLower(in), in));
  return 0;
}
