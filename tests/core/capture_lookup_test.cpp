#include "capture/capture_lookup.h"

#include <gtest/gtest.h>

#include "text/codec.h"

namespace kirvale::capture {
namespace {

const dictionary::SuffixTable kTable;

dictionary::DictionaryReader Reader(std::vector<std::string> lines) {
  dictionary::DictionaryReader r;
  r.BindLines(std::move(lines));
  return r;
}

TEST(CaptureBlockText, FieldIsCutAsTheBlockHoldsIt) {
  // 101 bytes without a NUL are all text.
  const std::string full(101, 'a');
  EXPECT_EQ(TextFromBlockField(full + "bbb"), full);
  // Up to the first NUL, trimmed.
  EXPECT_EQ(TextFromBlockField(std::string("  word \0rest", 11)), "word");
  EXPECT_EQ(TextFromBlockField(std::string(" \t \r\n")), "");
  // A double-byte character cut at the end stays cut: it decodes to U+FFFD.
  const std::string kanji = text::utf8ToGbk("日本");
  EXPECT_EQ(TextFromBlockField(kanji + kanji.substr(0, 1)), "日本\xEF\xBF\xBD");
  // Bytes that are not GBK never vanish silently.
  EXPECT_EQ(TextFromBlockField("\x80\xFF"), "\xEF\xBF\xBD\xEF\xBF\xBD");

  // The library's side: GBK, at most 100 bytes, never half a character.
  EXPECT_EQ(BlockFieldFromText("hello"), "hello");
  const std::string many(10000, 'x');
  EXPECT_EQ(BlockFieldFromText(many).size(), 100u);
  std::string kana;
  for (int i = 0; i < 60; ++i) kana += "あ";
  const std::string field = BlockFieldFromText("a" + kana);
  EXPECT_EQ(field.size(), 99u);  // "a" + 49 two-byte characters; the 50th would need byte 101
  EXPECT_EQ(TextFromBlockField(field), "a" + kana.substr(0, 49 * 3));
  // A character GBK cannot hold becomes "?".
  EXPECT_EQ(TextFromBlockField(BlockFieldFromText("a\xE3\x83\xBB" "b")), "a?b");  // U+30FB
  EXPECT_EQ(BlockFieldFromText(std::string("ab\0cd", 5)), "ab");
}

TEST(CaptureKeyTest, AsciiRunDelimitersAndLimits) {
  EXPECT_EQ(CaptureKey("Running,"), "Running");
  EXPECT_EQ(CaptureKey("don't-stop now"), "don't-stop");
  EXPECT_EQ(CaptureKey("42nd street"), "42nd");
  EXPECT_EQ(CaptureKey("(word)"), "");
  EXPECT_EQ(CaptureKey(""), "");
  // Japanese: each of the eleven delimiters stops the key.
  for (const char* d : {"，", "。", "！", "？", "（", "）", "《", "》", "—", "、", "…"})
    EXPECT_EQ(CaptureKey(std::string("日本") + d + "語"), "日本") << d;
  // An ASCII character and a character GBK cannot hold stop it too.
  EXPECT_EQ(CaptureKey("日本a語"), "日本");
  EXPECT_EQ(CaptureKey("日本\xE3\x83\xBB語"), "日本");        // U+30FB is not in GBK
  EXPECT_EQ(CaptureKey("日本\xEF\xBF\xBD語"), "日本");        // a cut character
  EXPECT_EQ(CaptureKey(std::string("日本\x80")), "日本");     // invalid UTF-8
  // Five characters at most.
  EXPECT_EQ(CaptureKey("日本語の辞書です"), "日本語の辞");
  EXPECT_EQ(CaptureKey("·x"), "·");
  EXPECT_TRUE(IsJapaneseKey("日本"));
  EXPECT_FALSE(IsJapaneseKey("abc"));
}

TEST(CaptureCandidates, EnglishAndJapanese) {
  Slots c = Candidates("Running", false, kTable);
  EXPECT_EQ(c, (Slots{"Running", "running", "runn", "runne", ""}));
  EXPECT_EQ(Candidates("walked", false, kTable), (Slots{"walked", "walk", "walke", "", ""}));
  EXPECT_EQ(Candidates("sadness", false, kTable), (Slots{"sadness", "sad", "", "", ""}));
  EXPECT_EQ(Candidates("cat", false, kTable), (Slots{"cat", "", "", "", ""}));
  // A word equal to a suffix leaves an empty stem, which ends the run.
  EXPECT_EQ(Candidates("es", false, kTable), (Slots{"es", "", "e", "", ""}));
  // Japanese: candidate k is the last k characters; a short key repeats.
  EXPECT_EQ(Candidates("日本", true, kTable), (Slots{"本", "日本", "日本", "日本", "日本"}));
  EXPECT_EQ(Candidates("日本語の辞", true, kTable), (Slots{"辞", "の辞", "語の辞", "本語の辞", "日本語の辞"}));
  EXPECT_EQ(Candidates("", true, kTable), Slots{});
}

TEST(CaptureSearch, JapaneseLineNeverServesTwoCandidates) {
  const std::vector<std::string> lines = {
      "本 [ほん] /book//书/",
      "日本 [にほん] /Japan//日本/",
      "日本語 [にほんご] /Japanese//日语/",
      "日本人 [にほんじん] /Japanese person//日本人/",
      "日本/nospace//无/",
      " 日本 [x] /leading space//无/",
      "日本海 [にほんかい] /Sea of Japan//日本海/",
  };
  const Slots r = SearchJapanese(lines, Candidates("日本", true, kTable));
  EXPECT_EQ(r[0], lines[0]);
  EXPECT_EQ(r[1], lines[1]);
  EXPECT_EQ(r[2], lines[2]);
  EXPECT_EQ(r[3], lines[3]);
  EXPECT_EQ(r[4], lines[6]);  // lines without a head word are never listed
  // Only the leading run of non-empty candidates takes part.
  const Slots partial = SearchJapanese(lines, Slots{"日本", "", "本", "", ""});
  EXPECT_EQ(partial, (Slots{lines[1], "", "", "", ""}));
}

TEST(CaptureSearch, EnglishExactFallbackAndStop) {
  const std::vector<std::string> lines = {
      "Run,跑", "run,跑步", "runner,跑步者", "running,跑步中", "runway,跑道", "zebra,斑马",
  };
  Slots r = SearchEnglish(lines, Candidates("Running", false, kTable));
  EXPECT_EQ(r, (Slots{"", "running,跑步中", "", "", ""}));

  // No exact hit: the first head word that sorts after candidate 1 and has no
  // space becomes result 1.
  r = SearchEnglish({"apple,苹果", "run up,跑上", "runny,流鼻涕的", "zoo,动物园"}, Slots{"runn", "", "", "", ""});
  EXPECT_EQ(r[0], "runny,流鼻涕的");
  // A case-insensitive match comes first when it comes earlier.
  r = SearchEnglish({"RUNN,大写", "runny,x"}, Slots{"runn", "", "", "", ""});
  EXPECT_EQ(r[0], "RUNN,大写");
  // The fallback is dropped when any of results 1..4 is found.
  r = SearchEnglish({"runny,x", "run,y"}, Slots{"runs", "run", "", "", ""});
  EXPECT_EQ(r, (Slots{"", "run,y", "", "", ""}));
  // Lines without a comma have no head word.
  r = SearchEnglish({"cat cat", "cat,猫"}, Slots{"cat", "", "", "", ""});
  EXPECT_EQ(r[0], "cat,猫");

  // Only candidates 1..4 keep the scan going: once they are closed, an open
  // candidate 5 does not read further lines.
  r = SearchEnglish({"a,1", "b,2", "c,3", "d,4", "e,5"}, Slots{"a", "b", "c", "d", "e"});
  EXPECT_EQ(r, (Slots{"a,1", "b,2", "c,3", "d,4", ""}));
  r = SearchEnglish({"e,5", "a,1", "b,2", "c,3", "d,4"}, Slots{"a", "b", "c", "d", "e"});
  EXPECT_EQ(r[4], "e,5");
}

TEST(CaptureScore, ScoresAndOrder) {
  EXPECT_EQ(MatchScore("running", "running"), -1);
  EXPECT_EQ(MatchScore("Running", "running"), 7);
  EXPECT_EQ(MatchScore("runn", "runny"), 4);
  EXPECT_EQ(MatchScore("", ""), 0);
  EXPECT_EQ(MatchScore("abc", ""), 0);
  EXPECT_EQ(MatchScore("日本語", "日本人"), 2);
  EXPECT_EQ(MatchScore("日本", "日本"), -1);

  EXPECT_EQ(DisplayOrder({7, -1, 4, 5, 0}), (std::array<int, 5>{1, 0, 3, 2, 4}));
  // Equal scores: the higher candidate number first.
  EXPECT_EQ(DisplayOrder({2, 2, 2, 0, 0}), (std::array<int, 5>{2, 1, 0, 4, 3}));
  EXPECT_EQ(DisplayOrder({-1, -1, 3, 3, 0}), (std::array<int, 5>{1, 0, 3, 2, 4}));
}

TEST(CaptureLineText, JapaneseEnglishNotFoundAndMarkedWord) {
  const std::string line = "日本 [にほん] /Japan/Nippon// 日本；日本国/ ";
  EXPECT_EQ(JapaneseLineText(line, 1), "·日本,日本；日本国");
  EXPECT_EQ(JapaneseLineText(line, 0), "·日本,Japan/Nippon");
  EXPECT_EQ(JapaneseLineText("語 /x", 1), "·語,");
  EXPECT_EQ(JapaneseLineText("語 //中文", 1), "·語,中文");
  EXPECT_EQ(EnglishLineText("run,跑"), "·run,跑");
  EXPECT_EQ(NotFoundLineText("xyz", 0), "·xyz,Not found!");
  EXPECT_EQ(NotFoundLineText("xyz", 1), "·xyz,没有找到！");
  EXPECT_EQ(MarkedLineWord("·run,跑"), "run");
  EXPECT_EQ(MarkedLineWord("·run"), "");
  EXPECT_EQ(MarkedLineWord(""), "");
}

TEST(CaptureLookUp, WholeLookUp) {
  const auto ja = Reader({"本 [ほん] /book//书/", "日本 [にほん] /Japan//日本/", "日本語 [にほんご] /Japanese//日语/"});
  const auto en = Reader({"run,跑", "running,跑步", "zebra,斑马"});
  LookupOptions o;
  o.showwhat = 1;
  PopupLookup r = LookUp("Running,", ja, en, kTable, o);
  ASSERT_EQ(r.outcome, PopupLookup::Outcome::Listed);
  EXPECT_FALSE(r.japanese);
  EXPECT_EQ(r.texts[0], "·running,跑步");  // the exact line for "running" ranks first
  EXPECT_EQ(r.lastLine, 0);
  EXPECT_FALSE(r.visible[1]);  // an exact hit drops the fallback

  r = LookUp("日本", ja, en, kTable, o);
  ASSERT_EQ(r.outcome, PopupLookup::Outcome::Listed);
  EXPECT_TRUE(r.japanese);
  // Candidates 2..5 are "日本" (exact for the first, prefix for the next),
  // candidate 1 "本" exact: -1 ties go to the higher number.
  EXPECT_EQ(r.texts[0], "·日本,日本");
  EXPECT_EQ(r.texts[1], "·本,书");
  EXPECT_EQ(r.texts[2], "·日本語,日语");
  EXPECT_EQ(r.slotLines[2], "日本語 [にほんご] /Japanese//日语/");

  // match 1 without an exact hit: the not-found line.
  o.match = 1;
  o.uiLanguage = 0;
  r = LookUp("runn", ja, en, kTable, o);
  EXPECT_EQ(r.outcome, PopupLookup::Outcome::NotFound);
  EXPECT_EQ(r.texts[0], "·runn,Not found!");
  EXPECT_FALSE(r.shownAny);
  o.match = 0;
  r = LookUp("runn", ja, en, kTable, o);
  EXPECT_EQ(r.texts[0], "·running,跑步");

  EXPECT_EQ(LookUp("(x", ja, en, kTable, o).outcome, PopupLookup::Outcome::NoKey);
  dictionary::DictionaryReader unbound;
  EXPECT_EQ(LookUp("word", ja, unbound, kTable, o).outcome, PopupLookup::Outcome::Unreadable);
}

TEST(CaptureGeometry, PointerRulesSizeAndFlipping) {
  const Rect main{100, 100, 600, 500};
  const Rect popup{700, 100, 939, 206};
  // Inside the pop-up: nothing.
  MessageDecision d = DecideOnMessage(kNotifyText, 700, 100, main, popup, false, false, true);
  EXPECT_FALSE(d.hide || d.readText);
  // Over the main window: hide, unless minimised (then the text is read).
  d = DecideOnMessage(kNotifyText, 599, 499, main, popup, false, false, true);
  EXPECT_TRUE(d.hide);
  EXPECT_FALSE(d.readText);
  d = DecideOnMessage(kNotifyText, 300, 300, main, popup, false, true, true);
  EXPECT_TRUE(d.readText);
  EXPECT_FALSE(d.hide);
  // Closed once: hidden while not minimised.
  d = DecideOnMessage(kNotifyText, 10, 10, main, popup, true, false, true);
  EXPECT_TRUE(d.hide);
  // A pointer move: hide only beyond 12 px and when unpinned.
  EXPECT_FALSE(DecideOnMessage(kNotifyPointer, 950, 150, main, popup, false, false, true).hide);
  EXPECT_TRUE(DecideOnMessage(kNotifyPointer, 951, 150, main, popup, false, false, true).hide);
  EXPECT_FALSE(DecideOnMessage(kNotifyPointer, 951, 150, main, popup, false, false, false).hide);
  EXPECT_FALSE(DecideOnMessage(kNotifyPointer, 951, 150, main, popup, false, false, true).readText);
  // Any other lParam reads nothing.
  d = DecideOnMessage(7, 10, 10, main, popup, false, false, true);
  EXPECT_FALSE(d.readText || d.hide);

  EXPECT_EQ(BodyHeight(37, 17), 42);
  EXPECT_EQ(PopupHeight(37, 17), 58);
  const Rect screen{0, 0, 1280, 1024};
  Point p = PlacePopup({100, 100}, 239, 106, screen);
  EXPECT_EQ(p.x, 108);
  EXPECT_EQ(p.y, 108);
  p = PlacePopup({1100, 950}, 239, 106, screen);
  EXPECT_EQ(p.x, 1100 - 239 - 8);
  EXPECT_EQ(p.y, 950 - 106 - 8);
  // Exactly fitting stays to the right and below.
  p = PlacePopup({1033, 910}, 239, 106, screen);
  EXPECT_EQ(p.x, 1041);
  EXPECT_EQ(p.y, 918);
}

}  // namespace
}  // namespace kirvale::capture

// ---------------------------------------------------------------- the block's fields and kirvale-cli

#include <sys/wait.h>

#include <cstdlib>

#include "crypto/aes.h"
#include "support/temp_dir.h"

namespace kirvale::capture {
namespace {

TEST(CaptureBlockFields, HandleAndTextField) {
  std::vector<unsigned char> block(kBlockUsedBytes, 0xEE);
  WriteTargetHandle(block.data(), 0x01020304u);
  EXPECT_EQ(block[0], 0x04);
  EXPECT_EQ(block[3], 0x01);
  EXPECT_EQ(TargetHandle(block.data()), 0x01020304u);
  WriteBlockText(block.data(), std::string(300, 'z'));
  // 100 bytes of text and a NUL: the field never runs into byte 235.
  EXPECT_EQ(block[kTextOffset + 99], 'z');
  EXPECT_EQ(block[kTextOffset + 100], 0);
  EXPECT_EQ(block[kTextOffset - 1], 0xEE);
  WriteBlockText(block.data(), "ab");
  EXPECT_EQ(TextFromBlockField(std::string(reinterpret_cast<char*>(block.data()) + kTextOffset, kTextField)), "ab");
}

struct CliRun {
  int code;
  std::string out;
};
CliRun runCaptureCli(const testing::TempDir& dir, const std::string& args) {
  const std::string cmd = std::string(KIRVALE_CLI) + " " + args + " >" + dir.file("out") + " 2>" + dir.file("err");
  const int status = std::system(cmd.c_str());
  return {WEXITSTATUS(status), testing::ReadBytes(dir.file("out"))};
}

TEST(CaptureCli, PrintsThePopupLines) {
  testing::TempDir dir;
  auto writeDict = [&](const char* name, const std::vector<std::string>& lines) {
    ASSERT_TRUE(text::writeGbkLinesAtomically(dir.file("plain"), lines));
    crypto::EncryptFileToContainer(dir.file("plain"), dir.file(name), crypto::kDictionaryPassphrase);
  };
  writeDict("multilingual.dic", {"本 [ほん] /book//书/", "日本 [にほん] /Japan//日本/", "日本語 [にほんご] /Japanese//日语/"});
  writeDict("english.dic", {"run,跑", "running,跑步", "runny,流鼻涕的"});
  const std::string d = "--dir " + dir.path() + " ";
  CliRun r = runCaptureCli(dir, "capture " + d + "'日本。'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "·日本,日本\n·本,书\n·日本語,日语\n");
  r = runCaptureCli(dir, "capture " + d + "--showwhat 0 日本");
  EXPECT_EQ(r.out, "·日本,Japan\n·本,book\n·日本語,Japanese\n");
  r = runCaptureCli(dir, "capture " + d + "Running,");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "·running,跑步\n");
  r = runCaptureCli(dir, "capture " + d + "--match 1 --lang en runn");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "·runn,Not found!\n");
  r = runCaptureCli(dir, "capture " + d + "runn");
  EXPECT_EQ(r.out, "·running,跑步\n");
  EXPECT_EQ(runCaptureCli(dir, "capture " + d + "'(word)'").code, 3);
  EXPECT_EQ(runCaptureCli(dir, "capture " + d + "'   '").code, 3);
  EXPECT_EQ(runCaptureCli(dir, "capture --match 2 word").code, 2);
  EXPECT_EQ(runCaptureCli(dir, "capture --dir " + dir.file("none") + " word").code, 2);
  EXPECT_EQ(runCaptureCli(dir, "capture").code, 2);
}

}  // namespace
}  // namespace kirvale::capture
