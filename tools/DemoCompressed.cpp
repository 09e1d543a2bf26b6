// Compressed variants of CT slices in the demo study: one image per compression kind
// and a multi-frame image, so that every decoder of the viewer has something to open.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "DemoStudy.h"
#include "dicom/DicomCodec.h"
#include "dicom/PixelCompression.h"

namespace tolmar::tool {
namespace {

constexpr const char* kSeriesUid = "1.2.840.1978.7.1.9.1.7";
constexpr int kSeriesNumber = 7;

std::string CtSlice(const std::string& folder, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "IM%04d.dcm", number);
  return (std::filesystem::path(folder) / "CT" / name).string();
}

// Turns a read CT slice into an image of the compressed series.
void Rename(DicomDataSet& ds, int instance, const std::string& description) {
  ds.RemoveElement(0x0002, 0x0010);
  AddText(ds, 0x0002, 0x0010, vr::UI, kImplicitLittleUid);
  ds.RemoveElement(0x0008, 0x0018);
  AddText(ds, 0x0008, 0x0018, vr::UI, std::string(kSeriesUid) + "." + std::to_string(instance));
  ds.RemoveElement(0x0008, 0x103E);
  AddText(ds, 0x0008, 0x103E, vr::LO, description);
  ds.RemoveElement(0x0020, 0x000E);
  AddText(ds, 0x0020, 0x000E, vr::UI, kSeriesUid);
  ds.RemoveElement(0x0020, 0x0011);
  AddText(ds, 0x0020, 0x0011, vr::IS, std::to_string(kSeriesNumber));
  ds.RemoveElement(0x0020, 0x0013);
  AddText(ds, 0x0020, 0x0013, vr::IS, std::to_string(instance));
}

bool WriteVariant(const std::string& path, std::unique_ptr<DicomDataSet> ds,
                  const std::string& kind, std::string& reason) {
  DicomError error;
  if (!WriteCompressedDicomFile(path, std::move(ds), kind, &error)) {
    reason = path + ": " + error.ToString();
    return false;
  }
  return true;
}

// Four consecutive slices as the frames of one image.
std::unique_ptr<DicomDataSet> MultiFrame(const std::string& folder, int first, int count,
                                         std::string& reason) {
  auto base = ReadDicomImage(CtSlice(folder, first), ReadMode::FullRead);
  if (!base) return nullptr;
  const DicomElement* pixels = base->FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue()) return nullptr;
  const uint32_t frameSize = pixels->length;
  std::vector<uint8_t> frames(static_cast<size_t>(frameSize) * count);
  std::memcpy(frames.data(), pixels->Value(), frameSize);
  for (int k = 1; k < count; ++k) {
    auto slice = ReadDicomImage(CtSlice(folder, first + k), ReadMode::FullRead);
    const DicomElement* p = slice ? slice->FindElement(0x7FE0, 0x0010) : nullptr;
    if (!p || !p->HasValue() || p->length != frameSize) {
      reason = CtSlice(folder, first + k) + ": cannot use as a frame";
      return nullptr;
    }
    std::memcpy(frames.data() + static_cast<size_t>(k) * frameSize, p->Value(), frameSize);
  }
  base->SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, vr::OW, frames));
  AddText(*base, 0x0028, 0x0008, vr::IS, std::to_string(count));
  return base;
}

bool WriteCompressedPart(const std::string& folder, const DemoStudyInfo&, std::string& reason) {
  namespace fs = std::filesystem;
  const fs::path out = fs::path(folder) / "COMPRESSED";
  std::error_code ec;
  fs::create_directories(out, ec);
  if (ec) {
    reason = out.string() + ": " + ec.message();
    return false;
  }
  struct Variant {
    const char* kind;
    const char* description;
  };
  const Variant variants[] = {{"ZIP 6", "CT CHEST ZIP"},
                              {"ELPEG", "CT CHEST ELPEG"},
                              {"JPEGLOSSLESS", "CT CHEST JPEG LOSSLESS"},
                              {"JPEGLOSSY 90", "CT CHEST JPEG LOSSY"}};
  int instance = 0;
  for (const auto& v : variants) {
    ++instance;
    // Slices spread over the series; the demo has at least one.
    auto ds = ReadDicomImage(CtSlice(folder, instance), ReadMode::FullRead);
    if (!ds) ds = ReadDicomImage(CtSlice(folder, 1), ReadMode::FullRead);
    if (!ds) {
      reason = CtSlice(folder, 1) + ": cannot read the CT slice";
      return false;
    }
    Rename(*ds, instance, v.description);
    char name[32];
    std::snprintf(name, sizeof name, "IM%04d.dcm", instance);
    if (!WriteVariant((out / name).string(), std::move(ds), v.kind, reason)) return false;
  }
  // A multi-frame image needs four slices.
  if (fs::exists(CtSlice(folder, 4))) {
    auto ds = MultiFrame(folder, 1, 4, reason);
    if (!ds) {
      if (reason.empty()) reason = CtSlice(folder, 1) + ": cannot read the CT slices";
      return false;
    }
    ++instance;
    Rename(*ds, instance, "CT CHEST MULTI-FRAME JPEG LOSSLESS");
    char name[32];
    std::snprintf(name, sizeof name, "IM%04d.dcm", instance);
    if (!WriteVariant((out / name).string(), std::move(ds), "JPEGLOSSLESS", reason)) return false;
  }
  return true;
}

const DemoPartRegistration kRegistration({"compressed", 50, WriteCompressedPart});

}  // namespace
}  // namespace tolmar::tool
