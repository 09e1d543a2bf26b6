#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "DibBitmap.h"

namespace tolmar {

// One colour ramp of a pseudo-colour palette. Kind 4096: from and to are
// modality values; any other kind (the editor writes 256): palette indices.
// Colours are 0x00BBGGRR.
struct PaletteSegment {
  static constexpr int32_t kModalityKind = 4096;
  static constexpr int32_t kIndexKind = 256;

  int32_t kind = kModalityKind;
  int32_t from = 0;
  int32_t to = 0;
  uint32_t startColour = 0x000000;
  uint32_t endColour = 0xFFFFFF;
  bool operator==(const PaletteSegment&) const = default;
};
using PaletteSegments = std::vector<PaletteSegment>;

// The window a kind-4096 segment is clipped to, in stored units, and the
// conversion of its modality values to stored ones.
struct PaletteWindow {
  int centre = 128;
  int width = 256;
  std::function<double(double)> toStored = [](double v) { return v; };
};

// The 256 entries of a grey image's bitmap palette: the grey ramp, each segment
// in order painting its run over it (later ones win), then complemented when
// the image is inverted. Runs are always cut to the 256 entries, whatever the
// segment or window holds.
void FillSegmentPalette(std::array<DibBitmap::PaletteEntry, 256>& palette, const PaletteSegments& segments,
                        const PaletteWindow& window, bool inverted);

}  // namespace tolmar
