// tolmar pixels IN OUT: the pixel data of IN, decoded as the viewer reads it, as raw bytes.
#include <cstdio>
#include <memory>

#include "ToolCommand.h"
#include "dicom/DicomCodec.h"

namespace tolmar::tool {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

int RunPixels(const std::vector<std::string>& args) {
  Arguments arguments(args);
  if (!arguments.UnknownOption().empty()) {
    return UsageError("pixels", "unknown option " + arguments.UnknownOption());
  }
  if (arguments.Rest().size() != 2) return UsageError("pixels", "need IN and OUT");
  const std::string& in = arguments.Rest()[0];
  const std::string& out = arguments.Rest()[1];

  DicomError error;
  auto ds = ReadDicomImage(in, ReadMode::FullRead, &error);
  if (!ds) {
    PrintError(in, error.ToString());
    return kExitFailure;
  }
  const DicomElement* pixels = ds->FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue()) {
    PrintError(in, "no pixel data value after decoding");
    return kExitFailure;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(out.c_str(), "wb"));
  if (!file || std::fwrite(pixels->Value(), 1, pixels->length, file.get()) != pixels->length ||
      std::fclose(file.release()) != 0) {
    PrintError(out, "cannot write the pixel bytes");
    return kExitFailure;
  }
  return kExitOk;
}

const CommandRegistration kRegistration(
    {"pixels", "pixels IN OUT",
     "write the decoded pixel data of IN (as the viewer reads it) to OUT as raw bytes", RunPixels});

}  // namespace
}  // namespace tolmar::tool
