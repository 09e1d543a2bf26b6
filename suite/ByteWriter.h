#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tolmar::suite {

// Little-endian writer that appends to an owned buffer. Counted texts are
// refused (failed flag) when they do not fit their 32-bit length or the
// caller's limit, so a writer never produces a file its readers refuse.
class ByteWriter {
 public:
  void WriteU16(std::uint16_t value);
  void WriteU32(std::uint32_t value);
  void WriteI32(std::int32_t value);
  void WriteBytes(std::span<const std::uint8_t> bytes);
  void WriteBytes(std::string_view bytes);
  // Text in a fixed field: cut to size bytes, the rest zero-filled.
  void WriteFixedText(std::string_view text, std::size_t size);
  bool WriteCountedText(std::string_view text, std::size_t maxLength);

  bool Failed() const { return m_failed; }
  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
  std::vector<std::uint8_t> TakeBytes() { return std::move(m_bytes); }

 private:
  std::vector<std::uint8_t> m_bytes;
  bool m_failed = false;
};

}  // namespace tolmar::suite
