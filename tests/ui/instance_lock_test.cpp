// The instance lock's folder: a private folder under the temporary folder
// when there is no runtime folder, refused when it is not ours, and a lock
// that cannot be made said at once instead of after a silent wait.
#include <QDir>
#include <QElapsedTimer>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main.h"
#include "platform/single_instance.h"
#include "support/temp_dir.h"

using namespace kirvale;
using kirvale::testing::TempDir;
using kirvale::testing::WriteBytes;

class InstanceLockTest : public QObject {
  Q_OBJECT
  TempDir tmp;
  QString own;

 private slots:
  void init() {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    own = QString::fromStdString(tmp.path()) + QString("/kirvale-%1").arg(::getuid());
    QDir(own).removeRecursively();
    ::unlink(own.toLocal8Bit().constData());
  }

  void fallbackFolderIsPrivate() {
    ::umask(022);
    QString error;
    QCOMPARE(platform::MessageBus::RuntimeFolder(&error), own);
    QVERIFY(error.isEmpty());
    struct stat st {};
    QCOMPARE(::lstat(own.toLocal8Bit().constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0700u);
    // One of ours left open to others is closed again.
    ::chmod(own.toLocal8Bit().constData(), 0755);
    QCOMPARE(platform::MessageBus::RuntimeFolder(&error), own);
    ::lstat(own.toLocal8Bit().constData(), &st);
    QCOMPARE(st.st_mode & 0777, 0700u);
    platform::MessageBus bus;
    QVERIFY(bus.Claim("Kirvale", &error));
  }

  void folderOfAnotherUserIsRefusedAndSaidAtOnce() {
    if (::getuid() != 0) QSKIP("making a folder of another user needs root");
    QVERIFY(::mkdir(own.toLocal8Bit().constData(), 0700) == 0);
    QVERIFY(::chown(own.toLocal8Bit().constData(), 65534, 65534) == 0);
    QString error;
    QCOMPARE(platform::MessageBus::RuntimeFolder(&error), QString());
    QVERIFY(error.contains(own));
    platform::MessageBus bus;
    QElapsedTimer timer;
    timer.start();
    error.clear();
    QCOMPARE(platform::ClaimOrActivate(bus, "Kirvale", &error), platform::InstanceRole::Failed);
    QVERIFY(timer.elapsed() < 3000);
    QVERIFY(error.contains("is not a folder of this user"));
    const QString message = app::InstanceLockMessage(error);
    QVERIFY(message.startsWith("Kirvale cannot start: " + error));
    QVERIFY(message.contains(QString::fromUtf8("程序无法启动：") + error));
  }

  void fileInThePlaceOfTheFolderIsRefused() {
    WriteBytes(own.toStdString(), "x");
    QString error;
    QCOMPARE(platform::MessageBus::RuntimeFolder(&error), QString());
    platform::MessageBus bus;
    error.clear();
    QCOMPARE(platform::ClaimOrActivate(bus, "Kirvale", &error), platform::InstanceRole::Failed);
    QVERIFY(!error.isEmpty());
  }
};

QTEST_MAIN(InstanceLockTest)
#include "instance_lock_test.moc"
