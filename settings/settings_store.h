// The fourteen settings: in memory as signed 16-bit fields, on disk as the
// encrypted "winnt001.ini" whose plain form is key:value lines.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::settings {

struct Settings {
  std::int16_t langu = 0;      // UiLanguage: 0 English, 1 Chinese
  std::int16_t style = 0;      // skin index 0..3
  std::int16_t speed = 0;      // notebook scan interval, ms
  std::int16_t givepron = 0;   // exercise hints
  std::int16_t givechin = 0;
  std::int16_t giveeng = 0;
  std::int16_t useuser = 0;    // lookup falls back to My Dictionary
  std::int16_t showtip = 0;    // word of the day at start-up
  std::int16_t tipindex = 0;   // last word of the day, -1 none
  std::int16_t capturing = 0;  // screen capture on
  std::int16_t level = 0;      // pane layout 0 split, 1 Chinese full, -1 English full
  std::int16_t showwhat = 0;   // pop-up shows Chinese (1) or English (0)
  std::int16_t match = 0;      // pop-up exact matching
  std::int16_t trans = 0;      // pop-up translucent
};

inline constexpr std::size_t kFieldCount = 14;

struct Field {
  const char* key;
  std::int16_t Settings::*member;
  std::int16_t firstRunValue;  // langu's is chosen by the user
};

// The fields in file order.
const std::array<Field, kFieldCount>& Fields();

inline constexpr const char* kContainerName = "winnt001.ini";
inline constexpr const char* kPlainName = "winnt002.ini";

// Sets every field except langu to its first-run value.
void ApplyFirstRunValues(Settings& s);

// The plain text: one key:value line per field, CR LF, in table order.
std::string SettingsText(const Settings& s);

// Reads settings lines into `s`: every key whose name occurs anywhere in a
// line takes the trimmed text after the line's first colon, as a decimal
// integer kept to its low 16 bits. Stops at the first value that does not
// convert and returns its error text; `read` tells which fields were set.
struct ParseOutcome {
  bool ok = true;
  std::string error;
  std::bitset<kFieldCount> read;
};
ParseOutcome ParseSettingsLines(const std::vector<std::string>& lines, Settings& s);

// Loads "winnt001.ini" from `dir` into `s` (decrypted in memory, so nothing
// is written to read it), deletes a "winnt002.ini" left behind and makes a
// settings file that others could read private (0600). On a
// container that does not decrypt or a value that does not convert, the
// fields read before the failure keep their values and the outcome carries
// the error text.
ParseOutcome LoadSettings(const std::string& dir, Settings& s);

// Writes "winnt001.ini" in `dir` with mode 0600 (replacing the old one only
// once the new one is complete and on disk) and deletes "winnt002.ini".
// Throws std::runtime_error naming the file and the system's reason when the
// folder cannot be written.
void SaveSettings(const std::string& dir, const Settings& s);

// First start: first-run values for every field but langu, then save.
void SetFirstRunDefaults(const std::string& dir, Settings& s);

// Parses a decimal integer the way the settings file wants it: optional sign,
// digits, nothing else; values beyond 32 bits fail; the low 16 bits are kept.
bool ParseSettingValue(std::string_view text, std::int16_t& value);

}  // namespace kirvale::settings
