// Annotations in the demo study: a CT slice copied with stored drawing objects
// in (0701,0520) and a comment text, and a presentation state whose texts
// belong to the first CT slice.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "DemoStudy.h"
#include "annotation/DrawEllipse.h"
#include "annotation/DrawLine.h"
#include "annotation/DrawPoly.h"
#include "annotation/DrawRect.h"
#include "annotation/DrawText.h"
#include "annotation/GSPSSObject.h"
#include "dicom/DicomCodec.h"
#include "image/ByteWriter.h"

namespace tolmar::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSeriesUid = "1.2.840.1978.7.1.9.1.8";
constexpr const char* kStateUid = "1.2.840.1978.7.1.9.1.9.1";

std::string CtSlice(const std::string& folder, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "IM%04d.dcm", number);
  return (fs::path(folder) / "CT" / name).string();
}

void Replace(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t vrCode,
             const std::string& text) {
  ds.RemoveElement(group, element);
  AddText(ds, group, element, vrCode, text);
}

// The records of a few objects of every kind the loader reads.
std::vector<uint8_t> DemoRecords() {
  ByteWriter w;
  CDrawRect(nullptr, {150, 150, 230, 210}).SaveRecord(w);
  CDrawLine(nullptr, {60, 400, 200, 440}).SaveRecord(w);
  CDrawEllipse(nullptr, {300, 180, 380, 260}).SaveRecord(w);
  CDrawArrow(nullptr, {420, 80, 340, 170}).SaveRecord(w);
  CDrawPoly poly(nullptr, {});
  poly.SetPoints({{260, 320}, {330, 300}, {360, 370}, {280, 390}});
  poly.SaveRecord(w);
  CDrawText text(nullptr, {330, 60, 331, 61});
  text.SetText("Demo\r\nannotation", false);
  text.SaveRecord(w);
  return w.Take();
}

std::vector<uint8_t> Floats(float a, float b) {
  std::vector<uint8_t> bytes(8);
  std::memcpy(bytes.data(), &a, 4);
  std::memcpy(bytes.data() + 4, &b, 4);
  return bytes;
}

std::unique_ptr<DicomDataSet> TextItem(const std::string& text, float left, float top, float right,
                                       float bottom) {
  auto item = std::make_unique<DicomDataSet>();
  AddText(*item, 0x0070, 0x0003, vr::CS, "PIXEL");
  item->AddElement(DicomElement::FromBytes(0x0070, 0x0010, vr::FL, Floats(left, top)));
  item->AddElement(DicomElement::FromBytes(0x0070, 0x0011, vr::FL, Floats(right, bottom)));
  AddText(*item, 0x0070, 0x0006, vr::ST, text);
  return item;
}

std::unique_ptr<DicomDataSet> PresentationState(const DemoStudyInfo& study,
                                                const DicomDataSet& target) {
  auto ds = std::make_unique<DicomDataSet>();
  AddStudyElements(*ds, study);
  AddText(*ds, 0x0008, 0x0016, vr::UI, kGspsSopClassUid);
  AddText(*ds, 0x0008, 0x0018, vr::UI, kStateUid);
  AddText(*ds, 0x0008, 0x0060, vr::CS, "PR");
  AddText(*ds, 0x0020, 0x000E, vr::UI, std::string(kSeriesUid) + ".100");
  AddText(*ds, 0x0020, 0x0011, vr::IS, "100");
  AddText(*ds, 0x0020, 0x0013, vr::IS, "1");
  AddText(*ds, 0x0070, 0x0080, vr::CS, "DEMO");
  AddText(*ds, 0x0070, 0x0081, vr::LO, "Demo presentation state");

  auto image = std::make_unique<DicomDataSet>();
  for (const auto& [from, to] : {std::pair<uint16_t, uint16_t>{0x0016, 0x1150}, {0x0018, 0x1155}}) {
    if (const DicomElement* uid = target.FindElement(0x0008, from)) {
      image->AddElement(DicomElement::FromBytes(0x0008, to, vr::UI, uid->Bytes()));
    }
  }
  auto images = DicomElement::Empty(0x0008, 0x1140, vr::SQ);
  images->AppendItem(std::move(image));
  auto series = std::make_unique<DicomDataSet>();
  series->AddElement(std::move(images));
  series->AddElement(target.CopyElement(0x0020, 0x000E));
  auto seriesList = DicomElement::Empty(0x0008, 0x1115, vr::SQ);
  seriesList->AppendItem(std::move(series));
  ds->AddElement(std::move(seriesList));

  auto texts = DicomElement::Empty(0x0070, 0x0008, vr::SQ);
  texts->AppendItem(TextItem("Presentation state text 1", 20.5f, 20.5f, 200.5f, 40.5f));
  texts->AppendItem(TextItem("Presentation state text 2", 20.5f, 50.5f, 200.5f, 70.5f));
  texts->AppendItem(TextItem("Presentation state text 3", 20.5f, 80.5f, 200.5f, 100.5f));
  auto annotation = std::make_unique<DicomDataSet>();
  AddText(*annotation, 0x0070, 0x0002, vr::CS, "DEMO");
  annotation->AddElement(std::move(texts));
  auto annotations = DicomElement::Empty(0x0070, 0x0001, vr::SQ);
  annotations->AppendItem(std::move(annotation));
  ds->AddElement(std::move(annotations));
  return ds;
}

bool Write(const fs::path& path, std::unique_ptr<DicomDataSet> ds, std::string& reason) {
  DicomError error;
  if (!WriteDicomFile(path.string(), FileLayout::PartTenExplicit, std::move(ds), &error)) {
    reason = path.string() + ": " + error.ToString();
    return false;
  }
  return true;
}

bool WriteAnnotationPart(const std::string& folder, const DemoStudyInfo& study,
                         std::string& reason) {
  std::error_code ec;
  const fs::path annotated = fs::path(folder) / "ANNOT";
  const fs::path states = fs::path(folder) / "PS";
  fs::create_directories(annotated, ec);
  fs::create_directories(states, ec);
  if (ec) {
    reason = folder + ": " + ec.message();
    return false;
  }

  auto first = ReadDicomImage(CtSlice(folder, 1), ReadMode::HeaderOnly);
  auto source = ReadDicomImage(CtSlice(folder, 2), ReadMode::FullRead);
  if (!first || !source) {
    reason = CtSlice(folder, first ? 2 : 1) + ": cannot be read for the annotation demo";
    return false;
  }
  source->RemoveElement(0x0002, 0x0010);
  Replace(*source, 0x0008, 0x0018, vr::UI, std::string(kSeriesUid) + ".1");
  Replace(*source, 0x0008, 0x103E, vr::LO, "ANNOTATED");
  Replace(*source, 0x0020, 0x000E, vr::UI, kSeriesUid);
  Replace(*source, 0x0020, 0x0011, vr::IS, "8");
  Replace(*source, 0x0020, 0x0013, vr::IS, "1");
  Replace(*source, 0x0020, 0x4000, vr::LT, "(40,470)Comment annotation");
  source->RemoveElement(0x0701, 0x0520);
  source->AddElement(DicomElement::FromBytes(0x0701, 0x0520, vr::OB, DemoRecords()));
  if (!Write(annotated / "IM0001.dcm", std::move(source), reason)) return false;

  return Write(states / "PS0001.dcm", PresentationState(study, *first), reason);
}

const DemoPartRegistration kRegistration({"annotations", 60, WriteAnnotationPart});

}  // namespace
}  // namespace tolmar::tool
