#include "DemoStudy.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "dicom/DicomCodec.h"

namespace tolmar::tool {

namespace {

constexpr int kMatrix = 512;
constexpr double kPixelSpacingMm = 0.7;
constexpr double kSliceThicknessMm = 5.0;
constexpr int kAir = -1000;

std::string Number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}

// Deterministic noise so the demo study is the same on every machine.
struct Noise {
  uint32_t state;
  int Next(int amplitude) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 16) % static_cast<uint32_t>(2 * amplitude + 1)) - amplitude;
  }
};

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double dx = (x - cx) / rx, dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

// Hounsfield value of a chest-like phantom at patient coordinates (mm):
// x to the patient's left, y to the back, z to the head; z = 0 at the carina.
int ChestHu(double x, double y, double z) {
  // Body outline narrows towards the neck.
  const double taper = z > 60 ? 1.0 - (z - 60) / 250.0 : 1.0;
  const double bodyRx = 160 * taper, bodyRy = 110 * taper;
  if (!InEllipse(x, y, 0, 5, bodyRx, bodyRy)) {
    return InEllipse(x, y, 0, 122, 200, 8) ? -100 : kAir;  // table under the patient
  }
  if (!InEllipse(x, y, 0, 5, bodyRx - 12, bodyRy - 12)) return -100;  // subcutaneous fat
  // Spine: vertebral body and canal.
  if (InEllipse(x, y, 0, 70, 18, 16)) return InEllipse(x, y, 0, 70, 12, 10) ? 350 : 800;
  if (InEllipse(x, y, 0, 95, 8, 7)) return 15;  // spinal canal
  // Ribs: a ring of small bony sections.
  const double angle = std::atan2(y - 5, x);
  const double ringR = std::hypot(x / (bodyRx - 18), (y - 5) / (bodyRy - 18));
  if (ringR > 0.9 && ringR < 1.0 && std::fmod(std::fabs(angle) * 6.0, 1.0) < 0.25) return 700;
  // Aorta (contrast-filled) and heart below the carina.
  if (InEllipse(x, y, 15, 45, 14, 14)) return 250;
  if (z < -20 && InEllipse(x, y, 20, -15, 55 + z * 0.2, 45)) return 45;
  // Lungs shrink towards the apex and the diaphragm.
  const double lungScale = std::max(0.0, 1.0 - std::fabs(z + 20) / 170.0);
  if (lungScale > 0) {
    const double rx = 62 * lungScale, ry = 80 * lungScale;
    if (InEllipse(x, y, -75, 0, rx, ry) || InEllipse(x, y, 75, 0, rx, ry)) {
      // A few vessels and one nodule in the right lung.
      if (InEllipse(x, y, -70, -10 + z * 0.1, 6, 6)) return 40;
      if (InEllipse(x, y, 80, 20, 3, 3)) return 30;
      return -850;
    }
  }
  // Trachea above the carina.
  if (z > 0 && InEllipse(x, y, 0, -20, 9, 9)) return kAir;
  return 40;  // mediastinum and soft tissue
}

uint16_t Stored(int hu) { return static_cast<uint16_t>(std::clamp(hu + 1024, 0, 4095)); }

}  // namespace

void AddText(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t vrCode,
             const std::string& text) {
  // Text pads to even length with a blank, as other DICOM software expects; UIDs with a NUL
  // (added by the element itself).
  std::string padded = text;
  if ((padded.size() & 1u) && vrCode != vr::UI) padded += ' ';
  ds.AddElement(DicomElement::FromText(group, element, vrCode, padded));
}

void AddUShort(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  ds.AddElement(DicomElement::FromBytes(group, element, vr::US, bytes));
}

void AddPixels(DicomDataSet& ds, const std::vector<uint16_t>& pixels) {
  const auto length = static_cast<uint32_t>(pixels.size() * 2);
  auto bytes = std::make_unique_for_overwrite<uint8_t[]>(length);
  for (size_t i = 0; i < pixels.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(pixels[i]);
    bytes[2 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
  }
  ds.AddElement(DicomElement::Adopt(0x7FE0, 0x0010, vr::OW, std::move(bytes), length));
}

void AddStudyElements(DicomDataSet& ds, const DemoStudyInfo& s) {
  AddText(ds, 0x0008, 0x0005, vr::CS, "ISO_IR 192");
  AddText(ds, 0x0008, 0x0020, vr::DA, s.studyDate);
  AddText(ds, 0x0008, 0x0030, vr::TM, s.studyTime);
  AddText(ds, 0x0008, 0x0050, vr::SH, s.accession);
  AddText(ds, 0x0008, 0x0070, vr::LO, "Tolmar");
  AddText(ds, 0x0008, 0x0080, vr::LO, "Tolmar Demo Hospital");
  AddText(ds, 0x0008, 0x0090, vr::PN, "LI^NA");
  AddText(ds, 0x0008, 0x1030, vr::LO, s.description);
  AddText(ds, 0x0010, 0x0010, vr::PN, s.patientName);
  AddText(ds, 0x0010, 0x0020, vr::LO, s.patientId);
  AddText(ds, 0x0010, 0x0030, vr::DA, s.birthDate);
  AddText(ds, 0x0010, 0x0040, vr::CS, s.sex);
  AddText(ds, 0x0010, 0x1010, vr::AS, s.age);
  AddText(ds, 0x0020, 0x000D, vr::UI, s.studyUid);
  AddText(ds, 0x0020, 0x0010, vr::SH, s.studyId);
  AddText(ds, 0x0020, 0x0052, vr::UI, s.frameOfReference);
}

namespace {

struct CtSlice {
  std::string seriesUid;
  int seriesNumber;
  int instance;
  std::string imageType;
  std::string description;
  std::string orientation;
  double position[3];
  double sliceLocation;
  int rows, columns;
  double rowSpacing, columnSpacing;
  std::vector<uint16_t> pixels;
};

std::unique_ptr<DicomDataSet> BuildCtImage(const DemoStudyInfo& study, const CtSlice& slice) {
  auto ds = std::make_unique<DicomDataSet>();
  AddStudyElements(*ds, study);
  const std::string sopUid = slice.seriesUid + "." + std::to_string(slice.instance);
  AddText(*ds, 0x0008, 0x0008, vr::CS, slice.imageType);
  AddText(*ds, 0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.2");
  AddText(*ds, 0x0008, 0x0018, vr::UI, sopUid);
  AddText(*ds, 0x0008, 0x0060, vr::CS, "CT");
  AddText(*ds, 0x0008, 0x103E, vr::LO, slice.description);
  AddText(*ds, 0x0018, 0x0015, vr::CS, "CHEST");
  AddText(*ds, 0x0018, 0x0050, vr::DS, Number(kSliceThicknessMm));
  AddText(*ds, 0x0018, 0x0060, vr::DS, "120");
  AddText(*ds, 0x0020, 0x000E, vr::UI, slice.seriesUid);
  AddText(*ds, 0x0020, 0x0011, vr::IS, std::to_string(slice.seriesNumber));
  AddText(*ds, 0x0020, 0x0013, vr::IS, std::to_string(slice.instance));
  AddText(*ds, 0x0020, 0x0032, vr::DS,
          Number(slice.position[0]) + "\\" + Number(slice.position[1]) + "\\" +
              Number(slice.position[2]));
  AddText(*ds, 0x0020, 0x0037, vr::DS, slice.orientation);
  AddText(*ds, 0x0020, 0x1041, vr::DS, Number(slice.sliceLocation));
  AddUShort(*ds, 0x0028, 0x0002, 1);
  AddText(*ds, 0x0028, 0x0004, vr::CS, "MONOCHROME2");
  AddUShort(*ds, 0x0028, 0x0010, static_cast<uint16_t>(slice.rows));
  AddUShort(*ds, 0x0028, 0x0011, static_cast<uint16_t>(slice.columns));
  AddText(*ds, 0x0028, 0x0030, vr::DS,
          Number(slice.rowSpacing) + "\\" + Number(slice.columnSpacing));
  AddUShort(*ds, 0x0028, 0x0100, 16);
  AddUShort(*ds, 0x0028, 0x0101, 12);
  AddUShort(*ds, 0x0028, 0x0102, 11);
  AddUShort(*ds, 0x0028, 0x0103, 0);
  AddText(*ds, 0x0028, 0x1050, vr::DS, "40\\-600");
  AddText(*ds, 0x0028, 0x1051, vr::DS, "400\\1500");
  AddText(*ds, 0x0028, 0x1052, vr::DS, "-1024");
  AddText(*ds, 0x0028, 0x1053, vr::DS, "1");
  AddText(*ds, 0x0028, 0x1054, vr::LO, "HU");
  AddPixels(*ds, slice.pixels);
  return ds;
}

bool Write(const std::filesystem::path& file, std::unique_ptr<DicomDataSet> ds,
           std::string& reason) {
  DicomError error;
  if (!WriteDicomFile(file.string(), FileLayout::PartTenExplicit, std::move(ds), &error)) {
    reason = file.string() + ": " + error.ToString();
    return false;
  }
  return true;
}

}  // namespace

bool WriteDemoStudy(const std::string& folder, int slices, std::string& reason) {
  namespace fs = std::filesystem;
  const DemoStudyInfo study;
  std::error_code ec;
  const fs::path root(folder);
  fs::create_directories(root / "CT", ec);
  fs::create_directories(root / "LOCALIZER", ec);
  if (ec) {
    reason = folder + ": " + ec.message();
    return false;
  }

  // Slices run from the lung bases to the apex, centred on the carina.
  const double zStart = -(slices - 1) * kSliceThicknessMm / 2.0;
  const double half = (kMatrix - 1) * kPixelSpacingMm / 2.0;
  for (int k = 0; k < slices; ++k) {
    CtSlice slice{};
    slice.seriesUid = study.studyUid + ".2";
    slice.seriesNumber = 2;
    slice.instance = k + 1;
    slice.imageType = "ORIGINAL\\PRIMARY\\AXIAL";
    slice.description = "CHEST 5mm";
    slice.orientation = "1\\0\\0\\0\\1\\0";
    const double z = zStart + k * kSliceThicknessMm;
    slice.position[0] = -half;
    slice.position[1] = -half;
    slice.position[2] = z;
    slice.sliceLocation = z;
    slice.rows = slice.columns = kMatrix;
    slice.rowSpacing = slice.columnSpacing = kPixelSpacingMm;
    slice.pixels.resize(static_cast<size_t>(kMatrix) * kMatrix);
    Noise noise{static_cast<uint32_t>(k * 7919 + 17)};
    for (int r = 0; r < kMatrix; ++r) {
      const double y = -half + r * kPixelSpacingMm;
      for (int c = 0; c < kMatrix; ++c) {
        const double x = -half + c * kPixelSpacingMm;
        const int hu = ChestHu(x, y, z);
        slice.pixels[static_cast<size_t>(r) * kMatrix + c] =
            Stored(hu == kAir ? hu + noise.Next(4) : hu + noise.Next(12));
      }
    }
    char name[32];
    std::snprintf(name, sizeof name, "IM%04d.dcm", k + 1);
    if (!Write(root / "CT" / name, BuildCtImage(study, slice), reason)) return false;
  }

  // Sagittal localizer through the midline: rows run from head to feet,
  // columns from front to back.
  CtSlice scout{};
  scout.seriesUid = study.studyUid + ".1";
  scout.seriesNumber = 1;
  scout.instance = 1;
  scout.imageType = "ORIGINAL\\PRIMARY\\LOCALIZER";
  scout.description = "SCOUT";
  scout.orientation = "0\\1\\0\\0\\0\\-1";
  const double zTop = -zStart + 60;
  scout.position[0] = 0;
  scout.position[1] = -half;
  scout.position[2] = zTop;
  scout.sliceLocation = 0;
  scout.rows = scout.columns = kMatrix;
  scout.rowSpacing = kPixelSpacingMm * 1.0;
  scout.columnSpacing = kPixelSpacingMm;
  scout.pixels.resize(static_cast<size_t>(kMatrix) * kMatrix);
  Noise noise{99};
  for (int r = 0; r < kMatrix; ++r) {
    const double z = zTop - r * scout.rowSpacing;
    for (int c = 0; c < kMatrix; ++c) {
      const double y = -half + c * kPixelSpacingMm;
      // A thin-slab average across the midline gives a radiograph-like look.
      int sum = 0;
      for (int dx = -2; dx <= 2; ++dx) sum += ChestHu(dx * 12.0, y, z);
      scout.pixels[static_cast<size_t>(r) * kMatrix + c] = Stored(sum / 5 + noise.Next(8));
    }
  }
  if (!Write(root / "LOCALIZER" / "IM0001.dcm", BuildCtImage(study, scout), reason)) return false;

  auto parts = DemoParts();
  std::stable_sort(parts.begin(), parts.end(),
                   [](const DemoPart& a, const DemoPart& b) { return a.order < b.order; });
  for (const auto& part : parts) {
    if (!part.write(folder, study, reason)) return false;
  }
  return true;
}

std::vector<DemoPart>& DemoParts() {
  static std::vector<DemoPart> parts;
  return parts;
}

DemoPartRegistration::DemoPartRegistration(DemoPart part) {
  DemoParts().push_back(std::move(part));
}

}  // namespace tolmar::tool
