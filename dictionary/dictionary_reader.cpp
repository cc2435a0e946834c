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
  state_->lines = LineStore(lines);
  bound_ = true;
}

bool DictionaryReader::Bind(const std::string& path, bool* truncated) {
  std::string bytes;
  if (!text::readFile(path, bytes)) {
    Close();
    if (truncated) *truncated = false;
    return false;
  }
  BindGbk(bytes, truncated);
  return true;
}

void DictionaryReader::BindGbk(std::string_view gbk, bool* truncated) {
  auto state = std::make_shared<State>();
  // GBK takes two bytes where UTF-8 takes three; pages reserved and never
  // written are never resident.
  state->lines.reserveText(gbk.size() + gbk.size() / 2);
  bool cut = false;
  // Lines are decoded straight into the store; decoding stops at the first
  // line past the limit.
  text::forEachGbkLine(gbk, [&](std::string_view line) {
    if (state->lines.size() == kMaxLines || !state->lines.push_back(line)) {
      cut = true;
      return false;
    }
    return true;
  });
  if (truncated) *truncated = cut;
  state_ = std::move(state);
  bound_ = true;
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
