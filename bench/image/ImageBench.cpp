// Image pipeline benchmarks, each side by side with a reference in one run:
//  1. window lookup table + mapping one 512 x 512 16-bit frame into an 8-bit
//     bitmap, against memcpy of the same frame;
//  2. rendering every slice of a series from its files, against DCMTK's
//     DicomImage doing the same in process.
#include <dcmtk/dcmimgle/dcmimage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "dicom/DicomCodec.h"
#include "image/GreyImage.h"
#include "image/ImageFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The median of `runs` timings of `body`.
template <class Body>
double Median(int runs, Body body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    body();
    times.push_back(Seconds(start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

int WindowBench(const std::string& file) {
  auto dataSet = tolmar::ReadDicomImage(file, tolmar::ReadMode::FullRead);
  std::string reason;
  auto image = dataSet ? tolmar::BuildImage(file, *dataSet, 1, {}, reason) : nullptr;
  auto* grey = dynamic_cast<tolmar::GreyImage*>(image.get());
  if (!grey || grey->BytesPerPixel() != 2) {
    std::fprintf(stderr, "image-bench: %s: not a 16-bit grey image (%s)\n", file.c_str(), reason.c_str());
    return 1;
  }
  auto bitmap = grey->CreateBitmap(-1, -1);
  const auto& frame = *grey->Frame();
  std::vector<uint8_t> copy(frame.size());
  constexpr int kRepeats = 200;
  volatile uint8_t sink = 0;
  const double ours = Median(7, [&] {
    for (int i = 0; i < kRepeats; ++i) {
      grey->SetWindow(400 + (i & 7), 40);  // a new table every time
      grey->RenderToDib(*bitmap, nullptr);
      sink = sink + bitmap->Bits()[i];
    }
  }) / kRepeats;
  const double copyTime = Median(7, [&] {
    for (int i = 0; i < kRepeats; ++i) {
      std::memcpy(copy.data(), frame.data(), frame.size());
      sink = sink + copy[static_cast<size_t>(i)];
    }
  }) / kRepeats;
  std::printf("window+map %dx%d 16-bit frame: %.1f us; memcpy of the frame (%zu bytes): %.1f us; ratio %.1f (goal <= 10)\n",
              grey->PaddedColumns(), grey->Rows(), ours * 1e6, copyTime * 1e6, frame.size(), ours / copyTime);
  return 0;
}

int SeriesBench(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".dcm") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "image-bench: %s: no .dcm files\n", folder.c_str());
    return 1;
  }
  uint64_t oursSum = 0, dcmtkSum = 0;
  const double ours = Median(3, [&] {
    oursSum = 0;
    for (const auto& file : files) {
      auto dataSet = tolmar::ReadDicomImage(file, tolmar::ReadMode::FullRead);
      std::string reason;
      auto image = dataSet ? tolmar::BuildImage(file, *dataSet, 1, {}, reason) : nullptr;
      if (!image) continue;
      auto bitmap = image->CreateBitmap(-1, -1);
      if (image->RenderToDib(*bitmap, nullptr)) oursSum += bitmap->Bits()[bitmap->BitsSize() / 2];
    }
  });
  const double dcmtk = Median(3, [&] {
    dcmtkSum = 0;
    for (const auto& file : files) {
      ::DicomImage image(file.c_str());
      if (image.getStatus() != EIS_Normal) continue;
      image.setWindow(0);  // the file's first window, as the viewer opens it
      const auto* pixels = static_cast<const uint8_t*>(image.getOutputData(8));
      if (pixels) dcmtkSum += pixels[image.getOutputDataSize(8) / 2];
    }
  });
  std::printf("render %zu slices from files: ours %.1f ms (%.2f ms/slice); DCMTK DicomImage %.1f ms (%.2f ms/slice); "
              "DCMTK/ours %.2f (goal >= 2)\n",
              files.size(), ours * 1e3, ours * 1e3 / files.size(), dcmtk * 1e3, dcmtk * 1e3 / files.size(),
              dcmtk / ours);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: image-bench FRAME_FILE SERIES_FOLDER\n");
    return 2;
  }
  const int a = WindowBench(argv[1]);
  const int b = SeriesBench(argv[2]);
  return a != 0 || b != 0 ? 1 : 0;
}
