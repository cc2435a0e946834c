#include "capture/getword/getword.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <cstring>
#include <memory>

#include "capture/capture_lookup.h"
#include "platform/shared_block.h"
#include "platform/single_instance.h"

namespace {

using namespace kirvale;

// The block is at least this large; the program touches its first 235 bytes.
constexpr std::size_t kBlockBytes = 4096;
// A selection still being dragged changes many times; report it once it has
// stood still this long.
constexpr int kSettleMs = 350;
constexpr int kPointerPollMs = 150;
// A selection longer than this is cut before it is converted: the block
// holds 100 bytes of it anyway.
constexpr int kMaxSelectionCharacters = 256;
constexpr int kPostTimeoutMs = 300;
constexpr const char* kWindowClass = "Kirvale";

// The block is created when the library is loaded, before any window exists.
__attribute__((constructor)) void CreateBlockOnLoad() {
  platform::CreateSharedBlock(capture::kBlockName, kBlockBytes);
}

class Hook : public QObject {
 public:
  Hook() : QObject(qApp) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &Hook::selectionSettled);
    poll_.setInterval(kPointerPollMs);
    connect(&poll_, &QTimer::timeout, this, &Hook::pollPointer);
  }

  void start() {
    if (started_) return;
    started_ = true;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection()) {
      // The selection that stands when capture starts is not news.
      lastSelection_ = clipboard->text(QClipboard::Selection);
      connect(clipboard, &QClipboard::selectionChanged, &settle_, qOverload<>(&QTimer::start));
    }
    lastPointer_ = QCursor::pos();
    poll_.start();
  }

  void stop() {
    if (!started_) return;
    started_ = false;
    disconnect(QGuiApplication::clipboard(), &QClipboard::selectionChanged, &settle_, nullptr);
    settle_.stop();
    poll_.stop();
  }

  bool started() const { return started_; }

 private:
  void selectionSettled() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    // A selection made in one of the program's own windows is not captured.
    if (!started_ || clipboard->ownsSelection()) return;
    const QString selection = clipboard->text(QClipboard::Selection);
    if (selection == lastSelection_) return;
    lastSelection_ = selection;
    const QString text = selection.left(kMaxSelectionCharacters).trimmed();
    if (text.isEmpty()) return;
    send(capture::kNotifyText, capture::BlockFieldFromText(text.toStdString()));
  }

  void pollPointer() {
    const QPoint p = QCursor::pos();
    if (p == lastPointer_) return;
    lastPointer_ = p;
    send(capture::kNotifyPointer, {});
  }

  // Text first (when there is one), then the message to the handle at
  // offset 0.
  void send(std::int64_t lParam, const std::string& field) {
    if (!block_.isOpen() && block_.Open(capture::kBlockName, capture::kBlockUsedBytes) != platform::SharedBlock::Failure::None)
      return;
    const std::uint32_t handle = capture::TargetHandle(block_.data());
    if (handle == 0) return;
    if (lParam == capture::kNotifyText) capture::WriteBlockText(block_.data(), field);
    platform::MessageBus::PostToWindow(kWindowClass, handle, capture::kCaptureMessage, 0, lParam, kPostTimeoutMs);
  }

  QTimer settle_, poll_;
  QString lastSelection_;
  QPoint lastPointer_;
  bool started_ = false;
  platform::SharedBlock block_;
};

QPointer<Hook>& TheHook() {
  static QPointer<Hook> hook;
  return hook;
}

}  // namespace

extern "C" {

void StartHook() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (!TheHook()) TheHook() = new Hook;
  TheHook()->start();
}

void StopHook() {
  if (TheHook()) TheHook()->stop();
}

int HookWatchesSelection() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
  return QGuiApplication::clipboard()->supportsSelection() ? 1 : 0;
}

int HookStarted() { return TheHook() && TheHook()->started() ? 1 : 0; }
}
