// Small helpers every window uses to build its controls.
#pragma once

#include <QDialog>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <string>

namespace kirvale::ui {

// UTF-8 text (all text inside the program) as a QString.
inline QString u8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline QString u8(const char* s) { return QString::fromUtf8(s); }

// Gives a control its designed name (tests find controls by it) and, when
// not 0, the language-table tag of its text.
template <typename W>
W* named(W* w, const char* name, int tag = 0) {
  w->setObjectName(name);
  if (tag != 0) w->setProperty("tag", tag);
  return w;
}

// The windows' design face "宋体" (a CJK serif face stands in for it) at a
// pixel size. Its bold is drawn from the regular face, as the design face
// has no bold of its own: one CJK face file, megabytes in memory, serves
// every text of the windows, bold or not.
inline QFont DesignFont(int pixelSize = 13) {
  QFont f(QString::fromUtf8("宋体"));
  f.setPixelSize(pixelSize);
  f.setStyleName(QStringLiteral("Regular"));
  return f;
}

// Places a window in the middle of the screen's free area.
inline void CentreOnScreen(QWidget* w) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    w->move(screen->availableGeometry().center() - w->rect().center());
}

// A dialog of fixed size with a single border and only the system menu, in
// the design font: its designed name, language-table tag and caption.
inline void SetUpFixedDialog(QDialog* d, const char* name, int tag, const char* caption, QSize size) {
  d->setObjectName(name);
  d->setProperty("tag", tag);
  d->setWindowTitle(u8(caption));
  d->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                    Qt::MSWindowsFixedSizeDialogHint);
  d->setFixedSize(size);
  d->setFont(DesignFont());
}

}  // namespace kirvale::ui
