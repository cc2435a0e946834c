#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kirvale::platform {
namespace {

constexpr int kRecordSize = 4 * 8;

QString displayName() {
  QString d = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (d.isEmpty()) d = qEnvironmentVariable("DISPLAY");
  if (d.isEmpty()) d = "nodisplay";
  d.replace('/', '_');
  d.replace(':', '_');
  return d;
}

}  // namespace

QEvent::Type WindowMessageEvent::eventType() {
  static const int type = QEvent::registerEventType();
  return static_cast<QEvent::Type>(type);
}

QString MessageBus::RuntimeFolder(QString* error) {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!dir.isEmpty() && QDir(dir).exists()) return dir;
  // A private folder of our own under the temporary folder: created with
  // mode 0700 in one step, and refused when someone else made it first.
  dir = QDir::tempPath() + QString("/kirvale-%1").arg(::getuid());
  const QByteArray path = QFile::encodeName(dir);
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
    if (error) *error = QString("%1: %2").arg(dir, QString::fromLocal8Bit(std::strerror(errno)));
    return {};
  }
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
    if (error) *error = QString("%1 is not a folder of this user").arg(dir);
    return {};
  }
  if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) {
    if (error) *error = QString("%1 is open to other users").arg(dir);
    return {};
  }
  return dir;
}

QString MessageBus::ServerName(const QString& className, QString* error) {
  const QString folder = RuntimeFolder(error);
  if (folder.isEmpty()) return {};
  return folder + "/kirvale-" + className + "-" + displayName() + ".sock";
}

bool MessageBus::PostToWindow(const QString& className, qint64 handle, quint32 message, qint64 wParam,
                              qint64 lParam, int timeoutMs) {
  const QString name = ServerName(className);
  if (name.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(EncodeRecord(handle, message, wParam, lParam));
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
  return true;
}

QByteArray MessageBus::EncodeRecord(qint64 handle, quint32 message, qint64 wParam, qint64 lParam) {
  QByteArray record;
  QDataStream out(&record, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << handle << static_cast<qint64>(message) << wParam << lParam;
  return record;
}

bool MessageBus::Claim(const QString& className, QString* error) {
  const QString name = ServerName(className, error);
  if (name.isEmpty()) return false;
  auto lock = std::make_unique<QLockFile>(name + ".lock");
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    // Held by another instance: not an error. Anything else (a folder that
    // cannot be written) will not go away by waiting.
    if (lock->error() != QLockFile::LockFailedError && error)
      *error = QString("the lock file %1 cannot be created (%2)")
                   .arg(name + ".lock",
                        lock->error() == QLockFile::PermissionError ? QString("permission denied")
                                                                     : QString("the folder cannot be used"));
    return false;
  }
  // The lock is ours: any socket left behind by a crashed instance is stale.
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name)) {
    if (error) *error = QString("%1: %2").arg(name, server_.errorString());
    return false;
  }
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = server_.nextPendingConnection()) {
      connect(s, &QLocalSocket::readyRead, this, [this, s] { readRecords(s); });
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      readRecords(s);
    }
  });
  lock_ = std::move(lock);
  return true;
}

void MessageBus::RegisterWindow(qint64 handle, QObject* window) { windows_[handle] = window; }

void MessageBus::readRecords(QLocalSocket* socket) {
  while (socket->bytesAvailable() >= kRecordSize) {
    QByteArray record = socket->read(kRecordSize);
    QDataStream in(record);
    in.setByteOrder(QDataStream::LittleEndian);
    qint64 handle = 0, message = 0, wParam = 0, lParam = 0;
    in >> handle >> message >> wParam >> lParam;
    QPointer<QObject> target = windows_.value(handle);
    if (target)
      QCoreApplication::postEvent(target, new WindowMessageEvent(static_cast<quint32>(message), wParam, lParam));
  }
}

InstanceRole ClaimOrActivate(MessageBus& bus, const QString& className, QString* error) {
  QElapsedTimer timer;
  timer.start();
  // The instance that holds the lock may still be starting; keep trying to
  // reach it for a while, and take over if it went away.
  QString reason;
  while (timer.elapsed() < 10000) {
    reason.clear();
    if (bus.Claim(className, &reason)) return InstanceRole::First;
    if (!reason.isEmpty()) {
      if (error) *error = reason;
      return InstanceRole::Failed;
    }
    if (MessageBus::PostToWindow(className, kMainWindowHandle, kActivationMessage, 0, 0, 500))
      return InstanceRole::ActivatedOther;
    QThread::msleep(100);
  }
  if (error) *error = QString("the running instance does not answer");
  return InstanceRole::Failed;
}

}  // namespace kirvale::platform
