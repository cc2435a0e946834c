#include "settings/settings_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "crypto/aes.h"
#include "text/codec.h"

namespace kirvale::settings {

const std::array<Field, kFieldCount>& Fields() {
  static const std::array<Field, kFieldCount> fields = {{
      {"langu", &Settings::langu, 1},
      {"style", &Settings::style, 0},
      {"speed", &Settings::speed, 35},
      {"givepron", &Settings::givepron, 1},
      {"givechin", &Settings::givechin, 1},
      {"giveeng", &Settings::giveeng, 1},
      {"useuser", &Settings::useuser, 1},
      {"showtip", &Settings::showtip, 0},
      {"tipindex", &Settings::tipindex, -1},
      {"capturing", &Settings::capturing, 0},
      {"level", &Settings::level, 0},
      {"showwhat", &Settings::showwhat, 1},
      {"match", &Settings::match, 0},
      {"trans", &Settings::trans, 0},
  }};
  return fields;
}

void ApplyFirstRunValues(Settings& s) {
  for (const auto& f : Fields())
    if (f.member != &Settings::langu) s.*f.member = f.firstRunValue;
}

std::string SettingsText(const Settings& s) {
  std::string out;
  for (const auto& f : Fields()) {
    out += f.key;
    out += ':';
    out += std::to_string(s.*f.member);
    out += "\r\n";
  }
  return out;
}

bool ParseSettingValue(std::string_view text, std::int16_t& value) {
  if (text.empty()) return false;
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) & 0xFFFFu));
  return true;
}

ParseOutcome ParseSettingsLines(const std::vector<std::string>& lines, Settings& s) {
  ParseOutcome out;
  const auto& fields = Fields();
  for (const auto& line : lines) {
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (line.find(fields[k].key) == std::string::npos) continue;
      std::size_t colon = line.find(':');
      std::string valueText = colon == std::string::npos ? std::string() : text::trim(line.substr(colon + 1));
      std::int16_t v = 0;
      if (!ParseSettingValue(valueText, v)) {
        out.ok = false;
        out.error = "'" + valueText + "' is not a valid integer value";
        return out;
      }
      s.*fields[k].member = v;
      out.read.set(k);
    }
  }
  return out;
}

ParseOutcome LoadSettings(const std::string& dir, Settings& s) {
  const std::string container = dir + "/" + kContainerName;
  const std::string plain = dir + "/" + kPlainName;
  ParseOutcome out;
  // The container is decrypted in memory: reading the settings needs no
  // plain copy, so a folder that cannot be written still gives its settings.
  try {
    out = ParseSettingsLines(text::splitLines(crypto::DecryptContainerToBytes(container, crypto::kSettingsPassphrase)), s);
  } catch (const std::exception& e) {
    out.ok = false;
    out.error = e.what();
  }
  // A plain copy left behind by an older run goes, and a settings file
  // that others could read becomes private.
  std::remove(plain.c_str());
  struct stat st {};
  if (::stat(container.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0)
    ::chmod(container.c_str(), 0600);
  return out;
}

void SaveSettings(const std::string& dir, const Settings& s) {
  const std::string container = dir + "/" + kContainerName;
  const std::string plain = dir + "/" + kPlainName;
  // Encrypted in memory and written in one step, readable by its user only.
  const std::string bytes = crypto::EncryptToContainerBytes(SettingsText(s), crypto::kSettingsPassphrase);
  errno = 0;
  if (!text::writeFileAtomically(container, bytes, 0600)) {
    const int err = errno;
    throw std::runtime_error("Cannot write file \"" + container + "\". " +
                             (err ? std::strerror(err) : "Input/output error"));
  }
  std::remove(plain.c_str());
}

void SetFirstRunDefaults(const std::string& dir, Settings& s) {
  ApplyFirstRunValues(s);
  SaveSettings(dir, s);
}

}  // namespace kirvale::settings
