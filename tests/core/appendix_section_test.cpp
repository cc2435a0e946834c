// Which lines of the appendix the viewer shows for a title.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

#include "dictionary/appendix_section.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using kirvale::dictionary::AppendixPaneText;
using kirvale::dictionary::AppendixSection;
using kirvale::dictionary::DictionaryReader;
using kirvale::dictionary::IsAppendixTopic;
using Lines = std::vector<std::string>;

namespace {
DictionaryReader Reader(Lines lines) {
  DictionaryReader r;
  r.BindLines(std::move(lines));
  return r;
}
}  // namespace

TEST(AppendixSection, RunsFromItsTitleToTheNextTitle) {
  const auto r = Reader({"preface, in no section", "词典缩略语", "n 名词", "", "v1 一段动词", "日语的词类", "名词",
                         "罗马字-假名对应表", "a あ ア"});
  EXPECT_EQ(AppendixSection(r, "词典缩略语"), (Lines{"词典缩略语", "n 名词", "", "v1 一段动词"}));
  // The last section runs to the end of the file.
  EXPECT_EQ(AppendixSection(r, "罗马字-假名对应表"), (Lines{"罗马字-假名对应表", "a あ ア"}));
  EXPECT_EQ(AppendixPaneText(AppendixSection(r, "日语的词类")), "日语的词类\n名词");
  EXPECT_EQ(AppendixPaneText({}), "");
}

TEST(AppendixSection, TheSameTitleWrittenAgainEndsTheSection) {
  const auto r = Reader({"日本城市地名", "札幌", "日本城市地名", "函館"});
  EXPECT_EQ(AppendixSection(r, "日本城市地名"), (Lines{"日本城市地名", "札幌"}));
}

TEST(AppendixSection, TitlesEndASectionIgnoringLetterCase) {
  // Only ASCII letters have a case; a title written with other letters in
  // another case still ends the section.
  EXPECT_TRUE(IsAppendixTopic("罗马字-假名对应表"));
  EXPECT_FALSE(IsAppendixTopic("罗马字-假名对应表 "));
  EXPECT_FALSE(IsAppendixTopic(""));
  EXPECT_FALSE(IsAppendixTopic("词典"));
  const auto r = Reader({"平假名-片假名对照表", "あ ア", "词典缩略语", "n"});
  EXPECT_EQ(AppendixSection(r, "平假名-片假名对照表"), (Lines{"平假名-片假名对照表", "あ ア"}));
}

TEST(AppendixSection, ALeadingPartOfTheTitleStartsTheSectionEarly) {
  const auto r = Reader({"词典缩略语", "日语", "n 名词", "日语的词类", "名词"});
  // 日语 starts 日语的词类 early, inside the abbreviations, and the real
  // title line then ends it.
  EXPECT_EQ(AppendixSection(r, "日语的词类"), (Lines{"日语", "n 名词"}));
  // 日语 also begins 日语有关词汇.
  EXPECT_EQ(AppendixSection(r, "日语有关词汇"), (Lines{"日语", "n 名词"}));
  // A line longer than the title, or one that merely contains it, does not.
  const auto r2 = Reader({"日语的词类以外", "x日语的词类", "日语的词类", "名词"});
  EXPECT_EQ(AppendixSection(r2, "日语的词类"), (Lines{"日语的词类", "名词"}));
}

TEST(AppendixSection, AnEmptyLineNeverStartsASection) {
  const auto r = Reader({"", "", "text", "词典缩略语", "n"});
  EXPECT_EQ(AppendixSection(r, "日语的词类"), Lines{});
  // An empty title is begun by every line, but only non-empty lines count.
  EXPECT_EQ(AppendixSection(Reader({"", "", ""}), ""), Lines{});
}

TEST(AppendixSection, ATitleWithoutASectionGivesNothing) {
  const auto r = Reader({"词典缩略语", "n 名词", "罗马字-假名对应表", "a"});
  EXPECT_TRUE(AppendixSection(r, "日本城市地名").empty());
  EXPECT_TRUE(AppendixSection(Reader({}), "词典缩略语").empty());
}

TEST(AppendixCli, PrintsTheSectionAsThePaneShowsIt) {
  kirvale::testing::TempDir dir;
  auto run = [&](const std::string& args) {
    const std::string cmd =
        std::string(KIRVALE_CLI) + " appendix " + args + " >" + dir.file("out") + " 2>" + dir.file("err");
    const int status = std::system(cmd.c_str());
    return std::make_pair(WEXITSTATUS(status), kirvale::testing::ReadBytes(dir.file("out")));
  };
  // Missing file, bad usage.
  EXPECT_EQ(run("--dir " + dir.path() + " 词典缩略语").first, 2);
  EXPECT_EQ(run("").first, 2);
  ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(
      dir.file("appendix.app"), {"词典缩略语", "n 名词", "", "日语的词类", "名词", "词典缩略语"}));
  EXPECT_EQ(run("--dir " + dir.path() + " 词典缩略语 extra").first, 2);
  // The file is GBK; the output is the program's UTF-8 text.
  auto [code, out] = run("--dir " + dir.path() + " 词典缩略语");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out, "词典缩略语\nn 名词\n\n");
  std::tie(code, out) = run("--dir " + dir.path() + " 日语的词类");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out, "日语的词类\n名词\n");
  std::tie(code, out) = run("--dir " + dir.path() + " 日本城市地名");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(out, "");
}
