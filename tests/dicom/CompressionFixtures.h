#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"
#include "dicom/DicomElement.h"

namespace tolmar::test {

// An image description for compression tests.
struct ImageSpec {
  int rows = 64;
  int columns = 48;
  int bitsAllocated = 16;
  int bitsStored = 12;
  std::string photometric = "MONOCHROME2";
  int frames = 1;  // (0028,0008) written when above 1
  int pixelRepresentation = 0;
};

// CT-like content: smooth body with edges and noise, within the stored bits.
inline std::vector<uint8_t> CtLikePixels(const ImageSpec& shape, unsigned seed = 7) {
  const int samples = shape.photometric.rfind("RGB", 0) == 0 ? 3 : 1;
  const int bytes = shape.bitsAllocated / 8;
  const uint32_t maxValue = (1u << shape.bitsStored) - 1;
  std::mt19937 random(seed);
  std::vector<uint8_t> pixels(static_cast<size_t>(shape.rows) * shape.columns * samples * bytes *
                              shape.frames);
  size_t i = 0;
  for (int f = 0; f < shape.frames; ++f) {
    for (int r = 0; r < shape.rows; ++r) {
      for (int c = 0; c < shape.columns; ++c) {
        const double dx = (c - shape.columns / 2.0) / shape.columns;
        const double dy = (r - shape.rows / 2.0) / shape.rows;
        const double d = std::sqrt(dx * dx + dy * dy);
        for (int s = 0; s < samples; ++s) {
          double v = d < 0.4 ? 0.45 + 0.2 * std::sin(8 * dx + f + s) : 0.0;
          if (d < 0.1) v = 0.9;
          v += (random() % 64) / 4096.0;
          const uint32_t value = std::min<uint32_t>(maxValue, static_cast<uint32_t>(v * maxValue));
          pixels[i++] = static_cast<uint8_t>(value);
          if (bytes == 2) pixels[i++] = static_cast<uint8_t>(value >> 8);
        }
      }
    }
  }
  return pixels;
}

inline void PutText(DicomDataSet& ds, uint16_t g, uint16_t e, uint16_t vrCode,
                    const std::string& text) {
  ds.SetElement(DicomElement::FromText(g, e, vrCode, text));
}
inline void PutUShort(DicomDataSet& ds, uint16_t g, uint16_t e, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  ds.SetElement(DicomElement::FromBytes(g, e, vr::US, bytes));
}

inline std::unique_ptr<DicomDataSet> MakeImage(const ImageSpec& shape,
                                               const std::vector<uint8_t>& pixels) {
  auto ds = std::make_unique<DicomDataSet>();
  PutText(*ds, 0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.7");
  PutText(*ds, 0x0008, 0x0018, vr::UI, "1.2.840.1978.7.1.99.1");
  PutText(*ds, 0x0010, 0x0010, vr::PN, "TEST^COMPRESSION");
  const bool rgb = shape.photometric.rfind("RGB", 0) == 0;
  PutUShort(*ds, 0x0028, 0x0002, rgb ? 3 : 1);
  PutText(*ds, 0x0028, 0x0004, vr::CS, shape.photometric);
  if (rgb) PutUShort(*ds, 0x0028, 0x0006, 0);
  if (shape.frames > 1) PutText(*ds, 0x0028, 0x0008, vr::IS, std::to_string(shape.frames));
  PutUShort(*ds, 0x0028, 0x0010, static_cast<uint16_t>(shape.rows));
  PutUShort(*ds, 0x0028, 0x0011, static_cast<uint16_t>(shape.columns));
  PutUShort(*ds, 0x0028, 0x0100, static_cast<uint16_t>(shape.bitsAllocated));
  PutUShort(*ds, 0x0028, 0x0101, static_cast<uint16_t>(shape.bitsStored));
  PutUShort(*ds, 0x0028, 0x0102, static_cast<uint16_t>(shape.bitsStored - 1));
  PutUShort(*ds, 0x0028, 0x0103, static_cast<uint16_t>(shape.pixelRepresentation));
  ds->SetElement(
      DicomElement::FromBytes(0x7FE0, 0x0010, shape.bitsAllocated > 8 ? vr::OW : vr::OB, pixels));
  return ds;
}

inline std::vector<uint8_t> PixelBytes(const DicomDataSet& ds) {
  const DicomElement* e = ds.FindElement(0x7FE0, 0x0010);
  if (!e || !e->HasValue()) return {};
  return {e->Value(), e->Value() + e->length};
}

// A folder removed with everything in it when the test ends.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/tolmar-compress-XXXXXX";
    m_path = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(m_path); }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

inline bool ProgramInstalled(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool RunQuietly(const std::string& commandLine) {
  return std::system((commandLine + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace tolmar::test
