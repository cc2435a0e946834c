// A temporary folder removed with everything in it when the test ends.
#pragma once

#include <string>

namespace kirvale::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes bytes to a file, replacing it.
void WriteBytes(const std::string& path, const std::string& bytes);
// Reads a whole file ("" when missing).
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

}  // namespace kirvale::testing
