#include "ByteWriter.h"

namespace tolmar {

void ByteWriter::U8(uint8_t value) { m_bytes.push_back(value); }

void ByteWriter::U16(uint16_t value) {
  m_bytes.push_back(static_cast<uint8_t>(value));
  m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::U32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void ByteWriter::Bytes(std::span<const uint8_t> bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ByteWriter::Zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }

bool ByteWriter::PatchU32(size_t offset, uint32_t value) {
  if (offset > m_bytes.size() || m_bytes.size() - offset < 4) {
    m_failed = true;
    return false;
  }
  for (int i = 0; i < 4; ++i) m_bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return true;
}

bool ByteReader::Need(size_t count) {
  if (Remaining() < count) {
    m_failed = true;
    return false;
  }
  return true;
}

bool ByteReader::U8(uint8_t& value) {
  value = 0;
  if (!Need(1)) return false;
  value = m_bytes[m_position++];
  return true;
}

bool ByteReader::U16(uint16_t& value) {
  value = 0;
  if (!Need(2)) return false;
  value = static_cast<uint16_t>(m_bytes[m_position] | (m_bytes[m_position + 1] << 8));
  m_position += 2;
  return true;
}

bool ByteReader::U32(uint32_t& value) {
  value = 0;
  if (!Need(4)) return false;
  for (int i = 3; i >= 0; --i) value = (value << 8) | m_bytes[m_position + i];
  m_position += 4;
  return true;
}

bool ByteReader::I32(int32_t& value) {
  uint32_t raw = 0;
  const bool ok = U32(raw);
  value = static_cast<int32_t>(raw);
  return ok;
}

std::span<const uint8_t> ByteReader::Take(size_t count) {
  if (!Need(count)) return {};
  auto view = m_bytes.subspan(m_position, count);
  m_position += count;
  return view;
}

bool ByteReader::Skip(size_t count) {
  if (!Need(count)) return false;
  m_position += count;
  return true;
}

}  // namespace tolmar
