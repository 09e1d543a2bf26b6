#pragma once

// The exports of the JPEG codec library, looked up by name by the programs.
// Bits: 8 or less for one byte per sample, 9 to 16 for two bytes (little endian),
// 24 for interleaved 8-bit RGB.
#define PIXCODEC_EXPORT extern "C" __attribute__((visibility("default")))

// Answers 2: lossless and lossy coding, quality passed to DCMCompress.
PIXCODEC_EXPORT int DCMGetVersion(void);
// Compresses one frame of columns × rows pixels; quality 100 codes losslessly, 1 to 99
// is the lossy quality. The result waits for GetDCMCompressPixelData (per thread).
PIXCODEC_EXPORT int DCMCompress(int columns, int rows, int bits, const unsigned char* frame,
                                int* compressedLength, int quality);
// Copies the last compressed frame of this thread into `destination`.
PIXCODEC_EXPORT int GetDCMCompressPixelData(int bits, unsigned char* destination);
// Decodes one JPEG stream (any of the DICOM JPEG processes) into exactly
// `destinationSize` bytes; never reads outside the `sourceLength` bytes given.
PIXCODEC_EXPORT int DCMDecompress(int columns, int rows, int bits, const unsigned char* source,
                                  int sourceLength, unsigned char* destination,
                                  int destinationSize);
