#include "BilinearScaler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace tolmar {

namespace {

constexpr int kMargin = 2;

// Copies the rectangle with a margin of real neighbours into `scratch`; 0 where
// the picture ends. Answers the scratch row length in bytes.
size_t FillScratch(const PictureView& p, const ImageRect& s, std::vector<uint8_t>& scratch) {
  const int bpp = p.bytesPerPixel;
  const int sw = s.Width() + 2 * kMargin, sh = s.Height() + 2 * kMargin;
  const size_t rowBytes = static_cast<size_t>(sw) * bpp;
  scratch.assign(rowBytes * static_cast<size_t>(sh), 0);
  const int x0 = s.left - kMargin, y0 = s.top - kMargin;
  const int left = std::max(x0, 0), right = std::min(x0 + sw, p.width);
  if (right <= left) return rowBytes;
  for (int y = std::max(y0, 0); y < std::min(y0 + sh, p.height); ++y) {
    const uint8_t* from = p.bits + static_cast<std::ptrdiff_t>(y) * p.stride + static_cast<std::ptrdiff_t>(left) * bpp;
    uint8_t* to = scratch.data() + static_cast<size_t>(y - y0) * rowBytes + static_cast<size_t>(left - x0) * bpp;
    std::memcpy(to, from, static_cast<size_t>(right - left) * bpp);
  }
  return rowBytes;
}

bool Usable(const PictureView& p, const ImageRect& s, int dw, int dh) {
  return p.bits && (p.bytesPerPixel == 1 || p.bytesPerPixel == 3) && !s.IsEmpty() && dw > 0 && dh > 0;
}

}  // namespace

bool BilinearScaler::ScaleScalar(const PictureView& p, const ImageRect& s, int dw, int dh,
                                 std::vector<uint8_t>& out) {
  if (!Usable(p, s, dw, dh)) return false;
  std::vector<uint8_t> scratch;
  const size_t rowBytes = FillScratch(p, s, scratch);
  const int bpp = p.bytesPerPixel;
  const int sw = s.Width(), sh = s.Height();
  out.assign(static_cast<size_t>(dw) * bpp * static_cast<size_t>(dh), 0);
  auto at = [&](int i, int j, int c) -> double {
    return scratch[static_cast<size_t>(j + kMargin) * rowBytes + static_cast<size_t>(i + kMargin) * bpp + c];
  };
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      const double u = double(x) * sw / dw, v = double(y) * sh / dh;
      const int i = static_cast<int>(std::floor(u)), j = static_cast<int>(std::floor(v));
      const double fx = u - i, fy = v - j;
      for (int c = 0; c < bpp; ++c) {
        const double value = fy * (fx * at(i + 1, j + 1, c) + (1 - fx) * at(i, j + 1, c)) +
                             (1 - fy) * (fx * at(i + 1, j, c) + (1 - fx) * at(i, j, c));
        out[(static_cast<size_t>(y) * dw + x) * bpp + c] = static_cast<uint8_t>(static_cast<int>(value));
      }
    }
  }
  return true;
}

bool BilinearScaler::Scale(const PictureView& p, const ImageRect& s, int dw, int dh, std::vector<uint8_t>& out) {
  if (!Usable(p, s, dw, dh)) return false;
  const size_t rowBytes = FillScratch(p, s, m_scratch);
  const int bpp = p.bytesPerPixel;
  const int sw = s.Width(), sh = s.Height();
  const size_t outRow = static_cast<size_t>(dw) * bpp;
  out.resize(outRow * static_cast<size_t>(dh));

  // Column positions and fractions are the same for every output row.
  m_columnIndex.resize(outRow);
  m_columnFraction.resize(outRow);
  for (int x = 0; x < dw; ++x) {
    const double u = double(x) * sw / dw;
    const int i = static_cast<int>(std::floor(u));
    for (int c = 0; c < bpp; ++c) {
      m_columnIndex[static_cast<size_t>(x) * bpp + c] = (i + kMargin) * bpp + c;
      m_columnFraction[static_cast<size_t>(x) * bpp + c] = u - i;
    }
  }
  // Each source row is interpolated across once and shared by every output row
  // that falls between it and the next; the same expressions as the scalar
  // form keep the results bit for bit equal.
  m_rowA.resize(outRow);
  m_rowB.resize(outRow);
  auto across = [&](int j, std::vector<double>& row) {
    const uint8_t* line = m_scratch.data() + static_cast<size_t>(j + kMargin) * rowBytes;
    const int* index = m_columnIndex.data();
    const double* fraction = m_columnFraction.data();
    double* target = row.data();
    for (size_t k = 0; k < outRow; ++k) {
      const double fx = fraction[k];
      target[k] = fx * line[index[k] + bpp] + (1 - fx) * line[index[k]];
    }
  };
  int rowsFor = -2;  // m_rowA holds row rowsFor, m_rowB row rowsFor + 1
  for (int y = 0; y < dh; ++y) {
    const double v = double(y) * sh / dh;
    const int j = static_cast<int>(std::floor(v));
    const double fy = v - j;
    if (j != rowsFor) {
      if (j == rowsFor + 1) {
        std::swap(m_rowA, m_rowB);
        across(j + 1, m_rowB);
      } else {
        across(j, m_rowA);
        across(j + 1, m_rowB);
      }
      rowsFor = j;
    }
    const double* a = m_rowA.data();
    const double* b = m_rowB.data();
    uint8_t* target = out.data() + static_cast<size_t>(y) * outRow;
    for (size_t k = 0; k < outRow; ++k) {
      target[k] = static_cast<uint8_t>(static_cast<int>(fy * b[k] + (1 - fy) * a[k]));
    }
  }
  return true;
}

}  // namespace tolmar
