#include <gtest/gtest.h>

#include "ViewerFixtures.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/ImageOperations.h"
#include "viewer/PictoriumViewModel.h"

namespace tolmar::viewer {
namespace {

// Four cells: series 1 (two cells), series 2 (one cell holding two images), series 3.
class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    m_doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage({1, 1})));
    m_doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage({1, 2})));
    auto merged = std::make_unique<DisplayCell>(test::MakeImage({2, 1}));
    merged->AddImage(test::MakeImage({2, 2}), false);
    merged->SetGrid(1, 2);
    m_doc.AppendCell(std::move(merged));
    m_doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage({3, 1})));
    m_view.SetClientRect(QRect(0, 0, 800, 800));
    m_view.SetLayout(2, 2);
    m_view.Reinitialise();
  }

  // Selected flags in cell order, image by image.
  std::string Flags() {
    std::string flags;
    for (auto& cell : m_doc.Cells()) {
      for (int i = 0; i < cell->ImageCount(); ++i) flags += cell->IsSelected(i) ? '1' : '0';
    }
    return flags;
  }

  void SelectAll(bool on) {
    for (auto& cell : m_doc.Cells()) cell->SetAllSelected(on);
  }

  QPoint CentreOf(int cellIndex, int imageIndex = 0) {
    const QRect rect =
        m_doc.Cell(cellIndex).ImageRectangle(imageIndex, m_view.CellRectangle(cellIndex));
    return rect.center();
  }

  CPictoriumDoc m_doc{QString(), nullptr};
  PictoriumViewModel m_view{m_doc};
};

struct ClickCase {
  const char* name;
  SelectionMode mode;
  bool modifier;
  const char* before;  // flags of the five images
  int cell, image;
  const char* after;
};

class SelectionOnClick : public Selection, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(SelectionOnClick, FollowsTheSelectionMode) {
  const auto& c = GetParam();
  m_doc.SetSelectionMode(c.mode);
  int k = 0;
  for (auto& cell : m_doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) cell->SetSelected(i, c.before[k++] == '1');
  }
  m_view.ClickSelect(c.cell, c.image, c.modifier);
  EXPECT_EQ(Flags(), c.after);
  EXPECT_EQ(m_view.CurrentIndex(), c.cell);
  EXPECT_EQ(m_view.CurrentImage(), &m_doc.Cell(c.cell).Image(c.image));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SelectionOnClick,
    ::testing::Values(
        ClickCase{"ImageAlone", SelectionMode::Image, false, "11011", 2, 1, "00010"},
        ClickCase{"ImageWithCtrlKeepsOthers", SelectionMode::Image, true, "10001", 2, 1, "10011"},
        ClickCase{"CellAlone", SelectionMode::Cell, false, "11001", 2, 0, "00110"},
        ClickCase{"CellWithShiftKeepsOthers", SelectionMode::Cell, true, "10000", 2, 1, "10110"},
        ClickCase{"AllChangesNothing", SelectionMode::All, false, "01000", 3, 0, "01001"},
        ClickCase{"GroupSelectsTheSeries", SelectionMode::Group, false, "00111", 1, 0, "11000"},
        ClickCase{"GroupIgnoresModifiers", SelectionMode::Group, true, "00111", 2, 0, "00110"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Selection, ModeChangeReappliesTheRuleToTheCurrentImage) {
  SelectAll(true);
  m_view.MakeCurrent(1);
  m_doc.SetSelectionMode(SelectionMode::Image);
  EXPECT_EQ(Flags(), "01000");
}

TEST_F(Selection, WindowDragInModeAllChangesEveryImage) {
  m_doc.SetSelectionMode(SelectionMode::All);
  SelectAll(false);
  std::vector<double> widths;
  for (auto& cell : m_doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) {
      OperationArgument a;
      ASSERT_TRUE(RunImageOperation(cell->Image(i), operation::kGetWindow, a));
      widths.push_back(a.width);
    }
  }
  const QPoint start = CentreOf(0);
  ASSERT_TRUE(m_view.MousePress(MouseButton::Right, start, false, false));
  m_view.MouseMove(start + QPoint(30, 0), false);
  m_view.MouseMove(start + QPoint(50, 10), false);
  const auto result = m_view.MouseRelease(MouseButton::Right, start + QPoint(50, 10), false);
  EXPECT_FALSE(result.openContextMenu);
  size_t k = 0;
  for (auto& cell : m_doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) {
      OperationArgument a;
      RunImageOperation(cell->Image(i), operation::kGetWindow, a);
      EXPECT_EQ(a.width, widths[k] + 50) << "image " << k;
      ++k;
    }
  }
}

TEST_F(Selection, WindowDragInModeImageChangesOnlyTheSelection) {
  m_doc.SetSelectionMode(SelectionMode::Image);
  OperationArgument before;
  RunImageOperation(m_doc.Cell(3).Image(0), operation::kGetWindow, before);
  const QPoint start = CentreOf(0);
  ASSERT_TRUE(m_view.MousePress(MouseButton::Right, start, false, false));
  m_view.MouseMove(start + QPoint(40, 0), false);
  m_view.MouseRelease(MouseButton::Right, start + QPoint(40, 0), false);
  OperationArgument after;
  RunImageOperation(m_doc.Cell(3).Image(0), operation::kGetWindow, after);
  EXPECT_EQ(after.width, before.width);
  RunImageOperation(m_doc.Cell(0).Image(0), operation::kGetWindow, after);
  EXPECT_EQ(after.width, before.width + 40);
}

TEST_F(Selection, CtrlDragGivesTheOthersTheSameChangeAsTheCurrentImage) {
  m_doc.SetSelectionMode(SelectionMode::All);
  OperationArgument before;
  RunImageOperation(m_doc.Cell(0).Image(0), operation::kGetWindow, before);
  const QPoint start = CentreOf(0);
  m_view.MousePress(MouseButton::Right, start, false, true);
  m_view.MouseMove(start + QPoint(10, 0), true);
  m_view.MouseRelease(MouseButton::Right, start + QPoint(10, 0), true);
  OperationArgument current;
  OperationArgument other;
  RunImageOperation(m_doc.Cell(0).Image(0), operation::kGetWindow, current);
  RunImageOperation(m_doc.Cell(3).Image(0), operation::kGetWindow, other);
  EXPECT_EQ(current.width, before.width + 30) << "moves count three times with Ctrl";
  EXPECT_EQ(other.width, current.width);
}

TEST_F(Selection, RightClickWithoutMovementOpensTheMenuAndChangesNothing) {
  OperationArgument before;
  RunImageOperation(m_doc.Cell(1).Image(0), operation::kGetWindow, before);
  const QPoint point = CentreOf(1);
  ASSERT_TRUE(m_view.MousePress(MouseButton::Right, point, false, false));
  const auto result = m_view.MouseRelease(MouseButton::Right, point, false);
  EXPECT_TRUE(result.openContextMenu);
  EXPECT_FALSE(result.changed);
  OperationArgument after;
  RunImageOperation(m_doc.Cell(1).Image(0), operation::kGetWindow, after);
  EXPECT_EQ(after.width, before.width);
  EXPECT_EQ(after.centre, before.centre);
}

TEST_F(Selection, MiddleButtonWindowsWhenTheButtonsAreSwapped) {
  ViewSettings settings;
  settings.middleButtonWindow = true;
  CPictoriumDoc doc{QString(), nullptr};
  doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage({1, 1})));
  PictoriumViewModel view(doc, settings);
  view.SetClientRect(QRect(0, 0, 400, 400));
  view.SetLayout(1, 1);
  view.Reinitialise();
  OperationArgument before;
  RunImageOperation(doc.Cell(0).Image(0), operation::kGetWindow, before);
  view.MousePress(MouseButton::Middle, {200, 200}, false, false);
  view.MouseMove({220, 200}, false);
  view.MouseRelease(MouseButton::Middle, {220, 200}, false);
  OperationArgument after;
  RunImageOperation(doc.Cell(0).Image(0), operation::kGetWindow, after);
  EXPECT_EQ(after.width, before.width + 20);
}

TEST_F(Selection, ZoomDragIsRepeatedOnTheSelectedImagesOnly) {
  m_doc.SetSelectionMode(SelectionMode::Image);
  m_view.SetTool(Tool::Zoom);
  m_view.ClickSelect(3, 0, false);
  auto zoomOf = [this](int cell) {
    OperationArgument zoom;
    RunImageOperation(m_doc.Cell(cell).Image(0), operation::kGetZoom, zoom);
    return zoom.value;
  };
  const int before[] = {zoomOf(0), zoomOf(1), zoomOf(3)};
  const QPoint start = CentreOf(0);
  ASSERT_TRUE(
      m_view.MousePress(MouseButton::Left, start, false, true));  // Ctrl keeps cell 3 selected
  m_view.MouseMove(start + QPoint(10, 0), false);
  m_view.MouseRelease(MouseButton::Left, start + QPoint(10, 0), false);
  const int change = zoomOf(0) - before[0];
  EXPECT_NE(change, 0);
  EXPECT_EQ(zoomOf(3) - before[2], change);
  EXPECT_EQ(zoomOf(1), before[1]);
}

TEST_F(Selection, MovingOverAnImageReadsRowColumnAndValue) {
  const QPoint point = CentreOf(3);
  m_view.MouseMove(point, false);
  const PixelReadout& readout = m_doc.Readout();
  EXPECT_GE(readout.row, 0);
  EXPECT_GE(readout.column, 0);
  EXPECT_EQ(readout.value, m_doc.Cell(3).Image(0).GetPixel(readout.column, readout.row));
  EXPECT_NE(readout.value, -1000);
}

}  // namespace
}  // namespace tolmar::viewer
