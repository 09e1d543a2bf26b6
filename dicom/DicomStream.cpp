#include "DicomStream.h"

#include <algorithm>
#include <cstring>

namespace tolmar {

namespace {
// Values at least this long bypass the block queue and go straight from the file
// into their destination.
constexpr uint64_t kDirectReadThreshold = 4096;
}  // namespace

std::unique_ptr<DicomStream> DicomStream::OverFile(std::FILE* file, uint64_t startOffset,
                                                   uint64_t fileSize, bool bufferWhole) {
  std::unique_ptr<DicomStream> s(new DicomStream());
  s->m_file = file;
  s->m_position = startOffset;
  s->m_limit = std::max(fileSize, startOffset);
  s->m_fillSize = bufferWhole ? kWholeFileStep : kFileFillSize;
  s->m_buffer.reserve(s->m_fillSize * 2);
  return s;
}

std::unique_ptr<DicomStream> DicomStream::OverMemory(const uint8_t* data, size_t size,
                                                     ByteOrder order, uint64_t baseOffset) {
  std::unique_ptr<DicomStream> s(new DicomStream());
  s->m_memory = data;
  s->m_base = baseOffset;
  s->m_limit = size;
  s->m_readOrder = order;
  return s;
}

std::unique_ptr<DicomStream> DicomStream::ForWriting() {
  return std::unique_ptr<DicomStream>(new DicomStream());
}

bool DicomStream::Fill(uint64_t needed) {
  size_t available = m_buffer.size() - m_bufferStart;
  if (available >= needed) return true;
  if (!m_file) return false;
  if (m_bufferStart > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_bufferStart, available);
    m_buffer.resize(available);
    m_bufferStart = 0;
  }
  while (available < needed) {
    const size_t old = m_buffer.size();
    m_buffer.resize(old + m_fillSize);
    const size_t got = std::fread(m_buffer.data() + old, 1, m_fillSize, m_file);
    m_buffer.resize(old + got);
    available += got;
    if (got == 0) return false;
  }
  return true;
}

const uint8_t* DicomStream::Peek(uint64_t count) {
  if (count > Remaining()) return nullptr;
  if (m_memory) return m_memory + m_position;
  if (!Fill(count)) return nullptr;
  return m_buffer.data() + m_bufferStart;
}

bool DicomStream::ReadU16(uint16_t& value) {
  const uint8_t* p = Peek(2);
  if (!p) return false;
  value = m_readOrder == ByteOrder::Little ? static_cast<uint16_t>(p[0] | (p[1] << 8))
                                           : static_cast<uint16_t>((p[0] << 8) | p[1]);
  m_position += 2;
  if (!m_memory) m_bufferStart += 2;
  return true;
}

bool DicomStream::ReadU32(uint32_t& value) {
  const uint8_t* p = Peek(4);
  if (!p) return false;
  // Two 16-bit halves, ordered like the bytes within them.
  const uint32_t a = m_readOrder == ByteOrder::Little ? static_cast<uint32_t>(p[0] | (p[1] << 8))
                                                      : static_cast<uint32_t>((p[0] << 8) | p[1]);
  const uint32_t b = m_readOrder == ByteOrder::Little ? static_cast<uint32_t>(p[2] | (p[3] << 8))
                                                      : static_cast<uint32_t>((p[2] << 8) | p[3]);
  value = m_readOrder == ByteOrder::Little ? (a | (b << 16)) : ((a << 16) | b);
  m_position += 4;
  if (!m_memory) m_bufferStart += 4;
  return true;
}

bool DicomStream::ReadBytes(uint8_t* destination, uint64_t count) {
  if (count > Remaining()) return false;
  if (count == 0) return true;
  if (m_memory) {
    std::memcpy(destination, m_memory + m_position, count);
    m_position += count;
    return true;
  }
  const size_t available = m_buffer.size() - m_bufferStart;
  const size_t fromBuffer = static_cast<size_t>(std::min<uint64_t>(available, count));
  std::memcpy(destination, m_buffer.data() + m_bufferStart, fromBuffer);
  m_bufferStart += fromBuffer;
  m_position += fromBuffer;
  uint64_t rest = count - fromBuffer;
  if (rest == 0) return true;
  if (rest >= kDirectReadThreshold) {
    const size_t got = std::fread(destination + fromBuffer, 1, rest, m_file);
    m_position += got;
    return got == rest;
  }
  if (!Fill(rest)) return false;
  std::memcpy(destination + fromBuffer, m_buffer.data() + m_bufferStart, rest);
  m_bufferStart += rest;
  m_position += rest;
  return true;
}

const uint8_t* DicomStream::ReadView(uint64_t count) {
  if (!m_memory || count > Remaining()) return nullptr;
  const uint8_t* p = m_memory + m_position;
  m_position += count;
  return p;
}

bool DicomStream::Skip(uint64_t count) {
  if (count > Remaining()) return false;
  if (m_memory) {
    m_position += count;
    return true;
  }
  const size_t available = m_buffer.size() - m_bufferStart;
  const size_t fromBuffer = static_cast<size_t>(std::min<uint64_t>(available, count));
  m_bufferStart += fromBuffer;
  m_position += fromBuffer;
  const uint64_t rest = count - fromBuffer;
  if (rest == 0) return true;
  if (std::fseek(m_file, static_cast<long>(rest), SEEK_CUR) != 0) return false;
  m_position += rest;
  return true;
}

void DicomStream::WriteBytes(const uint8_t* source, size_t count) {
  m_written += count;
  while (count > 0) {
    if (m_blocks.empty() || m_blocks.back().size() == kWriteBlockSize) {
      m_blocks.emplace_back();
      m_blocks.back().reserve(kWriteBlockSize);
    }
    auto& block = m_blocks.back();
    const size_t n = std::min(count, kWriteBlockSize - block.size());
    block.insert(block.end(), source, source + n);
    source += n;
    count -= n;
  }
}

void DicomStream::WriteZeros(size_t count) {
  static const uint8_t zeros[256] = {};
  while (count > 0) {
    const size_t n = std::min(count, sizeof zeros);
    WriteBytes(zeros, n);
    count -= n;
  }
}

void DicomStream::WriteU16(uint16_t value) {
  uint8_t b[2];
  if (m_writeOrder == ByteOrder::Little) {
    b[0] = static_cast<uint8_t>(value);
    b[1] = static_cast<uint8_t>(value >> 8);
  } else {
    b[0] = static_cast<uint8_t>(value >> 8);
    b[1] = static_cast<uint8_t>(value);
  }
  WriteBytes(b, 2);
}

void DicomStream::WriteU32(uint32_t value) {
  if (m_writeOrder == ByteOrder::Little) {
    WriteU16(static_cast<uint16_t>(value));
    WriteU16(static_cast<uint16_t>(value >> 16));
  } else {
    WriteU16(static_cast<uint16_t>(value >> 16));
    WriteU16(static_cast<uint16_t>(value));
  }
}

bool DicomStream::Flush(std::FILE* file) {
  for (const auto& block : m_blocks) {
    if (std::fwrite(block.data(), 1, block.size(), file) != block.size()) return false;
  }
  m_blocks.clear();
  return true;
}

std::vector<uint8_t> DicomStream::TakeOutput() {
  std::vector<uint8_t> out;
  out.reserve(m_written);
  for (const auto& block : m_blocks) out.insert(out.end(), block.begin(), block.end());
  m_blocks.clear();
  return out;
}

}  // namespace tolmar
