#include "ui/presenter.h"

#include <QApplication>
#include <QMessageBox>

namespace kirvale::ui {
namespace {
Presenter::Handler& handler() {
  static Presenter::Handler h;
  return h;
}
}  // namespace

void Presenter::setHandler(Handler h) { handler() = std::move(h); }

bool Presenter::show(QWidget* parent, DialogKind kind, const QString& text) {
  if (handler()) return handler()(kind, text);
  const QString title = QApplication::applicationName();
  switch (kind) {
    case DialogKind::Information:
      QMessageBox::information(parent, "Information", text, QMessageBox::Ok);
      return true;
    case DialogKind::Confirmation:
      return QMessageBox::question(parent, "Confirm", text, QMessageBox::Yes | QMessageBox::No) ==
             QMessageBox::Yes;
    case DialogKind::Error:
      QMessageBox::critical(parent, "Error", text, QMessageBox::Ok);
      return true;
    case DialogKind::Plain:
      QMessageBox::information(parent, title, text, QMessageBox::Ok);
      return true;
  }
  return false;
}

}  // namespace kirvale::ui
