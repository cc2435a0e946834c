// JPEG pictures through libjpeg: the splash picture and the style previews.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::platform {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top to bottom
};

// Decodes JPEG bytes. Returns false (and leaves `out` empty) for data that is
// not a readable JPEG picture; never aborts the program.
bool DecodeJpeg(std::string_view bytes, RgbImage& out);
bool DecodeJpegFile(const std::string& path, RgbImage& out);

// Encodes an RGB picture as a baseline JPEG.
std::string EncodeJpeg(const RgbImage& image, int quality = 90);

}  // namespace kirvale::platform
