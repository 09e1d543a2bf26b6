#include "suite/OutsideLibraries.h"

#include <QFile>

#include "suite/ProfileStore.h"

namespace tolmar::suite {

RegTabLibrary::RegTabLibrary(const QString& programFolder)
    : m_library(OptionalLibrary::Open(programFolder, kLibraryName)) {
  if (m_library) m_show = m_library->Entry<EXPShowRegTableFunction>("EXPShowRegTable");
}

bool RegTabLibrary::Show(intptr_t window, const QByteArray& requestKey) const {
  return m_show && m_show(window, requestKey.constData()) > 0;
}

BarCodeLibrary::BarCodeLibrary(const QString& programFolder)
    : m_library(OptionalLibrary::Open(programFolder, kLibraryName)) {
  if (m_library) m_create = m_library->Entry<EXPCreateBarCodeFunction>("EXPCreateBarCode");
}

bool BarCodeLibrary::CreateBarCode(int value, const QString& outputPath) const {
  return m_create && m_create(value, QFile::encodeName(outputPath).constData()) > 0;
}

TriggerLibrary::TriggerLibrary(const QString& programFolder)
    : m_library(OptionalLibrary::Open(programFolder, kLibraryName)) {
  if (m_library) m_have = m_library->Entry<EXPHaveFunctionFunction>("EXPHaveFunction");
}

bool TriggerLibrary::HaveFunction(const QByteArray& requestKey, int function) const {
  return !m_have || m_have(requestKey.constData(), function) > 0;
}

LoginLibrarySettings ReadLoginLibrarySettings() {
  LoginLibrarySettings settings;
  const QString section = QStringLiteral("ExLogin");
  settings.dllName = ReadProfileValue(ProfileStore::kGeneralProfile, section,
                                      QStringLiteral("DllName"), settings.dllName);
  settings.funLogin = ReadProfileValue(ProfileStore::kGeneralProfile, section,
                                       QStringLiteral("FunLogin"), settings.funLogin);
  settings.funLogout = ReadProfileValue(ProfileStore::kGeneralProfile, section,
                                        QStringLiteral("FunLogout"), settings.funLogout);
  return settings;
}

bool LogoutAllowsClose(const QString& programFolder, const LoginLibrarySettings& settings,
                       intptr_t window, const QByteArray& userName) {
  const std::unique_ptr<OptionalLibrary> library =
      OptionalLibrary::Open(programFolder, settings.dllName);
  if (!library) return true;
  const auto logout = library->Entry<EXPLogoutFunction>(settings.funLogout.toLatin1().constData());
  if (!logout) return true;
  return logout(window, userName.constData(), 0) != 0;
}

}  // namespace tolmar::suite
