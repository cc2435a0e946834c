// The word-of-the-day window, opened from the main window's menu and at
// start-up, in a temporary program folder.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/main.h"
#include "personal/tip.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::ProgramFolder;

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }

// The first-run settings with the given language and word-of-the-day values.
std::string settingsText(int langu, int showtip, int tipindex) {
  std::string s = kirvale::testing::DefaultSettingsText(langu);
  auto set = [&s](const std::string& key, int value) {
    const std::size_t at = s.find(key + ":");
    const std::size_t end = s.find("\r\n", at);
    s.replace(at, end - at, key + ":" + std::to_string(value));
  };
  set("showtip", showtip);
  set("tipindex", tipindex);
  return s;
}

// Runs `drive` on the word of the day once it is shown modally, then closes
// it if `drive` did not. Counts the showings.
struct TipWatcher {
  std::function<void(app::TForm2*)> drive;
  int seen = 0;
  void arm() {
    QTimer::singleShot(0, [this] {
      auto* w = qobject_cast<app::TForm2*>(QApplication::activeModalWidget());
      if (!w) {
        arm();
        return;
      }
      ++seen;
      if (drive) drive(w);
      if (w->isVisible()) w->FlatButton2->click();
    });
  }
};

const QString kSix = "      ";
QString dots() { return QString(18, QChar(0x00B7)); }
QString header(const QString& name) { return kSix + dots() + name + dots() + kSix; }
}  // namespace

class TipTest : public QObject {
  Q_OBJECT
  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<app::TForm3> w;

  void start(int langu, int showtip, int tipindex, TipWatcher* atStart = nullptr) {
    ui::ResetProcessState();
    folder = std::make_unique<ProgramFolder>();
    folder->writeSettings(settingsText(langu, showtip, tipindex));
    if (atStart) atStart->arm();
    w = std::make_unique<app::TForm3>();
    QVERIFY(w->FormCreate());
    w->show();
  }

 private slots:
  void init() {
    ui::Presenter::setHandler([](ui::DialogKind, const QString&) { return true; });
  }
  void cleanup() {
    if (w) w->close();
    w.reset();
    folder.reset();
  }

  void openedTwiceFromTheMenuAdvancesTwoEntriesAndTheIndexIsSaved() {
    start(1, 0, -1);
    QVERIFY(w->N6->isEnabled());
    app::TForm2* tip = w->wordOfTheDay();
    QVERIFY(tip);
    QVERIFY(!tip->FlatCheckBox1->isChecked());  // ApplySettings: showtip 0
    TipWatcher watcher;
    QStringList labels, memos;
    watcher.drive = [&](app::TForm2* t) {
      labels << t->Label1->text();
      memos << t->FlatMemo1->toPlainText();
    };
    watcher.arm();
    w->N6->trigger();
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(ui::Settings.tipindex, 0);  // first run: the first line
    watcher.arm();
    w->N6->trigger();
    QCOMPARE(watcher.seen, 2);
    QCOMPARE(ui::Settings.tipindex, 1);
    QCOMPARE(labels, (QStringList{u8("◇愛\n〖あい〗"), u8("◇青い\n〖あおい〗")}));
    QCOMPARE(memos[1], header(u8("中文")) + "\n" + u8("蓝色的；青色的") + "\n" + header(u8("英语")) + "\n" +
                           "(adj-i) blue/green/pale");
    QCOMPARE(tip->result(), int(QDialog::Accepted));
    // Closing the program writes the index with the other settings.
    w->close();
    w.reset();
    QVERIFY(QString::fromStdString(folder->readSettings()).contains("tipindex:1\r\n"));
  }

  void nextWrapsAtTheLastLineAndTheWindowLooksAsDesigned() {
    start(0, 0, 75);  // the sample dictionary's last line index is 76
    app::TForm2* tip = w->wordOfTheDay();
    tip->show();
    QCOMPARE(tip->size(), QSize(356, 216));
    QCOMPARE(tip->windowTitle(), QString("Word of the Day"));
    QCOMPARE(tip->FlatGroupBox1->title(), QString("Japanese"));
    QCOMPARE(tip->FlatButton1->text(), QString("Next word"));
    QCOMPARE(tip->Image1->geometry(), QRect(8, 10, 135, 176));
    QVERIFY(!tip->Image1->pixmap().isNull());
    QCOMPARE(tip->FlatMemo1->geometry(), QRect(152, 72, 193, 113));
    QVERIFY(tip->FlatMemo1->isReadOnly());
    QCOMPARE(ui::Settings.tipindex, 76);
    QCOMPARE(tip->Label1->text(), u8("◇パン\n"));  // no kana: nothing after the line break
    // English interface: English headers.
    QCOMPARE(tip->FlatMemo1->toPlainText(),
             header("Chinese") + "\n" + u8("面包") + "\n" + header("English") + "\n" + "(n) bread");
    QTest::mouseClick(tip->FlatButton1, Qt::LeftButton);
    QCOMPARE(ui::Settings.tipindex, 0);
    QCOMPARE(tip->Label1->text(), u8("◇愛\n〖あい〗"));
    QCOMPARE(ui::CurrentEntry.headWord, std::string("愛"));
    QTest::mouseClick(tip->FlatButton1, Qt::LeftButton);
    QCOMPARE(ui::Settings.tipindex, 1);
    QTest::mouseClick(tip->FlatButton2, Qt::LeftButton);
    QVERIFY(!tip->isVisible());
    // An index kept from a longer dictionary starts again at the first line.
    ui::Settings.tipindex = 20000;
    tip->show();
    QCOMPARE(ui::Settings.tipindex, 0);
    tip->FlatButton2->click();
  }

  void checkBoxSetsShowtipAndTheNextStartShowsTheWindow() {
    start(1, 0, 3);
    app::TForm2* tip = w->wordOfTheDay();
    tip->show();
    QCOMPARE(ui::Settings.tipindex, 4);
    QTest::mouseClick(tip->FlatCheckBox1, Qt::LeftButton);
    QCOMPARE(ui::Settings.showtip, 1);
    QTest::mouseClick(tip->FlatCheckBox1, Qt::LeftButton);
    QCOMPARE(ui::Settings.showtip, 0);
    QTest::mouseClick(tip->FlatCheckBox1, Qt::LeftButton);
    tip->FlatButton2->click();
    // ApplySettings puts the setting back into the box.
    ui::Settings.showtip = 0;
    ui::Published.ApplySettings();
    QVERIFY(!tip->FlatCheckBox1->isChecked());
    ui::Settings.showtip = 1;
    ui::Published.ApplySettings();
    QVERIFY(tip->FlatCheckBox1->isChecked());
    w->close();
    w.reset();
    const std::string saved = folder->readSettings();
    QVERIFY(QString::fromStdString(saved).contains("showtip:1\r\n"));
    QVERIFY(QString::fromStdString(saved).contains("tipindex:4\r\n"));

    // The next start shows the window at the end of the start-up, one entry
    // further, with the box checked; unchecking it keeps it away next time.
    const std::string settings = saved;
    auto again = [&](TipWatcher& watcher) {
      ui::ResetProcessState();
      folder->writeSettings(settings);
      watcher.arm();
      w = std::make_unique<app::TForm3>();
      QVERIFY(w->FormCreate());
    };
    TipWatcher atStart;
    QString shownLabel;
    atStart.drive = [&](app::TForm2* t) {
      QVERIFY(t->FlatCheckBox1->isChecked());
      shownLabel = t->Label1->text();
      QTest::mouseClick(t->FlatCheckBox1, Qt::LeftButton);
    };
    again(atStart);
    QCOMPARE(atStart.seen, 1);
    QCOMPARE(ui::Settings.tipindex, 5);
    QCOMPARE(shownLabel, u8("◇明日\n〖あした〗"));
    QCOMPARE(ui::Settings.showtip, 0);
    w->close();
    w.reset();
    QVERIFY(QString::fromStdString(folder->readSettings()).contains("showtip:0\r\n"));
  }
};

QTEST_MAIN(TipTest)
#include "tip_test.moc"
