#pragma once

#include <string>
#include <vector>

#include "PaletteSegment.h"

namespace tolmar {

// A named set of pseudo-colour ramps, as the palette editor keeps them.
struct PalettePreset {
  std::string name;  // 1 to 255 bytes
  PaletteSegments segments;  // 1 to 4096 segments
  bool operator==(const PalettePreset&) const = default;
};

// The palette file "Tolmar.pal" of the program folder: a 32-byte signature,
// then presets until the end of the file (name length and name, segment count,
// 14-byte segments; little endian).
class PaletteFile {
 public:
  static constexpr const char* kFileName = "Tolmar.pal";
  static constexpr const char* kSignature = "Tolmar Palette/VoTrelmandor/2001";
  static constexpr size_t kMaxSegments = 4096;

  // The presets of a file. A missing file or a wrong signature gives none;
  // reading stops at the first malformed preset and keeps those before it.
  static std::vector<PalettePreset> Read(const std::string& path);
  static std::vector<PalettePreset> Parse(const std::vector<uint8_t>& bytes);
  // Writes every preset that a reader can read back. A preset with no segments
  // or with an empty or overlong name would stop the reader and lose the
  // presets after it, so such presets are left out, and segments beyond 4096
  // are cut. False when the file cannot be written (the old file is kept).
  static bool Write(const std::string& path, const std::vector<PalettePreset>& presets);
  static std::vector<uint8_t> Serialise(const std::vector<PalettePreset>& presets);
};

}  // namespace tolmar
