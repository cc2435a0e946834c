#include "app/globals.h"

namespace kirvale::app {

settings::Settings Settings;
bool MinimisedFlag = false;
std::string WindowsDir;
PublishedOperations Published;

void ResetProcessState() {
  Settings = settings::Settings{};
  MinimisedFlag = false;
  WindowsDir.clear();
  Published = PublishedOperations{};
}

}  // namespace kirvale::app
