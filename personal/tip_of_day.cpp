#include "personal/tip_of_day.h"

namespace kirvale::personal {
namespace {
constexpr int kHeaderBlanks = 6;
constexpr int kHeaderDots = 18;
constexpr const char* kMiddleDot = "·";  // U+00B7, A1 A4 in GBK
}  // namespace

std::int16_t NextTipIndex(std::int16_t current, std::int16_t lastLine) {
  if (current < 0 || current >= lastLine) return 0;
  return static_cast<std::int16_t>(current + 1);
}

std::int16_t LastLineIndex(const dictionary::DictionaryReader& reader) {
  // A reader holds at most kMaxLines (32767) lines, so this fits.
  return static_cast<std::int16_t>(static_cast<int>(reader.size()) - 1);
}

std::string TipHeader(std::string_view languageName) {
  std::string dots;
  for (int i = 0; i < kHeaderDots; ++i) dots += kMiddleDot;
  const std::string blanks(kHeaderBlanks, ' ');
  return blanks + dots + std::string(languageName) + dots + blanks;
}

bool TipDisplayFor(const dictionary::DictionaryReader& reader, int index, std::int16_t uiLanguage, TipDisplay& out) {
  if (index < 0 || static_cast<std::size_t>(index) >= reader.size()) return false;
  out.entry = dictionary::ParseEntryLine(reader.line(static_cast<std::size_t>(index)));
  out.label = "◇" + out.entry.headWord + "\r";
  if (!out.entry.kana.empty()) out.label += "〖" + out.entry.kana + "〗";
  const bool english = uiLanguage == 0;
  out.memoLines = {TipHeader(english ? "Chinese" : "中文"), out.entry.chinese, TipHeader(english ? "English" : "英语"),
                   out.entry.english};
  return true;
}

}  // namespace kirvale::personal
