#include "viewer/DisplayCell.h"

#include <cmath>

namespace tolmar::viewer {

DisplayCell::DisplayCell(std::unique_ptr<DicomImage> image) {
  if (image) m_images.push_back({std::move(image), false});
}

int DisplayCell::IndexOf(const DicomImage* image) const {
  for (size_t i = 0; i < m_images.size(); ++i) {
    if (m_images[i].image.get() == image) return static_cast<int>(i);
  }
  return -1;
}

void DisplayCell::SetAllSelected(bool selected) {
  for (auto& entry : m_images) entry.selected = selected;
}

void DisplayCell::AddImage(std::unique_ptr<DicomImage> image, bool selected) {
  if (image) m_images.push_back({std::move(image), selected});
}

std::unique_ptr<DicomImage> DisplayCell::TakeImage(int index) {
  if (index < 0 || index >= ImageCount()) return nullptr;
  auto image = std::move(m_images[static_cast<size_t>(index)].image);
  m_images.erase(m_images.begin() + index);
  return image;
}

void DisplayCell::SetGrid(int rows, int columns) {
  if (rows <= 0 || columns <= 0) rows = columns = 0;
  m_gridRows = rows;
  m_gridColumns = columns;
}

QRect DisplayCell::ImageRectangle(int index, const QRect& cellRect) const {
  const int n = ImageCount();
  if (index < 0 || index >= n || cellRect.isEmpty()) return {};
  const int width = cellRect.width();
  const int height = cellRect.height();
  int rows = m_gridRows;
  int columns = m_gridColumns;
  if (rows == 0 || columns == 0) {
    columns = std::max(1, static_cast<int>(std::sqrt(double(width) * n / height)));
    rows = (n + columns - 1) / columns;
  }
  if (index >= rows * columns) return {};
  const int column = index % columns;
  const int row = index / columns;
  return QRect(cellRect.left() + column * width / columns, cellRect.top() + row * height / rows,
               width / columns, height / rows);
}

int DisplayCell::ImageAt(const QPoint& point, const QRect& cellRect) const {
  for (int i = 0; i < ImageCount(); ++i) {
    if (ImageRectangle(i, cellRect).contains(point)) return i;
  }
  return -1;
}

}  // namespace tolmar::viewer
