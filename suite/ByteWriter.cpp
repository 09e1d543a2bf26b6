#include "suite/ByteWriter.h"

#include <algorithm>

namespace tolmar::suite {

void ByteWriter::WriteU16(std::uint16_t value) {
  m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::WriteU32(std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    m_bytes.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void ByteWriter::WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }

void ByteWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ByteWriter::WriteBytes(std::string_view bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ByteWriter::WriteFixedText(std::string_view text, std::size_t size) {
  const std::size_t used = std::min(text.size(), size);
  WriteBytes(text.substr(0, used));
  m_bytes.insert(m_bytes.end(), size - used, 0);
}

bool ByteWriter::WriteCountedText(std::string_view text, std::size_t maxLength) {
  if (text.size() > maxLength || text.size() > 0xFFFFFFFFu) {
    m_failed = true;
    return false;
  }
  WriteU32(static_cast<std::uint32_t>(text.size()));
  WriteBytes(text);
  return true;
}

}  // namespace tolmar::suite
