// Annotation records (the (0701,0520) blob) and the object archive.
#include <gtest/gtest.h>

#include <limits>

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

using test::RecordBuilder;

struct BlobCase {
  const char* name;
  std::vector<uint8_t> blob;
  std::vector<int32_t> types;  // classes loaded, in order
};

std::vector<BlobCase> BlobCases() {
  std::vector<BlobCase> cases;
  cases.push_back({"RectThenUnknownTypeStopsAfterRect",
                   RecordBuilder().Head(1, 1, 2, 3, 4).Head(21, 0, 0, 5, 5).Bytes(),
                   {1}});
  cases.push_back({"EveryLoadableClass",
                   RecordBuilder()
                       .Head(1, 0, 0, 5, 5)
                       .Head(2, 0, 0, 5, 5)
                       .Head(3, 0, 0, 5, 5)
                       .I32(16)
                       .I32(16)
                       .Head(4, 0, 0, 5, 5)
                       .Head(5, 0, 0, 5, 5)
                       .I32(1)
                       .I32(10)
                       .I32(3)
                       .I32(4)
                       .Head(6, 0, 0, 5, 5)
                       .I32(2)
                       .Text("hi")
                       .Head(7, 0, 0, 5, 5)
                       .Bytes(),
                   {1, 2, 3, 4, 5, 6, 7}});
  cases.push_back({"PolygonCountBeyondBytesStopsThere",
                   RecordBuilder()
                       .Head(2, 0, 0, 1, 1)
                       .Head(5, 0, 0, 5, 5)
                       .I32(1000)
                       .I32(1000)
                       .I32(1)
                       .I32(1)
                       .Bytes(),
                   {2}});
  cases.push_back({"NegativePolygonCountStops",
                   RecordBuilder().Head(5, 0, 0, 5, 5).I32(-1).I32(10).Bytes(),
                   {}});
  cases.push_back(
      {"CapacityBelowCountStops",
       RecordBuilder().Head(5, 0, 0, 5, 5).I32(2).I32(1).I32(1).I32(1).I32(2).I32(2).Bytes(),
       {}});
  cases.push_back({"HugePolygonCountDoesNotAllocate",
                   RecordBuilder().Head(5, 0, 0, 5, 5).I32(0x7FFFFFFF).I32(0x7FFFFFFF).Bytes(),
                   {}});
  cases.push_back(
      {"TextLengthPastEndStops",
       RecordBuilder().Head(1, 0, 0, 2, 2).Head(6, 0, 0, 5, 5).I32(100).Text("short").Bytes(),
       {1}});
  cases.push_back(
      {"NegativeTextLengthStops", RecordBuilder().Head(6, 0, 0, 5, 5).I32(-4).Bytes(), {}});
  cases.push_back(
      {"OverflowingCoordinateStops",
       RecordBuilder()
           .Head(3, 0, 0, 5, 5)
           .I32(1)
           .I32(1)
           .Head(2, 0, std::numeric_limits<int32_t>::min(), 5, std::numeric_limits<int32_t>::max())
           .Bytes(),
       {3}});
  cases.push_back({"OverflowingPolygonPointStops",
                   RecordBuilder().Head(5, 0, 0, 5, 5).I32(1).I32(1).I32(0x7FFFFFF0).I32(0).Bytes(),
                   {}});
  cases.push_back(
      {"ShortRecordStops", RecordBuilder().Head(1, 0, 0, 5, 5).I32(1).I32(0).Bytes(), {1}});
  cases.push_back({"OneTrailingByteIsIgnored",
                   [] {
                     auto b = RecordBuilder().Head(7, 0, 0, 5, 5).Bytes();
                     b.push_back(9);
                     return b;
                   }(),
                   {7}});
  cases.push_back({"EmptyBlob", {}, {}});
  return cases;
}

class BlobLoading : public ::testing::TestWithParam<BlobCase> {};

TEST_P(BlobLoading, LoadsTheRecordsBeforeTheFirstBadOne) {
  auto image = test::GreyImageOf(16, 16);
  ASSERT_TRUE(image);
  DrawObjList& list = DrawObjList::Of(*image);
  list.LoadBlob(GetParam().blob);
  std::vector<int32_t> types;
  for (const auto& o : list.Objects()) types.push_back(o->Type());
  EXPECT_EQ(types, GetParam().types);
  for (const auto& o : list.Objects()) EXPECT_EQ(o->Owner(), image.get());
}

INSTANTIATE_TEST_SUITE_P(Blobs, BlobLoading, ::testing::ValuesIn(BlobCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AnnotationRecord, RecordSizesAndFieldOrder) {
  struct Case {
    std::unique_ptr<CDrawObj> object;
    std::vector<uint8_t> expected;
  };
  auto poly = std::make_unique<CDrawPoly>();
  poly->SetPoints({{1, 2}, {3, 4}, {5, 6}});
  auto empty = std::make_unique<CDrawText>();
  auto text = std::make_unique<CDrawText>();
  text->SetText("a\r\nb", false);
  auto rect = std::make_unique<CDrawRect>();
  rect->MoveTo({10, 20, 30, 40}, false);
  std::vector<Case> cases;
  cases.push_back({std::move(poly), RecordBuilder()
                                        .Head(5, 2, 1, 6, 5)
                                        .I32(3)
                                        .I32(10)
                                        .I32(1)
                                        .I32(2)
                                        .I32(3)
                                        .I32(4)
                                        .I32(5)
                                        .I32(6)
                                        .Bytes()});
  cases.push_back({std::move(empty), RecordBuilder().Head(6, 0, 0, 0, 0).I32(0).Bytes()});
  cases.push_back(
      {std::move(text), RecordBuilder().Head(6, 0, 0, 0, 0).I32(4).Text("a\r\nb").Bytes()});
  cases.push_back({std::move(rect), RecordBuilder().Head(1, 20, 10, 40, 30).Bytes()});
  for (auto& c : cases) {
    ByteWriter w;
    const int written = c.object->SaveRecord(w);
    EXPECT_EQ(w.Data(), c.expected) << "type " << c.object->Type();
    EXPECT_EQ(written, static_cast<int>(c.expected.size()));
    auto copy = CreateDrawObj(c.object->Type());
    EXPECT_EQ(copy->LoadRecord(nullptr, c.expected), static_cast<int>(c.expected.size()));
  }
}

TEST(AnnotationRecord, EmptyTextConsumes24BytesAndPolygonOf3Points52) {
  CDrawText text;
  EXPECT_EQ(text.LoadRecord(nullptr,
                            RecordBuilder().Head(6, 1, 1, 2, 2).I32(0).Head(1, 0, 0, 0, 0).Bytes()),
            24);
  EXPECT_EQ(text.Text(), "");
  CDrawPoly poly;
  EXPECT_EQ(poly.LoadRecord(nullptr, RecordBuilder()
                                         .Head(5, 0, 0, 9, 9)
                                         .I32(3)
                                         .I32(10)
                                         .I32(0)
                                         .I32(0)
                                         .I32(9)
                                         .I32(0)
                                         .I32(9)
                                         .I32(9)
                                         .Bytes()),
            52);
  EXPECT_EQ(poly.Points().size(), 3u);
  EXPECT_EQ(poly.Capacity(), 10);
}

TEST(AnnotationRecord, TypeMismatchFails) {
  CDrawLine line;
  EXPECT_EQ(line.LoadRecord(nullptr, RecordBuilder().Head(1, 0, 0, 5, 5).Bytes()), -1);
}

TEST(AnnotationRecord, AnglesWindowAndClipRectanglesAreNotSaved) {
  auto image = test::GreyImageOf(32, 32);
  DrawObjList& list = DrawObjList::Of(*image);
  auto angle = std::make_unique<CDrawAngle>(image.get(), ImageRect{1, 1, 1, 1});
  angle->SetPoints({{1, 1}, {5, 5}, {9, 1}});
  list.Add(std::move(angle));
  list.Add(std::make_unique<CDrawWCRect>(image.get(), ImageRect{0, 0, 8, 8}));
  list.Add(std::make_unique<CDrawClipRect>(image.get(), ImageRect{0, 0, 16, 16}));
  EXPECT_TRUE(list.SaveBlob().blob.empty());
  list.Add(std::make_unique<CDrawEllipse>(image.get(), ImageRect{2, 2, 6, 6}));
  EXPECT_EQ(list.SaveBlob().blob, RecordBuilder().Head(4, 2, 2, 6, 6).Bytes());
}

TEST(AnnotationRecord, ObjectsTheLoaderCannotReadGoLastSoLaterOnesSurvive) {
  auto image = test::GreyImageOf(32, 32);
  DrawObjList& list = DrawObjList::Of(*image);
  list.Add(std::make_unique<CDrawVLine>(image.get(), ImageRect{0, 0, 10, 10}));
  list.Add(std::make_unique<CDrawRect>(image.get(), ImageRect{1, 1, 5, 5}));
  const auto blob = list.SaveBlob().blob;
  auto other = test::GreyImageOf(32, 32);
  DrawObjList& copy = DrawObjList::Of(*other);
  copy.LoadBlob(blob);
  ASSERT_EQ(copy.Size(), 1u);
  EXPECT_EQ(copy.At(0)->Type(), draw_type::kRect);
}

TEST(AnnotationRecord, SavingStopsAtWholeRecordsBelowTheLimitAndCountsTheRest) {
  auto image = test::GreyImageOf(32, 32);
  DrawObjList& list = DrawObjList::Of(*image);
  // 1000 texts of 24 + 100 bytes: 264 fit in 32768 bytes (264 x 124 = 32736).
  for (int i = 0; i < 1000; ++i) {
    auto text = std::make_unique<CDrawText>(image.get(), ImageRect{i, 0, i + 1, 1});
    text->SetText(std::string(100, 'x'), false);
    list.Add(std::move(text));
  }
  // A small record still fits after the big ones.
  list.Add(std::make_unique<CDrawArrow>(image.get(), ImageRect{0, 0, 3, 3}));
  const SavedAnnotations saved = list.SaveBlob();
  EXPECT_EQ(saved.blob.size(), 264u * 124u + 20u);
  EXPECT_LE(saved.blob.size(), kMaxAnnotationBlob);
  EXPECT_EQ(saved.omitted, 1000 - 264);
  auto other = test::GreyImageOf(32, 32);
  EXPECT_EQ(DrawObjList::Of(*other).LoadBlob(saved.blob), 265);
}

TEST(ObjectArchive, RoundTripKeepsEveryClassWithNotes) {
  auto image = test::GreyImageOf(64, 64, 8, 7);
  DrawObjList& list = DrawObjList::Of(*image);
  list.Add(std::make_unique<CDrawRect>(image.get(), ImageRect{1, 2, 11, 12}));
  list.Add(std::make_unique<CDrawLine>(image.get(), ImageRect{30, 5, 3, 40}));
  list.Add(std::make_unique<CDrawRoundRect>(image.get(), ImageRect{5, 5, 25, 25}));
  list.Add(std::make_unique<CDrawEllipse>(image.get(), ImageRect{6, 6, 20, 30}));
  auto poly = std::make_unique<CDrawPoly>(image.get(), ImageRect{});
  poly->SetPoints({{1, 1}, {20, 3}, {10, 30}});
  list.Add(std::move(poly));
  auto text = std::make_unique<CDrawText>(image.get(), ImageRect{4, 4, 5, 5});
  text->SetText(std::string(300, 'y'), false);  // a long archive string
  list.Add(std::move(text));
  list.Add(std::make_unique<CDrawArrow>(image.get(), ImageRect{9, 9, 1, 1}));
  auto angle = std::make_unique<CDrawAngle>(image.get(), ImageRect{});
  angle->SetPoints({{0, 0}, {10, 0}, {10, 10}});
  list.Add(std::move(angle));
  list.Add(std::make_unique<CDrawVLine>(image.get(), ImageRect{0, 0, 0, 60}));
  list.Add(std::make_unique<CDrawWCRect>(image.get(), ImageRect{2, 2, 8, 8}));
  auto narrow = std::make_unique<CDrawNarrowPoly>(image.get(), ImageRect{});
  narrow->SetPoints({{3, 3}, {30, 30}});
  list.Add(std::move(narrow));

  ByteWriter w;
  list.Serialize(w);
  auto other = test::GreyImageOf(64, 64, 8, 7);
  DrawObjList& copy = DrawObjList::Of(*other);
  ByteReader r(w.Data());
  ASSERT_TRUE(copy.Deserialize(r));
  EXPECT_EQ(r.Remaining(), 0u);
  ASSERT_EQ(copy.Size(), list.Size());
  for (size_t i = 0; i < list.Size(); ++i) {
    ByteWriter a, b;
    list.At(i)->Serialize(a);
    copy.At(i)->Serialize(b);
    EXPECT_EQ(a.Data(), b.Data()) << "object " << i;
    EXPECT_EQ(copy.At(i)->Owner(), other.get());
    if (copy.At(i)->Note()) {
      EXPECT_EQ(copy.At(i)->Note()->Owner(), other.get());
    }
  }
  EXPECT_EQ(copy.At(0)->Note()->Text(), list.At(0)->Note()->Text());

  // Cut anywhere, the archive fails without crashing and keeps what came before.
  for (size_t cut = 0; cut < w.Size(); cut += 7) {
    auto third = test::GreyImageOf(8, 8);
    std::span<const uint8_t> part(w.Data().data(), cut);
    ByteReader shortReader(part);
    EXPECT_FALSE(DrawObjList::Of(*third).Deserialize(shortReader));
  }
}

}  // namespace
}  // namespace tolmar
