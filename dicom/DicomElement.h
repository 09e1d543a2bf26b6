#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolmar {

class DicomDataSet;

// Two ASCII letters, the first in the high byte ("UL" is 0x554C).
constexpr uint16_t MakeVr(char a, char b) {
  return static_cast<uint16_t>((static_cast<uint8_t>(a) << 8) | static_cast<uint8_t>(b));
}
namespace vr {
constexpr uint16_t kUnknown = 0;
constexpr uint16_t AE = MakeVr('A', 'E'), AS = MakeVr('A', 'S'), AT = MakeVr('A', 'T'),
                   CS = MakeVr('C', 'S'), DA = MakeVr('D', 'A'), DS = MakeVr('D', 'S'),
                   DT = MakeVr('D', 'T'), FD = MakeVr('F', 'D'), FL = MakeVr('F', 'L'),
                   IS = MakeVr('I', 'S'), LO = MakeVr('L', 'O'), LT = MakeVr('L', 'T'),
                   OB = MakeVr('O', 'B'), OD = MakeVr('O', 'D'), OF = MakeVr('O', 'F'),
                   OL = MakeVr('O', 'L'), OV = MakeVr('O', 'V'), OW = MakeVr('O', 'W'),
                   PN = MakeVr('P', 'N'), SH = MakeVr('S', 'H'), SL = MakeVr('S', 'L'),
                   SQ = MakeVr('S', 'Q'), SS = MakeVr('S', 'S'), ST = MakeVr('S', 'T'),
                   SV = MakeVr('S', 'V'), TM = MakeVr('T', 'M'), UC = MakeVr('U', 'C'),
                   UI = MakeVr('U', 'I'), UL = MakeVr('U', 'L'), UN = MakeVr('U', 'N'),
                   UR = MakeVr('U', 'R'), US = MakeVr('U', 'S'), UT = MakeVr('U', 'T'),
                   UV = MakeVr('U', 'V');
}  // namespace vr

// VRs whose explicit-VR header carries two reserved bytes and a 32-bit length.
bool HasLongExplicitLength(uint16_t vrCode);
// Size in bytes of one binary number of the VR (2, 4, 8), or 0 for byte and text VRs:
// what a byte-order change has to swap.
unsigned BinaryUnitSize(uint16_t vrCode);

constexpr uint32_t kUndefinedLength = 0xFFFFFFFFu;

// One data element: tag, VR, length and the raw value bytes. Binary values are
// held in little-endian (host) order; text is unterminated.
class DicomElement {
 public:
  using ItemList = std::vector<std::unique_ptr<DicomDataSet>>;

  // A fresh zero-filled value of `length` bytes, rounded up to even with a 0 pad byte.
  static std::unique_ptr<DicomElement> Create(uint16_t group, uint16_t element, uint16_t vrCode,
                                              uint32_t length);
  // A value copied from `bytes`, rounded up to even with a 0 pad byte.
  static std::unique_ptr<DicomElement> FromBytes(uint16_t group, uint16_t element, uint16_t vrCode,
                                                 std::span<const uint8_t> bytes);
  static std::unique_ptr<DicomElement> FromText(uint16_t group, uint16_t element, uint16_t vrCode,
                                                std::string_view text);
  // Takes an owned buffer of exactly `length` bytes (no rounding).
  static std::unique_ptr<DicomElement> Adopt(uint16_t group, uint16_t element, uint16_t vrCode,
                                             std::unique_ptr<uint8_t[]> buffer, uint32_t length);
  // Wraps a caller's buffer that outlives the element; it is not freed with the element.
  static std::unique_ptr<DicomElement> Borrow(uint16_t group, uint16_t element, uint16_t vrCode,
                                              uint8_t* buffer, uint32_t length);
  // No value at all (sequences, empty elements).
  static std::unique_ptr<DicomElement> Empty(uint16_t group, uint16_t element, uint16_t vrCode);

  ~DicomElement();
  DicomElement(const DicomElement&) = delete;
  DicomElement& operator=(const DicomElement&) = delete;

  uint16_t group = 0;
  uint16_t element = 0;
  uint16_t vr = 0;
  uint32_t length = 0;

  uint32_t Tag() const { return (static_cast<uint32_t>(group) << 16) | element; }
  bool HasValue() const { return m_value != nullptr; }
  uint8_t* Value() { return m_value; }
  const uint8_t* Value() const { return m_value; }
  std::span<const uint8_t> Bytes() const {
    return m_value ? std::span<const uint8_t>(m_value, length) : std::span<const uint8_t>();
  }
  // The value as text up to its first NUL byte (no trimming).
  std::string Text() const;
  bool OwnsValue() const { return m_owned != nullptr; }
  bool Detached() const { return m_detached; }

  bool HasItems() const { return m_items != nullptr && !m_items->empty(); }
  ItemList* Items() { return m_items.get(); }
  const ItemList* Items() const { return m_items.get(); }
  size_t ItemCount() const { return m_items ? m_items->size() : 0; }
  // Appends an item and takes ownership of it.
  void AppendItem(std::unique_ptr<DicomDataSet> item);
  // Drops every item.
  void ClearItems();

  // Replaces the value (and drops the items); the element owns the buffer.
  void ReplaceValue(std::unique_ptr<uint8_t[]> buffer, uint32_t newLength);
  // Gives up an owned value to the caller; the element is left without a value.
  std::unique_ptr<uint8_t[]> ReleaseValue();

  // Moves value, length, items and ownership from `source` to `target` when both
  // carry the same tag; `source` is left empty and marked detached.
  friend bool TakeValue(DicomElement& target, DicomElement& source);

 private:
  DicomElement(uint16_t g, uint16_t e, uint16_t v) : group(g), element(e), vr(v) {}

  uint8_t* m_value = nullptr;
  std::unique_ptr<uint8_t[]> m_owned;  // set when the value is ours to free
  bool m_detached = false;
  std::unique_ptr<ItemList> m_items;
};

bool TakeValue(DicomElement& target, DicomElement& source);

}  // namespace tolmar

namespace tolmar {
// The VR written for an element in explicit-VR output: its own, or for an element
// read without one (implicit VR) a safe choice: UL for group lengths, OB/OW for
// pixel data and UN for the rest. An element with items is a sequence (SQ) whatever
// it was read as. A short VR whose value outgrows a 16-bit length is written as UN.
uint16_t OutputVr(const DicomElement& element);
}  // namespace tolmar
