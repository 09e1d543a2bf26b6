#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tolmar {

class DicomImage;

// One convolution filter of the filter table: a square kernel of up to 16 x 16
// weights, row by row; every weighted sum is divided by `divisor` and `offset`
// is added.
struct FilterRecord {
  std::string name;
  int32_t width = 3;
  int32_t height = 3;
  int32_t offset = 0;
  int32_t divisor = 1;
  std::array<int32_t, 256> weights{};
};

// The six filters of the filter menu and panel, in menu order ("模糊", "平滑",
// "锐化", "阴影", "边界增强", "深度增强"). Each divisor is the sum of its weights,
// or 1 when they sum to 0. Filter n is applied by view command 3000 + n.
const std::vector<FilterRecord>& FilterTable();
constexpr int kFilterCommandBase = 3000;

// Applies a filter to the current frame of a single-frame image (grey: stored
// values limited to 0 .. 2^bitsStored - 1; colour: each of blue, green, red
// limited to 0 .. 255). Neighbours outside the frame count as 0. Sets the
// image's changed mark. False (nothing done) for multi-frame images, an image
// without frames or a kernel larger than 16 x 16.
bool ApplyFilter(DicomImage& image, const FilterRecord& filter);

}  // namespace tolmar
