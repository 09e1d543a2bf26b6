#pragma once

#include <string>

#include "DicomDataSet.h"
#include "DicomError.h"

namespace tolmar {

// The header dump text: a banner, then every element (groups 0002, 0007 and 7FE0
// left out) as its tag and length in hexadecimal and its bytes in lines of 16,
// items indented by ">". Lines end in CR LF. Consumes the data set.
std::string DumpDataSet(DicomDataSet& dataSet);
// Reads a file header-only and dumps it.
bool DumpDicomFile(const std::string& path, std::string& text, DicomError* error = nullptr);

}  // namespace tolmar
