#include "GSPSSObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "DrawObjList.h"
#include "dicom/DicomDataSet.h"
#include "image/DicomImage.h"

namespace tolmar {

namespace {

std::string Trimmed(std::string text) {
  auto blank = [](char c) { return c == ' ' || c == '\0'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t first = 0;
  while (first < text.size() && blank(text[first])) ++first;
  return text.substr(first);
}

// The text of an element, or false when the element is missing.
bool TextOf(const DicomDataSet& ds, uint16_t group, uint16_t element, std::string& text) {
  const DicomElement* e = ds.FindElement(group, element);
  if (!e) return false;
  text = Trimmed(e->Text());
  return true;
}

const DicomDataSet* FirstItem(const DicomDataSet& ds, uint16_t group, uint16_t element) {
  const DicomElement* e = ds.FindElement(group, element);
  if (!e || !e->HasItems()) return nullptr;
  return e->Items()->front().get();
}

// Two 32-bit floating-point numbers (column, row), truncated toward zero.
bool PointOf(const DicomDataSet& ds, uint16_t group, uint16_t element, int& x, int& y) {
  const DicomElement* e = ds.FindElement(group, element);
  if (!e || !e->HasValue() || e->length < 8) return false;
  float values[2];
  for (int i = 0; i < 2; ++i) {
    uint32_t bits = 0;
    for (int b = 3; b >= 0; --b) bits = (bits << 8) | e->Value()[i * 4 + b];
    std::memcpy(&values[i], &bits, sizeof bits);
    // A corner outside the coordinate range cannot be placed on an image.
    if (!std::isfinite(values[i]) || std::fabs(values[i]) > static_cast<float>(kMaxCoordinate))
      return false;
  }
  x = static_cast<int>(values[0]);
  y = static_cast<int>(values[1]);
  return true;
}

}  // namespace

bool CGSPSSObject::LoadFromDataSet(const DicomDataSet& ds) {
  std::string sopClass, sopInstance;
  if (!TextOf(ds, 0x0008, 0x0016, sopClass) || sopClass != kGspsSopClassUid) return false;
  if (!TextOf(ds, 0x0008, 0x0018, sopInstance)) return false;
  const DicomDataSet* series = FirstItem(ds, 0x0008, 0x1115);
  if (!series) return false;
  const DicomDataSet* image = FirstItem(*series, 0x0008, 0x1140);
  if (!image) return false;
  std::string refClass, refInstance;
  if (!TextOf(*image, 0x0008, 0x1150, refClass) || !TextOf(*image, 0x0008, 0x1155, refInstance)) {
    return false;
  }
  m_sopClassUid = sopClass;
  m_sopInstanceUid = sopInstance;
  m_referencedSopClassUid = refClass;
  m_referencedSopInstanceUid = refInstance;
  m_objects.clear();

  const DicomDataSet* annotation = FirstItem(ds, 0x0070, 0x0001);
  const DicomElement* texts = annotation ? annotation->FindElement(0x0070, 0x0008) : nullptr;
  if (!texts || !texts->HasItems()) return true;
  for (const auto& item : *texts->Items()) {
    const DicomElement* units = item->FindElement(0x0070, 0x0003);
    const DicomElement* value = item->FindElement(0x0070, 0x0006);
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!units || !units->HasValue() || !value) continue;
    if (!PointOf(*item, 0x0070, 0x0010, left, top) ||
        !PointOf(*item, 0x0070, 0x0011, right, bottom))
      continue;
    auto text = std::make_unique<CDrawText>(nullptr, ImageRect{left, top, right, bottom});
    std::string body = value->Text();
    while (!body.empty() && (body.back() == ' ' || body.back() == '\0')) body.pop_back();
    text->SetText(body, false);
    m_objects.push_back(std::move(text));
  }
  return true;
}

bool CGSPSSObject::ApplyTo(DicomImage& image) {
  if (image.SopInstanceUid() != m_referencedSopInstanceUid) return false;
  auto& applied = image.AppliedPresentationStates();
  if (std::find(applied.begin(), applied.end(), m_sopInstanceUid) != applied.end()) return false;
  applied.push_back(m_sopInstanceUid);
  DrawObjList& list = DrawObjList::Of(image);
  for (auto& object : m_objects) list.Add(std::move(object));
  m_objects.clear();
  return true;
}

PendingPresentationStates& PendingPresentationStates::Program() {
  static PendingPresentationStates list;
  return list;
}

bool PendingPresentationStates::Offer(std::unique_ptr<CGSPSSObject> state,
                                      const std::vector<DicomImage*>& loadedImages) {
  if (!state) return false;
  for (DicomImage* image : loadedImages) {
    if (image && state->ApplyTo(*image)) return true;
  }
  std::lock_guard lock(m_mutex);
  m_pending.push_back(std::move(state));
  return false;
}

int PendingPresentationStates::OfferTo(DicomImage& image) {
  std::lock_guard lock(m_mutex);
  int applied = 0;
  for (auto it = m_pending.begin(); it != m_pending.end();) {
    if ((*it)->ApplyTo(image)) {
      it = m_pending.erase(it);
      ++applied;
    } else {
      ++it;
    }
  }
  return applied;
}

size_t PendingPresentationStates::Count() const {
  std::lock_guard lock(m_mutex);
  return m_pending.size();
}

void PendingPresentationStates::Clear() {
  std::lock_guard lock(m_mutex);
  m_pending.clear();
}

}  // namespace tolmar
