#include "app/flash.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

#include "ui/images.h"
#include "ui/widgets.h"

namespace kirvale::app {
using namespace kirvale::ui;

TForm10::TForm10(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("TForm10");
  setFixedSize(378, 233);
  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(0, 0, 378, 233);
  Image1->setPixmap(SplashPixmap());
  CentreOnScreen(this);
  qApp->installEventFilter(this);
}

bool TForm10::eventFilter(QObject* watched, QEvent* e) {
  if (!watched->isWidgetType() || watched == this) return QWidget::eventFilter(watched, e);
  auto* w = static_cast<QWidget*>(watched);
  if (e->type() == QEvent::Show && w->isWindow() && (w->isModal() || qobject_cast<QDialog*>(w))) {
    dialog_ = w;
    hide();
  } else if (e->type() == QEvent::Hide && w == dialog_) {
    dialog_ = nullptr;
    show();
  }
  return QWidget::eventFilter(watched, e);
}

bool TForm10::hasPicture() const { return !Image1->pixmap().isNull(); }

}  // namespace kirvale::app
