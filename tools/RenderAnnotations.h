#pragma once

#include <string>

namespace tolmar {
class DibBitmap;
class DicomDataSet;
class DicomImage;
}  // namespace tolmar

namespace tolmar::tool {

// `tolmar render --annotations`: the image gets the drawing objects its data
// set stores ((0701,0520) and the (0020,4000) comment); cell painting then
// draws them, and the bare bitmap gets them painted on top.
void LoadRenderAnnotations(DicomImage& image, const DicomDataSet& dataSet);
// Paints the image's drawing objects over the rendered bitmap (scaled to the
// bitmap's size) and writes it as PNG or BMP by `extension`. Answers an exit code.
int WriteAnnotatedBitmap(DicomImage& image, const DibBitmap& bitmap, const std::string& output,
                         const std::string& extension);

}  // namespace tolmar::tool
