#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolmar::components {

// Code 39 picture of a text of digits and '-', with start and stop
// characters and quiet zones; narrow modules 2 pixels, wide 5.
struct Code39Bitmap {
  static constexpr int kNarrow = 2;
  static constexpr int kWide = 5;
  static constexpr int kQuietZone = 20;
  static constexpr int kHeight = 60;

  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> dark;  // width * height, 1 = bar, top row first

  // False for characters outside digits and '-'.
  static bool Render(const std::string& text, Code39Bitmap& out);
  // 24-bit BMP bytes (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows).
  std::vector<std::uint8_t> ToBmp() const;
};

}  // namespace tolmar::components
