// libFuzzer target for the DICOM file reader on memory input: every read mode, the
// icon reader, the dump of what was read, pixel data decoding and fragment joining, and
// a write and re-read of what was read. Any crash, sanitizer report, hang or leak is a
// finding; a refused input is not.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDump.h"
#include "dicom/IconReader.h"
#include "dicom/PixelCompression.h"

using namespace tolmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (ReadMode mode : {ReadMode::HeaderOnly, ReadMode::FullRead, ReadMode::HeaderIfMultiFrame}) {
    DicomError error;
    auto ds = ReadDicomMemory(data, size, mode, &error);
    if (!ds) {
      (void)error.ToString();
      continue;
    }
    if (mode == ReadMode::FullRead) {
      // What the viewer does with a file read whole: decode the pixel data, join the
      // fragments, and save it again.
      auto image = ds->Clone();
      if (DecompressPixelData(*image, &error)) JoinFragments(*image);
      std::vector<uint8_t> written;
      if (EncodeDicomFile(FileLayout::PartTenExplicit, *image, written, &error)) {
        auto reread = ReadDicomMemory(written.data(), written.size(), ReadMode::FullRead, &error);
        if (reread) (void)DumpDataSet(*reread);
      }
    }
    (void)DumpDataSet(*ds);
  }
  std::vector<uint8_t> dib;
  DicomError iconError;
  (void)ReadDicomIconFromMemory(data, size, dib, &iconError);
  return 0;
}
