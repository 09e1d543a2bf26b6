#pragma once

#include <cstdint>

namespace tolmar {

// Type codes of the drawing object classes, as stored in annotation records.
namespace draw_type {
constexpr int32_t kObj = 0;
constexpr int32_t kRect = 1;
constexpr int32_t kLine = 2;
constexpr int32_t kRoundRect = 3;
constexpr int32_t kEllipse = 4;
constexpr int32_t kPoly = 5;
constexpr int32_t kText = 6;
constexpr int32_t kArrow = 7;
constexpr int32_t kAngle = 8;
constexpr int32_t kNote = 20;
constexpr int32_t kVLine = 21;
constexpr int32_t kWCRect = 22;
constexpr int32_t kClipRect = 23;
constexpr int32_t kNarrowPoly = 24;
}  // namespace draw_type

// Cursor shown over a selection handle.
enum class HandleCursor { SizeNwSe, SizeNs, SizeNeSw, SizeWe, SizeAll, Cross };

// How an object's handles are drawn: not at all, selected, or active.
enum class TrackerState { Normal = 0, Selected = 1, Active = 2 };

// Image transforms the objects follow.
namespace image_transform {
constexpr int kMirrorLeftRight = 1;
constexpr int kMirrorTopBottom = 2;
constexpr int kRotateLeft = 3;
constexpr int kRotateRight = 4;
}  // namespace image_transform

// Coordinates beyond this magnitude are refused when records are read, so that
// sizes, centres and squared distances never overflow.
constexpr int32_t kMaxCoordinate = 1 << 24;

}  // namespace tolmar
