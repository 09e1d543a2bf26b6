#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolmar {

// "ELPEG", the suite's lossless row-delta code for 12-bit images. Each row with a
// positive pixel becomes one record: first positive index, its value, the count of
// further pixels, the differences in one or two bytes (byte pairs exchanged), two
// zero bytes. The row table holds each record's length in 16-bit words.

// Encodes `rows` rows of `columns` little-endian 16-bit pixels (masked to 12 bits).
// False when a record would not fit its 16-bit table entry.
bool ElpegEncode(const uint8_t* pixels, uint32_t rows, uint32_t columns,
                 std::vector<uint8_t>& records, std::vector<uint16_t>& table);

// Decodes into `output` (rows × columns little-endian 16-bit pixels, fully written).
// Every record must lie inside `records`, start and count inside its row, and the
// records must use the data exactly; anything else is a failure, never an overrun.
bool ElpegDecode(const uint8_t* records, size_t recordsSize, const uint8_t* table,
                 size_t tableEntries, uint32_t rows, uint32_t columns, uint8_t* output);

}  // namespace tolmar
