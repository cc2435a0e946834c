#include "personal/user_dict.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::personal;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

namespace {

const PartOfSpeechTable& table() {
  static const PartOfSpeechTable t = BuildPartOfSpeechTable(kPartOfSpeechAbbreviations, kPartOfSpeechNames);
  return t;
}

UserEntryFields cat(std::string english = "cat", int row = 7) {
  return {"猫", "ねこ", "猫", std::move(english), row};
}

std::string blanks(std::size_t n) { return std::string(n, ' '); }

const std::string kAddedCat = "猫" + blanks(20) + "[ねこ] /(n)cat//(名)猫/";
const std::string kLoadedCat = "猫" + blanks(19) + "[ねこ] /(n)cat//(名)猫/";

}  // namespace

TEST(UserDictLine, BuiltAsAddBuildsIt) {
  EXPECT_EQ(UserDictLine(cat(), table()), kAddedCat);
  // Both definition boxes empty: the placeholders, without marks.
  UserEntryFields empty{"猫", "ねこ", "", "", 7};
  EXPECT_EQ(UserDictLine(empty, table()), "猫" + blanks(20) +
                                              "[ねこ] /※The user did not give an English definition."
                                              "//※用户没有给出词条的中文解释。/");
  // One box empty, no kana; fields are trimmed of blanks and control characters.
  UserEntryFields oneBox{" \t犬\r\n", "  ", "", " dog\n", 1};
  EXPECT_EQ(UserDictLine(oneBox, table()), "犬" + blanks(19) + "/(adj)dog//※用户没有给出词条的中文解释。/");
  // A line break inside a multi-line box cannot go into a one-line file.
  UserEntryFields twoLines{"犬", "", "狗\r\n犬", "dog\nhound", 7};
  EXPECT_EQ(UserDictLine(twoLines, table()), "犬" + blanks(19) + "/(n)dog hound//(名)狗  犬/");
}

TEST(UserDictLine, PaddingCountsGbkBytes) {
  // A Chinese or Japanese character is 2 bytes, ASCII 1.
  EXPECT_EQ(PadHeadWord("猫"), "猫" + blanks(19));
  EXPECT_EQ(PadHeadWord("食べる"), "食べる" + blanks(15));
  EXPECT_EQ(PadHeadWord("abc"), "abc" + blanks(18));
  EXPECT_EQ(PadHeadWord("Tシャツ"), "Tシャツ" + blanks(14));
  EXPECT_EQ(PadHeadWord(std::string(19, 'a')), std::string(19, 'a') + blanks(2));
  EXPECT_EQ(PadHeadWord("一二三四五六七八九"), "一二三四五六七八九" + blanks(3));  // 18 bytes
  EXPECT_EQ(PadHeadWord(""), blanks(21));
  // 20 bytes or more: one blank, so that the head word stays the line's key.
  EXPECT_EQ(PadHeadWord("一二三四五六七八九十"), "一二三四五六七八九十 ");
  EXPECT_EQ(PadHeadWord(std::string(25, 'x')), std::string(25, 'x') + " ");
  // A character GBK lacks takes its 4 GB18030 bytes.
  EXPECT_EQ(PadHeadWord("😀"), "😀" + blanks(17));
}

TEST(UserDictLine, SelectingALineFillsTheFields) {
  for (const std::string& line : {kAddedCat, kLoadedCat}) {
    const UserEntryFields f = FieldsOfLine(line, table());
    EXPECT_EQ(f.headWord, "猫");
    EXPECT_EQ(f.kana, "ねこ");
    EXPECT_EQ(f.partOfSpeech, 7);
    EXPECT_EQ(f.chinese, "猫");
    EXPECT_EQ(f.english, "cat");
  }
  // The mark is found without regard to letter case; only the first ")" ends it.
  UserEntryFields f = FieldsOfLine("走る" + blanks(17) + "/(V5)to run (fast)//(五段动词)跑/", table());
  EXPECT_EQ(f.partOfSpeech, 9);
  EXPECT_EQ(f.english, "to run (fast)");
  EXPECT_EQ(f.chinese, "跑");
  EXPECT_EQ(f.kana, "");
  // Placeholders show as empty boxes, and there is no row.
  f = FieldsOfLine(UserDictLine({"猫", "ねこ", "", "", 7}, table()), table());
  EXPECT_EQ(f.english, "");
  EXPECT_EQ(f.chinese, "");
  EXPECT_EQ(f.partOfSpeech, -1);
  // An unknown mark or none: no row, the text shown as written.
  f = FieldsOfLine("犬 /(xyz)dog//狗/", table());
  EXPECT_EQ(f.partOfSpeech, -1);
  EXPECT_EQ(f.english, "dog");
  f = FieldsOfLine("犬 /dog//狗/", table());
  EXPECT_EQ(f.partOfSpeech, -1);
  EXPECT_EQ(f.english, "dog");
  EXPECT_EQ(f.chinese, "狗");
  // A head word with a blank inside shows whole.
  EXPECT_EQ(FieldsOfLine("ice cream" + blanks(12) + "/(n)ice cream//(名)冰淇淋/", table()).headWord, "ice cream");
}

TEST(UserDictionary, AddedLineReadsBackWithOneBlankLessAndTheSameKey) {
  TempDir dir;
  UserDictionary user;
  EXPECT_EQ(user.Add(cat(), table()).result, EditResult::Appended);
  EXPECT_EQ(user.lines()[0], kAddedCat);
  EXPECT_EQ(user.FindUserEntry("猫"), 0);
  ASSERT_TRUE(user.Save(dir.file(kUserDictFile)).ok);
  EXPECT_EQ(ReadBytes(dir.file(kUserDictFile)), kirvale::text::utf8ToGbk(kAddedCat) + "\r\n");

  UserDictionary again;
  const UserDictLoad in = again.Load(dir.file(kUserDictFile));
  EXPECT_TRUE(in.ok);
  EXPECT_FALSE(in.lossy);
  ASSERT_EQ(again.lines().size(), 1u);
  EXPECT_EQ(again.lines()[0], kLoadedCat);
  EXPECT_EQ(again.FindUserEntry("猫"), 0);
  // Loading again changes nothing more.
  ASSERT_TRUE(again.Save(dir.file(kUserDictFile)).ok);
  UserDictionary third;
  third.Load(dir.file(kUserDictFile));
  EXPECT_EQ(third.lines(), again.lines());

  // An empty list deletes the file; a missing file loads as nothing.
  third.Delete(0);
  ASSERT_TRUE(third.Save(dir.file(kUserDictFile)).ok);
  EXPECT_FALSE(Exists(dir.file(kUserDictFile)));
  ASSERT_TRUE(third.Save(dir.file(kUserDictFile)).ok);
  UserDictionary none;
  EXPECT_TRUE(none.Load(dir.file(kUserDictFile)).ok);
  EXPECT_TRUE(none.lines().empty());
}

TEST(UserDictionary, FindUserEntryComparesKeysExactly) {
  UserDictionary user;
  user.lines() = {kLoadedCat, "Cat" + blanks(18) + "/(n)cat//(名)猫/", "ice cream" + blanks(12) + "/(n)x//(名)y/",
                  "noblank/x//y/", "猫" + blanks(19) + "/(n)second//(名)二/"};
  EXPECT_EQ(user.FindUserEntry("猫"), 0);  // the first of two
  EXPECT_EQ(user.FindUserEntry("Cat"), 1);
  EXPECT_EQ(user.FindUserEntry("cat"), -1);  // letter case counts
  EXPECT_EQ(user.FindUserEntry("Ca"), -1);
  EXPECT_EQ(user.FindUserEntry("ice"), 2);  // the key ends at the first blank
  EXPECT_EQ(user.FindUserEntry("ice cream"), -1);
  EXPECT_EQ(user.FindUserEntry("noblank/x//y/"), -1);
  EXPECT_EQ(user.FindUserEntry(""), 3);  // a line without a blank has an empty key
  EXPECT_EQ(LineKey("abc def"), "abc");
  EXPECT_EQ(LineKey("abc"), "");
}

TEST(UserDictionary, AddUpdateAndDelete) {
  UserDictionary user;
  EXPECT_EQ(user.Add({" \t", "ねこ", "猫", "cat", 7}, table()).result, EditResult::Ignored);
  EXPECT_EQ(user.Add(cat(), table()).position, 0);
  EXPECT_EQ(user.Add({"犬", "いぬ", "狗", "dog", 7}, table()).position, 1);
  // Adding 猫 again: refused, one line.
  EXPECT_EQ(user.Add(cat("kitten"), table()).result, EditResult::AlreadyExists);
  EXPECT_EQ(user.lines().size(), 2u);
  EXPECT_EQ(user.lines()[0], kAddedCat);
  // Update replaces in place.
  EditOutcome u = user.Update(cat("kitten"), table());
  EXPECT_EQ(u.result, EditResult::Replaced);
  EXPECT_EQ(u.position, 0);
  EXPECT_EQ(user.lines()[0], "猫" + blanks(20) + "[ねこ] /(n)kitten//(名)猫/");
  EXPECT_EQ(user.lines().size(), 2u);
  EXPECT_FALSE(user.updatePending());
  // Update of a head word that is not there adds nothing.
  EXPECT_EQ(user.Update({"鳥", "", "鸟", "bird", 7}, table()).result, EditResult::IsNew);
  EXPECT_EQ(user.lines().size(), 2u);
  // A head word with a blank is never found: added again each time, new to Update.
  EXPECT_EQ(user.Add({"ice cream", "", "冰淇淋", "ice cream", 7}, table()).result, EditResult::Appended);
  EXPECT_EQ(user.Add({"ice cream", "", "冰淇淋", "ice cream", 7}, table()).result, EditResult::Appended);
  EXPECT_EQ(user.Update({"ice cream", "", "冰淇淋", "ice cream", 7}, table()).result, EditResult::IsNew);
  EXPECT_EQ(user.lines().size(), 4u);
  // Delete.
  EXPECT_FALSE(user.Delete(-1));
  EXPECT_FALSE(user.Delete(4));
  EXPECT_TRUE(user.Delete(1));
  EXPECT_EQ(user.lines().size(), 3u);
  EXPECT_EQ(user.FindUserEntry("犬"), -1);
}

TEST(UserDictionary, AnAddThatStopsEarlyEndsThePendingUpdate) {
  UserDictionary user;
  user.Add(cat(), table());
  user.Add({"犬", "いぬ", "狗", "dog", 7}, table());
  // A definition without a part of speech: refused, and the Update is over.
  EXPECT_EQ(user.Update(cat("kitten", -1), table()).result, EditResult::NoPartOfSpeech);
  EXPECT_FALSE(user.updatePending());
  EXPECT_EQ(user.lines()[0], kAddedCat);
  EXPECT_EQ(user.Add({"鳥", "", "鸟", "bird", 13}, table()).result, EditResult::NoPartOfSpeech);
  // Without any definition no mark is needed.
  EXPECT_EQ(user.Update({"猫", "ねこ", "", "", -1}, table()).result, EditResult::Replaced);
  // A hand-written line with an empty key (no head word).
  user.lines().push_back(blanks(21) + "/(n)orphan//(名)孤/");
  EXPECT_EQ(user.FindUserEntry(""), 2);
  EXPECT_EQ(user.Update({"  ", "", "x", "x", 7}, table()).result, EditResult::Ignored);
  EXPECT_FALSE(user.updatePending());
  // The next Add of a new head word appends and leaves every line alone.
  const std::vector<std::string> before = user.lines();
  EXPECT_EQ(user.Add({"鳥", "とり", "鸟", "bird", 7}, table()).result, EditResult::Appended);
  ASSERT_EQ(user.lines().size(), before.size() + 1);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), user.lines().begin()));
}

TEST(UserDictionary, EntriesThatWouldNotReadBackAreRefused) {
  UserDictionary user;
  const auto add = [&](UserEntryFields f) { return user.Add(f, table()).result; };
  EXPECT_EQ(add({"a/b", "", "甲", "a", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬[1]", "いぬ", "狗", "dog", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬]", "いぬ", "狗", "dog", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬", "い/ぬ", "狗", "dog", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬", "いぬ]", "狗", "dog", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬", "いぬ", "狗", "dog//hound", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬", "", "狗", "dog [canine]", 7}), EditResult::Unstorable);
  EXPECT_EQ(add({"犬", "", "狗[犬]", "dog", 7}), EditResult::Unstorable);
  EXPECT_TRUE(user.lines().empty());
  // What the line format holds is taken.
  EXPECT_EQ(add({"犬", "いぬ", "狗//犬", "dog [canine]/hound", 7}), EditResult::Appended);
  EXPECT_EQ(add({"猫", "", "(书)猫/狸奴", "(lit) cat]", 7}), EditResult::Appended);
  for (const std::string& line : user.lines()) {
    const UserEntryFields back = FieldsOfLine(LoadedLine(line), table());
    EXPECT_EQ(back.partOfSpeech, 7);
  }
  EXPECT_EQ(FieldsOfLine(user.lines()[0], table()).english, "dog [canine]/hound");
  EXPECT_EQ(FieldsOfLine(user.lines()[1], table()).chinese, "(书)猫/狸奴");
  // A pending Update ends with the refusal; the line stays as it was.
  EXPECT_EQ(user.Update({"猫", "", "猫", "cat//x", 7}, table()).result, EditResult::Unstorable);
  EXPECT_FALSE(user.updatePending());
  EXPECT_EQ(FieldsOfLine(user.lines()[1], table()).english, "(lit) cat]");
}

TEST(UserDictionary, LongHeadWordsStayFindableAfterARestart) {
  TempDir dir;
  const std::string longHead = "一二三四五六七八九十";  // 20 bytes
  const std::string longer(22, 'x');
  UserDictionary user;
  user.Add({longHead, "", "数", "numbers", 7}, table());
  user.Add({longer, "えっくす", "", "x", 0}, table());
  EXPECT_EQ(user.lines()[0], longHead + " /(n)numbers//(名)数/");
  EXPECT_EQ(user.lines()[1], longer + "  [えっくす] /(abbr)x//※用户没有给出词条的中文解释。/");
  ASSERT_TRUE(user.Save(dir.file(kUserDictFile)).ok);
  UserDictionary again;
  again.Load(dir.file(kUserDictFile));
  EXPECT_EQ(again.lines()[1], longer + " [えっくす] /(abbr)x//※用户没有给出词条的中文解释。/");
  EXPECT_EQ(again.FindUserEntry(longHead), 0);
  EXPECT_EQ(again.FindUserEntry(longer), 1);
  // A file written without a blank after such a head word is mended on loading.
  WriteBytes(dir.file("old"), kirvale::text::utf8ToGbk(longer + "[えっくす] /(n)x//(名)叉/\r\n"));
  UserDictionary old;
  old.Load(dir.file("old"));
  EXPECT_EQ(old.lines()[0], longer + " [えっくす] /(n)x//(名)叉/");
  EXPECT_EQ(old.FindUserEntry(longer), 0);
}

TEST(UserDictionary, HandEditedFileLoadsAndSavesBackItsLines) {
  TempDir dir;
  const std::string longLine = "長" + blanks(19) + "/(n)" + std::string(100 * 1024, 'a') + "//(名)长/";
  std::string bytes = kirvale::text::utf8ToGbk("犬 [いぬ] /(n)dog//(名)狗/\r\n\r\n   \r\n"  // blank lines
                                               "just some words\r"                       // no "/", CR only
                                               "   外 /(n)out//(名)外/\n" +
                                               longLine + "\r\n");
  bytes += "\x81\x30" + kirvale::text::utf8ToGbk(" bad /(n)bad//(名)坏/\r\n");  // not GBK
  bytes += "last line without a break";
  WriteBytes(dir.file(kUserDictFile), bytes);
  UserDictionary user;
  const UserDictLoad in = user.Load(dir.file(kUserDictFile));
  EXPECT_TRUE(in.ok);
  EXPECT_TRUE(in.lossy);
  ASSERT_EQ(user.lines().size(), 6u);
  EXPECT_EQ(user.lines()[0], "犬" + blanks(19) + "[いぬ] /(n)dog//(名)狗/");
  // A line without "[" or "/" has no head word: its text is kept, after
  // the blanks of an empty head word, and it is never found.
  EXPECT_EQ(user.lines()[1], blanks(21) + "just some words");
  EXPECT_EQ(user.lines()[2], "外" + blanks(19) + "/(n)out//(名)外/");  // blanks in front dropped
  EXPECT_EQ(user.lines()[3], longLine);
  EXPECT_NE(user.lines()[4].find("bad"), std::string::npos);  // the bad bytes show as U+FFFD
  EXPECT_NE(user.lines()[4].find("/(n)bad//(名)坏/"), std::string::npos);
  EXPECT_EQ(user.lines()[5], blanks(21) + "last line without a break");
  EXPECT_EQ(user.FindUserEntry("外"), 2);
  EXPECT_EQ(user.FindUserEntry("just"), -1);

  // Saved back, keeping the file as it was aside: every line is still there.
  ASSERT_TRUE(user.Save(dir.file(kUserDictFile), dir.file(kUserDictBackupFile)).ok);
  EXPECT_EQ(ReadBytes(dir.file(kUserDictBackupFile)), bytes);
  UserDictionary again;
  EXPECT_FALSE(again.Load(dir.file(kUserDictFile)).lossy);
  EXPECT_EQ(again.lines(), user.lines());
}

TEST(UserDictionary, UnreadableFileKeepsTheList) {
  TempDir dir;
  std::filesystem::create_directory(dir.file(kUserDictFile));  // exists, cannot be read as a file
  UserDictionary user;
  user.Add(cat(), table());
  const UserDictLoad in = user.Load(dir.file(kUserDictFile));
  EXPECT_FALSE(in.ok);
  EXPECT_FALSE(in.error.empty());
  EXPECT_EQ(user.lines().size(), 1u);
  // Writing over it fails and says why.
  const UserDictSave out = user.Save(dir.file(kUserDictFile));
  EXPECT_FALSE(out.ok);
  EXPECT_FALSE(out.error.empty());
}

TEST(UserDictionary, MoreLinesThanTheListHoldsAreKept) {
  TempDir dir;
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < kMaxUserLines + 3; ++i) lines.push_back("w" + std::to_string(i) + " /(n)x//(名)y/");
  ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(dir.file(kUserDictFile), lines));
  UserDictionary user;
  const UserDictLoad in = user.Load(dir.file(kUserDictFile));
  EXPECT_EQ(in.overflow, 3u);
  EXPECT_EQ(user.lines().size(), kMaxUserLines);
  EXPECT_EQ(user.FindUserEntry("w32766"), 32766);
  EXPECT_EQ(user.FindUserEntry("w32767"), -1);
  // Full: Add refuses, Update still replaces.
  EXPECT_EQ(user.Add({"新", "", "新", "new", 7}, table()).result, EditResult::Full);
  EXPECT_EQ(user.lines().size(), kMaxUserLines);
  EXPECT_EQ(user.Update({"w0", "", "零", "zero", 7}, table()).result, EditResult::Replaced);
  // Every line of the file is written back.
  ASSERT_TRUE(user.Save(dir.file(kUserDictFile)).ok);
  UserDictionary again;
  again.Load(dir.file(kUserDictFile));
  ASSERT_EQ(again.overflow().size(), 3u);
  EXPECT_EQ(again.overflow().back(), lines.back());
  EXPECT_EQ(again.lines()[0], "w0" + blanks(19) + "/(n)zero//(名)零/");
  // Deleting lines makes room again.
  EXPECT_TRUE(again.Delete(5));
  EXPECT_EQ(again.Add({"新", "", "新", "new", 7}, table()).result, EditResult::Appended);
}
