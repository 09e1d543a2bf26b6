#pragma once

#include <string>

namespace tolmar {

// The outside JPEG codec library, bound at run time by its export names. It lives
// in the program folder as "libPixcodec.so" (TOLMAR_PIXCODEC_LIBRARY names another
// file). Missing, or answering a version other than 1 or 2, it is unloaded and
// every JPEG operation fails; version 1 offers lossless coding only.
struct PixcodecFunctions {
  using GetVersion = int (*)();
  using CompressV1 = int (*)(int columns, int rows, int bits, const unsigned char* frame,
                             int* compressedLength);
  using CompressV2 = int (*)(int columns, int rows, int bits, const unsigned char* frame,
                             int* compressedLength, int quality);
  using GetCompressed = int (*)(int bits, unsigned char* destination);
  using Decompress = int (*)(int columns, int rows, int bits, const unsigned char* source,
                             int sourceLength, unsigned char* destination, int destinationSize);
  int version = 0;
  CompressV1 compressV1 = nullptr;  // version 1 only
  CompressV2 compressV2 = nullptr;  // version 2 only
  GetCompressed getCompressed = nullptr;
  Decompress decompress = nullptr;

  bool CanCompressLossless() const { return (compressV1 || compressV2) && getCompressed; }
  bool CanCompressLossy() const { return compressV2 && getCompressed; }
  bool CanDecompressLossless() const { return decompress != nullptr; }
  bool CanDecompressLossy() const { return decompress && version >= 2; }
};

constexpr const char* kPixcodecLibraryName = "libPixcodec.so";

// The program folder: the folder of the running executable, with a trailing '/'.
std::string ProgramFolder();

// Loads the library once per process (thread-safe); null when it is unavailable.
const PixcodecFunctions* PixcodecLibrary();

// Tests only, with no other thread using the binding: binds the library at this path
// (a path that does not exist simulates a workstation without the codec).
void RebindPixcodecLibraryForTesting(const std::string& path);

}  // namespace tolmar
