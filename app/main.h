// The main window: input box, head-word lists, result area and main menu. Its
// creation runs the program's whole start-up; its closing runs the shutdown.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/english_candidates.h"
#include "dictionary/history.h"
#include "dictionary/lookup.h"

class QAction;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QListView;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace kirvale::platform {
class MessageBus;
}
namespace kirvale::capture {
class TForm12;
}
namespace kirvale::settings {
class TForm4;
}
namespace kirvale::ui {
class Autosave;
class HeadWordList;
}

namespace kirvale::app {

class TForm10;
class TForm6;
class TForm9;
class TForm5;
class TForm2;
class TForm8;
class HelpWindow;

// A caption bar that reports clicks.
class CaptionBar : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mousePressEvent(class QMouseEvent* e) override;
};

// Installs the substitutes for the design fonts ("宋体", "Arial") once.
void InstallFontSubstitutions();

// The message shown when the instance lock cannot be taken, in both
// languages (the settings are not read yet).
QString InstanceLockMessage(const QString& reason);

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  // The start-up sequence. Returns false when the program must end (a
  // dictionary file is missing).
  bool FormCreate();
  bool firstStart() const { return firstStart_; }

  // Set before FormCreate to receive the activation message of later starts;
  // the window receives it from then on, whatever becomes of the start-up.
  void setMessageBus(platform::MessageBus* bus);

  // A termination signal: a normal close once the start-up is done. During
  // the start-up it closes the open dialog and ends the start-up without
  // writing anything (FormCreate then returns false).
  void requestClose();
  bool closeRequested() const { return closeRequested_; }

  // Controls, by their designed names.
  QLabel* Label1;
  QLineEdit* wordtext;
  QToolButton* BitBtn1;
  QPushButton* FlatButton1;
  QToolButton* FlatButton2;
  QToolButton* FlatButton3;
  QToolButton* FlatButton4;
  QToolButton* FlatButton5;
  QToolButton* FlatSpeedButton1;
  QToolButton* SpeedButton4;
  QToolButton* FlatSpeedButton2;
  QLabel* Label2;
  ui::HeadWordList* wordlist;
  ui::HeadWordList* englishlist;
  QListWidget* applist;
  QListWidget* ListBox1;
  QGroupBox* FlatGroupBox1;
  QLabel* Label3;
  QLabel* Label4;
  QFrame* Panel1;
  CaptionBar* Panel2;
  QTextEdit* FlatMemo1;
  QFrame* Panel4;
  CaptionBar* Panel3;
  QTextEdit* FlatMemo2;
  QToolButton* SpeedButton1;
  QToolButton* SpeedButton2;
  QToolButton* SpeedButton3;

  QMenu* PopupMenu1;
  QAction* N10;  // screen capture
  QAction* N1;   // settings
  QAction* N2;   // My Dictionary
  QAction* N4;   // new-words notebook
  QAction* N6;   // word of the day
  QAction* N9;   // help
  QAction* N7;   // about
  QAction* N11;  // exit

  // The windows created at start-up (null until then).
  TForm9* notebook() const { return notebook_; }
  TForm6* myDictionary() const { return myDictionary_; }
  TForm5* about() const { return about_; }
  TForm2* wordOfTheDay() const { return tip_; }
  TForm8* advancedSearch() const { return advan_; }
  settings::TForm4* settingsDialog() const { return form4_; }
  HelpWindow* helpWindow() const { return help_; }

  // Handlers.
  void wordtextChange();
  void wordtextKeyUp(int key);
  void FlatButton1Click() { Search(); }
  void wordlistClick();
  void englishlistClick();
  void wordlistDblClick();
  void englishlistDblClick();
  void FlatSpeedButton1Click();
  void SpeedButton4Click();
  // The appendix: the topic list and a section in the Chinese pane.
  void FlatSpeedButton2Click();
  void applistDblClick();
  // Re-skins this window's controls with the current style, so that parts
  // switched on after skinning (the Chinese pane's scroll bars) take it.
  void ReskinControls();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void FlatMemo2DblClick();
  void BitBtn1Click();
  void ListBox1Click();
  void FlatButton3Click();
  void FlatButton4Click();
  void SpeedButton3Click();
  void N2Click();
  void N1Click();
  void N4Click();
  void N6Click();
  void FlatButton2Click();
  void N9Click();
  void N7Click();
  void N11Click();
  void FlatButton5Click();
  void Panel2Click();
  void Panel3Click();
  void ApplicationDeactivate();

  // The main search on the input box's text.
  void Search();
  const std::string& currentEntryLine() const { return currentEntryLine_; }
  bool listSelectionFlag() const { return listSelection_; }
  // The history list and the Back/Forward path.
  dictionary::SearchSession& session() { return session_; }
  // Empties the history list (the settings dialog's clear button).
  void ClearHistory();

  // Published operations.
  void ApplySettings();
  void SelectStyle(std::int16_t index);
  void SetPaneLayout(std::int16_t level);
  // The main window's texts that are not tag-driven, in the current language.
  void ApplyFixedTexts();

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void buildControls();
  void moveInList(int step);
  bool abortStartup();
  void saveSettingsReportingOnce();
  void connectLookup();
  void bindReaders();
  void createWindows();
  void fillHeadWordLists();
  void closeReaders();
  // `row` -1: the list's current row.
  void listItemChosen(ui::HeadWordList* list, int row, bool search);
  void showHeadWordList(QListView* list);
  void showResult(const dictionary::LookupResult& r);
  void buildMenu();
  void Shutdown();
  bool loadOrAskSettings();
  bool decryptDictionaries();

  platform::MessageBus* bus_ = nullptr;
  bool firstStart_ = false;
  bool ignoreNextDeactivation_ = false;
  bool startupStopped_ = false;
  bool shutDown_ = false;
  bool decrypted_ = false;
  bool historyLoaded_ = false;
  bool starting_ = false;
  bool closeRequested_ = false;
  bool settingsFailureShown_ = false;
  ui::Autosave* historySave_ = nullptr;
  TForm10* splash_ = nullptr;
  TForm9* notebook_ = nullptr;
  TForm6* myDictionary_ = nullptr;
  TForm5* about_ = nullptr;
  TForm2* tip_ = nullptr;
  TForm8* advan_ = nullptr;
  settings::TForm4* form4_ = nullptr;
  HelpWindow* help_ = nullptr;

  dictionary::Mode mode_ = dictionary::Mode::Japanese;
  dictionary::Mode previousMode_ = dictionary::Mode::Japanese;
  bool listSelection_ = false;
  std::string currentEntryLine_;
  std::unique_ptr<dictionary::SuffixTable> suffixTable_;
  dictionary::SearchSession session_;
  void navigate(std::optional<std::string> text);

  // Screen capture: the pop-up, and the menu item's handler.
 public:
  capture::TForm12* capturePopup() const { return popup_; }
  void N10Click();

 private:
  capture::TForm12* popup_ = nullptr;
  bool captureBlockMissing_ = false;
};

}  // namespace kirvale::app
