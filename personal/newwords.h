// The new-words notebook window: the list of rows (All), the scrolling words
// (Scan) and the typing exercise with its mark (Exercise). The rules live in
// personal/notebook.h; this window holds the controls and shows the results.
#pragma once

#include <QDialog>
#include <QFrame>
#include <cstdint>
#include <string>

#include "personal/notebook.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableWidget;
class QTableWidgetItem;
class QTextEdit;
class QTimer;
class QToolButton;

namespace kirvale::ui {
class Autosave;
}

namespace kirvale::app {

// A panel that reports clicks on itself and on the labels it holds.
class ClickPanel : public QFrame {
  Q_OBJECT
 public:
  using QFrame::QFrame;
 signals:
  void clicked();

 protected:
  void mousePressEvent(class QMouseEvent* e) override;
};

class TForm9 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm9(QWidget* parent = nullptr);
  ~TForm9() override;

  // Loads "newdict.dic" from the working directory; run once at start-up.
  void FormCreate();
  // Writes "newdict.dic" (or deletes it when the notebook is empty); run at
  // program exit. Between start-up and exit each change is also written a
  // few seconds after it is made.
  void Save();
  ui::Autosave* autosave() const { return autosave_; }
  // Published as AddNewWord: appends the entry line as a ticked row.
  // `position` is the caller's count of rows; the row is always appended.
  void AddNewWord(const std::string& entryLine, int position);
  int rowCount() const;
  // Timer1's interval: the `speed` setting in milliseconds.
  void setScanInterval(int ms);

  const personal::Notebook& notebook() const { return notebook_; }
  const personal::NotebookSession& session() const { return session_; }

  // Controls, by their designed names.
  QTabBar* FlatTabControl1;
  QTableWidget* ListView1;
  ClickPanel* FlatPanel1;   // scan panel
  QLabel* Label1;           // the scrolling word
  QTextEdit* FlatMemo1;     // the scanned word's meaning
  QPushButton* FlatButton2;  // Start
  QPushButton* Flatbutton5;  // Pause
  QTimer* Timer1;
  QGroupBox* FlatGroupBox1;  // kana hint box
  QLabel* Label3;
  QGroupBox* FlatGroupBox2;  // Chinese hint box
  QTextEdit* FlatMemo2;
  QGroupBox* FlatGroupBox3;  // English hint box
  QTextEdit* FlatMemo3;
  QGroupBox* FlatGroupBox4;  // input group
  QLineEdit* FlatEdit1;      // answer field
  QLabel* Label2;            // answer label: the expected answer after a wrong one
  QLabel* Image1;            // correct sign
  QToolButton* FlatButton3;  // cheat
  QToolButton* FlatButton4;  // mark
  QPushButton* FlatButton1;  // Close

  // Handlers.
  void FormShow();
  void FormClose();
  void FlatTabControl1TabChanged(int index);
  void ListView1DblClick();
  void FlatPanel1Click();
  void FlatButton2Click();
  void Flatbutton5Click();
  void Timer1Timer();
  void FlatEdit1KeyPress(char key);
  void FlatButton3Click();
  void FlatButton4Click();
  void FlatButton1Click();

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void buildControls();
  void appendListRow(int row);
  void listItemChanged(QTableWidgetItem* item);
  void applyTabLayout(int index);
  void relabel();
  void syncTimer();
  void placeWordLabel();
  void showPrompt(const personal::ExercisePrompt& prompt);
  personal::HintChoice hints() const;
  bool writeFile(std::string* error);
  void changed();

  personal::Notebook notebook_;
  personal::NotebookSession session_;
  std::int16_t labelledLanguage_ = 1;  // the design language
  bool fillingList_ = false;
  // The file could not be read back faithfully: it is kept aside at Save.
  bool keepOriginal_ = false;
  ui::Autosave* autosave_ = nullptr;
};

}  // namespace kirvale::app
