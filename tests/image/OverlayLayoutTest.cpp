// The default overlay layout: the checked-in description becomes the
// "IMGINFO" table, images read their texts from it per category, and the
// texts are painted in their corners.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ImageTestData.h"
#include "image/CategoryImage.h"
#include "image/CellPainter.h"
#include "image/ImageComment.h"
#include "image/DisplaySettings.h"
#include "image/ImageFactory.h"
#include "image/ImageInfoText.h"

namespace tolmar {
namespace {

using test::ImageDataSet;

std::string DescriptionText() {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "../../image/data/IMGINFO.txt";
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ImageInfoTextTest, DescriptionParsesIntoItemsForEveryCategory) {
  std::vector<ImageInfoItem> items;
  std::string error;
  ASSERT_TRUE(ParseImageInfoText(DescriptionText(), items, error)) << error;
  ASSERT_EQ(items.size() % std::size(kImageCategories), 0u);
  const ImageInfoItem& name = items.front();
  EXPECT_EQ(name.group, 0x0010);
  EXPECT_EQ(name.element, 0x0010);
  EXPECT_EQ(name.horizontal, 1);
  EXPECT_EQ(name.vertical, 1);
  EXPECT_EQ(name.line, 0);
}

TEST(ImageInfoTextTest, BadLinesAreReportedWithTheirNumber) {
  std::vector<ImageInfoItem> items;
  std::string error;
  EXPECT_FALSE(ParseImageInfoText("# x\n* left top 0 0010,0010 PN %s\n7 left top 0 0010,0010 PN %s\n", items, error));
  EXPECT_EQ(error, "line 3: unknown image category 7");
  EXPECT_FALSE(ParseImageInfoText("* left top 0 0010,0010 PN 1234567890123456789\n", items, error));
  EXPECT_FALSE(ParseImageInfoText("* up top 0 0010,0010 PN %s\n", items, error));
  EXPECT_FALSE(ParseImageInfoText("* left top 0 10,0010 PN %s\n", items, error));
  EXPECT_TRUE(items.empty());
}

class OverlayLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "image_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    m_folder = std::filesystem::temp_directory_path() / "tolmar-overlay-test";
    std::filesystem::create_directories(m_folder);
    std::vector<ImageInfoItem> items;
    std::string error;
    ASSERT_TRUE(ParseImageInfoText(DescriptionText(), items, error)) << error;
    ASSERT_TRUE(WriteImageInfoTable((m_folder / "IMGINFO.db").string(), items, error)) << error;
    DisplaySettings s;
    s.programFolder = m_folder.string() + "/";
    s.interpolation = false;
    SetDisplaySettings(s);
    OverlayOfCategory(21) = {};
    SetProgramReferenceRect({});
  }
  void TearDown() override {
    OverlayOfCategory(21) = {};
    SetDisplaySettings({});
    SetProgramReferenceRect({});
    std::filesystem::remove_all(m_folder);
  }
  std::unique_ptr<DicomImage> Image() {
    ImageDataSet d;
    d.Grey(64, 64, 16, 12, 11).Pixels16(test::Filled16(64, 64, 0));
    d.Text(0x0010, 0x0010, vr::PN, "WANG^LI^Unknown")
        .Text(0x0010, 0x0020, vr::LO, "P123")
        .Text(0x0008, 0x0020, vr::DA, "20240229")
        .Text(0x0008, 0x0030, vr::TM, "101500")
        .Text(0x0020, 0x0013, vr::IS, "7")
        .Text(0x0018, 0x0050, vr::DS, "2.5")
        .Text(0x0008, 0x0060, vr::CS, "CT")
        .Text(0x0020, 0x0037, vr::DS, "1\\0\\0\\0\\1\\0");
    std::string reason;
    auto image = BuildImage("o.dcm", d.Get(), 21, {}, reason);
    EXPECT_TRUE(image) << reason;
    return image;
  }
  std::filesystem::path m_folder;
};

TEST_F(OverlayLayoutTest, ImagesReadTheirCategoryItemsAndFormatThem) {
  auto image = Image();
  const auto& d = image->Display();
  ASSERT_TRUE(d.overlayBuilt);
  ASSERT_EQ(d.overlayItems.size(), d.overlayTexts.size());
  auto textOf = [&](uint16_t group, uint16_t element) {
    for (size_t i = 0; i < d.overlayItems.size(); ++i) {
      if (d.overlayItems[i].group == group && d.overlayItems[i].element == element) return d.overlayTexts[i];
    }
    return std::string("<none>");
  };
  EXPECT_EQ(textOf(0x0010, 0x0010), "WANG^LI");
  EXPECT_EQ(textOf(0x0010, 0x0020), "ID: P123");
  EXPECT_EQ(textOf(0x0008, 0x0020), "2024.02.29");
  EXPECT_EQ(textOf(0x0008, 0x0030), "10:15:00");
  EXPECT_EQ(textOf(0x0020, 0x0013), "Im: 7");
  EXPECT_EQ(textOf(0x0018, 0x0050), "Th: 2.5 mm");
  EXPECT_EQ(textOf(0x0008, 0x0080), "");
  EXPECT_EQ(d.orientation, (std::vector<std::string>{"[R]", "[A]", "[L]", "[P]"}));
  EXPECT_EQ(d.seriesLabel, "0-7");
}

TEST(ImageCommentTest, CommentsWithAPositionGoToTheInstalledHandler) {
  int x = 0, y = 0;
  std::string text;
  EXPECT_TRUE(ParseImageComment("(12,34)left lung", x, y, text));
  EXPECT_EQ(x, 12);
  EXPECT_EQ(y, 34);
  EXPECT_EQ(text, "left lung");
  EXPECT_FALSE(ParseImageComment("no position", x, y, text));
  EXPECT_FALSE(ParseImageComment("(12;34)x", x, y, text));
  static std::string seen;
  SetImageCommentHandler([](DicomImage&, int px, int py, const std::string& t) {
    seen = std::to_string(px) + "," + std::to_string(py) + ":" + t;
  });
  ImageDataSet d;
  d.Grey(4, 4, 8, 8, 7).Pixels8(std::vector<uint8_t>(16, 0)).Text(0x0020, 0x4000, vr::LT, "(1,2)mark");
  DisplaySettings s;
  s.programFolder = "/nonexistent/";
  SetDisplaySettings(s);
  OverlayOfCategory(22) = {};
  std::string reason;
  auto image = BuildImage("c.dcm", d.Get(), 22, {}, reason);
  SetImageCommentHandler(nullptr);
  SetDisplaySettings({});
  ASSERT_TRUE(image) << reason;
  // Without an overlay table the texts are not built; the comment still is.
  EXPECT_FALSE(image->Display().overlayBuilt);
  EXPECT_EQ(seen, "1,2:mark");
}

TEST_F(OverlayLayoutTest, CommentBecomesADrawingObjectThroughTheHandler) {
  static std::string seen;
  SetImageCommentHandler([](DicomImage&, int px, int py, const std::string& t) {
    seen = std::to_string(px) + "," + std::to_string(py) + ":" + t;
  });
  ImageDataSet d;
  d.Grey(4, 4, 8, 8, 7).Pixels8(std::vector<uint8_t>(16, 0)).Text(0x0020, 0x4000, vr::LT, "(1,2)mark");
  std::string reason;
  auto image = BuildImage("c.dcm", d.Get(), 21, {}, reason);
  SetImageCommentHandler(nullptr);
  ASSERT_TRUE(image) << reason;
  EXPECT_EQ(seen, "1,2:mark");
}

TEST_F(OverlayLayoutTest, PatientTextsAppearInTheTopLeftCornerUnlessHidden) {
  auto image = Image();
  auto paint = [&](bool hide) {
    QImage picture(400, 400, QImage::Format_RGB32);
    QPainter painter(&picture);
    PaintCellOptions o;
    o.hidePatientTexts = hide;
    PaintCell(*image, painter, {0, 0, 400, 400}, o);
    return picture;
  };
  auto lit = [](const QImage& p, QRect r) {
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) count += qGray(p.pixel(x, y)) > 128;
    return count;
  };
  const QImage shown = paint(false), hidden = paint(true);
  const QRect topLeft(4, 4, 120, 40), topRight(276, 4, 120, 40);
  EXPECT_GT(lit(shown, topLeft), 20);
  EXPECT_EQ(lit(hidden, topLeft), 0);
  EXPECT_GT(lit(shown, topRight), 20);  // study date and time
  // The window text of a 16-bit image sits at the bottom in both.
  EXPECT_GT(lit(hidden, QRect(150, 370, 100, 26)), 10);
}

}  // namespace
}  // namespace tolmar
