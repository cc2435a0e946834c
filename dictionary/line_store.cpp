#include "dictionary/line_store.h"

namespace kirvale::dictionary {

LineStore::LineStore(const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const std::string& l : lines) bytes += l.size();
  text_.reserve(bytes);
  starts_.reserve(lines.size() + 1);
  for (const std::string& l : lines) push_back(l);
}

bool LineStore::push_back(std::string_view line) {
  if (line.size() > UINT32_MAX - text_.size()) return false;
  text_.append(line);
  starts_.push_back(static_cast<std::uint32_t>(text_.size()));
  return true;
}

bool LineStore::operator==(const std::vector<std::string>& lines) const {
  if (lines.size() != size()) return false;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if ((*this)[i] != lines[i]) return false;
  return true;
}

}  // namespace kirvale::dictionary
