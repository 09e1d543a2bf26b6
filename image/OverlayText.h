#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dicom/ImageInfoTable.h"

namespace tolmar {

class DicomDataSet;

// The text one overlay item prints for a data set; empty when the value is
// missing. Group 0503 asks `patientField` for a field of the viewer's current
// patient record instead. The format text may end in "|factor".
std::string FormatOverlayItem(const ImageInfoItem& item, const DicomDataSet& dataSet,
                              const std::function<std::string(uint16_t)>& patientField);

// printf-style formatting of one value with a format text from a table file.
// Only a single conversion with flags, width and precision is honoured ("%s"
// for text, "%f", "%e", "%g" or "%d" for numbers, "%%" anywhere); a format with
// anything else (several conversions, "%n", "*", length modifiers other than
// "l") prints the bare value, so a table cannot make the program read or write
// memory through its formats.
std::string SafeFormatText(const std::string& format, const std::string& text);
std::string SafeFormatNumber(const std::string& format, double value);

}  // namespace tolmar
