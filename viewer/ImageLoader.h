#pragma once

#include <functional>
#include <memory>
#include <string>

#include "image/DicomImage.h"
#include "image/ImageFactory.h"
#include "image/ImageSettings.h"

namespace tolmar {
class DicomDataSet;
}

namespace tolmar::viewer {

// What loading one file gave.
enum class LoadOutcome { Image, PresentationState, Failed };

// Applies a grey-scale softcopy presentation state to the images already
// loaded. Installed by the annotation code; without it such files are skipped.
// Always called on the user-interface thread, which owns the images.
using PresentationStateHook = std::function<void(const DicomDataSet& state)>;

struct LoadedFile {
  LoadedFile();
  ~LoadedFile();
  LoadedFile(LoadedFile&&) noexcept;
  LoadedFile& operator=(LoadedFile&&) noexcept;

  LoadOutcome outcome = LoadOutcome::Failed;
  std::unique_ptr<DicomImage> image;
  std::unique_ptr<DicomDataSet> presentationState;  // for LoadOutcome::PresentationState
  std::string reason;                               // why nothing was shown
};

inline constexpr const char* kPresentationStateSopClass = "1.2.840.10008.5.1.4.1.1.11.1";

// Reads one file into an image: a path containing ".JPG" (any case) as a
// baseline JPEG made into an 8-bit RGB data set, anything else as a DICOM
// file. A presentation state makes no image; its data set is handed back for
// the caller to apply. The image variant is chosen by photometric kind, bits
// allocated and the SOP class category; 12-bit and 16-bit colour images are
// refused. Safe on a worker thread: it touches nothing shared.
LoadedFile LoadImageFile(const std::string& path, const SopClassCategories& categories,
                         const ImageSettings& settings);

// The in-memory data set the viewer makes of a JPEG file; null when the file
// is not a readable JPEG.
std::unique_ptr<DicomDataSet> ReadJpegAsDataSet(const std::string& path, std::string& reason);

bool IsPresentationState(const DicomDataSet& dataSet);

}  // namespace tolmar::viewer
