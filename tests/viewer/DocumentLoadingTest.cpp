#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "ViewerFixtures.h"
#include "image/ImageAnnotations.h"
#include "suite/Gb18030.h"
#include "suite/ViewerStartFile.h"
#include "viewer/CLoadImageThread.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/ImageLoader.h"
#include "viewer/PictoriumViewModel.h"
#include "viewer/UiThreadEvents.h"

namespace tolmar::viewer {
namespace {

// Records what the document tells its views and the status bar; `trace` keeps
// the order: S started, C cell, T step, F finished.
class Recorder : public DocumentObserver {
 public:
  void OnDocumentUpdate(UpdateHint hint, int) override {
    if (hint == UpdateHint::CellLoaded) {
      ++cellNotices;
      trace += 'C';
      if (cancelAfterFirstCell && thread) thread->Cancel();
    }
  }
  void OnLoadStarted(int count, CLoadImageThread* t) override {
    started = count;
    thread = t;
    trace += 'S';
  }
  void OnLoadStepped() override {
    ++steps;
    trace += 'T';
  }
  void OnLoadFinished(CLoadImageThread*) override {
    finished = true;
    trace += 'F';
  }

  int started = -1;
  int steps = 0;
  int cellNotices = 0;
  bool finished = false;
  bool cancelAfterFirstCell = false;
  CLoadImageThread* thread = nullptr;
  std::string trace;
};

// Runs the event loop until the loader reports the end; never longer than 20 s.
bool WaitForLoad(const Recorder& recorder) {
  QDeadlineTimer deadline(20000);
  while (!recorder.finished && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return recorder.finished;
}

std::vector<int> InstanceOrder(CPictoriumDoc& doc) {
  std::vector<int> order;
  for (auto& cell : doc.Cells()) order.push_back(cell->Image(0).Geometry().instanceNumber);
  return order;
}

class Loading : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return m_dir.filePath(name); }

  bool WriteStartFile(const QString& path, const std::string& entryText) {
    suite::ViewerStartFile file;
    file.entryList = entryText;
    file.studyBlock.assign(suite::kStudyRecordSize, 0);
    file.studyBlock[296] = 42;
    std::vector<uint8_t> bytes;
    if (file.Encode(bytes) != suite::StartFileError::None) return false;
    QFile out(path);
    return out.open(QIODevice::WriteOnly) &&
           out.write(reinterpret_cast<const char*>(bytes.data()),
                     static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  }

  QTemporaryDir m_dir;
};

TEST_F(Loading, StartFileDropsTextBeforeTheFirstSeparator) {
  const QString startFile = Path("QV1234.TMP");
  ASSERT_TRUE(WriteStartFile(startFile, "junk before;~;/a/one.dcm;~;/b/two.dcm"));
  QStringList entries;
  std::array<uint8_t, suite::kStudyRecordSize> block{};
  ASSERT_TRUE(ReadStartFile(startFile, entries, block));
  EXPECT_EQ(entries, (QStringList{"/a/one.dcm", "/b/two.dcm"}));
  EXPECT_EQ(block[296], 42);
  EXPECT_FALSE(QFile::exists(startFile)) << "a start file read completely is removed";
}

TEST_F(Loading, BadStartFilesFailTheOpenAndStay) {
  const QString noEntries = Path("EMPTY.TMP");
  ASSERT_TRUE(WriteStartFile(noEntries, "no separator at all"));
  const QString badMagic = Path("MAGIC.TMP");
  {
    QFile out(badMagic);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("XX\x04\0\0\0;~;a", 11);
  }
  const QString truncated = Path("SHORT.TMP");
  {
    QFile out(truncated);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("QV\x40\0\0\0;~;a", 11);
  }
  for (const QString& path : {noEntries, badMagic, truncated, Path("MISSING.TMP")}) {
    CPictoriumDoc doc(QString(), nullptr);
    EXPECT_FALSE(doc.OpenDocument(path)) << path.toStdString();
    EXPECT_EQ(doc.CellCount(), 0);
  }
  EXPECT_TRUE(QFile::exists(badMagic));
  EXPECT_TRUE(QFile::exists(truncated));
}

TEST_F(Loading, FiveFilesWithTwoUnreadableGiveThreeSortedCellsAndFiveSteps) {
  ASSERT_TRUE(test::WriteImageFile(Path("c.dcm"), {1, 9}));
  ASSERT_TRUE(test::WriteImageFile(Path("a.dcm"), {1, 10}));
  ASSERT_TRUE(test::WriteImageFile(Path("b.dcm"), {1, 2}));
  {
    QFile junk(Path("junk.dcm"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a DICOM file");
  }
  CPictoriumDoc doc(QString(), nullptr);
  PictoriumViewModel view(doc);
  Recorder recorder;
  doc.AddObserver(&recorder);
  ASSERT_TRUE(doc.HandBatch(
      {Path("a.dcm"), Path("missing.dcm"), Path("b.dcm"), Path("junk.dcm"), Path("c.dcm")}));
  ASSERT_TRUE(WaitForLoad(recorder));
  EXPECT_EQ(recorder.started, 5);
  EXPECT_EQ(recorder.steps, 5);
  EXPECT_EQ(recorder.cellNotices, 3);
  EXPECT_EQ(InstanceOrder(doc), (std::vector<int>{2, 9, 10}));
  EXPECT_EQ(view.CurrentIndex(), 0);
  EXPECT_TRUE(doc.PendingFiles().isEmpty()) << "a later batch must not reload these files";
  doc.RemoveObserver(&recorder);
}

TEST_F(Loading, ManyFilesArriveInBatchesInFileOrderWithOneStepEach) {
  // Enough files that the loader runs ahead of the user-interface thread and
  // hands several over at once; a junk file in the middle still steps.
  QStringList files;
  std::string expected = "S";
  for (int i = 1; i <= 40; ++i) {
    const QString path = Path(QString("m%1.dcm").arg(i));
    if (i == 17) {
      QFile junk(path);
      ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
      junk.write("not an image");
      expected += "T";
    } else {
      ASSERT_TRUE(test::WriteImageFile(path, {1, i, 16, "MONOCHROME2", "P1", 64, 64}));
      expected += "CT";
    }
    files << path;
  }
  expected += "F";
  CPictoriumDoc doc(QString(), nullptr);
  Recorder recorder;
  doc.AddObserver(&recorder);
  ASSERT_TRUE(doc.HandBatch(files));
  ASSERT_TRUE(WaitForLoad(recorder));
  EXPECT_EQ(recorder.trace, expected);
  std::vector<int> order;
  for (int i = 1; i <= 40; ++i) {
    if (i != 17) order.push_back(i);
  }
  EXPECT_EQ(InstanceOrder(doc), order);
  EXPECT_FALSE(doc.LoaderRunning());
  doc.RemoveObserver(&recorder);
}

TEST_F(Loading, CancellingKeepsEveryCellTheLoaderHandedOver) {
  QStringList files;
  for (int i = 1; i <= 30; ++i) {
    const QString path = Path(QString("f%1.dcm").arg(i));
    ASSERT_TRUE(test::WriteImageFile(path, {1, i}));
    files << path;
  }
  CPictoriumDoc doc(QString(), nullptr);
  Recorder recorder;
  recorder.cancelAfterFirstCell = true;
  doc.AddObserver(&recorder);
  doc.HandBatch(files);
  ASSERT_TRUE(WaitForLoad(recorder));
  // The loader may have read several files before the cancel reached it; each
  // of them is a cell and a step, none is lost on the way.
  EXPECT_GE(doc.CellCount(), 1);
  EXPECT_EQ(recorder.steps, doc.CellCount());
  EXPECT_EQ(recorder.cellNotices, doc.CellCount());
  EXPECT_EQ(recorder.trace.back(), 'F');
  doc.RemoveObserver(&recorder);
}

// A loader that talks to its events directly, on its own thread.
class CancelOnFirstCell : public LoaderEvents {
 public:
  void LoadStarted(int, CLoadImageThread* t) override { thread = t; }
  void CellLoaded(std::unique_ptr<DisplayCell>) override {
    ++cells;
    thread->Cancel();
  }
  void PresentationStateLoaded(std::unique_ptr<DicomDataSet>) override {}
  void LoadStepped() override { ++steps; }
  void LoadFinished(CLoadImageThread*) override {}

  CLoadImageThread* thread = nullptr;
  std::atomic<int> cells{0};
  std::atomic<int> steps{0};
};

TEST_F(Loading, TheLoaderReadsTheCancelFlagBeforeEveryFile) {
  std::vector<std::string> files;
  for (int i = 1; i <= 6; ++i) {
    const QString path = Path(QString("k%1.dcm").arg(i));
    ASSERT_TRUE(test::WriteImageFile(path, {1, i}));
    files.push_back(QFile::encodeName(path).toStdString());
  }
  CancelOnFirstCell events;
  CLoadImageThread loader(files, events, {}, {});
  ASSERT_TRUE(loader.Start());
  loader.Join();
  EXPECT_EQ(events.cells, 1);
  EXPECT_EQ(events.steps, 1);
}

// An image whose drawing objects report when the image goes.
class GoneFlag : public ImageAnnotations {
 public:
  explicit GoneFlag(std::atomic<int>& gone) : m_gone(gone) {}
  ~GoneFlag() override { ++m_gone; }
  void ApplyTransform(int, int, int) override {}
  void Paint(QPainter&, const QTransform&, bool) override {}
  std::vector<uint8_t> SaveRecords() const override { return {}; }
  void ReplaceFromRecords(std::span<const uint8_t>) override {}
  bool IsEmpty() const override { return true; }

 private:
  std::atomic<int>& m_gone;
};

class CountingTarget : public LoaderEvents {
 public:
  void LoadStarted(int, CLoadImageThread*) override {}
  void CellLoaded(std::unique_ptr<DisplayCell>) override { ++cells; }
  void PresentationStateLoaded(std::unique_ptr<DicomDataSet>) override {}
  void LoadStepped() override {}
  void LoadFinished(CLoadImageThread*) override {}
  int cells = 0;
};

TEST(UiThreadHandOver, CellsStillWaitingWhenTheUserInterfaceGoesAreFreed) {
  std::atomic<int> gone{0};
  CountingTarget target;
  {
    QObject context;
    UiThreadEvents events(target, context);
    std::thread loader([&] {
      for (int i = 0; i < 3; ++i) {
        auto image = test::MakeImage({1, i});
        image->SetAnnotations(std::make_unique<GoneFlag>(gone));
        events.CellLoaded(std::make_unique<DisplayCell>(std::move(image)));
      }
    });
    loader.join();
    EXPECT_EQ(gone, 0);
  }  // no event loop ran: nothing was handed over
  EXPECT_EQ(target.cells, 0);
  EXPECT_EQ(gone, 3);
}

TEST(UiThreadHandOver, DrainingHandsOverEverythingWaitingInOrder) {
  struct OrderTarget : CountingTarget {
    void CellLoaded(std::unique_ptr<DisplayCell> cell) override {
      order.push_back(cell->Image(0).Geometry().instanceNumber);
    }
    std::vector<int> order;
  } target;
  QObject context;
  UiThreadEvents events(target, context);
  std::thread loader([&] {
    for (int i = 1; i <= 5; ++i)
      events.CellLoaded(std::make_unique<DisplayCell>(test::MakeImage({1, i})));
  });
  loader.join();
  events.Drain();
  EXPECT_EQ(target.order, (std::vector<int>{1, 2, 3, 4, 5}));
  QCoreApplication::processEvents();  // the queued hand-over finds nothing left
  EXPECT_EQ(target.order.size(), 5u);
}

TEST_F(Loading, ClosingTheDocumentWhileLoadingWaitsForTheLoader) {
  QStringList files;
  for (int i = 1; i <= 20; ++i) {
    const QString path = Path(QString("g%1.dcm").arg(i));
    ASSERT_TRUE(test::WriteImageFile(path, {1, i, 16, "MONOCHROME2", "P1", 256, 256}));
    files << path;
  }
  auto doc = std::make_unique<CPictoriumDoc>(QString(), nullptr);
  doc->HandBatch(files);
  doc.reset();  // must neither hang nor touch freed cells
  SUCCEED();
}

TEST_F(Loading, AFolderLoadsEveryReadableImageAndIgnoresTheRest) {
  QDir(m_dir.path()).mkdir("study");
  const QString folder = Path("study");
  ASSERT_TRUE(test::WriteImageFile(folder + "/IM1", {1, 1}));
  ASSERT_TRUE(test::WriteImageFile(folder + "/IM2", {1, 2}));
  ASSERT_TRUE(test::WritePresentationStateFile(folder + "/PS1"));
  QFile text(folder + "/README.txt");
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("notes");
  text.close();
  QDir(folder).mkdir("sub");
  ASSERT_TRUE(test::WriteImageFile(folder + "/sub/IM3", {1, 3}));

  CPictoriumDoc doc(QString(), nullptr);
  int statesSeen = 0;
  doc.SetPresentationStateHook([&](const DicomDataSet&) { ++statesSeen; });
  Recorder recorder;
  doc.AddObserver(&recorder);
  ASSERT_TRUE(doc.OpenDocument(folder));
  EXPECT_EQ(doc.CellCount(), 2);
  EXPECT_EQ(statesSeen, 1) << "a presentation state is applied, not shown";
  ASSERT_TRUE(WaitForLoad(recorder)) << "the folder path itself still goes to the loader";
  EXPECT_EQ(doc.CellCount(), 2);
  doc.RemoveObserver(&recorder);
}

struct VariantCase {
  const char* name;
  int bitsAllocated;
  const char* photometric;
  bool shown;
};

class ImageVariant : public Loading, public ::testing::WithParamInterface<VariantCase> {};

TEST_P(ImageVariant, OnlySupportedPixelKindsBecomeImages) {
  const auto& c = GetParam();
  const QString path = Path("variant.dcm");
  ASSERT_TRUE(test::WriteImageFile(path, {1, 1, c.bitsAllocated, c.photometric}));
  const LoadedFile loaded = LoadImageFile(QFile::encodeName(path).toStdString(), {}, {});
  EXPECT_EQ(loaded.image != nullptr, c.shown) << loaded.reason;
}

INSTANTIATE_TEST_SUITE_P(Kinds, ImageVariant,
                         ::testing::Values(VariantCase{"Grey8", 8, "MONOCHROME2", true},
                                           VariantCase{"Grey16", 16, "MONOCHROME1", true},
                                           VariantCase{"Colour8", 8, "RGB", true},
                                           VariantCase{"Grey12Refused", 12, "MONOCHROME2", false},
                                           VariantCase{"UnknownPhotometricRefused", 8, "HSV",
                                                       false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Loading, JpegFilesBecomeRgbImages) {
  QImage picture(6, 4, QImage::Format_RGB888);
  picture.fill(QColor(200, 30, 10));
  const QString path = Path("photo.jpg");
  ASSERT_TRUE(picture.save(path, "JPEG", 100));
  const LoadedFile loaded = LoadImageFile(QFile::encodeName(path).toStdString(), {}, {});
  ASSERT_TRUE(loaded.image) << loaded.reason;
  EXPECT_EQ(loaded.image->Columns(), 6);
  EXPECT_EQ(loaded.image->Rows(), 4);
  EXPECT_EQ(loaded.image->Type(), PixelType::Colour);
  const int rgb = loaded.image->GetPixel(2, 2);
  EXPECT_NEAR((rgb >> 16) & 0xFF, 200, 8);

  const QString broken = Path("broken.JPG");
  QFile out(broken);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write("\xFF\xD8not really");
  out.close();
  EXPECT_FALSE(LoadImageFile(QFile::encodeName(broken).toStdString(), {}, {}).image);
}

}  // namespace
}  // namespace tolmar::viewer

namespace tolmar::viewer {
namespace {

TEST(LoadFailure, EndsOnlyAViewerStartedForTheLoadThatShowsNothing) {
  CPictoriumDoc doc(QString(), nullptr);
  EXPECT_TRUE(doc.LoadFailureEndsViewer(true));
  EXPECT_FALSE(doc.LoadFailureEndsViewer(false));
  doc.AppendCell(std::make_unique<DisplayCell>(test::MakeImage({1, 1})));
  EXPECT_FALSE(doc.LoadFailureEndsViewer(true)) << "images already shown are kept";
}

}  // namespace
}  // namespace tolmar::viewer
