#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "image/DicomImage.h"

namespace tolmar::viewer::test {

struct ImageSpec {
  int series = 1;
  int instance = 1;
  int bitsAllocated = 16;
  std::string photometric = "MONOCHROME2";
  std::string patientId = "P1";
  int rows = 8;
  int columns = 8;
  std::string modality = "CT";
};

// Profiles go to a private configuration folder while this lives.
class PrivateProfileFolder {
 public:
  PrivateProfileFolder();
  ~PrivateProfileFolder();
  QString Path() const { return m_dir.path(); }

 private:
  QTemporaryDir m_dir;
  bool m_hadOld;
  QByteArray m_old;
};

// A small image data set built in code.
std::unique_ptr<DicomDataSet> MakeImageDataSet(const ImageSpec& shape);
// The image the viewer would build from it.
std::unique_ptr<DicomImage> MakeImage(const ImageSpec& shape);
// Writes it as a DICOM file; false when writing failed.
bool WriteImageFile(const QString& path, const ImageSpec& shape);
// A grey-scale softcopy presentation state file.
bool WritePresentationStateFile(const QString& path);

}  // namespace tolmar::viewer::test
