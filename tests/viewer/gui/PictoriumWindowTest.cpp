// Runs under a virtual X server: the viewer's real window on the demo study,
// driven with mouse events; a screenshot is kept as a test artefact.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "suite/SuiteStrings.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/ImageOperations.h"
#include "viewer/ui/MainFrame.h"
#include "viewer/ui/PictoriumView.h"
#include "viewer/ui/SortKeyDialog.h"

namespace tolmar::viewer {
namespace {

const QString kProgramFolder = QStringLiteral(TOLMAR_PROGRAM_DIR);

bool RunTool(const QStringList& arguments) {
  QProcess tool;
  tool.start(kProgramFolder + "/tolmar", arguments);
  return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit &&
         tool.exitCode() == 0;
}

// Writes the demo study with four CT slices and a start file naming its CT images.
bool MakeDemoStartFile(const QTemporaryDir& dir, QString& startFile) {
  const QString study = dir.filePath("demo");
  startFile = dir.filePath("QVDEMO.TMP");
  return RunTool({"make-demo", study, "--slices", "4"}) &&
         RunTool({"start-file", "viewer", startFile, study + "/CT"});
}

template <class Condition>
bool WaitFor(Condition condition, int milliseconds = 20000) {
  QDeadlineTimer deadline(milliseconds);
  while (!condition() && !deadline.hasExpired()) QTest::qWait(20);
  return condition();
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint point, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent event(type, point, widget->mapToGlobal(point), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

double WindowWidth(DicomImage& image) {
  OperationArgument window;
  RunImageOperation(image, operation::kGetWindow, window);
  return window.width;
}

TEST(PictoriumWindow, LoadsTheDemoStudyAndFollowsAWindowDragAndALayoutChange) {
  QTemporaryDir dir;
  QString startFile;
  ASSERT_TRUE(MakeDemoStartFile(dir, startFile));

  CPictoriumDoc doc(kProgramFolder + "/", nullptr);
  ViewSettings settings;  // 2 x 2, selection mode 3
  MainFrame frame(doc, settings, nullptr, suite::PictoriumStrings());
  frame.resize(900, 700);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  ASSERT_TRUE(doc.OpenDocument(startFile));
  EXPECT_FALSE(QFile::exists(startFile));
  ASSERT_TRUE(WaitFor([&] { return doc.CellCount() == 4 && !doc.LoaderRunning(); }));

  PictoriumView& view = frame.View();
  const QRect first = frame.Model().CellRectangle(0);
  ASSERT_FALSE(first.isEmpty());
  std::vector<double> before;
  for (auto& cell : doc.Cells()) before.push_back(WindowWidth(cell->Image(0)));

  const QPoint start = first.center();
  SendMouse(&view, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
  for (int step = 1; step <= 8; ++step) {
    SendMouse(&view, QEvent::MouseMove, start + QPoint(step * 5, 0), Qt::NoButton, Qt::RightButton);
  }
  SendMouse(&view, QEvent::MouseButtonRelease, start + QPoint(40, 0), Qt::RightButton,
            Qt::NoButton);
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(WindowWidth(doc.Cell(static_cast<int>(i)).Image(0)), before[i] + 40) << "cell " << i;
  }

  // A left double-click switches to one cell per screen and back.
  QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, start);
  EXPECT_EQ(frame.Model().Rows(), 1);
  EXPECT_EQ(frame.Model().Columns(), 1);
  auto* nine = frame.findChild<QAction*>(QStringLiteral("32786"));
  ASSERT_NE(nine, nullptr);
  nine->trigger();
  EXPECT_EQ(frame.Model().Rows(), 3);
  QTest::qWait(100);

  const QString shot = QDir(QStringLiteral(TOLMAR_ARTEFACT_DIR)).filePath("pictorium-window.png");
  QDir().mkpath(QStringLiteral(TOLMAR_ARTEFACT_DIR));
  EXPECT_TRUE(frame.grab().save(shot));
  frame.close();
}

TEST(PictoriumWindow, DrawsWithTheLeftButtonAndRunsTheImageMenus) {
  QTemporaryDir dir;
  QString startFile;
  ASSERT_TRUE(MakeDemoStartFile(dir, startFile));
  CPictoriumDoc doc(kProgramFolder + "/", nullptr);
  ViewSettings settings;
  settings.rows = settings.columns = 1;
  MainFrame frame(doc, settings, nullptr, suite::PictoriumStrings());
  frame.resize(700, 700);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  ASSERT_TRUE(doc.OpenDocument(startFile));
  ASSERT_TRUE(WaitFor([&] { return doc.CellCount() == 4 && !doc.LoaderRunning(); }));
  QTest::qWait(100);  // painted, so images know their cells
  auto trigger = [&](int id) {
    auto* action = frame.findChild<QAction*>(QString::number(id));
    if (action) action->trigger();
    return action != nullptr;
  };

  // A line drawn on the current image with real mouse events.
  ASSERT_TRUE(trigger(32777));
  PictoriumView& view = frame.View();
  const QRect cell = frame.Model().CellRectangle(0);
  const QPoint from = cell.center() - QPoint(60, 60);
  const QPoint to = cell.center() + QPoint(60, 60);
  QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, from);
  for (int step = 1; step <= 6; ++step) {
    SendMouse(&view, QEvent::MouseMove, from + (to - from) * step / 6, Qt::NoButton,
              Qt::LeftButton);
  }
  QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, to);
  DicomImage* image = frame.Model().CurrentImage();
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(frame.Model().CanDeleteAllObjects());

  // Selected with the select tool and deleted with Del.
  ASSERT_TRUE(trigger(32776));
  QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, (from + to) / 2);
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_FALSE(frame.Model().CanDeleteAllObjects());

  // A duplicate run of the current image, then back to the originals.
  doc.SetSelectionMode(SelectionMode::Image);
  ASSERT_TRUE(trigger(32853));
  EXPECT_EQ(doc.CellCount(), 5);
  ASSERT_TRUE(trigger(32850));
  EXPECT_EQ(doc.CellCount(), 4);

  // A filter changes the current image's pixels; the magnifier and the
  // scout-line window open and close.
  const int before = image->GetPixel(100, 100);
  ASSERT_TRUE(trigger(3002));
  EXPECT_NE(image->GetPixel(100, 100), before);
  ASSERT_TRUE(trigger(32920));
  auto* magnifier = frame.findChild<QDialog*>(QStringLiteral("230"));
  ASSERT_NE(magnifier, nullptr);
  EXPECT_TRUE(magnifier->isVisible());
  QTest::qWait(50);
  trigger(32920);
  EXPECT_FALSE(magnifier->isVisible());
  ASSERT_TRUE(trigger(32990));
  auto* scouts = frame.findChild<QDialog*>(QStringLiteral("398"));
  ASSERT_NE(scouts, nullptr);
  EXPECT_TRUE(scouts->isVisible());
  trigger(32990);
  frame.close();
}

TEST(PictoriumWindow, TheProgramStartsOnAStartFileAndKeepsRunning) {
  QTemporaryDir dir;
  QString startFile;
  ASSERT_TRUE(MakeDemoStartFile(dir, startFile));
  QProcess viewer;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  viewer.setProcessEnvironment(environment);
  viewer.start(kProgramFolder + "/Pictorium", {startFile});
  ASSERT_TRUE(viewer.waitForStarted(10000));
  EXPECT_TRUE(WaitFor([&] { return !QFile::exists(startFile); }, 10000))
      << "the viewer reads and removes it";
  EXPECT_FALSE(viewer.waitForFinished(3000)) << "still running with the study shown";
  viewer.terminate();
  if (!viewer.waitForFinished(10000)) {
    viewer.kill();
    viewer.waitForFinished(5000);
  }
}

TEST(PictoriumWindow, AnUnreadableStartFileEndsTheProgram) {
  QTemporaryDir dir;
  const QString startFile = dir.filePath("BAD.TMP");
  QFile bad(startFile);
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("XX");
  bad.close();
  QProcess viewer;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  viewer.setProcessEnvironment(environment);
  viewer.start(kProgramFolder + "/Pictorium", {startFile});
  ASSERT_TRUE(viewer.waitForFinished(20000));
  EXPECT_NE(viewer.exitCode(), 0);
}

TEST(SortKeyDialogs, MovingKeysAcrossRenumbersTheSortAndGroupPositions) {
  SortKeyList keys;  // patient (group 1), series (sort 1, group 2), image (sort 2)
  SortKeyDialog sort(SortKeyDialog::Kind::Sort, QStringLiteral("sort"), keys);
  auto lists = sort.findChildren<QListWidget*>();
  ASSERT_EQ(lists.size(), 2);
  QListWidget* unused = lists[0];
  QListWidget* chosen = lists[1];
  ASSERT_EQ(chosen->count(), 2);
  emit chosen->itemDoubleClicked(chosen->item(0));  // series back to the left
  ASSERT_EQ(unused->count(), 2);
  emit unused->itemDoubleClicked(unused->item(0));  // patient joins, ascending, after image
  sort.ApplyTo(keys);
  EXPECT_EQ(keys.Keys()[0].sortPosition, 2);
  EXPECT_EQ(keys.Keys()[1].sortPosition, 0);
  EXPECT_EQ(keys.Keys()[2].sortPosition, 1);

  SortKeyDialog group(SortKeyDialog::Kind::Group, QStringLiteral("group"), keys);
  lists = group.findChildren<QListWidget*>();
  emit lists[1]->itemDoubleClicked(lists[1]->item(0));  // drop patient from the group keys
  group.ApplyTo(keys);
  EXPECT_EQ(keys.Keys()[0].groupPosition, 0);
  EXPECT_EQ(keys.Keys()[1].groupPosition, 1);
}

}  // namespace
}  // namespace tolmar::viewer

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
