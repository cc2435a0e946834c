// The four styles: their names and the colours every skin is drawn with. The
// skin engine and the preview pictures both take their colours from here.
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
       {0xECE9D8, 0xF4F2E8, 0xDCD7C0, 0x1A1A1A, 0x1A1A1A, 0xFFFFFF, 0x316AC5, 0xFFFFFF}},
      {"Innocent ages", "纯真年代",
       {0xE8F1E0, 0xF3F8EE, 0xB9D6A3, 0x233318, 0x233318, 0xFFFFFB, 0x5E9A3A, 0xFFFFFF}},
      {"Somewhat gaudy", "有点花哨",
       {0xFCE3EE, 0xFFF0F6, 0xF6A9C9, 0x4A0F2B, 0x3A0C22, 0xFFFFFF, 0xD63384, 0xFFFFFF}},
      {"Elegant moment", "优雅瞬间",
       {0xDDE3EC, 0xEEF1F6, 0x9FB0C8, 0x102035, 0x1B2536, 0xFBFCFE, 0x3E5A85, 0xFFFFFF}},
  }};
  return styles;
}

}  // namespace kirvale::settings
