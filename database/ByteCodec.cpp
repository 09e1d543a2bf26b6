#include "database/ByteCodec.h"

#include <bit>
#include <cstring>

namespace tolmar::db {

bool ByteReader::ReadUInt32(uint32_t& value) {
  if (Remaining() < 4) return false;
  const uint8_t* p = m_bytes.data() + m_position;
  value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
          (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  m_position += 4;
  return true;
}

bool ByteReader::ReadInt32(int32_t& value) {
  uint32_t raw = 0;
  if (!ReadUInt32(raw)) return false;
  value = static_cast<int32_t>(raw);
  return true;
}

bool ByteReader::ReadDouble(double& value) {
  if (Remaining() < 8) return false;
  uint64_t raw = 0;
  for (int i = 7; i >= 0; --i) raw = (raw << 8) | m_bytes[m_position + static_cast<size_t>(i)];
  value = std::bit_cast<double>(raw);
  m_position += 8;
  return true;
}

bool ByteReader::ReadFixedText(size_t size, std::string& value) {
  if (Remaining() < size) return false;
  const char* start = reinterpret_cast<const char*>(m_bytes.data() + m_position);
  value.assign(start, strnlen(start, size));
  m_position += size;
  return true;
}

bool ByteReader::ReadBytes(size_t size, std::string& value) {
  if (Remaining() < size) return false;
  value.assign(reinterpret_cast<const char*>(m_bytes.data() + m_position), size);
  m_position += size;
  return true;
}

bool ByteReader::Skip(size_t size) {
  if (Remaining() < size) return false;
  m_position += size;
  return true;
}

void ByteWriter::WriteUInt32(uint32_t value) {
  for (int i = 0; i < 4; ++i) m_out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void ByteWriter::WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }

void ByteWriter::WriteDouble(double value) {
  const auto raw = std::bit_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) m_out.push_back(static_cast<uint8_t>(raw >> (8 * i)));
}

void ByteWriter::WriteFixedText(const std::string& value, size_t size) {
  if (size == 0) return;
  const std::string cut = CutText(value, size - 1);
  m_out.insert(m_out.end(), cut.begin(), cut.end());
  m_out.insert(m_out.end(), size - cut.size(), 0);
}

void ByteWriter::WriteBytes(const std::string& value) {
  m_out.insert(m_out.end(), value.begin(), value.end());
}

void ByteWriter::WriteZeros(size_t size) { m_out.insert(m_out.end(), size, 0); }

int32_t GetInt32At(std::span<const uint8_t> block, size_t offset) {
  if (offset > block.size() || block.size() - offset < 4) return 0;
  ByteReader reader(block.subspan(offset, 4));
  int32_t value = 0;
  reader.ReadInt32(value);
  return value;
}

void PutInt32At(std::span<uint8_t> block, size_t offset, int32_t value) {
  if (offset > block.size() || block.size() - offset < 4) return;
  const auto raw = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) block[offset + i] = static_cast<uint8_t>(raw >> (8 * i));
}

namespace {

// Length of the UTF-8 sequence starting with `lead`, 0 when it cannot start one.
size_t Utf8SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = Utf8SequenceLength(static_cast<uint8_t>(text[i]));
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

size_t Gb18030SequenceLength(const std::string& text, size_t i) {
  const auto lead = static_cast<uint8_t>(text[i]);
  if (lead < 0x81 || lead == 0xFF || i + 1 >= text.size()) return 1;
  const auto second = static_cast<uint8_t>(text[i + 1]);
  if (second >= 0x30 && second <= 0x39) return 4;
  return 2;
}

}  // namespace

std::string CutText(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  const bool utf8 = IsValidUtf8(text);
  size_t end = 0;
  while (end < text.size()) {
    const size_t length = utf8 ? Utf8SequenceLength(static_cast<uint8_t>(text[end]))
                               : Gb18030SequenceLength(text, end);
    if (end + length > maxBytes) break;
    end += length;
  }
  return text.substr(0, end);
}

}  // namespace tolmar::db
