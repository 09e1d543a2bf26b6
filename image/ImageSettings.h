#pragma once

namespace tolmar {

// Profile values that change how images are built ("Settings" section of the
// viewer's profile). The viewer fills this from its profile; the image code
// only reads it.
struct ImageSettings {
  bool full16Bit = false;  // "Full16Bit": keep the whole 16-bit range, no CT remapping
  bool loadLut = false;    // "LoadLUT": apply a modality lookup table when the data set has one
};

}  // namespace tolmar
