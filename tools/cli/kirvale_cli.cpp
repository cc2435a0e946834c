// kirvale-cli: the dictionary's operations from the command line.
//
//   kirvale-cli encrypt SRC DST PASSPHRASE   plain file -> encrypted container
//   kirvale-cli decrypt SRC DST PASSPHRASE   encrypted container -> plain file
//   kirvale-cli lookup [--dir FOLDER] WORD   the main window's search
//   kirvale-cli export notebook|userdict [--format tsv|csv] [--dir FOLDER] OUT
//
// encrypt/decrypt: exit 0 on success; on failure the error text goes to
// stderr and the exit code is 1 (2 for bad usage).
// lookup: prints what the result area would show, one item per line (head
// word label, kana label, Chinese pane, English pane); exit 0 when found, 1
// when not found, 2 on bad usage or unreadable files.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "crypto/aes.h"
#include "dictionary/lookup.h"
#include "personal/user_dict.h"
#include "platform/program_folder.h"
#include "platform/windows_dir.h"
#include "settings/settings_store.h"
#include "text/codec.h"
#include "tools/cli/export_cmd.h"
#include "tools/cli/capture_cmd.h"

namespace kirvale::cli {
int AppendixCommand(int argc, char** argv);  // appendix_cmd.cpp
}
#include "tools/cli/search_cmd.h"

namespace {

int usage() {
  std::cerr << "usage:\n"
               "  kirvale-cli encrypt SRC DST PASSPHRASE\n"
               "  kirvale-cli decrypt SRC DST PASSPHRASE\n"
               "  kirvale-cli lookup [--dir PROGRAM_FOLDER] WORD\n"
               "  kirvale-cli export notebook|userdict [--format tsv|csv] [--dir PROGRAM_FOLDER] OUT\n"
               "  kirvale-cli appendix [--dir PROGRAM_FOLDER] TITLE\n"
               "  kirvale-cli search [--dir PROGRAM_FOLDER] --field N TEXT\n";
  return 2;
}

// A private temporary folder, removed with its contents on every path.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kirvale-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The user's My Dictionary fallback setting: from the settings file when it
// can be read (decrypted into the scratch folder, never next to the running
// program's own files), else the first-run value.
bool userDictionaryOn(const std::string& scratch) {
  const std::string dir = kirvale::platform::WindowsDirectory();
  kirvale::settings::Settings s;
  s.useuser = 1;
  if (!dir.empty() && std::filesystem::exists(dir + "/" + kirvale::settings::kContainerName)) {
    try {
      kirvale::crypto::DecryptContainerToFile(dir + "/" + kirvale::settings::kContainerName, scratch + "/settings",
                                              kirvale::crypto::kSettingsPassphrase);
      std::string bytes;
      if (kirvale::text::readFile(scratch + "/settings", bytes))
        kirvale::settings::ParseSettingsLines(kirvale::text::splitLines(bytes), s);
    } catch (const std::exception&) {
      s.useuser = 1;
    }
  }
  return s.useuser == 1;
}

int lookup(int argc, char** argv) {
  std::string folder;
  std::string word;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc)
      folder = argv[++i];
    else if (word.empty() && a != "--dir")
      word = a;
    else
      return usage();
  }
  const std::string text = kirvale::text::trim(word);
  if (text.empty()) return usage();
  if (folder.empty()) folder = kirvale::platform::DefaultProgramFolder(KIRVALE_INSTALLED_DATA);
  ScratchFolder scratch;
  if (scratch.path().empty()) {
    std::cerr << "cannot create a temporary folder\n";
    return 2;
  }
  namespace dict = kirvale::dictionary;
  const auto mode = dict::ModeOf(text);
  const char* name = mode == dict::Mode::English ? "english.dic" : "multilingual.dic";
  dict::DictionaryReader reader;
  try {
    kirvale::crypto::DecryptContainerToFile(folder + "/" + name, scratch.path() + "/" + name,
                                            kirvale::crypto::kDictionaryPassphrase);
  } catch (const std::exception& e) {
    std::cerr << folder << "/" << name << ": " << e.what() << "\n";
    return 2;
  }
  if (!reader.Bind(scratch.path() + "/" + name)) {
    std::cerr << "cannot read " << name << "\n";
    return 2;
  }
  dict::LookupResult r;
  if (mode == dict::Mode::English) {
    r = dict::SearchEnglish(reader, text, dict::SuffixTable());
  } else {
    kirvale::personal::UserDictionary user;
    const bool on = userDictionaryOn(scratch.path());
    if (on && !user.Load(folder + "/userdict.dic").ok) {
      std::cerr << "cannot read " << folder << "/userdict.dic\n";
      return 2;
    }
    r = dict::SearchJapanese(reader, text, on ? &user : nullptr);
  }
  std::cout << r.headLabel << "\n" << r.kanaLabel << "\n" << r.chinesePane << "\n" << r.englishPane << "\n";
  return r.found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string cmd = argv[1];
  if (cmd == "encrypt" || cmd == "decrypt") {
    if (argc != 5) return usage();
    try {
      if (cmd == "encrypt")
        kirvale::crypto::EncryptFileToContainer(argv[2], argv[3], argv[4]);
      else
        kirvale::crypto::DecryptContainerToFile(argv[2], argv[3], argv[4]);
    } catch (const std::exception& e) {
      std::cerr << e.what() << "\n";
      return 1;
    }
    return 0;
  }
  if (cmd == "lookup") return lookup(argc, argv);
  if (cmd == "export") return ExportCommand(argc, argv);
  if (cmd == "capture" || cmd == "post-capture") return kirvale::cli::CaptureCommand(argc, argv);
  if (cmd == "appendix") return kirvale::cli::AppendixCommand(argc, argv);
  if (cmd == "search") return kirvale::cli::SearchCommand(argc, argv);
  return usage();
}
