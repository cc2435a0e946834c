#include "platform/jpeg.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>

#include "text/codec.h"

namespace kirvale::platform {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

void quiet(j_common_ptr, int) {}

}  // namespace

bool DecodeJpeg(std::string_view bytes, RgbImage& out) {
  out = RgbImage{};
  if (bytes.empty()) return false;
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  err.pub.emit_message = quiet;
  // Everything the jump can skip over lives outside this frame's locals that
  // change after setjmp.
  static thread_local RgbImage work;
  work = RgbImage{};
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    work = RgbImage{};
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  work.width = static_cast<int>(cinfo.output_width);
  work.height = static_cast<int>(cinfo.output_height);
  work.rgb.resize(static_cast<size_t>(work.width) * work.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = work.rgb.data() + static_cast<size_t>(cinfo.output_scanline) * work.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  out = std::move(work);
  work = RgbImage{};
  return true;
}

bool DecodeJpegFile(const std::string& path, RgbImage& out) {
  std::string bytes;
  if (!text::readFile(path, bytes)) {
    out = RgbImage{};
    return false;
  }
  return DecodeJpeg(bytes, out);
}

std::string EncodeJpeg(const RgbImage& image, int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  jpeg_mem_dest(&cinfo, &mem, &memSize);
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(image.rgb.data()) +
                   static_cast<size_t>(cinfo.next_scanline) * image.width * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string out(reinterpret_cast<char*>(mem), memSize);
  jpeg_destroy_compress(&cinfo);
  std::free(mem);
  return out;
}

}  // namespace kirvale::platform
