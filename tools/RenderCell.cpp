#include "RenderCell.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "dicom/DicomCodec.h"
#include "dicom/DicomDataSet.h"
#include "image/CellPainter.h"
#include "image/DicomImage.h"
#include "image/DisplaySettings.h"
#include "image/ImageFactory.h"
#include "image/ImageRegistry.h"

namespace tolmar::tool {

namespace {

bool ParseInt(const std::string& text, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && end && *end == '\0';
}

std::string ProgramFolderOfExe() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("./") : exe.parent_path().string() + "/";
}

// Fonts need an application object; the tool paints off screen.
void EnsureApplication() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "tolmar";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

std::vector<std::string> FilesOf(const std::string& path) {
  std::vector<std::string> files;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
      if (entry.is_regular_file(ec)) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(path);
  }
  return files;
}

}  // namespace

bool TakeCellOptions(Arguments& arguments, CellRenderRequest& r, std::string& message) {
  std::string cell, zoom, transforms, scout;
  bool missing = false;
  r.wanted = arguments.TakeOption("--cell", cell, missing);
  if (missing) return message = "--cell needs WxH", false;
  const bool hasZoom = arguments.TakeOption("--zoom", zoom, missing);
  if (missing) return message = "--zoom needs a percentage or fit", false;
  const bool hasTransform = arguments.TakeOption("--transform", transforms, missing);
  if (missing) return message = "--transform needs codes such as 3,1", false;
  const bool hasScout = arguments.TakeOption("--scout-lines", scout, missing);
  if (missing) return message = "--scout-lines needs files or folders", false;
  r.overlays = arguments.TakeFlag("--overlays");
  if (!r.wanted) {
    if (hasZoom || hasTransform || hasScout || r.overlays) {
      return message = "--zoom, --transform, --overlays and --scout-lines need --cell", false;
    }
    return true;
  }
  long w = 0, h = 0;
  const auto x = cell.find_first_of("xX");
  if (x == std::string::npos || !ParseInt(cell.substr(0, x), w) || !ParseInt(cell.substr(x + 1), h) || w < 8 ||
      h < 8 || w > 8192 || h > 8192) {
    return message = "--cell must be WxH, each from 8 to 8192", false;
  }
  r.width = static_cast<int>(w);
  r.height = static_cast<int>(h);
  if (hasZoom && zoom != "fit") {
    long z = 0;
    if (!ParseInt(zoom, z) || (z != 0 && (z < 2 || z > 800))) {
      return message = "--zoom must be fit, 0 or 2 to 800", false;
    }
    r.zoom = static_cast<int>(z);
  }
  if (hasTransform) {
    std::stringstream list(transforms);
    std::string code;
    while (std::getline(list, code, ',')) {
      long c = 0;
      if (!ParseInt(code, c) || c < 1 || c > 4) return message = "--transform codes are 1 to 4, comma-separated", false;
      r.transforms.push_back(static_cast<int>(c));
    }
  }
  if (hasScout) {
    std::stringstream list(scout);
    std::string path;
    while (std::getline(list, path, ',')) {
      if (!path.empty()) r.scoutPaths.push_back(path);
    }
  }
  return true;
}

int RenderCellImage(DicomImage& image, const CellRenderRequest& r, const std::string& output) {
  EnsureApplication();
  DisplaySettings settings = CurrentDisplaySettings();
  settings.programFolder = ProgramFolderOfExe();
  settings.showOverlays = r.overlays;
  SetDisplaySettings(settings);

  for (const int code : r.transforms) {
    if (!image.ApplyTransform(code)) {
      PrintError(image.Path(), "transform " + std::to_string(code) + " cannot be applied");
      return kExitFailure;
    }
  }
  // Scout lines: the other images are read only for their planes.
  std::vector<std::unique_ptr<DicomImage>> others;
  ImageRegistry registry;
  if (!r.scoutPaths.empty()) {
    registry.Register(&image);
    for (const std::string& path : r.scoutPaths) {
      for (const std::string& file : FilesOf(path)) {
        if (file == image.Path()) continue;
        auto ds = ReadDicomImage(file, ReadMode::FullRead);
        if (!ds) continue;
        std::string reason;
        auto other = BuildImage(file, *ds, 255, ImageSettings{}, reason);
        if (!other) continue;
        registry.Register(other.get());
        registry.ImageLoaded(*other, settings.checkFrameUid);
        others.push_back(std::move(other));
      }
    }
    registry.ImageLoaded(image, settings.checkFrameUid);
  }
  SetZoom(image, r.zoom);
  QImage picture(r.width, r.height, QImage::Format_RGB32);
  picture.fill(Qt::black);
  bool shown = false;
  {
    QPainter painter(&picture);
    shown = PaintCell(image, painter, {0, 0, r.width, r.height});
  }
  for (const auto& other : others) registry.Unregister(other.get());
  registry.Unregister(&image);
  if (!shown) {
    PrintError(image.Path(), "nothing of the image is visible in the cell");
    return kExitFailure;
  }
  const std::string ext = std::filesystem::path(output).extension().string();
  const char* format = (ext == ".bmp" || ext == ".BMP") ? "BMP" : "PNG";
  if (!picture.save(QString::fromStdString(output), format)) {
    PrintError(output, "cannot be written");
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tolmar::tool
