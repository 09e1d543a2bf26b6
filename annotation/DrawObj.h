#pragma once

#include <QPen>
#include <QPoint>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "DrawTypes.h"
#include "image/ImageRect.h"

class QPainter;

namespace tolmar {

class ByteReader;
class ByteWriter;
class CDrawNote;
class DicomImage;
struct AnnotationStyle;

// How objects draw: the mapping from image pixels to the painter, whether the
// painter is a printer (white pens, scaled strokes and fonts) and the style.
struct DrawContext {
  QTransform imageToCell;
  bool printing = false;
  double printerScale = 1.0;               // printer-to-screen resolution ratio
  const AnnotationStyle* style = nullptr;  // the program-wide style when null

  QPoint ToCell(QPoint imagePoint) const;
  QPoint ToImage(QPoint cellPoint) const;
  const AnnotationStyle& Style() const;
};

// One annotation on an image, in image pixel coordinates. A line runs from
// (left, top) to (right, bottom); other objects keep their position normalised
// where they need it. An object may own a note: a text box with a leader line
// showing its measurement.
class CDrawObj {
 public:
  explicit CDrawObj(int32_t type);
  // Creation by a tool or a loader: owner and position; the note is made at once
  // unless the class removes notes.
  CDrawObj(int32_t type, DicomImage* owner, const ImageRect& position);
  virtual ~CDrawObj();
  CDrawObj(const CDrawObj&) = delete;
  CDrawObj& operator=(const CDrawObj&) = delete;

  int32_t Type() const { return m_type; }
  const ImageRect& Position() const { return m_position; }
  DicomImage* Owner() const { return m_owner; }
  CDrawNote* Note() const { return m_note.get(); }
  QPoint Centre() const;

  virtual void SetOwner(DicomImage* owner);
  virtual int GetHandleCount() const { return 8; }
  // Handle n (from 1) in image pixels.
  virtual QPoint GetHandle(int n) const;
  virtual HandleCursor GetHandleCursor(int n) const;

  // Reads an annotation record: bytes consumed, or -1 when the record is short,
  // malformed or of another type.
  virtual int LoadRecord(DicomImage* image, std::span<const uint8_t> bytes);
  // Appends the annotation record; returns the bytes written.
  virtual int SaveRecord(ByteWriter& writer) const;
  // The object archive: type code, position, note flag and note, then the
  // class's own fields. Loading fails on short or malformed input.
  virtual void Serialize(ByteWriter& writer) const;
  virtual bool Deserialize(ByteReader& reader);

  virtual void Draw(QPainter& painter, const DrawContext& context, bool active);
  void DrawTracker(QPainter& painter, const DrawContext& context, TrackerState state) const;
  virtual void MoveTo(const ImageRect& position, bool markModified);
  // The handle whose square holds the cell point, or 0.
  int HitTest(QPoint cellPoint, const DrawContext& context) const;
  virtual bool Intersects(const ImageRect& rect) const;
  virtual void MoveHandleTo(int n, QPoint imagePoint);
  virtual void UpdateNote();
  virtual std::string MeasureText() const { return {}; }
  virtual void CreateNote();
  void RemoveNote();

  // Follows a geometric transform of the owner image (sizes before it).
  virtual void Transform(int code, int paddedColumns, int rows);

 protected:
  // Sets the position without moving the note or marking anything.
  void SetPosition(const ImageRect& position) { m_position = position; }
  void MarkModified();
  // Reads the 20-byte head of a record into the position; -1 when it does not fit.
  int LoadHead(std::span<const uint8_t> bytes);
  void SaveHead(ByteWriter& writer) const;
  void DrawNote(QPainter& painter, const DrawContext& context, bool active);
  QPen MakePen(const DrawContext& context, bool active) const;
  QColor PenColour(const DrawContext& context, bool active) const;
  // Transforms one point of the image (sizes before the transform).
  static QPoint TransformPoint(QPoint point, int code, int paddedColumns, int rows);
  static ImageRect TransformRect(const ImageRect& rect, int code, int paddedColumns, int rows);
  // Moves the note's box with the object's bottom-right corner and its leader
  // line with the object's centre.
  void FollowNote(const ImageRect& oldPosition);

  int32_t m_type = draw_type::kObj;
  ImageRect m_position;
  DicomImage* m_owner = nullptr;  // borrowed: the image owns the object
  std::unique_ptr<CDrawNote> m_note;
};

// A copy of an object of any class (through its archive form); null for
// classes the archive cannot make.
std::unique_ptr<CDrawObj> CreateDrawObj(int32_t type);

}  // namespace tolmar
