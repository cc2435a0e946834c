// The three arrangements of the result panes, kept as the `level` setting.
#pragma once

#include <cstdint>

namespace kirvale::dictionary {

struct PaneGeometry {
  int blockTop;     // top of the English block inside the result panel
  int blockHeight;  // height of the English block
  int paneHeight;   // height of the English pane; -1 leaves it as it is
};

inline constexpr std::int16_t kSplit = 0;
inline constexpr std::int16_t kChineseFull = 1;
inline constexpr std::int16_t kEnglishFull = -1;

// -1 English full, 0 split, any other value Chinese full.
inline PaneGeometry PaneLayoutFor(std::int16_t level) {
  if (level == kEnglishFull) return {19, 216, 193};
  if (level == kSplit) return {115, 120, 97};
  return {216, 18, -1};
}

// A click on the English caption bar: split becomes English full, any other
// layout becomes split. The current layout is read from the block's top.
inline std::int16_t LevelAfterEnglishCaptionClick(int blockTop) {
  return blockTop == 115 ? kEnglishFull : kSplit;
}

}  // namespace kirvale::dictionary
