#include "app/flash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "ui/images.h"

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
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TForm10::hasPicture() const { return !Image1->pixmap().isNull(); }

}  // namespace kirvale::app
