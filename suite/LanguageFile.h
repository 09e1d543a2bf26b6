#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

namespace tolmar::suite {

// The translation file beside the executable: the module name cut to its
// first five characters, the language code and ".qm" ("PictoCHS.qm").
QString LanguageFileName(const QString& moduleName, const QString& languageCode);

// Loads the program's translation file; null when it is missing or not a
// translation, in which case the built-in Chinese texts stay in use.
std::unique_ptr<QTranslator> LoadLanguageFile(const QString& programFolder,
                                              const QString& moduleName,
                                              const QString& languageCode);

}  // namespace tolmar::suite
