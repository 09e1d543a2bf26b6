#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolmar::suite {

// Bounds-checked little-endian reader over a borrowed byte span. Every read
// checks what remains first; a failed read leaves the position unchanged and
// latches the failed flag, so a caller may read a whole layout and test once.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  bool ReadU16(std::uint16_t& value);
  bool ReadU32(std::uint32_t& value);
  bool ReadI32(std::int32_t& value);
  bool ReadBytes(std::size_t count, std::vector<std::uint8_t>& out);
  bool ReadBytes(std::size_t count, std::string& out);
  // A 32-bit byte length followed by that many bytes; lengths above
  // maxLength or beyond the end are refused before anything is allocated.
  bool ReadCountedText(std::string& out, std::size_t maxLength);
  bool Skip(std::size_t count);

  std::size_t Position() const { return m_position; }
  std::size_t Remaining() const { return m_bytes.size() - m_position; }
  bool Failed() const { return m_failed; }

 private:
  bool Take(std::size_t count, const std::uint8_t*& at);

  std::span<const std::uint8_t> m_bytes;
  std::size_t m_position = 0;
  bool m_failed = false;
};

}  // namespace tolmar::suite
