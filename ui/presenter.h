// Every modal message, confirmation and error box goes through here, so that
// a test can read the text that would have been shown and give the answer
// without a dialog blocking the run.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kirvale::ui {

enum class DialogKind {
  Information,   // information dialog with OK
  Confirmation,  // Yes/No question; the answer is returned
  Error,         // the standard error box
  Plain,         // plain message box with OK
};

class Presenter {
 public:
  // Returns true for OK / Yes.
  static bool show(QWidget* parent, DialogKind kind, const QString& text);
  static void info(QWidget* parent, const QString& text) { show(parent, DialogKind::Information, text); }
  static bool confirm(QWidget* parent, const QString& text) { return show(parent, DialogKind::Confirmation, text); }
  static void error(QWidget* parent, const QString& text) { show(parent, DialogKind::Error, text); }
  static void message(QWidget* parent, const QString& text) { show(parent, DialogKind::Plain, text); }

  // With a handler installed no dialog opens: the handler sees the kind and
  // text and returns the answer.
  using Handler = std::function<bool(DialogKind, const QString&)>;
  static void setHandler(Handler handler);
};

}  // namespace kirvale::ui
