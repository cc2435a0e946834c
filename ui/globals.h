// Process-wide state owned by the main window, and the operations it
// publishes at start-up for the other windows to call back into.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <memory>

#include "dictionary/dictionary_reader.h"
#include "dictionary/entry_line.h"
#include "personal/user_dict.h"
#include "settings/settings_store.h"

namespace kirvale::speech {
class SpeechServer;
}

namespace kirvale::ui {

// The fourteen settings; every window reads and changes them directly.
extern settings::Settings Settings;
// True while the application is minimised; the capture pop-up reads it.
extern bool MinimisedFlag;
// The per-user folder of the settings and the plain dictionary copies.
extern std::string WindowsDir;

inline std::int16_t UiLanguage() { return Settings.langu; }

// The entry that ParseEntryLine last split; callers read it right after.
extern dictionary::DictionaryEntry CurrentEntry;
// The decrypted Japanese dictionary, the decrypted English word list and the
// appendix, each read once at start-up.
extern dictionary::DictionaryReader JapaneseReader;
extern dictionary::DictionaryReader EnglishReader;
extern dictionary::DictionaryReader AppendixReader;
// My Dictionary's lines, which the Japanese lookup falls back on.
extern personal::UserDictionary UserDict;

// Operations published by the main window during start-up. Each stays empty
// until the start-up step that publishes it.
struct PublishedOperations {
  std::function<void()> SaveSettings;
  std::function<void(const std::string& line)> ParseEntryLine;
  std::function<void()> ApplySettings;
  std::function<void(std::int16_t index)> SelectStyle;
  std::function<void()> ApplyInterfaceLanguage;
  std::function<void(const std::string& line, int position)> AddNewWord;
  // Windows that start a main-window search the way the user does (advanced
  // search, the capture pop-up): the text goes into the input box, the
  // list-click flag is cleared and the Search button is invoked.
  std::function<void(const std::string& text)> SearchInMainWindow;
  // Empties the search history list (the settings dialog's clear button).
  std::function<void()> ClearHistory;
};
extern PublishedOperations Published;

// The speech server both read-aloud buttons use; null when it could not be
// created (read-aloud then does nothing).
extern std::unique_ptr<speech::SpeechServer> Speech;

// Clears all process-wide state, as at process start (used by tests that
// run several start-ups in one process).
void ResetProcessState();

}  // namespace kirvale::ui
