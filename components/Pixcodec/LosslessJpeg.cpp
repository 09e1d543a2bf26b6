#include "LosslessJpeg.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace pixcodec {

static_assert(std::endian::native == std::endian::little, "samples are written little endian");

namespace {

// ------------------------------------------------------------------ Huffman tables

constexpr int kFastBits = 10;
// Code and extra bits of one difference together, when they fit in this many bits.
constexpr int kDiffBits = 12;

struct HuffmanTable {
  bool defined = false;
  // (difference << 8) | bits used, for code plus extra bits of up to kDiffBits; 0 otherwise.
  std::array<int32_t, 1 << kDiffBits> fastDifference{};
  // Codes of up to kFastBits bits: (length << 8) | symbol, 0 when longer.
  std::array<uint16_t, 1 << kFastBits> fast{};
  std::array<int32_t, 18> maxCode{};  // largest code of each length, -1 when none
  std::array<int32_t, 17> valueOffset{};
  std::array<uint8_t, 256> values{};
};

// Builds the decoding table from the 16 code counts and the symbol values (DHT).
bool BuildTable(const uint8_t* counts, const uint8_t* symbols, int symbolCount,
                HuffmanTable& table) {
  table = HuffmanTable{};
  int code = 0;
  int k = 0;
  for (int length = 1; length <= 16; ++length) {
    const int n = counts[length - 1];
    table.valueOffset[length] = k - code;
    for (int i = 0; i < n; ++i, ++k, ++code) {
      if (code >= (1 << length)) return false;  // more codes than the length allows
      const int category = symbols[k];
      const int extra = category < 16 ? category : 0;
      if (length + extra <= kDiffBits && category <= 16) {
        const int free = kDiffBits - length - extra;
        for (int v = 0; v < (1 << extra); ++v) {
          int difference = 0;
          if (category == 16)
            difference = 32768;
          else if (category > 0)
            difference = v < (1 << (category - 1)) ? v - (1 << category) + 1 : v;
          const int32_t entry = difference * 256 + length + extra;
          const int prefix = ((code << extra) | v) << free;
          for (int fill = 0; fill < (1 << free); ++fill)
            table.fastDifference[prefix | fill] = entry;
        }
      }
      if (length <= kFastBits) {
        const int shift = kFastBits - length;
        for (int fill = 0; fill < (1 << shift); ++fill) {
          table.fast[(code << shift) | fill] = static_cast<uint16_t>((length << 8) | symbols[k]);
        }
      }
    }
    table.maxCode[length] = n ? code - 1 : -1;
    code <<= 1;
  }
  table.maxCode[17] = 0x7FFFFFFF;
  if (k != symbolCount) return false;
  std::copy(symbols, symbols + symbolCount, table.values.begin());
  table.defined = true;
  return true;
}

// ------------------------------------------------------------------ bit reader

// Reads entropy-coded bytes up to the next marker. Past the marker or the end of the
// data it supplies zero bits and counts them, so that a truncated scan is detected
// without reading a byte outside the data.
class BitReader {
 public:
  BitReader(const uint8_t* p, const uint8_t* end) : m_p(p), m_end(end) {}

  inline void Refill() {
    if (m_bits >= 32) return;  // enough for one difference: code and extra bits
    if (m_bits <= 55 && m_end - m_p >= 8 && !m_stopped) {
      uint64_t word;
      std::memcpy(&word, m_p, 8);
      const uint64_t inverted = ~word;
      const bool hasFF =
          ((inverted - 0x0101010101010101ull) & ~inverted & 0x8080808080808080ull) != 0;
      if (!hasFF) {
        word = __builtin_bswap64(word);
        const int n = (63 - m_bits) >> 3;
        const uint64_t top = word & (~0ull << (64 - 8 * n));
        m_buffer |= top >> m_bits;
        m_bits += 8 * n;
        m_p += n;
        return;
      }
    }
    while (m_bits <= 56) {
      uint64_t byte = 0;
      if (!m_stopped && m_p < m_end) {
        if (*m_p != 0xFF) {
          byte = *m_p++;
        } else if (m_end - m_p >= 2 && m_p[1] == 0x00) {
          byte = 0xFF;
          m_p += 2;
        } else {
          m_stopped = true;  // a marker (or the end): the scan's data ends here
        }
      } else {
        m_stopped = true;
      }
      if (m_stopped) m_padBits += 8;
      m_buffer |= byte << (56 - m_bits);
      m_bits += 8;
    }
  }

  inline int DecodeSymbol(const HuffmanTable& table) {
    Refill();
    const uint16_t entry = table.fast[m_buffer >> (64 - kFastBits)];
    if (entry) {
      Consume(entry >> 8);
      return entry & 0xFF;
    }
    for (int length = kFastBits + 1; length <= 16; ++length) {
      const int32_t code = static_cast<int32_t>(m_buffer >> (64 - length));
      if (code <= table.maxCode[length]) {
        Consume(length);
        return table.values[static_cast<uint8_t>(code + table.valueOffset[length])];
      }
    }
    return -1;
  }

  // A difference of category `s` (0 … 16) with its extra bits.
  inline int DecodeDifference(const HuffmanTable& table, bool& bad) {
    Refill();
    const int32_t entry = table.fastDifference[m_buffer >> (64 - kDiffBits)];
    if (entry) {
      Consume(entry & 0xFF);
      return entry >> 8;
    }
    const int s = DecodeSymbol(table);
    if (s <= 0) {
      if (s < 0) bad = true;
      return 0;
    }
    if (s >= 16) {
      if (s > 16) bad = true;
      return 32768;
    }
    const int v = static_cast<int>(m_buffer >> (64 - s));
    Consume(s);
    return v < (1 << (s - 1)) ? v - (1 << s) + 1 : v;
  }

  // True when decoding used no bit beyond the real data.
  bool WithinData() const { return m_bits >= m_padBits; }
  // Real bits still buffered (the pad bits of the last byte, normally fewer than 8).
  int RealBitsLeft() const { return m_bits - m_padBits; }
  // Where the next marker is: bytes buffered but unused are given back first.
  const uint8_t* Position() const { return m_p; }
  void Restart(const uint8_t* p) {
    m_p = p;
    m_buffer = 0;
    m_bits = 0;
    m_padBits = 0;
    m_stopped = false;
  }

 private:
  inline void Consume(int n) {
    m_buffer <<= n;
    m_bits -= n;
  }

  const uint8_t* m_p;
  const uint8_t* m_end;
  uint64_t m_buffer = 0;
  int m_bits = 0;
  int m_padBits = 0;
  bool m_stopped = false;
};

// ------------------------------------------------------------------ decoder

struct Component {
  int id = 0;
  uint16_t* plane = nullptr;  // width × height samples, point transform not yet undone
  bool decoded = false;
  int pointTransform = 0;
};

struct ScanComponent {
  Component* component = nullptr;
  const HuffmanTable* table = nullptr;
};

inline int Predict(int predictor, int ra, int rb, int rc) {
  switch (predictor) {
    case 1:
      return ra;
    case 2:
      return rb;
    case 3:
      return rc;
    case 4:
      return ra + rb - rc;
    case 5:
      return ra + ((rb - rc) >> 1);
    case 6:
      return rb + ((ra - rc) >> 1);
    default:
      return (ra + rb) >> 1;
  }
}

// One row of a single-component scan; `above` is null on the first row of the scan
// or of a restart interval.
template <int kPredictor>
bool DecodeRow(BitReader& reader, const HuffmanTable& table, uint16_t* row, const uint16_t* above,
               int width, int initial) {
  bool bad = false;
  if (!above) {
    int previous = initial;
    for (int x = 0; x < width; ++x) {
      previous = static_cast<uint16_t>(previous + reader.DecodeDifference(table, bad));
      row[x] = static_cast<uint16_t>(previous);
    }
    return !bad;
  }
  int ra = static_cast<uint16_t>(above[0] + reader.DecodeDifference(table, bad));
  row[0] = static_cast<uint16_t>(ra);
  for (int x = 1; x < width; ++x) {
    const int prediction = Predict(kPredictor, ra, above[x], above[x - 1]);
    ra = static_cast<uint16_t>(prediction + reader.DecodeDifference(table, bad));
    row[x] = static_cast<uint16_t>(ra);
  }
  return !bad;
}

using RowDecoder = bool (*)(BitReader&, const HuffmanTable&, uint16_t*, const uint16_t*, int, int);
constexpr RowDecoder kRowDecoders[8] = {nullptr,      DecodeRow<1>, DecodeRow<2>, DecodeRow<3>,
                                        DecodeRow<4>, DecodeRow<5>, DecodeRow<6>, DecodeRow<7>};

// One row of an interleaved scan.
bool DecodeInterleavedRow(BitReader& reader, const ScanComponent* scan, int count, int y,
                          bool firstRow, int width, int predictor, int initial) {
  bool bad = false;
  for (int x = 0; x < width; ++x) {
    for (int c = 0; c < count; ++c) {
      uint16_t* row = scan[c].component->plane + static_cast<size_t>(y) * width;
      int prediction;
      if (firstRow) {
        prediction = x == 0 ? initial : row[x - 1];
      } else {
        const uint16_t* above = row - width;
        prediction = x == 0 ? above[0] : Predict(predictor, row[x - 1], above[x], above[x - 1]);
      }
      row[x] = static_cast<uint16_t>(prediction + reader.DecodeDifference(*scan[c].table, bad));
    }
  }
  return !bad;
}

class LosslessDecoder {
 public:
  LosslessDecoder(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  LosslessStatus Decode(int width, int height, int components, int bytesPerSample, uint8_t* output,
                        size_t outputSize);

 private:
  uint16_t Read16(size_t at) const {
    return static_cast<uint16_t>((m_data[at] << 8) | m_data[at + 1]);
  }
  LosslessStatus ReadFrame(size_t at, size_t length);
  LosslessStatus ReadTables(size_t at, size_t length);
  LosslessStatus DecodeScan(size_t at, size_t length, size_t& next);

  const uint8_t* m_data;
  size_t m_size;
  int m_precision = 0;
  int m_width = 0;
  int m_height = 0;
  int m_restartInterval = 0;
  std::vector<Component> m_components;
  HuffmanTable m_tables[4];
  bool m_frameSeen = false;
};

LosslessStatus LosslessDecoder::ReadFrame(size_t at, size_t length) {
  if (m_frameSeen || length < 8) return LosslessStatus::Corrupt;
  m_frameSeen = true;
  m_precision = m_data[at];
  m_height = Read16(at + 1);
  m_width = Read16(at + 3);
  const int count = m_data[at + 5];
  if (length != 8 + 3 * static_cast<size_t>(count) || count == 0) return LosslessStatus::Corrupt;
  if (m_precision < 2 || m_precision > 16) return LosslessStatus::Corrupt;
  m_components.resize(count);
  for (int c = 0; c < count; ++c) {
    m_components[c].id = m_data[at + 6 + 3 * c];
    if (m_data[at + 7 + 3 * c] != 0x11) return LosslessStatus::Unsupported;
  }
  return LosslessStatus::Ok;
}

LosslessStatus LosslessDecoder::ReadTables(size_t at, size_t length) {
  size_t p = at;
  const size_t end = at + length - 2;
  while (p < end) {
    if (end - p < 17) return LosslessStatus::Corrupt;
    const int tableClass = m_data[p] >> 4;
    const int id = m_data[p] & 0x0F;
    if (id > 3) return LosslessStatus::Corrupt;
    const uint8_t* counts = m_data + p + 1;
    int total = 0;
    for (int i = 0; i < 16; ++i) total += counts[i];
    if (total > 256 || static_cast<size_t>(total) > end - p - 17) return LosslessStatus::Corrupt;
    // Lossless scans use the DC tables; AC tables of a mixed stream are skipped.
    if (tableClass == 0 && !BuildTable(counts, m_data + p + 17, total, m_tables[id])) {
      return LosslessStatus::Corrupt;
    }
    p += 17 + static_cast<size_t>(total);
  }
  return LosslessStatus::Ok;
}

LosslessStatus LosslessDecoder::DecodeScan(size_t at, size_t length, size_t& next) {
  if (!m_frameSeen || length < 6) return LosslessStatus::Corrupt;
  const int count = m_data[at];
  if (count < 1 || count > 4 || length != 6 + 2 * static_cast<size_t>(count)) {
    return LosslessStatus::Corrupt;
  }
  ScanComponent scan[4];
  for (int i = 0; i < count; ++i) {
    const int id = m_data[at + 1 + 2 * i];
    const int tableId = m_data[at + 2 + 2 * i] >> 4;
    Component* found = nullptr;
    for (auto& c : m_components) {
      if (c.id == id) found = &c;
    }
    if (!found || found->decoded || tableId > 3 || !m_tables[tableId].defined) {
      return LosslessStatus::Corrupt;
    }
    scan[i] = {found, &m_tables[tableId]};
  }
  const int predictor = m_data[at + 1 + 2 * count];
  const int pointTransform = m_data[at + 3 + 2 * count] & 0x0F;
  if (predictor < 1 || predictor > 7 || pointTransform >= m_precision) {
    return LosslessStatus::Corrupt;
  }
  const int initial = 1 << (m_precision - pointTransform - 1);
  // Restarts are supported at row boundaries, which is where encoders put them.
  int rowsPerInterval = m_height;
  if (m_restartInterval > 0) {
    if (m_restartInterval % m_width != 0) return LosslessStatus::Unsupported;
    rowsPerInterval = m_restartInterval / m_width;
  }

  const uint8_t* end = m_data + m_size;
  BitReader reader(m_data + at + length - 2, end);
  int restartNumber = 0;
  for (int y = 0; y < m_height; ++y) {
    const int rowInInterval = y % rowsPerInterval;
    if (y > 0 && rowInInterval == 0) {
      // The interval must have used its bytes exactly up to the restart marker.
      if (!reader.WithinData() || reader.RealBitsLeft() >= 8) return LosslessStatus::Corrupt;
      const uint8_t* p = reader.Position();
      while (end - p >= 2 && p[0] == 0xFF && p[1] == 0xFF) ++p;
      if (end - p < 2 || p[0] != 0xFF || p[1] != 0xD0 + restartNumber) {
        return LosslessStatus::Corrupt;
      }
      restartNumber = (restartNumber + 1) & 7;
      reader.Restart(p + 2);
    }
    const bool firstRow = rowInInterval == 0;
    bool ok;
    if (count == 1) {
      uint16_t* row = scan[0].component->plane + static_cast<size_t>(y) * m_width;
      ok = kRowDecoders[predictor](reader, *scan[0].table, row, firstRow ? nullptr : row - m_width,
                                   m_width, initial);
    } else {
      ok = DecodeInterleavedRow(reader, scan, count, y, firstRow, m_width, predictor, initial);
    }
    if (!ok) return LosslessStatus::Corrupt;
  }
  if (!reader.WithinData()) return LosslessStatus::Corrupt;  // truncated scan
  for (int i = 0; i < count; ++i) {
    scan[i].component->decoded = true;
    scan[i].component->pointTransform = pointTransform;
  }
  // The next marker follows the scan's data; extra entropy bytes are skipped.
  const uint8_t* p = reader.Position();
  while (end - p >= 2 && !(p[0] == 0xFF && p[1] != 0x00 && (p[1] < 0xD0 || p[1] > 0xD7))) ++p;
  next = static_cast<size_t>(p - m_data);
  return LosslessStatus::Ok;
}

LosslessStatus LosslessDecoder::Decode(int width, int height, int components, int bytesPerSample,
                                       uint8_t* output, size_t outputSize) {
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (outputSize != pixels * components * bytesPerSample) return LosslessStatus::Corrupt;
  if (m_size < 4 || m_data[0] != 0xFF || m_data[1] != 0xD8) return LosslessStatus::Corrupt;

  thread_local std::vector<uint16_t> scratch;
  size_t p = 2;
  for (;;) {
    if (m_size - p < 2 || m_data[p] != 0xFF) return LosslessStatus::Corrupt;
    while (p < m_size && m_data[p] == 0xFF) ++p;
    if (p >= m_size) return LosslessStatus::Corrupt;
    const int marker = m_data[p++];
    if (marker == 0xD9) break;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (m_size - p < 2) return LosslessStatus::Corrupt;
    const size_t length = Read16(p);
    if (length < 2 || length > m_size - p) return LosslessStatus::Corrupt;
    const size_t body = p + 2;
    LosslessStatus status = LosslessStatus::Ok;
    if (marker == 0xC3) {
      status = ReadFrame(body, length);
      if (status != LosslessStatus::Ok) return status;
      if (m_width != width || m_height != height ||
          static_cast<int>(m_components.size()) != components) {
        return LosslessStatus::Corrupt;
      }
      if (m_precision > 8 && bytesPerSample == 1) return LosslessStatus::Corrupt;
      // One component decoded straight into 16-bit output needs no second buffer.
      const bool direct = components == 1 && bytesPerSample == 2 &&
                          reinterpret_cast<uintptr_t>(output) % alignof(uint16_t) == 0;
      if (direct) {
        m_components[0].plane = reinterpret_cast<uint16_t*>(output);
      } else {
        scratch.resize(pixels * components);
        for (int c = 0; c < components; ++c) m_components[c].plane = scratch.data() + c * pixels;
      }
      p = body + length - 2;
    } else if ((marker >= 0xC0 && marker <= 0xCF) && marker != 0xC4 && marker != 0xC8 &&
               marker != 0xCC) {
      return LosslessStatus::Unsupported;  // not a Huffman lossless frame
    } else if (marker == 0xC4) {
      status = ReadTables(body, length);
      p = body + length - 2;
    } else if (marker == 0xDD) {
      if (length != 4) return LosslessStatus::Corrupt;
      m_restartInterval = Read16(body);
      p = body + 2;
    } else if (marker == 0xDA) {
      size_t next = 0;
      status = DecodeScan(body, length, next);
      p = next;
    } else if (marker == 0xDC) {
      return LosslessStatus::Unsupported;  // height given after the first scan
    } else {
      p = body + length - 2;  // APPn, COM, DQT and the like
    }
    if (status != LosslessStatus::Ok) return status;
  }
  for (const auto& c : m_components) {
    if (!c.decoded) return LosslessStatus::Corrupt;
  }
  if (!m_frameSeen) return LosslessStatus::Corrupt;

  // Undo the point transform and lay the samples out interleaved.
  if (components == 1 && bytesPerSample == 2 &&
      m_components[0].plane == reinterpret_cast<uint16_t*>(output)) {
    const int shift = m_components[0].pointTransform;
    if (shift) {
      uint16_t* plane = m_components[0].plane;
      for (size_t i = 0; i < pixels; ++i) plane[i] = static_cast<uint16_t>(plane[i] << shift);
    }
    return LosslessStatus::Ok;
  }
  for (int c = 0; c < components; ++c) {
    const uint16_t* plane = m_components[c].plane;
    const int shift = m_components[c].pointTransform;
    if (bytesPerSample == 1) {
      uint8_t* out = output + c;
      for (size_t i = 0; i < pixels; ++i, out += components) {
        *out = static_cast<uint8_t>(plane[i] << shift);
      }
    } else {
      uint8_t* out = output + 2 * c;
      for (size_t i = 0; i < pixels; ++i, out += 2 * components) {
        const uint16_t v = static_cast<uint16_t>(plane[i] << shift);
        std::memcpy(out, &v, 2);
      }
    }
  }
  return LosslessStatus::Ok;
}

// ------------------------------------------------------------------ encoder

// Entropy-coded output into a buffer sized for the worst case (8 bytes per difference:
// 31 bits, each byte possibly stuffed), so that no write needs a bounds check.
class BitWriter {
 public:
  explicit BitWriter(uint8_t* out) : m_out(out) {}
  inline void Put(uint32_t bits, int length) {
    m_buffer = (m_buffer << length) | (bits & ((uint64_t{1} << length) - 1));
    m_bits += length;
    if (m_bits < 32) return;
    m_bits -= 32;
    const uint32_t word = static_cast<uint32_t>(m_buffer >> m_bits);
    const uint32_t inverted = ~word;
    if (((inverted - 0x01010101u) & ~inverted & 0x80808080u) == 0) {  // no 0xFF byte
      m_out[0] = static_cast<uint8_t>(word >> 24);
      m_out[1] = static_cast<uint8_t>(word >> 16);
      m_out[2] = static_cast<uint8_t>(word >> 8);
      m_out[3] = static_cast<uint8_t>(word);
      m_out += 4;
      return;
    }
    for (int shift = 24; shift >= 0; shift -= 8) Emit(static_cast<uint8_t>(word >> shift));
  }
  // Pads the last byte with 1 bits; answers the end of the written bytes.
  uint8_t* Finish() {
    while (m_bits >= 8) {
      m_bits -= 8;
      Emit(static_cast<uint8_t>(m_buffer >> m_bits));
    }
    if (m_bits > 0) {
      const int pad = 8 - m_bits;
      Emit(static_cast<uint8_t>(((m_buffer << pad) | ((1u << pad) - 1)) & 0xFF));
      m_bits = 0;
    }
    return m_out;
  }

 private:
  inline void Emit(uint8_t byte) {
    *m_out++ = byte;
    if (byte == 0xFF) *m_out++ = 0x00;
  }
  uint8_t* m_out;
  uint64_t m_buffer = 0;
  int m_bits = 0;
};

inline int Category(int difference) {
  if (difference == 0) return 0;
  if (difference == 32768) return 16;
  const unsigned magnitude = static_cast<unsigned>(difference < 0 ? -difference : difference);
  return 32 - std::countl_zero(magnitude);
}

// Optimal code lengths limited to 16 bits (the classic procedure of the JPEG standard's
// annex K, with the reserved all-ones code kept out by a pseudo-symbol).
void BuildOptimalTable(const std::array<uint32_t, 17>& histogram, uint8_t counts[16],
                       std::vector<uint8_t>& symbols) {
  constexpr int kSymbols = 18;  // 17 categories and the pseudo-symbol
  std::array<int64_t, kSymbols> freq{};
  for (int i = 0; i < 17; ++i) freq[i] = histogram[i];
  freq[17] = 1;
  std::array<int, kSymbols> codeSize{};
  std::array<int, kSymbols> others;
  others.fill(-1);
  for (;;) {
    int c1 = -1, c2 = -1;
    for (int i = 0; i < kSymbols; ++i) {
      if (freq[i] && (c1 < 0 || freq[i] <= freq[c1])) c1 = i;
    }
    for (int i = 0; i < kSymbols; ++i) {
      if (freq[i] && i != c1 && (c2 < 0 || freq[i] <= freq[c2])) c2 = i;
    }
    if (c2 < 0) break;
    freq[c1] += freq[c2];
    freq[c2] = 0;
    ++codeSize[c1];
    while (others[c1] >= 0) {
      c1 = others[c1];
      ++codeSize[c1];
    }
    others[c1] = c2;
    ++codeSize[c2];
    while (others[c2] >= 0) {
      c2 = others[c2];
      ++codeSize[c2];
    }
  }
  std::array<int, 33> bits{};
  for (int i = 0; i < kSymbols; ++i) {
    if (codeSize[i]) ++bits[codeSize[i]];
  }
  for (int i = 32; i > 16; --i) {
    while (bits[i] > 0) {
      int j = i - 2;
      while (bits[j] == 0) --j;
      bits[i] -= 2;
      bits[i - 1] += 1;
      bits[j + 1] += 2;
      bits[j] -= 1;
    }
  }
  int i = 16;
  while (bits[i] == 0) --i;
  bits[i] -= 1;  // drop the pseudo-symbol's code
  for (int length = 1; length <= 16; ++length)
    counts[length - 1] = static_cast<uint8_t>(bits[length]);
  symbols.clear();
  for (int length = 1; length <= 32; ++length) {
    for (int s = 0; s < 17; ++s) {
      if (codeSize[s] == length) symbols.push_back(static_cast<uint8_t>(s));
    }
  }
}

void PutMarker(std::vector<uint8_t>& out, uint8_t marker) {
  out.push_back(0xFF);
  out.push_back(marker);
}
void PutU16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

}  // namespace

LosslessStatus DecodeLosslessJpeg(const uint8_t* data, size_t size, int width, int height,
                                  int components, int bytesPerSample, uint8_t* output,
                                  size_t outputSize) {
  if (!data || !output || width <= 0 || height <= 0 || components < 1 || components > 4 ||
      (bytesPerSample != 1 && bytesPerSample != 2)) {
    return LosslessStatus::Corrupt;
  }
  LosslessDecoder decoder(data, size);
  return decoder.Decode(width, height, components, bytesPerSample, output, outputSize);
}

bool EncodeLosslessJpeg(const uint8_t* input, int width, int height, int components,
                        int bytesPerSample, int precision, std::vector<uint8_t>& output) {
  if (!input || width <= 0 || height <= 0 || width > 65535 || height > 65535 || components < 1 ||
      components > 4 || (bytesPerSample != 1 && bytesPerSample != 2)) {
    return false;
  }
  const size_t samples = static_cast<size_t>(width) * height * components;
  auto sample = [&](size_t i) -> int {
    if (bytesPerSample == 1) return input[i];
    uint16_t v;
    std::memcpy(&v, input + 2 * i, 2);
    return v;
  };
  // Lossless means every bit kept: the precision grows to the widest sample.
  int widest = 0;
  for (size_t i = 0; i < samples; ++i) widest |= sample(i);
  precision = std::clamp(precision, 2, 16);
  while (precision < 16 && (widest >> precision) != 0) ++precision;

  // Differences of predictor 1 (row start: the sample above; first row: the one before).
  thread_local std::vector<int32_t> differences;
  differences.resize(samples);
  std::array<uint32_t, 17> histogram{};
  const size_t stride = static_cast<size_t>(width) * components;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) {
        const size_t i = static_cast<size_t>(y) * stride + static_cast<size_t>(x) * components + c;
        int prediction;
        if (x > 0)
          prediction = sample(i - components);
        else if (y > 0)
          prediction = sample(i - stride);
        else
          prediction = 1 << (precision - 1);
        int d = (sample(i) - prediction) & 0xFFFF;
        if (d >= 32768) d -= 65536;
        if (d == -32768) d = 32768;
        differences[i] = d;
        ++histogram[Category(d)];
      }
    }
  }
  uint8_t counts[16];
  std::vector<uint8_t> symbols;
  BuildOptimalTable(histogram, counts, symbols);
  std::array<uint32_t, 17> code{};
  std::array<int, 17> codeLength{};
  {
    uint32_t next = 0;
    size_t k = 0;
    for (int length = 1; length <= 16; ++length) {
      for (int n = 0; n < counts[length - 1]; ++n, ++k) {
        code[symbols[k]] = next++;
        codeLength[symbols[k]] = length;
      }
      next <<= 1;
    }
  }

  output.clear();
  output.reserve(samples * bytesPerSample / 2 + 1024);
  PutMarker(output, 0xD8);
  PutMarker(output, 0xC3);  // lossless, Huffman
  PutU16(output, 8 + 3 * components);
  output.push_back(static_cast<uint8_t>(precision));
  PutU16(output, height);
  PutU16(output, width);
  output.push_back(static_cast<uint8_t>(components));
  for (int c = 0; c < components; ++c) {
    output.push_back(static_cast<uint8_t>(c + 1));
    output.push_back(0x11);
    output.push_back(0);
  }
  PutMarker(output, 0xC4);
  PutU16(output, 2 + 17 + static_cast<int>(symbols.size()));
  output.push_back(0x00);
  output.insert(output.end(), counts, counts + 16);
  output.insert(output.end(), symbols.begin(), symbols.end());
  PutMarker(output, 0xDA);
  PutU16(output, 6 + 2 * components);
  output.push_back(static_cast<uint8_t>(components));
  for (int c = 0; c < components; ++c) {
    output.push_back(static_cast<uint8_t>(c + 1));
    output.push_back(0x00);
  }
  output.push_back(1);  // predictor
  output.push_back(0);
  output.push_back(0);  // point transform 0

  const size_t header = output.size();
  output.resize(header + samples * 8 + 16);
  BitWriter writer(output.data() + header);
  for (size_t i = 0; i < samples; ++i) {
    const int d = differences[i];
    const int s = Category(d);
    // Code and extra bits in one write: at most 16 + 15 bits.
    const int extra = s > 0 && s < 16 ? s : 0;
    const uint32_t extraBits = static_cast<uint32_t>(d < 0 ? d - 1 : d) & ((1u << extra) - 1);
    writer.Put((code[s] << extra) | extraBits, codeLength[s] + extra);
  }
  output.resize(static_cast<size_t>(writer.Finish() - output.data()));
  PutMarker(output, 0xD9);
  return true;
}

}  // namespace pixcodec
