// A dictionary file read once into memory. Every use walks its lines from
// the first, in file order, exactly as a sequential reader restarted at the
// top would.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kirvale::dictionary {

// Lists and positions are signed 16-bit: a dictionary holds at most this
// many lines.
inline constexpr std::size_t kMaxLines = 32767;

class DictionaryReader {
 public:
  // Reads a GBK text file. Lines past kMaxLines are dropped and `truncated`
  // says so. Returns false when the file cannot be read (the reader is then
  // empty).
  bool Bind(const std::string& path, bool* truncated = nullptr);
  // Binds UTF-8 lines directly (tests, tools).
  void BindLines(std::vector<std::string> lines, bool* truncated = nullptr);
  void Close() { lines_.clear(); bound_ = false; }

  bool bound() const { return bound_; }
  const std::vector<std::string>& lines() const { return lines_; }
  std::size_t size() const { return lines_.size(); }
  const std::string& line(std::size_t i) const { return lines_[i]; }

 private:
  std::vector<std::string> lines_;
  bool bound_ = false;
};

}  // namespace kirvale::dictionary
