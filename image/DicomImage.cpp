#include "DicomImage.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ImageRegistry.h"
#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

std::string Trimmed(std::string text) {
  size_t first = 0;
  while (first < text.size() && text[first] == ' ') ++first;
  text.erase(0, first);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

std::string Cut(std::string text, size_t length) {
  if (text.size() > length) text.resize(length);
  return text;
}

int IntegerText(const DicomDataSet& ds, uint16_t group, uint16_t element, int fallback) {
  const std::string text = ds.GetText(group, element);
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return end == text.c_str() ? fallback : static_cast<int>(value);
}

}  // namespace

bool FirstDecimal(const DicomDataSet& ds, uint16_t group, uint16_t element, double& value) {
  const DicomElement* e = ds.FindElement(group, element);
  if (!e || !e->HasValue()) return false;
  const std::string text = e->Text();
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return false;
  value = parsed;
  return true;
}

bool SameGeometry(const GeometryKeys& a, const GeometryKeys& b) {
  return a.seriesNumber == b.seriesNumber && a.rowSpacing == b.rowSpacing &&
         a.columnSpacing == b.columnSpacing && a.sliceThickness == b.sliceThickness &&
         a.instanceNumber != b.instanceNumber && a.sliceLocation != b.sliceLocation;
}

int CompareSliceLocation(const GeometryKeys& a, const GeometryKeys& b) {
  if (a.sliceLocation > b.sliceLocation) return 1;
  if (a.sliceLocation < b.sliceLocation) return -1;
  return 0;
}

DicomImage::DicomImage(int category, const ImageSettings& settings)
    : m_category(category), m_settings(settings) {}

DicomImage::~DicomImage() {
  // A loader thread must never reach an image that has gone.
  ImageRegistry::Program().Unregister(this);
  // Drawing objects may still touch the image while they go (a clip object
  // restores the visible rectangle), so they leave before the rest of it.
  m_annotations.reset();
}

namespace {
ImageAnnotationsFactory g_annotationsFactory = nullptr;
}  // namespace

void SetImageAnnotationsFactory(ImageAnnotationsFactory factory) { g_annotationsFactory = factory; }

ImageAnnotationsFactory GetImageAnnotationsFactory() { return g_annotationsFactory; }

ImageAnnotations* DicomImage::Annotations() {
  if (!m_annotations && g_annotationsFactory) m_annotations = g_annotationsFactory(*this);
  return m_annotations.get();
}

void DicomImage::SetAnnotations(std::unique_ptr<ImageAnnotations> annotations) {
  m_annotations = std::move(annotations);
}

void DicomImage::SetPixelSpacing(double columnSpacing, double rowSpacing) {
  m_columnSpacing = columnSpacing;
  m_rowSpacing = rowSpacing;
  m_geometry.columnSpacing = columnSpacing;
  m_geometry.rowSpacing = rowSpacing;
}

bool DicomImage::Fail(std::string reason) {
  m_failure = std::move(reason);
  return false;
}

bool DicomImage::Build(const std::string& path, const DicomDataSet& ds, bool headerOnly) {
  m_path = path;
  m_hasSopClass = ds.FindElement(0x0008, 0x0016) != nullptr;
  m_sopClassUid = Trimmed(ds.GetText(0x0008, 0x0016));
  m_sopInstanceUid = Trimmed(ds.GetText(0x0008, 0x0018));
  if (!LoadAttributes(ds)) return false;
  if (!LoadPixels(ds, headerOnly)) return false;
  ReadPatientTexts(ds);
  m_sortRecord = ReadSortRecord(ds, ProgramSortKeys());
  ReadGeometryKeys(ds);
  m_shutter.ReadFromDataSet(ds);
  BuildDisplayTexts(ds);
  m_sourceRect = {0, 0, m_paddedColumns, m_rows};
  m_panX = m_paddedColumns / 2;
  m_panY = m_rows / 2;
  return true;
}

bool DicomImage::LoadAttributes(const DicomDataSet& ds) {
  m_columns = ds.GetUShort(0x0028, 0x0011);
  m_rows = ds.GetUShort(0x0028, 0x0010);
  if (m_columns == 0 || m_rows == 0) return Fail("rows or columns are missing or 0");
  m_paddedColumns = (m_columns + 3) & ~3;

  m_photometric = Trimmed(ds.GetText(0x0028, 0x0004));
  if (!PhotometricCheck()) {
    return Fail("photometric interpretation \"" + m_photometric + "\" is not supported here");
  }
  m_invert = m_photometric == "MONOCHROME1";
  if (const DicomElement* e = ds.FindElement(0x0501, 0x0010); e && e->length >= 2 && e->HasValue()) {
    if ((e->Value()[0] | (e->Value()[1] << 8)) != 0) m_invert = !m_invert;
  }

  m_bitsAllocated = ds.GetUShort(0x0028, 0x0100);
  m_bitsStored = ds.GetUShort(0x0028, 0x0101);
  m_highBit = ds.GetUShort(0x0028, 0x0102);
  if (m_bitsAllocated == 0 || m_bitsStored == 0 || m_highBit == 0) {
    return Fail("bits allocated, bits stored or high bit is missing or 0");
  }
  if (m_bitsAllocated > 16 || m_bitsAllocated > ClassBitsLimit()) {
    return Fail("bits allocated " + std::to_string(m_bitsAllocated) + " exceeds " +
                std::to_string(ClassBitsLimit()));
  }
  // Stored bits beyond the allocated ones, or a high bit outside the allocated
  // word, would make the bit shift and the lookup table size meaningless.
  if (m_bitsStored > m_bitsAllocated || m_highBit >= m_bitsAllocated) {
    return Fail("bits stored or high bit does not fit the allocated bits");
  }
  m_bytesPerPixel = (m_bitsAllocated + 7) / 8;

  m_rowSpacing = m_columnSpacing = 0;
  if (const DicomElement* e = ds.FindElement(0x0028, 0x0030); e && e->HasValue()) {
    const std::string text = e->Text();
    m_rowSpacing = std::strtod(text.c_str(), nullptr);
    const auto slash = text.find('\\');
    m_columnSpacing = slash == std::string::npos ? m_rowSpacing : std::strtod(text.c_str() + slash + 1, nullptr);
  }
  m_numberOfFrames = IntegerText(ds, 0x0028, 0x0008, 1);
  m_modality = ds.GetText(0x0008, 0x0060);
  m_displayFlags = IntegerText(ds, 0x0501, 0x0152, 0);
  m_hasDefaultCentre = FirstDecimal(ds, 0x0028, 0x1050, m_fileCentre);
  m_hasDefaultWidth = FirstDecimal(ds, 0x0028, 0x1051, m_fileWidth);
  return true;
}

size_t DicomImage::FrameSize() const {
  return static_cast<size_t>(m_bytesPerPixel) * static_cast<size_t>(m_columns) *
         static_cast<size_t>(m_rows);
}

size_t DicomImage::StoredFrameSize() const {
  return static_cast<size_t>(m_bytesPerPixel) * static_cast<size_t>(m_paddedColumns) *
         static_cast<size_t>(m_rows);
}

bool DicomImage::LoadPixels(const DicomDataSet& ds, bool headerOnly) {
  m_frames.clear();
  m_currentFrame = 0;
  const DicomElement* pixels = ds.FindElement(0x7FE0, 0x0010);
  if (!pixels || !pixels->HasValue()) {
    // A header-only read leaves the frames to the background loader.
    if (headerOnly) return true;
    return Fail(pixels && pixels->length == kUndefinedLength
                    ? "pixel data is still encapsulated"
                    : "the data set has no pixel data");
  }
  const size_t frameSize = FrameSize();
  if (frameSize == 0) return Fail("frame size is 0");
  const auto bytes = pixels->Bytes();
  const size_t whole = bytes.size() / frameSize;
  if (whole == 0) {
    return Fail("pixel data holds " + std::to_string(bytes.size()) + " bytes, less than one frame of " +
                std::to_string(frameSize));
  }
  m_frames.reserve(whole);
  for (size_t i = 0; i < whole; ++i) {
    if (!AppendRawFrame(bytes.subspan(i * frameSize, frameSize))) break;
  }
  if (m_frames.empty()) return Fail(m_failure.empty() ? "no frame could be converted" : m_failure);
  return true;
}

bool DicomImage::AppendRawFrame(std::span<const uint8_t> raw) {
  if (raw.size() < FrameSize()) return Fail("raw frame is shorter than the frame size");
  FrameBuffer stored;
  if (!ConvertRawFrame(raw.first(FrameSize()), stored)) return false;
  RemapFrame(stored);
  m_frames.push_back(std::move(stored));
  return true;
}

bool DicomImage::SetCurrentFrame(int index) {
  if (index < 0 || index >= FrameCount()) return false;
  if (index != m_currentFrame) {
    m_currentFrame = index;
    InvalidateBitmap();
  }
  return true;
}

const FrameBuffer* DicomImage::Frame(int index) const {
  if (index == -1) index = m_currentFrame;
  if (index < 0 || index >= FrameCount()) return nullptr;
  return &m_frames[static_cast<size_t>(index)];
}

bool DicomImage::ReplaceFrame(int index, std::span<const uint8_t> frame) {
  if (index == -1) index = m_currentFrame;
  if (index < 0 || index >= FrameCount() || frame.size() != StoredFrameSize()) return false;
  m_frames[static_cast<size_t>(index)] = FrameBuffer(frame);
  if (index == m_currentFrame) InvalidateBitmap();
  return true;
}

bool DicomImage::AppendFrame(std::span<const uint8_t> frame) {
  if (frame.size() != StoredFrameSize()) return false;
  m_frames.emplace_back(frame);
  return true;
}

int DicomImage::GetPixel(int x, int y, int frame) const {
  const auto* f = Frame(frame);
  if (!f || x < 0 || y < 0 || x >= m_paddedColumns || y >= m_rows) return -1;
  const size_t at = (static_cast<size_t>(y) * m_paddedColumns + x) * m_bytesPerPixel;
  const uint8_t* p = f->data() + at;
  switch (m_bytesPerPixel) {
    case 1: return p[0];
    case 2: return p[0] | (p[1] << 8);
    default: return (p[2] << 16) | (p[1] << 8) | p[0];
  }
}

bool DicomImage::SetPixel(int x, int y, int value, int frame) {
  if (frame == -1) frame = m_currentFrame;
  if (frame < 0 || frame >= FrameCount() || x < 0 || y < 0 || x >= m_paddedColumns || y >= m_rows) {
    return false;
  }
  auto& f = m_frames[static_cast<size_t>(frame)];
  uint8_t* p = f.data() + (static_cast<size_t>(y) * m_paddedColumns + x) * m_bytesPerPixel;
  for (int i = 0; i < m_bytesPerPixel; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
  if (frame == m_currentFrame) InvalidateBitmap();
  return true;
}

void DicomImage::ToggleInvert() {
  m_invert = !m_invert;
  InvalidateBitmap();
}

const DibBitmap* DicomImage::RenderedBitmap() {
  if (!m_rendered) {
    auto bitmap = CreateBitmap(-1, -1);
    if (!bitmap || !RenderToDib(*bitmap, nullptr)) return nullptr;
    m_rendered = std::move(bitmap);
  }
  return m_rendered.get();
}

void DicomImage::ReadPatientTexts(const DicomDataSet& ds) {
  m_patient.name = Cut(ds.GetText(0x0010, 0x0010), 32);
  m_patient.id = Cut(ds.GetText(0x0010, 0x0020), 20);
  m_patient.sex = ds.GetText(0x0010, 0x0040);
  if (!m_patient.sex.empty()) {
    m_patient.sex = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(m_patient.sex[0]))));
  }
  m_patient.age = Cut(ds.GetText(0x0010, 0x1010), 4);
  m_patient.studyDate = Cut(ds.GetText(0x0008, 0x0020), 10);
  m_patient.studyTime = Cut(ds.GetText(0x0008, 0x0030), 10);
  m_patient.studyId = ds.GetText(0x0020, 0x0010);
  m_patient.studyDescription = Cut(ds.GetText(0x0008, 0x1030), 20);
  m_patient.modality = Cut(ds.GetText(0x0008, 0x0060), 10);
  m_patient.comments = ds.GetText(0x0010, 0x4000);
}

void DicomImage::ReadGeometryKeys(const DicomDataSet& ds) {
  m_geometry.seriesNumber = IntegerText(ds, 0x0020, 0x0011, 0);
  m_geometry.instanceNumber = IntegerText(ds, 0x0020, 0x0013, 0);
  m_geometry.rowSpacing = m_rowSpacing;
  m_geometry.columnSpacing = m_columnSpacing;
  m_geometry.sliceThickness = 0;
  FirstDecimal(ds, 0x0018, 0x0050, m_geometry.sliceThickness);
  m_geometry.sliceLocation = m_geometry.instanceNumber;
  FirstDecimal(ds, 0x0020, 0x1041, m_geometry.sliceLocation);
}

}  // namespace tolmar
