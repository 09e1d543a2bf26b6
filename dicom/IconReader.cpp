#include "IconReader.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace tolmar {

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

bool Fail(DicomError* error, const std::string& what, uint64_t at) {
  if (error) error->Set(what, at);
  return false;
}

// An element header at `p`: explicit VR when the two bytes after the tag are letters.
struct Header {
  uint16_t group, element;
  uint32_t length;
  size_t size;  // header bytes
};

bool ReadHeader(const uint8_t* data, size_t size, size_t at, bool explicitVr, Header& h) {
  if (at + 8 > size) return false;
  h.group = U16(data + at);
  h.element = U16(data + at + 2);
  if (!explicitVr) {
    h.length = U32(data + at + 4);
    h.size = 8;
    return true;
  }
  const char a = static_cast<char>(data[at + 4]);
  const char b = static_cast<char>(data[at + 5]);
  const bool longLength =
      (a == 'O' && (b == 'B' || b == 'W' || b == 'F' || b == 'D' || b == 'L')) ||
      (a == 'S' && b == 'Q') || (a == 'U' && (b == 'N' || b == 'T'));
  if (longLength) {
    if (at + 12 > size) return false;
    h.length = U32(data + at + 8);
    h.size = 12;
  } else {
    h.length = U16(data + at + 6);
    h.size = 8;
  }
  return true;
}

// Form (b): marker, width, height, then width x height grey bytes (top row first).
bool GreyIconToDib(const uint8_t* value, uint32_t length, std::vector<uint8_t>& dib) {
  if (length < 6) return false;
  const uint32_t width = U16(value + 2);
  const uint32_t height = U16(value + 4);
  if (width == 0 || height == 0 || static_cast<uint64_t>(width) * height > length - 6) return false;
  const uint32_t stride = (width + 3) & ~3u;
  dib.clear();
  dib.reserve(40 + 1024 + static_cast<size_t>(stride) * height);
  PutU32(dib, 40);
  PutU32(dib, width);
  PutU32(dib, height);  // positive: bottom-up rows
  PutU16(dib, 1);
  PutU16(dib, 8);
  PutU32(dib, 0);
  PutU32(dib, stride * height);
  PutU32(dib, 0);
  PutU32(dib, 0);
  PutU32(dib, 256);
  PutU32(dib, 0);
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    dib.insert(dib.end(), {v, v, v, 0});
  }
  const uint8_t* pixels = value + 6;
  for (uint32_t row = height; row-- > 0;) {
    dib.insert(dib.end(), pixels + static_cast<size_t>(row) * width,
               pixels + static_cast<size_t>(row + 1) * width);
    dib.insert(dib.end(), stride - width, 0);
  }
  return true;
}

}  // namespace

bool ReadDicomIconFromMemory(const uint8_t* data, size_t size, std::vector<uint8_t>& packedDib,
                             DicomError* error) {
  size_t at = 0;
  if (size >= 132 && std::memcmp(data + 128, "DICM", 4) == 0) {
    int sum = 0;
    for (int i = 0; i < 128; ++i) sum += static_cast<int8_t>(data[i]);
    if (sum != 0) return Fail(error, "preamble is not empty", 0);
    at = 132;
  }
  // Walk the low groups by their group lengths, up to group 0007.
  while (at + 8 <= size) {
    const uint16_t group = U16(data + at);
    if (group > 0x0007) break;
    const bool explicitVr = data[at + 4] == 'U' && data[at + 5] == 'L';
    Header h{};
    if (!ReadHeader(data, size, at, explicitVr, h) || h.element != 0x0000 || h.length != 4 ||
        at + h.size + 4 > size) {
      return Fail(error, "group without a group length", at);
    }
    const uint32_t groupLength = U32(data + at + h.size);
    at += h.size + 4;
    if (groupLength > size - at) return Fail(error, "group runs past the end of the file", at);
    if (group != 0x0007) {
      at += groupLength;
      continue;
    }
    const size_t end = at + groupLength;
    while (at < end) {
      Header e{};
      if (!ReadHeader(data, end, at, explicitVr, e)) break;
      const size_t valueAt = at + e.size;
      if (e.length > end - valueAt) return Fail(error, "icon element runs past its group", at);
      if (e.group == 0x0007 && e.element == 0x0001) {
        const uint8_t* value = data + valueAt;
        if (e.length > 5 && std::memcmp(value, "QV-KT", 5) == 0) {
          packedDib.assign(value + 5, value + e.length);
          return true;
        }
        if (e.length >= 6 && U16(value) == 0x7875 && GreyIconToDib(value, e.length, packedDib)) {
          return true;
        }
        return Fail(error, "icon in an unknown form", at);
      }
      at = valueAt + e.length;
    }
    break;
  }
  return Fail(error, "no icon", at);
}

bool ReadDicomIcon(const std::string& path, std::vector<uint8_t>& packedDib, DicomError* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot open file", 0);
  // Only the groups up to 0007 matter; read the head of the file in growing steps.
  std::vector<uint8_t> head;
  std::vector<uint8_t> chunk(65536);
  for (;;) {
    in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<size_t>(in.gcount());
    head.insert(head.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    if (got < chunk.size()) break;
    if (head.size() >= (64u << 20)) break;  // icons live in the first groups, never this far
  }
  return ReadDicomIconFromMemory(head.data(), head.size(), packedDib, error);
}

}  // namespace tolmar
