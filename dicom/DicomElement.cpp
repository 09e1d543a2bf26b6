#include "DicomElement.h"

#include <cstring>

#include "DicomDataSet.h"

namespace tolmar {

bool HasLongExplicitLength(uint16_t v) {
  // The standard's full list: files from other software use UT, OF, OD, OL and
  // the newer VRs with a 32-bit length as well as OB, OW, SQ and UN.
  switch (v) {
    case vr::OB:
    case vr::OD:
    case vr::OF:
    case vr::OL:
    case vr::OV:
    case vr::OW:
    case vr::SQ:
    case vr::SV:
    case vr::UC:
    case vr::UN:
    case vr::UR:
    case vr::UT:
    case vr::UV:
      return true;
    default:
      return false;
  }
}

unsigned BinaryUnitSize(uint16_t v) {
  switch (v) {
    case vr::US:
    case vr::SS:
    case vr::OW:
    case vr::AT:
      return 2;
    case vr::UL:
    case vr::SL:
    case vr::FL:
    case vr::OF:
    case vr::OL:
      return 4;
    case vr::FD:
    case vr::OD:
    case vr::SV:
    case vr::UV:
    case vr::OV:
      return 8;
    default:
      return 0;
  }
}

std::unique_ptr<DicomElement> DicomElement::Create(uint16_t group, uint16_t element,
                                                   uint16_t vrCode, uint32_t length) {
  std::unique_ptr<DicomElement> e(new DicomElement(group, element, vrCode));
  // Rounded up to even; an odd request gains a trailing 0 pad byte.
  uint64_t rounded = (static_cast<uint64_t>(length) + 1) & ~uint64_t{1};
  if (rounded > 0xFFFFFFFEu) rounded = 0xFFFFFFFEu;
  e->length = static_cast<uint32_t>(rounded);
  if (e->length > 0) {
    e->m_owned = std::make_unique<uint8_t[]>(e->length);  // zero-filled
    e->m_value = e->m_owned.get();
  }
  return e;
}

std::unique_ptr<DicomElement> DicomElement::FromBytes(uint16_t group, uint16_t element,
                                                      uint16_t vrCode,
                                                      std::span<const uint8_t> bytes) {
  auto e = Create(group, element, vrCode, static_cast<uint32_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(e->m_value, bytes.data(), bytes.size());
  return e;
}

std::unique_ptr<DicomElement> DicomElement::FromText(uint16_t group, uint16_t element,
                                                     uint16_t vrCode, std::string_view text) {
  return FromBytes(
      group, element, vrCode,
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::unique_ptr<DicomElement> DicomElement::Adopt(uint16_t group, uint16_t element, uint16_t vrCode,
                                                  std::unique_ptr<uint8_t[]> buffer,
                                                  uint32_t length) {
  std::unique_ptr<DicomElement> e(new DicomElement(group, element, vrCode));
  e->length = length;
  e->m_owned = std::move(buffer);
  e->m_value = e->m_owned.get();
  return e;
}

std::unique_ptr<DicomElement> DicomElement::Borrow(uint16_t group, uint16_t element,
                                                   uint16_t vrCode, uint8_t* buffer,
                                                   uint32_t length) {
  std::unique_ptr<DicomElement> e(new DicomElement(group, element, vrCode));
  e->length = length;
  e->m_value = buffer;
  return e;
}

std::unique_ptr<DicomElement> DicomElement::Empty(uint16_t group, uint16_t element,
                                                  uint16_t vrCode) {
  return std::unique_ptr<DicomElement>(new DicomElement(group, element, vrCode));
}

DicomElement::~DicomElement() = default;

std::string DicomElement::Text() const {
  if (!m_value) return {};
  const auto* begin = reinterpret_cast<const char*>(m_value);
  const void* nul = std::memchr(begin, 0, length);
  size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - begin) : length;
  return std::string(begin, n);
}

void DicomElement::AppendItem(std::unique_ptr<DicomDataSet> item) {
  if (!m_items) m_items = std::make_unique<ItemList>();
  m_items->push_back(std::move(item));
}

void DicomElement::ClearItems() { m_items.reset(); }

void DicomElement::ReplaceValue(std::unique_ptr<uint8_t[]> buffer, uint32_t newLength) {
  m_items.reset();
  m_owned = std::move(buffer);
  m_value = m_owned.get();
  length = m_value ? newLength : 0;
  m_detached = false;
}

std::unique_ptr<uint8_t[]> DicomElement::ReleaseValue() {
  if (!m_owned) return nullptr;
  m_value = nullptr;
  length = 0;
  return std::move(m_owned);
}

bool TakeValue(DicomElement& target, DicomElement& source) {
  if (target.group != source.group || target.element != source.element) return false;
  if (&target == &source) return true;
  target.m_owned = std::move(source.m_owned);
  target.m_value = source.m_value;
  target.length = source.length;
  target.m_items = std::move(source.m_items);
  target.m_detached = false;
  source.m_value = nullptr;
  source.length = 0;
  source.m_detached = true;
  return true;
}

}  // namespace tolmar

namespace tolmar {
uint16_t OutputVr(const DicomElement& e) {
  uint16_t v = e.vr;
  if (v == vr::kUnknown) {
    if (e.element == 0x0000) return vr::UL;
    if (e.group == 0x7FE0 && e.element == 0x0010) return e.HasItems() ? vr::OB : vr::OW;
    if (e.HasItems()) return vr::SQ;
    return vr::UN;
  }
  if (e.HasItems()) {
    // Items are written in the body's encoding, which only SQ (and encapsulated pixel
    // data) promises: a sequence read as UN goes out as SQ.
    if (e.group == 0x7FE0 && e.element == 0x0010) return v == vr::OW ? vr::OW : vr::OB;
    return vr::SQ;
  }
  if (!HasLongExplicitLength(v) && !e.HasItems() && e.length + (e.length & 1u) > 0xFFFFu) {
    return vr::UN;
  }
  return v;
}
}  // namespace tolmar
