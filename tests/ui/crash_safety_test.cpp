// The user's lists reach the disk a few seconds after each change, not only
// at exit: a killed program keeps what the user added. Files in the per-user
// folder are private, and plain copies left by a crash are replaced.
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main.h"
#include "personal/newwords.h"
#include "support/program_folder.h"
#include "text/codec.h"
#include "ui/autosave.h"
#include "ui/globals.h"
#include "ui/presenter.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;
using kirvale::testing::ReadBytes;
using kirvale::testing::WriteBytes;

namespace {

unsigned permissions(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 07777;
  return st.st_mode & 07777;
}

QProcess* startProgram(const ProgramFolder& folder, QObject* parent, const QString& display = {}) {
  auto* p = new QProcess(parent);
  p->setWorkingDirectory(QString::fromStdString(folder.path()));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (display.isEmpty()) {
    env.insert("QT_QPA_PLATFORM", "offscreen");
  } else {
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", display);
  }
  env.insert("XDG_STATE_HOME", QString::fromStdString(folder.stateHome()));
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.runtimeDir()));
  env.insert("ASAN_OPTIONS", "detect_leaks=0");
  p->setProcessEnvironment(env);
  p->setProcessChannelMode(QProcess::ForwardedChannels);
  p->start(KIRVALE_EXE, {});
  return p;
}

bool run(const QString& program, const QStringList& args, const QString& display, QByteArray* out = nullptr) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display);
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(20000)) return false;
  if (out) *out = p.readAllStandardOutput();
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

class CrashSafetyTest : public QObject {
  Q_OBJECT
  QStringList shown;

 private slots:
  void init() {
    ui::ResetProcessState();
    shown.clear();
    ui::Presenter::setHandler([this](ui::DialogKind, const QString& t) {
      shown << t;
      return true;
    });
  }

  void autosaveWritesOnceAfterChangesAndReportsAFailureOnce() {
    int saves = 0;
    bool failing = false;
    QStringList reports;
    ui::Autosave a(
        [&](std::string* error) {
          ++saves;
          if (failing) *error = "disk full";
          return !failing;
        },
        [&](const std::string& e) { reports << QString::fromStdString(e); }, nullptr, 50);
    QVERIFY(!a.pending());
    QVERIFY(a.flush());
    QCOMPARE(saves, 0);  // nothing changed, nothing written
    a.changed();
    a.changed();
    a.changed();
    QVERIFY(a.pending());
    QTRY_COMPARE(saves, 1);
    QVERIFY(!a.pending());
    QTest::qWait(120);
    QCOMPARE(saves, 1);

    failing = true;
    a.changed();
    QTRY_COMPARE(saves, 2);
    QCOMPARE(reports, QStringList{"disk full"});
    QVERIFY(a.pending());  // kept for the next try
    QVERIFY(a.failing());
    a.changed();
    QTRY_COMPARE(saves, 3);
    QCOMPARE(reports.size(), 1);  // the same trouble is not reported again
    failing = false;
    QVERIFY(a.flush());
    QCOMPARE(saves, 4);
    QVERIFY(!a.failing());
    failing = true;
    QVERIFY(!(a.changed(), a.flush()));
    QCOMPARE(reports.size(), 2);  // after a success, a new failure is news
    a.cancel();
    QVERIFY(!a.pending());
  }

  void listsAreWrittenSoonAfterEachChangeKeepingTheirPermissions() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    WriteBytes(folder.file("newdict.dic"), text::utf8ToGbk("猫[ねこ]/cat//猫/\r\n"));
    ::chmod(folder.file("newdict.dic").c_str(), 0640);
    // A plain copy left by a crash, readable by everyone.
    WriteBytes(folder.windowsDir() + "/english.dic", "left behind");
    ::chmod((folder.windowsDir() + "/english.dic").c_str(), 0644);
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    w.show();
    QCOMPARE(permissions(folder.windowsDir() + "/english.dic"), 0600u);
    QCOMPARE(permissions(folder.windowsDir() + "/multilingual.dic"), 0600u);
    QCOMPARE(permissions(folder.windowsDir() + "/winnt001.ini"), 0600u);
    QVERIFY(ReadBytes(folder.windowsDir() + "/english.dic").rfind("apple,", 0) == 0);

    w.wordtext->setText(QString::fromUtf8("犬"));
    QTest::keyClick(w.wordtext, Qt::Key_Return);
    w.SpeedButton2->click();
    QVERIFY(w.notebook()->autosave()->pending());
    QCOMPARE(w.notebook()->autosave()->delay(), ui::Autosave::kDefaultDelayMs);
    const std::string expected = text::utf8ToGbk("猫[ねこ]/cat//猫/\r\n犬[いぬ]/(n) dog//狗/\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(ReadBytes(folder.file("newdict.dic")), expected, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(ReadBytes(folder.file("history.txt")), text::utf8ToGbk("犬\r\n"), 10000);
    QCOMPARE(permissions(folder.file("newdict.dic")), 0640u);
    QVERIFY(shown.isEmpty());
    w.close();
    QCOMPARE(ReadBytes(folder.file("newdict.dic")), expected);
  }

  void failingAutosaveIsReportedWhenItHappensAndTheWordIsKept() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    // Something in the file's place that cannot be replaced.
    QVERIFY(QDir().mkdir(QString::fromStdString(folder.file("newdict.dic"))));
    w.wordtext->setText(QString::fromUtf8("犬"));
    QTest::keyClick(w.wordtext, Qt::Key_Return);
    w.SpeedButton2->click();
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 10000);
    QVERIFY(shown[0].startsWith("The new-words notebook could not be saved: "));
    QCOMPARE(w.notebook()->rowCount(), 1);
    // Once the way is clear, the exit save writes it.
    QVERIFY(QDir().rmdir(QString::fromStdString(folder.file("newdict.dic"))));
    w.close();
    QCOMPARE(ReadBytes(folder.file("newdict.dic")), text::utf8ToGbk("犬[いぬ]/(n) dog//狗/\r\n"));
  }

  void historyThatCouldNotBeReadIsNotWrittenEarly() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    QVERIFY(QDir().mkdir(QString::fromStdString(folder.file("history.txt"))));
    app::TForm3 w;
    QVERIFY(w.FormCreate());
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].startsWith("The search history could not be read: "));
    w.wordtext->setText("apple");
    QTest::keyClick(w.wordtext, Qt::Key_Return);
    QTest::qWait(ui::Autosave::kDefaultDelayMs + 500);
    QCOMPARE(shown.size(), 1);
    w.close();
    QCOMPARE(shown.size(), 2);  // the exit says why the list was not written
    QVERIFY(QFileInfo(QString::fromStdString(folder.file("history.txt"))).isDir());
  }

  void killedProgramKeepsTheWordItAdded() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xvfb.isEmpty() || xdotool.isEmpty()) QSKIP("needs Xvfb and xdotool (scripts/setup installs them)");
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    // Xvfb picks a free display and tells its number.
    QProcess x;
    x.setProcessChannelMode(QProcess::SeparateChannels);
    x.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QTRY_VERIFY_WITH_TIMEOUT(x.canReadLine(), 20000);
    const QString display = ":" + QString::fromLatin1(x.readLine()).trimmed();
    QProcess* app = startProgram(folder, this, display);
    QTRY_VERIFY_WITH_TIMEOUT(Exists(folder.windowsDir() + "/english.dic"), 30000);
    QByteArray id;
    QTRY_VERIFY_WITH_TIMEOUT(run(xdotool, {"search", "--onlyvisible", "--name", "^Kirvale$"}, display, &id), 30000);
    const QString window = QString::fromLatin1(id).split('\n').first().trimmed();
    QTest::qWait(500);
    // Double-click the Japanese list's first item (愛), then the add button.
    QVERIFY(run(xdotool, {"mousemove", "--window", window, "40", "74", "click", "--repeat", "2", "--delay", "60", "1"},
                display));
    QTest::qWait(500);
    QVERIFY(run(xdotool, {"mousemove", "--window", window, "463", "342", "click", "1"}, display));
    QTest::qWait(5000);
    ::kill(static_cast<pid_t>(app->processId()), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(app->state() == QProcess::NotRunning, 10000);
    x.terminate();
    x.waitForFinished(5000);
    QCOMPARE(ReadBytes(folder.file("newdict.dic")), text::utf8ToGbk("愛[あい]/(n) love/affection//爱；爱情/\r\n"));
    QCOMPARE(ReadBytes(folder.file("history.txt")), text::utf8ToGbk("愛\r\n"));

    // The killed run left its plain copies; the next start replaces them.
    QVERIFY(Exists(folder.windowsDir() + "/english.dic"));
    WriteBytes(folder.windowsDir() + "/english.dic", "stale");
    ::chmod((folder.windowsDir() + "/english.dic").c_str(), 0644);
    QProcess* next = startProgram(folder, this);
    QTRY_VERIFY_WITH_TIMEOUT(ReadBytes(folder.windowsDir() + "/english.dic").rfind("apple,", 0) == 0, 30000);
    QCOMPARE(permissions(folder.windowsDir() + "/english.dic"), 0600u);
    ::kill(static_cast<pid_t>(next->processId()), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(next->state() == QProcess::NotRunning, 20000);
    QVERIFY(!Exists(folder.windowsDir() + "/english.dic"));
    QCOMPARE(ReadBytes(folder.file("newdict.dic")), text::utf8ToGbk("愛[あい]/(n) love/affection//爱；爱情/\r\n"));
  }
};

QTEST_MAIN(CrashSafetyTest)
#include "crash_safety_test.moc"
