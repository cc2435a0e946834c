// The splash window shown while the program starts.
#pragma once

#include <QWidget>

class QLabel;

namespace kirvale::app {

class TForm10 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm10(QWidget* parent = nullptr);
  bool hasPicture() const;
  QLabel* Image1;
};

}  // namespace kirvale::app
