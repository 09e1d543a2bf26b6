#pragma once

#include <cstdint>
#include <vector>

#include "ImageRect.h"

namespace tolmar {

// Bilinear resampling of a rectangle of an 8-bit or 24-bit picture into a
// larger one, per byte channel. Neighbours outside the rectangle are read from
// the picture where it has them (a margin of 2 pixels) and count as 0 beyond
// its edges. For output pixel (x, y): u = x * sw / dw, v = y * sh / dh,
// i = floor(u), j = floor(v), fx = u - i, fy = v - j and the value is
// floor(fy * (fx * P(i+1, j+1) + (1 - fx) * P(i, j+1))
//       + (1 - fy) * (fx * P(i+1, j) + (1 - fx) * P(i, j))).
struct PictureView {
  const uint8_t* bits = nullptr;  // row 0 at the top
  int width = 0;
  int height = 0;
  int stride = 0;         // bytes from one row to the next (may be negative)
  int bytesPerPixel = 1;  // 1 or 3
};

class BilinearScaler {
 public:
  // Fills `out` with dw x dh pixels (rows of dw * bytesPerPixel bytes, top
  // first). False for empty sizes. `source` is clipped to nothing: positions
  // outside the picture read as 0, so a rectangle partly outside is safe.
  bool Scale(const PictureView& picture, const ImageRect& source, int dw, int dh, std::vector<uint8_t>& out);
  // The same result computed pixel by pixel with no shared work: the reference
  // the fast path is measured and tested against.
  static bool ScaleScalar(const PictureView& picture, const ImageRect& source, int dw, int dh,
                          std::vector<uint8_t>& out);

 private:
  // Scratch buffers are kept between calls: reallocating them for every cell
  // costs more than the arithmetic.
  std::vector<uint8_t> m_scratch;
  std::vector<int> m_columnIndex;
  std::vector<double> m_columnFraction;
  std::vector<double> m_rowA;
  std::vector<double> m_rowB;
};

}  // namespace tolmar
