#include "MultiFrameReader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "PixelCompression.h"

namespace tolmar {

MultiFrameReader::MultiFrameReader() = default;
MultiFrameReader::~MultiFrameReader() = default;

namespace {
bool Fail(DicomError* error, const std::string& what) {
  if (error) error->Set(what);
  return false;
}
}  // namespace

bool MultiFrameReader::Open(const std::string& path, DicomError* error) {
  m_file.reset(std::fopen(path.c_str(), "rb"));
  if (!m_file) return Fail(error, std::string("cannot open file: ") + std::strerror(errno));
  struct stat info {};
  if (fstat(fileno(m_file.get()), &info) != 0) return Fail(error, "cannot inspect file");

  uint8_t head[138] = {};
  const size_t got = std::fread(head, 1, sizeof head, m_file.get());
  uint64_t start = 0;
  if (got >= 132 && std::memcmp(head + 128, "DICM", 4) == 0) start = 132;
  const Encoding encoding = (got >= start + 6 && static_cast<int8_t>(head[start + 5]) > 10)
                                ? Encoding::ExplicitLittle
                                : Encoding::ImplicitLittle;
  if (std::fseek(m_file.get(), static_cast<long>(start), SEEK_SET) != 0) {
    return Fail(error, "cannot seek in file");
  }
  m_stream = DicomStream::OverFile(m_file.get(), start, static_cast<uint64_t>(info.st_size), false);
  m_header = std::make_unique<DicomDataSet>();
  m_header->pixelDataLength = 0;
  // A header without pixel data leaves the stream at its end.
  if (!ParseDataSet(*m_stream, encoding, ReadMode::HeaderOnly, *m_header, error)) return false;
  if (m_header->pixelDataLength == 0 || !m_stream->HasMore()) return Fail(error, "no pixel data");

  const uint64_t rows = m_header->GetUShort(0x0028, 0x0010);
  const uint64_t columns = m_header->GetUShort(0x0028, 0x0011);
  const uint64_t bits = m_header->GetUShort(0x0028, 0x0100);
  const std::string photometric = m_header->GetText(0x0028, 0x0004);
  uint64_t samples = 0;
  if (photometric.rfind("RGB", 0) == 0)
    samples = 3;
  else if (photometric.rfind("MON", 0) == 0)
    samples = 1;
  else
    return Fail(error, "unsupported photometric interpretation");
  m_frameSize = rows * columns * (bits / 8) * samples;
  if (m_frameSize == 0) return Fail(error, "rows, columns or bits allocated missing");

  m_frames = 1;
  if (m_header->FindElement(0x0028, 0x0008)) {
    m_frames = std::strtol(m_header->GetText(0x0028, 0x0008).c_str(), nullptr, 10);
    if (m_frames < 1) return Fail(error, "bad number of frames");
  }

  m_encapsulated = m_header->pixelDataLength == kUndefinedLength;
  if (m_encapsulated) {
    // The first item is the offset table; frames follow one per fragment.
    uint16_t g = 0, e = 0;
    uint32_t length = 0;
    if (!m_stream->ReadU16(g) || !m_stream->ReadU16(e) || !m_stream->ReadU32(length) ||
        g != 0xFFFE || e != 0xE000 || !m_stream->Skip(length)) {
      return Fail(error, "bad offset table");
    }
  } else {
    if (static_cast<uint64_t>(m_header->pixelDataLength) !=
        static_cast<uint64_t>(m_frames) * m_frameSize) {
      return Fail(error, "pixel data length does not match the frames");
    }
    m_swapWords = m_stream->ReadOrder() == ByteOrder::Big && bits == 16;
  }
  m_next = 0;
  return true;
}

bool MultiFrameReader::NextFrame(std::vector<uint8_t>& frame, DicomError* error) {
  if (!m_stream || m_next >= m_frames) return Fail(error, "no more frames");
  if (m_encapsulated) {
    uint16_t g = 0, e = 0;
    uint32_t length = 0;
    if (!m_stream->ReadU16(g) || !m_stream->ReadU16(e) || !m_stream->ReadU32(length) ||
        g != 0xFFFE || e != 0xE000) {
      return Fail(error, "missing fragment");
    }
    if (length > m_stream->Remaining())
      return Fail(error, "fragment runs past the end of the file");
    std::vector<uint8_t> fragment(length);
    if (!m_stream->ReadBytes(fragment.data(), length)) return Fail(error, "truncated fragment");
    if (!DecompressFrame(*m_header, fragment.data(), length, m_frameSize, frame, error)) {
      return false;
    }
  } else {
    frame.resize(m_frameSize);
    if (!m_stream->ReadBytes(frame.data(), m_frameSize)) return Fail(error, "truncated frame");
    if (m_swapWords) {
      for (size_t i = 0; i + 1 < frame.size(); i += 2) std::swap(frame[i], frame[i + 1]);
    }
  }
  ++m_next;
  return true;
}

}  // namespace tolmar
