#include "PaletteSegment.h"

#include <algorithm>
#include <cmath>

namespace tolmar {

namespace {

struct Rgb {
  int64_t r = 0, g = 0, b = 0;
};

Rgb Split(uint32_t colour) {
  return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

int64_t ToInt(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int64_t>(std::clamp(v, -1.0e12, 1.0e12));
}

// start + (end - start) * numerator / denominator per channel, truncating.
Rgb Between(const Rgb& start, const Rgb& end, int64_t numerator, int64_t denominator) {
  if (denominator == 0) return start;
  return {start.r + (end.r - start.r) * numerator / denominator,
          start.g + (end.g - start.g) * numerator / denominator,
          start.b + (end.b - start.b) * numerator / denominator};
}

void PaintRun(std::array<DibBitmap::PaletteEntry, 256>& palette, int64_t a, int64_t b, const Rgb& start,
              const Rgb& end) {
  const int64_t n = b - a;
  // A run that ends before it starts paints nothing; entries outside 0..255
  // are skipped so that no segment reaches past the table.
  if (n <= 0) return;
  for (int64_t k = 0; k < n; ++k) {
    const int64_t entry = a + k;
    if (entry < 0 || entry > 255) continue;
    const Rgb c = Between(start, end, k, n);
    auto& e = palette[static_cast<size_t>(entry)];
    e.red = static_cast<uint8_t>(std::clamp<int64_t>(c.r, 0, 255));
    e.green = static_cast<uint8_t>(std::clamp<int64_t>(c.g, 0, 255));
    e.blue = static_cast<uint8_t>(std::clamp<int64_t>(c.b, 0, 255));
    e.reserved = 0;
  }
}

}  // namespace

void FillSegmentPalette(std::array<DibBitmap::PaletteEntry, 256>& palette, const PaletteSegments& segments,
                        const PaletteWindow& window, bool inverted) {
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    palette[static_cast<size_t>(i)] = {v, v, v, 0};
  }
  for (const PaletteSegment& segment : segments) {
    if (segment.from == segment.to) continue;
    Rgb start = Split(segment.startColour), end = Split(segment.endColour);
    int64_t a = segment.from, b = segment.to;
    if (segment.kind == PaletteSegment::kModalityKind) {
      const int64_t s = ToInt(window.toStored(segment.from));
      const int64_t e = ToInt(window.toStored(segment.to));
      const int64_t lo = std::max<int64_t>(window.centre - window.width / 2, 0);
      const int64_t hi = std::min<int64_t>(window.centre + window.width / 2, 4096);
      // A window wholly at or above 4096 (full 16-bit images) leaves no span to
      // spread the ramp over; the segment then paints nothing.
      if (hi <= lo || e == s) continue;
      if (s <= lo) start = Between(start, end, lo - s, e - s);
      if (e >= hi) end = Between(start, end, hi - s, e - s);
      a = std::clamp<int64_t>((s - lo) * 256 / (hi - lo), 0, 256);
      b = std::clamp<int64_t>((e - lo) * 256 / (hi - lo), 0, 256);
    }
    PaintRun(palette, a, b, start, end);
  }
  if (inverted) {
    for (auto& e : palette) {
      e.red = static_cast<uint8_t>(255 - e.red);
      e.green = static_cast<uint8_t>(255 - e.green);
      e.blue = static_cast<uint8_t>(255 - e.blue);
    }
  }
}

}  // namespace tolmar
