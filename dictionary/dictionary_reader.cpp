#include "dictionary/dictionary_reader.h"

#include "text/codec.h"

namespace kirvale::dictionary {

DictionaryReader::DictionaryReader() : state_(std::make_shared<State>()) {}

void DictionaryReader::Close() {
  state_ = std::make_shared<State>();
  bound_ = false;
}

void DictionaryReader::BindLines(std::vector<std::string> lines, bool* truncated) {
  const bool cut = lines.size() > kMaxLines;
  if (cut) lines.resize(kMaxLines);
  if (truncated) *truncated = cut;
  state_ = std::make_shared<State>();
  state_->lines = std::move(lines);
  bound_ = true;
}

bool DictionaryReader::Bind(const std::string& path, bool* truncated) {
  std::vector<std::string> lines;
  if (!text::readGbkLines(path, lines)) {
    Close();
    if (truncated) *truncated = false;
    return false;
  }
  BindLines(std::move(lines), truncated);
  return true;
}

const DictionaryReader::State& DictionaryReader::state() const {
  static const State empty;
  return state_ ? *state_ : empty;
}

const LineIndex& DictionaryReader::Index(IndexKey kind) const {
  const auto k = static_cast<std::size_t>(kind);
  static State empty;
  State& s = state_ ? *state_ : empty;
  std::call_once(s.built[k], [&] { s.indexes[k] = std::make_unique<LineIndex>(s.lines, kind); });
  return *s.indexes[k];
}

}  // namespace kirvale::dictionary
