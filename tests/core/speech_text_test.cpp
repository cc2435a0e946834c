#include "speech/speech_text.h"

#include <gtest/gtest.h>

using kirvale::speech::WordToSpeak;

TEST(WordToSpeak, DropsTheDiamondAndTheBlanksAround) {
  EXPECT_EQ(WordToSpeak("◇hello"), "hello");
  EXPECT_EQ(WordToSpeak("◇ hello "), "hello");
  EXPECT_EQ(WordToSpeak("  ◇\thello world\r\n"), "hello world");
  // The typed word after an unsuccessful English search.
  EXPECT_EQ(WordToSpeak("◇Zzyzx"), "Zzyzx");
}

TEST(WordToSpeak, BlankOrBareDiamondSpeaksNothing) {
  EXPECT_EQ(WordToSpeak(""), "");
  EXPECT_EQ(WordToSpeak("   "), "");
  EXPECT_EQ(WordToSpeak("◇"), "");
  EXPECT_EQ(WordToSpeak(" ◇  "), "");
}

TEST(WordToSpeak, DropsOneWholeCharacterOnlyWhenItIsTheDiamond) {
  // Only the first "◇" goes; a second one is part of the word.
  EXPECT_EQ(WordToSpeak("◇◇a"), "◇a");
  // Without the diamond nothing is cut away, not even part of a character.
  EXPECT_EQ(WordToSpeak("hello"), "hello");
  EXPECT_EQ(WordToSpeak("◆hello"), "◆hello");  // shares the first two bytes with "◇"
  EXPECT_EQ(WordToSpeak("\xE2\x97"), "\xE2\x97");
}
