#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "DicomCodec.h"

namespace tolmar {

// Reads a multi-frame file one frame at a time: the header is parsed once and the
// file stays open, positioned at the next frame, until the reader is destroyed.
class MultiFrameReader {
 public:
  MultiFrameReader();
  ~MultiFrameReader();
  MultiFrameReader(const MultiFrameReader&) = delete;
  MultiFrameReader& operator=(const MultiFrameReader&) = delete;

  bool Open(const std::string& path, DicomError* error = nullptr);
  // Fills `frame` with the next frame (frame-size bytes); false after the last one.
  bool NextFrame(std::vector<uint8_t>& frame, DicomError* error = nullptr);

  uint64_t FrameSize() const { return m_frameSize; }
  long FrameCount() const { return m_frames; }
  long FramesRead() const { return m_next; }
  // The header as parsed (everything before the pixel data).
  const DicomDataSet* Header() const { return m_header.get(); }

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const {
      if (f) std::fclose(f);
    }
  };
  std::unique_ptr<std::FILE, FileCloser> m_file;
  std::unique_ptr<DicomStream> m_stream;
  std::unique_ptr<DicomDataSet> m_header;
  uint64_t m_frameSize = 0;
  long m_frames = 0;
  long m_next = 0;
  bool m_encapsulated = false;
  bool m_swapWords = false;  // 16-bit pixels of a big-endian file
};

}  // namespace tolmar
