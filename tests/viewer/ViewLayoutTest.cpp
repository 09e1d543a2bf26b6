#include <gtest/gtest.h>

#include "ViewerFixtures.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/GridGeometry.h"
#include "viewer/PictoriumViewModel.h"

namespace tolmar::viewer {
namespace {

struct GridCase {
  const char* name;
  int width, height, count;
  GridSize expected;
};

class ShowAllGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(ShowAllGridTest, ChoosesTheGridThatWastesFewerSlots) {
  const auto& c = GetParam();
  EXPECT_EQ(ShowAllGrid(c.width, c.height, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShowAllGridTest,
                         ::testing::Values(GridCase{"TenCellsWideArea", 1000, 600, 10, {2, 5}},
                                           GridCase{"OneCell", 1000, 600, 1, {1, 1}},
                                           GridCase{"FourCellsSquare", 500, 500, 4, {2, 2}},
                                           GridCase{"TallArea", 300, 900, 3, {3, 1}},
                                           GridCase{"EmptyAreaStaysOneByOne", 0, 0, 7, {1, 1}},
                                           GridCase{"NoCells", 800, 600, 0, {1, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SlotRectangle, SlotsTileTheAreaWithEdgesOnePixelInside) {
  const QRect area(10, 20, 1000, 600);
  const QRect first = SlotRectangle(area, {2, 5}, 0);
  EXPECT_EQ(first, QRect(10, 20, 199, 299));
  const QRect seventh = SlotRectangle(area, {2, 5}, 6);
  EXPECT_EQ(seventh.topLeft(), QPoint(10 + 200, 20 + 300));
}

class ViewWithCells : public ::testing::Test {
 protected:
  void AddCells(int count) {
    for (int i = 0; i < count; ++i) {
      auto cell = std::make_unique<DisplayCell>(test::MakeImage({1, i + 1}));
      cell->SetSelected(0, true);
      m_doc.AppendCell(std::move(cell));
    }
    m_view.SetClientRect(QRect(0, 0, 1000, 600));
    m_view.Reinitialise();
  }

  CPictoriumDoc m_doc{QString(), nullptr};
  PictoriumViewModel m_view{m_doc};
};

TEST_F(ViewWithCells, ZeroRowsOrColumnsGiveTheShowAllLayout) {
  AddCells(10);
  EXPECT_TRUE(m_view.SetLayout(0, 3));
  EXPECT_TRUE(m_view.IsShowAll());
  EXPECT_EQ(m_view.Rows(), 0);
  EXPECT_EQ(m_view.Columns(), 0);
  EXPECT_EQ(m_view.PageSize(), 10);
  EXPECT_EQ(m_view.Grid(), (GridSize{2, 5}));
  EXPECT_FALSE(m_view.SetLayout(0, 0)) << "unchanged layout does nothing";
}

TEST_F(ViewWithCells, ShowAllToggleReturnsToTheSavedLayout) {
  AddCells(5);
  m_view.SetLayout(3, 3);
  m_view.ToggleShowAll();
  EXPECT_TRUE(m_view.IsShowAll());
  m_view.ToggleShowAll();
  EXPECT_EQ(m_view.Rows(), 3);
  EXPECT_EQ(m_view.Columns(), 3);
}

TEST_F(ViewWithCells, SingleCellToggleRemembersTheLayout) {
  AddCells(5);
  m_view.SetLayout(2, 3);
  m_view.ToggleSingleCell();
  EXPECT_EQ(m_view.PageSize(), 1);
  m_view.ToggleSingleCell();
  EXPECT_EQ(m_view.Rows(), 2);
  EXPECT_EQ(m_view.Columns(), 3);
}

TEST_F(ViewWithCells, NavigationStopsAtTheEnds) {
  AddCells(10);
  m_view.SetLayout(2, 2);
  EXPECT_FALSE(m_view.CanNavigate(Navigation::Previous));
  EXPECT_FALSE(m_view.Navigate(Navigation::PreviousScreen));
  ASSERT_TRUE(m_view.Navigate(Navigation::Last));
  EXPECT_EQ(m_view.CurrentIndex(), 9);
  EXPECT_EQ(m_view.FirstShown(), 6) << "the last page is full";
  EXPECT_FALSE(m_view.Navigate(Navigation::Next));
  EXPECT_EQ(m_view.CurrentIndex(), 9);
  EXPECT_FALSE(m_view.Navigate(Navigation::NextScreen));
  EXPECT_FALSE(m_view.CellRectangle(9).isEmpty()) << "the last cell stays shown";
}

TEST_F(ViewWithCells, ScreensPageByThePageSize) {
  AddCells(10);
  m_view.SetLayout(2, 2);
  ASSERT_TRUE(m_view.Navigate(Navigation::NextScreen));
  EXPECT_EQ(m_view.FirstShown(), 4);
  EXPECT_EQ(m_view.CurrentIndex(), 4);
  ASSERT_TRUE(m_view.Navigate(Navigation::NextScreen));
  EXPECT_EQ(m_view.FirstShown(), 8);
  EXPECT_TRUE(m_view.CellRectangle(9).isValid());
  EXPECT_FALSE(m_view.CanNavigate(Navigation::NextScreen));
  ASSERT_TRUE(m_view.Navigate(Navigation::PreviousScreen));
  EXPECT_EQ(m_view.FirstShown(), 4);
  const ScrollRange scroll = m_view.Scroll();
  EXPECT_EQ(scroll.maximum, 9);
  EXPECT_EQ(scroll.position, 4);
  EXPECT_EQ(scroll.page, 4);
}

TEST_F(ViewWithCells, ScrollingStaysWithinTheCells) {
  AddCells(6);
  m_view.SetLayout(1, 2);
  m_view.ScrollPages(10);
  EXPECT_EQ(m_view.FirstShown(), 5);
  m_view.ScrollLines(-20);
  EXPECT_EQ(m_view.FirstShown(), 0);
}

TEST_F(ViewWithCells, SixSelectedCellsMergeIntoFourAndTwo) {
  AddCells(6);
  m_view.SetMergeFormat(2, 2);
  ASSERT_TRUE(m_view.MergeSelected());
  ASSERT_EQ(m_doc.CellCount(), 2);
  EXPECT_EQ(m_doc.Cell(0).ImageCount(), 4);
  EXPECT_EQ(m_doc.Cell(1).ImageCount(), 2);
  EXPECT_EQ(m_view.CurrentIndex(), 0);
  EXPECT_EQ(m_doc.Cell(0).Image(3).Geometry().instanceNumber, 4) << "images keep their order";
}

TEST_F(ViewWithCells, MergeSkipsUnselectedCells) {
  AddCells(4);
  m_doc.Cell(1).SetSelected(0, false);
  m_view.SetMergeFormat(0, 0);
  ASSERT_TRUE(m_view.MergeSelected());
  ASSERT_EQ(m_doc.CellCount(), 2);
  EXPECT_EQ(m_doc.Cell(0).ImageCount(), 3);
  EXPECT_EQ(m_doc.Cell(1).ImageCount(), 1);
}

TEST_F(ViewWithCells, SplitPutsEveryImageBackInItsOwnCell) {
  AddCells(5);
  m_view.SetMergeFormat(2, 2);
  ASSERT_TRUE(m_view.MergeSelected());
  ASSERT_TRUE(m_view.CanSplit());
  ASSERT_TRUE(m_view.Split());
  ASSERT_EQ(m_doc.CellCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m_doc.Cell(i).ImageCount(), 1);
  EXPECT_FALSE(m_view.CanSplit());
}

TEST_F(ViewWithCells, MergingTheScreenTakesTheScreenGrid) {
  AddCells(6);
  m_view.SetLayout(2, 2);
  ASSERT_TRUE(m_view.MergeScreen());
  ASSERT_EQ(m_doc.CellCount(), 3);
  EXPECT_EQ(m_doc.Cell(0).ImageCount(), 4);
  EXPECT_EQ(m_doc.Cell(0).GridRows(), 2);
  EXPECT_EQ(m_doc.Cell(0).GridColumns(), 2);
}

TEST_F(ViewWithCells, MergingTheScreenIsRefusedWhenAVisibleCellHoldsTwoImages) {
  AddCells(6);
  m_view.SetLayout(2, 2);
  m_doc.Cell(1).AddImage(test::MakeImage({2, 1}), false);
  EXPECT_FALSE(m_view.MergeScreen());
  EXPECT_EQ(m_doc.CellCount(), 6);
  m_view.SetLayout(1, 1);
  EXPECT_FALSE(m_view.MergeScreen()) << "a page of one cannot be merged";
}

TEST_F(ViewWithCells, DeletingSelectedImagesRemovesEmptiedCells) {
  AddCells(4);
  m_doc.Cell(0).SetSelected(0, false);
  m_doc.Cell(3).SetSelected(0, false);
  m_doc.SetSelectionMode(SelectionMode::Image);
  m_doc.Cell(0).SetSelected(0, false);
  m_doc.Cell(1).SetSelected(0, true);
  m_doc.Cell(2).SetSelected(0, true);
  m_doc.Cell(3).SetSelected(0, false);
  ASSERT_TRUE(m_view.DeleteSelected());
  EXPECT_EQ(m_doc.CellCount(), 2);
  EXPECT_EQ(m_view.CurrentIndex(), 1) << "the cell at the first deletion point becomes current";
}

}  // namespace
}  // namespace tolmar::viewer
