#include "FilterRecord.h"

#include <algorithm>
#include <initializer_list>

#include "DicomImage.h"

namespace tolmar {

namespace {

FilterRecord MakeFilter(const char* name, int size, std::initializer_list<int32_t> weights) {
  FilterRecord f;
  f.name = name;
  f.width = f.height = size;
  std::copy(weights.begin(), weights.end(), f.weights.begin());
  int32_t sum = 0;
  for (int i = 0; i < size * size; ++i) sum += f.weights[static_cast<size_t>(i)];
  f.divisor = sum == 0 ? 1 : sum;
  f.offset = 0;
  return f;
}

std::vector<FilterRecord> BuildTable() {
  return {
      MakeFilter("模糊", 3, {1, 4, 1, 4, -4, 4, 1, 4, 1}),
      MakeFilter("平滑", 3, {1, 2, 1, 2, 4, 2, 1, 2, 1}),
      MakeFilter("锐化", 3, {-1, -1, -1, -1, 9, -1, -1, -1, -1}),
      MakeFilter("阴影", 3, {-2, -1, 0, 1, 1, 1, 0, 1, 2}),
      MakeFilter("边界增强", 5, {0, -1, -2, -1, 0, -1, -2, -3, -2, -1, -2, -3, 40, -3, -2,
                                 -1, -2, -3, -2, -1, 0, -1, -2, -1, 0}),
      MakeFilter("深度增强", 5, {0, -1, -2, -1, 0, -1, -2, -3, -2, -1, -2, -3, 36, -3, -2,
                                 -1, -2, -3, -2, -1, 0, -1, -2, -1, 0}),
  };
}

template <class Read, class Write>
void Convolve(const FilterRecord& f, int columns, int rows, int channels, int64_t limit, Read read,
              Write write) {
  const int n = f.width, half = n / 2;
  const int64_t divisor = f.divisor == 0 ? 1 : f.divisor;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      for (int c = 0; c < channels; ++c) {
        int64_t sum = 0;
        for (int j = 0; j < n; ++j) {
          const int sy = y + j - half;
          if (sy < 0 || sy >= rows) continue;
          for (int i = 0; i < n; ++i) {
            const int sx = x + i - half;
            if (sx < 0 || sx >= columns) continue;
            sum += static_cast<int64_t>(f.weights[static_cast<size_t>(j * f.width + i)]) * read(sx, sy, c);
          }
        }
        const int64_t r = sum / divisor + f.offset;
        write(x, y, c, r <= 0 ? 0 : (r >= limit ? limit : r));
      }
    }
  }
}

}  // namespace

const std::vector<FilterRecord>& FilterTable() {
  static const std::vector<FilterRecord> table = BuildTable();
  return table;
}

bool ApplyFilter(DicomImage& image, const FilterRecord& f) {
  if (image.FrameCount() != 1 || f.width != f.height || f.width < 1 || f.width > 16) return false;
  const FrameBuffer* frame = image.Frame();
  if (!frame || frame->size() < image.StoredFrameSize()) return false;
  const int columns = image.PaddedColumns(), rows = image.Rows();
  const int bpp = image.BytesPerPixel();
  std::vector<uint8_t> out(image.StoredFrameSize(), 0);
  const uint8_t* in = frame->data();
  if (image.Type() == PixelType::Colour) {
    const auto at = [&](int x, int y, int c) { return (static_cast<size_t>(y) * columns + x) * 3 + c; };
    Convolve(f, columns, rows, 3, 255, [&](int x, int y, int c) { return int64_t{in[at(x, y, c)]}; },
             [&](int x, int y, int c, int64_t v) { out[at(x, y, c)] = static_cast<uint8_t>(v); });
  } else if (bpp == 1) {
    const int64_t limit = (int64_t{1} << std::min(image.BitsStored(), 8)) - 1;
    const auto at = [&](int x, int y) { return static_cast<size_t>(y) * columns + x; };
    Convolve(f, columns, rows, 1, limit, [&](int x, int y, int) { return int64_t{in[at(x, y)]}; },
             [&](int x, int y, int, int64_t v) { out[at(x, y)] = static_cast<uint8_t>(v); });
  } else {
    const int64_t limit = (int64_t{1} << std::min(image.BitsStored(), 16)) - 1;
    const auto at = [&](int x, int y) { return (static_cast<size_t>(y) * columns + x) * 2; };
    Convolve(
        f, columns, rows, 1, limit,
        [&](int x, int y, int) { return int64_t{in[at(x, y)]} | (int64_t{in[at(x, y) + 1]} << 8); },
        [&](int x, int y, int, int64_t v) {
          out[at(x, y)] = static_cast<uint8_t>(v & 0xFF);
          out[at(x, y) + 1] = static_cast<uint8_t>(v >> 8);
        });
  }
  if (!image.ReplaceFrame(-1, out)) return false;
  image.Display().changed = true;
  return true;
}

}  // namespace tolmar
