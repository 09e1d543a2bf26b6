#include "suite/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tolmar::suite {
namespace {

QString ExecutablePath() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
  // Before the application object exists, ask the kernel.
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

}  // namespace

QString ProgramFolder() {
  const QString path = ExecutablePath();
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QStringLiteral("./") : path.left(slash + 1);
}

QString ModuleName() { return QFileInfo(ExecutablePath()).completeBaseName(); }

}  // namespace tolmar::suite
