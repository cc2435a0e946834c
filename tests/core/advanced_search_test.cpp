#include "dictionary/advanced_search.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "crypto/aes.h"
#include "dictionary/entry_line.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::dictionary;
using kirvale::testing::TempDir;
using V = std::vector<std::string>;

namespace {

DictionaryReader readerOf(V lines) {
  DictionaryReader r;
  r.BindLines(std::move(lines));
  return r;
}

V search(const DictionaryReader& r, std::string_view text, SearchField field) {
  const auto result = AdvancedSearch(r, text, field);
  EXPECT_TRUE(result.has_value());
  return result ? result->headWords : V{"<no search>"};
}

// Well-formed lines and the malformed ones a hand-edited file may hold.
const V kOddLines{
    "猫 [ねこ] /(n) cat//猫/",
    "  電話  [でんわ] /telephone//电话/",
    "ノート /notebook//笔记本/",
    "no marks at all",
    "",
    "x] [y /a//b/",          // "]" before "["
    "head [kana /e//c/",     // "[" without "]"
    "only/one/slash",        // no "//"
    "a//b",                  // "//" is the first "/"
    "w [k] /e//",            // nothing after "//" but the last character
    "w [k] /e//中",          // the last character is a whole multi-byte one
    "w [] /e//c/",           // empty brackets
    "\t w \r",
};

}  // namespace

TEST(AdvancedSearch, FieldsAreTheFieldsOfTheParsedLine) {
  for (const std::string& line : kOddLines) {
    SCOPED_TRACE(line);
    const DictionaryEntry e = ParseEntryLine(line);
    EXPECT_EQ(EntryField(line, SearchField::HeadWord), e.headWord);
    EXPECT_EQ(EntryField(line, SearchField::Kana), e.kana);
    EXPECT_EQ(EntryField(line, SearchField::Chinese), e.chinese);
    EXPECT_EQ(EntryField(line, SearchField::English), e.english);
    EXPECT_EQ(EntryField(line, SearchField::WholeLine), line);
  }
}

TEST(AdvancedSearch, EachFieldIsAnExactSubstringInFileOrder) {
  const auto r = readerOf({
      "猫 [ねこ] /(n) cat//猫/",
      "山猫 [やまねこ] /(n) wildcat/lynx//山猫/",
      "キャット /(n) Cat (loanword)//猫/",  // only "Cat": letter case counts
      "本 [ほん] /(n) book//书/",
      "猫 [びょう] /(n) cat (in compounds)//猫/",  // the same head word again
      "教育 [きょういく] /(n) education//教育/",
  });
  EXPECT_EQ(search(r, "cat", SearchField::English), (V{"猫", "山猫", "猫", "教育"}));
  const auto counted = AdvancedSearch(r, "cat", SearchField::English);
  ASSERT_TRUE(counted);
  EXPECT_EQ(counted->count(), 4u);
  // Blanks and control characters around the text are not searched for.
  EXPECT_EQ(search(r, " \tcat\r\n ", SearchField::English), (V{"猫", "山猫", "猫", "教育"}));
  EXPECT_EQ(search(r, "Cat", SearchField::English), (V{"キャット"}));
  EXPECT_EQ(search(r, "ねこ", SearchField::Kana), (V{"猫", "山猫"}));
  EXPECT_EQ(search(r, "猫", SearchField::HeadWord), (V{"猫", "山猫", "猫"}));
  EXPECT_EQ(search(r, "猫", SearchField::Chinese), (V{"猫", "山猫", "キャット", "猫"}));
  // The Chinese field ends before the closing "/", the English one before "//".
  EXPECT_EQ(search(r, "猫/", SearchField::Chinese), V{});
  EXPECT_EQ(search(r, "book/", SearchField::English), V{});
  // Head word, kana and English do not hold the separators.
  EXPECT_EQ(search(r, "[", SearchField::HeadWord), V{});
  EXPECT_EQ(search(r, "zzz", SearchField::WholeLine), V{});
}

TEST(AdvancedSearch, WholeLineRowSeesKanaAndSeparators) {
  const auto r = readerOf({"本 [ほん] /(n) book//书/", "雨 [あめ] /(n) rain//雨/", "ノート /notebook//笔记本/"});
  // Only in the kana.
  EXPECT_EQ(search(r, "ほん", SearchField::WholeLine), (V{"本"}));
  // Only across the separators: English end, "//", Chinese start.
  EXPECT_EQ(search(r, "book//书", SearchField::WholeLine), (V{"本"}));
  EXPECT_EQ(search(r, "k//", SearchField::WholeLine), (V{"本", "ノート"}));
  EXPECT_EQ(search(r, "] /(n", SearchField::WholeLine), (V{"本", "雨"}));
  EXPECT_EQ(search(r, "k//", SearchField::English), V{});
  EXPECT_EQ(search(r, "k//", SearchField::Chinese), V{});
}

TEST(AdvancedSearch, EmptyTextRunsNoSearchAndNoMatchIsEmpty) {
  const auto r = readerOf({"本 [ほん] /(n) book//书/"});
  EXPECT_FALSE(AdvancedSearch(r, "", SearchField::English).has_value());
  EXPECT_FALSE(AdvancedSearch(r, " \t\r\n", SearchField::WholeLine).has_value());
  const auto none = AdvancedSearch(r, "cat", SearchField::English);
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(none->count(), 0u);
  EXPECT_TRUE(none->headWords.empty());
  // An empty dictionary gives an empty result, not an error.
  EXPECT_EQ(search(readerOf({}), "x", SearchField::WholeLine), V{});
}

TEST(AdvancedSearch, RowTextsInBothLanguages) {
  EXPECT_EQ(V(SearchFieldTexts(1).begin(), SearchFieldTexts(1).end()),
            (V{"日文词条", "假名发音", "中文解释", "英语解释", "以上四项"}));
  EXPECT_EQ(V(SearchFieldTexts(0).begin(), SearchFieldTexts(0).end()),
            (V{"Japanese entry", "Kana", "Chinese", "English", "Any of above"}));
}

TEST(AdvancedSearch, CountOfTheFullestDictionary) {
  // Every line of the longest dictionary the program takes matches once.
  V lines(kMaxLines + 5, "語 [ご] /word//词/");
  DictionaryReader r;
  r.BindLines(std::move(lines));
  const auto all = AdvancedSearch(r, "//", SearchField::WholeLine);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->count(), kMaxLines);
}

namespace {
struct CliRun {
  int code;
  std::string out;
};
CliRun runSearch(const TempDir& dir, const std::string& args) {
  const std::string cmd =
      std::string(KIRVALE_CLI) + " search " + args + " >" + dir.file("out") + " 2>" + dir.file("err");
  const int status = std::system(cmd.c_str());
  return {WEXITSTATUS(status), kirvale::testing::ReadBytes(dir.file("out"))};
}
}  // namespace

TEST(Cli, SearchPrintsMatchingHeadWordsInFileOrder) {
  TempDir dir;
  ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(
      dir.file("plain"), {"猫 [ねこ] /(n) cat//猫/", "本 [ほん] /(n) book//书/", "山猫 [やまねこ] /(n) wildcat//山猫/"}));
  kirvale::crypto::EncryptFileToContainer(dir.file("plain"), dir.file("multilingual.dic"), "tomvi-karsel");
  const std::string d = "--dir " + dir.path() + " ";
  CliRun r = runSearch(dir, d + "--field 3 cat");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "猫\n山猫\n");
  r = runSearch(dir, "--field 4 " + d + "'k//'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "本\n");
  r = runSearch(dir, d + "--field 1 ほん");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "本\n");
  r = runSearch(dir, d + "--field 3 Cat");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  // Bad usage: no field, a field out of range or not a number, no text, an
  // empty text, two texts.
  EXPECT_EQ(runSearch(dir, d + "cat").code, 2);
  EXPECT_EQ(runSearch(dir, d + "--field 5 cat").code, 2);
  EXPECT_EQ(runSearch(dir, d + "--field x cat").code, 2);
  EXPECT_EQ(runSearch(dir, d + "--field 3").code, 2);
  EXPECT_EQ(runSearch(dir, d + "--field 3 '  '").code, 2);
  EXPECT_EQ(runSearch(dir, d + "--field 3 cat dog").code, 2);
  // No dictionary in the folder.
  TempDir empty;
  EXPECT_EQ(runSearch(dir, "--dir " + empty.path() + " --field 3 cat").code, 2);
}
