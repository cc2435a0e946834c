// Readability of the skins: the contrast of text against its background, and
// the text/background pairs a skin's style sheet sets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::settings {

// Relative luminance (0 black … 1 white) of a 0xRRGGBB colour.
double RelativeLuminance(std::uint32_t rgb);
// The contrast ratio of two colours, 1 (equal) to 21 (black on white).
double ContrastRatio(std::uint32_t a, std::uint32_t b);

struct ColourPair {
  std::string selector;  // the rule the pair comes from
  std::uint32_t text;
  std::uint32_t background;
};

// Every text colour of a style sheet with every background it is drawn on:
// a rule's `color` against each colour of its `background` (every stop of a
// gradient), and its `selection-color` against `selection-background-color`.
// A rule that sets only one of the two is paired with the window's text or
// background colour, which then shows through. Rules for disabled controls
// and for parts that carry no text (scroll bars, handles, indicators,
// separators, progress chunks) are left out. Colours are read in #RRGGBB
// and #RGB form.
std::vector<ColourPair> SheetColourPairs(std::string_view sheet, std::uint32_t windowText,
                                         std::uint32_t windowBackground);

}  // namespace kirvale::settings
