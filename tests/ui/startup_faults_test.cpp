// Start-ups that go wrong: messages under the splash, a termination signal
// mid start-up, a per-user folder that cannot be made or written, a damaged
// dictionary, and the activation message of a later start.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>

#include "app/flash.h"
#include "app/main.h"
#include "app/select.h"
#include "crypto/aes.h"
#include "platform/single_instance.h"
#include "platform/termination.h"
#include "support/program_folder.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;
using kirvale::testing::ReadBytes;
using kirvale::testing::WriteBytes;

namespace {

QStringList entries(const std::string& dir) {
  return QDir(QString::fromStdString(dir)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

QWidget* splash() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "TForm10") return w;
  return nullptr;
}

// Acts on each modal dialog as it opens (up to `times` of them), and closes
// any dialog still open after a while so that a failing test cannot hang.
struct OnDialog {
  std::function<void(QWidget*)> act;
  int times = 1;
  int seen = 0;
  QPointer<QWidget> last;
  QObject context;  // its end stops the watching
  void arm() {
    QTimer::singleShot(10, &context, [this] {
      QWidget* m = QApplication::activeModalWidget();
      if (!m || m == last) {
        arm();
        return;
      }
      last = m;
      ++seen;
      act(m);
      QTimer::singleShot(3000, m, [m] { m->close(); });
      if (seen < times) arm();
    });
  }
};

// A damaged container: its header claims far more than the 32 bytes behind it.
void damage(const ProgramFolder& folder, const char* name) {
  WriteBytes(folder.file(name), std::string("\xF0\xFF\xFF\x7F", 4) + std::string(32, 'x'));
}

}  // namespace

class StartupFaultsTest : public QObject {
  Q_OBJECT
  QStringList shown;

  void recordMessages() {
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
  }

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    recordMessages();
  }

  void startUpMessagesAreNotHiddenUnderTheSplash() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    folder.remove("language.ini");
    ui::Presenter::setHandler(nullptr);  // the real message box
    bool splashHidden = false, boxVisible = false;
    QString text;
    OnDialog answer{[&](QWidget* m) {
      QWidget* s = splash();
      splashHidden = s && !s->isVisible();
      boxVisible = m->isVisible();
      if (auto* box = qobject_cast<QMessageBox*>(m)) text = box->text();
      m->close();
    }};
    answer.arm();
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(answer.seen, 1);
    QVERIFY(text.startsWith("File(s) missing:language.ini"));
    QVERIFY(boxVisible);
    QVERIFY(splashHidden);
    QVERIFY(!splash());  // closed at the end of the start-up
    recordMessages();
    w.close();
  }

  void terminationDuringTheLanguageQuestionWritesNothing() {
    ProgramFolder folder;
    platform::TerminationSignals termination;
    app::TForm3 w;
    connect(&termination, &platform::TerminationSignals::requested, &w, &app::TForm3::requestClose);
    OnDialog kill{[](QWidget* m) {
      QVERIFY(qobject_cast<app::TForm1*>(m));
      ::raise(SIGTERM);
    }};
    kill.arm();
    QVERIFY(!w.FormCreate());
    QCOMPARE(kill.seen, 1);
    QVERIFY(w.closeRequested());
    QVERIFY(shown.isEmpty());
    // No settings, no plain copies: the next start asks again.
    QCOMPARE(entries(folder.windowsDir()), QStringList());
    w.close();
    QCOMPARE(entries(folder.windowsDir()), QStringList());
    QVERIFY(!Exists(folder.file("history.txt")));
    QVERIFY(!Exists(folder.file("newdict.dic")));
  }

  void terminationDuringAStartUpMessageWritesNothing() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1) + "speed:60\r\n");
    const std::string settingsBefore = ReadBytes(folder.windowsDir() + "/winnt001.ini");
    WriteBytes(folder.file("history.txt"), "apple\r\n");
    folder.remove("appendix.app");
    ui::Presenter::setHandler(nullptr);
    platform::TerminationSignals termination;
    app::TForm3 w;
    connect(&termination, &platform::TerminationSignals::requested, &w, &app::TForm3::requestClose);
    OnDialog kill{[](QWidget*) { ::raise(SIGTERM); }};
    kill.arm();
    QVERIFY(!w.FormCreate());
    recordMessages();
    QCOMPARE(kill.seen, 1);
    w.close();
    QCOMPARE(ReadBytes(folder.windowsDir() + "/winnt001.ini"), settingsBefore);
    QCOMPARE(entries(folder.windowsDir()), QStringList{"winnt001.ini"});
    QCOMPARE(ReadBytes(folder.file("history.txt")), std::string("apple\r\n"));

    // Once started, the signal is an ordinary close: settings saved.
    ui::ResetProcessState();
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    platform::TerminationSignals again;
    app::TForm3 w2;
    connect(&again, &platform::TerminationSignals::requested, &w2, &app::TForm3::requestClose);
    QVERIFY(w2.FormCreate());
    w2.show();
    ::raise(SIGTERM);
    QTRY_VERIFY(!w2.isVisible());
    QVERIFY(!Exists(folder.windowsDir() + "/english.dic"));
    QCOMPARE(QString::fromStdString(folder.readSettings()),
             QString::fromStdString(kirvale::testing::DefaultSettingsText(1)));
  }

  void perUserFolderThatCannotBeMadeEndsTheProgram() {
    ProgramFolder folder;
    // A file where the folder's parent should be.
    WriteBytes(folder.file("state"), "not a folder");
    ::setenv("XDG_STATE_HOME", folder.file("state").c_str(), 1);
    const QStringList before = entries(folder.path());
    const bool rootSettings = Exists("/winnt001.ini");
    OnDialog safety{[](QWidget* m) { m->close(); }};
    safety.arm();
    app::TForm3 w;
    QVERIFY(!w.FormCreate());
    QCOMPARE(safety.seen, 0);  // no language question
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].contains(QString::fromStdString(folder.file("state") + "/kirvale")));
    QVERIFY(shown[0].contains("Not a directory"));
    QVERIFY(shown[0].contains("Kirvale ends without writing anything"));
    QVERIFY(shown[0].contains(QString::fromUtf8("程序将退出")));
    w.close();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(entries(folder.path()), before);
    QCOMPARE(Exists("/winnt001.ini"), rootSettings);
    QVERIFY(!Exists("/multilingual.dic"));
  }

  void settingsFolderProblemsAreReportedOnceWithTheirCause() {
    // Reading needs no plain copy: nothing can be made under its name here,
    // and the settings are read all the same.
    {
      ProgramFolder folder;
      folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
      ::mkdir((folder.windowsDir() + "/winnt002.ini").c_str(), 0700);
      OnDialog safety{[](QWidget* m) { m->close(); }};
      safety.arm();
      app::TForm3 w;
      QVERIFY(w.FormCreate());
      QCOMPARE(safety.seen, 0);
      QCOMPARE(ui::Settings.langu, 1);
      QVERIFY(shown.isEmpty());
      w.close();
    }
    // The settings file cannot be written: said once, with the reason, not
    // again at exit.
    ui::ResetProcessState();
    ProgramFolder folder;
    ::mkdir((folder.windowsDir() + "/winnt001.ini").c_str(), 0700);
    OnDialog english{[](QWidget* m) {
      auto* d = qobject_cast<app::TForm1*>(m);
      QVERIFY(d);
      d->RadioButton2->setChecked(true);
      d->Button1->click();
    }};
    english.arm();
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].startsWith("The settings could not be saved: "));
    QVERIFY(shown[0].contains("winnt001.ini"));
    QVERIFY(shown[0].contains("Is a directory"));
    w.close();
    QCOMPARE(shown.size(), 1);
  }

  void damagedDictionaryIsNamedAndNothingIsWritten() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    damage(folder, "english.dic");
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0], QString::fromUtf8("文件english.dic已损坏：文件头记载的长度为2147483632字节，实际只有32字节。"
                                         "请重新安装软件。"));
    QVERIFY(!Exists(folder.windowsDir() + "/english.dic"));
    w.close();
    QVERIFY(!Exists(folder.windowsDir() + "/multilingual.dic"));
  }

  void laterStartReachesAWindowWhoseStartUpStoppedEarly() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    damage(folder, "multilingual.dic");
    platform::MessageBus bus;
    QVERIFY(bus.Claim("Kirvale"));
    app::TForm3 w;
    w.setMessageBus(&bus);
    QVERIFY(w.FormCreate());
    QCOMPARE(shown.size(), 1);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showMinimized();
    QTRY_VERIFY(w.isMinimized());
    QVERIFY(platform::MessageBus::PostToWindow("Kirvale", platform::kMainWindowHandle,
                                               platform::kActivationMessage, 0, 0));
    QTRY_VERIFY(!w.isMinimized());
    w.close();
  }
};

QTEST_MAIN(StartupFaultsTest)
#include "startup_faults_test.moc"
