// Small UTF-8 helpers of the dictionary builder (internal).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kirvale::dictbuild {

inline constexpr char32_t kBadUtf8 = 0xFFFFFFFF;

// Decodes the character at `i` and moves `i` past it; a bad byte yields
// kBadUtf8 and moves one byte on.
inline char32_t DecodeUtf8(std::string_view s, size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
  if (n < 0 || i + static_cast<size_t>(n) >= s.size()) {
    ++i;
    return kBadUtf8;
  }
  if (n == 0) {
    ++i;
    return c;
  }
  char32_t cp = c & (0x3F >> n);
  for (int k = 1; k <= n; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d >> 6) != 2) {
      ++i;
      return kBadUtf8;
    }
    cp = (cp << 6) | (d & 0x3F);
  }
  i += static_cast<size_t>(n) + 1;
  return cp;
}

inline std::string EncodeUtf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

// Code points of a UTF-8 text (bad bytes as kBadUtf8).
inline std::u32string ToCodePoints(std::string_view s) {
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) out.push_back(DecodeUtf8(s, i));
  return out;
}

inline std::string FromCodePoints(std::u32string_view s) {
  std::string out;
  for (char32_t c : s) out += EncodeUtf8(c);
  return out;
}

// Blanks (codes 0..32) removed at both ends.
inline std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(b, e - b));
}

// Lines of a text (CR LF, LF or CR), without their breaks.
inline std::vector<std::string_view> SplitLinesView(std::string_view s) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      lines.push_back(s.substr(start, i - start));
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < s.size()) lines.push_back(s.substr(start));
  return lines;
}

inline bool IsHiragana(char32_t c) { return (c >= 0x3041 && c <= 0x309F); }
inline bool IsKatakana(char32_t c) { return (c >= 0x30A0 && c <= 0x30FF) || c == 0xFF70; }
inline bool IsKana(char32_t c) { return IsHiragana(c) || IsKatakana(c); }

}  // namespace kirvale::dictbuild
