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
  auto state = std::make_shared<State>();
  bool cut = false;
  // Lines are decoded straight into the store; reading stops at the first
  // line past the limit.
  const bool read = text::readGbkLines(
      path, [&](std::string_view line) {
        if (state->lines.size() == kMaxLines || !state->lines.push_back(line)) {
          cut = true;
          return false;
        }
        return true;
      },
      [&](std::size_t fileBytes) {
        // GBK takes two bytes where UTF-8 takes three; pages reserved and
        // never written are never resident.
        state->lines.reserveText(fileBytes + fileBytes / 2);
      });
  if (truncated) *truncated = read && cut;
  if (!read) {
    Close();
    return false;
  }
  state_ = std::move(state);
  bound_ = true;
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
