#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "viewer/PaletteEditor.h"

namespace tolmar::viewer {
namespace {

struct LimitCase {
  const char* name;
  int kind, from, to;
  int expectedFrom, expectedTo;
};

class PaletteEditorLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PaletteEditorLimits, KeepPositionsInTheKindsRange) {
  const LimitCase& c = GetParam();
  PaletteEditor editor({}, "/nonexistent/Tolmar.pal");
  editor.Fields().kind = c.kind;
  editor.Fields().from = c.from;
  editor.Fields().to = c.to;
  editor.AddSegment();
  ASSERT_EQ(editor.Segments().size(), 1u);
  EXPECT_EQ(editor.Segments()[0].from, c.expectedFrom);
  EXPECT_EQ(editor.Segments()[0].to, c.expectedTo);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaletteEditorLimits,
    ::testing::Values(LimitCase{"ModalityInside", 4096, -200, 300, -200, 300},
                      LimitCase{"ModalityOutside", 4096, -5000, 9000, -1000, 3096},
                      LimitCase{"IndexOutside", 256, -5, 400, 0, 256},
                      LimitCase{"ToRaisedToFrom", 256, 200, 100, 200, 200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PaletteEditor, SegmentLinesShowKindPositionsAndColours) {
  EXPECT_EQ(PaletteEditor::SegmentLine({4096, -100, 50, 0x0000FF, 0xFFFFFF}),
            QStringLiteral("4096|-100(FF)|  50(FFFFFF)"));
}

TEST(PaletteEditor, EditsSegmentsBySelection) {
  PaletteEditor editor({{256, 0, 10, 1, 2}, {256, 20, 30, 3, 4}}, "/nonexistent/Tolmar.pal");
  ASSERT_TRUE(editor.SelectSegment(1));
  EXPECT_EQ(editor.Fields().from, 20);
  editor.Fields().to = 40;
  ASSERT_TRUE(editor.ReplaceSegment(0));
  EXPECT_EQ(editor.Segments()[0].to, 40);
  EXPECT_FALSE(editor.ReplaceSegment(2));
  EXPECT_FALSE(editor.RemoveSegment(-1));
  ASSERT_TRUE(editor.RemoveSegment(1));
  EXPECT_EQ(editor.Segments().size(), 1u);
}

TEST(PaletteEditor, WritesChangedPresetsWhenItGoesAway) {
  QTemporaryDir dir;
  const std::string path = QFile::encodeName(dir.filePath(QStringLiteral("Tolmar.pal"))).toStdString();
  const PaletteSegments hot{{4096, 0, 100, 0x0000FF, 0x00FFFF}};
  {
    PaletteEditor editor(hot, path);
    EXPECT_TRUE(editor.Presets().empty());  // no file yet
    EXPECT_FALSE(editor.AddPreset(""));
    ASSERT_TRUE(editor.AddPreset("hot"));
  }
  {
    PaletteEditor editor({}, path);
    ASSERT_EQ(editor.Presets().size(), 1u);
    EXPECT_FALSE(editor.AddPreset("empty"));  // a preset needs segments
    ASSERT_TRUE(editor.ChoosePreset(0));
    EXPECT_EQ(editor.Segments(), hot);
    EXPECT_FALSE(editor.PresetsChanged());
  }
  {
    PaletteEditor editor({}, path);
    ASSERT_TRUE(editor.RemovePreset(0));
  }
  PaletteEditor reread({}, path);
  EXPECT_TRUE(reread.Presets().empty());
}

}  // namespace
}  // namespace tolmar::viewer
