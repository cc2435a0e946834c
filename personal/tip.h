// The word-of-the-day window: one entry of the Japanese dictionary at a time,
// one further each time the window is shown or Next is pressed. Which line
// comes next and what is shown for it is personal/tip_of_day.h.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTextEdit;

namespace kirvale::app {

// The window's decorative picture (a dawn over mountains with a blossom
// branch), drawn by the program at the given size.
QPixmap WordOfTheDayPicture(int width, int height);

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
  ~TForm2() override;

  // Controls, by their designed names.
  QLabel* Image1;            // the picture
  QGroupBox* FlatGroupBox1;  // "日语"
  QLabel* Label1;            // head word and kana
  QTextEdit* FlatMemo1;      // the explanations (display only)
  QCheckBox* FlatCheckBox1;  // show at every start: the `showtip` setting
  QPushButton* FlatButton1;  // Next
  QPushButton* FlatButton2;  // Close

  // One entry further (wrapping after the last line), stored in `tipindex`
  // and shown.
  void Advance();
  // Shows line `index` of the Japanese dictionary; past its end the memo is
  // left empty and the label keeps its text.
  void DisplayEntry(int index);

  // Handlers.
  void FormShow() { Advance(); }
  void FlatButton1Click() { Advance(); }
  void FlatCheckBox1Click();
  void FlatButton2Click();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void buildControls();
  void fitHeaders();
};

}  // namespace kirvale::app
