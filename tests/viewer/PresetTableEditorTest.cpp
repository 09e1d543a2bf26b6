#include <gtest/gtest.h>

#include "ViewerFixtures.h"
#include "suite/ProfileStore.h"
#include "viewer/PresetTableEditor.h"

namespace tolmar::viewer {
namespace {

PresetTable Stored() {
  return {{QStringLiteral("CT"), {{QStringLiteral("Lung"), 1500, -600}}},
          {QStringLiteral("MR"), {{QStringLiteral("Brain"), 300, 150}}}};
}

TEST(PresetTableEditor, OpensOnTheImagesModalityAndSavesOnlyWhenAsked) {
  test::PrivateProfileFolder folder;
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  ASSERT_TRUE(WritePresetTable(profile, Stored()));
  {
    PresetTableEditor cancelled(ReadPresetTable(profile), QStringLiteral("MR"));
    EXPECT_EQ(cancelled.InitialModality(), 1);
    EXPECT_TRUE(cancelled.RemoveModality(0));
  }
  EXPECT_EQ(ReadPresetTable(profile), Stored());  // cancelling leaves the profile alone

  PresetTableEditor editor(ReadPresetTable(profile), QStringLiteral("US"));
  EXPECT_EQ(editor.InitialModality(), 0);
  EXPECT_FALSE(editor.AddModality(QStringLiteral("   ")));
  ASSERT_TRUE(editor.AddModality(QStringLiteral("US  ")));
  EXPECT_FALSE(editor.AddPreset(2, {QString(), 10, 10}));  // an empty name would end the list
  ASSERT_TRUE(editor.AddPreset(2, {QStringLiteral("Abdomen"), 350, 40}));
  EXPECT_FALSE(editor.AddPreset(3, {QStringLiteral("x"), 1, 1}));
  ASSERT_TRUE(editor.RemovePreset(0, 0));
  EXPECT_FALSE(editor.RemovePreset(0, 0));
  ASSERT_TRUE(editor.Save(profile));
  PresetTable expected = Stored();
  expected[0].presets.clear();
  expected.push_back({QStringLiteral("US"), {{QStringLiteral("Abdomen"), 350, 40}}});
  EXPECT_EQ(ReadPresetTable(profile), expected);
}

TEST(StandardWindowPairs, EditTheLoadedPresetsOnly) {
  ViewPresets presets;
  presets.LoadFor(QStringLiteral("CT"), {{QStringLiteral("CT"),
                                          {{QStringLiteral("a"), 400, 40},
                                           {QStringLiteral("b"), 1500, -600}}}});
  auto pairs = StandardWindowPairs(presets);
  ASSERT_EQ(pairs.size(), 8u);
  EXPECT_EQ(pairs[1].centre, -600);
  pairs[0] = {5000, -2000};  // beyond the ranges
  pairs[5] = {100, 100};     // no preset there
  ApplyStandardWindowPairs(presets, pairs);
  ASSERT_EQ(presets.Presets().size(), 2u);
  EXPECT_EQ(presets.At(0)->width, 4096);
  EXPECT_EQ(presets.At(0)->centre, -1024);
}

}  // namespace
}  // namespace tolmar::viewer
