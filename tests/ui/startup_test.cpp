// Start-up and shutdown of the main window in a temporary program folder.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QListWidget>
#include <QRadioButton>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/globals.h"
#include "app/help.h"
#include "app/main.h"
#include "ui/presenter.h"
#include "app/select.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "support/program_folder.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;

namespace {

struct Shown {
  ui::DialogKind kind;
  QString text;
};

// Answers the language dialog when it appears: English or Chinese by OK, or
// closed from its title bar. Counts how often it appeared.
struct LanguageDialogAnswer {
  enum Mode { English, Chinese, CloseBox } mode;
  int seen = 0;
  void arm() {
    QTimer::singleShot(0, [this] {
      auto* dialog = qobject_cast<app::TForm1*>(QApplication::activeModalWidget());
      if (!dialog) {
        arm();
        return;
      }
      ++seen;
      if (mode == CloseBox) {
        dialog->reject();
        return;
      }
      (mode == English ? dialog->RadioButton2 : dialog->RadioButton1)->setChecked(true);
      dialog->Button1->click();
    });
  }
};

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT
  QList<Shown> shown;

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    ui::Presenter::setHandler([this](ui::DialogKind k, const QString& t) {
      shown.append({k, t});
      return true;
    });
  }

  void firstStartAsksLanguageWritesDefaultsAndCleansUpAtExit() {
    ProgramFolder folder;
    {
      LanguageDialogAnswer answer{LanguageDialogAnswer::CloseBox};
      answer.arm();
      app::TForm3 w;
      QVERIFY(w.FormCreate());
      QCOMPARE(answer.seen, 1);
      QVERIFY(w.firstStart());
      QCOMPARE(ui::Settings.langu, 0);  // closed from the title bar: English
      QVERIFY(shown.isEmpty());
      QVERIFY(Exists(folder.windowsDir() + "/multilingual.dic"));
      QVERIFY(Exists(folder.windowsDir() + "/english.dic"));
      QVERIFY(!Exists(folder.windowsDir() + "/winnt002.ini"));
      QCOMPARE(QString::fromStdString(folder.readSettings()),
               QString::fromStdString(kirvale::testing::DefaultSettingsText(0)));
      w.show();
      QApplication::setActiveWindow(&w);
      QVERIFY(QTest::qWaitForWindowActive(&w));
      QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.wordtext));
      w.close();
    }
    QVERIFY(!Exists(folder.windowsDir() + "/multilingual.dic"));
    QVERIFY(!Exists(folder.windowsDir() + "/english.dic"));
    QVERIFY(!Exists(folder.windowsDir() + "/winnt002.ini"));

    // The next start finds the settings and asks nothing.
    ui::ResetProcessState();
    LanguageDialogAnswer none{LanguageDialogAnswer::Chinese};
    app::TForm3 again;
    QVERIFY(again.FormCreate());
    QVERIFY(!again.firstStart());
    QCOMPARE(none.seen, 0);
    QCOMPARE(ui::Settings.speed, 35);
    QCOMPARE(ui::Settings.tipindex, -1);
    again.close();
  }

  void chineseChoiceIsStored() {
    ProgramFolder folder;
    LanguageDialogAnswer answer{LanguageDialogAnswer::Chinese};
    answer.arm();
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(ui::Settings.langu, 1);
    QCOMPARE(QString::fromStdString(folder.readSettings()),
             QString::fromStdString(kirvale::testing::DefaultSettingsText(1)));
    w.close();
  }

  void undecryptableSettingsAreReportedOnceAndStartUpGoesOn() {
    ProgramFolder folder;
    kirvale::testing::WriteBytes(folder.windowsDir() + "/winnt001.ini", std::string(21, 'z'));
    LanguageDialogAnswer answer{LanguageDialogAnswer::Chinese};
    answer.arm();
    {
      app::TForm3 w;
      QVERIFY(w.FormCreate());
      QCOMPARE(answer.seen, 1);  // the language could not be read: asked again
      QCOMPARE(shown.size(), 1);
      QCOMPARE(shown[0].kind, ui::DialogKind::Error);
      QVERIFY(shown[0].text.contains("Invalid buffer size for decryption"));
      QCOMPARE(ui::Settings.speed, 35);
      QVERIFY(Exists(folder.windowsDir() + "/multilingual.dic"));  // start-up went on
      w.close();
    }
    QCOMPARE(QString::fromStdString(folder.readSettings()),
             QString::fromStdString(kirvale::testing::DefaultSettingsText(1)));
  }

  void badValueKeepsEarlierFieldsAndDefaultsTheRest() {
    ProgramFolder folder;
    folder.writeSettings("langu:0\r\nstyle:2\r\nlevel:-1\r\nspeed:quick\r\ngivepron:0\r\n");
    LanguageDialogAnswer none{LanguageDialogAnswer::Chinese};
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(none.seen, 0);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.contains("'quick' is not a valid integer value"));
    QCOMPARE(ui::Settings.langu, 0);
    QCOMPARE(ui::Settings.style, 2);
    QCOMPARE(ui::Settings.level, -1);
    QCOMPARE(ui::Settings.speed, 35);
    QCOMPARE(ui::Settings.givepron, 1);  // after the bad line: first-run value
    QCOMPARE(ui::Settings.tipindex, -1);
    w.close();
  }

  void missingOptionalFileIsReportedAndTheProgramRunsOn() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    folder.remove("appendix.app");
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, ui::DialogKind::Information);
    QCOMPARE(shown[0].text,
             QString("File(s) missing:appendix.app . Some functions unavailable or it has to terminate. "
                     "Download the software again. See help file."));
    QVERIFY(Exists(folder.windowsDir() + "/english.dic"));
    w.close();
  }

  void missingStylePicturesAreListedOnceInChinese() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    for (int i = 0; i < 4; ++i) folder.remove("styles/" + std::to_string(i) + ".jpg");
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QString::fromUtf8("以下文件丢失：style file 。某些功能将不可用或者无法运行；"
                                              "建议重新下载软件。请参阅帮助文件。"));
    w.close();
  }

  void missingDictionaryEndsTheStartWithoutDecrypting() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    folder.remove("english.dic");
    app::TForm3 w;
    QVERIFY(!w.FormCreate());
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.startsWith("File(s) missing:english.dic ."));
    QVERIFY(!Exists(folder.windowsDir() + "/multilingual.dic"));
    QVERIFY(!Exists(folder.windowsDir() + "/english.dic"));
  }

  void helpOpensTheHelpFileOnlyWhenItExists() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    QStringList opened;
    platform::SetShellOpener([&](const QString& p) {
      opened << p;
      return true;
    });
    app::SetDesktopHelpQuery([] { return true; });  // a desktop with a help viewer
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    w.N9->trigger();
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened[0].endsWith("/Kirvale.chm"));
    folder.remove("Kirvale.chm");
    const auto before = shown.size();
    w.N9->trigger();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(shown.size(), before + 1);  // said, not silently skipped
    platform::SetShellOpener(nullptr);
    app::SetDesktopHelpQuery(nullptr);
    w.close();
  }

  void menuHoldsEveryItemInOrder() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QStringList names;
    for (QAction* a : w.PopupMenu1->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    QCOMPARE(names, (QStringList{"N10", "N1", "-", "N2", "N4", "N6", "-", "N9", "N7", "N11"}));
    QCOMPARE(w.N9->text(), QString::fromUtf8("帮助主题"));
    QVERIFY(w.N9->isEnabled());
    QVERIFY(w.N11->isEnabled());
    QCOMPARE(w.size(), QSize(491, 353));
    QCOMPARE(w.windowTitle(), QString("Kirvale"));
    w.close();
  }

  void activationRestoresAndDeactivationMinimises() {
    ProgramFolder folder;
    LanguageDialogAnswer answer{LanguageDialogAnswer::English};
    answer.arm();
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // On a first start the first switch to another application is ignored.
    w.ApplicationDeactivate();
    QVERIFY(!w.isMinimized());
    w.ApplicationDeactivate();
    QTRY_VERIFY(w.isMinimized());
    QTRY_VERIFY(ui::MinimisedFlag);
    QCoreApplication::postEvent(&w, new platform::WindowMessageEvent(platform::kActivationMessage, 0, 0));
    QTRY_VERIFY(!w.isMinimized());
    QTRY_VERIFY(!ui::MinimisedFlag);
    w.close();
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
