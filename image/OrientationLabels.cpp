#include "OrientationLabels.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "ScoutPlane.h"
#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

// String table entries 248, 249, 250, 211, 212 and 213.
constexpr const char* kLeft = "[L]";
constexpr const char* kRight = "[R]";
constexpr const char* kAnterior = "[A]";
constexpr const char* kPosterior = "[P]";
constexpr const char* kHead = "[H]";
constexpr const char* kFoot = "[F]";

int Quantise(double v) { return v > 0.7 ? 1 : (v < -0.7 ? -1 : 0); }

const char* LabelOf(const double* d) {
  const int x = Quantise(d[0]), y = Quantise(d[1]), z = Quantise(d[2]);
  if (x == 1) return kRight;
  if (x == -1) return kLeft;
  if (y == 1) return kAnterior;
  if (y == -1) return kPosterior;
  if (z == 1) return kFoot;
  if (z == -1) return kHead;
  return nullptr;
}

std::string Opposite(const std::string& label) {
  static const std::array<std::pair<const char*, const char*>, 6> pairs{
      {{kLeft, kRight}, {kRight, kLeft}, {kAnterior, kPosterior}, {kPosterior, kAnterior}, {kHead, kFoot},
       {kFoot, kHead}}};
  for (const auto& [a, b] : pairs) {
    if (label == a) return b;
  }
  return {};
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  size_t first = 0;
  while (first < text.size() && text[first] == ' ') ++first;
  return text.substr(first);
}

}  // namespace

std::vector<std::string> OrientationLabelsFromCosines(const std::string& text) {
  double d[6];
  if (!ParseDecimalList(text, d, 6, false)) return {};
  const char* left = LabelOf(d);
  if (!left) return {};
  const char* top = LabelOf(d + 3);
  if (!top) return {};
  return {left, top, Opposite(left), Opposite(top)};
}

std::vector<std::string> OrientationLabelsFromPosition(const std::string& position) {
  std::string p = Trimmed(position);
  std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (p == "HFP" || p == "FFP") return {kLeft, kPosterior, kRight, kAnterior};
  if (p == "HFS" || p == "FFS") return {kRight, kAnterior, kLeft, kPosterior};
  if (p == "HFDR" || p == "FFDR") return {kAnterior, kLeft, kPosterior, kRight};
  if (p == "HFDL" || p == "FFDL") return {kPosterior, kRight, kAnterior, kLeft};
  return {};
}

std::vector<std::string> ReadOrientationLabels(const DicomDataSet& ds) {
  if (const DicomElement* e = ds.FindElement(0x0020, 0x0037); e && e->HasValue()) {
    return OrientationLabelsFromCosines(e->Text());
  }
  return OrientationLabelsFromPosition(ds.GetText(0x0018, 0x5100));
}

void MoveOrientationLabels(std::vector<std::string>& l, int transform) {
  if (l.size() != 4) return;
  const std::vector<std::string> old = l;  // left, top, right, bottom
  switch (transform) {
    case 1: std::swap(l[0], l[2]); break;
    case 2: std::swap(l[1], l[3]); break;
    case 3: l = {old[1], old[2], old[3], old[0]}; break;
    case 4: l = {old[3], old[0], old[1], old[2]}; break;
    default: break;
  }
}

}  // namespace tolmar
