#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "crypto/aes.h"

#include "dictionary/english_candidates.h"
#include "dictionary/lookup.h"
#include "personal/user_dict.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::dictionary;
using kirvale::personal::UserDictionary;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;
using V = std::vector<std::string>;

namespace {
DictionaryReader readerOf(V lines) {
  DictionaryReader r;
  r.BindLines(std::move(lines));
  return r;
}
}  // namespace

TEST(EnglishCandidates, Table) {
  const SuffixTable t;
  const struct {
    const char* query;
    V candidates;
  } rows[] = {
      {"walked", {"walked", "walk", "walke"}},
      {"Happily", {"Happily", "happily", "happi", "happie"}},
      {"careless", {"careless", "care"}},
      {"kindness", {"kindness", "kind"}},
      {"book", {"book"}},
      {"runs", {"runs", "run"}},
      {"ness", {"ness", ""}},
      {"Books", {"Books", "books", "book"}},
      {"s", {"s", ""}},
      {"butterfly", {"butterfly", "butterf", "butterfe"}},  // "ly" comes before "fly"
      {"3D", {"3D", "3d"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.query);
    EXPECT_EQ(CandidateForms(r.query, t), r.candidates);
  }
}

TEST(Lookup, ModeAndListTracking) {
  EXPECT_EQ(ModeOf("3D"), Mode::English);
  EXPECT_EQ(ModeOf("walk"), Mode::English);
  EXPECT_EQ(ModeOf("Ａpple"), Mode::Japanese);  // full-width letter
  EXPECT_EQ(ModeOf("食べる"), Mode::Japanese);
  EXPECT_EQ(ModeOf("-x"), Mode::Japanese);
  const V items{"", "book", "Book", "booklet", "食べる", "食べ物"};
  EXPECT_EQ(TrackList(items, "boo"), 1);
  EXPECT_EQ(TrackList(items, "Boo"), 2);
  EXPECT_EQ(TrackList(items, "bookl"), 3);
  EXPECT_EQ(TrackList(items, "食べ"), 4);
  EXPECT_EQ(TrackList(items, "zzz"), -1);
}

TEST(Lookup, ListsHaveOneItemPerLine) {
  const auto jp = readerOf({"食べる [たべる] /to eat//吃/", "no marks", "  ノート /notebook//笔记本/", ""});
  EXPECT_EQ(JapaneseListItems(jp), (V{"食べる", "", "ノート", ""}));
  const auto en = readerOf({"book,书", "nocomma", " walk ,走", ""});
  EXPECT_EQ(EnglishListItems(en), (V{"book", "", "walk", ""}));
}

TEST(Lookup, JapaneseExactHeadWordAndNotFoundTexts) {
  const auto jp = readerOf({"garbage line without marks", "本 [ほん] /book//书/", "本 [もと] /origin//本源/",
                            "  電話  [でんわ] /telephone//电话/", "ノート /notebook//笔记本/"});
  LookupResult r = SearchJapanese(jp, "本", nullptr);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.headLabel, "◇本");
  EXPECT_EQ(r.kanaLabel, "〖ほん〗");  // the first of two lines with the same head word
  EXPECT_EQ(r.chinesePane, "书");
  EXPECT_EQ(r.englishPane, "book");
  EXPECT_EQ(r.currentEntryLine, "本 [ほん] /book//书/");

  EXPECT_TRUE(SearchJapanese(jp, "電話", nullptr).found);
  r = SearchJapanese(jp, "ノート", nullptr);
  EXPECT_EQ(r.kanaLabel, "");

  // The reading of a kanji head word finds nothing.
  r = SearchJapanese(jp, "でんわ", nullptr);
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.headLabel, "◇でんわ");
  EXPECT_EQ(r.kanaLabel, "");
  EXPECT_EQ(r.chinesePane, "Sorry, the typed entry has not been found. Try advanced search.");
  EXPECT_EQ(r.englishPane, "对不起，未找到输入的词条。请使用高级查询。");
  EXPECT_EQ(r.currentEntryLine, "");
}

TEST(Lookup, MyDictionaryFallbackOnlyWhenOn) {
  TempDir dir;
  const std::string line = "猫" + std::string(20, ' ') + "[ねこ] /(n)cat//(名)猫/";
  ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(dir.file("userdict.dic"), {line}));
  UserDictionary user;
  ASSERT_TRUE(user.Load(dir.file("userdict.dic")).ok);
  // Loading drops the blank in front of the kana; the key is still the head word.
  EXPECT_EQ(user.lines()[0], "猫" + std::string(19, ' ') + "[ねこ] /(n)cat//(名)猫/");
  EXPECT_EQ(user.FindUserEntry("猫"), 0);
  EXPECT_EQ(user.FindUserEntry("犬"), -1);

  const auto jp = readerOf({"犬 [いぬ] /dog//狗/"});
  LookupResult on = SearchJapanese(jp, "猫", &user);
  EXPECT_TRUE(on.found);
  EXPECT_TRUE(on.fromUserDictionary);
  EXPECT_EQ(on.headLabel, "◇猫");
  EXPECT_EQ(on.kanaLabel, "〖ねこ〗");
  EXPECT_EQ(on.chinesePane, "(名)猫（出现在我的词典）");
  EXPECT_EQ(on.englishPane, "(n)catFound in My Dictionary.");
  EXPECT_EQ(on.currentEntryLine, "");  // the add button does nothing after such a hit

  EXPECT_FALSE(SearchJapanese(jp, "猫", nullptr).found);
  // The dictionary itself comes first.
  EXPECT_FALSE(SearchJapanese(jp, "犬", &user).fromUserDictionary);
}

TEST(Lookup, EnglishCandidatesTieBreakAndCapitals) {
  const SuffixTable t;
  const auto en = readerOf({"walk,走", "walke,走e", "walked,走过", "book,书", "English,英语", "run ,跑 ",
                            "nocomma", "kind,种类"});
  // An exact match stops the scan.
  LookupResult r = SearchEnglish(en, "walked", t);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.headLabel, "◇walked");
  EXPECT_EQ(r.chinesePane, "走过");
  EXPECT_EQ(r.englishPane, "");
  EXPECT_EQ(r.kanaLabel, "");
  // No exact match: the last line matching any candidate wins.
  r = SearchEnglish(en, "walking", t);
  EXPECT_EQ(r.headLabel, "◇walke");
  // Books -> books -> book.
  r = SearchEnglish(en, "Books", t);
  EXPECT_EQ(r.headLabel, "◇book");
  EXPECT_EQ(r.chinesePane, "书");
  // Capitals stored in the file: found as stored and in lower case.
  EXPECT_EQ(SearchEnglish(en, "English", t).headLabel, "◇English");
  EXPECT_EQ(SearchEnglish(en, "english", t).headLabel, "◇English");
  // The head word is compared untrimmed: "run " matches nothing.
  EXPECT_FALSE(SearchEnglish(en, "run", t).found);
  EXPECT_TRUE(SearchEnglish(en, "kindness", t).found);
  r = SearchEnglish(en, "zebra", t);
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.headLabel, "◇zebra");
  EXPECT_EQ(r.chinesePane, "Sorry, the typed entry has not been found.");
  EXPECT_EQ(r.englishPane, "对不起，未找到输入的词条。");
}

TEST(Lookup, CopyTextAndPaneWord) {
  EXPECT_EQ(CopyText("◇食べる", "〖たべる〗", "to eat", "吃"), "◇食べる\n〖たべる〗\nto eat\n 吃");
  EXPECT_EQ(EnglishPaneWord(" eat; "), "eat");
  EXPECT_EQ(EnglishPaneWord("eat"), "eat");
  EXPECT_EQ(EnglishPaneWord(" ; "), "");
  EXPECT_EQ(EnglishPaneWord("   "), "");
}

TEST(DictionaryReader, BadInputStillYieldsOneItemPerLine) {
  TempDir dir;
  // CR-only and LF-only line ends, no final break, bytes that are not GBK,
  // a very long line.
  std::string bytes = "a [x] /one//一/\rb /two//二/\n\x81\xFF/bad//坏/\r\n" + std::string(100000, 'z') +
                      "\r\nc [y] /three//三/";
  WriteBytes(dir.file("d"), bytes);
  DictionaryReader r;
  bool truncated = true;
  ASSERT_TRUE(r.Bind(dir.file("d"), &truncated));
  EXPECT_FALSE(truncated);
  EXPECT_EQ(r.size(), 5u);
  EXPECT_TRUE(SearchJapanese(r, "c", nullptr).found);
  EXPECT_TRUE(SearchJapanese(r, "b", nullptr).found);
  EXPECT_FALSE(r.Bind(dir.file("missing")));
  EXPECT_EQ(r.size(), 0u);

  std::vector<std::string> many(kMaxLines + 5, "x /y//z/");
  r.BindLines(many, &truncated);
  EXPECT_TRUE(truncated);
  EXPECT_EQ(r.size(), kMaxLines);
}

TEST(DictionaryReader, LinesReadFromAFileAreTheLinesAsWritten) {
  TempDir dir;
  // Empty lines keep their place; a file with exactly the limit is whole,
  // one line more is cut at the limit.
  std::vector<std::string> written = {"", "日本 [にほん] /Japan//日本/", "", "walk,走", ""};
  for (std::size_t i = written.size(); i < kMaxLines; ++i) written.push_back("w" + std::to_string(i));
  std::string bytes;
  for (const std::string& l : written) bytes += kirvale::text::utf8ToGbk(l) + "\r\n";
  WriteBytes(dir.file("d"), bytes);
  DictionaryReader r;
  bool truncated = true;
  ASSERT_TRUE(r.Bind(dir.file("d"), &truncated));
  EXPECT_FALSE(truncated);
  EXPECT_TRUE(r.lines() == written);
  EXPECT_EQ(r.line(1), "日本 [にほん] /Japan//日本/");
  EXPECT_EQ(r.line(kMaxLines - 1), "w32766");
  EXPECT_EQ(std::vector<std::string>(r.lines().begin(), r.lines().end()), written);
  WriteBytes(dir.file("d"), bytes + "one more\r\nand another");
  ASSERT_TRUE(r.Bind(dir.file("d"), &truncated));
  EXPECT_TRUE(truncated);
  EXPECT_EQ(r.size(), kMaxLines);
  EXPECT_EQ(r.line(kMaxLines - 1), "w32766");
  // A failed bind leaves an empty reader, not the old lines.
  EXPECT_FALSE(r.Bind(dir.file("missing"), &truncated));
  EXPECT_FALSE(truncated);
  EXPECT_TRUE(r.lines().empty());
}

namespace {
struct CliRun {
  int code;
  std::string out;
};
CliRun runCli(const TempDir& dir, const std::string& args) {
  const std::string cmd = std::string(KIRVALE_CLI) + " " + args + " >" + dir.file("out") + " 2>" + dir.file("err");
  int status = std::system(cmd.c_str());
  return {WEXITSTATUS(status), kirvale::testing::ReadBytes(dir.file("out"))};
}
}  // namespace

TEST(Cli, LookupPrintsTheResultArea) {
  TempDir dir, state;
  ::setenv("XDG_STATE_HOME", state.path().c_str(), 1);
  auto writeDict = [&](const char* name, const std::vector<std::string>& lines) {
    ASSERT_TRUE(kirvale::text::writeGbkLinesAtomically(dir.file("plain"), lines));
    kirvale::crypto::EncryptFileToContainer(dir.file("plain"), dir.file(name), "tomvi-karsel");
  };
  writeDict("multilingual.dic", {"食べる [たべる] /to eat//吃/"});
  writeDict("english.dic", {"walk,走", "book,书"});
  kirvale::text::writeGbkLinesAtomically(dir.file("userdict.dic"),
                                         {"猫" + std::string(20, ' ') + "[ねこ] /(n)cat//(名)猫/"});
  const std::string d = "--dir " + dir.path() + " ";
  CliRun r = runCli(dir, "lookup " + d + "食べる");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "◇食べる\n〖たべる〗\n吃\nto eat\n");
  r = runCli(dir, "lookup " + d + "walked");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "◇walk\n\n走\n\n");
  r = runCli(dir, "lookup " + d + "猫");  // My Dictionary, on by default
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "◇猫\n〖ねこ〗\n(名)猫（出现在我的词典）\n(n)catFound in My Dictionary.\n");
  r = runCli(dir, "lookup " + d + "犬");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "◇犬\n\nSorry, the typed entry has not been found. Try advanced search.\n"
                   "对不起，未找到输入的词条。请使用高级查询。\n");
  EXPECT_EQ(runCli(dir, "lookup").code, 2);
  EXPECT_EQ(runCli(dir, "lookup --dir " + state.path() + " book").code, 2);  // no dictionaries there
  // The plain copies are gone afterwards; nothing was written to the state folder.
  EXPECT_TRUE(std::filesystem::is_empty(state.path()) ||
              std::filesystem::is_empty(state.path() + "/kirvale"));
}
