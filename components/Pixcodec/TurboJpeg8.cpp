#include "TurboJpeg8.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <cstring>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace pixcodec {
namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void SilentMessage(j_common_ptr) {}

// Kept apart from the setjmp frames: no object with a destructor lives across a longjmp.
thread_local std::vector<uint8_t> t_rows;
// The compressor's output buffer, filled by libjpeg; also kept outside the setjmp frame.
thread_local unsigned char* t_buffer = nullptr;
thread_local unsigned long t_bufferSize = 0;

}  // namespace

bool DecodeTurboJpeg8(const uint8_t* data, size_t size, int width, int height, int components,
                      int bytesPerSample, uint8_t* output, size_t outputSize) {
  const size_t rowSamples = static_cast<size_t>(width) * components;
  if (outputSize != rowSamples * height * bytesPerSample) return false;
  t_rows.resize(rowSamples);
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.output_message = SilentMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
      static_cast<int>(info.image_width) != width ||
      static_cast<int>(info.image_height) != height || info.num_components != components ||
      info.data_precision != 8) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  if (components == 3 && !info.saw_JFIF_marker && !info.saw_Adobe_marker) {
    // The image is "RGB": a colour stream that does not say it was transformed is not.
    info.jpeg_color_space = JCS_RGB;
  }
  info.out_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  info.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&info);
  if (static_cast<int>(info.output_components) != components) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    const size_t y = info.output_scanline;
    JSAMPROW row = bytesPerSample == 1 ? output + y * rowSamples : t_rows.data();
    if (jpeg_read_scanlines(&info, &row, 1) != 1) {
      jpeg_destroy_decompress(&info);
      return false;
    }
    if (bytesPerSample == 2) {
      uint8_t* out = output + y * rowSamples * 2;
      for (size_t i = 0; i < rowSamples; ++i) {
        out[2 * i] = t_rows[i];
        out[2 * i + 1] = 0;
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

bool EncodeTurboJpeg8(const uint8_t* input, int width, int height, int components,
                      int bytesPerSample, int quality, std::vector<uint8_t>& output) {
  const size_t rowSamples = static_cast<size_t>(width) * components;
  t_rows.resize(rowSamples);
  jpeg_compress_struct info;
  ErrorManager errors;
  t_buffer = nullptr;
  t_bufferSize = 0;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.output_message = SilentMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(t_buffer);
    t_buffer = nullptr;
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &t_buffer, &t_bufferSize);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  // The image stays "RGB": colour is coded without the YCbCr transform (Adobe marker).
  if (components == 3) jpeg_set_colorspace(&info, JCS_RGB);
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const size_t y = info.next_scanline;
    JSAMPROW row;
    if (bytesPerSample == 1) {
      row = const_cast<JSAMPROW>(input + y * rowSamples);
    } else {
      const uint8_t* in = input + y * rowSamples * 2;
      for (size_t i = 0; i < rowSamples; ++i) {
        t_rows[i] = in[2 * i + 1] ? 0xFF : in[2 * i];
      }
      row = t_rows.data();
    }
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  output.assign(t_buffer, t_buffer + t_bufferSize);
  std::free(t_buffer);
  t_buffer = nullptr;
  return true;
}

}  // namespace pixcodec
