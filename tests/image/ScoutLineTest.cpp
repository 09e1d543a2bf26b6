// Scout lines: scout and frame tests, line geometry and order, the loading
// rule, drawing with interval and label range, and the copy record.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <set>
#include <thread>

#include "ImageTestData.h"
#include "image/ByteWriter.h"
#include "image/CellPainter.h"
#include "image/DisplaySettings.h"
#include "image/ImageFactory.h"
#include "image/ImageRegistry.h"
#include "image/ScoutLineSet.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

const char* kSagittal = "0\\1\\0\\0\\0\\-1";
const char* kAxial = "1\\0\\0\\0\\1\\0";

ImageDataSet PlaneData(const std::string& position, const std::string& orientation, int instance,
                       const std::string& uid, int size = 64) {
  ImageDataSet d;
  d.Grey(size, size, 8, 8, 7).Pixels8(std::vector<uint8_t>(static_cast<size_t>(size) * size, 0));
  d.Text(0x0020, 0x0032, vr::DS, position)
      .Text(0x0020, 0x0037, vr::DS, orientation)
      .Text(0x0028, 0x0030, vr::DS, "1\\1")
      .Text(0x0008, 0x0018, vr::UI, uid)
      .Text(0x0020, 0x0052, vr::UI, "1.2.3.9")
      .Text(0x0020, 0x0013, vr::IS, std::to_string(instance))
      .Text(0x0020, 0x0011, vr::IS, "2");
  return d;
}

std::unique_ptr<DicomImage> Image(ImageDataSet d) {
  std::string reason;
  auto image = BuildImage("s.dcm", d.Get(), 2, {}, reason);
  EXPECT_TRUE(image) << reason;
  return image;
}

// A sagittal scout of 64 x 64 one-millimetre pixels from z = 64 downwards.
std::unique_ptr<DicomImage> Scout() { return Image(PlaneData("0\\-32\\64", kSagittal, 100, "1.9.100")); }
std::unique_ptr<DicomImage> Axial(int z, int instance) {
  return Image(PlaneData("-32\\-32\\" + std::to_string(z), kAxial, instance, "1.9." + std::to_string(instance)));
}

TEST(ScoutPlaneTest, ScoutTestFollowsColumnDirectionAndOverride) {
  EXPECT_TRUE(Scout()->Display().plane.IsScout());
  EXPECT_FALSE(Axial(10, 1)->Display().plane.IsScout());
  auto forced = PlaneData("0\\0\\0", kAxial, 1, "1.9.1");
  forced.Text(0x0501, 0x0153, vr::IS, "1");
  EXPECT_TRUE(Image(std::move(forced))->Display().plane.IsScout());
  auto refused = PlaneData("0\\-32\\64", kSagittal, 1, "1.9.1");
  refused.Text(0x0501, 0x0153, vr::IS, "0");
  EXPECT_FALSE(Image(std::move(refused))->Display().plane.IsScout());
  auto noFrame = PlaneData("0\\-32\\64", kSagittal, 1, "1.9.1");
  noFrame.Remove(0x0020, 0x0052);
  EXPECT_FALSE(Image(std::move(noFrame))->Display().plane.valid);
}

TEST(ScoutLineSetTest, AxialImagesGiveLevelLinesAtTheirRowsInPositionOrder) {
  auto scout = Scout();
  ScoutLineSet& set = scout->Display().scoutLines;
  for (int k = 1; k <= 10; ++k) {
    auto axial = Axial(64 - 5 * k, k);  // loaded top first: rows 5, 10, ... 50
    ASSERT_TRUE(set.AddLine(scout->Display().plane, axial->Display().plane, true));
    EXPECT_FALSE(set.AddLine(scout->Display().plane, axial->Display().plane, true));  // loaded twice
  }
  const auto lines = set.Lines();
  ASSERT_EQ(lines.size(), 10u);
  for (size_t k = 0; k < lines.size(); ++k) {
    EXPECT_DOUBLE_EQ(lines[k].position, 5.0 * (k + 1));
    EXPECT_DOUBLE_EQ(lines[k].angle, 0);
    ASSERT_EQ(lines[k].points.size(), 2u);
    EXPECT_EQ(lines[k].points[0], QPoint(0, 5 * static_cast<int>(k + 1)));
    EXPECT_EQ(lines[k].points[1], QPoint(64, 5 * static_cast<int>(k + 1)));
  }
  EXPECT_EQ(set.CurrentSeries(), "2");
}

TEST(ScoutLineSetTest, ParallelPlanesOtherFramesAndScoutsGetNoLine) {
  auto scout = Scout();
  ScoutLineSet& set = scout->Display().scoutLines;
  auto parallel = PlaneData("5\\-32\\64", kSagittal, 3, "1.9.3");
  parallel.Text(0x0501, 0x0153, vr::IS, "0");
  EXPECT_FALSE(set.AddLine(scout->Display().plane, Image(std::move(parallel))->Display().plane, true));
  auto otherFrame = PlaneData("-32\\-32\\10", kAxial, 4, "1.9.4");
  otherFrame.Text(0x0020, 0x0052, vr::UI, "1.2.3.10");
  auto other = Image(std::move(otherFrame));
  EXPECT_FALSE(set.AddLine(scout->Display().plane, other->Display().plane, true));
  EXPECT_TRUE(set.AddLine(scout->Display().plane, other->Display().plane, false));
  EXPECT_FALSE(set.AddLine(scout->Display().plane, Scout()->Display().plane, true));
  EXPECT_FALSE(set.AddLine(Axial(3, 5)->Display().plane, Axial(4, 6)->Display().plane, true));
}

TEST(ScoutLineSetTest, UnreadableTextsDrawNoRegionButKeepTheSection) {
  auto scout = Scout();
  auto odd = PlaneData("-32\\-32\\20", "1\\0\\0\\0\\1\\0x", 7, "1.9.7");
  auto image = Image(std::move(odd));
  ScoutLineSet& set = scout->Display().scoutLines;
  ASSERT_TRUE(set.AddLine(scout->Display().plane, image->Display().plane, true));
  EXPECT_TRUE(set.Lines()[0].points.empty());
  EXPECT_TRUE(set.Lines()[0].hasSection);
}

TEST(ScoutLineSetTest, MarkCurrentHighlightsOnlyKnownLinesUnlessForced) {
  auto scout = Scout();
  ScoutLineSet& set = scout->Display().scoutLines;
  set.AddLine(scout->Display().plane, Axial(30, 1)->Display().plane, true);
  set.AddLine(scout->Display().plane, Axial(20, 2)->Display().plane, true);
  EXPECT_TRUE(set.MarkCurrent("1.9.2", false));
  EXPECT_FALSE(set.MarkCurrent("1.9.99", false));
  EXPECT_TRUE(set.Lines()[1].highlighted);
  EXPECT_FALSE(set.MarkCurrent("1.9.99", true));
  EXPECT_FALSE(set.Lines()[1].highlighted);
}

TEST(ImageRegistryTest, ScoutsRebuildTheirSetAndOtherImagesAddTheirLine) {
  ImageRegistry registry;
  auto before = Axial(40, 1);
  auto scout = Scout();
  auto after = Axial(30, 2);
  registry.Register(before.get());
  registry.ImageLoaded(*before, true);
  registry.Register(scout.get());
  registry.ImageLoaded(*scout, true);
  EXPECT_EQ(scout->Display().scoutLines.Lines().size(), 1u);
  registry.Register(after.get());
  registry.ImageLoaded(*after, true);
  EXPECT_EQ(scout->Display().scoutLines.Lines().size(), 2u);
  EXPECT_FALSE(before->Display().scoutLines.Exists());
  registry.MakeScout(*before, true);  // an axial image made a scout has no lines to the others
  EXPECT_TRUE(before->Display().scoutLines.Exists());
  registry.Unregister(after.get());
  registry.ImageLoaded(*scout, true);
  EXPECT_EQ(scout->Display().scoutLines.Lines().size(), 0u);  // before is a scout now
}

// Rows of the cell where pure line colour crosses column x.
std::set<int> LineRows(const QImage& picture, int x, QRgb colour) {
  std::set<int> rows;
  for (int y = 0; y < picture.height(); ++y) {
    if (picture.pixel(x, y) == colour) rows.insert(y);
  }
  return rows;
}

class ScoutDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "image_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    SetProgramReferenceRect({});
    DisplaySettings s;
    s.showOverlays = false;
    s.interpolation = false;
    SetDisplaySettings(s);
    m_scout = Scout();
    for (int k = 1; k <= 10; ++k) {
      auto axial = Axial(64 - 5 * k, k);
      m_scout->Display().scoutLines.AddLine(m_scout->Display().plane, axial->Display().plane, true);
    }
  }
  void TearDown() override {
    SetProgramReferenceRect({});
    SetDisplaySettings({});
  }
  QImage Paint() {
    QImage picture(68, 68, QImage::Format_RGB32);
    QPainter painter(&picture);
    SetZoom(*m_scout, 100);
    PaintCell(*m_scout, painter, {0, 0, 68, 68});
    return picture;
  }
  std::unique_ptr<DicomImage> m_scout;
};

TEST_F(ScoutDrawTest, IntervalAndLabelRangeChooseTheLinesDrawn) {
  const QRgb green = qRgb(0, 255, 0);
  // The image lands at (2, 2): line k sits on cell row 2 + 5k.
  std::set<int> all;
  for (int k = 1; k <= 10; ++k) all.insert(2 + 5 * k);
  EXPECT_EQ(LineRows(Paint(), 34, green), all);
  m_scout->Display().scoutLines.SetDisplayValues(1, -1, -1);
  EXPECT_EQ(LineRows(Paint(), 34, green), (std::set<int>{7, 17, 27, 37, 47}));
  m_scout->Display().scoutLines.SetDisplayValues(0, 8, 5);
  EXPECT_EQ(LineRows(Paint(), 34, green), (std::set<int>{27, 32, 37, 42}));
  m_scout->Display().scoutLines.SetDisplayValues(-1, 0, -1);
  EXPECT_EQ(LineRows(Paint(), 34, green).size(), 10u);
  m_scout->Display().scoutLines.MarkCurrent("1.9.3", false);
  EXPECT_EQ(LineRows(Paint(), 34, qRgb(255, 0, 0)), (std::set<int>{17}));
  // Section mode draws the same level lines across the narrowed cell.
  DisplaySettings s = CurrentDisplaySettings();
  s.seqLineRegion = false;
  SetDisplaySettings(s);
  EXPECT_EQ(LineRows(Paint(), 34, green).size(), 9u);
  // A transformed scout shows no lines.
  ASSERT_TRUE(m_scout->ApplyTransform(1));
  EXPECT_TRUE(LineRows(Paint(), 34, green).empty());
}

TEST_F(ScoutDrawTest, CopyRecordTravelsInTheStateRecord) {
  m_scout->Display().scoutLines.SetDisplayValues(2, 8, 3);
  DisplaySettings s = CurrentDisplaySettings();
  s.showOverlays = false;  // the viewer hides overlays: no lines for the film program
  SetDisplaySettings(s);
  ByteWriter hidden;
  m_scout->WriteStateRecord(hidden);
  auto bare = Scout();
  ASSERT_EQ(bare->ReadStateRecord(hidden.Data()), hidden.Size());
  EXPECT_FALSE(bare->Display().scoutLines.Exists());
  s.showOverlays = true;
  SetDisplaySettings(s);
  ByteWriter writer;
  m_scout->WriteStateRecord(writer);
  auto copy = Scout();
  ASSERT_EQ(copy->ReadStateRecord(writer.Data()), writer.Size());
  const auto lines = copy->Display().scoutLines.Lines();
  ASSERT_EQ(lines.size(), 6u);  // labels 3 to 8 only
  EXPECT_EQ(lines.front().label, "3");
  EXPECT_FLOAT_EQ(static_cast<float>(lines.front().position), 15.0f);
  EXPECT_EQ(lines.front().points, (std::vector<QPoint>{{0, 15}, {64, 15}}));
  EXPECT_EQ(lines.front().uid, "1.9.3");
  EXPECT_EQ(copy->Display().scoutLines.Interval(), 2);
  // A transformed scout hands over no lines.
  ASSERT_TRUE(m_scout->ApplyTransform(2));
  ByteWriter none;
  m_scout->WriteStateRecord(none);
  auto empty = Scout();
  ASSERT_EQ(empty->ReadStateRecord(none.Data()), none.Size());
  EXPECT_FALSE(empty->Display().scoutLines.Exists());
}

TEST_F(ScoutDrawTest, LoaderThreadAddsLinesWhileThePainterDraws) {
  ImageRegistry registry;
  registry.Register(m_scout.get());
  std::vector<std::unique_ptr<DicomImage>> axials;
  for (int k = 0; k < 200; ++k) axials.push_back(Axial(60 - k % 50, 1000 + k));
  std::thread loader([&] {
    for (auto& axial : axials) {
      registry.Register(axial.get());
      registry.ImageLoaded(*axial, true);
    }
  });
  for (int i = 0; i < 50; ++i) Paint();
  loader.join();
  EXPECT_EQ(m_scout->Display().scoutLines.Lines().size(), 210u);
  for (auto& axial : axials) registry.Unregister(axial.get());
}

TEST(ScoutCopyRecordTest, HostileRecordsAreRefused) {
  ScoutLineSet set;
  bool region = true;
  ByteWriter w;
  w.I32(0);
  w.U32(1);
  w.U32(0);
  w.U32(0);
  w.I32(1);
  w.U32(0x40000000);  // points beyond the record
  EXPECT_FALSE(set.ReadCopyRecord(w.Data(), region));
  EXPECT_FALSE(set.Exists());
}

}  // namespace
}  // namespace tolmar
