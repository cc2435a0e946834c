// The advanced search window: a text, the field to look in, and every
// matching head word of the Japanese dictionary with their number. The
// search itself is dictionary/advanced_search.h; choosing a result shows it
// in the main window through the ordinary lookup.
#pragma once

#include <QDialog>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kirvale::app {

class TForm8 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm8(QWidget* parent = nullptr);
  ~TForm8() override;

  // Controls, by their designed names.
  QLabel* Label1;               // "输入"
  QLineEdit* FlatEdit1;         // the search text
  QLabel* Label2;               // "包含在"
  QComboBox* FlatComboBox1;     // the field choice
  QLabel* Label3;               // "搜索到条目"
  QLabel* Label4;               // the number of matches (bold)
  QListWidget* FlatListBox1;    // the matching head words
  QPushButton* FlatButton1;     // Search
  QPushButton* FlatButton2;     // Meaning
  QPushButton* FlatButton3;     // Close

  // Handlers.
  void FormShow();
  void FlatButton1Click();
  void FlatButton2Click();
  void FlatListBox1DblClick() { FlatButton2Click(); }
  void FlatButton3Click();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void buildControls();
  void fillFieldChoice(std::int16_t language);

  // The language the field choice was last filled in; the design's Chinese.
  std::int16_t labelledLanguage_ = 1;
};

}  // namespace kirvale::app
