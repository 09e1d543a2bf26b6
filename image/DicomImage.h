#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "DibBitmap.h"
#include "FrameMemory.h"
#include "ImageAnnotations.h"
#include "ImageDisplayState.h"
#include "ImageRect.h"
#include "ImageSettings.h"
#include "ImageSortKeys.h"
#include "Shutter.h"
#include "dicom/ImageInfoTable.h"

namespace tolmar {

class ByteReader;
class ByteWriter;
class DicomDataSet;

// Numbered image commands answered through HasCommand/RunCommand.
namespace image_command {
constexpr int kGetWindow = 21;
constexpr int kSetWindow = 22;
constexpr int kWindowFromRegion = 28;
constexpr int kBrightness = 10;  // colour: brightness; grey: move the centre
constexpr int kContrast = 11;    // colour: contrast; grey: move the width
constexpr int kZoomBy = 12;
constexpr int kPanX = 13;
constexpr int kPanY = 14;
constexpr int kInvert = 15;
constexpr int kReset = 16;
constexpr int kGetZoom = 17;
constexpr int kSetZoom = 18;
constexpr int kGetPan = 19;
constexpr int kSetPan = 20;
constexpr int kTransform = 24;
constexpr int kSetSegments = 25;
constexpr int kGetSegments = 26;
constexpr int kFilter = 29;
}  // namespace image_command

struct DisplaySettings;
struct FilterRecord;

// The argument of a numbered command; each command reads and fills the fields it needs.
struct CommandArgument {
  double width = 0;
  double centre = 0;
  ImageRect rect;
  int value = 0;  // zoom, delta or transform code; results come back here too
  int x = 0;
  int y = 0;
  PaletteSegments* segments = nullptr;  // 25 reads it, 26 appends to it
  const FilterRecord* filter = nullptr;
};

// Pixel type codes of the class choice (the low byte of a class code).
enum class PixelType : int { Unknown = 0, Grey = 1, Colour = 2 };

// Texts the overlay prints about patient and study.
struct PatientTexts {
  std::string name;              // (0010,0010), up to 32 characters
  std::string id;                // (0010,0020), up to 20
  std::string sex;               // (0010,0040), first character upper-cased
  std::string age;               // (0010,1010), up to 4
  std::string studyDate;         // (0008,0020), up to 10
  std::string studyTime;         // (0008,0030), up to 10
  std::string studyId;           // (0020,0010)
  std::string studyDescription;  // (0008,1030), up to 20
  std::string modality;          // (0008,0060), up to 10
  std::string comments;          // (0010,4000)
};

// What the viewer compares when it stacks images.
struct GeometryKeys {
  int seriesNumber = 0;
  int instanceNumber = 0;
  double rowSpacing = 0;
  double columnSpacing = 0;
  double sliceThickness = 0;
  double sliceLocation = 0;  // the instance number when the data set has none
};
bool SameGeometry(const GeometryKeys& a, const GeometryKeys& b);
// Order by slice location: 1 when the first is greater, -1 when smaller, else 0.
int CompareSliceLocation(const GeometryKeys& a, const GeometryKeys& b);

// The overlay items one image category prints, shared by the images of that category.
struct CategoryOverlay {
  bool loaded = false;
  std::vector<ImageInfoItem> items;
};

// The viewer's displayable form of one DICOM object: frames in a normalised
// layout (rows padded to a multiple of 4 pixels), rescale, window and display
// state, rendered into a DibBitmap.
class DicomImage {
 public:
  virtual ~DicomImage();
  DicomImage(const DicomImage&) = delete;
  DicomImage& operator=(const DicomImage&) = delete;

  // Builds the image from a data set: UIDs, attributes, pixels, patient texts,
  // sort and geometry keys, shutter. False with Failure() set when the data set
  // cannot be shown. With `headerOnly` the data set may lack pixel data: the
  // frames then arrive later through AppendRawFrame.
  bool Build(const std::string& path, const DicomDataSet& dataSet, bool headerOnly = false);
  const std::string& Failure() const { return m_failure; }

  // Identity.
  int Category() const { return m_category; }
  virtual int BitsCode() const = 0;
  virtual PixelType Type() const = 0;
  int ClassCode() const { return m_category * 65536 + BitsCode() * 256 + static_cast<int>(Type()); }
  const std::string& Path() const { return m_path; }
  // The viewer's duplicate runs: 0 for an image loaded from its file, else the
  // run that copied it from another image.
  int DuplicateRun() const { return m_duplicateRun; }
  void MarkDuplicate(int run) { m_duplicateRun = run; }
  const std::string& SopClassUid() const { return m_sopClassUid; }
  const std::string& SopInstanceUid() const { return m_sopInstanceUid; }
  bool HasSopClass() const { return m_hasSopClass; }

  // Pixel description.
  int Columns() const { return m_columns; }
  int Rows() const { return m_rows; }
  int PaddedColumns() const { return m_paddedColumns; }
  const std::string& Photometric() const { return m_photometric; }
  bool Inverted() const { return m_invert; }
  int BitsAllocated() const { return m_bitsAllocated; }
  int BitsStored() const { return m_bitsStored; }
  int HighBit() const { return m_highBit; }
  int BytesPerPixel() const { return m_bytesPerPixel; }
  int NumberOfFrames() const { return m_numberOfFrames; }
  const std::string& Modality() const { return m_modality; }
  int DisplayFlags() const { return m_displayFlags; }
  const PatientTexts& Patient() const { return m_patient; }
  const GeometryKeys& Geometry() const { return m_geometry; }
  const SortRecord& Sort() const { return m_sortRecord; }
  CShutter& Shutter() { return m_shutter; }
  const CShutter& Shutter() const { return m_shutter; }
  const ImageSettings& Settings() const { return m_settings; }

  // Frames.
  int FrameCount() const { return static_cast<int>(m_frames.size()); }
  int CurrentFrame() const { return m_currentFrame; }
  bool SetCurrentFrame(int index);
  // The frame by index, the current one for -1; null when there is none.
  const FrameBuffer* Frame(int index = -1) const;
  // Stored-frame size in bytes: rows x paddedColumns x bytesPerPixel.
  size_t StoredFrameSize() const;
  bool ReplaceFrame(int index, std::span<const uint8_t> frame);
  bool AppendFrame(std::span<const uint8_t> frame);
  // Converts one raw frame (as a loader reads it from the file) and appends it.
  bool AppendRawFrame(std::span<const uint8_t> raw);
  // Raw frame size in the data set: what one frame of (7FE0,0010) holds.
  virtual size_t FrameSize() const;

  // Stored value at (x, y) of a frame (colour: 0xRRGGBB); -1 outside the image.
  int GetPixel(int x, int y, int frame = -1) const;
  bool SetPixel(int x, int y, int value, int frame = -1);
  int NumberOfLevels() const { return 1 << m_bitsStored; }

  // Numbered commands.
  virtual bool HasCommand(int number) const;
  virtual bool RunCommand(int number, CommandArgument& argument);

  // Window.
  virtual int LookupTableSize() const { return 1 << m_bitsStored; }
  virtual void ResetWindow() {}
  virtual bool AdjustCentre(int delta) = 0;
  virtual bool AdjustWidth(int delta) = 0;
  virtual void ToggleInvert();
  // Modality value of a stored value for display texts.
  virtual double PixelValueForDisplay(int stored) const { return stored; }

  // Bitmaps. -1 for either dimension means paddedColumns or rows.
  virtual std::unique_ptr<DibBitmap> CreateBitmap(int width, int height) const = 0;
  // Renders the current frame into `bitmap`; `rect` (may be null or empty) limits
  // or scales the source. False when nothing could be rendered.
  virtual bool RenderToDib(DibBitmap& bitmap, const ImageRect* rect) const = 0;
  // The cached bitmap of the whole current frame, rendered on demand.
  const DibBitmap* RenderedBitmap();
  void InvalidateBitmap() {
    m_rendered.reset();
    ++m_renderGeneration;
  }
  // Counts every change of the rendered bitmap, so that the cell's caches know
  // when to follow.
  uint64_t RenderGeneration() const { return m_renderGeneration; }
  // The rendered bitmap for in-place adjustments (colour brightness, contrast,
  // inversion); marks it changed.
  DibBitmap* MutableRenderedBitmap();

  // Display state kept with the image and carried in the state record.
  ImageRect& SourceRect() { return m_sourceRect; }
  ImageRect& CellRect() { return m_cellRect; }
  int& Zoom() { return m_zoom; }
  int& PanX() { return m_panX; }
  int& PanY() { return m_panY; }
  const std::vector<int32_t>& Transforms() const { return m_transforms; }
  // Geometric transform (1 mirror left-right, 2 mirror top-bottom, 3 rotate left,
  // 4 rotate right), recorded in the history. Moving the pixels belongs to the
  // display cell code.
  virtual bool ApplyTransform(int32_t code);

  // --- display cell ------------------------------------------------------
  ImageDisplayState& Display() { return m_display; }
  const ImageDisplayState& Display() const { return m_display; }
  // Every expected frame has arrived (geometric transforms wait for that).
  bool AllFramesLoaded() const { return FrameCount() >= std::max(1, m_numberOfFrames); }
  // Replaces every frame and the pixel layout at once (geometric transforms);
  // false when a frame does not match the new layout.
  bool ReshapeFrames(std::vector<FrameBuffer> frames, int columns, int paddedColumns, int rows);
  // Rebuilds attributes and frames from the image's file, read in full; false
  // (nothing changed) when the file cannot be read or rebuilt.
  bool ReloadFromFile();
  // Settings the next rebuild from the file builds with (the reset command does
  // it for a marked image). Until then the pixels keep matching the settings
  // they were built with, so their range and the lookup table stay in step.
  void SetSettingsForRebuild(const ImageSettings& settings);
  // The overlay texts, orientation labels, series label and scout plane of a
  // freshly built image (DicomImageOverlay.cpp).
  void BuildDisplayTexts(const DicomDataSet& dataSet);
  void BuildOverlayItems(const DicomDataSet& dataSet, const DisplaySettings& settings);
  // Opaque scout-line record carried by the state record until its owner reads it.
  std::vector<uint8_t>& ScoutRecord() { return m_scoutRecord; }
  // Annotation records of an image that has no annotation list (no factory installed).
  std::vector<uint8_t>& AnnotationRecords() { return m_annotationRecords; }
  // The image's drawing objects, made through the installed factory on first use;
  // null when no factory is installed.
  ImageAnnotations* Annotations();
  const ImageAnnotations* Annotations() const { return m_annotations.get(); }
  void SetAnnotations(std::unique_ptr<ImageAnnotations> annotations);
  // SOP instance UIDs of the presentation states already applied to this image.
  std::vector<std::string>& AppliedPresentationStates() { return m_appliedStates; }

  // Pixel spacing in mm: column spacing is the horizontal size of a pixel (second
  // value of (0028,0030)), row spacing the vertical one; 0 when unknown.
  double ColumnSpacing() const { return m_columnSpacing; }
  double RowSpacing() const { return m_rowSpacing; }
  // A line calibration sets both.
  void SetPixelSpacing(double columnSpacing, double rowSpacing);

  // Image state record: written for the film program and read back.
  virtual void WriteStateRecord(ByteWriter& writer) const;
  // The number of bytes consumed, 0 when the record is not for this class or is short.
  virtual size_t ReadStateRecord(std::span<const uint8_t> record);

  // The overlay items of this image's category.
  virtual CategoryOverlay& Overlay() const = 0;

 protected:
  DicomImage(int category, const ImageSettings& settings);

  bool Fail(std::string reason);
  virtual bool LoadAttributes(const DicomDataSet& dataSet);
  virtual bool LoadPixels(const DicomDataSet& dataSet, bool headerOnly);
  virtual bool PhotometricCheck() const = 0;
  virtual int ClassBitsLimit() const = 0;
  // Converts one raw frame of FrameSize() bytes into a stored frame.
  virtual bool ConvertRawFrame(std::span<const uint8_t> raw, FrameBuffer& stored) = 0;
  // Post-processing of a converted frame.
  virtual void RemapFrame(FrameBuffer& /*stored*/) {}
  virtual void WriteWindowState(ByteWriter& /*writer*/) const {}
  virtual bool ReadWindowState(ByteReader& /*reader*/) { return true; }
  virtual size_t WindowStateSize() const { return 0; }
  void ReadPatientTexts(const DicomDataSet& dataSet);
  void ReadGeometryKeys(const DicomDataSet& dataSet);

  int m_category = 255;
  ImageSettings m_settings;
  std::optional<ImageSettings> m_rebuildSettings;
  std::string m_failure;
  std::string m_path;
  int m_duplicateRun = 0;
  std::string m_sopClassUid;
  std::string m_sopInstanceUid;
  bool m_hasSopClass = false;

  int m_columns = 0;
  int m_rows = 0;
  int m_paddedColumns = 0;
  std::string m_photometric;
  bool m_invert = false;
  int m_bitsAllocated = 0;
  int m_bitsStored = 0;
  int m_highBit = 0;
  int m_bytesPerPixel = 1;
  double m_rowSpacing = 0;
  double m_columnSpacing = 0;
  int m_numberOfFrames = 1;
  std::string m_modality;
  int m_displayFlags = 0;
  bool m_hasDefaultCentre = false;
  bool m_hasDefaultWidth = false;
  double m_fileCentre = 0;
  double m_fileWidth = 0;
  PatientTexts m_patient;
  GeometryKeys m_geometry;
  SortRecord m_sortRecord;
  CShutter m_shutter{this};

  std::vector<FrameBuffer> m_frames;
  int m_currentFrame = 0;
  std::unique_ptr<DibBitmap> m_rendered;

  ImageRect m_sourceRect;
  ImageRect m_cellRect;
  int m_zoom = 0;
  int m_panX = 0;
  int m_panY = 0;
  std::vector<int32_t> m_transforms;
  std::vector<uint8_t> m_scoutRecord;
  std::vector<uint8_t> m_annotationRecords;
  std::unique_ptr<ImageAnnotations> m_annotations;
  std::vector<std::string> m_appliedStates;
  uint64_t m_renderGeneration = 0;
  ImageDisplayState m_display;
};

// Reads the first number of a multi-valued decimal text ("40\\-600" gives 40).
bool FirstDecimal(const DicomDataSet& dataSet, uint16_t group, uint16_t element, double& value);

}  // namespace tolmar
