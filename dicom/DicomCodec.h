#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "DicomDataSet.h"
#include "DicomError.h"
#include "DicomStream.h"

namespace tolmar {

enum class ReadMode : int {
  HeaderOnly = 0,          // stop at (7FE0,0010); its value is not read
  FullRead = 1,            // everything
  HeaderIfMultiFrame = 2,  // stop at (7FE0,0010) only when (0028,0008) exceeds 1
};

enum class Encoding : int { ImplicitLittle = 100, ExplicitLittle = 101, ExplicitBig = 102 };

enum class FileLayout : int {
  RawDataSet = 1,       // no preamble, no meta header, implicit VR little endian
  PartTenImplicit = 2,  // preamble, meta header, implicit VR body
  PartTenExplicit = 3,  // preamble, meta header, explicit VR body
};

inline ByteOrder OrderOf(Encoding e) {
  return e == Encoding::ExplicitBig ? ByteOrder::Big : ByteOrder::Little;
}
inline bool IsExplicit(Encoding e) { return e != Encoding::ImplicitLittle; }

// Looks a transfer syntax UID up in the suite's table (exact comparison).
bool LookupTransferSyntax(std::string_view uid, Encoding& encoding);

constexpr const char* kImplementationClassUid = "1.2.840.1978.7.1";
constexpr const char* kImplementationVersionName = "QV_KT_2000";
constexpr const char* kImplicitLittleUid = "1.2.840.10008.1.2";
constexpr const char* kExplicitLittleUid = "1.2.840.10008.1.2.1";
constexpr const char* kExplicitBigUid = "1.2.840.10008.1.2.2";

// Sequences nested deeper than this are refused as hostile.
constexpr int kMaxNestingDepth = 64;
// Non-pixel elements longer than this are refused.
constexpr uint32_t kMaxElementLength = 0x500000;

std::unique_ptr<DicomDataSet> ReadDicomFile(const std::string& path, ReadMode mode,
                                            DicomError* error = nullptr);
// ReadDicomFile, then decompression by compression kind and fragment joining:
// a data set ready to display.
std::unique_ptr<DicomDataSet> ReadDicomImage(const std::string& path, ReadMode mode,
                                             DicomError* error = nullptr);
// Parses a whole file held in memory (same rules as ReadDicomFile).
std::unique_ptr<DicomDataSet> ReadDicomMemory(const uint8_t* data, size_t size, ReadMode mode,
                                              DicomError* error = nullptr);

// Writes and consumes the data set.
bool WriteDicomFile(const std::string& path, FileLayout layout,
                    std::unique_ptr<DicomDataSet> dataSet, DicomError* error = nullptr);
// Encodes a file image into memory (the bytes WriteDicomFile would write).
bool EncodeDicomFile(FileLayout layout, DicomDataSet& dataSet, std::vector<uint8_t>& out,
                     DicomError* error = nullptr);
// Replaces group 0002 by a fresh meta header for layout 2 or 3, keeping an existing
// transfer syntax.
void BuildFileMetaHeader(DicomDataSet& dataSet, FileLayout layout);

// Stream entry points, also used for nested items.
bool ParseDataSet(DicomStream& stream, Encoding encoding, ReadMode mode, DicomDataSet& dataSet,
                  DicomError* error = nullptr);
bool EncodeDataSet(DicomStream& stream, Encoding encoding, DicomDataSet& dataSet,
                   DicomError* error = nullptr);

// When the pixel data has several fragments and no value, joins the fragments
// after the offset table into one value (swapping each byte pair).
void JoinFragments(DicomDataSet& dataSet);

// Converts binary values between little-endian host order and big-endian stream order.
void SwapValueBytes(uint16_t vrCode, uint8_t* value, uint32_t length);

}  // namespace tolmar
