#pragma once

#include "ColourImage.h"
#include "GreyImage16.h"
#include "GreyImage8.h"

namespace tolmar {

// The image categories the viewer's configuration can assign to a SOP class;
// anything else is category 255.
inline constexpr int kImageCategories[] = {1, 2, 3, 20, 21, 22, 255};
constexpr int kDefaultCategory = 255;
bool IsImageCategory(int category);
// The overlay items shared by the images of one category (255 for unknown ones).
CategoryOverlay& OverlayOfCategory(int category);

// One concrete class per pixel class and category: it fixes the category
// number and points at that category's overlay configuration.
template <int kCategory, class Base>
class CategoryImage final : public Base {
 public:
  explicit CategoryImage(const ImageSettings& settings) : Base(kCategory, settings) {}
  CategoryOverlay& Overlay() const override { return OverlayOfCategory(kCategory); }
};

using GreyImage8Category1 = CategoryImage<1, GreyImage8>;
using GreyImage8Category2 = CategoryImage<2, GreyImage8>;
using GreyImage8Category3 = CategoryImage<3, GreyImage8>;
using GreyImage8Category20 = CategoryImage<20, GreyImage8>;
using GreyImage8Category21 = CategoryImage<21, GreyImage8>;
using GreyImage8Category22 = CategoryImage<22, GreyImage8>;
using GreyImage8Category255 = CategoryImage<255, GreyImage8>;
using GreyImage16Category1 = CategoryImage<1, GreyImage16>;
using GreyImage16Category2 = CategoryImage<2, GreyImage16>;
using GreyImage16Category3 = CategoryImage<3, GreyImage16>;
using GreyImage16Category20 = CategoryImage<20, GreyImage16>;
using GreyImage16Category21 = CategoryImage<21, GreyImage16>;
using GreyImage16Category22 = CategoryImage<22, GreyImage16>;
using GreyImage16Category255 = CategoryImage<255, GreyImage16>;
using ColourImageCategory1 = CategoryImage<1, ColourImage>;
using ColourImageCategory2 = CategoryImage<2, ColourImage>;
using ColourImageCategory3 = CategoryImage<3, ColourImage>;
using ColourImageCategory20 = CategoryImage<20, ColourImage>;
using ColourImageCategory21 = CategoryImage<21, ColourImage>;
using ColourImageCategory22 = CategoryImage<22, ColourImage>;
using ColourImageCategory255 = CategoryImage<255, ColourImage>;

}  // namespace tolmar
