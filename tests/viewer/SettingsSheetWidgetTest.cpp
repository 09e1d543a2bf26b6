#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include "ViewerFixtures.h"
#include "suite/ProfileStore.h"
#include "suite/SuiteStrings.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/PictoriumViewModel.h"
#include "viewer/ui/SettingsSheet.h"

namespace tolmar::viewer {
namespace {

template <class Control>
Control* On(QTabWidget* tabs, int page, int id) {
  auto* control = tabs->widget(page)->findChild<Control*>(QString::number(id));
  EXPECT_NE(control, nullptr) << "page " << page << " control " << id;
  return control;
}

// Applying changes the program-wide display settings and drawing style; other
// tests find them as they were.
class SettingsSheetWidgets : public ::testing::Test {
 protected:
  void TearDown() override {
    SetDisplaySettings(m_display);
    SetMeasureStyle(m_style);
  }

 private:
  DisplaySettings m_display = CurrentDisplaySettings();
  AnnotationStyle m_style = MeasureStyle();
};

TEST_F(SettingsSheetWidgets, PagesFollowTheirEnablingRulesAndApplyWritesWhatWasChosen) {
  test::PrivateProfileFolder folder;
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  profile.WriteSharedValue(QStringLiteral("PrintFilm"), QStringLiteral("Width"), "210");
  CPictoriumDoc doc(QString(), nullptr);
  PictoriumViewModel view(doc);
  SettingsSheet sheet(SettingsSheet::Kind::WholeSheet, profile, &view, suite::PictoriumStrings());
  auto* tabs = sheet.findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 7);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("系统参数"));
  EXPECT_EQ(tabs->tabText(6), QStringLiteral("定位线"));

  // Film: the kind decides which fields are open; the size texts stay.
  auto* width = On<QLineEdit>(tabs, 1, 1022);
  auto* bringUp = On<QCheckBox>(tabs, 1, 1226);
  EXPECT_FALSE(width->isEnabled());
  EXPECT_TRUE(bringUp->isEnabled());
  On<QRadioButton>(tabs, 1, 1223)->click();
  EXPECT_TRUE(width->isEnabled());
  EXPECT_FALSE(bringUp->isEnabled());
  On<QRadioButton>(tabs, 1, 1222)->click();
  EXPECT_FALSE(width->isEnabled());
  EXPECT_EQ(width->text(), QStringLiteral("210"));

  // Windowing and history bar: the fields are open only while their box is ticked.
  for (const int page : {4, 5}) {
    auto* box = On<QCheckBox>(tabs, page, 1223);
    auto* field = On<QSpinBox>(tabs, page, 1022);
    EXPECT_FALSE(field->isEnabled()) << page;
    box->click();
    EXPECT_TRUE(field->isEnabled()) << page;
  }
  On<QSpinBox>(tabs, 4, 1022)->setValue(150);
  On<QRadioButton>(tabs, 0, 1207)->click();

  ASSERT_TRUE(sheet.ApplyValues(false));
  const QString settings = QStringLiteral("Settings");
  EXPECT_EQ(profile.GetProfileInt(settings, QStringLiteral("LBtnDbClkFun"), 0), 1);
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("WCRect"), QStringLiteral("Enable"), 0), 1);
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("WCRect"), QStringLiteral("Width"), 0), 150);
  EXPECT_EQ(view.CurrentSettings().doubleClickFunction, 1);
  EXPECT_EQ(profile.ReadSharedValue(QStringLiteral("PrintFilm"), QStringLiteral("Width"), {}),
            QStringLiteral("210"));
  // The history bar waits for OK.
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Casebook"), QStringLiteral("IsView"), 0), 0);
  sheet.accept();
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Casebook"), QStringLiteral("IsView"), 0), 1);
}

TEST_F(SettingsSheetWidgets, ATypedPenWidthOutsideTheRangeKeepsTheSheetOpenOnItsPage) {
  test::PrivateProfileFolder folder;
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  CPictoriumDoc doc(QString(), nullptr);
  PictoriumViewModel view(doc);
  SettingsSheet sheet(SettingsSheet::Kind::WholeSheet, profile, &view, suite::PictoriumStrings());
  auto* tabs = sheet.findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  auto* width = On<QSpinBox>(tabs, 3, 1089);
  // The spin buttons stop at 1, but 0 can be typed.
  width->setValue(1);
  width->stepDown();
  EXPECT_EQ(width->value(), 1);
  width->setValue(0);
  On<QCheckBox>(tabs, 0, 1202)->click();

  QString message;
  QTimer::singleShot(0, [&message] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      message = box->text();
      box->reject();
    }
  });
  sheet.accept();
  EXPECT_EQ(message, QStringLiteral("请输入一个介于 1 和 100 之间的整数。"));
  EXPECT_EQ(tabs->currentIndex(), 3);
  EXPECT_NE(sheet.result(), QDialog::Accepted);
  EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Settings"), QStringLiteral("QuickFlush"), -1),
            -1);
}

}  // namespace
}  // namespace tolmar::viewer
