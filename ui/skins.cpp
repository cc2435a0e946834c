#include "ui/skins.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QStyle>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>

#include "settings/styles.h"
#include "ui/widgets.h"

namespace kirvale::ui {
namespace {

int current = -1;
int changes = 0;

QColor colour(std::uint32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// The look of an unskinned flat image button: no frame until the mouse is
// over it, a plain grey frame then. Every property any skin sets on a tool
// button is set here too, so that no skin shows through.
constexpr const char* kPlainSheet =
    "QToolButton{color:#000000;background:transparent;border:1px solid transparent;border-radius:0px;"
    "padding:1px;margin:0px;}"
    "QToolButton:hover{color:#000000;background:transparent;border:1px solid #808080;border-radius:0px;}"
    "QToolButton:pressed{color:#000000;background:transparent;border:1px solid #404040;border-radius:0px;}"
    "QToolButton:checked{color:#000000;background:transparent;border:1px solid #404040;border-radius:0px;}";

const QPalette& plainPalette() {
  static const QPalette p = [] {
    QPalette q(QColor(0xD4, 0xD0, 0xC8), QColor(0xD4, 0xD0, 0xC8));
    q.setColor(QPalette::WindowText, Qt::black);
    q.setColor(QPalette::ButtonText, Qt::black);
    q.setColor(QPalette::Text, Qt::black);
    q.setColor(QPalette::Base, Qt::white);
    return q;
  }();
  return p;
}

bool isUnskinned(const QWidget* w) { return w->property("tag").toInt() == 99; }

void plainTagged(QWidget* root) {
  if (isUnskinned(root)) KeepUnskinned(root);
  for (QWidget* w : root->findChildren<QWidget*>())
    if (isUnskinned(w)) KeepUnskinned(w);
}

}  // namespace

QString SkinSheet(int index) {
  if (index < 0 || index >= settings::kStyleCount) return {};
  QFile f(QString(":/skins/%1.qss").arg(index));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

QPalette SkinPalette(int index) {
  if (index < 0 || index >= settings::kStyleCount) return {};
  const settings::StyleColours& c = settings::Styles()[index].colours;
  QPalette p;
  p.setColor(QPalette::Window, colour(c.window));
  p.setColor(QPalette::WindowText, colour(c.text));
  p.setColor(QPalette::Base, colour(c.base));
  p.setColor(QPalette::AlternateBase, colour(c.panel));
  p.setColor(QPalette::Text, colour(c.text));
  p.setColor(QPalette::Button, colour(c.button));
  p.setColor(QPalette::ButtonText, colour(c.buttonText));
  p.setColor(QPalette::Highlight, colour(c.accent));
  p.setColor(QPalette::HighlightedText, colour(c.accentText));
  p.setColor(QPalette::ToolTipBase, colour(c.base));
  p.setColor(QPalette::ToolTipText, colour(c.text));
  p.setColor(QPalette::PlaceholderText, colour(c.text).lighter(180));
  // Light and dark shades for frames the base style draws (track bar,
  // check and radio indicators).
  p.setColor(QPalette::Light, colour(c.base));
  p.setColor(QPalette::Midlight, colour(c.panel));
  p.setColor(QPalette::Mid, colour(c.button).darker(130));
  p.setColor(QPalette::Dark, colour(c.button).darker(160));
  p.setColor(QPalette::Shadow, colour(c.text));
  // Disabled controls and menu items read as disabled in every skin.
  const QColor grey = QColor::fromRgb(0x8A, 0x8A, 0x8A);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, grey);
  return p;
}

void KeepUnskinned(QWidget* control) {
  control->setPalette(plainPalette());
  if (control->styleSheet() != kPlainSheet) control->setStyleSheet(kPlainSheet);
}

void SelectSkin(int index) {
  if (index < 0 || index >= settings::kStyleCount) return;
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  // One base style under every skin, so that a skin looks the same on
  // every desktop. (With a sheet in place the application's style is the
  // sheet's own, so the base style is set only once.)
  static bool baseStyleSet = false;
  if (!baseStyleSet) {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    baseStyleSet = true;
  }
  // Changing the style sheet resolves again the fonts of controls that
  // inherit theirs, and they fall back to the application's font: make that
  // the windows' design font, so a re-skin never changes a text's size.
  const QFont design = DesignFont();
  if (QApplication::font() != design) QApplication::setFont(design);
  // A control's own font (the language's caption font, a large word) stays
  // what it is: re-polishing can put back the font a control had when it
  // was first skinned.
  QHash<QWidget*, QFont> ownFonts;
  for (QWidget* w : QApplication::allWidgets()) {
    if (isUnskinned(w)) KeepUnskinned(w);
    if (w->testAttribute(Qt::WA_SetFont)) ownFonts.insert(w, w->font());
  }
  QApplication::setPalette(SkinPalette(index));
  qApp->setStyleSheet(SkinSheet(index));
  for (auto it = ownFonts.cbegin(); it != ownFonts.cend(); ++it)
    if (it.key()->font() != it.value()) it.key()->setFont(it.value());
  current = index;
  ++changes;
}

int CurrentSkin() { return current; }
int SkinChanges() { return changes; }

void ReskinWindow(QWidget* window) {
  if (!window || current < 0) return;
  plainTagged(window);
  QStyle* style = window->style();
  const QList<QWidget*> widgets = window->findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    style->unpolish(w);
    style->polish(w);
  }
  style->unpolish(window);
  style->polish(window);
  window->update();
}

}  // namespace kirvale::ui
