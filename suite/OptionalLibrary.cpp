#include "suite/OptionalLibrary.h"

#include <dlfcn.h>

#include <QFile>

namespace tolmar::suite {

QString SharedLibraryFileName(const QString& libraryName) {
  // The name may come from a user's profile; it never leads out of the
  // program folder.
  if (libraryName.isEmpty() || libraryName.contains(QLatin1Char('/')) ||
      libraryName.contains(QLatin1Char('\\')) || libraryName == QLatin1String(".") ||
      libraryName == QLatin1String(".."))
    return {};
  QString base = libraryName;
  if (base.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive)) base.chop(4);
  if (base.isEmpty()) return {};
  return QStringLiteral("lib") + base + QStringLiteral(".so");
}

std::unique_ptr<OptionalLibrary> OptionalLibrary::Open(const QString& programFolder,
                                                       const QString& libraryName) {
  const QString fileName = SharedLibraryFileName(libraryName);
  if (fileName.isEmpty()) return nullptr;
  const QString path = programFolder + fileName;
  void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::unique_ptr<OptionalLibrary>(new OptionalLibrary(handle, path));
}

std::unique_ptr<OptionalLibrary> OptionalLibrary::OpenSystem(const QString& soname) {
  void* handle = ::dlopen(QFile::encodeName(soname).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  return std::unique_ptr<OptionalLibrary>(new OptionalLibrary(handle, soname));
}

OptionalLibrary::~OptionalLibrary() { ::dlclose(m_handle); }

void* OptionalLibrary::Resolve(const char* name) const { return ::dlsym(m_handle, name); }

}  // namespace tolmar::suite
