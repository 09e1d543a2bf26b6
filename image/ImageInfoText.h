#pragma once

#include <string>
#include <vector>

#include "dicom/ImageInfoTable.h"

namespace tolmar {

// The readable description of the "IMGINFO" overlay table (image/data/IMGINFO.txt):
// one item per line, "category place line tag vr format", '#' starts a comment.
// False with the line number and reason when a line cannot be read.
bool ParseImageInfoText(const std::string& text, std::vector<ImageInfoItem>& items, std::string& error);

// Writes the items as the catalogue table NAME.db (44-byte records, no memo
// file). False with a reason when a format is too long for its field or the
// file cannot be written.
bool WriteImageInfoTable(const std::string& dataFile, const std::vector<ImageInfoItem>& items, std::string& error);

// The overlay positions and where the window text goes, for the readers of the
// layout: the window text is painted centred at the bottom of the cell.
constexpr size_t kImageInfoFormatLimit = 18;

}  // namespace tolmar
