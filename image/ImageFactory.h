#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DicomImage.h"
#include "ImageSettings.h"
#include "dicom/SopClassTable.h"

namespace tolmar {

class DicomDataSet;

// The class code of a data set for a category: category x 65536 + b x 256 + t,
// b being 8 for up to 8 allocated bits and otherwise the bits rounded up to a
// multiple of 4, t the pixel type of the photometric interpretation (0 unknown).
int ImageClassCode(int category, const DicomDataSet& dataSet);
PixelType PixelTypeOf(std::string_view photometric);

// A fresh, empty image of the class the code selects; null (with a reason) for
// codes no class serves: 12 bits allocated, 16-bit colour, unknown photometric.
std::unique_ptr<DicomImage> CreateImage(int classCode, const ImageSettings& settings,
                                        std::string* reason = nullptr);

// Chooses, creates and builds the image of a data set; null with a reason when
// the data set cannot be shown.
std::unique_ptr<DicomImage> BuildImage(const std::string& path, const DicomDataSet& dataSet,
                                       int category, const ImageSettings& settings,
                                       std::string& reason, bool headerOnly = false);

// SOP class UID -> image category, from the "SOPCLASS" table of the program
// folder. Unlisted classes and codes outside the known categories give 255.
class SopClassCategories {
 public:
  SopClassCategories() = default;
  explicit SopClassCategories(std::vector<SopClassEntry> entries) : m_entries(std::move(entries)) {}
  // Reads the program folder's table (folder followed by "SOPCLASS").
  static SopClassCategories FromProgramFolder(const std::string& programFolder);
  int CategoryOf(std::string_view sopClassUid) const;
  const std::vector<SopClassEntry>& Entries() const { return m_entries; }

 private:
  std::vector<SopClassEntry> m_entries;
};

}  // namespace tolmar
