#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "ViewerFixtures.h"
#include "annotation/DrawObjList.h"
#include "image/FilterRecord.h"
#include "suite/ProfileStore.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/CellPaint.h"
#include "viewer/DuplicateRun.h"
#include "viewer/PictoriumViewModel.h"
#include "viewer/WindowPresets.h"

namespace tolmar::viewer {
namespace {

class ViewCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallDrawObjects();
    m_view.SetClientRect(QRect(0, 0, 800, 800));
    m_view.SetLayout(2, 2);
  }

  void AddCells(int count, const std::string& modality = "CT") {
    for (int i = 0; i < count; ++i) {
      test::ImageSpec shape;
      shape.rows = shape.columns = 64;  // objects a few pixels apart stay apart
      shape.instance = m_doc.CellCount() + 1;
      shape.modality = modality;
      m_doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage(shape)));
    }
    m_view.Reinitialise();
  }

  // Loads image files written to a temporary folder, one cell each.
  void LoadFiles(int count) {
    for (int i = 0; i < count; ++i) {
      const QString path = m_files.filePath(QStringLiteral("%1.dcm").arg(i + 1));
      test::ImageSpec shape;
      shape.instance = i + 1;
      ASSERT_TRUE(test::WriteImageFile(path, shape));
      ASSERT_GE(m_doc.LoadFileNow(path), 0);
    }
    m_view.Reinitialise();
  }

  std::pair<double, double> WindowOf(int cell) {
    OperationArgument window;
    RunImageOperation(m_doc.Cell(cell).Image(0), operation::kGetWindow, window);
    return {window.width, window.centre};
  }

  // Images place themselves by the cell they were last painted into, as on the screen.
  void PaintScreen() {
    QImage canvas(m_view.ClientRect().size(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    for (int i = m_view.FirstShown(); i < std::min(m_doc.CellCount(), m_view.FirstShown() + m_view.PageSize()); ++i) {
      DisplayCell& cell = m_doc.Cell(i);
      for (int j = 0; j < cell.ImageCount(); ++j)
        PaintImage(painter, cell.Image(j), cell.ImageRectangle(j, m_view.CellRectangle(i)), {});
    }
  }

  // A left-button drag; false when the press missed every image.
  bool Drag(QPoint from, QPoint to) {
    const bool hit = m_view.MousePress(MouseButton::Left, from, false, false);
    m_view.MouseMove(to, false);
    m_view.MouseRelease(MouseButton::Left, to, false);
    return hit;
  }

  QPoint CentreOf(int cell) {
    return m_doc.Cell(cell).ImageRectangle(0, m_view.CellRectangle(cell)).center();
  }

  QTemporaryDir m_files;
  CPictoriumDoc m_doc{QString(), nullptr};
  PictoriumViewModel m_view{m_doc};
};

PresetTable Table(std::initializer_list<std::pair<const char*, int>> modalities) {
  PresetTable table;
  for (const auto& [name, count] : modalities) {
    PresetModality modality{QString::fromLatin1(name), {}};
    for (int i = 0; i < count; ++i)
      modality.presets.push_back({QStringLiteral("p%1").arg(i), 100 + i, 40 + i});
    table.push_back(modality);
  }
  return table;
}

TEST(WindowPresetTable, ReadsBackWhatItWrites) {
  test::PrivateProfileFolder folder;
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  const PresetTable table = Table({{"CT", 3}, {"MR", 1}});
  ASSERT_TRUE(WritePresetTable(profile, table));
  EXPECT_EQ(ReadPresetTable(profile), table);
  EXPECT_EQ(profile.GetProfileString(QStringLiteral("Window\\Modality1"), QStringLiteral("Center2"),
                                     QString()),
            QStringLiteral("41"));
}

TEST(WindowPresetTable, StopsAtTheFirstEmptyName) {
  test::PrivateProfileFolder folder;
  suite::ProfileStore profile(QStringLiteral("Pictorium"));
  ASSERT_TRUE(WritePresetTable(profile, Table({{"CT", 3}, {"", 1}, {"MR", 2}})));
  // An empty preset name ends its modality.
  profile.WriteProfileString(QStringLiteral("Window\\Modality1"), QStringLiteral("Name2"),
                             QString());
  EXPECT_EQ(ReadPresetTable(profile), Table({{"CT", 1}}));
}

TEST(ViewPresets, CollectsEveryEntryOfTheModalityUpToSixteen) {
  ViewPresets presets;
  EXPECT_TRUE(presets.LoadFor(QStringLiteral("CT"), Table({{"CT", 10}, {"MR", 4}, {"CT", 10}})));
  EXPECT_EQ(presets.Presets().size(), 16u);
  EXPECT_EQ(presets.At(15)->name, QStringLiteral("p5"));
  EXPECT_FALSE(presets.LoadFor(QStringLiteral("CT"), {}));  // already loaded
  EXPECT_TRUE(presets.LoadFor(QStringLiteral("ct"), Table({{"CT", 2}})));  // names match exactly
  EXPECT_TRUE(presets.Presets().empty());
}

TEST_F(ViewCommands, PresetBeyondTheLoadedOnesDoesNothing) {
  AddCells(3);
  m_view.SetPresetTable(Table({{"CT", 3}}));
  const auto before = WindowOf(0);
  EXPECT_FALSE(m_view.ApplyPreset(3));
  EXPECT_EQ(WindowOf(0), before);
  ASSERT_TRUE(m_view.ApplyPreset(2));
  for (int cell = 0; cell < 3; ++cell) EXPECT_EQ(WindowOf(cell), std::make_pair(102.0, 42.0));
}

TEST_F(ViewCommands, PresetsFollowTheCurrentImagesModality) {
  AddCells(1, "CT");
  AddCells(1, "MR");
  m_view.SetPresetTable(Table({{"CT", 2}, {"MR", 5}}));
  EXPECT_EQ(m_view.Presets().Modality(), QStringLiteral("CT"));
  ASSERT_TRUE(m_view.Navigate(Navigation::Next));
  EXPECT_EQ(m_view.Presets().Modality(), QStringLiteral("MR"));
  EXPECT_EQ(m_view.Presets().Presets().size(), 5u);
}

TEST_F(ViewCommands, FilterChangesTheSelectedImagesOnly) {
  AddCells(2);
  m_doc.SetSelectionMode(SelectionMode::Image);
  m_view.ClickSelect(0, 0, false);
  const auto pixels = [&](int cell) { return m_doc.Cell(cell).Image(0).GetPixel(3, 3); };
  const int before0 = pixels(0);
  const int before1 = pixels(1);
  EXPECT_FALSE(m_view.ApplyFilter(static_cast<int>(FilterTable().size())));
  ASSERT_TRUE(m_view.ApplyFilter(2));  // sharpen
  EXPECT_NE(pixels(0), before0);
  EXPECT_EQ(pixels(1), before1);
}

TEST_F(ViewCommands, PaletteGoesToGreyImagesOfTheSelection) {
  AddCells(2);
  const PaletteSegments segments{{PaletteSegment::kIndexKind, 0, 100, 0x0000FF, 0x00FF00}};
  ASSERT_TRUE(m_view.SetPalette(segments));
  for (int cell = 0; cell < 2; ++cell) {
    PaletteSegments read;
    OperationArgument argument;
    argument.segments = &read;
    ASSERT_TRUE(RunImageOperation(m_doc.Cell(cell).Image(0), operation::kGetPalette, argument));
    EXPECT_EQ(read, segments);
  }
  test::ImageSpec colour;
  colour.photometric = "RGB";
  colour.bitsAllocated = 8;
  DisplayCell colourCell(test::MakeImage(colour));
  PaletteSegments copy = segments;
  OperationArgument argument;
  argument.segments = &copy;
  EXPECT_FALSE(RunImageOperation(colourCell.Image(0), operation::kSetPalette, argument));
}

TEST_F(ViewCommands, DuplicateRunCopiesSelectedImagesWithTheirStateAndOriginalRemovesThem) {
  LoadFiles(3);
  m_doc.SetSelectionMode(SelectionMode::Image);
  m_view.ClickSelect(0, 0, false);
  m_view.ClickSelect(2, 0, true);
  OperationArgument zoom{250};
  RunImageOperation(m_doc.Cell(0).Image(0), operation::kSetZoom, zoom);
  // An image whose file went away is skipped.
  QFile::remove(QString::fromStdString(m_doc.Cell(2).Image(0).Path()));

  ASSERT_EQ(DuplicateSelectedImages(m_doc), 1);
  ASSERT_EQ(m_doc.CellCount(), 4);
  DicomImage& twin = m_doc.Cell(1).Image(0);
  EXPECT_EQ(twin.Path(), m_doc.Cell(0).Image(0).Path());
  EXPECT_GT(twin.DuplicateRun(), 0);
  EXPECT_EQ(twin.Zoom(), 250);
  EXPECT_EQ(m_doc.Cell(0).Image(0).DuplicateRun(), 0);

  m_view.MakeCurrent(1);
  const int firstRun = twin.DuplicateRun();
  m_view.ClickSelect(1, 0, false);
  ASSERT_EQ(DuplicateSelectedImages(m_doc), 1);  // a twin can be duplicated again
  EXPECT_EQ(m_doc.Cell(2).Image(0).DuplicateRun(), firstRun + 1);

  EXPECT_EQ(DeleteDuplicates(m_doc), 2);
  EXPECT_EQ(m_doc.CellCount(), 3);
  EXPECT_EQ(DeleteDuplicates(m_doc), 0);
  EXPECT_EQ(m_view.CurrentIndex(), 0);  // the current twin went; a cell that exists is current
}

TEST_F(ViewCommands, CutTakesTheCurrentImageAndMovesToTheNeighbour) {
  AddCells(3);
  const DicomImage* second = &m_doc.Cell(1).Image(0);
  m_view.MakeCurrent(1);
  auto taken = m_view.TakeCurrentImage();
  EXPECT_EQ(taken.get(), second);
  EXPECT_EQ(m_doc.CellCount(), 2);
  EXPECT_EQ(m_view.CurrentIndex(), 0);  // the previous cell

  m_view.MakeCurrent(0);
  m_view.TakeCurrentImage();
  EXPECT_EQ(m_view.CurrentIndex(), 0);  // the first cut: the next cell moved up
  m_view.TakeCurrentImage();
  EXPECT_EQ(m_doc.CellCount(), 0);
  EXPECT_EQ(m_view.CurrentImage(), nullptr);
  EXPECT_EQ(m_view.TakeCurrentImage(), nullptr);
}

TEST_F(ViewCommands, CutFromAMergedCellKeepsTheCell) {
  AddCells(2);
  m_view.SetMergeFormat(2, 2);
  ASSERT_TRUE(m_view.MergeSelected());
  ASSERT_EQ(m_doc.CellCount(), 1);
  ASSERT_TRUE(m_view.TakeCurrentImage());
  EXPECT_EQ(m_doc.CellCount(), 1);
  EXPECT_EQ(m_doc.Cell(0).ImageCount(), 1);
}

TEST_F(ViewCommands, LeftButtonDrawsWithTheToolAndTheMenusKnowTheObjects) {
  AddCells(1);
  m_view.SetLayout(1, 1);
  m_view.SetTool(Tool::Drawing, 1);  // line
  PaintScreen();
  const QRect rect = m_doc.Cell(0).ImageRectangle(0, m_view.CellRectangle(0));
  const QPoint from = rect.topLeft() + QPoint(rect.width() / 4, rect.height() / 4);
  const QPoint to = rect.topLeft() + QPoint(rect.width() * 3 / 4, rect.height() * 3 / 4);
  ASSERT_TRUE(Drag(from, to));
  DicomImage& image = m_doc.Cell(0).Image(0);
  ASSERT_NE(DrawObjList::Find(image), nullptr);
  EXPECT_EQ(DrawObjList::Find(image)->Size(), 1u);

  // A right click on the line opens the object menu; elsewhere the view's.
  const QPoint middle = (from + to) / 2;
  m_view.MousePress(MouseButton::Right, middle, false, false);
  auto onLine = m_view.MouseRelease(MouseButton::Right, middle, false);
  EXPECT_TRUE(onLine.openContextMenu);
  EXPECT_TRUE(onLine.onDrawingObject);
  const QPoint corner = rect.topLeft() + QPoint(rect.width() - 3, 2);
  m_view.MousePress(MouseButton::Right, corner, false, false);
  auto away = m_view.MouseRelease(MouseButton::Right, corner, false);
  EXPECT_TRUE(away.openContextMenu);
  EXPECT_FALSE(away.onDrawingObject);

  // A double-click on an object leaves the layout alone; off it, it toggles.
  m_view.SetTool(Tool::Drawing, 0);
  EXPECT_FALSE(m_view.DoubleClick(middle));
  EXPECT_EQ(m_view.Rows(), 1);
  EXPECT_TRUE(m_view.DoubleClick(corner));

  ASSERT_TRUE(m_view.CanDeleteAllObjects());
  EXPECT_TRUE(m_view.DeleteAllObjects());
  EXPECT_FALSE(m_view.CanDeleteAllObjects());
  EXPECT_FALSE(m_view.DeleteAllObjects());
}

TEST_F(ViewCommands, DeleteKeyRemovesTheSelectedObject) {
  AddCells(1);
  m_view.SetLayout(1, 1);
  m_view.SetTool(Tool::Drawing, 3);  // rectangle
  PaintScreen();
  const QRect rect = m_doc.Cell(0).ImageRectangle(0, m_view.CellRectangle(0));
  const QPoint from = rect.topLeft() + QPoint(rect.width() / 4, rect.height() / 4);
  ASSERT_TRUE(Drag(from, rect.center()));
  DicomImage& image = m_doc.Cell(0).Image(0);
  ASSERT_EQ(DrawObjList::Of(image).Size(), 1u);
  m_view.SetTool(Tool::Drawing, 0);
  EXPECT_FALSE(m_view.DeleteSelectedObject());  // nothing selected yet
  m_view.MousePress(MouseButton::Left, from, false, false);
  m_view.MouseRelease(MouseButton::Left, from, false);
  ASSERT_TRUE(m_view.DeleteSelectedObject());
  EXPECT_EQ(DrawObjList::Of(image).Size(), 0u);
}

}  // namespace
}  // namespace tolmar::viewer
