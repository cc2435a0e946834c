#include "app/select.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace kirvale::app {

TForm1::TForm1(QWidget* parent) : QDialog(parent) {
  setObjectName("TForm1");
  setWindowTitle("选择语言(Selecting a Language)");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFixedSize(300, 150);

  auto* l1 = new QLabel("选择您熟悉的一种语言", this);
  l1->setObjectName("Label1");
  l1->setGeometry(20, 14, 260, 20);
  auto* l2 = new QLabel("Select the language you are familiar with", this);
  l2->setObjectName("Label2");
  l2->setFont(QFont("Arial", 8));
  l2->setGeometry(20, 36, 260, 18);

  RadioButton1 = new QRadioButton("中文", this);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->setGeometry(40, 66, 100, 22);
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton("English", this);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton2->setGeometry(160, 66, 100, 22);

  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(112, 106, 76, 26);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
}

void TForm1::Button1Click() {
  chosen_ = RadioButton2->isChecked() ? 0 : 1;
  accept();
}

}  // namespace kirvale::app
