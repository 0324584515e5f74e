#include "media/jpeg/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "frame/file_bytes.h"

namespace velmoria {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void quiet(j_common_ptr, int) {}

// Plain C from setjmp to the end: nothing with a destructor may live across the longjmp.
bool decodeInto(const unsigned char* data, unsigned long size, JpegPicture* out) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = jumpBack;
  errors.pub.emit_message = quiet;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  const JDIMENSION width = info.output_width;
  const JDIMENSION height = info.output_height;
  if (width == 0 || height == 0 || info.output_components != 4) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  out->width = static_cast<int>(width);
  out->height = static_cast<int>(height);
  out->pixels.resize(static_cast<size_t>(width) * height);
  while (info.output_scanline < height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(out->pixels.data() +
                                              static_cast<size_t>(info.output_scanline) * width);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

bool looksLikeJpeg(const std::string& bytes) {
  return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8 &&
         static_cast<unsigned char>(bytes[2]) == 0xFF;
}

std::optional<JpegPicture> decodeJpeg(const std::string& bytes) {
  if (!looksLikeJpeg(bytes)) return std::nullopt;
  JpegPicture picture;
  if (!decodeInto(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &picture))
    return std::nullopt;
  for (auto& p : picture.pixels) p |= 0xff000000u;  // X is opaque whatever libjpeg left there
  return picture;
}

std::optional<JpegPicture> readJpegFile(const std::filesystem::path& file) {
  const auto bytes = readFileBytes(file);
  if (!bytes) return std::nullopt;
  return decodeJpeg(*bytes);
}

}  // namespace velmoria
