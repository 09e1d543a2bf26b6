#pragma once

#include <string>
#include <vector>

namespace tolmar {

class DicomDataSet;

// The four edge labels of an image (left, top, right, bottom): from the image
// orientation (0020,0037), or from the patient position (0018,5100) when the
// orientation has no value. Empty when neither gives labels.
std::vector<std::string> ReadOrientationLabels(const DicomDataSet& dataSet);
std::vector<std::string> OrientationLabelsFromCosines(const std::string& orientationText);
std::vector<std::string> OrientationLabelsFromPosition(const std::string& patientPosition);
// Moves a list of four labels with a geometric transform (1 mirror left-right,
// 2 mirror top-bottom, 3 rotate left, 4 rotate right); other lists stay.
void MoveOrientationLabels(std::vector<std::string>& labels, int transform);

}  // namespace tolmar
