// The about window: its pictures and labels, the slot cycle of the scrolling
// text, pausing, and the close label.
#include <QAction>
#include <QEnterEvent>
#include <QFrame>
#include <QTimer>
#include <QtTest>
#include <cstdlib>

#include "app/about.h"
#include "app/main.h"
#include "settings/interface_language.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using app::TForm5;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

// With KIRVALE_SCREENSHOT_DIR set, the window is saved there as a picture to
// look at.
void saveShot(QWidget* w, const char* name) {
  if (const char* dir = std::getenv("KIRVALE_SCREENSHOT_DIR"))
    w->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

// Ticks until the slot changes; returns how many ticks that took.
int ticksUntilNextSlot(TForm5& w) {
  const int slot = w.slot();
  int ticks = 0;
  while (w.slot() == slot && ticks < 10000) {
    w.Timer1Timer();
    ++ticks;
  }
  return ticks;
}
}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { ui::ResetProcessState(); }

  void theWindowAsDesigned() {
    TForm5 w;
    QCOMPARE(w.size(), QSize(299, 194));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.Panel1->geometry(), QRect(8, 10, 282, 174));
    QCOMPARE(w.Label2->text(), u8("确 定"));
    QCOMPARE(w.Label2->property("tag").toInt(), 172);
    QCOMPARE(w.Label2->pos(), QPoint(241, 154));
    QCOMPARE(w.Label2->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w.Label1->pos(), QPoint(43, 100));
    QCOMPARE(w.Timer1->interval(), 30);
    QVERIFY(!w.Timer1->isActive());
    // The pictures are drawn when the window is first shown.
    w.show();
    QCOMPARE(w.Image1->pixmap().size(), QSize(299, 194));
    QCOMPARE(w.Image2->pixmap().size(), QSize(282, 174));
    // Pictures, not flat fills.
    const QImage back = w.Image1->pixmap().toImage(), panel = w.Image2->pixmap().toImage();
    QVERIFY(back.pixel(5, 5) != back.pixel(290, 150));
    QVERIFY(panel.pixel(140, 5) != panel.pixel(140, 170));
    w.hide();
    // The texts: the name and version, four acknowledgements of two or three
    // lines that credit the data, a closing notice of two lines, an empty one.
    QCOMPARE(u8(TForm5::Slots()[0]), u8("Kirvale 2.10版"));
    for (int i = 1; i <= 4; ++i) {
      const int lines = u8(TForm5::Slots()[i]).count('\n') + 1;
      QVERIFY2(lines == 2 || lines == 3, TForm5::Slots()[i]);
    }
    const QString all = u8(TForm5::Slots()[1]) + u8(TForm5::Slots()[2]) + u8(TForm5::Slots()[3]) +
                        u8(TForm5::Slots()[4]);
    for (const char* credit : {"EDICT", "EDRDG", "CC-CEDICT", "MDBG", "OpenCC", "SKK", "IPAdic", "jieba", "SCOWL"})
      QVERIFY2(all.contains(credit), credit);
    QCOMPARE(u8(TForm5::Slots()[5]).count('\n'), 1);
    QCOMPARE(u8(TForm5::Slots()[6]), QString());
    // Every line fits the panel to the right of where the text starts.
    for (const char* text : TForm5::Slots()) {
      w.Label1->setText(u8(text));
      w.Label1->adjustSize();
      QVERIFY2(w.Label1->x() + w.Label1->width() <= 282, text);
    }
  }

  void theSlotsCycleOneScrollAtATime() {
    TForm5 w;
    w.show();
    QVERIFY(w.Timer1->isActive());
    QCOMPARE(w.slot(), 1);
    QCOMPARE(w.Label1->text(), QString("Kirvale 2.10") + u8("版"));
    saveShot(&w, "about-title");
    // Slot 1: one line, until its bottom is more than 19 pixels above the
    // panel; the next tick shows slot 2 at 100.
    int h = w.Label1->height();
    QCOMPARE(ticksUntilNextSlot(w), 100 + h + 20 + 1);
    QCOMPARE(w.slot(), 2);
    QCOMPARE(w.Label1->y(), 100);
    // A three-line text is taller and takes that much longer.
    QCOMPARE(w.Label1->text().count('\n'), 2);
    const int h3 = w.Label1->height();
    QVERIFY(h3 > 2 * h);
    for (int i = 0; i < 60; ++i) w.Timer1Timer();
    saveShot(&w, "about-scrolling");
    for (int i = 0; i < 60; ++i) w.Timer1Timer();
    QCOMPARE(w.Label1->y(), 100 - 120);
    w.Label1->move(w.Label1->x(), 100);
    for (int i = 0; i < 100 + h3 + 20; ++i) w.Timer1Timer();
    QCOMPARE(w.slot(), 2);
    QCOMPARE(w.Label1->y() + h3, -20);  // last line 20 pixels above the panel
    w.Timer1Timer();
    QCOMPARE(w.slot(), 3);
    QCOMPARE(w.Label1->y(), 100);
    // Through slot 6 into the empty slot 7: one full empty pass, then the title.
    while (w.slot() != 7) ticksUntilNextSlot(w);
    QCOMPARE(w.Label1->text(), QString());
    QCOMPARE(w.Label1->y(), 100);
    QCOMPARE(ticksUntilNextSlot(w), 100 + w.Label1->height() + 20 + 1);
    QCOMPARE(w.slot(), 1);
    QCOMPARE(w.Label1->text(), QString("Kirvale 2.10") + u8("版"));
    QCOMPARE(w.Label1->y(), 100);
    // The timer drives the same ticks.
    QTRY_VERIFY_WITH_TIMEOUT(w.Label1->y() < 95, 2000);
  }

  void pausingClosingAndShowingAgain() {
    TForm5 w;
    w.show();
    for (int i = 0; i < 150; ++i) w.Timer1Timer();
    QCOMPARE(w.slot(), 2);
    // A click on the text pauses, another resumes.
    QTest::mouseClick(w.Label1, Qt::LeftButton);
    QVERIFY(!w.Timer1->isActive());
    QTest::mouseClick(w.Label1, Qt::LeftButton);
    QVERIFY(w.Timer1->isActive());
    QTest::mouseClick(w.Label1, Qt::LeftButton);
    QVERIFY(!w.Timer1->isActive());
    const int top = w.Label1->y();
    // The close label turns blue under the pointer.
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w.Label2, &enter);
    QVERIFY(w.Label2->styleSheet().contains("blue"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w.Label2, &leave);
    QVERIFY(w.Label2->styleSheet().contains("black"));
    // Closing while paused; showing again resumes with the title where the
    // label was.
    QTest::mouseClick(w.Label2, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.Timer1->isActive());
    w.show();
    QVERIFY(w.Timer1->isActive());
    QCOMPARE(w.slot(), 1);
    QCOMPARE(w.Label1->text(), QString("Kirvale 2.10") + u8("版"));
    QCOMPARE(w.Label1->y(), top);
    // Hiding in any other way stops the timer too.
    w.hide();
    QVERIFY(!w.Timer1->isActive());
  }

  void theMainMenuOpensItInEitherLanguage() {
    kirvale::testing::ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    ui::Presenter::setHandler([](ui::DialogKind, const QString&) { return true; });
    app::TForm3 main;
    QVERIFY(main.FormCreate());
    QVERIFY(main.N7->isEnabled());
    QVERIFY(main.about());
    // The English interface gives the close label its English text.
    QCOMPARE(main.about()->Label2->text(), QString("OK"));
    QTimer::singleShot(50, [&] {
      QVERIFY(main.about()->isVisible());
      QVERIFY(main.about()->Timer1->isActive());
      main.about()->Label2Click();
    });
    main.N7->trigger();
    QVERIFY(!main.about()->isVisible());
    QVERIFY(!main.about()->Timer1->isActive());
    main.close();
  }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
