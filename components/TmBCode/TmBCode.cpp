#include <cstdio>
#include <string>

#include "Code39Bitmap.h"
#include "suite/OutsideLibraryApi.h"

// Writes a Code 39 picture of the decimal value as a BMP file.
extern "C" __attribute__((visibility("default"))) int EXPCreateBarCode(int value,
                                                                       const char* outputPath) {
  if (!outputPath || !*outputPath) return 0;
  tolmar::components::Code39Bitmap bitmap;
  if (!tolmar::components::Code39Bitmap::Render(std::to_string(value), bitmap)) return 0;
  const std::vector<std::uint8_t> bytes = bitmap.ToBmp();
  std::FILE* file = std::fopen(outputPath, "wb");
  if (!file) return 0;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(outputPath);
    return 0;
  }
  return 1;
}
