#include "platform/startup_check.h"

#include <sys/stat.h>

#include "settings/messages.h"

namespace kirvale::platform {

bool FileExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

MissingFiles CheckDataFiles(const std::string& folder) {
  MissingFiles m;
  auto at = [&](const char* name) { return folder.empty() ? std::string(name) : folder + "/" + name; };
  for (const char* name : {"multilingual.dic", "english.dic", "appendix.app", "language.ini"}) {
    if (!FileExists(at(name))) {
      m.list += name;
      m.list += ' ';
      if (std::string(name).ends_with(".dic")) m.dictionaryMissing = true;
    }
  }
  bool styleMissing = false;
  for (const char* name : {"styles/0.jpg", "styles/1.jpg", "styles/2.jpg", "styles/3.jpg"})
    if (!FileExists(at(name))) styleMissing = true;
  if (styleMissing) m.list += "style file ";
  if (!FileExists(at("Kirvale.chm"))) m.list += "Kirvale.chm ";
  return m;
}

std::string MissingFilesMessage(const MissingFiles& missing, std::int16_t uiLanguage) {
  return std::string(settings::msg::kFilesMissingHead.in(uiLanguage)) + missing.list +
         settings::msg::kFilesMissingTail.in(uiLanguage);
}

}  // namespace kirvale::platform
