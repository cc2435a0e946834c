// Process-wide state owned by the main window, and the operations it
// publishes at start-up for the other windows to call back into.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "settings/settings_store.h"

namespace kirvale::app {

// The fourteen settings; every window reads and changes them directly.
extern settings::Settings Settings;
// True while the application is minimised; the capture pop-up reads it.
extern bool MinimisedFlag;
// The per-user folder of the settings and the plain dictionary copies.
extern std::string WindowsDir;

inline std::int16_t UiLanguage() { return Settings.langu; }

// Operations published by the main window during start-up. Each stays empty
// until the start-up step that publishes it.
struct PublishedOperations {
  std::function<void()> SaveSettings;
  std::function<void(const std::string& line)> ParseEntryLine;
  std::function<void()> ApplySettings;
  std::function<void(std::int16_t index)> SelectStyle;
  std::function<void()> ApplyInterfaceLanguage;
  std::function<void(const std::string& line, int position)> AddNewWord;
};
extern PublishedOperations Published;

// Clears all process-wide state, as at process start (used by tests that
// run several start-ups in one process).
void ResetProcessState();

}  // namespace kirvale::app
