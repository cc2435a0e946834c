// A fresh program folder and Windows directory for one window test: the
// built program folder's data files (with the sample dictionaries) are
// copied into a temporary folder that
// becomes the working directory, and XDG_STATE_HOME / XDG_RUNTIME_DIR point at
// temporary folders of their own.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace kirvale::testing {

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  const std::string& path() const { return folder_.path(); }
  std::string file(const std::string& name) const { return folder_.file(name); }
  // The per-user folder of the settings and the plain dictionary copies.
  std::string windowsDir() const { return state_.path() + "/kirvale"; }
  std::string stateHome() const { return state_.path(); }
  std::string runtimeDir() const { return runtime_.path(); }
  // Writes an encrypted settings file holding `plain`.
  void writeSettings(const std::string& plain) const;
  // The decrypted text of the settings file ("" when missing).
  std::string readSettings() const;
  void remove(const std::string& name) const;

 private:
  TempDir folder_, state_, runtime_;
  std::string oldCwd_;
};

// The fourteen first-run lines with the given language.
std::string DefaultSettingsText(int langu);

}  // namespace kirvale::testing
