#include "dictionary/dictionary_reader.h"

#include "text/codec.h"

namespace kirvale::dictionary {

void DictionaryReader::BindLines(std::vector<std::string> lines, bool* truncated) {
  const bool cut = lines.size() > kMaxLines;
  if (cut) lines.resize(kMaxLines);
  if (truncated) *truncated = cut;
  lines_ = std::move(lines);
  bound_ = true;
}

bool DictionaryReader::Bind(const std::string& path, bool* truncated) {
  std::vector<std::string> lines;
  if (!text::readGbkLines(path, lines)) {
    lines_.clear();
    bound_ = false;
    if (truncated) *truncated = false;
    return false;
  }
  BindLines(std::move(lines), truncated);
  return true;
}

}  // namespace kirvale::dictionary
