// kirvale-cli lookup [--dir FOLDER] WORD: the main window's search.
//
// Prints what the result area would show, one item per line (head word
// label, kana label, Chinese pane, English pane); exit 0 when found, 1 when
// not found, 2 on bad usage or unreadable files.
//
// One look-up needs one line. With the dictionary's offset cache (in the
// user's cache folder, made on the first look-up) only the lines whose head
// word can match are read and decrypted; without one the dictionary is
// decrypted in memory and searched in its GBK bytes, decoding only the lines
// that can match (dictionary/plain_search.h). The line found then goes
// through the very search the window runs, so the texts are the window's.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "dictionary/offset_cache.h"
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
      // The settings are a few blocks: decrypted block by block, without the
      // cipher set-up a whole file would be worth.
      const crypto::ContainerFile file(dir + "/" + settings::kContainerName, crypto::kSettingsPassphrase);
      settings::ParseSettingsLines(text::splitLines(file.read(0, file.plainSize())), s);
    } catch (const std::exception&) {
      s.useuser = 1;
    }
  }
  return s.useuser == 1;
}

// The user's cache folder for the dictionaries' offset caches, or "".
std::string cacheFolder() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') return std::string(xdg) + "/kirvale";
  if (const char* home = std::getenv("HOME"); home && *home == '/') return std::string(home) + "/.cache/kirvale";
  return {};
}

// The line the search shows, from the lines the offset cache names: every
// line that can match is among them, in file order, so the search over them
// gives the search's answer over the whole file. False when there is no
// cache to use.
bool findThroughCache(const std::string& path, bool english, const std::string& text,
                      const std::vector<std::string>& forms, std::optional<std::string>& line) {
  namespace dict = dictionary;
  const dict::OffsetCache cache(path, cacheFolder(),
                                english ? dict::CachedKey::EnglishHeadFolded : dict::CachedKey::JapaneseItem);
  if (!cache.usable()) return false;
  std::vector<std::string> keys;
  if (english)
    for (const std::string& f : forms) keys.push_back(text::asciiLower(f));
  else
    keys.push_back(text);
  dict::DictionaryReader subset;
  subset.BindLines(cache.Lines(keys));
  const int hit = english ? dict::ScanEnglishLine(subset, forms) : dict::ScanJapaneseLine(subset, text);
  line = hit < 0 ? std::nullopt : std::optional<std::string>(subset.line(static_cast<std::size_t>(hit)));
  return true;
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
  const std::string path = folder + "/" + name;
  const bool english = mode == dict::Mode::English;
  const dict::SuffixTable table;
  const std::vector<std::string> forms = english ? dict::CandidateForms(text, table) : std::vector<std::string>{};
  std::optional<std::string> line;
  try {
    if (!findThroughCache(path, english, text, forms, line)) {
      const std::string plain = crypto::DecryptContainerToBytes(path, crypto::kDictionaryPassphrase);
      line = english ? dict::FindEnglishLineInBytes(plain, forms) : dict::FindJapaneseLineInBytes(plain, text);
    }
  } catch (const std::exception& e) {
    std::cerr << path << ": " << e.what() << "\n";
    return 2;
  }
  dict::LookupResult r;
  dict::DictionaryReader reader;
  reader.BindLines(line ? std::vector<std::string>{*line} : std::vector<std::string>{});
  if (english) {
    r = dict::SearchEnglish(reader, text, table);
  } else {
    personal::UserDictionary user;
    const bool on = userDictionaryOn();
    if (on && !user.Load(folder + "/userdict.dic").ok) {
      std::cerr << "cannot read " << folder << "/userdict.dic\n";
      return 2;
    }
    r = dict::SearchJapanese(reader, text, on ? &user : nullptr);
  }
  std::cout << r.headLabel << "\n" << r.kanaLabel << "\n" << r.chinesePane << "\n" << r.englishPane << "\n";
  return r.found ? 0 : 1;
}

}  // namespace kirvale::cli
