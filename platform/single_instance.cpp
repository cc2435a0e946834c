#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

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

QString MessageBus::RuntimeFolder() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QDir(dir).exists()) {
    dir = QDir::tempPath() + QString("/kirvale-%1").arg(::getuid());
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  return dir;
}

QString MessageBus::ServerName(const QString& className) {
  return RuntimeFolder() + "/kirvale-" + className + "-" + displayName() + ".sock";
}

bool MessageBus::PostToWindow(const QString& className, qint64 handle, quint32 message, qint64 wParam,
                              qint64 lParam, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(ServerName(className));
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

bool MessageBus::Claim(const QString& className) {
  const QString name = ServerName(className);
  auto lock = std::make_unique<QLockFile>(name + ".lock");
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return false;
  // The lock is ours: any socket left behind by a crashed instance is stale.
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name)) return false;
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

InstanceRole ClaimOrActivate(MessageBus& bus, const QString& className) {
  QElapsedTimer timer;
  timer.start();
  // The instance that holds the lock may still be starting; keep trying to
  // reach it for a while, and take over if it went away.
  while (timer.elapsed() < 10000) {
    if (bus.Claim(className)) return InstanceRole::First;
    if (MessageBus::PostToWindow(className, kMainWindowHandle, kActivationMessage, 0, 0, 500))
      return InstanceRole::ActivatedOther;
    QThread::msleep(100);
  }
  return InstanceRole::Failed;
}

}  // namespace kirvale::platform
