// Opening a document with the desktop's viewer for its type.
#pragma once

#include <QString>
#include <functional>

namespace kirvale::platform {

// Asks the desktop to open the file. Returns false when it could not.
bool ShellOpen(const QString& path);

// Tests install an opener to see what would have been opened.
void SetShellOpener(std::function<bool(const QString&)> opener);

}  // namespace kirvale::platform
