#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QPainter;
class QTransform;

namespace tolmar {

class DicomImage;

// The drawing objects of one image, seen from the image side. The annotation
// library supplies the implementation; the image owns it, moves it with its
// geometric transforms, paints it after the bitmap and carries its records in
// the image state record.
class ImageAnnotations {
 public:
  virtual ~ImageAnnotations() = default;

  // Moves every object with a geometric transform of the image (1 mirror
  // left-right, 2 mirror top-bottom, 3 rotate left, 4 rotate right). The sizes
  // are those of the image before the transform.
  virtual void ApplyTransform(int code, int paddedColumns, int rows) = 0;
  // Paints every object; `imageToCell` maps image pixels to the painter's
  // coordinates. On a printer every pen and text is white.
  virtual void Paint(QPainter& painter, const QTransform& imageToCell, bool printing) = 0;
  // The annotation records of the image state record.
  virtual std::vector<uint8_t> SaveRecords() const = 0;
  // Destroys every object and loads the records in their place.
  virtual void ReplaceFromRecords(std::span<const uint8_t> records) = 0;
  virtual bool IsEmpty() const = 0;
};

// Makes the annotation list of an image when the image first needs one; the
// annotation library installs it. Without one, images keep their annotation
// records as opaque bytes.
using ImageAnnotationsFactory = std::unique_ptr<ImageAnnotations> (*)(DicomImage& owner);
void SetImageAnnotationsFactory(ImageAnnotationsFactory factory);
ImageAnnotationsFactory GetImageAnnotationsFactory();

}  // namespace tolmar
