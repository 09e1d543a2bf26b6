// The image state record carries the annotation records: reading it back
// gives the image the same objects.
#include <gtest/gtest.h>

#include "AnnotationFixtures.h"
#include "annotation/DrawEllipse.h"
#include "annotation/DrawLine.h"
#include "annotation/DrawObjList.h"
#include "annotation/DrawPoly.h"
#include "annotation/DrawRect.h"
#include "annotation/DrawRoundRect.h"
#include "annotation/DrawText.h"
#include "image/ByteWriter.h"

namespace tolmar {
namespace {

void AddEveryClass(DicomImage& image) {
  DrawObjList& list = DrawObjList::Of(image);
  list.Add(std::make_unique<CDrawRect>(&image, ImageRect{1, 2, 11, 12}));
  list.Add(std::make_unique<CDrawLine>(&image, ImageRect{30, 5, 3, 40}));
  auto round = std::make_unique<CDrawRoundRect>(&image, ImageRect{5, 5, 25, 25});
  round->MoveHandleTo(9, {20, 20});
  list.Add(std::move(round));
  list.Add(std::make_unique<CDrawEllipse>(&image, ImageRect{6, 6, 20, 30}));
  auto poly = std::make_unique<CDrawPoly>(&image, ImageRect{});
  poly->SetPoints({{1, 1}, {20, 3}, {10, 30}});
  list.Add(std::move(poly));
  auto angle = std::make_unique<CDrawAngle>(&image, ImageRect{});
  angle->SetPoints({{0, 0}, {10, 0}, {10, 10}});
  list.Add(std::move(angle));
  auto text = std::make_unique<CDrawText>(&image, ImageRect{4, 4, 5, 5});
  text->SetText("first\r\nsecond", false);
  list.Add(std::move(text));
  list.Add(std::make_unique<CDrawVLine>(&image, ImageRect{0, 0, 0, 60}));
  list.Add(std::make_unique<CDrawWCRect>(&image, ImageRect{2, 2, 8, 8}));
  list.Add(std::make_unique<CDrawClipRect>(&image, ImageRect{0, 0, 32, 32}));
  auto narrow = std::make_unique<CDrawNarrowPoly>(&image, ImageRect{});
  narrow->SetPoints({{3, 3}, {30, 30}});
  list.Add(std::move(narrow));
  list.Add(std::make_unique<CDrawArrow>(&image, ImageRect{9, 9, 1, 1}));
}

std::vector<std::vector<uint8_t>> RecordsOf(DicomImage& image) {
  std::vector<std::vector<uint8_t>> records;
  for (const auto& o : DrawObjList::Of(image).Objects()) {
    ByteWriter w;
    o->SaveRecord(w);
    records.push_back(w.Take());
  }
  return records;
}

TEST(ImageStateRecord, RoundTripRestoresTheSavedObjects) {
  auto image = test::GreyImageOf(64, 64, 16, 100, "0.5\\0.5");
  AddEveryClass(*image);
  ByteWriter w;
  image->WriteStateRecord(w);

  auto copy = test::GreyImageOf(64, 64, 16, 100, "0.5\\0.5");
  DrawObjList::Of(*copy).Add(std::make_unique<CDrawRect>(copy.get(), ImageRect{50, 50, 60, 60}));
  ASSERT_EQ(copy->ReadStateRecord(w.Data()), w.Size());

  // Angles, window and clip rectangles are not saved; the dotted line and the
  // narrowing polygon come last and end the loading.
  std::vector<int32_t> types;
  for (const auto& o : DrawObjList::Of(*copy).Objects()) types.push_back(o->Type());
  EXPECT_EQ(types, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7}));
  auto expected = RecordsOf(*image);
  auto actual = RecordsOf(*copy);
  std::vector<std::vector<uint8_t>> loadable;
  for (size_t i = 0; i < expected.size(); ++i) {
    const int32_t type = DrawObjList::Of(*image).At(i)->Type();
    if (type >= 1 && type <= 7) loadable.push_back(expected[i]);
  }
  EXPECT_EQ(actual, loadable);
  for (const auto& o : DrawObjList::Of(*copy).Objects()) EXPECT_EQ(o->Owner(), copy.get());
  EXPECT_EQ(DrawObjList::Of(*copy).At(0)->Note()->Text(),
            DrawObjList::Of(*image).At(0)->Note()->Text());

  // From then on the record reproduces itself.
  ByteWriter again;
  copy->WriteStateRecord(again);
  auto third = test::GreyImageOf(64, 64, 16, 100, "0.5\\0.5");
  ASSERT_EQ(third->ReadStateRecord(again.Data()), again.Size());
  ByteWriter last;
  third->WriteStateRecord(last);
  EXPECT_EQ(last.Data(), again.Data());
}

TEST(ImageStateRecord, EmptyAnnotationRecordLeavesNoObjects) {
  auto image = test::GreyImageOf(16, 16);
  ByteWriter w;
  image->WriteStateRecord(w);
  auto copy = test::GreyImageOf(16, 16);
  DrawObjList::Of(*copy).Add(std::make_unique<CDrawEllipse>(copy.get(), ImageRect{1, 1, 5, 5}));
  ASSERT_GT(copy->ReadStateRecord(w.Data()), 0u);
  EXPECT_TRUE(DrawObjList::Of(*copy).IsEmpty());
}

TEST(ClipRectangle, SetsTheVisibleRectangleAndRestoresItWhenRemoved) {
  auto image = test::GreyImageOf(40, 50);  // 52 padded columns
  DrawObjList& list = DrawObjList::Of(*image);
  CDrawObj* clip = list.Add(std::make_unique<CDrawClipRect>(image.get(), ImageRect{30, 20, 10, 5}));
  EXPECT_EQ(image->SourceRect(), (ImageRect{10, 5, 30, 20}));
  EXPECT_EQ(clip->Note()->Text(), "(  10,   5)\r\n(  30,  20)\r\nw:20, h:15");
  clip->MoveTo({0, 0, 8, 8}, true);
  EXPECT_EQ(image->SourceRect(), (ImageRect{0, 0, 8, 8}));
  ASSERT_TRUE(list.Remove(clip));
  EXPECT_EQ(image->SourceRect(), (ImageRect{0, 0, 52, 40}));
}

}  // namespace
}  // namespace tolmar
