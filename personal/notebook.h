// The new-words notebook: its rows, the file "newdict.dic", the scan that
// scrolls the ticked words up a panel, and the typing exercise with its mark.
//
// Everything here is free of any window. The notebook window (TForm9) keeps a
// Notebook and a NotebookSession, calls these functions from its handlers and
// shows what they return.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/codec.h"

namespace kirvale::personal {

inline constexpr const char* kNotebookFile = "newdict.dic";
// Where a notebook file that could not be read back faithfully is kept
// before it is replaced.
inline constexpr const char* kNotebookBackupFile = "newdict.dic.bak";

// One row of the notebook: the four fields of the entry it was made from,
// and its tick. Rows never change after they are added, apart from the tick.
struct NotebookRow {
  std::string headWord;
  std::string kana;
  std::string chinese;
  std::string english;
  bool ticked = true;
  // The entry line the row was made from. It is written back only for the
  // rare hand-made line whose fields cannot be put in the usual line form
  // (a "/" in the head word or the reading).
  std::string sourceLine;
};

class Notebook {
 public:
  // Parses an entry line and appends it as a ticked row; returns the row's
  // index. The same entry may be added any number of times. Line breaks in
  // the text would split the row in the file, so they become blanks.
  int Add(std::string_view entryLine);

  int size() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  bool valid(int row) const { return row >= 0 && row < size(); }
  const NotebookRow& row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
  const std::vector<NotebookRow>& rows() const { return rows_; }

  // Both ignore an index that names no row.
  void SetTicked(int index, bool ticked);
  void Remove(int index);

  // The first ticked row at `from` or after it, else the first ticked row
  // before it; -1 when no row is ticked. A `from` past the last row (or
  // below 0) starts at row 0.
  int NextTickedRow(int from) const;

 private:
  std::vector<NotebookRow> rows_;
};

// ------------------------------------------------------------------ file

// The line written for a row: head word, "[" kana "]" only when the kana is
// not empty, then "/" English "//" Chinese "/". A row whose English text is
// empty is written with two slashes before the Chinese text (W[K]//C/):
// three slashes would read back with a "/" in front of the Chinese text.
std::string NotebookLine(const NotebookRow& row);

// True when `line` parses into exactly the row's four fields.
bool ReadsBackAs(std::string_view line, const NotebookRow& row);

struct LoadOutcome {
  bool ok = true;       // false: the file exists but could not be read
  bool lossy = false;   // the file holds bytes that are not GBK text; they
                        // could not be written back as they were
  std::string error;    // the system's text when !ok
};

// Appends one ticked row per line of the file (an empty line included). A
// missing file adds nothing and is no error.
LoadOutcome LoadNotebook(const std::string& path, Notebook& notebook);

using SaveOutcome = text::ListSave;

// Writes one line per row, in row order, GBK with CR LF, through a temporary
// file renamed over the old one; deletes the file when the notebook is
// empty. When `keepOriginalAs` is not empty, an existing file is first
// renamed to that name, so a file the notebook could not read back
// faithfully is never overwritten or deleted.
SaveOutcome SaveNotebook(const std::string& path, const Notebook& notebook,
                         const std::string& keepOriginalAs = {});

// ------------------------------------------------------------------ scan

// The scrolling word label's top edge inside the 200-pixel scan panel.
inline constexpr int kScanLabelStart = 200;  // the panel's bottom edge
inline constexpr int kScanLabelGone = -30;   // the word has left the panel
inline constexpr int kScanStep = 2;          // pixels per timer tick

// The window's shared state (none of it is stored).
struct NotebookSession {
  // Scan: the row whose word comes next. Exercise: the row being asked.
  int position = 0;
  bool scanStarted = false;
  bool timerRunning = false;  // the scan timer Timer1
  int labelTop = kScanLabelStart;

  std::string expected;  // head word of the row last presented
  bool judged = false;
  int correct = 0;
  int presented = 0;
};

// Start: from the first ticked row, label at the bottom. Returns false (and
// changes nothing) when no row is ticked. The label keeps its old text,
// which travels up once before the first word.
bool StartScan(const Notebook& notebook, NotebookSession& session);

// Pause: switches the timer off or on, only once a scan was started.
// Returns true when it changed anything.
bool PauseScan(NotebookSession& session);

// A click on the scan panel while the timer runs: the next tick brings the
// next word.
void SkipScanWord(NotebookSession& session);

struct ScanFrame {
  int labelTop = kScanLabelStart;
  bool newWord = false;  // the label's text and the meaning box change
  int row = -1;          // the row put up; -1 with newWord: nothing to show
  std::string word;      // the head word, or empty
  std::string meaning;   // kana, Chinese and English, one per line
};

// One timer tick: moves the label up by 2 pixels, or, once it is at -30 or
// above the panel, puts it back at 200 with the word of the current position
// and chooses the row after it. A position that names no row any more
// (rows deleted, or nothing was ticked when it was chosen) is chosen afresh;
// with no ticked row the label travels up empty until a row is ticked.
ScanFrame ScanTick(const Notebook& notebook, NotebookSession& session);

// The meaning box text of a row.
std::string ScanMeaning(const NotebookRow& row);

// ------------------------------------------------------------------ exercise

// Which hints the exercise gives (the givepron, givechin and giveeng settings
// being 1).
struct HintChoice {
  bool kana = true;
  bool chinese = true;
  bool english = true;
};

// What the window shows when a row is asked. A hint that is not chosen is
// not written: its box keeps what it showed before.
struct ExercisePrompt {
  int row = -1;
  bool showKana = false, showChinese = false, showEnglish = false;
  std::string kana, chinese, english;
};

// Presents one row: expected answer, hints, judged cleared, presented + 1.
ExercisePrompt AskRow(const Notebook& notebook, NotebookSession& session, int row, HintChoice hints);

// Entering the Exercise tab. With a ticked row: counts to 0, the scan timer
// off (scan started keeps its value), the first ticked row asked; returns
// true and fills `prompt`. Without one: returns false and changes nothing.
bool EnterExercise(const Notebook& notebook, NotebookSession& session, HintChoice hints, ExercisePrompt& prompt);

struct EnterOutcome {
  enum Kind { Judged, Asked, Nothing } kind = Nothing;
  bool correct = false;     // Judged: the answer was right
  std::string expected;     // Judged and wrong: the answer to show
  ExercisePrompt prompt;    // Asked: the next row
};

// Enter in the answer field. Not judged yet: compares the typed text,
// trimmed, byte for byte with the expected answer. Judged: asks the next
// ticked row; when no row is ticked any more nothing happens (Nothing), and
// the next Enter tries again. Before the first exercise nothing happens.
EnterOutcome ExerciseEnter(const Notebook& notebook, NotebookSession& session, std::string_view typed,
                           HintChoice hints);

// The cheat button's text: the expected answer, or the message that no words
// were selected.
std::string CheatText(const NotebookSession& session, std::int16_t uiLanguage);

// ------------------------------------------------------------------ mark

// (correct / presented) x 100, the quotient first, rounded to the nearest
// whole number with halves to the even neighbour. 0 when nothing was
// presented.
int MarkPercent(int correct, int presented);

// The mark button's message: "You have not started yet." before any
// exercise; otherwise "Your mark is " N "%。", a carriage return, the
// grade's Japanese word and, in brackets, the grade in the interface
// language, then "!".
std::string MarkMessage(int correct, int presented, std::int16_t uiLanguage);

// ------------------------------------------------------------------ window rules

// Double-click on a row: while the scan timer runs the user is asked first.
bool DeleteNeedsConfirmation(const NotebookSession& session);
// The user agreed: the scan stops and is no longer started.
void StopScanForDeletion(NotebookSession& session);
// Closing the window: the timer stops and the label goes back to the bottom.
void CloseSession(NotebookSession& session);
// Showing the window: scan started is cleared.
void ShowSession(NotebookSession& session);

}  // namespace kirvale::personal
