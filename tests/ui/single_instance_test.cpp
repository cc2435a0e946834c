// One instance per user and desktop, across real processes.
#include <QDir>
#include <QProcess>
#include <QtTest>
#include <csignal>

#include "platform/single_instance.h"
#include "support/program_folder.h"

using namespace kirvale;
using kirvale::testing::Exists;
using kirvale::testing::ProgramFolder;

namespace {

// Receives window messages posted to it.
class Receiver : public QObject {
 public:
  QList<quint32> messages;
  bool event(QEvent* e) override {
    if (e->type() == platform::WindowMessageEvent::eventType()) {
      messages << static_cast<platform::WindowMessageEvent*>(e)->message();
      return true;
    }
    return QObject::event(e);
  }
};

QProcess* startProgram(const ProgramFolder& folder, QObject* parent) {
  auto* p = new QProcess(parent);
  p->setWorkingDirectory(QString::fromStdString(folder.path()));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_STATE_HOME", QString::fromStdString(folder.stateHome()));
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.runtimeDir()));
  env.insert("ASAN_OPTIONS", "detect_leaks=0");
  p->setProcessEnvironment(env);
  p->setProcessChannelMode(QProcess::ForwardedChannels);
  p->start(KIRVALE_EXE, {});
  return p;
}

QStringList entries(const std::string& dir) {
  return QDir(QString::fromStdString(dir)).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private slots:
  void secondStartPostsActivationAndTouchesNothing() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(0));
    // This process plays the running instance.
    platform::MessageBus bus;
    QVERIFY(bus.Claim("Kirvale"));
    Receiver receiver;
    bus.RegisterWindow(platform::kMainWindowHandle, &receiver);
    const QStringList before = entries(folder.windowsDir());
    QProcess* second = startProgram(folder, this);
    QTRY_VERIFY_WITH_TIMEOUT(second->state() == QProcess::NotRunning, 20000);
    QCOMPARE(second->exitCode(), 0);
    QTRY_COMPARE(receiver.messages, QList<quint32>{platform::kActivationMessage});
    // It created no plain dictionary copy and left the settings untouched.
    QCOMPARE(entries(folder.windowsDir()), before);
    QCOMPARE(QString::fromStdString(folder.readSettings()),
             QString::fromStdString(kirvale::testing::DefaultSettingsText(0)));
  }

  void twoStartsAtTheSameMomentLeaveOneRunningInstance() {
    ProgramFolder folder;
    folder.writeSettings(kirvale::testing::DefaultSettingsText(1));
    QProcess* a = startProgram(folder, this);
    QProcess* b = startProgram(folder, this);
    // One of them ends at once, the other keeps running.
    QTRY_VERIFY_WITH_TIMEOUT(a->state() == QProcess::NotRunning || b->state() == QProcess::NotRunning, 20000);
    QProcess* ended = a->state() == QProcess::NotRunning ? a : b;
    QProcess* running = ended == a ? b : a;
    QCOMPARE(ended->exitCode(), 0);
    QTest::qWait(500);
    QCOMPARE(running->state(), QProcess::Running);
    QTRY_VERIFY_WITH_TIMEOUT(Exists(folder.windowsDir() + "/english.dic"), 20000);

    // A third start while it runs ends too.
    QProcess* c = startProgram(folder, this);
    QTRY_VERIFY_WITH_TIMEOUT(c->state() == QProcess::NotRunning, 20000);
    QCOMPARE(c->exitCode(), 0);
    QCOMPARE(running->state(), QProcess::Running);

    // Ending the running one the way a logout does closes it normally: the
    // plain dictionary copies are removed and the settings saved.
    ::kill(static_cast<pid_t>(running->processId()), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(running->state() == QProcess::NotRunning, 20000);
    QCOMPARE(running->exitStatus(), QProcess::NormalExit);
    QVERIFY(!Exists(folder.windowsDir() + "/english.dic"));
    QVERIFY(!Exists(folder.windowsDir() + "/multilingual.dic"));
    QVERIFY(!Exists(folder.windowsDir() + "/winnt002.ini"));
    QCOMPARE(QString::fromStdString(folder.readSettings()),
             QString::fromStdString(kirvale::testing::DefaultSettingsText(1)));
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
