#include "DrawObjList.h"

#include <QPainter>
#include <algorithm>

#include "DrawEllipse.h"
#include "DrawLine.h"
#include "DrawPoly.h"
#include "DrawRect.h"
#include "DrawRoundRect.h"
#include "DrawText.h"
#include "ImageAnnotationLoader.h"
#include "image/ByteWriter.h"
#include "image/DicomImage.h"
#include "image/ImageComment.h"

namespace tolmar {

namespace {

std::unique_ptr<ImageAnnotations> MakeList(DicomImage& owner) {
  return std::make_unique<DrawObjList>(owner);
}

// The classes an annotation blob may hold.
std::unique_ptr<CDrawObj> CreateRecordObject(int32_t type) {
  switch (type) {
    case draw_type::kRect:
      return std::make_unique<CDrawRect>();
    case draw_type::kLine:
      return std::make_unique<CDrawLine>();
    case draw_type::kRoundRect:
      return std::make_unique<CDrawRoundRect>();
    case draw_type::kEllipse:
      return std::make_unique<CDrawEllipse>();
    case draw_type::kPoly:
      return std::make_unique<CDrawPoly>();
    case draw_type::kText:
      return std::make_unique<CDrawText>();
    case draw_type::kArrow:
      return std::make_unique<CDrawArrow>();
    default:
      return nullptr;
  }
}

bool IsUnsaved(int32_t type) {
  return type == draw_type::kAngle || type == draw_type::kWCRect || type == draw_type::kClipRect;
}

bool IsLoadable(int32_t type) { return type >= draw_type::kRect && type <= draw_type::kArrow; }

}  // namespace

std::unique_ptr<CDrawObj> CreateDrawObj(int32_t type) {
  if (auto object = CreateRecordObject(type)) return object;
  switch (type) {
    case draw_type::kAngle:
      return std::make_unique<CDrawAngle>();
    case draw_type::kNote:
      return std::make_unique<CDrawNote>();
    case draw_type::kVLine:
      return std::make_unique<CDrawVLine>();
    case draw_type::kWCRect:
      return std::make_unique<CDrawWCRect>();
    case draw_type::kClipRect:
      return std::make_unique<CDrawClipRect>();
    case draw_type::kNarrowPoly:
      return std::make_unique<CDrawNarrowPoly>();
    default:
      return nullptr;
  }
}

void InstallDrawObjects() {
  // Installed once at start-up in practice; the loader thread calls this again,
  // so the hooks are only written when they differ.
  if (GetImageAnnotationsFactory() != &MakeList) SetImageAnnotationsFactory(&MakeList);
  if (GetImageCommentHandler() != &AddCommentText) SetImageCommentHandler(&AddCommentText);
}

DrawObjList::~DrawObjList() { Clear(); }

DrawObjList& DrawObjList::Of(DicomImage& image) {
  if (DrawObjList* list = Find(image)) return *list;
  InstallDrawObjects();
  if (!image.Annotations() || !dynamic_cast<DrawObjList*>(image.Annotations())) {
    image.SetAnnotations(std::make_unique<DrawObjList>(image));
  }
  return *static_cast<DrawObjList*>(image.Annotations());
}

DrawObjList* DrawObjList::Find(DicomImage& image) {
  return dynamic_cast<DrawObjList*>(
      const_cast<ImageAnnotations*>(std::as_const(image).Annotations()));
}

CDrawObj* DrawObjList::Add(std::unique_ptr<CDrawObj> object) {
  if (!object) return nullptr;
  object->SetOwner(&m_owner);
  m_objects.push_back(std::move(object));
  return m_objects.back().get();
}

bool DrawObjList::Remove(const CDrawObj* object) {
  const auto it = std::find_if(m_objects.begin(), m_objects.end(),
                               [object](const auto& o) { return o.get() == object; });
  if (it == m_objects.end()) return false;
  // Take it out of the list first: a clip object restores the image while it goes.
  auto doomed = std::move(*it);
  m_objects.erase(it);
  doomed.reset();
  m_modified = true;
  return true;
}

CDrawObj* DrawObjList::TopmostAt(QPoint p) const {
  const ImageRect probe{p.x() - 1, p.y() - 1, p.x() + 2, p.y() + 2};
  for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) {
    if ((*it)->Intersects(probe)) return it->get();
  }
  return nullptr;
}

bool DrawObjList::Contains(const CDrawObj* object) const {
  return std::any_of(m_objects.begin(), m_objects.end(),
                     [object](const auto& o) { return o.get() == object; });
}

void DrawObjList::Clear() {
  while (!m_objects.empty()) {
    auto doomed = std::move(m_objects.back());
    m_objects.pop_back();
  }
}

CDrawObj* DrawObjList::ClipObject() const {
  for (const auto& o : m_objects) {
    if (o->Type() == draw_type::kClipRect) return o.get();
  }
  return nullptr;
}

int DrawObjList::LoadBlob(std::span<const uint8_t> blob) {
  int added = 0;
  size_t offset = 0;
  while (blob.size() - offset >= 2) {
    ByteReader r(blob.subspan(offset));
    int32_t type = 0;
    if (!r.I32(type)) break;
    auto object = CreateRecordObject(type);
    if (!object) break;
    const int used = object->LoadRecord(&m_owner, blob.subspan(offset));
    if (used <= 0) break;
    Add(std::move(object));
    ++added;
    offset += static_cast<size_t>(used);
  }
  return added;
}

SavedAnnotations DrawObjList::SaveBlob() const {
  SavedAnnotations saved;
  ByteWriter all;
  auto write = [&](const CDrawObj& object) {
    ByteWriter one;
    object.SaveRecord(one);
    if (all.Size() + one.Size() > kMaxAnnotationBlob) {
      ++saved.omitted;
      return;
    }
    all.Bytes(one.Data());
  };
  for (const auto& o : m_objects) {
    if (!IsUnsaved(o->Type()) && IsLoadable(o->Type())) write(*o);
  }
  for (const auto& o : m_objects) {
    if (!IsUnsaved(o->Type()) && !IsLoadable(o->Type())) write(*o);
  }
  saved.blob = all.Take();
  return saved;
}

void DrawObjList::Serialize(ByteWriter& w) const {
  w.U32(static_cast<uint32_t>(m_objects.size()));
  for (const auto& o : m_objects) o->Serialize(w);
}

bool DrawObjList::Deserialize(ByteReader& r) {
  uint32_t count = 0;
  if (!r.U32(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    // Peek at the type code: it leads every archived object.
    ByteReader peek = r;
    int32_t type = 0;
    if (!peek.I32(type)) return false;
    auto object = CreateDrawObj(type);
    if (!object || type == draw_type::kNote) return false;
    object->SetOwner(&m_owner);
    if (!object->Deserialize(r)) return false;
    Add(std::move(object));
  }
  return true;
}

void DrawObjList::ApplyTransform(int code, int paddedColumns, int rows) {
  for (const auto& o : m_objects) o->Transform(code, paddedColumns, rows);
  m_modified = true;
}

void DrawObjList::Paint(QPainter& painter, const QTransform& imageToCell, bool printing) {
  DrawContext context;
  context.imageToCell = imageToCell;
  context.printing = printing;
  Draw(painter, context);
}

void DrawObjList::Draw(QPainter& painter, const DrawContext& context, const CDrawObj* active,
                       TrackerState activeState) {
  for (const auto& o : m_objects) {
    painter.save();
    o->Draw(painter, context, o.get() == active);
    painter.restore();
    if (o.get() == active && !context.printing) o->DrawTracker(painter, context, activeState);
  }
}

void DrawObjList::ReplaceFromRecords(std::span<const uint8_t> records) {
  Clear();
  LoadBlob(records);
}

}  // namespace tolmar
