#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "ImageRect.h"

class QPainter;
class QPoint;
class QRect;

namespace tolmar {

class ByteWriter;
class ByteReader;
class DicomDataSet;
class DicomImage;

// The display shutter of one image: everything outside a rectangle or a circle
// is hidden when the image is drawn. Each image owns one.
class CShutter {
 public:
  static constexpr const char* kRectangular = "RECTANGULAR";
  static constexpr const char* kCircular = "CIRCULAR";

  explicit CShutter(const DicomImage* owner = nullptr) : m_owner(owner) {}

  // Fills the shutter from the data set's shutter attributes; an unknown shape or
  // a missing element leaves no shutter. Answers whether a shutter was read.
  bool ReadFromDataSet(const DicomDataSet& dataSet);

  void SetRectangular(const ImageRect& rect);
  void SetCircular(int centreX, int centreY, int radius);
  void SetEmpty();
  // Back to the shape and rectangle read from the data set.
  void Restore();

  bool IsCircular() const { return m_shape.find(kCircular) != std::string::npos; }
  bool IsRectangular() const { return m_shape.find(kRectangular) != std::string::npos; }
  bool IsEmpty() const { return !IsCircular() && !IsRectangular(); }
  const std::string& Shape() const { return m_shape; }
  const ImageRect& Rect() const { return m_rect; }
  const std::string& InitialShape() const { return m_initialShape; }
  const ImageRect& InitialRect() const { return m_initialRect; }
  // The circle's centre and radius as the dialog shows them.
  void Circle(int& centreX, int& centreY, int& radius) const;

  void SetOwner(const DicomImage* owner) { m_owner = owner; }
  const DicomImage* Owner() const { return m_owner; }

  // Archive form: shape text, rectangle, initial shape text, initial rectangle;
  // texts in the length-prefixed form of the framework's archives.
  void Serialize(ByteWriter& writer) const;
  bool Deserialize(ByteReader& reader);

  // Clips `painter` to the shutter area. `imageToScreen` converts the rectangle
  // from image pixels to the cell's screen coordinates; `origin` (may be null)
  // offsets it. Does nothing without a shape or an owner; answers whether a clip
  // was set. Remove it again with painter.setClipping(false).
  bool Clip(QPainter& painter, const std::function<QRect(const ImageRect&)>& imageToScreen,
            const QPoint* origin) const;

 private:
  const DicomImage* m_owner = nullptr;
  std::string m_shape;
  ImageRect m_rect;
  std::string m_initialShape;
  ImageRect m_initialRect;
};

// Framework archive strings: a byte length below 255, else 0xFF and a 16-bit
// length below 0xFFFF, else 0xFF, 0xFFFF and a 32-bit length.
void WriteArchiveString(ByteWriter& writer, const std::string& text);
bool ReadArchiveString(ByteReader& reader, std::string& text);

}  // namespace tolmar
