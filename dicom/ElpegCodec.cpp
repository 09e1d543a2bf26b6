#include "ElpegCodec.h"

#include <cstring>

namespace tolmar {
namespace {

constexpr int kValueMask = 0x0FFF;

inline int PixelAt(const uint8_t* row, uint32_t index) {
  return (row[2 * index] | (row[2 * index + 1] << 8)) & kValueMask;
}

inline void PutU16(std::vector<uint8_t>& out, unsigned value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

bool ElpegEncode(const uint8_t* pixels, uint32_t rows, uint32_t columns,
                 std::vector<uint8_t>& records, std::vector<uint16_t>& table) {
  records.clear();
  table.assign(rows, 0);
  std::vector<uint8_t> differences;
  differences.reserve(static_cast<size_t>(columns) * 2 + 2);
  for (uint32_t r = 0; r < rows; ++r) {
    const uint8_t* row = pixels + static_cast<size_t>(r) * columns * 2;
    uint32_t s = 0;
    while (s < columns && PixelAt(row, s) == 0) ++s;
    if (s == columns) continue;  // no positive pixel: no record
    uint32_t e = columns - 1;
    while (PixelAt(row, e) == 0) --e;

    differences.clear();
    int previous = PixelAt(row, s);
    for (uint32_t i = s + 1; i <= e; ++i) {
      const int value = PixelAt(row, i);
      const int d = value - previous;
      previous = value;
      if (d >= -64 && d < 64) {
        differences.push_back(static_cast<uint8_t>(d & 0x7F));
      } else if (d >= 64) {
        differences.push_back(static_cast<uint8_t>(0x80 | ((d >> 8) & 0x0F)));
        differences.push_back(static_cast<uint8_t>(d & 0xFF));
      } else {
        differences.push_back(static_cast<uint8_t>(0xF0 | ((d >> 8) & 0x0F)));
        differences.push_back(static_cast<uint8_t>(d & 0xFF));
      }
    }
    if (differences.size() % 2 != 0) differences.push_back(0);
    differences.push_back(0);
    differences.push_back(0);
    const size_t words = (differences.size() + 6) / 2;
    if (words > 0xFFFF) return false;
    table[r] = static_cast<uint16_t>(words);

    PutU16(records, s);
    PutU16(records, static_cast<unsigned>(PixelAt(row, s)));
    PutU16(records, e - s);
    // Everything after the three header words is stored with each byte pair exchanged.
    for (size_t i = 0; i < differences.size(); i += 2) {
      records.push_back(differences[i + 1]);
      records.push_back(differences[i]);
    }
  }
  return true;
}

bool ElpegDecode(const uint8_t* records, size_t recordsSize, const uint8_t* table,
                 size_t tableEntries, uint32_t rows, uint32_t columns, uint8_t* output) {
  if (tableEntries < rows) return false;
  std::memset(output, 0, static_cast<size_t>(rows) * columns * 2);
  size_t offset = 0;
  for (uint32_t r = 0; r < rows; ++r) {
    const size_t words = table[2 * r] | (table[2 * r + 1] << 8);
    if (words == 0) continue;
    const size_t recordSize = words * 2;
    // Header (6 bytes) and terminator (2 bytes) at least, wholly inside the data.
    if (recordSize < 8 || recordSize > recordsSize - offset) return false;
    const uint8_t* record = records + offset;
    offset += recordSize;

    const uint32_t s = record[0] | (record[1] << 8);
    const int first = record[2] | (record[3] << 8);
    const uint32_t n = record[4] | (record[5] << 8);
    if (s >= columns || n >= columns - s) return false;

    // Byte i of the exchanged part is stored at i ^ 1.
    const uint8_t* body = record + 6;
    const size_t bodySize = recordSize - 8;  // difference bytes, the terminator excluded
    uint8_t* row = output + static_cast<size_t>(r) * columns * 2;
    auto store = [row](uint32_t index, int value) {
      const int stored = (value < 0 || value > kValueMask) ? 0 : value;
      row[2 * index] = static_cast<uint8_t>(stored & 0xFF);
      row[2 * index + 1] = static_cast<uint8_t>(stored >> 8);
    };
    store(s, first);
    int value = first;
    size_t p = 0;
    for (uint32_t k = 1; k <= n; ++k) {
      if (p >= bodySize) return false;
      const int b = body[p ^ 1];
      if ((b >= 0x80 && b <= 0x8F) || b >= 0xF0) {
        if (p + 1 >= bodySize) return false;
        const int second = body[(p + 1) ^ 1];
        if (b >= 0xF0)
          value += static_cast<int16_t>(static_cast<uint16_t>((b << 8) | second));
        else
          value += ((b - 0x80) << 8) + second;
        p += 2;
      } else {
        value += b < 64 ? b : b - 128;
        p += 1;
      }
      store(s + k, value);
    }
    // Only the even-count pad byte may follow the last difference.
    if (bodySize - p > 1) return false;
  }
  return offset == recordsSize;
}

}  // namespace tolmar
