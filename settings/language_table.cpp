#include "settings/language_table.h"

#include "text/codec.h"

namespace kirvale::settings {

bool LanguageTable::Open(const std::string& path) {
  std::vector<std::string> lines;
  if (!text::readGbkLines(path, lines)) return false;
  lines_ = std::move(lines);
  return true;
}

std::string LanguageTable::LookUpTagText(int tag, std::int16_t language) const {
  const std::string digits = std::to_string(tag & 0xFF);
  for (const std::string& line : lines_) {
    if (line.find(digits) == std::string::npos) continue;
    const std::size_t slash = line.find('/');
    if (slash == std::string::npos) return language == 0 ? std::string() : text::trim(line);
    if (language != 0) return text::trim(std::string_view(line).substr(slash + 1));
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon > slash) return {};
    return text::trim(std::string_view(line).substr(colon + 1, slash - colon - 1));
  }
  return {};
}

}  // namespace kirvale::settings
