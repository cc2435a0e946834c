#include "settings/interface_language.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QVariant>

#include "settings/language_table.h"

namespace kirvale::settings {
namespace {

struct Registered {
  QPointer<QWidget> window;
  std::function<void()> fixedTexts;
};

QList<Registered>& windows() {
  static QList<Registered> w;
  return w;
}

int tagOf(const QObject* o) { return o->property("tag").toInt() & 0xFF; }

bool inCaptionRange(int t) { return (t >= 131 && t <= 140) || (t >= 150 && t <= 213); }

void setCaption(QObject* o, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(o))
    b->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(o))
    l->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(o))
    g->setTitle(text);
  else if (auto* w = qobject_cast<QWidget*>(o))
    w->setWindowTitle(text);
  else
    o->setProperty("text", text);
}

bool isRegistered(const QObject* o) {
  for (const Registered& r : windows())
    if (r.window == o) return true;
  return false;
}

// The window's components in creation order, leaving out other registered
// windows (a dialog owned by the main window) and everything they hold.
void collect(QObject* parent, QList<QObject*>& out) {
  for (QObject* child : parent->children()) {
    if (isRegistered(child)) continue;
    out.append(child);
    collect(child, out);
  }
}

}  // namespace

void RegisterWindow(QWidget* window, std::function<void()> fixedTexts) {
  windows().append({window, std::move(fixedTexts)});
}

void ForgetWindows() { windows().clear(); }

QFont CaptionFont(std::int16_t language) {
  QFont f(language == 0 ? "Arial" : QString::fromUtf8("宋体"));
  f.setPointSize(language == 0 ? 8 : 10);
  return f;
}

bool ApplyInterfaceLanguage(const QString& tablePath, std::int16_t language) {
  LanguageTable table;
  if (!table.Open(tablePath.toStdString())) return false;
  auto lookUp = [&](int tag) { return QString::fromStdString(table.LookUpTagText(tag, language)); };
  for (const Registered& r : windows()) {
    QWidget* window = r.window;
    if (!window) continue;
    if (window->property("tag").toInt() != 0) window->setWindowTitle(lookUp(window->property("tag").toInt()));
    QList<QObject*> components;
    collect(window, components);
    for (QObject* o : components) {
      const int t = tagOf(o);
      if (t == 0 || o->objectName().isEmpty()) continue;
      if (inCaptionRange(t))
        if (auto* w = qobject_cast<QWidget*>(o)) w->setFont(CaptionFont(language));
      if (t >= 101 && t <= 124) {
        if (auto* w = qobject_cast<QWidget*>(o))
          w->setToolTip(lookUp(t));
        else if (auto* a = qobject_cast<QAction*>(o))
          a->setToolTip(lookUp(t));
      } else if (t >= 141 && t <= 149) {
        if (auto* a = qobject_cast<QAction*>(o)) a->setText(lookUp(t));
      } else if (inCaptionRange(t)) {
        setCaption(o, lookUp(t));
      }
    }
  }
  return true;
}

void ApplyLanguageToFixedTexts() {
  for (const Registered& r : windows())
    if (r.window && r.fixedTexts) r.fixedTexts();
}

}  // namespace kirvale::settings
