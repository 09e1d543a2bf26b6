#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dicom/DicomDataSet.h"

namespace tolmar::tool {

// Small helpers for building demo data sets with the suite's own element types.
void AddText(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t vrCode,
             const std::string& text);
void AddUShort(DicomDataSet& ds, uint16_t group, uint16_t element, uint16_t value);
void AddPixels(DicomDataSet& ds, const std::vector<uint16_t>& pixels);

// Patient and study shared by every series of the demo study.
struct DemoStudyInfo {
  std::string patientName = "ZHANG^WEI=张伟";
  std::string patientId = "TM000123";
  std::string birthDate = "19620314";
  std::string sex = "M";
  std::string age = "064Y";
  std::string studyUid = "1.2.840.1978.7.1.9.1";
  std::string studyDate = "20261201";
  std::string studyTime = "093000";
  std::string accession = "A20261201001";
  std::string studyId = "1001";
  std::string description = "CT CHEST";
  std::string frameOfReference = "1.2.840.1978.7.1.9.1.0";
};

// Patient, study and equipment elements common to every image of the study.
void AddStudyElements(DicomDataSet& ds, const DemoStudyInfo& study);

// Writes the demo study below `folder`: an axial CT series of `slices` slices with a
// sagittal localizer, then every registered part in order. Answers false with a reason
// when a file cannot be written.
bool WriteDemoStudy(const std::string& folder, int slices, std::string& reason);

// Further parts of the demo study (other modalities, compressed variants, tables) live
// in their own files and register here; they run after the CT series, by `order`.
struct DemoPart {
  std::string name;
  int order = 0;
  bool (*write)(const std::string& folder, const DemoStudyInfo& study,
                std::string& reason) = nullptr;
};
std::vector<DemoPart>& DemoParts();
struct DemoPartRegistration {
  explicit DemoPartRegistration(DemoPart part);
};

}  // namespace tolmar::tool
