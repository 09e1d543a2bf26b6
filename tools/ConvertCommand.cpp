// tolmar convert IN OUT --layout raw|implicit|explicit [--compress KIND]
#include "ToolCommand.h"
#include "dicom/DicomCodec.h"
#include "dicom/PixelCompression.h"

namespace tolmar::tool {
namespace {

bool ParseLayout(const std::string& text, FileLayout& layout) {
  if (text == "raw")
    layout = FileLayout::RawDataSet;
  else if (text == "implicit")
    layout = FileLayout::PartTenImplicit;
  else if (text == "explicit")
    layout = FileLayout::PartTenExplicit;
  else
    return false;
  return true;
}

// Native syntaxes can be re-encoded freely, so the requested layout decides the body's
// encoding; compressed syntaxes keep theirs, since their pixel data stays encapsulated.
bool IsNativeSyntax(const std::string& uid) {
  return uid.empty() || uid == kImplicitLittleUid || uid == kExplicitLittleUid ||
         uid == kExplicitBigUid;
}

// The pixels are native now: a compressed input's syntax and markers no longer apply.
bool CompressDecodedPixels(DicomDataSet& ds, const std::string& kind, DicomError& error) {
  if (!IsNativeSyntax(ds.GetText(0x0002, 0x0010))) ds.RemoveElement(0x0002, 0x0010);
  ds.RemoveElement(0x0500, 0x0001);
  ds.RemoveElement(0x0500, 0x0002);
  return CompressPixelData(ds, kind, &error);
}

int RunConvert(const std::vector<std::string>& args) {
  Arguments arguments(args);
  std::string layoutText;
  bool missing = false;
  if (!arguments.TakeOption("--layout", layoutText, missing)) {
    return UsageError("convert", missing ? "--layout needs a value" : "--layout is required");
  }
  FileLayout layout;
  if (!ParseLayout(layoutText, layout))
    return UsageError("convert", "unknown layout " + layoutText);
  std::string kind;
  const bool compress = arguments.TakeOption("--compress", kind, missing);
  if (missing) return UsageError("convert", "--compress needs a kind");
  if (!arguments.UnknownOption().empty()) {
    return UsageError("convert", "unknown option " + arguments.UnknownOption());
  }
  if (arguments.Rest().size() != 2) return UsageError("convert", "need IN and OUT");
  const std::string& in = arguments.Rest()[0];
  const std::string& out = arguments.Rest()[1];

  DicomError error;
  // Compressing starts from the decoded pixels, whatever compression the input had.
  auto ds = compress ? ReadDicomImage(in, ReadMode::FullRead, &error)
                     : ReadDicomFile(in, ReadMode::FullRead, &error);
  if (!ds) {
    PrintError(in, error.ToString());
    return kExitFailure;
  }
  if (compress && !CompressDecodedPixels(*ds, kind, error)) {
    PrintError(in, error.ToString());
    return kExitFailure;
  }
  const std::string syntax = ds->GetText(0x0002, 0x0010);
  if (layout == FileLayout::RawDataSet) {
    // A raw data set has no meta header: the whole body is implicit VR little endian.
    if (!IsNativeSyntax(syntax)) {
      PrintError(in, "compressed pixel data cannot be written as a raw data set");
      return kExitFailure;
    }
    DicomDataSet scratch;
    while (auto e = ds->PopNext()) {
      if (e->group != 0x0002) scratch.AddElement(std::move(e));
    }
    while (auto e = scratch.PopNext()) ds->AddElement(std::move(e));
  } else if (IsNativeSyntax(syntax)) {
    ds->RemoveElement(0x0002, 0x0010);
  }
  if (!WriteDicomFile(out, layout, std::move(ds), &error)) {
    PrintError(out, error.ToString());
    return kExitFailure;
  }
  return kExitOk;
}

const CommandRegistration kRegistration(
    {"convert", "convert IN OUT --layout raw|implicit|explicit [--compress KIND]",
     "read a file whole and write it again in the given layout, optionally compressing its "
     "pixel data (KIND: \"ZIP [LEVEL]\", \"JPEGLOSSLESS\", \"JPEGLOSSY [QUALITY]\", \"ELPEG\")",
     RunConvert});

}  // namespace
}  // namespace tolmar::tool
