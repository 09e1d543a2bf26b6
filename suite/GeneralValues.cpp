#include "suite/GeneralValues.h"

#include "suite/ProfileStore.h"

namespace tolmar::suite {
namespace {

QString General(const QString& entry, const QString& defaultValue) {
  return ReadProfileValue(ProfileStore::kGeneralProfile, QString(), entry, defaultValue);
}

}  // namespace

QString SiblingWindowTitle(SiblingProgram program) {
  switch (program) {
    case SiblingProgram::Stowmark:
      return General(QStringLiteral("StowmarkName"), QStringLiteral("Stowmark"));
    case SiblingProgram::Reporter:
      return General(QStringLiteral("ReporterName"), QStringLiteral("Reporter"));
    case SiblingProgram::Pellicor:
      return General(QStringLiteral("PellicorName"), QStringLiteral("Pellicor"));
    case SiblingProgram::Paperlift:
      return General(QStringLiteral("PaperliftName"), QStringLiteral("Paperlift"));
    case SiblingProgram::Vidrake:
      return General(QStringLiteral("VidrakeName"), QStringLiteral("Capturon"));
  }
  return {};
}

QString AdminFileName() {
  return General(QStringLiteral("Admin file name"), QStringLiteral("Stewardry.EXE"));
}

QString PellicorFileName() {
  return General(QStringLiteral("Pellicor file name"), QStringLiteral("Pellicor.EXE"));
}

int ReadSharedInt(const QString& section, const QString& entry, int defaultValue) {
  bool ok = false;
  const int value = ReadProfileValue(ProfileStore::kGeneralProfile, section, entry, QString())
                        .trimmed()
                        .toInt(&ok);
  return ok ? value : defaultValue;
}

int AppType() { return ReadSharedInt(QString(), QStringLiteral("AppType"), 0); }

}  // namespace tolmar::suite
