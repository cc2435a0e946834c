// Window messages between processes, and the one-instance-per-desktop rule.
//
// A running instance owns a lock file and listens on a local socket named
// after its main window's class, in the user's runtime folder and for the
// current display. Records of (window handle, message, wParam, lParam) sent
// to that socket are posted as WindowMessageEvents to the window registered
// under the handle.
#pragma once

#include <QEvent>
#include <QHash>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

namespace kirvale::platform {

inline constexpr quint32 kActivationMessage = 0x1400;  // a second start asks the first to come forward
inline constexpr qint64 kMainWindowHandle = 1;
// The capture pop-up's handle: the hook library addresses its messages here.
inline constexpr qint64 kCapturePopupHandle = 2;

class WindowMessageEvent : public QEvent {
 public:
  static QEvent::Type eventType();
  WindowMessageEvent(quint32 message, qint64 wParam, qint64 lParam)
      : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {}
  quint32 message() const { return message_; }
  qint64 wParam() const { return wParam_; }
  qint64 lParam() const { return lParam_; }

 private:
  quint32 message_;
  qint64 wParam_, lParam_;
};

class MessageBus : public QObject {
  Q_OBJECT
 public:
  // The folder of the socket and lock file: $XDG_RUNTIME_DIR, or a private
  // folder under the temporary folder (mode 0700). Empty, with the reason in
  // `error`, when that folder cannot be made or belongs to another user.
  static QString RuntimeFolder(QString* error = nullptr);
  static QString ServerName(const QString& className, QString* error = nullptr);
  // One record as it travels on the socket.
  static QByteArray EncodeRecord(qint64 handle, quint32 message, qint64 wParam, qint64 lParam);

  // Posts a message to the window `handle` of the running instance whose
  // main window has `className`. Returns false when there is none.
  static bool PostToWindow(const QString& className, qint64 handle, quint32 message, qint64 wParam,
                           qint64 lParam, int timeoutMs = 2000);

  // Becomes the instance for `className`: takes the lock and listens.
  // Returns false when another process already is (or is becoming) it, or
  // with the reason in `error` when the lock or the socket cannot be made.
  bool Claim(const QString& className, QString* error = nullptr);

  void RegisterWindow(qint64 handle, QObject* window);

 private:
  void readRecords(class QLocalSocket* socket);
  std::unique_ptr<QLockFile> lock_;
  QLocalServer server_;
  QHash<qint64, QPointer<QObject>> windows_;
};

// The result of the start of a process.
enum class InstanceRole { First, ActivatedOther, Failed };

// Claims the instance for `className`, or else posts the activation message
// to the running one. Two starts at the same moment: exactly one is First.
// Failed comes with the reason in `error`; a lock that cannot be made fails
// at once.
InstanceRole ClaimOrActivate(MessageBus& bus, const QString& className, QString* error = nullptr);

}  // namespace kirvale::platform
