#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolmar::test {

// Builds DICOM byte streams by hand, so that parser tests state exactly the bytes they feed.
class ByteBuilder {
 public:
  explicit ByteBuilder(bool bigEndian = false) : m_big(bigEndian) {}

  ByteBuilder& BigEndian(bool big) {
    m_big = big;
    return *this;
  }
  ByteBuilder& U8(uint8_t v) {
    m_bytes.push_back(v);
    return *this;
  }
  ByteBuilder& U16(uint16_t v) {
    if (m_big) return U8(static_cast<uint8_t>(v >> 8)).U8(static_cast<uint8_t>(v));
    return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8));
  }
  ByteBuilder& U32(uint32_t v) {
    if (m_big) return U16(static_cast<uint16_t>(v >> 16)).U16(static_cast<uint16_t>(v));
    return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
  }
  ByteBuilder& Raw(const std::string& s) {
    m_bytes.insert(m_bytes.end(), s.begin(), s.end());
    return *this;
  }
  ByteBuilder& Raw(const std::vector<uint8_t>& b) {
    m_bytes.insert(m_bytes.end(), b.begin(), b.end());
    return *this;
  }
  ByteBuilder& Zeros(size_t n) {
    m_bytes.insert(m_bytes.end(), n, 0);
    return *this;
  }
  ByteBuilder& Preamble() { return Zeros(128).Raw("DICM"); }
  ByteBuilder& Tag(uint16_t g, uint16_t e) { return U16(g).U16(e); }

  // Explicit VR element with a text or byte value (value used as given).
  ByteBuilder& Explicit(uint16_t g, uint16_t e, const char* vr, const std::string& value) {
    Tag(g, e).U8(static_cast<uint8_t>(vr[0])).U8(static_cast<uint8_t>(vr[1]));
    if (IsLong(vr)) {
      U16(0).U32(static_cast<uint32_t>(value.size()));
    } else {
      U16(static_cast<uint16_t>(value.size()));
    }
    return Raw(value);
  }
  ByteBuilder& ExplicitUs(uint16_t g, uint16_t e, uint16_t v) {
    Tag(g, e).Raw("US").U16(2);
    return U16(v);
  }
  // Explicit VR header only, with a given length (for undefined lengths and lies).
  ByteBuilder& ExplicitHeader(uint16_t g, uint16_t e, const char* vr, uint32_t length) {
    Tag(g, e).U8(static_cast<uint8_t>(vr[0])).U8(static_cast<uint8_t>(vr[1]));
    if (IsLong(vr)) return U16(0).U32(length);
    return U16(static_cast<uint16_t>(length));
  }
  ByteBuilder& Implicit(uint16_t g, uint16_t e, const std::string& value) {
    return Tag(g, e).U32(static_cast<uint32_t>(value.size())).Raw(value);
  }
  ByteBuilder& ImplicitHeader(uint16_t g, uint16_t e, uint32_t length) {
    return Tag(g, e).U32(length);
  }
  ByteBuilder& Item(uint32_t length) { return Tag(0xFFFE, 0xE000).U32(length); }
  ByteBuilder& ItemEnd() { return Tag(0xFFFE, 0xE00D).U32(0); }
  ByteBuilder& SequenceEnd() { return Tag(0xFFFE, 0xE0DD).U32(0); }

  // A meta header (explicit VR little endian) naming the transfer syntax.
  ByteBuilder& Meta(const std::string& transferSyntax) {
    const bool big = m_big;
    m_big = false;
    std::string ts = transferSyntax;
    if (ts.size() & 1u) ts.push_back('\0');
    Explicit(0x0002, 0x0010, "UI", ts);
    m_big = big;
    return *this;
  }

  const std::vector<uint8_t>& Bytes() const { return m_bytes; }
  size_t Size() const { return m_bytes.size(); }

 private:
  static bool IsLong(const char* vr) {
    const std::string v(vr, 2);
    return v == "OB" || v == "OW" || v == "SQ" || v == "UN" || v == "UT" || v == "OF";
  }
  bool m_big;
  std::vector<uint8_t> m_bytes;
};

}  // namespace tolmar::test
