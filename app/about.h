// The about window: the program's name and version, then a slow scroll of
// acknowledgements over a picture. Shown modally from the main menu.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <array>

class QFrame;
class QTimer;

namespace kirvale::app {

// A label that reports clicks and the pointer entering and leaving it.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();
  void entered();
  void left();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
};

// The two pictures of the window, drawn by the program.
QPixmap AboutBackgroundPicture();  // 299 x 194, fills the window
QPixmap AboutPanelPicture();       // 282 x 174, fills the inner panel

class TForm5 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  // The seven texts, shown in turn; lines within a text are separated by a
  // line break. Slot 7 is empty: a pause before the cycle starts again.
  static const std::array<const char*, 7>& Slots();
  // Where the scrolling label starts, inside the panel.
  static constexpr int kStartTop = 100;
  static constexpr int kStartLeft = 43;
  // The label leaves when its last line is this far above the panel.
  static constexpr int kExitMargin = 19;

  QLabel* Image1;      // background picture
  QFrame* Panel1;      // inner panel
  QLabel* Image2;      // the panel's picture
  ClickLabel* Label1;  // scrolling text
  ClickLabel* Label2;  // close label "确 定"
  QTimer* Timer1;      // 30 ms scroll timer

  int slot() const { return slot_; }  // 1..7

  // Handlers.
  void FormShow();
  void Timer1Timer();
  void Label1Click();
  void Label2Click();
  void Label2MouseEnter();
  void Label2MouseLeave();

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void setSlot(int slot);
  int slot_ = 1;
};

}  // namespace kirvale::app
