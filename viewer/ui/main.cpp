// Pictorium: the image viewer. Takes nothing, a viewer start file, an image
// file or a folder; "/Init" skips the installation values.
#include <QApplication>

#include "suite/ProgramFolder.h"
#include "viewer/ui/CPictoriumApp.h"
#include "viewer/ui/StartTiming.h"

int main(int argc, char** argv) {
  tolmar::viewer::StartTimingClock();
  QApplication application(argc, argv);
  QStringList arguments = application.arguments();
  arguments.removeFirst();
  tolmar::viewer::CPictoriumApp viewer(tolmar::suite::ProgramFolder(), tolmar::suite::ModuleName());
  if (!viewer.Start(arguments)) return 1;
  const int code = application.exec();
  viewer.Shutdown();
  return code;
}
