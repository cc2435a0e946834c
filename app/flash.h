// The splash window shown while the program starts. It stays on top of the
// other windows, so it steps aside while any dialog or message box is open:
// a start-up message is always visible and can be answered.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace kirvale::app {

class TForm10 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm10(QWidget* parent = nullptr);
  bool hasPicture() const;
  QLabel* Image1;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QPointer<QWidget> dialog_;
};

}  // namespace kirvale::app
