#pragma once

#include <algorithm>

namespace tolmar {

// A rectangle in image pixels with exclusive right and bottom edges, the way
// cell and source rectangles are kept and stored in image state records.
struct ImageRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  ImageRect Normalised() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }
  ImageRect Intersected(const ImageRect& other) const {
    return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom)};
  }
  bool operator==(const ImageRect&) const = default;
};

}  // namespace tolmar
