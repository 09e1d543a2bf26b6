#include "suite/ByteReader.h"

namespace tolmar::suite {

bool ByteReader::Take(std::size_t count, const std::uint8_t*& at) {
  if (m_failed || count > Remaining()) {
    m_failed = true;
    return false;
  }
  at = m_bytes.data() + m_position;
  m_position += count;
  return true;
}

bool ByteReader::ReadU16(std::uint16_t& value) {
  const std::uint8_t* at = nullptr;
  if (!Take(2, at)) return false;
  value = static_cast<std::uint16_t>(at[0] | (at[1] << 8));
  return true;
}

bool ByteReader::ReadU32(std::uint32_t& value) {
  const std::uint8_t* at = nullptr;
  if (!Take(4, at)) return false;
  value = static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
          (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
  return true;
}

bool ByteReader::ReadI32(std::int32_t& value) {
  std::uint32_t raw = 0;
  if (!ReadU32(raw)) return false;
  value = static_cast<std::int32_t>(raw);
  return true;
}

bool ByteReader::ReadBytes(std::size_t count, std::vector<std::uint8_t>& out) {
  const std::uint8_t* at = nullptr;
  if (!Take(count, at)) return false;
  out.assign(at, at + count);
  return true;
}

bool ByteReader::ReadBytes(std::size_t count, std::string& out) {
  const std::uint8_t* at = nullptr;
  if (!Take(count, at)) return false;
  out.assign(reinterpret_cast<const char*>(at), count);
  return true;
}

bool ByteReader::ReadCountedText(std::string& out, std::size_t maxLength) {
  const std::size_t start = m_position;
  std::uint32_t length = 0;
  if (!ReadU32(length)) return false;
  if (length > maxLength || length > Remaining()) {
    m_position = start;
    m_failed = true;
    return false;
  }
  return ReadBytes(length, out);
}

bool ByteReader::Skip(std::size_t count) {
  const std::uint8_t* at = nullptr;
  return Take(count, at);
}

}  // namespace tolmar::suite
