#include <gtest/gtest.h>

#include <filesystem>

#include "personal/notebook.h"
#include "support/temp_dir.h"
#include "text/codec.h"

using namespace kirvale::personal;
using kirvale::testing::Exists;
using kirvale::testing::ReadBytes;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;
using kirvale::text::utf8ToGbk;

namespace {

constexpr const char* kEat = "食べる [たべる] /to eat//吃/";
constexpr const char* kNote = "ノート /notebook//笔记本/";
constexpr const char* kBook = "本 [ほん] /book//书/";
constexpr const char* kCat = "猫 [ねこ] /cat//猫/";

// Four rows; row 1 unticked.
Notebook FourRowsOneUnticked() {
  Notebook nb;
  nb.Add(kEat);
  nb.Add(kNote);
  nb.Add(kBook);
  nb.Add(kCat);
  nb.SetTicked(1, false);
  return nb;
}

// Ticks until a new word is put up; returns how many ticks that took.
int TicksToNextWord(const Notebook& nb, NotebookSession& s, ScanFrame& frame) {
  for (int n = 1; n <= 1000; ++n) {
    frame = ScanTick(nb, s);
    if (frame.newWord) return n;
  }
  return -1;
}

void ExpectSameRows(const Notebook& a, const Notebook& b) {
  ASSERT_EQ(a.size(), b.size());
  for (int i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(a.row(i).headWord, b.row(i).headWord);
    EXPECT_EQ(a.row(i).kana, b.row(i).kana);
    EXPECT_EQ(a.row(i).chinese, b.row(i).chinese);
    EXPECT_EQ(a.row(i).english, b.row(i).english);
    EXPECT_TRUE(b.row(i).ticked);
  }
}

}  // namespace

// ------------------------------------------------------------------ rows

TEST(Notebook, AddParsesTheLineIntoATickedRow) {
  Notebook nb;
  EXPECT_EQ(nb.Add(kEat), 0);
  EXPECT_EQ(nb.Add(kEat), 1);  // the same entry twice gives two rows
  ASSERT_EQ(nb.size(), 2);
  const NotebookRow& r = nb.row(1);
  EXPECT_EQ(r.headWord, "食べる");
  EXPECT_EQ(r.kana, "たべる");
  EXPECT_EQ(r.chinese, "吃");
  EXPECT_EQ(r.english, "to eat");
  EXPECT_TRUE(r.ticked);
}

TEST(Notebook, NextTickedRowWrapsAndSkipsUnticked) {
  const Notebook nb = FourRowsOneUnticked();  // ticked: 0, 2, 3
  EXPECT_EQ(nb.NextTickedRow(0), 0);
  EXPECT_EQ(nb.NextTickedRow(1), 2);
  EXPECT_EQ(nb.NextTickedRow(2), 2);
  EXPECT_EQ(nb.NextTickedRow(3), 3);
  // A start past the last row starts again at row 0.
  EXPECT_EQ(nb.NextTickedRow(4), 0);
  EXPECT_EQ(nb.NextTickedRow(400), 0);
  EXPECT_EQ(nb.NextTickedRow(-1), 0);

  // Following the rows one after another: 0, 2, 3, 0, 2, 3, 0.
  std::vector<int> seen;
  int p = nb.NextTickedRow(0);
  for (int i = 0; i < 7; ++i) {
    seen.push_back(p);
    p = nb.NextTickedRow(p + 1);
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 2, 3, 0, 2, 3, 0}));

  // Wrapping to rows before the start.
  Notebook late = FourRowsOneUnticked();
  late.SetTicked(2, false);
  late.SetTicked(3, false);
  EXPECT_EQ(late.NextTickedRow(1), 0);
}

TEST(Notebook, NextTickedRowIsMinusOneWithoutTickedRows) {
  Notebook nb;
  EXPECT_EQ(nb.NextTickedRow(0), -1);
  nb.Add(kEat);
  nb.SetTicked(0, false);
  EXPECT_EQ(nb.NextTickedRow(0), -1);
  EXPECT_EQ(nb.NextTickedRow(5), -1);
}

TEST(Notebook, RemoveAndTickIgnoreIndexesThatNameNoRow) {
  Notebook nb = FourRowsOneUnticked();
  nb.Remove(7);
  nb.Remove(-1);
  nb.SetTicked(9, false);
  EXPECT_EQ(nb.size(), 4);
  nb.Remove(0);
  EXPECT_EQ(nb.size(), 3);
  EXPECT_EQ(nb.row(0).headWord, "ノート");
}

// ------------------------------------------------------------------ scan

TEST(NotebookScan, FirstWordOnlyAfterTheOldTextHasLeftThen116TicksPerWord) {
  const Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  ASSERT_TRUE(StartScan(nb, s));
  EXPECT_TRUE(s.scanStarted);
  EXPECT_TRUE(s.timerRunning);
  EXPECT_EQ(s.labelTop, 200);
  EXPECT_EQ(s.position, 0);

  // The label's old text travels up: 115 moves of 2 pixels, from 200 to -30.
  for (int i = 1; i <= 115; ++i) {
    ScanFrame f = ScanTick(nb, s);
    ASSERT_FALSE(f.newWord) << i;
    ASSERT_EQ(f.labelTop, 200 - 2 * i) << i;
  }
  EXPECT_EQ(s.labelTop, -30);
  ScanFrame f = ScanTick(nb, s);
  ASSERT_TRUE(f.newWord);
  EXPECT_EQ(f.row, 0);
  EXPECT_EQ(f.word, "食べる");
  EXPECT_EQ(f.meaning, "たべる\n吃\nto eat");
  EXPECT_EQ(f.labelTop, 200);
  EXPECT_EQ(s.position, 2);  // the next row is chosen when a word goes up

  // Then every word stays for 116 ticks: rows 2, 3, 0, 2.
  for (int expected : {2, 3, 0, 2}) {
    EXPECT_EQ(TicksToNextWord(nb, s, f), 116);
    EXPECT_EQ(f.row, expected);
    EXPECT_EQ(f.word, nb.row(expected).headWord);
  }
}

TEST(NotebookScan, StartWithoutTickedRowsAndPauseBeforeStartDoNothing) {
  Notebook nb;
  NotebookSession s;
  EXPECT_FALSE(StartScan(nb, s));
  EXPECT_FALSE(s.scanStarted);
  EXPECT_FALSE(s.timerRunning);
  EXPECT_FALSE(PauseScan(s));
  EXPECT_FALSE(s.timerRunning);

  nb.Add(kEat);
  EXPECT_TRUE(StartScan(nb, s));
  EXPECT_TRUE(PauseScan(s));
  EXPECT_FALSE(s.timerRunning);
  EXPECT_TRUE(s.scanStarted);
  EXPECT_TRUE(PauseScan(s));
  EXPECT_TRUE(s.timerRunning);
}

TEST(NotebookScan, StartWhileScanningRestartsAtTheFirstTickedRow) {
  Notebook nb = FourRowsOneUnticked();
  nb.SetTicked(0, false);  // ticked: 2, 3
  NotebookSession s;
  ASSERT_TRUE(StartScan(nb, s));
  ScanFrame f;
  TicksToNextWord(nb, s, f);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 3);
  for (int i = 0; i < 10; ++i) ScanTick(nb, s);
  ASSERT_TRUE(StartScan(nb, s));
  EXPECT_EQ(s.position, 2);
  EXPECT_EQ(s.labelTop, 200);
  EXPECT_EQ(TicksToNextWord(nb, s, f), 116);
  EXPECT_EQ(f.row, 2);
}

TEST(NotebookScan, PanelClickBringsTheNextWordAtTheNextTick) {
  const Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  StartScan(nb, s);
  ScanFrame f;
  TicksToNextWord(nb, s, f);
  ASSERT_EQ(f.row, 0);
  ScanTick(nb, s);
  ScanTick(nb, s);
  SkipScanWord(s);
  EXPECT_EQ(s.labelTop, -30);
  f = ScanTick(nb, s);
  EXPECT_TRUE(f.newWord);
  EXPECT_EQ(f.row, 2);

  // Not while the timer is off.
  PauseScan(s);
  ScanTick(nb, s);
  const int top = s.labelTop;
  SkipScanWord(s);
  EXPECT_EQ(s.labelTop, top);
}

TEST(NotebookScan, TickingAffectsOnlyTheChoicesAfterTheWordOnScreen) {
  Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  StartScan(nb, s);
  ScanFrame f;
  TicksToNextWord(nb, s, f);
  ASSERT_EQ(f.row, 0);
  ASSERT_EQ(s.position, 2);
  // Row 2 was already chosen; unticking it now does not skip it.
  nb.SetTicked(2, false);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 2);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 3);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 0);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 3);
}

TEST(NotebookScan, EveryRowUntickedOrDeletedWhileScanningReadsNoMissingRow) {
  Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  StartScan(nb, s);
  ScanFrame f;
  TicksToNextWord(nb, s, f);  // row 0 up, row 2 next
  for (int i = 0; i < nb.size(); ++i) nb.SetTicked(i, false);
  TicksToNextWord(nb, s, f);  // row 2 was already chosen
  EXPECT_EQ(f.row, 2);
  EXPECT_EQ(s.position, -1);
  // Nothing is ticked: the label keeps travelling, empty.
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(TicksToNextWord(nb, s, f), 116);
    EXPECT_EQ(f.row, -1);
    EXPECT_EQ(f.word, "");
    EXPECT_EQ(f.meaning, "");
  }
  // A row ticked again is picked up.
  nb.SetTicked(3, true);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 3);

  // All rows deleted (on the All tab while the scan is paused), then resumed.
  PauseScan(s);
  while (!nb.empty()) nb.Remove(0);
  PauseScan(s);
  for (int round = 0; round < 2; ++round) {
    TicksToNextWord(nb, s, f);
    EXPECT_EQ(f.row, -1);
  }
  // Rows deleted so that the chosen position lies past the end.
  nb.Add(kEat);
  nb.Add(kNote);
  s.position = 1;
  nb.Remove(1);
  TicksToNextWord(nb, s, f);
  EXPECT_EQ(f.row, 0);
}

TEST(NotebookScan, WindowRules) {
  const Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  EXPECT_FALSE(DeleteNeedsConfirmation(s));
  StartScan(nb, s);
  EXPECT_TRUE(DeleteNeedsConfirmation(s));
  StopScanForDeletion(s);
  EXPECT_FALSE(s.timerRunning);
  EXPECT_FALSE(s.scanStarted);
  EXPECT_FALSE(PauseScan(s));

  StartScan(nb, s);
  ScanTick(nb, s);
  CloseSession(s);
  EXPECT_FALSE(s.timerRunning);
  EXPECT_TRUE(s.scanStarted);
  EXPECT_EQ(s.labelTop, 200);
  ShowSession(s);
  EXPECT_FALSE(s.scanStarted);
}

// ------------------------------------------------------------------ exercise

TEST(NotebookExercise, EnteringAsksTheFirstTickedRowWithTheChosenHints) {
  Notebook nb = FourRowsOneUnticked();
  nb.SetTicked(0, false);  // ticked: 2, 3
  NotebookSession s;
  StartScan(nb, s);
  ExercisePrompt p;
  ASSERT_TRUE(EnterExercise(nb, s, HintChoice{true, false, true}, p));
  EXPECT_FALSE(s.timerRunning);  // the scan pauses
  EXPECT_TRUE(s.scanStarted);    // and Pause resumes it
  EXPECT_EQ(p.row, 2);
  EXPECT_EQ(s.position, 2);
  EXPECT_EQ(s.expected, "本");
  EXPECT_TRUE(p.showKana);
  EXPECT_FALSE(p.showChinese);
  EXPECT_TRUE(p.showEnglish);
  EXPECT_EQ(p.kana, "ほん");
  EXPECT_EQ(p.chinese, "");
  EXPECT_EQ(p.english, "book");
  EXPECT_EQ(s.presented, 1);
  EXPECT_EQ(s.correct, 0);
  EXPECT_TRUE(PauseScan(s));
  EXPECT_TRUE(s.timerRunning);
}

TEST(NotebookExercise, TrimmedAnswerIsRightCaseOrKanaIsWrong) {
  Notebook nb;
  nb.Add("Tシャツ [ティーシャツ] /T-shirt//T恤衫/");
  nb.Add(kEat);
  nb.Add(kNote);
  NotebookSession s;
  const HintChoice all;
  ExercisePrompt p;
  ASSERT_TRUE(EnterExercise(nb, s, all, p));

  // Blanks and control characters around the head word: right.
  EnterOutcome o = ExerciseEnter(nb, s, " \tTシャツ  \r", all);
  EXPECT_EQ(o.kind, EnterOutcome::Judged);
  EXPECT_TRUE(o.correct);
  EXPECT_EQ(s.correct, 1);
  EXPECT_TRUE(s.judged);
  // Enter again moves on.
  o = ExerciseEnter(nb, s, " \tTシャツ  \r", all);
  EXPECT_EQ(o.kind, EnterOutcome::Asked);
  EXPECT_EQ(o.prompt.row, 1);
  EXPECT_FALSE(s.judged);
  EXPECT_EQ(s.presented, 2);

  // The kana of a kanji head word: wrong, and the answer is shown.
  o = ExerciseEnter(nb, s, "たべる", all);
  EXPECT_EQ(o.kind, EnterOutcome::Judged);
  EXPECT_FALSE(o.correct);
  EXPECT_EQ(o.expected, "食べる");
  ExerciseEnter(nb, s, "", all);

  // Letter case differs: wrong.
  Notebook latin;
  latin.Add("CD /compact disc//光盘/");
  NotebookSession t;
  ASSERT_TRUE(EnterExercise(latin, t, all, p));
  o = ExerciseEnter(latin, t, "cd", all);
  EXPECT_FALSE(o.correct);
  EXPECT_EQ(o.expected, "CD");
  EXPECT_EQ(t.correct, 0);
  // The exercise has no end: it wraps to the same single row.
  o = ExerciseEnter(latin, t, "", all);
  EXPECT_EQ(o.kind, EnterOutcome::Asked);
  EXPECT_EQ(o.prompt.row, 0);
  o = ExerciseEnter(latin, t, "CD", all);
  EXPECT_TRUE(o.correct);
  EXPECT_EQ(t.correct, 1);
  EXPECT_EQ(t.presented, 2);
  EXPECT_EQ(MarkMessage(t.correct, t.presented, 0), "Your mark is 50%。\r努めて(Work harder)!");
}

TEST(NotebookExercise, CyclesThroughTheTickedRows) {
  const Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  const HintChoice all;
  ExercisePrompt p;
  ASSERT_TRUE(EnterExercise(nb, s, all, p));
  std::vector<int> asked{p.row};
  for (int i = 0; i < 4; ++i) {
    ExerciseEnter(nb, s, "x", all);
    asked.push_back(ExerciseEnter(nb, s, "x", all).prompt.row);
  }
  EXPECT_EQ(asked, (std::vector<int>{0, 2, 3, 0, 2}));
  EXPECT_EQ(s.presented, 5);
  EXPECT_EQ(s.correct, 0);
}

TEST(NotebookExercise, WithoutTickedRowsTheLastExerciseStays) {
  Notebook nb = FourRowsOneUnticked();
  NotebookSession s;
  const HintChoice all;
  ExercisePrompt p;
  ASSERT_TRUE(EnterExercise(nb, s, all, p));
  ExerciseEnter(nb, s, "食べる", all);
  for (int i = 0; i < nb.size(); ++i) nb.SetTicked(i, false);
  EXPECT_FALSE(EnterExercise(nb, s, all, p));
  EXPECT_EQ(s.correct, 1);
  EXPECT_EQ(s.presented, 1);
  // Enter on the judged row does nothing while nothing is ticked.
  EnterOutcome o = ExerciseEnter(nb, s, "", all);
  EXPECT_EQ(o.kind, EnterOutcome::Nothing);
  EXPECT_EQ(s.presented, 1);
  EXPECT_TRUE(s.judged);
  // Every row deleted: still nothing read, nothing changed.
  while (!nb.empty()) nb.Remove(0);
  EXPECT_EQ(ExerciseEnter(nb, s, "", all).kind, EnterOutcome::Nothing);
  EXPECT_EQ(CheatText(s, 0), "食べる");  // the expected answer stays
  // A row added and ticked again: the next Enter asks it.
  nb.Add(kNote);
  EnterOutcome next = ExerciseEnter(nb, s, "", all);
  EXPECT_EQ(next.kind, EnterOutcome::Asked);
  EXPECT_EQ(next.prompt.row, 0);
  EXPECT_EQ(s.expected, "ノート");
}

TEST(NotebookExercise, EnterBeforeAnyExerciseAndCheatText) {
  Notebook nb;
  NotebookSession s;
  EXPECT_EQ(ExerciseEnter(nb, s, "", HintChoice{}).kind, EnterOutcome::Nothing);
  EXPECT_EQ(s.correct, 0);
  EXPECT_EQ(CheatText(s, 0), "No words selected for exercising.");
  EXPECT_EQ(CheatText(s, 1), "没有选择练习的单词。");
}

// ------------------------------------------------------------------ mark

TEST(NotebookMark, PercentRoundsHalvesToEven) {
  struct Case {
    int correct, presented, percent;
  } cases[] = {{1, 8, 12}, {3, 8, 38}, {5, 8, 62}, {7, 8, 88}, {0, 1, 0}, {1, 1, 100},
               {3, 4, 75}, {1, 3, 33}, {2, 3, 67}, {1, 16, 6},   {3, 16, 19}, {0, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(MarkPercent(c.correct, c.presented), c.percent) << c.correct << "/" << c.presented;
}

TEST(NotebookMark, MessageTable) {
  struct Case {
    int correct, presented;
    const char* english;
    const char* chinese;
  } cases[] = {
      {1, 8, "Your mark is 12%。\r努めて(Work harder)!", "你的得分率是12%。\r努めて(请更加努力)!"},
      {5, 8, "Your mark is 62%。\r良いです(Well done. Let's do it better)!",
       "你的得分率是62%。\r良いです(很不错，祝愿你取得更好的成绩)!"},
      {7, 8, "Your mark is 88%。\rすばらしいですね(Perfect. Congratulations)!",
       "你的得分率是88%。\rすばらしいですね(完美的表现，祝贺你)!"},
      {0, 1, "Your mark is 0%。\r努めて(Work harder)!", "你的得分率是0%。\r努めて(请更加努力)!"},
      {3, 4, "Your mark is 75%。\r良いです(Well done. Let's do it better)!",
       "你的得分率是75%。\r良いです(很不错，祝愿你取得更好的成绩)!"},
      // The grade boundaries: 59 | 60 … 85 | 86.
      {59, 100, "Your mark is 59%。\r努めて(Work harder)!", "你的得分率是59%。\r努めて(请更加努力)!"},
      {3, 5, "Your mark is 60%。\r良いです(Well done. Let's do it better)!",
       "你的得分率是60%。\r良いです(很不错，祝愿你取得更好的成绩)!"},
      {17, 20, "Your mark is 85%。\r良いです(Well done. Let's do it better)!",
       "你的得分率是85%。\r良いです(很不错，祝愿你取得更好的成绩)!"},
      {43, 50, "Your mark is 86%。\rすばらしいですね(Perfect. Congratulations)!",
       "你的得分率是86%。\rすばらしいですね(完美的表现，祝贺你)!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.correct) + "/" + std::to_string(c.presented));
    EXPECT_EQ(MarkMessage(c.correct, c.presented, 0), c.english);
    EXPECT_EQ(MarkMessage(c.correct, c.presented, 1), c.chinese);
  }
  EXPECT_EQ(MarkMessage(0, 0, 0), "You have not started yet.");
  EXPECT_EQ(MarkMessage(0, 0, 1), "你还没有开始测试。");
}

// ------------------------------------------------------------------ file

TEST(NotebookFile, LinesHaveTheNotebookFormAndComeBackTicked) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  Notebook nb;
  nb.Add(kEat);
  nb.Add(kNote);
  nb.SetTicked(0, false);  // tick states are not stored
  ASSERT_TRUE(SaveNotebook(path, nb).ok);
  EXPECT_EQ(ReadBytes(path), utf8ToGbk("食べる[たべる]/to eat//吃/\r\nノート/notebook//笔记本/\r\n"));

  Notebook back;
  const LoadOutcome in = LoadNotebook(path, back);
  EXPECT_TRUE(in.ok);
  EXPECT_FALSE(in.lossy);
  ExpectSameRows(nb, back);
}

TEST(NotebookFile, EmptyEnglishRowsComeBackUnchangedOverThreeRestarts) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  Notebook original;
  original.Add(kEat);                      // with kana
  original.Add(kNote);                     // without kana
  original.Add("猫 [ねこ] //猫咪/");         // empty English, with kana
  original.Add("ラジオ //收音机/");           // empty English, without kana
  original.Add("本 [ほん] ///书/");          // a Chinese text that begins with "/"
  original.Add("a/b [k] /e//c/");          // hand-made: "/" in the head word
  original.Add("");                        // an empty line
  ASSERT_EQ(original.row(2).english, "");
  ASSERT_EQ(original.row(2).chinese, "猫咪");
  ASSERT_EQ(original.row(4).chinese, "/书");

  const std::string expectedFile = utf8ToGbk(
      "食べる[たべる]/to eat//吃/\r\n"
      "ノート/notebook//笔记本/\r\n"
      "猫[ねこ]//猫咪/\r\n"
      "ラジオ//收音机/\r\n"
      "本[ほん]///书/\r\n"
      "a/b [k] /e//c/\r\n"
      "///\r\n");

  Notebook current = original;
  for (int restart = 1; restart <= 3; ++restart) {
    SCOPED_TRACE(restart);
    ASSERT_TRUE(SaveNotebook(path, current).ok);
    EXPECT_EQ(ReadBytes(path), expectedFile);
    Notebook next;
    ASSERT_TRUE(LoadNotebook(path, next).ok);
    ExpectSameRows(original, next);
    current = next;
  }
}

TEST(NotebookFile, LinesInTheThreeSlashFormLoadAsWritten) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  WriteBytes(path, utf8ToGbk("本[ほん]///书/\r\n猫///猫/\r\n"));
  Notebook nb;
  ASSERT_TRUE(LoadNotebook(path, nb).ok);
  ASSERT_EQ(nb.size(), 2);
  EXPECT_EQ(nb.row(0).kana, "ほん");
  EXPECT_EQ(nb.row(0).english, "");
  EXPECT_EQ(nb.row(0).chinese, "/书");
  EXPECT_EQ(nb.row(1).kana, "");
  EXPECT_EQ(nb.row(1).chinese, "/猫");
  // Saved again they stay exactly as they were.
  ASSERT_TRUE(SaveNotebook(path, nb).ok);
  EXPECT_EQ(ReadBytes(path), utf8ToGbk("本[ほん]///书/\r\n猫///猫/\r\n"));
}

TEST(NotebookFile, EveryLineIsARowAndLineBreaksInAnAddedLineDoNotSplitIt) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  WriteBytes(path, utf8ToGbk("食べる[たべる]/to eat//吃/\n\r\nノート/notebook//笔记本/"));
  Notebook nb;
  ASSERT_TRUE(LoadNotebook(path, nb).ok);
  ASSERT_EQ(nb.size(), 3);
  EXPECT_EQ(nb.row(1).headWord, "");
  EXPECT_EQ(nb.row(2).chinese, "笔记本");

  Notebook added;
  added.Add("猫 [ねこ]\r\n/cat//猫/");
  ASSERT_TRUE(SaveNotebook(path, added).ok);
  Notebook back;
  LoadNotebook(path, back);
  ASSERT_EQ(back.size(), 1);
  EXPECT_EQ(back.row(0).english, "cat");
}

TEST(NotebookFile, MissingFileGivesAnEmptyNotebookAndAnEmptyNotebookDeletesTheFile) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  Notebook nb;
  const LoadOutcome in = LoadNotebook(path, nb);
  EXPECT_TRUE(in.ok);
  EXPECT_TRUE(nb.empty());
  EXPECT_TRUE(SaveNotebook(path, nb).ok);
  EXPECT_FALSE(Exists(path));

  nb.Add(kEat);
  ASSERT_TRUE(SaveNotebook(path, nb).ok);
  EXPECT_TRUE(Exists(path));
  nb.Remove(0);
  ASSERT_TRUE(SaveNotebook(path, nb).ok);
  EXPECT_FALSE(Exists(path));
  // No temporary file is left behind.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(NotebookFile, CharactersGbkLacksSurvive) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  Notebook nb;
  nb.Add("ワン・ツー [わん・つー] /one-two//一〜二/");
  ASSERT_TRUE(SaveNotebook(path, nb).ok);
  Notebook back;
  const LoadOutcome in = LoadNotebook(path, back);
  EXPECT_FALSE(in.lossy);
  ExpectSameRows(nb, back);
}

TEST(NotebookFile, BytesThatAreNotGbkAreKeptInABackup) {
  TempDir dir;
  const std::string path = dir.file(kNotebookFile);
  const std::string bytes = utf8ToGbk("猫/cat//猫/\r\n") + "\xFF\xFE/x//y/\r\n";
  WriteBytes(path, bytes);
  Notebook nb;
  const LoadOutcome in = LoadNotebook(path, nb);
  EXPECT_TRUE(in.ok);
  EXPECT_TRUE(in.lossy);
  ASSERT_EQ(nb.size(), 2);
  EXPECT_EQ(nb.row(1).english, "x");

  const std::string backup = dir.file(kNotebookBackupFile);
  ASSERT_TRUE(SaveNotebook(path, nb, backup).ok);
  EXPECT_EQ(ReadBytes(backup), bytes);
  EXPECT_TRUE(Exists(path));

  // An emptied notebook deletes the file, but the backup of the unreadable
  // original is made first.
  WriteBytes(path, bytes);
  ASSERT_TRUE(SaveNotebook(path, Notebook{}, backup).ok);
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(ReadBytes(backup), bytes);
}

TEST(NotebookFile, ReadAndWriteErrorsAreReported) {
  TempDir dir;
  // A folder where the file should be cannot be read as a file.
  const std::string path = dir.file(kNotebookFile);
  std::filesystem::create_directory(path);
  Notebook nb;
  const LoadOutcome in = LoadNotebook(path, nb);
  EXPECT_FALSE(in.ok);
  EXPECT_FALSE(in.error.empty());
  EXPECT_TRUE(nb.empty());

  nb.Add(kEat);
  const SaveOutcome out = SaveNotebook(dir.file("no such folder/newdict.dic"), nb);
  EXPECT_FALSE(out.ok);
  EXPECT_FALSE(out.error.empty());
}
