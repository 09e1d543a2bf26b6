#include "GreyImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ByteWriter.h"
#include "PaletteSegment.h"
#include "WindowLookupTable.h"

namespace tolmar {

namespace {

int Round(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -2.0e9, 2.0e9)));
}

template <class Pixel>
void MapRow(const Pixel* source, uint8_t* target, int count, const uint8_t* table) {
  // Eight lookups gathered into one 64-bit store: the lookups are independent
  // and the single store halves the work of the byte-at-a-time loop.
  int x = 0;
  for (; x + 8 <= count; x += 8) {
    const uint64_t packed =
        uint64_t{table[source[x]]} | (uint64_t{table[source[x + 1]]} << 8) |
        (uint64_t{table[source[x + 2]]} << 16) | (uint64_t{table[source[x + 3]]} << 24) |
        (uint64_t{table[source[x + 4]]} << 32) | (uint64_t{table[source[x + 5]]} << 40) |
        (uint64_t{table[source[x + 6]]} << 48) | (uint64_t{table[source[x + 7]]} << 56);
    std::memcpy(target + x, &packed, sizeof packed);
  }
  for (; x < count; ++x) target[x] = table[source[x]];
}

template <class Pixel>
void MapFrame(const uint8_t* frameBytes, int paddedColumns, int rows, DibBitmap& bitmap,
              const ImageRect* rect, const uint8_t* table) {
  const auto* frame = reinterpret_cast<const Pixel*>(frameBytes);
  const int width = bitmap.Width(), height = bitmap.Height();
  const bool sameSize = width == paddedColumns && height == rows;
  const bool hasRect = rect && !rect->IsEmpty();
  if (sameSize && !hasRect) {
    for (int y = 0; y < rows; ++y) {
      MapRow(frame + static_cast<size_t>(y) * paddedColumns, bitmap.Row(y), paddedColumns, table);
    }
    return;
  }
  if (sameSize) {
    const ImageRect part = rect->Normalised().Intersected({0, 0, paddedColumns, rows});
    if (part.IsEmpty()) return;
    for (int y = part.top; y < part.bottom; ++y) {
      MapRow(frame + static_cast<size_t>(y) * paddedColumns + part.left, bitmap.Row(y) + part.left,
             part.Width(), table);
    }
    return;
  }
  // Nearest neighbour from the rectangle (or the whole image) onto the bitmap.
  // Source positions outside the image are painted black rather than read.
  const ImageRect source = hasRect ? rect->Normalised() : ImageRect{0, 0, paddedColumns, rows};
  const int64_t sw = source.Width(), sh = source.Height();
  std::vector<int> columnOf(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) columnOf[static_cast<size_t>(x)] = static_cast<int>(source.left + x * sw / width);
  for (int y = 0; y < height; ++y) {
    const auto sy = static_cast<int>(source.top + y * sh / height);
    uint8_t* target = bitmap.Row(y);
    if (sy < 0 || sy >= rows) {
      std::memset(target, 0, static_cast<size_t>(width));
      continue;
    }
    const Pixel* row = frame + static_cast<size_t>(sy) * paddedColumns;
    for (int x = 0; x < width; ++x) {
      const int sx = columnOf[static_cast<size_t>(x)];
      target[x] = (sx < 0 || sx >= paddedColumns) ? 0 : table[row[sx]];
    }
  }
}

}  // namespace

bool GreyImage::PhotometricCheck() const {
  return m_photometric == "MONOCHROME1" || m_photometric == "MONOCHROME2";
}

bool GreyImage::LoadAttributes(const DicomDataSet& ds) {
  if (!DicomImage::LoadAttributes(ds)) return false;
  m_modalityDefaultCentre = m_hasDefaultCentre ? m_fileCentre : ClassDefaultCentre();
  m_defaultWidth = Round(m_hasDefaultWidth ? m_fileWidth : ClassDefaultWidth());
  return true;
}

bool GreyImage::LoadPixels(const DicomDataSet& ds, bool headerOnly) {
  if (!DicomImage::LoadPixels(ds, headerOnly)) return false;
  // The default centre is converted once the frames are in, so that it follows a
  // rescale intercept changed by the CT remapping.
  m_defaultCentre = Round(ToStored(m_modalityDefaultCentre));
  ResetWindow();
  return true;
}

void GreyImage::ClampWindow() {
  const int size = LookupTableSize();
  m_width = std::clamp(m_width, 2, std::max(2, size));
  m_centre = std::clamp(m_centre, 0, size - 1);
}

bool GreyImage::SetWindow(double width, double centre) {
  if (width < 0) {
    width = -width;
  } else {
    centre = ToStored(centre);
  }
  m_width = Round(width);
  m_centre = Round(centre);
  ClampWindow();
  InvalidateBitmap();
  return true;
}

void GreyImage::GetWindow(double& width, double& centre) const {
  width = m_width;
  centre = ToModality(m_centre);
}

void GreyImage::ResetWindow() {
  m_centre = m_defaultCentre;
  m_width = m_defaultWidth;
  ClampWindow();
  InvalidateBitmap();
}

bool GreyImage::AdjustCentre(int delta) {
  const int before = m_centre;
  m_centre = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(m_centre) + delta, INT32_MIN, INT32_MAX));
  ClampWindow();
  if (m_centre == before) return false;
  InvalidateBitmap();
  return true;
}

bool GreyImage::AdjustWidth(int delta) {
  const int before = m_width;
  m_width = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(m_width) + delta, INT32_MIN, INT32_MAX));
  ClampWindow();
  if (m_width == before) return false;
  InvalidateBitmap();
  return true;
}

bool GreyImage::HasCommand(int number) const {
  return number == image_command::kGetWindow || number == image_command::kSetWindow ||
         number == image_command::kSetSegments || number == image_command::kGetSegments ||
         DicomImage::HasCommand(number);
}

bool GreyImage::RunCommand(int number, CommandArgument& argument) {
  switch (number) {
    case image_command::kGetWindow:
      GetWindow(argument.width, argument.centre);
      return true;
    case image_command::kSetWindow:
      return SetWindow(argument.width, argument.centre);
    case image_command::kSetSegments:
      if (!argument.segments) return false;
      m_display.segments = *argument.segments;
      InvalidateBitmap();
      return true;
    case image_command::kGetSegments:
      if (!argument.segments) return false;
      argument.segments->insert(argument.segments->end(), m_display.segments.begin(), m_display.segments.end());
      return true;
    case image_command::kReset: {
      // The file is re-read first, so that a failed re-read leaves the window too.
      if (!DicomImage::RunCommand(number, argument)) return false;
      ResetWindow();
      m_display.segments.clear();
      InvalidateBitmap();
      return true;
    }
    default:
      return DicomImage::RunCommand(number, argument);
  }
}

void GreyImage::FillPalette(DibBitmap& bitmap) const {
  if (m_display.segments.empty()) {
    bitmap.SetGreyPalette(m_invert);
    return;
  }
  PaletteWindow window;
  window.centre = m_centre;
  window.width = m_width;
  window.toStored = [this](double v) { return ToStored(v); };
  FillSegmentPalette(bitmap.Palette(), m_display.segments, window, m_invert);
}

std::unique_ptr<DibBitmap> GreyImage::CreateBitmap(int width, int height) const {
  auto bitmap = DibBitmap::Create(width == -1 ? m_paddedColumns : width, height == -1 ? m_rows : height, 8);
  if (bitmap) FillPalette(*bitmap);
  return bitmap;
}

bool GreyImage::RenderToDib(DibBitmap& bitmap, const ImageRect* rect) const {
  const auto* frame = Frame();
  if (!frame || bitmap.BitsPerPixel() != 8 || frame->size() < StoredFrameSize()) return false;
  WindowLookupTable table;
  table.Build(m_centre, m_width, LookupTableSize(), LookupTableCapacity());
  FillPalette(bitmap);
  if (m_bytesPerPixel == 1) {
    MapFrame<uint8_t>(frame->data(), m_paddedColumns, m_rows, bitmap, rect, table.Data());
  } else {
    MapFrame<uint16_t>(frame->data(), m_paddedColumns, m_rows, bitmap, rect, table.Data());
  }
  return true;
}

void GreyImage::WriteWindowState(ByteWriter& w) const {
  w.I32(m_centre);
  w.I32(m_width);
}

bool GreyImage::ReadWindowState(ByteReader& r) {
  int32_t centre = 0, width = 0;
  r.I32(centre);
  r.I32(width);
  if (r.Failed()) return false;
  m_centre = centre;
  m_width = width;
  ClampWindow();
  return true;
}

}  // namespace tolmar
