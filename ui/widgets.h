// Small helpers every window uses to build its controls.
#pragma once

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

}  // namespace kirvale::ui
