// libFuzzer target: the ELPEG decoder on arbitrary records and row tables. It must fail
// or decode, never touching memory outside the records, the table or the image.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dicom/ElpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // Small images keep the fuzzer fast: 1..64 rows, 1..256 columns.
  const uint32_t rows = 1 + data[0] % 64;
  const uint32_t columns = 1 + (data[1] | (data[2] << 8)) % 256;
  data += 3;
  size -= 3;
  const size_t tableBytes = std::min<size_t>(size, static_cast<size_t>(rows) * 2);
  // Exact-size copies, so that the address sanitizer sees any read past either one.
  std::unique_ptr<uint8_t[]> table(new uint8_t[tableBytes + 1]);
  std::copy(data, data + tableBytes, table.get());
  const size_t recordBytes = size - tableBytes;
  std::unique_ptr<uint8_t[]> records(new uint8_t[recordBytes + 1]);
  std::copy(data + tableBytes, data + size, records.get());
  std::vector<uint8_t> image(static_cast<size_t>(rows) * columns * 2);
  tolmar::ElpegDecode(records.get(), recordBytes, table.get(), tableBytes / 2, rows, columns,
                      image.data());

  // What decodes must encode back to a decodable stream of the same pixels (12 bits).
  std::vector<uint8_t> again;
  std::vector<uint16_t> rowTable;
  if (tolmar::ElpegEncode(image.data(), rows, columns, again, rowTable)) {
    std::vector<uint8_t> tableLe;
    for (uint16_t t : rowTable) {
      tableLe.push_back(static_cast<uint8_t>(t));
      tableLe.push_back(static_cast<uint8_t>(t >> 8));
    }
    std::vector<uint8_t> decoded(image.size());
    if (!tolmar::ElpegDecode(again.data(), again.size(), tableLe.data(), rowTable.size(), rows,
                             columns, decoded.data()) ||
        decoded != image) {
      __builtin_trap();
    }
  }
  return 0;
}
