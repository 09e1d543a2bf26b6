#pragma once

#include <QRect>
#include <memory>
#include <vector>

#include "image/DicomImage.h"

namespace tolmar::viewer {

// The unit the viewer's document lists, lays out and selects: one or more
// images (a merged cell holds several) in an internal grid, each image with its
// selected flag. The cell owns its images.
class DisplayCell {
 public:
  explicit DisplayCell(std::unique_ptr<DicomImage> image);
  DisplayCell(const DisplayCell&) = delete;
  DisplayCell& operator=(const DisplayCell&) = delete;

  int ImageCount() const { return static_cast<int>(m_images.size()); }
  DicomImage& Image(int index) { return *m_images[static_cast<size_t>(index)].image; }
  const DicomImage& Image(int index) const { return *m_images[static_cast<size_t>(index)].image; }
  // Index of the image, -1 when the cell does not hold it.
  int IndexOf(const DicomImage* image) const;

  bool IsSelected(int index) const { return m_images[static_cast<size_t>(index)].selected; }
  void SetSelected(int index, bool selected) {
    m_images[static_cast<size_t>(index)].selected = selected;
  }
  void SetAllSelected(bool selected);

  void AddImage(std::unique_ptr<DicomImage> image, bool selected);
  std::unique_ptr<DicomImage> TakeImage(int index);

  // Internal grid; 1 x 1 for a plain cell, 0 x 0 for an automatic grid.
  int GridRows() const { return m_gridRows; }
  int GridColumns() const { return m_gridColumns; }
  void SetGrid(int rows, int columns);
  bool IsPlainGrid() const { return m_gridRows == 1 && m_gridColumns == 1; }

  // Rectangle of image `index` inside `cellRect`; empty for an index outside the list.
  QRect ImageRectangle(int index, const QRect& cellRect) const;
  // The image under `point`, -1 for none.
  int ImageAt(const QPoint& point, const QRect& cellRect) const;

 private:
  struct Entry {
    std::unique_ptr<DicomImage> image;
    bool selected = false;
  };
  std::vector<Entry> m_images;
  int m_gridRows = 1;
  int m_gridColumns = 1;
};

}  // namespace tolmar::viewer
