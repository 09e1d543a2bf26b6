#include "ScoutPlane.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

std::string TrimmedValue(const DicomDataSet& ds, uint16_t group, uint16_t element, bool& present) {
  const DicomElement* e = ds.FindElement(group, element);
  present = e && e->HasValue();
  if (!present) return {};
  std::string text = e->Text();
  if (text.size() > 255) text.resize(255);
  size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\0')) ++first;
  text.erase(0, first);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  present = !text.empty();
  return text;
}

std::string IntegerLabel(const std::string& text) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(std::strtol(text.c_str(), nullptr, 10)));
  return buffer;
}

}  // namespace

bool ParseDecimalList(const std::string& text, double* values, int count, bool checkCharacters) {
  if (checkCharacters) {
    for (const char c : text) {
      if (!((c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e' ||
            c == '\\')) {
        return false;
      }
    }
  }
  const char* p = text.c_str();
  for (int i = 0; i < count; ++i) {
    char* end = nullptr;
    values[i] = std::strtod(p, &end);
    if (end == p || !std::isfinite(values[i])) return false;
    p = end;
    while (*p == ' ') ++p;
    if (i + 1 < count) {
      if (*p != '\\') return false;
      ++p;
    }
  }
  return true;
}

void ScoutPlane::Read(const DicomDataSet& ds, double columnSpacingMm, double rowSpacingMm, int imageColumns,
                      int imageRows, bool checkFrameUid) {
  *this = ScoutPlane{};
  bool hasPosition = false, hasOrientation = false, hasSpacing = false, hasUid = false, hasFrame = false,
       present = false;
  positionText = TrimmedValue(ds, 0x0020, 0x0032, hasPosition);
  orientationText = TrimmedValue(ds, 0x0020, 0x0037, hasOrientation);
  spacingText = TrimmedValue(ds, 0x0028, 0x0030, hasSpacing);
  sopInstanceUid = TrimmedValue(ds, 0x0008, 0x0018, hasUid);
  frameOfReferenceUid = TrimmedValue(ds, 0x0020, 0x0052, hasFrame);
  instanceLabel = IntegerLabel(TrimmedValue(ds, 0x0020, 0x0013, present));
  seriesLabel = IntegerLabel(TrimmedValue(ds, 0x0020, 0x0011, present));
  const std::string overrideText = TrimmedValue(ds, 0x0501, 0x0153, present);
  scoutOverride = present ? static_cast<int>(std::strtol(overrideText.c_str(), nullptr, 10)) : -1;
  columnSpacing = columnSpacingMm;
  rowSpacing = rowSpacingMm;
  columns = imageColumns;
  rows = imageRows;
  ParseDecimalList(positionText, position.data(), 3, false);
  ParseDecimalList(orientationText, orientation.data(), 6, false);
  valid = hasPosition && hasOrientation && hasSpacing && hasUid && (hasFrame || !checkFrameUid);
}

bool ScoutPlane::IsScout() const {
  if (!valid) return false;
  if (scoutOverride >= 0) return scoutOverride != 0;
  const double z = std::fabs(orientation[5]);
  return z >= 0.98 && z <= 1.02;
}

bool ScoutPlane::SameFrame(const ScoutPlane& other, bool checkFrameUid) const {
  if (!valid || !other.valid) return false;
  return !checkFrameUid || frameOfReferenceUid == other.frameOfReferenceUid;
}

}  // namespace tolmar
