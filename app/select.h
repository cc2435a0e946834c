// The first-run language choice.
#pragma once

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace kirvale::app {

class TForm1 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  // OK: 0 for English, 1 for Chinese. Closed from the title bar: 0.
  std::int16_t chosenLanguage() const { return chosen_; }

  QRadioButton* RadioButton1;  // 中文
  QRadioButton* RadioButton2;  // English
  QPushButton* Button1;        // OK

 private:
  void Button1Click();
  std::int16_t chosen_ = 0;
};

}  // namespace kirvale::app
