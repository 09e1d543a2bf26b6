// tolmar render IN OUT [--window WIDTH,CENTRE] [--frame N] [--size WxH]
// Writes the bitmap of the image object as BMP or PNG (by OUT's extension).
#include <QImage>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "RenderAnnotations.h"
#include "RenderCell.h"
#include "ToolCommand.h"
#include "dicom/DicomCodec.h"
#include "image/GreyImage.h"
#include "image/ImageFactory.h"

namespace tolmar::tool {
namespace {

std::string ProgramFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return exe.parent_path().string() + "/";
}

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool ParseNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0';
}

bool ParseInt(const std::string& text, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && end && *end == '\0';
}

int RunRender(const std::vector<std::string>& args) {
  Arguments arguments(args);
  std::string windowText, frameText, sizeText;
  bool missing = false;
  const bool hasWindow = arguments.TakeOption("--window", windowText, missing);
  if (missing) return UsageError("render", "--window needs WIDTH,CENTRE");
  const bool hasFrame = arguments.TakeOption("--frame", frameText, missing);
  if (missing) return UsageError("render", "--frame needs a number");
  const bool hasSize = arguments.TakeOption("--size", sizeText, missing);
  if (missing) return UsageError("render", "--size needs WxH");
  CellRenderRequest cellRequest;
  std::string cellError;
  if (!TakeCellOptions(arguments, cellRequest, cellError)) return UsageError("render", cellError);
  if (cellRequest.wanted && hasSize) return UsageError("render", "--size and --cell exclude each other");
  const bool withAnnotations = arguments.TakeFlag("--annotations");
  if (!arguments.UnknownOption().empty()) {
    return UsageError("render", "unknown option " + arguments.UnknownOption());
  }
  if (arguments.Rest().size() != 2) return UsageError("render", "need one input and one output file");
  const std::string input = arguments.Rest()[0];
  const std::string output = arguments.Rest()[1];
  const std::string ext = LowerExtension(output);
  if (ext != ".bmp" && ext != ".png") return UsageError("render", "output must end in .bmp or .png");

  double width = 0, centre = 0;
  if (hasWindow) {
    const auto comma = windowText.find(',');
    if (comma == std::string::npos || !ParseNumber(windowText.substr(0, comma), width) ||
        !ParseNumber(windowText.substr(comma + 1), centre) || width == 0) {
      return UsageError("render", "--window must be WIDTH,CENTRE with a non-zero width");
    }
  }
  long frame = 1;
  if (hasFrame && (!ParseInt(frameText, frame) || frame < 1)) {
    return UsageError("render", "--frame must be a number from 1");
  }
  long bitmapWidth = -1, bitmapHeight = -1;
  if (hasSize) {
    const auto x = sizeText.find_first_of("xX");
    if (x == std::string::npos || !ParseInt(sizeText.substr(0, x), bitmapWidth) ||
        !ParseInt(sizeText.substr(x + 1), bitmapHeight) || bitmapWidth < 1 || bitmapHeight < 1 ||
        bitmapWidth > DibBitmap::kMaxDimension || bitmapHeight > DibBitmap::kMaxDimension) {
      return UsageError("render", "--size must be WxH, each from 1 to 32768");
    }
  }

  DicomError error;
  auto dataSet = ReadDicomImage(input, ReadMode::FullRead, &error);
  if (!dataSet) {
    PrintError(input, error.ToString());
    return kExitFailure;
  }
  const auto categories = SopClassCategories::FromProgramFolder(ProgramFolder());
  const int category = categories.CategoryOf(dataSet->GetText(0x0008, 0x0016));
  std::string reason;
  auto image = BuildImage(input, *dataSet, category, ImageSettings{}, reason);
  if (!image) {
    PrintError(input, reason);
    return kExitFailure;
  }
  if (withAnnotations) LoadRenderAnnotations(*image, *dataSet);
  if (!image->SetCurrentFrame(static_cast<int>(frame - 1))) {
    PrintError(input, "frame " + std::to_string(frame) + " does not exist (the image has " +
                          std::to_string(image->FrameCount()) + ")");
    return kExitFailure;
  }
  if (hasWindow) {
    auto* grey = dynamic_cast<GreyImage*>(image.get());
    if (!grey) {
      PrintError(input, "colour images have no window");
      return kExitFailure;
    }
    grey->SetWindow(width, centre);
  }
  if (cellRequest.wanted) return RenderCellImage(*image, cellRequest, output);
  auto bitmap = image->CreateBitmap(static_cast<int>(bitmapWidth), static_cast<int>(bitmapHeight));
  if (!bitmap || !image->RenderToDib(*bitmap, nullptr)) {
    PrintError(input, hasSize ? "the image cannot be rendered at that size" : "the image cannot be rendered");
    return kExitFailure;
  }
  if (withAnnotations) return WriteAnnotatedBitmap(*image, *bitmap, output, ext);
  if (ext == ".png") {
    if (!bitmap->ToQImage().save(QString::fromStdString(output), "PNG")) {
      PrintError(output, "cannot be written");
      return kExitFailure;
    }
    return kExitOk;
  }
  const auto bytes = bitmap->ToBmpFile();
  std::ofstream out(output, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    PrintError(output, "cannot be written");
    return kExitFailure;
  }
  return kExitOk;
}

const CommandRegistration kRegistration(
    {"render", std::string("render IN OUT [--window WIDTH,CENTRE] [--frame N] [--size WxH] [--annotations]") + kCellRenderUsage,
     "write the displayed bitmap of an image as BMP or PNG", RunRender});

}  // namespace
}  // namespace tolmar::tool
