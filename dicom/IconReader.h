#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DicomError.h"

namespace tolmar {

// Reads the icon kept in (0007,0001) without parsing the rest of the file.
// On success `packedDib` holds a packed device-independent bitmap (40-byte header,
// palette, bottom-up rows). False when the file has no icon in either known form.
bool ReadDicomIcon(const std::string& path, std::vector<uint8_t>& packedDib,
                   DicomError* error = nullptr);
// The same walk over a file image held in memory.
bool ReadDicomIconFromMemory(const uint8_t* data, size_t size, std::vector<uint8_t>& packedDib,
                             DicomError* error = nullptr);

}  // namespace tolmar
