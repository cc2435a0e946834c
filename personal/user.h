// The My Dictionary window: the list of the user's own entries and the
// editing area with Add, Update and Delete. The rules live in
// personal/user_dict.h; this window holds the controls and shows the results.
// The list it edits is ui::UserDict, which the main lookup falls back on.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

#include "personal/user_dict.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace kirvale::app {

class TForm6 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);
  ~TForm6() override;

  // Builds the part-of-speech table and loads "userdict.dic" from the working
  // directory into the list; run once at start-up.
  void FormCreate();
  // Writes "userdict.dic" (or deletes it when the list is empty); run at
  // program exit, and by whoever wants the list on disk sooner.
  void Save();
  // The same write without a message box; false with the reason in `error`.
  bool TrySave(std::string* error);
  // Called after every change of the list (Add, Update, Delete).
  void setChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  const personal::PartOfSpeechTable& partOfSpeechTable() const { return table_; }

  // Controls, by their designed names.
  QLabel* Label1;               // "日语"
  QLineEdit* FlatEdit1;         // head word
  QLabel* Label2;               // "假名"
  QLineEdit* FlatEdit2;         // kana
  QLabel* Label3;               // "词性"
  QComboBox* FlatComboBox1;     // part of speech
  QLabel* Label4;               // "中文"
  QTextEdit* FlatMemo1;         // Chinese definition
  QLabel* Label5;               // "英语"
  QTextEdit* FlatMemo2;         // English definition
  QLabel* Label6;               // "已存在词条"
  QListWidget* FlatListBox1;    // the lines
  QPushButton* FlatButton1;     // Add
  QPushButton* FlatButton2;     // Update
  QPushButton* FlatButton3;     // Delete
  QPushButton* FlatButton4;     // Close

  // Handlers.
  void FormShow();
  void FlatListBox1Click();
  void FlatButton1Click();
  void FlatButton2Click();
  void FlatButton3Click();
  void FlatButton4Click();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void buildControls();
  void fillPartOfSpeechChoice(std::int16_t language);
  void clearEditingArea();
  personal::UserEntryFields fields() const;
  void finishEdit(const personal::EditOutcome& outcome);

  personal::PartOfSpeechTable table_;
  std::int16_t labelledLanguage_ = 1;  // the design language
  bool fillingList_ = false;
  // The file could not be read back faithfully: it is kept aside at Save.
  bool keepOriginal_ = false;
  std::function<void()> changed_;
};

}  // namespace kirvale::app
