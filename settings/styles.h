// The four styles: their names and the palette of each skin, which colours
// what the skin's style sheet (resources/skins/N.qss) does not reach.
#pragma once

#include <array>
#include <cstdint>

namespace kirvale::settings {

struct StyleColours {
  std::uint32_t window;     // window background
  std::uint32_t panel;      // panels, group frames
  std::uint32_t button;     // buttons, caption bars
  std::uint32_t buttonText;
  std::uint32_t text;       // ordinary text
  std::uint32_t base;       // edit boxes and lists
  std::uint32_t accent;     // selection, pressed buttons
  std::uint32_t accentText;
};

struct StyleInfo {
  const char* english;
  const char* chinese;
  StyleColours colours;
};

inline constexpr int kStyleCount = 4;

inline const std::array<StyleInfo, kStyleCount>& Styles() {
  static const std::array<StyleInfo, kStyleCount> styles = {{
      {"Standard", "标准界面",
       {0xECE9D8, 0xF6F4EC, 0xE3E0D0, 0x1A1A1A, 0x1A1A1A, 0xFFFFFF, 0x316AC5, 0xFFFFFF}},
      {"Innocent ages", "纯真年代",
       {0xF7F1DE, 0xFBF7EA, 0xCFE0B8, 0x2E2414, 0x3B2A1A, 0xFFFDF4, 0x53722F, 0xFFFFFF}},
      {"Somewhat gaudy", "有点花哨",
       {0xFFE6F2, 0xFFF0F7, 0xFFC2DD, 0x3A0C22, 0x3A0C22, 0xFFFFFF, 0xC2185B, 0xFFFFFF}},
      {"Elegant moment", "优雅瞬间",
       {0xE9ECF2, 0xF4F6F9, 0xF7F8FB, 0x1B2536, 0x1B2536, 0xFFFFFF, 0x2E4A73, 0xFFFFFF}},
  }};
  return styles;
}

}  // namespace kirvale::settings
