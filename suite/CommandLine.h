#pragma once

#include <QString>
#include <QStringList>

namespace tolmar::suite {

// "\"<program folder><file name>\" <start file>": the display form of a
// started program's command line (logs and messages).
QString FormatCommandLine(const QString& programFolder, const QString& fileName,
                          const QString& startFilePath);

// Starts programFolder + fileName detached with the start file as its one
// argument (a path with blanks stays one argument). Does not wait.
bool StartProgramDetached(const QString& programFolder, const QString& fileName,
                          const QStringList& arguments, qint64* pid = nullptr);

// A path whose upper-cased form contains ".TMP" is a viewer start file.
bool IsViewerStartFilePath(const QString& path);

// True when the command line holds "/Init" (the hospital name is not read).
bool HasInitSwitch(const QStringList& arguments);

}  // namespace tolmar::suite
