#pragma once

#include <string>

namespace tolmar {

class DicomImage;

// An image comment (0020,4000) of the form "(x,y)text" becomes a text drawing
// object at (x, y). The annotation library installs the handler that makes
// it; without one the comment is left alone.
using ImageCommentHandler = void (*)(DicomImage& image, int x, int y, const std::string& text);
void SetImageCommentHandler(ImageCommentHandler handler);
ImageCommentHandler GetImageCommentHandler();

// Splits "(x,y)text"; false when the comment has no such prefix.
bool ParseImageComment(const std::string& comment, int& x, int& y, std::string& text);

}  // namespace tolmar
