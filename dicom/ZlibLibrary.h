#pragma once

#include <string>

namespace tolmar {

// The system zlib, bound at run time: the "ZIP" pixel compression needs only
// "compress2" and "uncompress", and a workstation without zlib still reads every
// other kind of file.
struct ZlibFunctions {
  using Compress2 = int (*)(unsigned char* destination, unsigned long* destinationLength,
                            const unsigned char* source, unsigned long sourceLength, int level);
  using Uncompress = int (*)(unsigned char* destination, unsigned long* destinationLength,
                             const unsigned char* source, unsigned long sourceLength);
  // Like Uncompress, but also reports how much of the source the stream took.
  using Uncompress2 = int (*)(unsigned char* destination, unsigned long* destinationLength,
                              const unsigned char* source, unsigned long* sourceLength);
  Compress2 compress2 = nullptr;
  Uncompress uncompress = nullptr;
  Uncompress2 uncompress2 = nullptr;  // optional (zlib 1.2.9 and later)
};

// The library file looked for: "libz.so.1", or the value of TOLMAR_ZLIB_LIBRARY.
constexpr const char* kZlibLibraryName = "libz.so.1";

// Loads the library once per process (thread-safe); null when the library or one
// of its two functions is missing, and then every "ZIP" operation fails.
const ZlibFunctions* ZlibLibrary();

// Tests only, with no other thread using the binding: binds the library of this
// file name (a name that does not exist simulates a workstation without zlib).
void RebindZlibLibraryForTesting(const std::string& fileName);

}  // namespace tolmar
