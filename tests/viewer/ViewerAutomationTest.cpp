#include <gtest/gtest.h>

#include "viewer/ViewerAutomation.h"

namespace tolmar::viewer {
namespace {

class RecordingHandler : public ViewerAutomationHandler {
 public:
  QStringList calls;
  void SetPatient(const QString& folderText, const QString& studyUid) override {
    calls << QStringList{"SetPatient", folderText, studyUid}.join(u'|');
  }
  void LoadImages(const QString& folderText, const QString& level,
                  const QString& objectText) override {
    calls << QStringList{"LoadImages", folderText, level, objectText}.join(u'|');
  }
  void ShowWindow() override { calls << QStringLiteral("Show"); }
};

struct MethodCase {
  const char* name;
  int method;
  QVariantList arguments;
  QVariant result;  // invalid: the arguments do not fit
  QString call;     // what the viewer was asked, empty for nothing
};

class ViewerAutomationMethodTest : public ::testing::TestWithParam<MethodCase> {};

TEST_P(ViewerAutomationMethodTest, AnswersAndAsksTheViewer) {
  const MethodCase& c = GetParam();
  RecordingHandler handler;
  ViewerAutomation automation(handler);
  const QVariant result = automation.Answer(c.method, c.arguments);
  EXPECT_EQ(result.isValid(), c.result.isValid());
  if (c.result.isValid()) {
    EXPECT_EQ(result.toInt(), c.result.toInt());
  }
  EXPECT_EQ(handler.calls, c.call.isEmpty() ? QStringList() : QStringList{c.call});
}

const QString kObject1 = QStringLiteral(";~;OBJECT_ID=20");
const QString kObject2 = QStringLiteral(";~;OBJECT_ID=21");

INSTANTIATE_TEST_SUITE_P(
    Methods, ViewerAutomationMethodTest,
    ::testing::Values(
        MethodCase{"ShowWindow", 1, {}, 0, "Show"}, MethodCase{"ShowWithArguments", 1, {1}, {}, {}},
        MethodCase{"SetPatient", 7, {"CT-Archive", "1.2.3"}, 0, "SetPatient|CT-Archive|1.2.3"},
        MethodCase{"SetPatientOneText", 7, {"CT-Archive"}, {}, {}},
        MethodCase{"SetPatientNumber", 7, {"CT-Archive", 5}, {}, {}},
        MethodCase{"LoadImagesC",
                   5,
                   {"CT-Archive", "STUDY", kObject1},
                   0,
                   "LoadImages|CT-Archive|STUDY|" + kObject1},
        MethodCase{"LoadImagesCEmptyObject",
                   5,
                   {"CT-Archive", "STUDY", " "},
                   ViewerAutomation::kNothingToLoad,
                   {}},
        MethodCase{"LoadImagesCArray", 5, {"CT-Archive", "STUDY", QStringList{kObject1}}, {}, {}},
        MethodCase{"LoadImagesCTwoArguments", 5, {"CT-Archive", "STUDY"}, {}, {}},
        MethodCase{"LoadImagesDTexts",
                   6,
                   {"CT-Archive", "STUDY", QStringList{kObject1, kObject2}},
                   0,
                   "LoadImages|CT-Archive|STUDY|" + kObject1 + kObject2},
        MethodCase{"LoadImagesDVariants",
                   6,
                   {"CT-Archive", "STUDY", QVariantList{kObject1, 7, kObject2}},
                   0,
                   "LoadImages|CT-Archive|STUDY|" + kObject1 + kObject2},
        MethodCase{"LoadImagesDOneText",
                   6,
                   {"CT-Archive", "STUDY", kObject2},
                   0,
                   "LoadImages|CT-Archive|STUDY|" + kObject2},
        MethodCase{"LoadImagesDEmptyArray",
                   6,
                   {"CT-Archive", "STUDY", QStringList{}},
                   ViewerAutomation::kNothingToLoad,
                   {}},
        MethodCase{"UnknownMethod", 3, {}, {}, {}}),
    [](const ::testing::TestParamInfo<MethodCase>& info) { return info.param.name; });

TEST(ViewerAutomationSwitchTest, EitherPrefixAndAnyCaseMarkAnActivationStart) {
  EXPECT_TRUE(HasAutomationSwitch({"-Automation"}));
  EXPECT_TRUE(HasAutomationSwitch({"/init", "/AUTOMATION"}));
  EXPECT_FALSE(HasAutomationSwitch({}));
  EXPECT_FALSE(HasAutomationSwitch({"/tmp/Automation", "Automation", "-Automationx"}));
  EXPECT_EQ(WithoutAutomationSwitch({"-automation", "/tmp/QV1.TMP"}), QStringList{"/tmp/QV1.TMP"});
}

}  // namespace
}  // namespace tolmar::viewer
