#pragma once

#include <QString>

namespace tolmar::suite {

// Installation values from CONFIG.INI, section "Trelmnd4.0".
struct SuiteConfig {
  static inline const QString kFileName = QStringLiteral("CONFIG.INI");
  static inline const QString kSection = QStringLiteral("Trelmnd4.0");

  QString language = QStringLiteral("CHS");
  QString hospitalName;
  QString viewer = QStringLiteral("Discorium.EXE");
  QString reporter = QStringLiteral("Discscribe.EXE");

  // Missing file or keys leave the defaults, silently.
  static SuiteConfig Read(const QString& programFolder);
};

// Only the language code, read before the language file is chosen.
QString ReadLanguageCode(const QString& programFolder);

}  // namespace tolmar::suite
