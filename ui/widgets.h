// Small helpers every window uses to build its controls.
#pragma once

#include <QFont>
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

}  // namespace kirvale::ui
