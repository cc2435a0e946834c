#include "platform/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace kirvale::platform {
namespace {
std::function<bool(const QString&)>& opener() {
  static std::function<bool(const QString&)> o;
  return o;
}
}  // namespace

void SetShellOpener(std::function<bool(const QString&)> o) { opener() = std::move(o); }

bool ShellOpen(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (opener()) return opener()(absolute);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute));
}

}  // namespace kirvale::platform
