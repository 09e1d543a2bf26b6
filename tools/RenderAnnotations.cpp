#include "RenderAnnotations.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "ToolCommand.h"
#include "annotation/DrawObjList.h"
#include "annotation/ImageAnnotationLoader.h"
#include "image/DibBitmap.h"
#include "image/DicomImage.h"

namespace tolmar::tool {

void LoadRenderAnnotations(DicomImage& image, const DicomDataSet& dataSet) {
  InstallDrawObjects();
  LoadImageAnnotations(image, dataSet);
}

int WriteAnnotatedBitmap(DicomImage& image, const DibBitmap& bitmap, const std::string& output,
                         const std::string& extension) {
  // Texts need the font database, which lives with a GUI application.
  std::unique_ptr<QGuiApplication> app;
  if (!QGuiApplication::instance()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tolmar";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  QImage canvas = bitmap.ToQImage().convertToFormat(QImage::Format_RGB32);
  if (canvas.isNull()) {
    PrintError(output, "the bitmap cannot be painted on");
    return kExitFailure;
  }
  if (ImageAnnotations* annotations = image.Annotations(); annotations && !annotations->IsEmpty()) {
    QPainter painter(&canvas);
    const double sx = static_cast<double>(canvas.width()) / image.PaddedColumns();
    const double sy = static_cast<double>(canvas.height()) / image.Rows();
    annotations->Paint(painter, QTransform::fromScale(sx, sy), false);
  }
  const bool png = extension == ".png";
  if (!canvas.save(QString::fromStdString(output), png ? "PNG" : "BMP")) {
    PrintError(output, "cannot be written");
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tolmar::tool
