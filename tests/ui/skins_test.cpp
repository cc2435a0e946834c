// The skin engine: selecting a skin, indexes out of range, controls tagged 99
// that no skin touches, and re-skinning one window on request.
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "app/main.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"
#include "ui/skins.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QImage look(QWidget* w) {
  QApplication::processEvents();
  return w->grab().toImage();
}
}  // namespace

class SkinsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<app::TForm3> start(const ProgramFolder& folder) {
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    auto w = std::make_unique<app::TForm3>();
    if (!w->FormCreate()) qFatal("start-up failed");
    w->show();
    return w;
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    ui::Presenter::setHandler([](ui::DialogKind, const QString&) { return true; });
  }

  void fourDistinctSkins() {
    QSet<QString> sheets;
    for (int n = 0; n < 4; ++n) {
      const QString sheet = ui::SkinSheet(n);
      QVERIFY2(sheet.contains("QScrollBar") && sheet.contains("QTabBar::tab") && sheet.contains("QGroupBox") &&
                   sheet.contains("QMenu::item") && sheet.contains("QProgressBar") && sheet.contains("QCheckBox"),
               qPrintable(QString::number(n)));
      sheets.insert(sheet);
    }
    QCOMPARE(sheets.size(), 4);
    QVERIFY(ui::SkinSheet(4).isEmpty());
    QVERIFY(ui::SkinSheet(-1).isEmpty());
  }

  void outOfRangeKeepsTheSkin() {
    ProgramFolder folder;
    auto w = start(folder);
    w->SelectStyle(2);
    QCOMPARE(ui::CurrentSkin(), 2);
    const int changes = ui::SkinChanges();
    const QImage before = look(w.get());
    for (std::int16_t n : {std::int16_t(4), std::int16_t(5), std::int16_t(-1), std::int16_t(32767)}) {
      ui::Published.SelectStyle(n);
      QCOMPARE(ui::CurrentSkin(), 2);
    }
    QCOMPARE(ui::SkinChanges(), changes);
    QCOMPARE(qApp->styleSheet(), ui::SkinSheet(2));
    QCOMPARE(look(w.get()), before);
    w->close();
  }

  void tag99ControlsKeepTheirLook() {
    ProgramFolder folder;
    auto w = start(folder);
    QCOMPARE(w->SpeedButton1->property("tag").toInt(), 99);
    // Pressed, a flat image button shows its frame and background.
    w->SpeedButton1->setDown(true);
    w->FlatButton2->setDown(true);
    QImage plain, skinned;
    for (int n = 0; n < 4; ++n) {
      w->SelectStyle(static_cast<std::int16_t>(n));
      const QImage copy = look(w->SpeedButton1);
      const QImage advanced = look(w->FlatButton2);
      if (n == 0) {
        plain = copy;
        skinned = advanced;
        continue;
      }
      QCOMPARE(copy, plain);
      // The skinned image button beside it does change.
      QVERIFY2(advanced != skinned, qPrintable(QString::number(n)));
    }
    w->close();
  }

  void reskinOneWindow() {
    ProgramFolder folder;
    auto w = start(folder);
    w->SelectStyle(1);
    // Controls added after the skin was selected: a tag-99 button and a
    // scroll bar switched on later.
    auto* late = new QToolButton(w.get());
    late->setObjectName("late");
    late->setProperty("tag", 99);
    late->setGeometry(100, 300, 18, 18);
    late->show();
    w->FlatMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui::ReskinWindow(w.get());
    QCOMPARE(late->styleSheet(), w->SpeedButton1->styleSheet());
    QVERIFY(!late->styleSheet().isEmpty());
    QCOMPARE(ui::CurrentSkin(), 1);
    // The scroll bar wears the skin: its handle has the skin's sage green.
    QScrollBar* bar = w->FlatMemo1->verticalScrollBar();
    QVERIFY(bar->isVisible());
    const QImage image = look(bar);
    bool sage = false;
    for (int y = 0; y < image.height() && !sage; ++y)
      for (int x = 0; x < image.width() && !sage; ++x) sage = image.pixelColor(x, y) == QColor(0xBF, 0xD3, 0xA5);
    QVERIFY(sage);
    // A null window is ignored.
    ui::ReskinWindow(nullptr);
    w->close();
  }
};

QTEST_MAIN(SkinsTest)
#include "skins_test.moc"
