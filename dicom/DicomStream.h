#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace tolmar {

enum class ByteOrder { Little, Big };

// A byte source over an open file or a memory block, and a byte sink that
// collects output in 32768-byte blocks until it is flushed to a file.
// Byte orders for reading and writing are set separately.
class DicomStream {
 public:
  static constexpr size_t kFileFillSize = 1024;
  static constexpr size_t kWholeFileStep = 50000;
  static constexpr size_t kWriteBlockSize = 32768;

  // Reads from `file` (not owned) starting at its current position, which is
  // `startOffset` bytes into the file; positions count from the start of the file.
  // `fileSize` bounds every read.
  // With `bufferWhole` the rest of the file is read into memory first.
  static std::unique_ptr<DicomStream> OverFile(std::FILE* file, uint64_t startOffset,
                                               uint64_t fileSize, bool bufferWhole);
  // Reads a memory block (not owned, must outlive the stream); positions count from 0.
  // `baseOffset` is where the block sits in the file, for error reports.
  static std::unique_ptr<DicomStream> OverMemory(const uint8_t* data, size_t size, ByteOrder order,
                                                 uint64_t baseOffset = 0);
  // A sink for encoded output.
  static std::unique_ptr<DicomStream> ForWriting();

  void SetReadOrder(ByteOrder order) { m_readOrder = order; }
  ByteOrder ReadOrder() const { return m_readOrder; }
  void SetWriteOrder(ByteOrder order) { m_writeOrder = order; }
  ByteOrder WriteOrder() const { return m_writeOrder; }

  // Reading. Each fails (false) on a short read; nothing is consumed then.
  bool ReadU16(uint16_t& value);
  bool ReadU32(uint32_t& value);
  bool ReadBytes(uint8_t* destination, uint64_t count);
  bool Skip(uint64_t count);
  // For a memory stream: the next `count` bytes in place, consumed; null for a file
  // stream or a short block.
  const uint8_t* ReadView(uint64_t count);
  bool HasMore() const { return Remaining() > 0; }
  // Bytes consumed since the start of the stream.
  uint64_t Position() const { return m_position; }
  // Bytes still to be read.
  uint64_t Remaining() const { return m_limit - m_position; }
  // Offset of the next byte within the file (memory streams: within the block).
  uint64_t Offset() const { return m_base + m_position; }

  // Writing.
  void WriteU16(uint16_t value);
  void WriteU32(uint32_t value);
  void WriteBytes(const uint8_t* source, size_t count);
  void WriteZeros(size_t count);
  uint64_t WrittenSize() const { return m_written; }
  // Writes every collected block to `file` in order; false on a write error.
  bool Flush(std::FILE* file);
  // The collected output as one buffer (tests, memory targets).
  std::vector<uint8_t> TakeOutput();

 private:
  DicomStream() = default;
  bool Fill(uint64_t needed);
  const uint8_t* Peek(uint64_t count);

  ByteOrder m_readOrder = ByteOrder::Little;
  ByteOrder m_writeOrder = ByteOrder::Little;

  // reading
  std::FILE* m_file = nullptr;
  const uint8_t* m_memory = nullptr;  // memory stream or the whole-file buffer
  std::vector<uint8_t> m_buffer;      // file blocks not yet consumed
  size_t m_bufferStart = 0;           // first unread byte in m_buffer
  uint64_t m_position = 0;
  uint64_t m_limit = 0;               // total bytes the stream can supply
  uint64_t m_base = 0;                // file offset of position 0
  size_t m_fillSize = kFileFillSize;  // bytes pulled from the file per fill

  // writing
  std::vector<std::vector<uint8_t>> m_blocks;
  uint64_t m_written = 0;
};

}  // namespace tolmar
