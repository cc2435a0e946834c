#include <gtest/gtest.h>

#include "dictionary/entry_line.h"

using namespace kirvale::dictionary;

namespace {
struct Row {
  const char* line;
  const char* head;
  const char* kana;
  const char* english;
  const char* chinese;
};
}  // namespace

TEST(EntryLine, ParserTable) {
  const Row rows[] = {
      {"食べる [たべる] /to eat//吃/", "食べる", "たべる", "to eat", "吃"},
      {"ノート /notebook//笔记本/", "ノート", "", "notebook", "笔记本"},
      {"本 [ほん] ///书/", "本", "ほん", "", "/书"},
      // The Chinese text always loses the line's last character.
      {"猫 /cat//猫咪", "猫", "", "cat", "猫"},
      // Single slashes inside the English text; blanks around the head word.
      {"   家  [いえ] /house/home//房子；家/", "家", "いえ", "house/home", "房子；家"},
      // "]" before "[": empty kana. No "]" at all: empty kana.
      {"a]b[c/x//y/", "a]b", "", "x", "y"},
      {"語[ご/w//z/", "語", "", "w", "z"},
      // Neither "[" nor "/": no head word at all.
      {"  ただの行  ", "", "", "", ""},
      {"", "", "", "", ""},
      // No "//": no English, no Chinese.
      {"単語 /only english/", "単語", "", "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.line);
    DictionaryEntry e = ParseEntryLine(r.line);
    EXPECT_EQ(e.headWord, r.head);
    EXPECT_EQ(e.kana, r.kana);
    EXPECT_EQ(e.english, r.english);
    EXPECT_EQ(e.chinese, r.chinese);
  }
}

TEST(EntryLine, ListItems) {
  EXPECT_EQ(JapaneseListItem(" 食べる [たべる] /to eat//吃/"), "食べる");
  EXPECT_EQ(JapaneseListItem("ノート /notebook//笔记本/"), "ノート");
  EXPECT_EQ(JapaneseListItem("no marks at all"), "");
  EXPECT_EQ(EnglishHeadWord("book ,书,本"), "book ");
  EXPECT_EQ(EnglishExplanation("book ,书,本"), "书,本");
  EXPECT_EQ(EnglishListItem(" book ,书"), "book");
  EXPECT_EQ(EnglishListItem("nocomma"), "");
  EXPECT_EQ(EnglishHeadWord("nocomma"), "");
  EXPECT_EQ(EnglishExplanation("nocomma"), "");
}
