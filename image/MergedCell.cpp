#include "MergedCell.h"

#include <cmath>

#include "ByteWriter.h"

namespace tolmar {

void MergedCell::SetGrid(int rows, int columns) {
  m_rows = std::max(0, rows);
  m_columns = std::max(0, columns);
}

void MergedCell::GridFor(const ImageRect& cell, int& rows, int& columns) const {
  if (m_rows > 0 && m_columns > 0) {
    rows = m_rows;
    columns = m_columns;
    return;
  }
  const int n = std::max(1, Count());
  columns = 1;
  if (!cell.IsEmpty()) {
    columns = std::max(1, static_cast<int>(std::sqrt(double(cell.Width()) * n / cell.Height())));
  }
  rows = (n + columns - 1) / columns;
}

ImageRect MergedCell::ImageRectAt(int i, const ImageRect& cell) const {
  if (i < 0 || i >= Count() || cell.IsEmpty()) return {};
  int rows = 1, columns = 1;
  GridFor(cell, rows, columns);
  const int w = cell.Width() / columns, h = cell.Height() / rows;
  const int left = cell.left + (i % columns) * cell.Width() / columns;
  const int top = cell.top + (i / columns) * cell.Height() / rows;
  return {left, top, left + w, top + h};
}

bool MergedCell::Paint(QPainter& painter, const ImageRect& cell, PaintCellOptions options) const {
  if (options.printing && Count() > 1) options.hidePatientTexts = true;
  bool shown = false;
  for (int i = 0; i < Count(); ++i) {
    const ImageRect r = ImageRectAt(i, cell);
    if (!r.IsEmpty() && PaintCell(*m_images[static_cast<size_t>(i)], painter, r, options)) shown = true;
  }
  return shown;
}

std::array<uint8_t, 16> MergedCell::SaveGrid() const {
  ByteWriter w;
  w.I32(kGridVersion);
  w.I32(12);
  w.I32(m_rows);
  w.I32(m_columns);
  std::array<uint8_t, 16> out{};
  std::copy(w.Data().begin(), w.Data().end(), out.begin());
  return out;
}

bool MergedCell::RestoreGrid(std::span<const uint8_t> record) {
  ByteReader r(record);
  int32_t version = 0, length = 0, rows = 0, columns = 0;
  r.I32(version);
  r.I32(length);
  r.I32(rows);
  r.I32(columns);
  if (r.Failed() || version != kGridVersion || length != 12 || rows < 0 || columns < 0 || rows > 1024 ||
      columns > 1024) {
    return false;
  }
  m_rows = rows;
  m_columns = columns;
  return true;
}

}  // namespace tolmar
