// Shared helpers of the fuzz harnesses: a private scratch folder, files
// written from the fuzzer's bytes, and checks that stop the run with a
// message the fuzzer keeps next to its crash input.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/codec.h"

namespace kirvale::fuzz {

// A folder of this process's own under TMPDIR (or /tmp), made once.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kirvale-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    return pattern;
  }();
  return folder;
}

inline std::string ScratchPath(const char* name) { return ScratchFolder() + "/" + name; }

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::abort();
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);
}

inline std::string ReadBytes(const std::string& path) {
  std::string bytes;
  if (!text::readFile(path, bytes)) {
    std::fprintf(stderr, "cannot read back %s\n", path.c_str());
    std::abort();
  }
  return bytes;
}

// Lines as the program holds a dictionary file's lines: decoded from GBK and
// split at the line breaks.
inline std::vector<std::string> GbkLines(std::string_view bytes) { return text::splitLines(text::gbkToUtf8(bytes)); }

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

}  // namespace kirvale::fuzz

#define FUZZ_CHECK(cond) \
  do { \
    if (!(cond)) ::kirvale::fuzz::Fail(#cond, __FILE__, __LINE__); \
  } while (0)

// The fuzzer's bytes as a string_view.
#define FUZZ_INPUT std::string_view(reinterpret_cast<const char*>(data), size)
