#include "ImageFactory.h"

#include <array>

#include "CategoryImage.h"
#include "dicom/DicomDataSet.h"

namespace tolmar {

bool IsImageCategory(int category) {
  for (const int c : kImageCategories) {
    if (c == category) return true;
  }
  return false;
}

CategoryOverlay& OverlayOfCategory(int category) {
  static std::array<CategoryOverlay, std::size(kImageCategories)> overlays;
  for (size_t i = 0; i < std::size(kImageCategories); ++i) {
    if (kImageCategories[i] == category) return overlays[i];
  }
  return overlays.back();
}

PixelType PixelTypeOf(std::string_view photometric) {
  std::string name(photometric);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  if (name == "MONOCHROME1" || name == "MONOCHROME2") name = "MONOCHROME";
  if (name == "MONOCHROME") return PixelType::Grey;
  if (name == "RGB" || name == "YBR_FULL" || name == "YBR_FULL_422" || name == "PALETTE COLOR") {
    return PixelType::Colour;
  }
  return PixelType::Unknown;
}

int ImageClassCode(int category, const DicomDataSet& ds) {
  const int bitsAllocated = ds.GetUShort(0x0028, 0x0100);
  const int bits = bitsAllocated <= 8 ? 8 : (bitsAllocated + 3) / 4 * 4;
  const auto type = static_cast<int>(PixelTypeOf(ds.GetText(0x0028, 0x0004)));
  return category * 65536 + bits * 256 + type;
}

namespace {

template <int kCategory>
std::unique_ptr<DicomImage> CreateOfCategory(int bits, PixelType type, const ImageSettings& s) {
  if (bits == 8 && type == PixelType::Grey) return std::make_unique<CategoryImage<kCategory, GreyImage8>>(s);
  if (bits == 16 && type == PixelType::Grey) return std::make_unique<CategoryImage<kCategory, GreyImage16>>(s);
  if (bits == 8 && type == PixelType::Colour) return std::make_unique<CategoryImage<kCategory, ColourImage>>(s);
  return nullptr;
}

}  // namespace

std::unique_ptr<DicomImage> CreateImage(int classCode, const ImageSettings& settings,
                                        std::string* reason) {
  const int category = classCode >> 16;
  const int bits = (classCode >> 8) & 0xFF;
  const auto type = static_cast<PixelType>(classCode & 0xFF);
  std::unique_ptr<DicomImage> image;
  switch (category) {
    case 1: image = CreateOfCategory<1>(bits, type, settings); break;
    case 2: image = CreateOfCategory<2>(bits, type, settings); break;
    case 3: image = CreateOfCategory<3>(bits, type, settings); break;
    case 20: image = CreateOfCategory<20>(bits, type, settings); break;
    case 21: image = CreateOfCategory<21>(bits, type, settings); break;
    case 22: image = CreateOfCategory<22>(bits, type, settings); break;
    case 255: image = CreateOfCategory<255>(bits, type, settings); break;
    default: break;
  }
  if (!image && reason) {
    if (!IsImageCategory(category)) {
      *reason = "image category " + std::to_string(category) + " is unknown";
    } else if (type == PixelType::Unknown) {
      *reason = "photometric interpretation is not supported";
    } else {
      *reason = std::to_string(bits) + "-bit " + (type == PixelType::Grey ? "grey" : "colour") +
                " pixels are not supported";
    }
  }
  return image;
}

std::unique_ptr<DicomImage> BuildImage(const std::string& path, const DicomDataSet& ds,
                                       int category, const ImageSettings& settings,
                                       std::string& reason, bool headerOnly) {
  if (!IsImageCategory(category)) category = kDefaultCategory;
  auto image = CreateImage(ImageClassCode(category, ds), settings, &reason);
  if (!image) return nullptr;
  if (!image->Build(path, ds, headerOnly)) {
    reason = image->Failure();
    return nullptr;
  }
  return image;
}

SopClassCategories SopClassCategories::FromProgramFolder(const std::string& programFolder) {
  return SopClassCategories(ReadSopClassTable(programFolder + "SOPCLASS"));
}

int SopClassCategories::CategoryOf(std::string_view uid) const {
  for (const auto& entry : m_entries) {
    if (entry.uid == uid) return IsImageCategory(entry.code) ? entry.code : kDefaultCategory;
  }
  return kDefaultCategory;
}

}  // namespace tolmar
