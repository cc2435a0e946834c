#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "personal/export.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::personal;
using kirvale::testing::TempDir;

namespace {

std::string cli() { return KIRVALE_CLI; }

int run(const std::string& args) {
  const int status = std::system((cli() + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readUtf8(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(kirvale::text::readFile(path, bytes));
  return bytes;
}

}  // namespace

TEST(Export, ReadsBothListsAndReportsBadLines) {
  const std::vector<std::string> lines = {
      "食べる [たべる] /to eat//吃；食/",
      "",
      "no separators here",
      "猫                   [ねこ] /(n)cat//(名)猫/",
      "犬                   /※The user did not give an English definition.//※用户没有给出词条的中文解释。/",
      " [かな] /english//中文/",
      "bad\xEF\xBF\xBD bytes /x//y/",
  };
  const ExportResult r = ReadListForExport(lines);
  ASSERT_EQ(r.rows.size(), 3u);
  EXPECT_EQ(r.rows[0].headWord, "食べる");
  EXPECT_EQ(r.rows[0].kana, "たべる");
  EXPECT_EQ(r.rows[0].chinese, "吃；食");
  EXPECT_EQ(r.rows[0].english, "to eat");
  // My Dictionary's padded head word and part-of-speech marks.
  EXPECT_EQ(r.rows[1].headWord, "猫");
  EXPECT_EQ(r.rows[1].english, "(n)cat");
  EXPECT_EQ(r.rows[1].chinese, "(名)猫");
  // Placeholders for empty definition boxes become empty fields.
  EXPECT_EQ(r.rows[2].headWord, "犬");
  EXPECT_EQ(r.rows[2].english, "");
  EXPECT_EQ(r.rows[2].chinese, "");
  ASSERT_EQ(r.skipped.size(), 4u);
  EXPECT_EQ(r.skipped[0].lineNumber, 2);
  EXPECT_EQ(r.skipped[1].lineNumber, 3);
  EXPECT_EQ(r.skipped[2].lineNumber, 6);
  EXPECT_EQ(r.skipped[3].lineNumber, 7);
}

TEST(Export, TsvAndCsvEscaping) {
  const std::vector<ExportRow> rows = {{"a\tb", "k\r\nk", "中,文", "say \"hi\"\nnow"}};
  EXPECT_EQ(FormatExport(rows, ExportFormat::Tsv),
            "#separator:tab\n#html:false\n#columns:Head word\tKana\tChinese\tEnglish\n"
            "a b\tk  k\t中,文\tsay \"hi\" now\n");
  EXPECT_EQ(FormatExport(rows, ExportFormat::Csv),
            "#separator:comma\n#html:false\n#columns:Head word,Kana,Chinese,English\n"
            "a\tb,\"k\r\nk\",\"中,文\",\"say \"\"hi\"\"\nnow\"\n");
}

TEST(Export, CommandLineWritesUtf8FromGbkFiles) {
  TempDir d;
  ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(
      d.path() + "/newdict.dic", {"電話 [でんわ] /telephone//电话/", "broken line", "本 [ほん] /book//书/"}));
  ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(d.path() + "/userdict.dic",
                                                     {"猫                   [ねこ] /(n)cat, kitty//(名)猫/"}));
  const std::string out = d.path() + "/out.txt";
  EXPECT_EQ(run("export notebook --dir " + d.path() + " " + out), 0);
  EXPECT_EQ(readUtf8(out),
            "#separator:tab\n#html:false\n#columns:Head word\tKana\tChinese\tEnglish\n"
            "電話\tでんわ\t电话\ttelephone\n本\tほん\t书\tbook\n");
  EXPECT_EQ(run("export userdict --format csv --dir " + d.path() + " " + out), 0);
  EXPECT_EQ(readUtf8(out),
            "#separator:comma\n#html:false\n#columns:Head word,Kana,Chinese,English\n"
            "猫,ねこ,(名)猫,\"(n)cat, kitty\"\n");
  // A list that is not there, a bad format, a missing output name.
  TempDir empty;
  EXPECT_EQ(run("export notebook --dir " + empty.path() + " " + out), 1);
  EXPECT_EQ(run("export notebook --format xml --dir " + d.path() + " " + out), 2);
  EXPECT_EQ(run("export notebook --dir " + d.path()), 2);
  EXPECT_EQ(run("export words --dir " + d.path() + " " + out), 2);
}
