#include <gtest/gtest.h>

#include "settings/language_table.h"
#include "settings/messages.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using kirvale::settings::LanguageTable;

TEST(LanguageTable, LookupQuirks) {
  LanguageTable t;
  t.OpenLines({
      "137:Input/输入",
      "167:Needs Windows 2000 or later./取词需要Windows2000以上系统支持。",
      "200:Two hundred/二百",
      "138 : Search / 查询 ",
      "141:Screen capture/屏幕/取词",
      "150 no slash here",
      "152:a:b/c",
  });
  EXPECT_EQ(t.LookUpTagText(137, 0), "Input");
  EXPECT_EQ(t.LookUpTagText(137, 1), "输入");
  // An earlier line holding the digits wins: 200 stops at the line of 167.
  EXPECT_EQ(t.LookUpTagText(200, 0), "Needs Windows 2000 or later.");
  EXPECT_EQ(t.LookUpTagText(200, 1), "取词需要Windows2000以上系统支持。");
  // Texts are trimmed; the Chinese text may hold slashes.
  EXPECT_EQ(t.LookUpTagText(138, 0), "Search");
  EXPECT_EQ(t.LookUpTagText(138, 1), "查询");
  EXPECT_EQ(t.LookUpTagText(141, 1), "屏幕/取词");
  // A line without "/": empty English, the whole trimmed line as Chinese.
  EXPECT_EQ(t.LookUpTagText(150, 0), "");
  EXPECT_EQ(t.LookUpTagText(150, 1), "150 no slash here");
  EXPECT_EQ(t.LookUpTagText(152, 0), "a:b");
  // A missing tag gives the empty text; only the low 8 bits count.
  EXPECT_EQ(t.LookUpTagText(213, 0), "");
  EXPECT_EQ(t.LookUpTagText(256 + 137, 0), "Input");
}

TEST(LanguageTable, ShippedTableHasEveryTagOnItsOwnLine) {
  LanguageTable t;
  ASSERT_TRUE(t.Open(std::string(KIRVALE_SOURCE_DIR) + "/resources/language.ini"));
  std::vector<std::string> lines;
  ASSERT_TRUE(kirvale::text::readGbkLines(std::string(KIRVALE_SOURCE_DIR) + "/resources/language.ini", lines));
  std::vector<int> tags;
  for (int tag = 101; tag <= 124; ++tag) tags.push_back(tag);
  for (int tag = 131; tag <= 146; ++tag) tags.push_back(tag);
  for (int tag = 148; tag <= 183; ++tag) tags.push_back(tag);
  for (int tag : {192, 193, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213}) tags.push_back(tag);
  for (int tag : tags) {
    SCOPED_TRACE(tag);
    // The first line that holds the digits must be the tag's own line.
    const std::string digits = std::to_string(tag);
    auto first = std::find_if(lines.begin(), lines.end(),
                              [&](const std::string& l) { return l.find(digits) != std::string::npos; });
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(first->rfind(digits + ":", 0), 0u);
    EXPECT_FALSE(t.LookUpTagText(tag, 0).empty());
    EXPECT_FALSE(t.LookUpTagText(tag, 1).empty());
  }
  EXPECT_EQ(t.LookUpTagText(136, 1), "Kirvale");
  EXPECT_EQ(t.LookUpTagText(172, 1), "确 定");
  EXPECT_EQ(t.LookUpTagText(167, 1), "取词需要Windows2000以上系统支持。");
  EXPECT_EQ(t.LookUpTagText(157, 1), "浏览速度(秒)：");
}

TEST(Messages, PairsChooseByLanguage) {
  using namespace kirvale::settings::msg;
  EXPECT_STREQ(kNotStarted.in(0), "You have not started yet.");
  EXPECT_STREQ(kNotStarted.in(1), "你还没有开始测试。");
  EXPECT_STREQ(kEntryExists.in(0), "The entry already exists.Use Update instead.");
  EXPECT_STREQ(kClearHistory.in(1), "是否清除所有查询历史记录？");
}
