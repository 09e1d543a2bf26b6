#pragma once

#include <QRect>

#include "ImageRect.h"

class QPainter;

namespace tolmar {

class DicomImage;

// The view's tools as far as an image reacts to them.
enum class MouseTool { Drawing, Zoom, Pan, Other };
enum class MouseButton { None, Left, Right, Middle };

// Cursor resources the view shows.
namespace mouse_cursor {
constexpr int kZoom = 152;
constexpr int kPan = 197;
constexpr int kPanIdle = 150;
constexpr int kWindow = 252;
}  // namespace mouse_cursor

struct MouseEvent {
  int x = 0;  // cell coordinates
  int y = 0;
  MouseButton button = MouseButton::None;  // pressed or released button; held button on moves
  bool ctrl = false;
};

// What the view does after the image has handled an event.
struct MouseResponse {
  int cursor = 0;  // 0: leave the cursor
  bool capture = false;
  bool releaseCapture = false;
  bool invalidate = false;       // repaint the cell later
  bool paintNow = false;         // paint the cell at once on the window
  bool paintWithoutOffscreen = false;  // ... directly, without annotations ("QuickFlush")
  bool quickRender = false;      // re-render `quickRect` (cell coordinates) straight onto the window
  QRect quickRect;
  bool forwardToDrawingTool = false;  // the press, move or release belongs to the drawing tool
  bool contextMenu = false;           // right release at the press point
};

// Mouse handling of one image: the last point, the press point and the running
// totals (see ImageMouseState) live with the image.
MouseResponse MousePress(DicomImage& image, MouseTool tool, const MouseEvent& event);
MouseResponse MouseMove(DicomImage& image, MouseTool tool, const MouseEvent& event, const ImageRect& cell);
MouseResponse MouseRelease(DicomImage& image, MouseTool tool, const MouseEvent& event);

// Renders the image part under `part` (cell coordinates) again, nearest
// neighbour, and draws it straight onto `painter`: the fast path of a window
// drag. False when nothing of the image lies there.
bool QuickRender(DicomImage& image, QPainter& painter, const ImageRect& cell, const QRect& part);

}  // namespace tolmar
