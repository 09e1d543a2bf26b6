#include "suite/LanguageFile.h"

namespace tolmar::suite {

QString LanguageFileName(const QString& moduleName, const QString& languageCode) {
  return moduleName.left(5) + languageCode + QStringLiteral(".qm");
}

std::unique_ptr<QTranslator> LoadLanguageFile(const QString& programFolder,
                                              const QString& moduleName,
                                              const QString& languageCode) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(programFolder + LanguageFileName(moduleName, languageCode))) return nullptr;
  return translator;
}

}  // namespace tolmar::suite
