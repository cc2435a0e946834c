// The capture pop-up: a small topmost window next to the pointer that lists
// up to five dictionary entries for the text the hook library captured.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPoint>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "capture/capture_lookup.h"
#include "dictionary/english_candidates.h"
#include "platform/shared_block.h"

namespace kirvale::platform {
class MessageBus;
}

namespace kirvale::capture {

class TForm12 : public QWidget {
  Q_OBJECT
 public:
  // `mainWindow` is the window whose area hides the pop-up; it is not the
  // pop-up's owner.
  explicit TForm12(QWidget* mainWindow);
  ~TForm12() override;

  // Opens the hook library's block, zeroes it and writes the pop-up's
  // handle; registers the pop-up on `bus`. Returns false, after showing the
  // message, when the program must end.
  bool FormCreate(platform::MessageBus* bus);

  // The number of rows of the new-words notebook's list (for AddNewWord).
  void setNotebookRows(std::function<int()> rows) { notebookRows_ = std::move(rows); }

  // Alpha 120 when the setting `trans` is 1, opaque otherwise.
  void ApplyTranslucency();
  // The five button hints in the interface language.
  void ApplyFixedTexts();

  // The handler of the capture message.
  void CaptureMessage(std::int64_t lParam);

  // Commands.
  void LabelClick(int n);  // 1..5
  void Label6MouseDown(const QPoint& globalPos);
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();
  void SpeedButton5Click();

  // State, for the main window and tests.
  bool popupClosed() const { return popupClosed_; }
  bool followCursor() const { return followCursor_; }
  const std::string& lastCapturedText() const { return lastCapturedText_; }
  int markedSlot() const { return markedSlot_; }
  bool shownAny() const { return shownAny_; }
  const std::string& slotLine(int n) const { return slotLines_[static_cast<std::size_t>(n - 1)]; }
  // Number of times the block's text was read (tests: other messages never read it).
  int blockReads() const { return blockReads_; }

  QFrame* Shape1;
  QFrame* Shape2;
  QLabel* Label6;
  QLabel* Image1;
  QToolButton* SpeedButton1;
  QToolButton* SpeedButton2;
  QToolButton* SpeedButton3;
  QToolButton* SpeedButton4;
  QToolButton* SpeedButton5;
  std::array<QLabel*, kSlots> Lines{};  // Label1 .. Label5

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(class QCloseEvent* e) override;

 private:
  void buildControls();
  std::string readBlockText();
  void showLookup(const PopupLookup& r, const std::string& text);
  QString markedText() const;

  QWidget* mainWindow_;
  platform::SharedBlock block_;
  dictionary::SuffixTable suffixTable_;
  std::function<int()> notebookRows_;
  bool popupClosed_ = false;
  bool followCursor_ = true;
  std::string lastCapturedText_;
  int markedSlot_ = 1;
  Slots slotLines_;
  bool shownAny_ = false;
  int blockReads_ = 0;
  // A drag of Label6 the window manager could not take over.
  bool dragging_ = false;
  QPoint dragOffset_;
};

// Starts the hook library (capture switched on). Where the desktop has no
// primary selection to watch, says so once per run.
void StartCapture(QWidget* parent);
// Stops the hook library.
void StopCapture();

}  // namespace kirvale::capture
