#include "viewer/ImageLoader.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <algorithm>
#include <cstring>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"
#include "dicom/DicomElement.h"
#include "image/DisplaySettings.h"
#include "image/ImageRegistry.h"

namespace tolmar::viewer {
namespace {

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  return text.substr(start);
}

std::string UpperCased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

void SetUShort(DicomDataSet& dataSet, uint16_t group, uint16_t element, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
  dataSet.SetElement(DicomElement::FromBytes(group, element, vr::US, bytes));
}

}  // namespace

bool IsPresentationState(const DicomDataSet& dataSet) {
  return Trimmed(dataSet.GetText(0x0008, 0x0016)) == kPresentationStateSopClass;
}

std::unique_ptr<DicomDataSet> ReadJpegAsDataSet(const std::string& path, std::string& reason) {
  QImageReader reader(QString::fromStdString(path), "jpeg");
  QImage picture = reader.read();
  if (picture.isNull()) {
    reason = "not a readable JPEG file: " + reader.errorString().toStdString();
    return nullptr;
  }
  picture = picture.convertToFormat(QImage::Format_RGB888);
  const int width = picture.width();
  const int height = picture.height();
  if (width > 0xFFFF || height > 0xFFFF) {
    reason = "JPEG picture too large";
    return nullptr;
  }
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> pixels(rowBytes * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::memcpy(pixels.data() + rowBytes * static_cast<size_t>(y), picture.constScanLine(y),
                rowBytes);
  }
  auto dataSet = std::make_unique<DicomDataSet>();
  SetUShort(*dataSet, 0x0028, 0x0011, static_cast<uint16_t>(width));
  SetUShort(*dataSet, 0x0028, 0x0010, static_cast<uint16_t>(height));
  SetUShort(*dataSet, 0x0028, 0x0100, 8);
  SetUShort(*dataSet, 0x0028, 0x0101, 8);
  SetUShort(*dataSet, 0x0028, 0x0102, 7);
  SetUShort(*dataSet, 0x0028, 0x0006, 0);
  dataSet->SetElement(DicomElement::FromText(0x0028, 0x0004, vr::CS, "RGB "));
  dataSet->SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, vr::OB, pixels));
  return dataSet;
}

LoadedFile::LoadedFile() = default;
LoadedFile::~LoadedFile() = default;
LoadedFile::LoadedFile(LoadedFile&&) noexcept = default;
LoadedFile& LoadedFile::operator=(LoadedFile&&) noexcept = default;

LoadedFile LoadImageFile(const std::string& path, const SopClassCategories& categories,
                         const ImageSettings& settings) {
  LoadedFile result;
  std::unique_ptr<DicomDataSet> dataSet;
  if (UpperCased(path).find(".JPG") != std::string::npos) {
    dataSet = ReadJpegAsDataSet(path, result.reason);
  } else {
    DicomError error;
    dataSet = ReadDicomImage(path, ReadMode::FullRead, &error);
    if (!dataSet) result.reason = error.ToString();
  }
  if (!dataSet) return result;

  if (IsPresentationState(*dataSet)) {
    result.presentationState = std::move(dataSet);
    result.outcome = LoadOutcome::PresentationState;
    return result;
  }
  const int category = categories.CategoryOf(Trimmed(dataSet->GetText(0x0008, 0x0016)));
  result.image = BuildImage(path, *dataSet, category, settings, result.reason);
  if (result.image) {
    result.outcome = LoadOutcome::Image;
    // Scout lines: the new image gets its lines on every loaded scout (or, as
    // a scout, lines of every loaded image) as soon as it exists.
    ImageRegistry& registry = ImageRegistry::Program();
    registry.Register(result.image.get());
    registry.ImageLoaded(*result.image, CurrentDisplaySettings().checkFrameUid);
  }
  return result;
}

}  // namespace tolmar::viewer
