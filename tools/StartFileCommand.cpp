// tolmar start-file viewer OUT FILE...: writes a viewer start file naming the
// files (folders are expanded to their plain files, sorted by name) with an
// empty study block, ready for `Pictorium OUT`.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdio>

#include "ToolCommand.h"
#include "suite/Gb18030.h"
#include "suite/ItemText.h"
#include "suite/RecordBlocks.h"
#include "suite/ViewerStartFile.h"

namespace tolmar::tool {
namespace {

int RunStartFile(const std::vector<std::string>& args) {
  Arguments arguments(args);
  if (!arguments.UnknownOption().empty()) {
    return UsageError("start-file", "unknown option " + arguments.UnknownOption());
  }
  const auto& rest = arguments.Rest();
  if (rest.size() < 3 || rest[0] != "viewer")
    return UsageError("start-file", "need: viewer OUT FILE...");
  QStringList entries;
  for (size_t i = 2; i < rest.size(); ++i) {
    const QFileInfo info(QString::fromStdString(rest[i]));
    if (info.isDir()) {
      for (const auto& file :
           QDir(info.absoluteFilePath()).entryInfoList(QDir::Files, QDir::Name)) {
        entries << file.absoluteFilePath();
      }
    } else if (info.isFile()) {
      entries << info.absoluteFilePath();
    } else {
      PrintError(rest[i], "no such file or folder");
      return kExitFailure;
    }
  }
  if (entries.isEmpty()) {
    PrintError(rest[1], "no files to list");
    return kExitFailure;
  }
  suite::ViewerStartFile startFile;
  startFile.entryList = suite::ToGb18030(suite::JoinItems(entries)).toStdString();
  startFile.studyBlock.assign(suite::kStudyRecordSize, 0);
  std::vector<std::uint8_t> bytes;
  if (startFile.Encode(bytes) != suite::StartFileError::None) {
    PrintError(rest[1], "cannot encode the start file");
    return kExitFailure;
  }
  QFile out(QString::fromStdString(rest[1]));
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size())) {
    PrintError(rest[1], "cannot write the start file");
    return kExitFailure;
  }
  std::printf("%lld files\n", static_cast<long long>(entries.size()));
  return kExitOk;
}

const CommandRegistration kRegistration({"start-file", "start-file viewer OUT FILE|FOLDER...",
                                         "write a viewer start file listing the images",
                                         RunStartFile});

}  // namespace
}  // namespace tolmar::tool
