#pragma once

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "CellPainter.h"
#include "DicomImage.h"

namespace tolmar {

// A display cell holding several images in an internal grid. The cell owns its
// images; painting gives each its own rectangle.
class MergedCell {
 public:
  static constexpr int32_t kGridVersion = 1;

  void Add(std::unique_ptr<DicomImage> image) { m_images.push_back(std::move(image)); }
  int Count() const { return static_cast<int>(m_images.size()); }
  DicomImage* Image(int i) const { return i >= 0 && i < Count() ? m_images[static_cast<size_t>(i)].get() : nullptr; }

  // Rows and columns as set; 0 for either lets the cell choose from its size.
  void SetGrid(int rows, int columns);
  int Rows() const { return m_rows; }
  int Columns() const { return m_columns; }
  // The grid used in `cell`: as set when both are non-zero, else columns =
  // trunc(sqrt(W * n / H)) (at least 1) and rows = ceil(n / columns).
  void GridFor(const ImageRect& cell, int& rows, int& columns) const;
  // The rectangle of image i; empty for an index outside the list.
  ImageRect ImageRectAt(int i, const ImageRect& cell) const;
  // Paints every image in its rectangle; on a printer the patient texts are
  // hidden when the cell holds more than one image. True when any image showed.
  bool Paint(QPainter& painter, const ImageRect& cell, PaintCellOptions options) const;

  // The 16-byte grid record: version 1, length 12, rows, columns.
  std::array<uint8_t, 16> SaveGrid() const;
  bool RestoreGrid(std::span<const uint8_t> record);

 private:
  std::vector<std::unique_ptr<DicomImage>> m_images;
  int m_rows = 1;
  int m_columns = 1;
};

}  // namespace tolmar
