#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::text;

TEST(Codec, GbkRoundTripAndByteCounts) {
  const std::string s = "食べる [たべる] /to eat//吃/";
  const std::string gbk = utf8ToGbk(s);
  EXPECT_EQ(gbkToUtf8(gbk), s);
  EXPECT_EQ(gbkLength("猫"), 2u);
  EXPECT_EQ(gbkLength("abc猫"), 5u);
  EXPECT_EQ(utf8ToGbk("·"), "\xA1\xA4");
  EXPECT_TRUE(fitsGbk("日本語のテキスト"));
  EXPECT_FALSE(fitsGbk("・"));     // katakana middle dot: GB18030 only
  EXPECT_FALSE(fitsGbk("😀"));
  // Characters GBK lacks still survive a round trip through GB18030.
  EXPECT_EQ(gbkToUtf8(utf8ToGbk("a・b〜😀")), "a・b〜😀");
}

TEST(Codec, InvalidBytesBecomeReplacementCharacters) {
  // A lone lead byte and an invalid pair: decoded without loss of the rest.
  const std::string out = gbkToUtf8(std::string("A\x81") + "B\xFF\xFF" + "C");
  EXPECT_NE(out.find('A'), std::string::npos);
  EXPECT_NE(out.find('C'), std::string::npos);
  EXPECT_NE(out.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(Text, TrimLowerAndLines) {
  EXPECT_EQ(trim("\t  a b \r\n"), "a b");
  EXPECT_EQ(trim(std::string("\0x\x1f", 3)), "x");
  EXPECT_EQ(trim("   "), "");
  EXPECT_EQ(asciiLower("Happily ÄB"), "happily Äb");
  EXPECT_TRUE(equalsIgnoringAsciiCase("Apple", "aPPLE"));
  EXPECT_FALSE(equalsIgnoringAsciiCase("Apple", "Apples"));
  using V = std::vector<std::string>;
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n\r\n"), (V{"a", ""}));
  EXPECT_EQ(splitLines(""), V{});
  EXPECT_EQ(splitLines("\n"), V{""});
}

TEST(Text, AtomicLineFiles) {
  kirvale::testing::TempDir dir;
  ASSERT_TRUE(writeGbkLinesAtomically(dir.file("f"), {"猫", "", "cat"}));
  EXPECT_EQ(kirvale::testing::ReadBytes(dir.file("f")), "\xC3\xA8\r\n\r\ncat\r\n");
  std::vector<std::string> lines;
  ASSERT_TRUE(readGbkLines(dir.file("f"), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"猫", "", "cat"}));
  EXPECT_FALSE(readGbkLines(dir.file("missing"), lines));
  EXPECT_FALSE(writeGbkLinesAtomically(dir.file("no/such/folder"), {"x"}));
}
