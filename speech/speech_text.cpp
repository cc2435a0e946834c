#include "speech/speech_text.h"

#include "text/codec.h"

namespace kirvale::speech {

namespace {
constexpr std::string_view kDiamond = "\u25C7";  // "◇"
}

std::string WordToSpeak(std::string_view headWordLabel) {
  std::string label = text::trim(headWordLabel);
  if (label.empty()) return label;
  std::string_view rest = label;
  if (rest.substr(0, kDiamond.size()) == kDiamond) rest.remove_prefix(kDiamond.size());
  return text::trim(rest);
}

}  // namespace kirvale::speech
