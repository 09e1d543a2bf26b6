#include "ViewerFixtures.h"

#include <QFile>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"
#include "dicom/DicomElement.h"
#include "image/ImageFactory.h"

namespace tolmar::viewer::test {
namespace {

void Text(DicomDataSet& d, uint16_t group, uint16_t element, uint16_t vrCode,
          const std::string& text) {
  d.SetElement(DicomElement::FromText(group, element, vrCode, text));
}

void UShort(DicomDataSet& d, uint16_t group, uint16_t element, int value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF),
                            static_cast<uint8_t>((value >> 8) & 0xFF)};
  d.SetElement(DicomElement::FromBytes(group, element, vr::US, bytes));
}

}  // namespace

PrivateProfileFolder::PrivateProfileFolder()
    : m_hadOld(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), m_old(qgetenv("XDG_CONFIG_HOME")) {
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

PrivateProfileFolder::~PrivateProfileFolder() {
  if (m_hadOld) {
    qputenv("XDG_CONFIG_HOME", m_old);
  } else {
    qunsetenv("XDG_CONFIG_HOME");
  }
}

std::unique_ptr<DicomDataSet> MakeImageDataSet(const ImageSpec& shape) {
  auto d = std::make_unique<DicomDataSet>();
  Text(*d, 0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.2");
  Text(*d, 0x0008, 0x0018, vr::UI,
       "1.2.826.0.1.3680043.9.7777." + std::to_string(shape.series) + "." +
           std::to_string(shape.instance));
  Text(*d, 0x0008, 0x0060, vr::CS, shape.modality);
  Text(*d, 0x0010, 0x0020, vr::LO, shape.patientId);
  Text(*d, 0x0020, 0x0011, vr::IS, std::to_string(shape.series));
  Text(*d, 0x0020, 0x0013, vr::IS, std::to_string(shape.instance));
  const bool colour = shape.photometric == "RGB";
  const int samples = colour ? 3 : 1;
  UShort(*d, 0x0028, 0x0002, samples);
  Text(*d, 0x0028, 0x0004, vr::CS, shape.photometric);
  UShort(*d, 0x0028, 0x0010, shape.rows);
  UShort(*d, 0x0028, 0x0011, shape.columns);
  UShort(*d, 0x0028, 0x0100, shape.bitsAllocated);
  const int stored = shape.bitsAllocated > 8 ? std::min(shape.bitsAllocated, 12) : 8;
  UShort(*d, 0x0028, 0x0101, stored);
  UShort(*d, 0x0028, 0x0102, stored - 1);
  UShort(*d, 0x0028, 0x0103, 0);
  Text(*d, 0x0028, 0x1050, vr::DS, "100");
  Text(*d, 0x0028, 0x1051, vr::DS, "400");
  const size_t bytesPerSample = shape.bitsAllocated > 8 ? 2 : 1;
  std::vector<uint8_t> pixels(static_cast<size_t>(shape.rows * shape.columns * samples) *
                              bytesPerSample);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint8_t>(i * 7 + shape.instance);
  if (bytesPerSample == 2) {
    for (size_t i = 1; i < pixels.size(); i += 2) pixels[i] &= 0x0F;
  }
  d->SetElement(
      DicomElement::FromBytes(0x7FE0, 0x0010, bytesPerSample == 2 ? vr::OW : vr::OB, pixels));
  return d;
}

std::unique_ptr<DicomImage> MakeImage(const ImageSpec& shape) {
  auto dataSet = MakeImageDataSet(shape);
  std::string reason;
  return BuildImage("memory", *dataSet, 255, ImageSettings{}, reason);
}

bool WriteImageFile(const QString& path, const ImageSpec& shape) {
  return WriteDicomFile(QFile::encodeName(path).toStdString(), FileLayout::PartTenExplicit,
                        MakeImageDataSet(shape));
}

bool WritePresentationStateFile(const QString& path) {
  auto d = std::make_unique<DicomDataSet>();
  Text(*d, 0x0008, 0x0016, vr::UI, "1.2.840.10008.5.1.4.1.1.11.1");
  Text(*d, 0x0008, 0x0018, vr::UI, "1.2.826.0.1.3680043.9.7777.99");
  Text(*d, 0x0008, 0x0060, vr::CS, "PR");
  return WriteDicomFile(QFile::encodeName(path).toStdString(), FileLayout::PartTenExplicit,
                        std::move(d));
}

}  // namespace tolmar::viewer::test
