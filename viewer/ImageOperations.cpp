#include "viewer/ImageOperations.h"

#include <algorithm>

#include "viewer/CellPaint.h"

namespace tolmar::viewer {
namespace {

constexpr int kMinZoom = 2;
constexpr int kMaxZoom = 800;

int ClampZoom(int zoom) {
  if (zoom >= kMaxZoom) return kMaxZoom;
  if (zoom < 3) return kMinZoom;
  return zoom;
}

void EnsurePanCentre(DicomImage& image) {
  if (image.PanX() == 0 && image.PanY() == 0) {
    image.PanX() = image.PaddedColumns() / 2;
    image.PanY() = image.Rows() / 2;
  }
}

bool MovePan(DicomImage& image, int dx, int dy) {
  EnsurePanCentre(image);
  const int oldX = image.PanX();
  const int oldY = image.PanY();
  // Dragging the picture right shows what lies left of the centre.
  image.PanX() = std::clamp(oldX - dx, 0, image.PaddedColumns());
  image.PanY() = std::clamp(oldY - dy, 0, image.Rows());
  return image.PanX() != oldX || image.PanY() != oldY;
}

}  // namespace

bool ImageSupportsOperation(const DicomImage& image, int code) {
  switch (code) {
    case operation::kGetWindow:
    case operation::kSetWindow:
    case operation::kAdaptiveWindowPossible:
    case operation::kSetPalette:
    case operation::kGetPalette:
      return image.HasCommand(code);
    default:
      return true;
  }
}

bool RunImageOperation(DicomImage& image, int code, OperationArgument& a) {
  using namespace operation;
  // Display-state commands the image carries out itself.
  switch (code) {
    case kZoomBy:
    case kPanXBy:
    case kPanYBy:
    case kGetZoom:
    case kSetZoom:
    case kGetPan:
    case kSetPan:
    case kTransform:
      if (image.HasCommand(code)) {
        CommandArgument argument;
        argument.value = a.value;
        argument.x = a.x;
        argument.y = a.y;
        const bool done = image.RunCommand(code, argument);
        a.value = argument.value;
        a.x = argument.x;
        a.y = argument.y;
        return done;
      }
      break;
    default:
      break;
  }
  switch (code) {
    case kCentreBy:
    case kWidthBy: {
      // Grey images move their window; colour images change the brightness
      // and contrast of their rendered bitmap.
      CommandArgument argument;
      argument.value = a.value;
      return image.RunCommand(code, argument);
    }
    case kZoomBy: {
      const int from = image.Zoom() == 0 ? CellFitZoom(image) : image.Zoom();
      const int to = ClampZoom(from + a.value);
      image.Zoom() = to;
      return to != from;
    }
    case kPanXBy:
      return MovePan(image, a.value, 0);
    case kPanYBy:
      return MovePan(image, 0, a.value);
    case kInvert: {
      CommandArgument argument;
      image.RunCommand(code, argument);
      image.InvalidateBitmap();
      return true;
    }
    case kReset: {
      // The image restores its window and palette and, when filters or
      // transforms changed its pixels, reads its file again; the view's own
      // zoom and position go back to the fitted, centred picture either way.
      CommandArgument argument;
      const bool restored = image.RunCommand(code, argument);
      image.Zoom() = 0;
      image.PanX() = image.PaddedColumns() / 2;
      image.PanY() = image.Rows() / 2;
      image.InvalidateBitmap();
      return restored;
    }
    case kGetZoom:
      a.value = image.Zoom() == 0 ? CellFitZoom(image) : image.Zoom();
      return true;
    case kSetZoom: {
      const int zoom = a.value == 0 ? 0 : ClampZoom(a.value);
      const bool changed = image.Zoom() != zoom;
      image.Zoom() = zoom;
      return changed;
    }
    case kGetPan:
      EnsurePanCentre(image);
      a.x = image.PanX();
      a.y = image.PanY();
      return true;
    case kSetPan: {
      const int x = std::clamp(a.x, 0, image.PaddedColumns());
      const int y = std::clamp(a.y, 0, image.Rows());
      const bool changed = x != image.PanX() || y != image.PanY();
      image.PanX() = x;
      image.PanY() = y;
      return changed;
    }
    case kGetWindow:
    case kSetWindow: {
      CommandArgument argument;
      argument.width = a.width;
      argument.centre = a.centre;
      const bool done = image.HasCommand(code) && image.RunCommand(code, argument);
      a.width = argument.width;
      a.centre = argument.centre;
      if (done && code == kSetWindow) image.InvalidateBitmap();
      return done;
    }
    case kTransform:
      if (a.value < 1 || a.value > 4) return false;
      return image.ApplyTransform(a.value);
    case kDefaultWindow:
      image.ResetWindow();
      image.InvalidateBitmap();
      return true;
    case kAdaptiveWindowPossible:
      return image.HasCommand(code);
    case kSetPalette:
    case kGetPalette: {
      if (!image.HasCommand(code) || !a.segments) return false;
      CommandArgument argument;
      argument.segments = a.segments;
      return image.RunCommand(code, argument);
    }
    case kFilter: {
      if (!a.filter) return false;
      CommandArgument argument;
      argument.filter = a.filter;
      const bool done = image.RunCommand(code, argument);
      if (done) image.InvalidateBitmap();
      return done;
    }
    default:
      return false;
  }
}

}  // namespace tolmar::viewer
