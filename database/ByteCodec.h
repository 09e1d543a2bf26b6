#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolmar::db {

// Bounds-checked little-endian reader over a byte span. Every read fails (and
// leaves the cursor in place) when fewer bytes remain than it needs.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  bool ReadInt32(int32_t& value);
  bool ReadUInt32(uint32_t& value);
  bool ReadDouble(double& value);
  // Reads `size` bytes and keeps them up to the first NUL.
  bool ReadFixedText(size_t size, std::string& value);
  bool ReadBytes(size_t size, std::string& value);
  bool Skip(size_t size);

  size_t Position() const { return m_position; }
  size_t Remaining() const { return m_bytes.size() - m_position; }

 private:
  std::span<const uint8_t> m_bytes;
  size_t m_position = 0;
};

// Little-endian writer appending to a byte vector.
class ByteWriter {
 public:
  explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

  void WriteInt32(int32_t value);
  void WriteUInt32(uint32_t value);
  void WriteDouble(double value);
  // Writes the text cut to size - 1 bytes, then zero padding up to `size`.
  void WriteFixedText(const std::string& value, size_t size);
  void WriteBytes(const std::string& value);
  void WriteZeros(size_t size);

 private:
  std::vector<uint8_t>& m_out;
};

// Reads/writes a 32-bit little-endian value at an offset of a fixed block.
int32_t GetInt32At(std::span<const uint8_t> block, size_t offset);
void PutInt32At(std::span<uint8_t> block, size_t offset, int32_t value);

// The longest prefix of `text` of at most `maxBytes` bytes that does not end in the
// middle of a character: UTF-8 sequences when the text is valid UTF-8, otherwise
// GB18030 double- and four-byte characters.
std::string CutText(const std::string& text, size_t maxBytes);

}  // namespace tolmar::db
