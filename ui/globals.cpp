#include "ui/globals.h"

#include "settings/interface_language.h"
#include "speech/read_aloud.h"
#include "speech/speech_server.h"

namespace kirvale::ui {

settings::Settings Settings;
bool MinimisedFlag = false;
std::string WindowsDir;
PublishedOperations Published;
dictionary::DictionaryEntry CurrentEntry;
dictionary::DictionaryReader JapaneseReader;
dictionary::DictionaryReader EnglishReader;
dictionary::DictionaryReader AppendixReader;
personal::UserDictionary UserDict;
std::unique_ptr<speech::SpeechServer> Speech;

void ResetProcessState() {
  Settings = settings::Settings{};
  MinimisedFlag = false;
  WindowsDir.clear();
  Published = PublishedOperations{};
  CurrentEntry = dictionary::DictionaryEntry{};
  JapaneseReader.Close();
  EnglishReader.Close();
  AppendixReader.Close();
  UserDict = personal::UserDictionary{};
  settings::ForgetWindows();
  Speech.reset();
  speech::ForgetReadAloudFailure();
}

}  // namespace kirvale::ui
