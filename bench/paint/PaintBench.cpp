// Display-cell painting: a 512 x 512 CT image interpolated into a 1024 x 1024
// cell (our bilinear path against the pixel-by-pixel baseline and against
// Qt's smooth scaling, in one run), and repainting a 4 x 4 grid of cells.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "dicom/DicomDataSet.h"
#include "dicom/DicomElement.h"
#include "image/BilinearScaler.h"
#include "image/CellPainter.h"
#include "image/DisplaySettings.h"
#include "image/ImageFactory.h"

using namespace tolmar;

namespace {

// A synthetic CT slice: a body ellipse with bone ring and some texture.
std::unique_ptr<DicomImage> MakeCt(int seed) {
  DicomDataSet ds;
  auto text = [&](uint16_t g, uint16_t e, uint16_t vr, const std::string& t) {
    ds.SetElement(DicomElement::FromText(g, e, vr, t));
  };
  auto ushort = [&](uint16_t g, uint16_t e, uint16_t v) {
    const std::vector<uint8_t> bytes{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    ds.SetElement(DicomElement::FromBytes(g, e, vr::US, bytes));
  };
  ushort(0x0028, 0x0010, 512);
  ushort(0x0028, 0x0011, 512);
  ushort(0x0028, 0x0100, 16);
  ushort(0x0028, 0x0101, 12);
  ushort(0x0028, 0x0102, 11);
  ushort(0x0028, 0x0002, 1);
  text(0x0028, 0x0004, vr::CS, "MONOCHROME2");
  text(0x0008, 0x0060, vr::CS, "CT");
  text(0x0028, 0x1052, vr::DS, "-1024");
  text(0x0028, 0x0030, vr::DS, "0.7\\0.7");
  std::vector<uint8_t> pixels(512 * 512 * 2);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      const double dx = (x - 256) / 200.0, dy = (y - 256) / 160.0, r = dx * dx + dy * dy;
      int v = r < 1 ? 1024 + 40 + static_cast<int>(30 * std::sin(x * 0.11 + seed) * std::cos(y * 0.07)) : 24;
      if (r > 0.85 && r < 1) v = 1024 + 900;
      pixels[2 * (y * 512 + x)] = static_cast<uint8_t>(v);
      pixels[2 * (y * 512 + x) + 1] = static_cast<uint8_t>(v >> 8);
    }
  }
  ds.SetElement(DicomElement::FromBytes(0x7FE0, 0x0010, vr::OW, pixels));
  std::string reason;
  auto image = BuildImage("bench.dcm", ds, 1, {}, reason);
  if (!image) std::fprintf(stderr, "cannot build: %s\n", reason.c_str());
  return image;
}

double BestMs(int passes, int reps, const std::function<void()>& body) {
  double best = 1e30;
  for (int p = 0; p < passes; ++p) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) body();
    const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
    best = std::min(best, d.count() / reps);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  DisplaySettings settings;
  settings.interpolation = true;
  settings.showOverlays = true;
  SetDisplaySettings(settings);

  auto ct = MakeCt(0);
  if (!ct) return 1;
  QImage window(1024, 1024, QImage::Format_RGB32);
  QPainter painter(&window);
  const ImageRect big{0, 0, 1024, 1024};
  SetProgramReferenceRect(big);
  PaintCellOptions fast, scalar;
  scalar.scalarInterpolation = true;
  // The interpolated picture is a cache; dropping it makes every paint resample.
  auto paintFresh = [&](const PaintCellOptions& o) {
    ct->Display().interpolated = QImage();
    PaintCell(*ct, painter, big, o);
  };
  paintFresh(fast);
  const auto place = PlaceImage(*ct, big);
  std::printf("1024x1024 cell: source %dx%d -> destination %dx%d\n", place->source.Width(), place->source.Height(),
              place->destination.Width(), place->destination.Height());

  const double cellFast = BestMs(3, 10, [&] { paintFresh(fast); });
  const double cellScalar = BestMs(3, 3, [&] { paintFresh(scalar); });
  const double cellCached = BestMs(3, 20, [&] { PaintCell(*ct, painter, big, fast); });

  // The resampling alone, and Qt's own smooth scaling as a peer.
  const DibBitmap* dib = ct->RenderedBitmap();
  PictureView view{dib->Row(0), dib->Width(), dib->Height(), -dib->Stride(), 1};
  std::vector<uint8_t> out;
  BilinearScaler scaler;
  const int dw = place->destination.Width() & ~3, dh = place->destination.Height() & ~3;
  const double kernelFast = BestMs(3, 10, [&] { scaler.Scale(view, place->source, dw, dh, out); });
  const double kernelScalar = BestMs(3, 3, [&] { BilinearScaler::ScaleScalar(view, place->source, dw, dh, out); });
  const QImage grey = dib->ToQImage().convertToFormat(QImage::Format_Grayscale8);
  const double qtSmooth = BestMs(3, 10, [&] {
    QImage scaled = grey.copy(place->source.left, place->source.top, place->source.Width(), place->source.Height())
                        .scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    (void)scaled;
  });

  // A 4 x 4 grid of 256 x 256 cells of different images, repainted as the
  // window does after an expose (bitmaps cached), and painted the first time.
  std::vector<std::unique_ptr<DicomImage>> images;
  for (int i = 0; i < 16; ++i) images.push_back(MakeCt(i));
  SetProgramReferenceRect({0, 0, 256, 256});
  auto paintGrid = [&] {
    for (int i = 0; i < 16; ++i) {
      const ImageRect cell{(i % 4) * 256, (i / 4) * 256, (i % 4) * 256 + 256, (i / 4) * 256 + 256};
      PaintCell(*images[static_cast<size_t>(i)], painter, cell);
    }
  };
  paintGrid();
  const double gridRepaint = BestMs(3, 20, paintGrid);
  const double gridFirst = BestMs(3, 3, [&] {
    for (auto& image : images) image->InvalidateBitmap();
    paintGrid();
  });

  std::printf("\n%-58s %10s\n", "measure", "ms");
  std::printf("%-58s %10.2f\n", "cell 1024x1024, interpolated, fast path (PaintCell)", cellFast);
  std::printf("%-58s %10.2f\n", "cell 1024x1024, interpolated, scalar baseline (PaintCell)", cellScalar);
  std::printf("%-58s %10.2f\n", "cell 1024x1024, repaint with cached interpolation", cellCached);
  std::printf("%-58s %10.2f\n", "resampling only, fast path", kernelFast);
  std::printf("%-58s %10.2f\n", "resampling only, scalar baseline", kernelScalar);
  std::printf("%-58s %10.2f\n", "resampling only, Qt smooth scaling (peer)", qtSmooth);
  std::printf("%-58s %10.2f\n", "4x4 grid repaint, 16 cells of 256x256 (whole grid)", gridRepaint);
  std::printf("%-58s %10.3f\n", "4x4 grid repaint, per cell", gridRepaint / 16);
  std::printf("%-58s %10.2f\n", "4x4 grid first paint (window rendering included)", gridFirst);
  std::printf("\nratio cell scalar / fast: %.2f (goal >= 2)\n", cellScalar / cellFast);
  std::printf("ratio resampling scalar / fast: %.2f, Qt smooth / fast: %.2f\n", kernelScalar / kernelFast,
              qtSmooth / kernelFast);
  std::printf("4x4 repaint within one 60 Hz frame (16.7 ms): %s\n", gridRepaint <= 16.7 ? "yes" : "no");
  return 0;
}
