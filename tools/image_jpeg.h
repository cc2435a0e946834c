// A Qt picture as a JPEG file's bytes, encoded with libjpeg: the build
// tools that draw the program's pictures share it.
#pragma once

#include <QImage>
#include <algorithm>
#include <string>

#include "platform/jpeg.h"

namespace kirvale::tools {

inline std::string ImageToJpeg(const QImage& src, int quality) {
  const QImage img = src.convertToFormat(QImage::Format_RGB888);
  platform::RgbImage out;
  out.width = img.width();
  out.height = img.height();
  out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
  for (int y = 0; y < out.height; ++y)
    std::copy_n(img.constScanLine(y), out.width * 3, out.rgb.data() + static_cast<size_t>(y) * out.width * 3);
  return platform::EncodeJpeg(out, quality);
}

}  // namespace kirvale::tools
