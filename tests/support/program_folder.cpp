#include "support/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "capture/capture_lookup.h"
#include "crypto/aes.h"
#include "platform/shared_block.h"

namespace fs = std::filesystem;

namespace kirvale::testing {

ProgramFolder::ProgramFolder() {
  char buf[4096];
  if (::getcwd(buf, sizeof buf)) oldCwd_ = buf;
  const fs::path source = KIRVALE_PROGRAM_FOLDER;
  // The tests know the sample dictionaries' entries, whatever dictionaries
  // the built program folder holds.
  const fs::path sample = KIRVALE_SAMPLE_FOLDER;
  for (const char* name : {"multilingual.dic", "english.dic", "appendix.app"})
    fs::copy_file(sample / name, fs::path(folder_.path()) / name);
  for (const char* name : {"language.ini", "Kirvale.chm"})
    fs::copy_file(source / name, fs::path(folder_.path()) / name);
  fs::create_directories(fs::path(folder_.path()) / "styles");
  for (int i = 0; i < 4; ++i) {
    const std::string n = "styles/" + std::to_string(i) + ".jpg";
    fs::copy_file(source / n, fs::path(folder_.path()) / n);
  }
  ::setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
  // The hook library creates its block when the program starts; this
  // process started before the runtime folder above was chosen.
  platform::CreateSharedBlock(capture::kBlockName, 4096);
  fs::create_directories(windowsDir());
  if (::chdir(folder_.path().c_str()) != 0) std::abort();
}

ProgramFolder::~ProgramFolder() {
  if (!oldCwd_.empty() && ::chdir(oldCwd_.c_str()) != 0) std::abort();
}

void ProgramFolder::writeSettings(const std::string& plain) const {
  WriteBytes(windowsDir() + "/plain.tmp", plain);
  crypto::EncryptFileToContainer(windowsDir() + "/plain.tmp", windowsDir() + "/winnt001.ini", "karsel-tomvi");
  fs::remove(windowsDir() + "/plain.tmp");
}

std::string ProgramFolder::readSettings() const {
  if (!Exists(windowsDir() + "/winnt001.ini")) return {};
  const std::string out = folder_.path() + "/settings.check";
  crypto::DecryptContainerToFile(windowsDir() + "/winnt001.ini", out, "karsel-tomvi");
  std::string text = ReadBytes(out);
  fs::remove(out);
  return text;
}

void ProgramFolder::remove(const std::string& name) const { fs::remove(fs::path(folder_.path()) / name); }

std::string DefaultSettingsText(int langu) {
  return "langu:" + std::to_string(langu) +
         "\r\nstyle:0\r\nspeed:35\r\ngivepron:1\r\ngivechin:1\r\ngiveeng:1\r\nuseuser:1\r\n"
         "showtip:0\r\ntipindex:-1\r\ncapturing:0\r\nlevel:0\r\nshowwhat:1\r\nmatch:0\r\ntrans:0\r\n";
}

}  // namespace kirvale::testing
