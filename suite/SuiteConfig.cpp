#include "suite/SuiteConfig.h"

#include "suite/PrivateProfile.h"

namespace tolmar::suite {

SuiteConfig SuiteConfig::Read(const QString& programFolder) {
  const PrivateProfile ini = PrivateProfile::Load(programFolder + kFileName);
  SuiteConfig config;
  config.language = ini.GetString(kSection, QStringLiteral("LANGUAGE"), config.language);
  config.hospitalName =
      ini.GetString(kSection, QStringLiteral("HOSPITAL NAME"), config.hospitalName);
  config.viewer = ini.GetString(kSection, QStringLiteral("VIEWER"), config.viewer);
  config.reporter = ini.GetString(kSection, QStringLiteral("REPORTER"), config.reporter);
  return config;
}

QString ReadLanguageCode(const QString& programFolder) {
  return PrivateProfile::Load(programFolder + SuiteConfig::kFileName)
      .GetString(SuiteConfig::kSection, QStringLiteral("LANGUAGE"), QStringLiteral("CHS"));
}

}  // namespace tolmar::suite
