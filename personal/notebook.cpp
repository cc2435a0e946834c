#include "personal/notebook.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "dictionary/entry_line.h"
#include "settings/messages.h"
#include "text/codec.h"

namespace kirvale::personal {
namespace {

using text::systemError;

NotebookRow rowFromLine(std::string_view line) {
  const dictionary::DictionaryEntry e = dictionary::ParseEntryLine(line);
  NotebookRow r;
  r.headWord = e.headWord;
  r.kana = e.kana;
  r.chinese = e.chinese;
  r.english = e.english;
  r.ticked = true;
  r.sourceLine = std::string(line);
  return r;
}

struct Grade {
  const char* japanese;
  settings::MessagePair text;
};

const Grade& GradeFor(int percent) {
  static const Grade workHarder{"努めて", settings::msg::kWorkHarder};
  static const Grade wellDone{"良いです", settings::msg::kWellDone};
  static const Grade perfect{"すばらしいですね", settings::msg::kPerfect};
  if (percent < 60) return workHarder;
  if (percent <= 85) return wellDone;
  return perfect;
}

}  // namespace

// ------------------------------------------------------------------ rows

int Notebook::Add(std::string_view entryLine) {
  std::string line(entryLine);
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  rows_.push_back(rowFromLine(line));
  return size() - 1;
}

void Notebook::SetTicked(int index, bool ticked) {
  if (valid(index)) rows_[static_cast<std::size_t>(index)].ticked = ticked;
}

void Notebook::Remove(int index) {
  if (valid(index)) rows_.erase(rows_.begin() + index);
}

int Notebook::NextTickedRow(int from) const {
  if (from >= size() || from < 0) from = 0;
  for (int i = from; i < size(); ++i)
    if (rows_[static_cast<std::size_t>(i)].ticked) return i;
  for (int i = 0; i < from; ++i)
    if (rows_[static_cast<std::size_t>(i)].ticked) return i;
  return -1;
}

// ------------------------------------------------------------------ file

bool ReadsBackAs(std::string_view line, const NotebookRow& row) {
  const dictionary::DictionaryEntry e = dictionary::ParseEntryLine(line);
  return e.headWord == row.headWord && e.kana == row.kana && e.english == row.english &&
         e.chinese == row.chinese;
}

std::string NotebookLine(const NotebookRow& row) {
  std::string line = row.headWord;
  if (!row.kana.empty()) line += "[" + row.kana + "]";
  // The parser takes the English text from between the first "/" and the
  // first "//". With an empty English text the first "/" already begins the
  // first "//", so "W[K]//C/" reads back as it was, while "W[K]///C/" would
  // give the Chinese text a leading "/" at every restart.
  if (!row.english.empty()) line += "/" + row.english;
  line += "//" + row.chinese + "/";
  // A head word or reading holding "/" (possible only in a hand-made line)
  // moves the parser's first "/"; the line the row came from still reads
  // back as the row, so that one is kept.
  if (!ReadsBackAs(line, row) && ReadsBackAs(row.sourceLine, row)) return row.sourceLine;
  // A hand-made line without any mark has no fields at all; rewriting it
  // from its empty fields would lose its text, so it is kept as it was.
  if (row.headWord.empty() && row.kana.empty() && row.english.empty() && row.chinese.empty() &&
      !text::trim(row.sourceLine).empty() && row.sourceLine.find_first_of("[/") == std::string::npos)
    return row.sourceLine;
  return line;
}

LoadOutcome LoadNotebook(const std::string& path, Notebook& notebook) {
  LoadOutcome out;
  std::string bytes;
  int err = 0;
  switch (text::readFileReporting(path, bytes, err)) {
    case text::FileRead::Missing:
      return out;
    case text::FileRead::Failed:
      out.ok = false;
      out.error = systemError(err);
      return out;
    case text::FileRead::Ok:
      break;
  }
  const std::string text = text::gbkToUtf8(bytes);
  // Bytes that are not GBK text are shown as U+FFFD; written back they
  // would no longer be the bytes the user had.
  out.lossy = text::utf8ToGbk(text) != bytes;
  for (const std::string& line : text::splitLines(text)) notebook.Add(line);
  return out;
}

SaveOutcome SaveNotebook(const std::string& path, const Notebook& notebook, const std::string& keepOriginalAs) {
  std::vector<std::string> lines;
  lines.reserve(notebook.rows().size());
  for (const NotebookRow& r : notebook.rows()) lines.push_back(NotebookLine(r));
  return text::SaveListFile(path, lines, keepOriginalAs);
}

// ------------------------------------------------------------------ scan

bool StartScan(const Notebook& notebook, NotebookSession& session) {
  const int first = notebook.NextTickedRow(0);
  if (first < 0) return false;
  session.scanStarted = true;
  session.position = first;
  session.timerRunning = true;
  session.labelTop = kScanLabelStart;
  return true;
}

bool PauseScan(NotebookSession& session) {
  if (!session.scanStarted) return false;
  session.timerRunning = !session.timerRunning;
  return true;
}

void SkipScanWord(NotebookSession& session) {
  if (session.timerRunning) session.labelTop = kScanLabelGone;
}

std::string ScanMeaning(const NotebookRow& row) { return row.kana + "\n" + row.chinese + "\n" + row.english; }

ScanFrame ScanTick(const Notebook& notebook, NotebookSession& session) {
  ScanFrame f;
  if (session.labelTop > kScanLabelGone) {
    session.labelTop -= kScanStep;
    f.labelTop = session.labelTop;
    return f;
  }
  session.labelTop = kScanLabelStart;
  f.labelTop = session.labelTop;
  f.newWord = true;
  // The row was chosen when the previous word went up, so a row unticked
  // since then is still shown. A position that names no row any more is
  // chosen again now.
  int row = session.position;
  if (!notebook.valid(row)) row = notebook.NextTickedRow(row);
  if (row < 0) {
    session.position = -1;
    return f;
  }
  const NotebookRow& r = notebook.row(row);
  f.row = row;
  f.word = r.headWord;
  f.meaning = ScanMeaning(r);
  session.position = notebook.NextTickedRow(row + 1);
  return f;
}

// ------------------------------------------------------------------ exercise

ExercisePrompt AskRow(const Notebook& notebook, NotebookSession& session, int row, HintChoice hints) {
  ExercisePrompt p;
  if (!notebook.valid(row)) return p;
  const NotebookRow& r = notebook.row(row);
  p.row = row;
  session.expected = r.headWord;
  p.showKana = hints.kana;
  p.showChinese = hints.chinese;
  p.showEnglish = hints.english;
  if (hints.kana) p.kana = r.kana;
  if (hints.chinese) p.chinese = r.chinese;
  if (hints.english) p.english = r.english;
  session.judged = false;
  ++session.presented;
  return p;
}

bool EnterExercise(const Notebook& notebook, NotebookSession& session, HintChoice hints, ExercisePrompt& prompt) {
  const int first = notebook.NextTickedRow(0);
  if (first < 0) return false;
  session.correct = 0;
  session.presented = 0;
  session.timerRunning = false;
  session.position = first;
  prompt = AskRow(notebook, session, first, hints);
  return true;
}

EnterOutcome ExerciseEnter(const Notebook& notebook, NotebookSession& session, std::string_view typed,
                           HintChoice hints) {
  EnterOutcome out;
  // Before the first exercise there is nothing to judge.
  if (session.presented == 0) return out;
  if (!session.judged) {
    out.kind = EnterOutcome::Judged;
    out.correct = text::trim(typed) == session.expected;
    if (out.correct)
      ++session.correct;
    else
      out.expected = session.expected;
    session.judged = true;
    return out;
  }
  const int next = notebook.NextTickedRow(session.position + 1);
  if (next < 0) return out;  // nothing ticked any more: stay on the judged row
  session.position = next;
  out.kind = EnterOutcome::Asked;
  out.prompt = AskRow(notebook, session, next, hints);
  return out;
}

std::string CheatText(const NotebookSession& session, std::int16_t uiLanguage) {
  if (!session.expected.empty()) return session.expected;
  return settings::msg::kNoWordsSelected.in(uiLanguage);
}

// ------------------------------------------------------------------ mark

int MarkPercent(int correct, int presented) {
  if (presented <= 0) return 0;
  const double x = static_cast<double>(correct) / static_cast<double>(presented) * 100.0;
  const double lower = std::floor(x);
  const double diff = x - lower;
  double n;
  if (diff < 0.5)
    n = lower;
  else if (diff > 0.5)
    n = lower + 1.0;
  else
    n = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
  return static_cast<int>(n);
}

std::string MarkMessage(int correct, int presented, std::int16_t uiLanguage) {
  if (presented <= 0) return settings::msg::kNotStarted.in(uiLanguage);
  const int n = MarkPercent(correct, presented);
  const Grade& g = GradeFor(n);
  std::string s = settings::msg::kYourMark.in(uiLanguage);
  s += std::to_string(n);
  s += "%。";
  s += '\r';
  s += g.japanese;
  s += "(";
  s += g.text.in(uiLanguage);
  s += ")!";
  return s;
}

// ------------------------------------------------------------------ window rules

bool DeleteNeedsConfirmation(const NotebookSession& session) { return session.timerRunning; }

void StopScanForDeletion(NotebookSession& session) {
  session.timerRunning = false;
  session.scanStarted = false;
}

void CloseSession(NotebookSession& session) {
  session.timerRunning = false;
  session.labelTop = kScanLabelStart;
}

void ShowSession(NotebookSession& session) { session.scanStarted = false; }

}  // namespace kirvale::personal
