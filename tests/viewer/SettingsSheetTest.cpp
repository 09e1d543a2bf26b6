#include <gtest/gtest.h>

#include <QFont>
#include <QTemporaryDir>
#include <functional>
#include <span>

#include "ViewerFixtures.h"
#include "suite/ProfileStore.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/DisplayProfile.h"
#include "viewer/LogicalFont.h"
#include "viewer/PictoriumViewModel.h"
#include "viewer/SettingsSheetModel.h"

namespace tolmar::viewer {
namespace {

const QString kUnset = QStringLiteral("<unset>");

class SheetSettings : public ::testing::Test {
 protected:
  // The display settings and the drawing style are program-wide: each test
  // starts from the defaults and leaves them as it found them.
  void SetUp() override {
    SetDisplaySettings(DisplaySettings{});
    SetMeasureStyle(AnnotationStyle{});
    m_view.SetClientRect(QRect(0, 0, 400, 400));
  }
  void TearDown() override {
    SetDisplaySettings(m_savedDisplay);
    SetMeasureStyle(m_savedStyle);
  }

  QString Stored(const char* section, const char* entry) const {
    return m_profile.GetProfileString(QString::fromLatin1(section), QString::fromLatin1(entry),
                                      kUnset);
  }
  QString Shared(const char* entry) const {
    return m_profile.ReadSharedValue(QStringLiteral("PrintFilm"), QString::fromLatin1(entry),
                                     kUnset);
  }

  void LoadFiles(int count) {
    for (int i = 0; i < count; ++i) {
      const QString path = m_files.filePath(QStringLiteral("%1.dcm").arg(i + 1));
      ASSERT_TRUE(test::WriteImageFile(path, {.series = 1, .instance = i + 1}));
      ASSERT_GE(m_doc.LoadFileNow(path), 0);
    }
    m_view.Reinitialise();
  }

  const DisplaySettings m_savedDisplay = CurrentDisplaySettings();
  const AnnotationStyle m_savedStyle = MeasureStyle();
  test::PrivateProfileFolder m_folder;
  suite::ProfileStore m_profile{QStringLiteral("Pictorium")};
  QTemporaryDir m_files;
  CPictoriumDoc m_doc{QString(), nullptr};
  PictoriumViewModel m_view{m_doc};
};

TEST_F(SheetSettings, ReadsTheProfileTheSharedFilmValuesAndTheExitOnlyValuesInEffect) {
  m_profile.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("MaxDispSize"), 90);
  m_profile.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Full16Bit"), 1);
  m_profile.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("LBtnDbClkFun"), 2);
  m_profile.WriteProfileInt(QStringLiteral("Annotation"), QStringLiteral("font.Quality"), 5);
  m_profile.WriteProfileInt(QStringLiteral("Casebook"), QStringLiteral("CasebookID"), 7);
  m_profile.WriteSharedValue(QStringLiteral("PrintFilm"), QStringLiteral("PrintType"), "2");
  m_profile.WriteSharedValue(QStringLiteral("PrintFilm"), QStringLiteral("BringUp"), "0");
  m_profile.WriteSharedValue(QStringLiteral("PrintFilm"), QStringLiteral("Ratio"), "1.25");
  // What the menus changed since start is newer than the profile, which gets it only at exit.
  m_profile.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Interplation"), 1);
  m_profile.WriteProfileInt(QStringLiteral("Measure"), QStringLiteral("Normal Color"), 1);
  DisplaySettings display;
  display.interpolation = false;
  SetDisplaySettings(display);
  AnnotationStyle style;
  style.normalColour = 0x00ABCDEF;
  SetMeasureStyle(style);

  const SettingsSheetModel model(m_profile, &m_view);
  const SettingsValues& v = model.Values();
  EXPECT_EQ(v.display.maxDispSize, 90);
  EXPECT_TRUE(v.image.full16Bit);
  EXPECT_EQ(v.view.doubleClickFunction, 2);
  EXPECT_EQ(v.overlayFont.quality, 5);
  EXPECT_EQ(v.overlayFont.weight, 700);
  EXPECT_EQ(v.history.casebookId, 7);
  EXPECT_EQ(v.history.width, 100);
  EXPECT_EQ(v.film.kind, FilmKind::VideoCamera);
  EXPECT_FALSE(v.film.bringUp);
  EXPECT_TRUE(v.film.rawImage);
  EXPECT_EQ(v.film.ratio, QStringLiteral("1.25"));
  EXPECT_TRUE(v.film.width.isEmpty());
  EXPECT_FALSE(v.display.interpolation);
  EXPECT_EQ(v.measure.normalColour, 0x00ABCDEFu);
}

// A choice control, the value the sheet keeps for it and where that value ends up.
struct ChoiceCase {
  const char* name;
  int control;
  std::function<void(SettingsValues&, int)> choose;
  std::function<QString(suite::ProfileStore&)> read;
  const char* expected;
};

int ValueOf(int control) {
  using Table = std::span<const ChoiceControl>;
  for (const Table table : {Table(kDoubleClickChoices), Table(kStatisticsChoices),
                            Table(kFilmKindChoices), Table(kScoutModeChoices)}) {
    for (const ChoiceControl& choice : table) {
      if (choice.id == control) return choice.value;
    }
  }
  ADD_FAILURE() << "no choice control " << control;
  return -1;
}

std::function<QString(suite::ProfileStore&)> Entry(const char* section, const char* entry) {
  return [=](suite::ProfileStore& p) {
    return p.GetProfileString(QString::fromLatin1(section), QString::fromLatin1(entry), kUnset);
  };
}

void DoubleClick(SettingsValues& v, int value) { v.view.doubleClickFunction = value; }
void FilmKindOf(SettingsValues& v, int value) { v.film.kind = static_cast<FilmKind>(value); }
void ScoutMode(SettingsValues& v, int value) { v.display.seqLineRegion = value != 0; }
void OnlyStatistic(SettingsValues& v, int bit) { v.measure.annotationMask = bit; }

// The statistics are kept with the drawing style, which reaches the profile at exit.
QString StatisticsAtExit(suite::ProfileStore& p) {
  if (p.GetProfileString(QStringLiteral("Measure"), QStringLiteral("Annotation"), kUnset) != kUnset)
    return QStringLiteral("written before exit");
  WriteExitSettings(p, CurrentDisplaySettings(), MeasureStyle());
  return p.GetProfileString(QStringLiteral("Measure"), QStringLiteral("Annotation"), kUnset);
}

QString PrintType(suite::ProfileStore& p) {
  return p.ReadSharedValue(QStringLiteral("PrintFilm"), QStringLiteral("PrintType"), kUnset);
}

class SettingsChoices : public SheetSettings, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(SettingsChoices, EachChoiceControlStoresItsValue) {
  const ChoiceCase& c = GetParam();
  SettingsSheetModel model(m_profile, &m_view);
  c.choose(model.Values(), ValueOf(c.control));
  ASSERT_FALSE(model.ApplySheet(false));
  EXPECT_EQ(c.read(m_profile), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SettingsChoices,
    ::testing::Values(
        ChoiceCase{"SingleOrMultipleCells", 1205, DoubleClick, Entry("Settings", "LBtnDbClkFun"),
                   "3"},
        ChoiceCase{"ToTheReport", 1206, DoubleClick, Entry("Settings", "LBtnDbClkFun"), "2"},
        ChoiceCase{"ToTheFilm", 1207, DoubleClick, Entry("Settings", "LBtnDbClkFun"), "1"},
        ChoiceCase{"Area", 1033, OnlyStatistic, StatisticsAtExit, "1"},
        ChoiceCase{"Mean", 1035, OnlyStatistic, StatisticsAtExit, "2"},
        ChoiceCase{"StandardDeviation", 1037, OnlyStatistic, StatisticsAtExit, "4"},
        ChoiceCase{"DicomCamera", 1222, FilmKindOf, PrintType, "1"},
        ChoiceCase{"VideoCamera", 1223, FilmKindOf, PrintType, "2"},
        ChoiceCase{"SectionScoutLines", 1235, ScoutMode, Entry("SeqLine", "SeqLineType"), "0"},
        ChoiceCase{"RegionScoutLines", 1236, ScoutMode, Entry("SeqLine", "SeqLineType"), "1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetSettings, ApplyPutsEveryPageIntoEffectAndWritesWhatIsKeptAtOnce) {
  SettingsSheetModel model(m_profile, &m_view);
  SettingsValues& v = model.Values();
  v.copyRawDib = true;
  v.display.interpolation = false;
  v.display.quickFlush = false;
  v.display.maxDispSize = 64;
  v.display.textColour = 0x0000FFFF;
  v.display.hSpace = 5;
  v.display.vSpace = 6;
  v.overlayFont.faceName = "DejaVu Serif";
  v.overlayFont.height = -20;
  v.overlayFont.italic = 1;
  v.display.wcRectEnable = true;
  v.display.wcRectMaxSize = 300;
  v.display.wcRectWidth = 120;
  v.display.wcRectHeight = 80;
  v.display.checkFrameUid = false;
  v.view.middleButtonWindow = true;
  v.view.mouseMultiplier = 7;
  v.measure.activePenWidth = 100;
  v.measure.normalPenStyle = 2;
  v.film.rawImage = false;
  v.film.width = QStringLiteral("210");
  v.history.show = true;
  v.history.width = 333;

  ASSERT_FALSE(model.ApplySheet(false));
  const DisplaySettings d = CurrentDisplaySettings();
  EXPECT_FALSE(d.interpolation);
  EXPECT_EQ(d.maxDispSize, 64);
  EXPECT_EQ(d.fontFace, "DejaVu Serif");
  EXPECT_EQ(d.fontHeight, -20);
  EXPECT_TRUE(d.fontItalic);
  EXPECT_EQ(d.hSpace, 5);
  EXPECT_TRUE(d.wcRectEnable);
  EXPECT_EQ(d.wcRectWidth, 120);
  EXPECT_EQ(d.mouseMulti, 7);
  EXPECT_FALSE(d.checkFrameUid);
  EXPECT_TRUE(m_view.CurrentSettings().middleButtonWindow);
  EXPECT_EQ(m_view.CurrentSettings().mouseMultiplier, 7);
  EXPECT_EQ(MeasureStyle().activePenWidth, 100);
  EXPECT_EQ(MeasureStyle().normalPenStyle, 2);

  EXPECT_EQ(Stored("Settings", "CopyRawDIB"), "1");
  EXPECT_EQ(Stored("Settings", "MaxDispSize"), "64");
  EXPECT_EQ(Stored("Settings", "MouseMulti"), "7");
  EXPECT_EQ(Stored("Annotation", "Color"), QString::number(0x0000FFFF));
  EXPECT_EQ(Stored("Annotation", "font.FaceName"), "DejaVu Serif");
  EXPECT_EQ(Stored("Annotation", "font.PitchAndFamily"), QString::number(38 | 4));
  EXPECT_EQ(Stored("Annotation", "VSpace"), "6");
  EXPECT_EQ(Stored("WCRect", "MaxSize"), "300");
  EXPECT_EQ(Shared("RawImage"), "0");
  EXPECT_EQ(Shared("Width"), "210");
  // Kept at exit only, and the history bar only by OK.
  EXPECT_EQ(Stored("Settings", "Interplation"), kUnset);
  EXPECT_EQ(Stored("Measure", "ActivePen.Width"), kUnset);
  EXPECT_EQ(Stored("Casebook", "IsView"), kUnset);

  ASSERT_FALSE(model.ApplySheet(true));
  EXPECT_EQ(Stored("Casebook", "IsView"), "1");
  EXPECT_EQ(Stored("Casebook", "Width"), "333");

  // A sheet opened again shows what was applied.
  const SettingsSheetModel reopened(m_profile, &m_view);
  EXPECT_EQ(reopened.Values().overlayFont, v.overlayFont);
  EXPECT_EQ(reopened.Values().display.wcRectHeight, 80);
  EXPECT_FALSE(reopened.Values().display.interpolation);
  EXPECT_EQ(reopened.Values().measure.activePenWidth, 100);
  EXPECT_EQ(reopened.Values().history.width, 333);
  EXPECT_EQ(reopened.Values().view.mouseMultiplier, 7);
}

TEST_F(SheetSettings, SwitchingTheFilmKindBackAndForthKeepsTheSizeTexts) {
  for (const char* entry : {"Width", "Height", "Ratio", "ImgWidth", "ImgHeight"})
    m_profile.WriteSharedValue(QStringLiteral("PrintFilm"), QString::fromLatin1(entry), "12.5");
  SettingsSheetModel model(m_profile, &m_view);
  model.Values().film.kind = FilmKind::VideoCamera;
  ASSERT_FALSE(model.ApplySheet(false));
  model.Values().film.kind = FilmKind::DicomCamera;
  ASSERT_FALSE(model.ApplySheet(true));
  EXPECT_EQ(Shared("PrintType"), "1");
  for (const char* entry : {"Width", "Height", "Ratio", "ImgWidth", "ImgHeight"})
    EXPECT_EQ(Shared(entry), "12.5") << entry;
}

struct PenWidthCase {
  const char* name;
  bool active;
  int width;
  int control;
};

class PenWidths : public SheetSettings, public ::testing::WithParamInterface<PenWidthCase> {};

TEST_P(PenWidths, AWidthOutsideOneToHundredIsRefusedAndNothingIsApplied) {
  const PenWidthCase& c = GetParam();
  SettingsSheetModel model(m_profile, &m_view);
  model.Values().display.maxDispSize = 64;
  model.Values().measure.showTracker = true;
  (c.active ? model.Values().measure.activePenWidth : model.Values().measure.normalPenWidth) =
      c.width;

  for (const auto& refusal : {model.ApplySheet(true), model.ApplyMeasureFormat()}) {
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->controlId, c.control);
    EXPECT_EQ(refusal->minimum, 1);
    EXPECT_EQ(refusal->maximum, 100);
  }
  EXPECT_EQ(Stored("Settings", "MaxDispSize"), kUnset);
  EXPECT_NE(CurrentDisplaySettings().maxDispSize, 64);
  EXPECT_FALSE(MeasureStyle().showTracker);
}

INSTANTIATE_TEST_SUITE_P(Widths, PenWidths,
                         ::testing::Values(PenWidthCase{"NormalZero", false, 0, 1089},
                                           PenWidthCase{"NormalHundredAndOne", false, 101, 1089},
                                           PenWidthCase{"ActiveZero", true, 0, 1091},
                                           PenWidthCase{"ActiveHundredAndOne", true, 101, 1091}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetSettings, TheOverlayDialogWritesColourAndFontButNotTheMargins) {
  SettingsSheetModel model(m_profile, &m_view);
  model.Values().display.textColour = 0x00112233;
  model.Values().display.hSpace = 9;
  model.Values().overlayFont.weight = 400;
  model.ApplyOverlayFormat();
  EXPECT_EQ(CurrentDisplaySettings().textColour, 0x00112233u);
  EXPECT_EQ(CurrentDisplaySettings().fontWeight, 400);
  EXPECT_NE(CurrentDisplaySettings().hSpace, 9);
  EXPECT_EQ(Stored("Annotation", "Color"), QString::number(0x00112233));
  EXPECT_EQ(Stored("Annotation", "font.Weight"), "400");
  EXPECT_EQ(Stored("Annotation", "HSpace"), kUnset);
}

TEST_F(SheetSettings, ChangingFull16BitRebuildsTheSelectionAndMarksTheOtherImages) {
  LoadFiles(2);
  m_doc.SetSelectionMode(SelectionMode::Image);
  m_view.MakeCurrent(0);
  DicomImage& current = m_doc.Cell(0).Image(0);
  DicomImage& other = m_doc.Cell(1).Image(0);
  ASSERT_EQ(current.LookupTableSize(), 4096);

  SettingsSheetModel model(m_profile, &m_view);
  model.Values().image.full16Bit = true;
  ASSERT_FALSE(model.ApplySheet(false));
  EXPECT_TRUE(m_doc.ImageSettingsInUse().full16Bit);
  EXPECT_EQ(Stored("Settings", "Full16Bit"), "1");
  // The reset re-read the current image's file with the new value.
  EXPECT_TRUE(current.Settings().full16Bit);
  EXPECT_EQ(current.LookupTableSize(), 65536);
  EXPECT_FALSE(current.Display().changed);
  // The other image keeps pixels and lookup table in step until its own reset.
  EXPECT_FALSE(other.Settings().full16Bit);
  EXPECT_EQ(other.LookupTableSize(), 4096);
  EXPECT_TRUE(other.Display().changed);
  CommandArgument reset;
  ASSERT_TRUE(other.RunCommand(image_command::kReset, reset));
  EXPECT_EQ(other.LookupTableSize(), 65536);

  // A cell from a loader that started before the change waits for its reset too.
  m_doc.CellLoaded(std::make_unique<DisplayCell>(test::MakeImage({.series = 1, .instance = 3})));
  EXPECT_TRUE(m_doc.Cell(m_doc.CellCount() - 1).Image(0).Display().changed);

  // Applying again without a change rebuilds nothing.
  current.Display().changed = false;
  ASSERT_FALSE(model.ApplySheet(false));
  EXPECT_FALSE(current.Display().changed);
}

TEST_F(SheetSettings, AnUnchangedFull16BitLeavesLoadedImagesAlone) {
  LoadFiles(1);
  SettingsSheetModel model(m_profile, &m_view);
  model.Values().image.loadLut = true;
  ASSERT_FALSE(model.ApplySheet(false));
  EXPECT_TRUE(m_doc.ImageSettingsInUse().loadLut);
  EXPECT_FALSE(m_doc.Cell(0).Image(0).Display().changed);
}

struct FontCase {
  const char* name;
  std::function<QFont()> chosen;
  int height;
  int weight;
  int italic;
};

class ChosenFonts : public ::testing::TestWithParam<FontCase> {};

TEST_P(ChosenFonts, TheFontDialogsChoiceBecomesLogicalFontValues) {
  const FontCase& c = GetParam();
  MeasureFont previous;
  previous.quality = 5;
  previous.charSet = 134;
  const MeasureFont f = LogicalFontOf(c.chosen(), previous, 96.0);
  EXPECT_EQ(f.height, c.height);
  EXPECT_EQ(f.weight, c.weight);
  EXPECT_EQ(f.italic, c.italic);
  EXPECT_EQ(f.quality, 5);
  EXPECT_EQ(f.charSet, 134);
  EXPECT_EQ(f.faceName, "Liberation Serif");
}

QFont Chosen(bool byPoints, int size, bool bold, bool italic) {
  QFont font(QStringLiteral("Liberation Serif"));
  if (byPoints) {
    font.setPointSize(size);
  } else {
    font.setPixelSize(size);
  }
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, ChosenFonts,
    ::testing::Values(
        FontCase{"PixelsPlain", [] { return Chosen(false, 15, false, false); }, -15, 400, 0},
        FontCase{"PointsBold", [] { return Chosen(true, 9, true, false); }, -12, 700, 0},
        FontCase{"PointsItalic", [] { return Chosen(true, 12, false, true); }, -16, 400, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tolmar::viewer
