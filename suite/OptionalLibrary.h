#pragma once

#include <QString>
#include <memory>

namespace tolmar::suite {

// A library loaded by name at run time. The suite's names are Windows file
// names ("TmGate.dll"); the library opened is "lib<Name>.so" in the program
// folder. A missing library or entry disables the feature that needs it.
class OptionalLibrary {
 public:
  // Null when the library is missing or the name is not a plain file name.
  static std::unique_ptr<OptionalLibrary> Open(const QString& programFolder,
                                               const QString& libraryName);
  // A library of the system by its soname ("libz.so.1").
  static std::unique_ptr<OptionalLibrary> OpenSystem(const QString& soname);

  ~OptionalLibrary();
  OptionalLibrary(const OptionalLibrary&) = delete;
  OptionalLibrary& operator=(const OptionalLibrary&) = delete;

  // Address of an export, or null.
  void* Resolve(const char* name) const;
  template <typename Function>
  Function Entry(const char* name) const {
    return reinterpret_cast<Function>(Resolve(name));
  }

  const QString& Path() const { return m_path; }

 private:
  OptionalLibrary(void* handle, QString path) : m_handle(handle), m_path(std::move(path)) {}

  void* m_handle;
  QString m_path;
};

// "TmGate.dll" -> "libTmGate.so"; empty when the name holds a folder.
QString SharedLibraryFileName(const QString& libraryName);

}  // namespace tolmar::suite
