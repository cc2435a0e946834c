// A dictionary file read once into memory. Every search answers as a pass
// over its lines from the first, in file order, would; the searches that are
// asked often use the indexes (line_index.h) the reader builds over those
// lines, each once, on first use.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/line_index.h"
#include "dictionary/line_store.h"

namespace kirvale::dictionary {

// Lists and positions are signed 16-bit: a dictionary holds at most this
// many lines.
inline constexpr std::size_t kMaxLines = 32767;

class DictionaryReader {
 public:
  DictionaryReader();

  // Reads a GBK text file. Lines past kMaxLines are dropped and `truncated`
  // says so. Returns false when the file cannot be read (the reader is then
  // empty).
  bool Bind(const std::string& path, bool* truncated = nullptr);
  // Binds GBK text held in memory (a dictionary decrypted without a plain
  // copy on disk), as Bind binds a file's.
  void BindGbk(std::string_view gbk, bool* truncated = nullptr);
  // Binds UTF-8 lines directly (tests, tools).
  void BindLines(std::vector<std::string> lines, bool* truncated = nullptr);
  void Close();

  bool bound() const { return bound_; }
  const LineStore& lines() const { return state().lines; }
  std::size_t size() const { return state().lines.size(); }
  std::string_view line(std::size_t i) const { return state().lines[i]; }

  // The index on `kind` over the bound lines; built on the first call
  // (thread-safe), then kept until the reader is bound again or closed.
  const LineIndex& Index(IndexKey kind) const;

 private:
  // The lines and their indexes live together, so that copies of a reader
  // share both and moving a reader leaves the indexes pointing at its lines.
  struct State {
    LineStore lines;
    std::array<std::once_flag, static_cast<std::size_t>(IndexKey::Count)> built;
    std::array<std::unique_ptr<LineIndex>, static_cast<std::size_t>(IndexKey::Count)> indexes;
  };
  // A moved-from reader reads as empty.
  const State& state() const;
  std::shared_ptr<State> state_;
  bool bound_ = false;
};

}  // namespace kirvale::dictionary
