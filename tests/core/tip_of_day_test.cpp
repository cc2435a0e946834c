#include "personal/tip_of_day.h"

#include <gtest/gtest.h>

#include "text/codec.h"

using namespace kirvale::personal;
using kirvale::dictionary::DictionaryReader;
using V = std::vector<std::string>;

namespace {
DictionaryReader readerOf(V lines) {
  DictionaryReader r;
  r.BindLines(std::move(lines));
  return r;
}
}  // namespace

TEST(TipOfDay, AdvanceWalksTheDictionaryAndWraps) {
  const auto r = readerOf({"一 /one//一/", "二 /two//二/", "三 /three//三/"});
  const std::int16_t last = LastLineIndex(r);
  EXPECT_EQ(last, 2);
  // First run (-1): line 0, then on to the last line and round again.
  std::int16_t index = -1;
  V shown;
  for (int i = 0; i < 5; ++i) {
    index = NextTipIndex(index, last);
    TipDisplay d;
    ASSERT_TRUE(TipDisplayFor(r, index, 1, d));
    shown.push_back(d.entry.headWord);
  }
  EXPECT_EQ(shown, (V{"一", "二", "三", "一", "二"}));
  // A stored index from a longer dictionary, or a hand-edited negative one.
  EXPECT_EQ(NextTipIndex(2, last), 0);
  EXPECT_EQ(NextTipIndex(500, last), 0);
  EXPECT_EQ(NextTipIndex(-7, last), 0);
  EXPECT_EQ(NextTipIndex(-32768, last), 0);
  // The longest dictionary: no overflow at the top.
  EXPECT_EQ(NextTipIndex(32765, 32766), 32766);
  EXPECT_EQ(NextTipIndex(32766, 32766), 0);
  EXPECT_EQ(NextTipIndex(32767, 32766), 0);
  // An empty dictionary: index 0, which has no line to show.
  const auto empty = readerOf({});
  EXPECT_EQ(LastLineIndex(empty), -1);
  EXPECT_EQ(NextTipIndex(-1, LastLineIndex(empty)), 0);
  TipDisplay d;
  d.label = "kept";
  EXPECT_FALSE(TipDisplayFor(empty, 0, 1, d));
  EXPECT_EQ(d.label, "kept");
  EXPECT_FALSE(TipDisplayFor(r, 3, 1, d));
}

TEST(TipOfDay, LabelWithAndWithoutKana) {
  const auto r = readerOf({"猫 [ねこ] /(n) cat//猫/", "ノート /(n) notebook//笔记本/", "空 [] /sky//天空/"});
  TipDisplay d;
  ASSERT_TRUE(TipDisplayFor(r, 0, 1, d));
  EXPECT_EQ(d.label, "◇猫\r〖ねこ〗");
  ASSERT_TRUE(TipDisplayFor(r, 1, 1, d));
  EXPECT_EQ(d.label, "◇ノート\r");
  ASSERT_TRUE(TipDisplayFor(r, 2, 1, d));
  EXPECT_EQ(d.label, "◇空\r");
}

TEST(TipOfDay, MemoHeadersInBothLanguages) {
  const std::string dots18 = [] {
    std::string s;
    for (int i = 0; i < 18; ++i) s += "·";
    return s;
  }();
  const std::string six(6, ' ');
  const auto r = readerOf({"猫 [ねこ] /(n) cat//猫/"});
  TipDisplay d;
  ASSERT_TRUE(TipDisplayFor(r, 0, 1, d));
  EXPECT_EQ(d.memoLines, (V{six + dots18 + "中文" + dots18 + six, "猫", six + dots18 + "英语" + dots18 + six, "(n) cat"}));
  ASSERT_TRUE(TipDisplayFor(r, 0, 0, d));
  EXPECT_EQ(d.memoLines,
            (V{six + dots18 + "Chinese" + dots18 + six, "猫", six + dots18 + "English" + dots18 + six, "(n) cat"}));
  // On disk the dot is the GBK pair A1 A4: 6 + 36 + 7 + 36 + 6 bytes.
  const std::string gbk = kirvale::text::utf8ToGbk(TipHeader("English"));
  EXPECT_EQ(gbk.size(), 6u + 36 + 7 + 36 + 6);
  EXPECT_EQ(gbk.substr(6, 2), "\xA1\xA4");
  EXPECT_EQ(gbk.substr(6 + 36, 7), "English");
}
