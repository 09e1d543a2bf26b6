// Demo parts beyond the CT series: an MR series, a palette-colour and an RGB
// secondary capture, a multi-frame ultrasound-like clip, and the "SOPCLASS"
// table of the program folder that assigns their image categories.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "DemoStudy.h"
#include "dicom/DicomCodec.h"
#include "dicom/SopClassTable.h"

namespace tolmar::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCtStorage = "1.2.840.10008.5.1.4.1.1.2";
constexpr const char* kMrStorage = "1.2.840.10008.5.1.4.1.1.4";
constexpr const char* kSecondaryCapture = "1.2.840.10008.5.1.4.1.1.7";
constexpr const char* kUltrasoundMultiFrame = "1.2.840.10008.5.1.4.1.1.3.1";
constexpr const char* kComputedRadiography = "1.2.840.10008.5.1.4.1.1.1";
constexpr const char* kXRayAngiography = "1.2.840.10008.5.1.4.1.1.12.1";

void AddBytes(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t vrCode,
              const std::vector<uint8_t>& bytes) {
  ds.AddElement(DicomElement::FromBytes(group, element, vrCode, bytes));
}

void AddWords(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t vrCode,
              const std::vector<uint16_t>& words) {
  std::vector<uint8_t> bytes;
  bytes.reserve(words.size() * 2);
  for (const auto w : words) {
    bytes.push_back(static_cast<uint8_t>(w));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  AddBytes(ds, group, element, vrCode, bytes);
}

void AddSeriesElements(DicomDataSet& ds, const DemoStudyInfo& study, const std::string& modality,
                       const char* sopClass, int series, int instance, const std::string& description) {
  AddStudyElements(ds, study);
  const std::string seriesUid = study.studyUid + "." + std::to_string(series);
  AddText(ds, 0x0008, 0x0016, vr::UI, sopClass);
  AddText(ds, 0x0008, 0x0018, vr::UI, seriesUid + "." + std::to_string(instance));
  AddText(ds, 0x0008, 0x0060, vr::CS, modality);
  AddText(ds, 0x0008, 0x103E, vr::LO, description);
  AddText(ds, 0x0020, 0x000E, vr::UI, seriesUid);
  AddText(ds, 0x0020, 0x0011, vr::IS, std::to_string(series));
  AddText(ds, 0x0020, 0x0013, vr::IS, std::to_string(instance));
}

void AddPixelDescription(DicomDataSet& ds, int rows, int columns, int samples, int bits,
                         const std::string& photometric) {
  AddUShort(ds, 0x0028, 0x0002, static_cast<uint16_t>(samples));
  AddText(ds, 0x0028, 0x0004, vr::CS, photometric);
  AddUShort(ds, 0x0028, 0x0010, static_cast<uint16_t>(rows));
  AddUShort(ds, 0x0028, 0x0011, static_cast<uint16_t>(columns));
  AddUShort(ds, 0x0028, 0x0100, static_cast<uint16_t>(bits));
  AddUShort(ds, 0x0028, 0x0101, static_cast<uint16_t>(bits == 16 ? 12 : bits));
  AddUShort(ds, 0x0028, 0x0102, static_cast<uint16_t>(bits == 16 ? 11 : bits - 1));
  AddUShort(ds, 0x0028, 0x0103, 0);
  if (samples == 3) AddUShort(ds, 0x0028, 0x0006, 0);
}

bool Write(const fs::path& file, std::unique_ptr<DicomDataSet> ds, std::string& reason) {
  DicomError error;
  if (!WriteDicomFile(file.string(), FileLayout::PartTenExplicit, std::move(ds), &error)) {
    reason = file.string() + ": " + error.ToString();
    return false;
  }
  return true;
}

bool MakeFolder(const fs::path& folder, std::string& reason) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) reason = folder.string() + ": " + ec.message();
  return !ec;
}

// An axial head MR series: 16-bit, 256 x 256, brain-like ellipses.
bool WriteMrSeries(const std::string& folder, const DemoStudyInfo& study, std::string& reason) {
  const fs::path dir = fs::path(folder) / "MR";
  if (!MakeFolder(dir, reason)) return false;
  constexpr int kSize = 256, kSlices = 12;
  for (int k = 0; k < kSlices; ++k) {
    auto ds = std::make_unique<DicomDataSet>();
    AddSeriesElements(*ds, study, "MR", kMrStorage, 3, k + 1, "T2 AXIAL");
    const double z = -30.0 + 5.0 * k;
    AddText(*ds, 0x0018, 0x0050, vr::DS, "5");
    AddText(*ds, 0x0020, 0x0032, vr::DS, "-120\\-120\\" + std::to_string(static_cast<int>(z)));
    AddText(*ds, 0x0020, 0x0037, vr::DS, "1\\0\\0\\0\\1\\0");
    AddText(*ds, 0x0020, 0x1041, vr::DS, std::to_string(static_cast<int>(z)));
    AddPixelDescription(*ds, kSize, kSize, 1, 16, "MONOCHROME2");
    AddText(*ds, 0x0028, 0x0030, vr::DS, "0.9375\\0.9375");
    AddText(*ds, 0x0028, 0x1050, vr::DS, "600");
    AddText(*ds, 0x0028, 0x1051, vr::DS, "1200");
    std::vector<uint16_t> pixels(static_cast<size_t>(kSize) * kSize);
    const double scale = std::sqrt(std::max(0.0, 1.0 - (z / 70.0) * (z / 70.0)));
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const double dx = (x - 128) / (100.0 * scale + 1), dy = (y - 128) / (120.0 * scale + 1);
        const double r = dx * dx + dy * dy;
        int value = 0;
        if (r < 1.0) value = r > 0.85 ? 300 : (r < 0.05 ? 1400 : 700 + static_cast<int>(200 * std::sin(x * 0.2)));
        pixels[static_cast<size_t>(y) * kSize + x] = static_cast<uint16_t>(value + ((x * 7 + y * 13 + k) % 23));
      }
    }
    AddPixels(*ds, pixels);
    char name[32];
    std::snprintf(name, sizeof name, "IM%04d.dcm", k + 1);
    if (!Write(dir / name, std::move(ds), reason)) return false;
  }
  return true;
}

// Secondary captures: an 8-bit palette-colour image (a hot-iron style table of
// 16-bit entries) and an interleaved RGB test card.
bool WriteColourImages(const std::string& folder, const DemoStudyInfo& study, std::string& reason) {
  const fs::path dir = fs::path(folder) / "SC";
  if (!MakeFolder(dir, reason)) return false;
  constexpr int kRows = 200, kColumns = 254;  // not a multiple of 4: rows get padded

  auto palette = std::make_unique<DicomDataSet>();
  AddSeriesElements(*palette, study, "OT", kSecondaryCapture, 4, 1, "PALETTE MAP");
  AddPixelDescription(*palette, kRows, kColumns, 1, 8, "PALETTE COLOR");
  std::vector<uint16_t> red(256), green(256), blue(256);
  for (int i = 0; i < 256; ++i) {
    red[i] = static_cast<uint16_t>(std::min(255, i * 3) << 8);
    green[i] = static_cast<uint16_t>(std::clamp(i * 3 - 255, 0, 255) << 8);
    blue[i] = static_cast<uint16_t>(std::clamp(i * 3 - 510, 0, 255) << 8);
  }
  for (const uint16_t tag : {0x1101, 0x1102, 0x1103}) AddWords(*palette, 0x0028, tag, vr::US, {256, 0, 16});
  AddWords(*palette, 0x0028, 0x1201, vr::OW, red);
  AddWords(*palette, 0x0028, 0x1202, vr::OW, green);
  AddWords(*palette, 0x0028, 0x1203, vr::OW, blue);
  std::vector<uint8_t> indices(static_cast<size_t>(kRows) * kColumns);
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x)
      indices[static_cast<size_t>(y) * kColumns + x] =
          static_cast<uint8_t>(std::clamp(255.0 - std::hypot(x - 127.0, y - 100.0) * 2.0, 0.0, 255.0));
  AddBytes(*palette, 0x7FE0, 0x0010, vr::OB, indices);
  if (!Write(dir / "PALETTE.dcm", std::move(palette), reason)) return false;

  auto rgb = std::make_unique<DicomDataSet>();
  AddSeriesElements(*rgb, study, "OT", kSecondaryCapture, 4, 2, "TEST CARD");
  AddPixelDescription(*rgb, kRows, kColumns, 3, 8, "RGB");
  std::vector<uint8_t> pixels(static_cast<size_t>(kRows) * kColumns * 3);
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < kColumns; ++x) {
      uint8_t* p = pixels.data() + (static_cast<size_t>(y) * kColumns + x) * 3;
      const int bar = x * 8 / kColumns;  // colour bars: white, yellow, cyan, green, ...
      p[0] = (bar & 2) == 0 ? 230 : 16;
      p[1] = bar < 4 ? 230 : 16;
      p[2] = (bar & 1) == 0 ? 230 : 16;
      if (y > kRows * 3 / 4) p[0] = p[1] = p[2] = static_cast<uint8_t>(x * 255 / kColumns);
    }
  }
  AddBytes(*rgb, 0x7FE0, 0x0010, vr::OB, pixels);
  return Write(dir / "RGB.dcm", std::move(rgb), reason);
}

// A multi-frame 8-bit grey clip: a bright disc moving across 24 frames.
bool WriteMultiFrame(const std::string& folder, const DemoStudyInfo& study, std::string& reason) {
  const fs::path dir = fs::path(folder) / "US";
  if (!MakeFolder(dir, reason)) return false;
  constexpr int kRows = 240, kColumns = 320, kFrames = 24;
  auto ds = std::make_unique<DicomDataSet>();
  AddSeriesElements(*ds, study, "US", kUltrasoundMultiFrame, 5, 1, "CINE");
  AddPixelDescription(*ds, kRows, kColumns, 1, 8, "MONOCHROME2");
  AddText(*ds, 0x0028, 0x0008, vr::IS, std::to_string(kFrames));
  AddText(*ds, 0x0018, 0x1063, vr::DS, "40");
  std::vector<uint8_t> frames(static_cast<size_t>(kRows) * kColumns * kFrames);
  for (int f = 0; f < kFrames; ++f) {
    const double cx = 60 + f * 8.0, cy = 120 + 40 * std::sin(f * 0.5);
    for (int y = 0; y < kRows; ++y)
      for (int x = 0; x < kColumns; ++x) {
        const double d = std::hypot(x - cx, y - cy);
        frames[(static_cast<size_t>(f) * kRows + y) * kColumns + x] =
            static_cast<uint8_t>(d < 30 ? 220 : 30 + (x * 3 + y * 5 + f) % 40);
      }
  }
  AddBytes(*ds, 0x7FE0, 0x0010, vr::OB, frames);
  return Write(dir / "CINE.dcm", std::move(ds), reason);
}

std::string ProgramFolder() {
  std::error_code ec;
  const auto exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("./") : exe.parent_path().string() + "/";
}

// The "SOPCLASS" table: 72-byte records of category code and SOP class UID.
// make-demo writes it beside the programs (not into the demo folder, which
// holds DICOM files only), so that a fresh build shows the demo images with
// their categories.
bool WriteSopClassTable(const std::string&, const DemoStudyInfo&, std::string& reason) {
  constexpr int kRecordSize = 72;
  const std::pair<int32_t, const char*> entries[] = {
      {1, kCtStorage},         {2, kMrStorage},           {3, kSecondaryCapture},
      {20, kUltrasoundMultiFrame}, {21, kComputedRadiography}, {22, kXRayAngiography}};
  std::vector<uint8_t> bytes(128, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(48, kRecordSize);
  put32(56, static_cast<uint32_t>(std::size(entries)));
  for (const auto& [code, uid] : entries) {
    std::vector<uint8_t> record(kRecordSize, 0);
    for (int i = 0; i < 4; ++i) record[static_cast<size_t>(kSopClassCodeOffset + i)] = static_cast<uint8_t>(code >> (8 * i));
    std::memcpy(record.data() + kSopClassUidOffset, uid, std::strlen(uid));
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  const fs::path target = fs::path(ProgramFolder()) / "SOPCLASS.db";
  std::ofstream out(target, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    reason = target.string() + ": cannot be written";
    return false;
  }
  return true;
}

const DemoPartRegistration kMr({"MR series", 10, WriteMrSeries});
const DemoPartRegistration kColour({"colour images", 11, WriteColourImages});
const DemoPartRegistration kMultiFrame({"multi-frame clip", 12, WriteMultiFrame});
const DemoPartRegistration kSopClass({"SOPCLASS table", 13, WriteSopClassTable});

}  // namespace
}  // namespace tolmar::tool
