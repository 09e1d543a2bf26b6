#include "suite/ProfileStore.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "suite/IniFile.h"

namespace tolmar::suite {

ProfileStore::ProfileStore(QString programName) : m_programName(std::move(programName)) {}

QString ProfileStore::Folder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Tolmar/Tolmar PACS");
}

QString ProfileStore::ProfilePath(const QString& profileName) {
  return Folder() + QLatin1Char('/') + profileName + QStringLiteral(".ini");
}

QString ReadProfileValue(const QString& profileName, const QString& section, const QString& entry,
                         const QString& defaultValue) {
  const std::optional<QString> value =
      IniFile::Load(ProfileStore::ProfilePath(profileName)).Value(section, entry);
  return value ? *value : defaultValue;
}

bool WriteProfileValue(const QString& profileName, const QString& section, const QString& entry,
                       const QString& value) {
  if (!QDir().mkpath(ProfileStore::Folder())) return false;
  const QString path = ProfileStore::ProfilePath(profileName);
  QLockFile lock(path + QStringLiteral(".lock"));
  lock.setStaleLockTime(10000);
  if (!lock.tryLock(5000)) return false;
  IniFile ini = IniFile::Load(path);
  ini.SetValue(section, entry, value);
  return ini.Save(path);
}

QString ProfileStore::GetProfileString(const QString& section, const QString& entry,
                                       const QString& defaultValue) const {
  return ReadProfileValue(m_programName, section, entry, defaultValue);
}

int ProfileStore::GetProfileInt(const QString& section, const QString& entry,
                                int defaultValue) const {
  bool ok = false;
  const int value = GetProfileString(section, entry, QString()).trimmed().toInt(&ok);
  return ok ? value : defaultValue;
}

bool ProfileStore::WriteProfileString(const QString& section, const QString& entry,
                                      const QString& value) {
  return WriteProfileValue(m_programName, section, entry, value);
}

bool ProfileStore::WriteProfileInt(const QString& section, const QString& entry, int value) {
  return WriteProfileString(section, entry, QString::number(value));
}

QString ProfileStore::ReadSharedValue(const QString& section, const QString& entry,
                                      const QString& defaultValue,
                                      const QString& profileName) const {
  return ReadProfileValue(profileName, section, entry, defaultValue);
}

bool ProfileStore::WriteSharedValue(const QString& section, const QString& entry,
                                    const QString& value, const QString& profileName) {
  return WriteProfileValue(profileName, section, entry, value);
}

}  // namespace tolmar::suite
