#pragma once

#include <memory>
#include <string>
#include <vector>

#include "image/ImageSettings.h"

namespace tolmar {

class DicomDataSet;
class DicomImage;

// A comment "(x,y)text" of (0020,4000): the point and the text after the
// closing parenthesis. False when the comment has no such form or no text.
bool ParseCommentAnnotation(const std::string& comment, int& x, int& y, std::string& text);

// Makes the text object of an image comment at (x, y); an empty text or a
// point beyond the coordinate range makes nothing.
void AddCommentText(DicomImage& image, int x, int y, const std::string& text);

// The annotations a data set brings to its image: the stored records of
// (0701,0520) and the comment of (0020,4000) as a text object, unless the
// image took the comment while it was built. Returns the number of objects added.
int LoadImageAnnotations(DicomImage& image, const DicomDataSet& dataSet);

// What the viewer's loader gets for one data set.
struct LoadedObject {
  std::unique_ptr<DicomImage> image;  // null for a presentation state or a failure
  bool presentationState = false;     // the data set was a presentation state (applied or waiting)
  std::string reason;                 // why no image was made, when it failed
};

// The loader's call for every data set: a presentation state is offered to the
// loaded images (and otherwise waits); anything else is built as an image with
// its stored and comment annotations, and the waiting presentation states are
// offered to it. The data set is consumed.
LoadedObject LoadViewerObject(const std::string& path, std::unique_ptr<DicomDataSet> dataSet,
                              int category, const ImageSettings& settings,
                              const std::vector<DicomImage*>& loadedImages,
                              bool headerOnly = false);

}  // namespace tolmar
