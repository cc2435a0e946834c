#include "settings/contrast.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

namespace kirvale::settings {
namespace {

double channel(std::uint32_t c) {
  const double v = static_cast<double>(c & 0xFF) / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string withoutComments(std::string_view sheet) {
  std::string out;
  for (std::size_t i = 0; i < sheet.size();) {
    if (sheet.compare(i, 2, "/*") == 0) {
      const std::size_t end = sheet.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 2;
    } else {
      out += sheet[i++];
    }
  }
  return out;
}

// The colours written in a value, in order.
std::vector<std::uint32_t> coloursIn(std::string_view value) {
  std::vector<std::uint32_t> out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '#') continue;
    std::size_t n = 0;
    while (i + 1 + n < value.size() && std::isxdigit(static_cast<unsigned char>(value[i + 1 + n]))) ++n;
    const std::string hex(value.substr(i + 1, n));
    if (n == 6) {
      out.push_back(static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16)));
    } else if (n == 3) {
      std::uint32_t c = 0;
      for (char h : hex) {
        const std::uint32_t d = static_cast<std::uint32_t>(std::stoul(std::string(1, h), nullptr, 16));
        c = (c << 8) | (d << 4) | d;
      }
      out.push_back(c);
    }
    i += n;
  }
  return out;
}

bool carriesText(std::string_view selector) {
  static constexpr std::string_view kNoText[] = {"::handle", "::groove", "::add-line", "::sub-line", "::add-page",
                                                 "::sub-page", "::indicator", "::separator", "::chunk", "arrow",
                                                 "::drop-down", "::corner", "::branch", "QScrollBar", "QSlider",
                                                 ":disabled"};
  for (std::string_view s : kNoText)
    if (selector.find(s) != std::string_view::npos) return false;
  return true;
}

}  // namespace

double RelativeLuminance(std::uint32_t rgb) {
  return 0.2126 * channel(rgb >> 16) + 0.7152 * channel(rgb >> 8) + 0.0722 * channel(rgb);
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<ColourPair> SheetColourPairs(std::string_view sheet, std::uint32_t windowText,
                                         std::uint32_t windowBackground) {
  const std::string text = withoutComments(sheet);
  std::vector<ColourPair> pairs;
  std::size_t pos = 0;
  while (true) {
    const std::size_t open = text.find('{', pos);
    if (open == std::string::npos) break;
    const std::size_t close = text.find('}', open);
    if (close == std::string::npos) break;
    const std::string_view selectors = trim(std::string_view(text).substr(pos, open - pos));
    const std::string_view body = std::string_view(text).substr(open + 1, close - open - 1);
    pos = close + 1;

    bool anyText = false;
    std::size_t start = 0;
    while (start <= selectors.size()) {
      std::size_t comma = selectors.find(',', start);
      if (comma == std::string_view::npos) comma = selectors.size();
      if (carriesText(trim(selectors.substr(start, comma - start)))) anyText = true;
      start = comma + 1;
    }
    if (!anyText) continue;

    std::optional<std::uint32_t> colour, selectionColour;
    std::vector<std::uint32_t> background, selectionBackground;
    bool backgroundSet = false, selectionBackgroundSet = false;
    std::size_t d = 0;
    while (d < body.size()) {
      std::size_t semi = body.find(';', d);
      if (semi == std::string_view::npos) semi = body.size();
      const std::string_view decl = trim(body.substr(d, semi - d));
      d = semi + 1;
      const std::size_t colon = decl.find(':');
      if (colon == std::string_view::npos) continue;
      const std::string_view name = trim(decl.substr(0, colon));
      const std::string_view value = trim(decl.substr(colon + 1));
      const std::vector<std::uint32_t> cs = coloursIn(value);
      if (name == "color") {
        if (!cs.empty()) colour = cs.front();
      } else if (name == "background" || name == "background-color") {
        backgroundSet = true;
        background = cs.empty() ? std::vector<std::uint32_t>{windowBackground} : cs;
      } else if (name == "selection-color") {
        if (!cs.empty()) selectionColour = cs.front();
      } else if (name == "selection-background-color") {
        selectionBackgroundSet = true;
        selectionBackground = cs;
      }
    }
    const std::string sel(selectors);
    if (colour || backgroundSet) {
      if (!backgroundSet) background = {windowBackground};
      for (std::uint32_t b : background) pairs.push_back({sel, colour.value_or(windowText), b});
    }
    if (selectionColour && selectionBackgroundSet)
      for (std::uint32_t b : selectionBackground) pairs.push_back({sel + " (selection)", *selectionColour, b});
  }
  return pairs;
}

}  // namespace kirvale::settings
