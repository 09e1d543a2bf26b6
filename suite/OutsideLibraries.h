#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "suite/OptionalLibrary.h"
#include "suite/OutsideLibraryApi.h"

namespace tolmar::suite {

// "TmRegTab.dll": loaded once when a program starts, entry looked up once.
class RegTabLibrary {
 public:
  static inline const QString kLibraryName = QStringLiteral("TmRegTab.dll");

  explicit RegTabLibrary(const QString& programFolder);
  bool IsAvailable() const { return m_show != nullptr; }
  // True when the library showed the request; false (and nothing happens)
  // when the library or entry is missing.
  bool Show(intptr_t window, const QByteArray& requestKey) const;

 private:
  std::unique_ptr<OptionalLibrary> m_library;
  EXPShowRegTableFunction m_show = nullptr;
};

// "TmBCode.dll" and "TmTrigger.dll" of the report writer.
class BarCodeLibrary {
 public:
  static inline const QString kLibraryName = QStringLiteral("TmBCode.dll");

  explicit BarCodeLibrary(const QString& programFolder);
  bool IsAvailable() const { return m_create != nullptr; }
  bool CreateBarCode(int value, const QString& outputPath) const;

 private:
  std::unique_ptr<OptionalLibrary> m_library;
  EXPCreateBarCodeFunction m_create = nullptr;
};

class TriggerLibrary {
 public:
  static inline const QString kLibraryName = QStringLiteral("TmTrigger.dll");
  static constexpr int kReportFunction = 100;

  explicit TriggerLibrary(const QString& programFolder);
  // A missing library or entry allows the action.
  bool HaveFunction(const QByteArray& requestKey, int function = kReportFunction) const;

 private:
  std::unique_ptr<OptionalLibrary> m_library;
  EXPHaveFunctionFunction m_have = nullptr;
};

// The login library named in "General" "ExLogin" (default "TmGate.dll"):
// loaded for the one question whether the program may close, freed after.
struct LoginLibrarySettings {
  QString dllName = QStringLiteral("TmGate.dll");
  QString funLogin = QStringLiteral("EXPLogin");
  QString funLogout = QStringLiteral("EXPLogout");
};

// Reads "ExLogin" "DllName", "FunLogin", "FunLogout" from "General".
LoginLibrarySettings ReadLoginLibrarySettings();

// Missing library or entry: the program may close.
bool LogoutAllowsClose(const QString& programFolder, const LoginLibrarySettings& settings,
                       intptr_t window, const QByteArray& userName);

}  // namespace tolmar::suite
