#pragma once

#include <QPoint>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "DrawObj.h"
#include "image/ImageAnnotations.h"

namespace tolmar {

class ByteReader;
class ByteWriter;

// The most bytes of annotation records an image saves.
constexpr size_t kMaxAnnotationBlob = 32768;

// The result of saving an image's objects as annotation records.
struct SavedAnnotations {
  std::vector<uint8_t> blob;
  // Objects that did not fit below the size limit (whole records are left out,
  // never a part of one).
  int omitted = 0;
};

// The annotation list of one image: owns its drawing objects in list order.
class DrawObjList final : public ImageAnnotations {
 public:
  explicit DrawObjList(DicomImage& owner) : m_owner(owner) {}
  ~DrawObjList() override;

  // The list of an image, attached on first use; Find does not attach one.
  static DrawObjList& Of(DicomImage& image);
  static DrawObjList* Find(DicomImage& image);

  DicomImage& Owner() const { return m_owner; }
  const std::vector<std::unique_ptr<CDrawObj>>& Objects() const { return m_objects; }
  size_t Size() const { return m_objects.size(); }
  CDrawObj* At(size_t index) const {
    return index < m_objects.size() ? m_objects[index].get() : nullptr;
  }
  // Takes an object and makes this image its owner.
  CDrawObj* Add(std::unique_ptr<CDrawObj> object);
  // Destroys one object (`Remove` of the object); false when it is not ours.
  bool Remove(const CDrawObj* object);
  bool Contains(const CDrawObj* object) const;
  // The topmost (last drawn) object within a pixel of `imagePoint`; null for none.
  CDrawObj* TopmostAt(QPoint imagePoint) const;
  void Clear();
  // The clip object of the image, if any (only one is allowed).
  CDrawObj* ClipObject() const;
  bool Modified() const { return m_modified; }
  // Whether the (0020,4000) comment of the image's data set was looked at, so
  // that it never becomes two text objects.
  bool CommentTaken() const { return m_commentTaken; }
  void SetCommentTaken() { m_commentTaken = true; }
  void SetModified(bool modified) { m_modified = modified; }

  // Loads concatenated annotation records and appends the objects; stops at an
  // unknown type code, a malformed record or when fewer than 2 bytes remain.
  // Returns the number of objects appended.
  int LoadBlob(std::span<const uint8_t> blob);
  // Every object except angles, window rectangles and clip rectangles, in list
  // order, up to kMaxAnnotationBlob bytes. Objects the loader cannot read back
  // (dotted lines, narrowing polygons) come after all the others, so that a
  // reload keeps everything before them.
  SavedAnnotations SaveBlob() const;

  // The object archive of the whole list: count, then each object.
  void Serialize(ByteWriter& writer) const;
  // Appends the archived objects; false (keeping those read before) on bad input.
  bool Deserialize(ByteReader& reader);

  // ImageAnnotations
  void ApplyTransform(int code, int paddedColumns, int rows) override;
  void Paint(QPainter& painter, const QTransform& imageToCell, bool printing) override;
  std::vector<uint8_t> SaveRecords() const override { return SaveBlob().blob; }
  void ReplaceFromRecords(std::span<const uint8_t> records) override;
  bool IsEmpty() const override { return m_objects.empty(); }

  // Painting with a full context and the selected object drawn with the active pen.
  void Draw(QPainter& painter, const DrawContext& context, const CDrawObj* active = nullptr,
            TrackerState activeState = TrackerState::Normal);

 private:
  DicomImage& m_owner;
  std::vector<std::unique_ptr<CDrawObj>> m_objects;
  bool m_modified = false;
  bool m_commentTaken = false;
};

// Installs the drawing objects as the annotation list of every image, and the
// maker of comment texts that images call while they are built.
void InstallDrawObjects();

}  // namespace tolmar
