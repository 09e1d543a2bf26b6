#pragma once

#include <QString>

namespace tolmar::suite {

// The per-user settings of the suite: one INI file per program plus
// "General.ini" for values that several programs read, all in
// $XDG_CONFIG_HOME/Tolmar/Tolmar PACS/. A section is an INI section; the
// empty section holds the values that sit directly in a profile. Every write
// re-reads the file under a lock file and saves it atomically, so two
// programs writing "General" at once lose neither value.
class ProfileStore {
 public:
  static inline const QString kGeneralProfile = QStringLiteral("General");

  // programName is the application name: "Stowmark", "Pictorium" or "Reporter".
  explicit ProfileStore(QString programName);

  // Folder of the profile files (no trailing slash).
  static QString Folder();
  static QString ProfilePath(const QString& profileName);

  const QString& ProgramName() const { return m_programName; }

  QString GetProfileString(const QString& section, const QString& entry,
                           const QString& defaultValue) const;
  // A missing value or one that is not a whole decimal number gives defaultValue.
  int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
  bool WriteProfileString(const QString& section, const QString& entry, const QString& value);
  bool WriteProfileInt(const QString& section, const QString& entry, int value);

  // Reads one value of another profile ("General" unless named).
  QString ReadSharedValue(const QString& section, const QString& entry, const QString& defaultValue,
                          const QString& profileName = kGeneralProfile) const;
  bool WriteSharedValue(const QString& section, const QString& entry, const QString& value,
                        const QString& profileName = kGeneralProfile);

 private:
  QString m_programName;
};

// The same reads and writes on any named profile.
QString ReadProfileValue(const QString& profileName, const QString& section, const QString& entry,
                         const QString& defaultValue);
bool WriteProfileValue(const QString& profileName, const QString& section, const QString& entry,
                       const QString& value);

}  // namespace tolmar::suite
