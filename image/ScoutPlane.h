#pragma once

#include <array>
#include <string>

namespace tolmar {

class DicomDataSet;

// The plane of one image in patient coordinates (mm), read when the image is
// loaded; what scout lines are computed from.
struct ScoutPlane {
  bool valid = false;
  std::string positionText;     // (0020,0032)
  std::string orientationText;  // (0020,0037)
  std::string spacingText;      // (0028,0030)
  std::string sopInstanceUid;   // (0008,0018)
  std::string frameOfReferenceUid;  // (0020,0052)
  std::string instanceLabel;    // (0020,0013) as "%d"
  std::string seriesLabel;      // (0020,0011) as "%d"
  int scoutOverride = -1;       // private (0501,0153); -1 when absent
  std::array<double, 3> position{};
  std::array<double, 6> orientation{};  // row direction, then column direction
  double columnSpacing = 0;  // from the image as loaded
  double rowSpacing = 0;
  int columns = 0;  // the image's padded columns
  int rows = 0;

  // Reads the plane. `checkFrameUid` makes (0020,0052) required.
  void Read(const DicomDataSet& dataSet, double columnSpacing, double rowSpacing, int columns, int rows,
            bool checkFrameUid);
  // A plane whose override is 0 or more follows the override; otherwise one
  // whose column direction runs along z (|z| in [0.98, 1.02]) is a scout.
  bool IsScout() const;
  // With `checkFrameUid` both frame of reference UIDs must be equal.
  bool SameFrame(const ScoutPlane& other, bool checkFrameUid) const;
};

// Parses "%f\%f\%f" style texts of at least `count` numbers holding only digits,
// blanks, signs, points, exponents and backslashes. False on anything else.
bool ParseDecimalList(const std::string& text, double* values, int count, bool checkCharacters);

}  // namespace tolmar
