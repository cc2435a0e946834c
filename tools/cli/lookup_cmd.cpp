// kirvale-cli lookup [--dir FOLDER] WORD: the main window's search.
//
// Prints what the result area would show, one item per line (head word
// label, kana label, Chinese pane, English pane); exit 0 when found, 1 when
// not found, 2 on bad usage or unreadable files.
//
// One look-up needs one line: the dictionary is decrypted in memory and
// searched in its GBK bytes, and only the lines that can match are decoded
// (dictionary/plain_search.h). The line found then goes through the very
// search the window runs, so the texts are the window's.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "dictionary/plain_search.h"
#include "personal/user_dict.h"
#include "platform/program_folder.h"
#include "platform/windows_dir.h"
#include "settings/settings_store.h"
#include "text/codec.h"

#ifndef KIRVALE_INSTALLED_DATA
#define KIRVALE_INSTALLED_DATA ""
#endif

namespace kirvale::cli {
namespace {

int lookupUsage() {
  std::cerr << "usage:\n  kirvale-cli lookup [--dir PROGRAM_FOLDER] WORD\n";
  return 2;
}

// The user's My Dictionary fallback setting: from the settings file when it
// can be read (decrypted in memory, never next to the running program's own
// files), else the first-run value.
bool userDictionaryOn() {
  const std::string dir = platform::WindowsDirectory();
  settings::Settings s;
  s.useuser = 1;
  if (!dir.empty() && std::filesystem::exists(dir + "/" + settings::kContainerName)) {
    try {
      settings::ParseSettingsLines(
          text::splitLines(crypto::DecryptContainer(dir + "/" + settings::kContainerName, crypto::kSettingsPassphrase)),
          s);
    } catch (const std::exception&) {
      s.useuser = 1;
    }
  }
  return s.useuser == 1;
}

}  // namespace

int LookupCommand(int argc, char** argv) {
  std::string folder;
  std::string word;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc)
      folder = argv[++i];
    else if (word.empty() && a != "--dir")
      word = a;
    else
      return lookupUsage();
  }
  const std::string text = text::trim(word);
  if (text.empty()) return lookupUsage();
  if (folder.empty()) folder = platform::DefaultProgramFolder(KIRVALE_INSTALLED_DATA);
  namespace dict = dictionary;
  const auto mode = dict::ModeOf(text);
  const char* name = mode == dict::Mode::English ? "english.dic" : "multilingual.dic";
  std::string plain;
  try {
    plain = crypto::DecryptContainer(folder + "/" + name, crypto::kDictionaryPassphrase);
  } catch (const std::exception& e) {
    std::cerr << folder << "/" << name << ": " << e.what() << "\n";
    return 2;
  }
  dict::LookupResult r;
  dict::DictionaryReader reader;
  if (mode == dict::Mode::English) {
    const dict::SuffixTable table;
    const std::optional<std::string> line = dict::FindEnglishLineInBytes(plain, dict::CandidateForms(text, table));
    reader.BindLines(line ? std::vector<std::string>{*line} : std::vector<std::string>{});
    r = dict::SearchEnglish(reader, text, table);
  } else {
    personal::UserDictionary user;
    const bool on = userDictionaryOn();
    if (on && !user.Load(folder + "/userdict.dic").ok) {
      std::cerr << "cannot read " << folder << "/userdict.dic\n";
      return 2;
    }
    const std::optional<std::string> line = dict::FindJapaneseLineInBytes(plain, text);
    reader.BindLines(line ? std::vector<std::string>{*line} : std::vector<std::string>{});
    r = dict::SearchJapanese(reader, text, on ? &user : nullptr);
  }
  std::cout << r.headLabel << "\n" << r.kanaLabel << "\n" << r.chinesePane << "\n" << r.englishPane << "\n";
  return r.found ? 0 : 1;
}

}  // namespace kirvale::cli
