// Image sort keys (value and image comparison, cell sorting, groups) and the
// display shutter read from a data set.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ImageTestData.h"
#include "image/ByteWriter.h"
#include "image/ImageFactory.h"
#include "image/ImageSortKeys.h"
#include "image/Shutter.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

SortRecord RecordOf(const std::string& patient, const std::string& series, const std::string& image,
                    const SortKeyList& keys = SortKeyList()) {
  ImageDataSet d;
  if (!patient.empty()) d.Text(0x0010, 0x0020, vr::LO, patient);
  if (!series.empty()) d.Text(0x0020, 0x0011, vr::IS, series);
  if (!image.empty()) d.Text(0x0020, 0x0013, vr::IS, image);
  return ReadSortRecord(d.Get(), keys);
}

SortValue Value(uint16_t vrCode, const std::string& text) {
  return SortValue{true, vrCode, std::vector<uint8_t>(text.begin(), text.end())};
}

SortValue Binary(uint16_t vrCode, std::vector<uint8_t> bytes) { return SortValue{true, vrCode, std::move(bytes)}; }

TEST(SortKeys, StartingListHasThreeRecords) {
  const SortKeyList keys;
  ASSERT_EQ(keys.Keys().size(), 3u);
  EXPECT_EQ(keys.Keys()[0].name, "Patient Name");
  EXPECT_EQ(keys.Keys()[0].element, 0x0020) << "reads the patient ID";
  EXPECT_EQ(keys.SortKeyAt(1)->id, 7);
  EXPECT_EQ(keys.SortKeyAt(2)->id, 20);
  EXPECT_EQ(keys.GroupKeyAt(1)->id, 2);
  EXPECT_EQ(keys.SortKeyAt(3), nullptr);
}

struct ValueCase {
  const char* name;
  SortValue a, b;
  int expected;
};

class SortValueComparison : public testing::TestWithParam<ValueCase> {};

TEST_P(SortValueComparison, FollowsTheValueRepresentation) {
  EXPECT_EQ(CompareSortValues(GetParam().a, GetParam().b), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortValueComparison,
    testing::Values(ValueCase{"IntegerNotText", Value(vr::IS, "2 "), Value(vr::IS, "10"), -1},
                    ValueCase{"NegativeInteger", Value(vr::IS, "-5"), Value(vr::IS, "3"), -1},
                    ValueCase{"Decimal", Value(vr::DS, "10.5"), Value(vr::DS, "9.75"), 1},
                    ValueCase{"DecimalEqual", Value(vr::DS, "1.0"), Value(vr::DS, "1"), 0},
                    ValueCase{"Text", Value(vr::LO, "B"), Value(vr::LO, "A"), 1},
                    ValueCase{"TextTrailingBlank", Value(vr::LO, "A "), Value(vr::LO, "A"), 0},
                    ValueCase{"Date", Value(vr::DA, "20240101"), Value(vr::DA, "20231231"), 1},
                    ValueCase{"Time", Value(vr::TM, "091500"), Value(vr::TM, "101500"), -1},
                    ValueCase{"UnsignedShort", Binary(vr::US, {0x00, 0x01}), Binary(vr::US, {0xFF, 0x00}), 1},
                    ValueCase{"SignedLong", Binary(vr::SL, {0xFF, 0xFF, 0xFF, 0xFF}), Binary(vr::SL, {1, 0, 0, 0}), -1},
                    ValueCase{"UnsignedLong", Binary(vr::UL, {0xFF, 0xFF, 0xFF, 0xFF}), Binary(vr::UL, {1, 0, 0, 0}), 1},
                    ValueCase{"ShortBinaryCountsAsMissing", Binary(vr::UL, {1}), Binary(vr::UL, {1, 0, 0, 0}), -2},
                    ValueCase{"FirstMissing", SortValue{false, vr::IS, {}}, Value(vr::IS, "1"), -2},
                    ValueCase{"SecondMissing", Value(vr::IS, "1"), SortValue{false, vr::IS, {}}, -2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SortKeys, SeriesThenImageNumbersOrderNumerically) {
  const SortKeyList keys;
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "2", "50"), RecordOf("P", "10", "1"), keys), -1);
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "3", "9"), RecordOf("P", "3", "10"), keys), -1);
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "3", "10"), RecordOf("P", "3", "10"), keys), 0);
}

TEST(SortKeys, MissingValueMakesTheFirstImageSmallerWhateverTheDirection) {
  SortKeyList keys;
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "", "5"), RecordOf("P", "1", "5"), keys), -2);
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "1", "5"), RecordOf("P", "", "5"), keys), -2);
  keys.SetSortOrder({{7, false}, {20, true}});
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "1", "5"), RecordOf("P", "", "5"), keys), -2);
  EXPECT_EQ(CompareSortRecords(RecordOf("P", "1", "5"), RecordOf("P", "2", "5"), keys), 1);
}

TEST(SortKeys, EmptyOrMismatchedRecordsCompareGreater) {
  const SortKeyList keys;
  EXPECT_EQ(CompareSortRecords({}, RecordOf("P", "1", "1"), keys), 1);
  SortRecord shorter = RecordOf("P", "1", "1");
  shorter.pop_back();
  EXPECT_EQ(CompareSortRecords(shorter, RecordOf("P", "1", "1"), keys), 1);
}

TEST(SortKeys, RenumberingFollowsTheDialogRows) {
  SortKeyList keys;
  keys.SetSortOrder({{20, false}, {2, true}, {99, true}});
  EXPECT_EQ(keys.Keys()[2].sortPosition, -1);
  EXPECT_EQ(keys.Keys()[0].sortPosition, 2);
  EXPECT_EQ(keys.Keys()[1].sortPosition, 0);
  keys.SetGroupOrder({20});
  EXPECT_EQ(keys.Keys()[2].groupPosition, 1);
  EXPECT_EQ(keys.Keys()[0].groupPosition, 0);
}

TEST(SortKeys, CellsSortAscendingBySeriesThenImage) {
  const SortKeyList keys;
  struct Cell {
    std::string label;
    SortRecord record;
  };
  std::vector<Cell> cells;
  for (const auto& [series, image] : std::vector<std::pair<std::string, std::string>>{
           {"10", "1"}, {"2", "10"}, {"2", "9"}, {"1", "3"}, {"10", "0"}, {"2", "1"}}) {
    cells.push_back({series + "/" + image, RecordOf("P", series, image)});
  }
  SortBySortKeys(cells, [&](const Cell& a, const Cell& b) { return CompareSortRecords(a.record, b.record, keys); });
  std::vector<std::string> order;
  for (const auto& c : cells) order.push_back(c.label);
  EXPECT_EQ(order, (std::vector<std::string>{"1/3", "2/1", "2/9", "2/10", "10/0", "10/1"}));
}

TEST(SortKeys, DescendingKeyReversesTheOrder) {
  SortKeyList keys;
  keys.SetSortOrder({{20, false}});
  std::vector<SortRecord> records{RecordOf("P", "1", "3"), RecordOf("P", "1", "7"), RecordOf("P", "1", "5")};
  SortBySortKeys(records, [&](const SortRecord& a, const SortRecord& b) { return CompareSortRecords(a, b, keys); });
  EXPECT_EQ(records[0][2].bytes[0], '7');
  EXPECT_EQ(records[1][2].bytes[0], '5');
  EXPECT_EQ(records[2][2].bytes[0], '3');
}

TEST(SortKeys, GroupsNeedEqualValuesForEveryGroupKey) {
  const SortKeyList keys;
  EXPECT_TRUE(SameImageGroup(RecordOf("P", "2", "1"), RecordOf("P", "2", "9"), keys));
  EXPECT_FALSE(SameImageGroup(RecordOf("P", "2", "1"), RecordOf("P", "3", "1"), keys));
  EXPECT_FALSE(SameImageGroup(RecordOf("P", "", "1"), RecordOf("P", "", "1"), keys)) << "missing makes them differ";
}

TEST(SortKeys, ImagesCarryTheirSortRecord) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7).Pixels8({1, 2, 3, 4}).Text(0x0020, 0x0013, vr::IS, "12");
  std::string reason;
  auto image = BuildImage("s.dcm", d.Get(), 2, {}, reason);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->Sort().size(), ProgramSortKeys().Keys().size());
  EXPECT_FALSE(image->Sort()[1].present);
  EXPECT_TRUE(image->Sort()[2].present);
}

// --- shutter -----------------------------------------------------------------

struct ShutterCase {
  const char* name;
  void (*prepare)(ImageDataSet&);
  const char* shape;  // empty: no shutter
  ImageRect rect;
};

class ShutterFromDataSet : public testing::TestWithParam<ShutterCase> {};

TEST_P(ShutterFromDataSet, ReadsShapeAndRectangle) {
  ImageDataSet d;
  GetParam().prepare(d);
  CShutter shutter;
  const bool read = shutter.ReadFromDataSet(d.Get());
  EXPECT_EQ(shutter.Shape(), GetParam().shape);
  EXPECT_EQ(read, std::string(GetParam().shape).size() > 0);
  if (read) {
    EXPECT_EQ(shutter.Rect(), GetParam().rect);
    EXPECT_EQ(shutter.InitialRect(), GetParam().rect);
    EXPECT_EQ(shutter.InitialShape(), GetParam().shape);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShutterFromDataSet,
    testing::Values(
        ShutterCase{"Circle", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "CIRCULAR").Text(0x0018, 0x1610, vr::IS, "256\\300");
                      d.Text(0x0018, 0x1612, vr::IS, "200");
                    }, "CIRCULAR", {100, 56, 500, 456}},
        ShutterCase{"CircleWithoutRadius", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "CIRCULAR").Text(0x0018, 0x1610, vr::IS, "256\\300");
                    }, "", {}},
        ShutterCase{"CircleLeadingZerosAreDecimal", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "CIRCULAR").Text(0x0018, 0x1610, vr::IS, "080\\090");
                      d.Text(0x0018, 0x1612, vr::IS, "010");
                    }, "CIRCULAR", {80, 70, 100, 90}},
        ShutterCase{"CircleWithOneCentreValue", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "CIRCULAR").Text(0x0018, 0x1610, vr::IS, "256");
                      d.Text(0x0018, 0x1612, vr::IS, "20");
                    }, "", {}},
        ShutterCase{"Rectangle", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "RECTANGULAR ").Text(0x0018, 0x1602, vr::IS, "10");
                      d.Text(0x0018, 0x1604, vr::IS, "200").Text(0x0018, 0x1606, vr::IS, "20");
                      d.Text(0x0018, 0x1608, vr::IS, "300");
                    }, "RECTANGULAR", {10, 20, 200, 300}},
        ShutterCase{"RectangleMissingEdge", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "RECTANGULAR").Text(0x0018, 0x1602, vr::IS, "10");
                    }, "", {}},
        ShutterCase{"BothShapesReadAsCircle", [](ImageDataSet& d) {
                      d.Text(0x0018, 0x1600, vr::CS, "RECTANGULAR\\CIRCULAR").Text(0x0018, 0x1610, vr::IS, "50\\60");
                      d.Text(0x0018, 0x1612, vr::IS, "5").Text(0x0018, 0x1602, vr::IS, "1");
                    }, "RECTANGULAR\\CIRCULAR", {55, 45, 65, 55}},
        ShutterCase{"Polygonal", [](ImageDataSet& d) { d.Text(0x0018, 0x1600, vr::CS, "POLYGONAL"); }, "", {}},
        ShutterCase{"None", [](ImageDataSet&) {}, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Shutter, SettersQueryAndRestore) {
  ImageDataSet d;
  d.Text(0x0018, 0x1600, vr::CS, "RECTANGULAR").Text(0x0018, 0x1602, vr::IS, "1");
  d.Text(0x0018, 0x1604, vr::IS, "9").Text(0x0018, 0x1606, vr::IS, "2").Text(0x0018, 0x1608, vr::IS, "8");
  CShutter shutter;
  ASSERT_TRUE(shutter.ReadFromDataSet(d.Get()));
  shutter.SetCircular(100, 80, 30);
  EXPECT_TRUE(shutter.IsCircular());
  EXPECT_EQ(shutter.Rect(), (ImageRect{70, 50, 130, 110}));
  int x = 0, y = 0, r = 0;
  shutter.Circle(x, y, r);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 80);
  EXPECT_EQ(r, 30);
  shutter.SetEmpty();
  EXPECT_TRUE(shutter.IsEmpty());
  shutter.Restore();
  EXPECT_TRUE(shutter.IsRectangular());
  EXPECT_EQ(shutter.Rect(), (ImageRect{1, 2, 9, 8}));
}

TEST(Shutter, ArchiveFormRoundTripsAndRefusesShortInput) {
  CShutter shutter;
  shutter.SetCircular(10, 20, 5);
  ByteWriter w;
  shutter.Serialize(w);
  const auto bytes = w.Take();
  EXPECT_EQ(bytes[0], 8);  // "CIRCULAR" with a one-byte length
  EXPECT_EQ(bytes.size(), 1u + 8u + 16u + 1u + 16u);
  ByteReader r(bytes);
  CShutter back;
  ASSERT_TRUE(back.Deserialize(r));
  EXPECT_EQ(back.Shape(), "CIRCULAR");
  EXPECT_EQ(back.Rect(), shutter.Rect());
  ByteReader shortReader(std::span(bytes.data(), bytes.size() - 1));
  CShutter partial;
  EXPECT_FALSE(partial.Deserialize(shortReader));
  EXPECT_TRUE(partial.IsEmpty());

  ByteWriter longText;
  WriteArchiveString(longText, std::string(300, 'x'));
  const auto longBytes = longText.Take();
  EXPECT_EQ(longBytes[0], 0xFF);
  ByteReader lr(longBytes);
  std::string text;
  EXPECT_TRUE(ReadArchiveString(lr, text));
  EXPECT_EQ(text.size(), 300u);
}

TEST(Shutter, ClipHidesEverythingOutsideTheCircle) {
  ImageDataSet d;
  d.Grey(1, 4, 8, 8, 7).Pixels8({1, 2, 3, 4});
  std::string reason;
  auto image = BuildImage("s.dcm", d.Get(), 2, {}, reason);
  image->Shutter().SetCircular(10, 10, 10);
  QImage target(20, 20, QImage::Format_RGB32);
  target.fill(Qt::black);
  QPainter painter(&target);
  const QPoint origin(0, 0);
  ASSERT_TRUE(image->Shutter().Clip(
      painter, [](const ImageRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }, &origin));
  painter.fillRect(0, 0, 20, 20, Qt::white);
  painter.end();
  EXPECT_EQ(target.pixel(10, 10), qRgb(255, 255, 255));
  EXPECT_EQ(target.pixel(0, 0), qRgb(0, 0, 0));
  CShutter orphan;
  orphan.SetCircular(1, 1, 1);
  QPainter again(&target);
  EXPECT_FALSE(orphan.Clip(again, [](const ImageRect&) { return QRect(); }, nullptr));
}

}  // namespace
}  // namespace tolmar
