#include "suite/CommandLine.h"

#include <QProcess>

namespace tolmar::suite {

QString FormatCommandLine(const QString& programFolder, const QString& fileName,
                          const QString& startFilePath) {
  return QStringLiteral("\"%1\" %2").arg(programFolder + fileName, startFilePath);
}

bool StartProgramDetached(const QString& programFolder, const QString& fileName,
                          const QStringList& arguments, qint64* pid) {
  return QProcess::startDetached(programFolder + fileName, arguments, programFolder, pid);
}

bool IsViewerStartFilePath(const QString& path) {
  return path.toUpper().contains(QStringLiteral(".TMP"));
}

bool HasInitSwitch(const QStringList& arguments) {
  return arguments.join(QLatin1Char(' ')).contains(QStringLiteral("/Init"));
}

}  // namespace tolmar::suite
