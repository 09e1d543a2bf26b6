#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolmar {

// Little-endian writer that appends to a growing buffer. Writes at a fixed
// position (patching a length written earlier) are bounds-checked: a write
// outside the bytes written so far is refused and marks the writer failed.
class ByteWriter {
 public:
  void U8(uint8_t value);
  void U16(uint16_t value);
  void U32(uint32_t value);
  void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
  void Bytes(std::span<const uint8_t> bytes);
  void Zeros(size_t count);
  bool PatchU32(size_t offset, uint32_t value);

  size_t Size() const { return m_bytes.size(); }
  bool Failed() const { return m_failed; }
  const std::vector<uint8_t>& Data() const { return m_bytes; }
  std::vector<uint8_t> Take() { return std::move(m_bytes); }

 private:
  std::vector<uint8_t> m_bytes;
  bool m_failed = false;
};

// Little-endian reader over a borrowed byte span. A read past the end fails,
// leaves the position where it was and marks the reader failed; the value read
// is then 0.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  bool U8(uint8_t& value);
  bool U16(uint16_t& value);
  bool U32(uint32_t& value);
  bool I32(int32_t& value);
  // A view of the next `count` bytes, consumed; empty and failed when short.
  std::span<const uint8_t> Take(size_t count);
  bool Skip(size_t count);

  size_t Position() const { return m_position; }
  size_t Remaining() const { return m_bytes.size() - m_position; }
  bool Failed() const { return m_failed; }

 private:
  bool Need(size_t count);
  std::span<const uint8_t> m_bytes;
  size_t m_position = 0;
  bool m_failed = false;
};

}  // namespace tolmar
