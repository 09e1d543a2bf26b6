#include "suite/SuiteApplication.h"

#include <QDBusConnection>

#include "suite/CommandLine.h"
#include "suite/LanguageFile.h"
#include "suite/OutsideLibraries.h"
#include "suite/SuiteStrings.h"

namespace tolmar::suite {

StartupTraits StartupTraits::For(SuiteProgram program) {
  StartupTraits traits;
  switch (program) {
    case SuiteProgram::Stowmark:
      traits.applicationName = QStringLiteral("Stowmark");
      traits.automationFailureMessage = 283;
      traits.initialiseSockets = true;
      traits.registerAppId = true;
      traits.recentFileCount = 4;
      traits.configSkippedByInit = false;
      traits.startThumbnailThread = true;
      traits.show = MainWindowShow::Restored;
      traits.savesMainWindowRect = true;
      traits.asksLoginLibraryAtClose = true;
      break;
    case SuiteProgram::Pictorium:
      traits.applicationName = QStringLiteral("Pictorium");
      traits.automationFailureMessage = 351;
      traits.recentFileCount = 8;
      traits.show = MainWindowShow::Restored;
      break;
    case SuiteProgram::Reporter:
      traits.applicationName = QStringLiteral("Reporter");
      traits.automationFailureMessage = 0;
      traits.recentFileCount = 0;
      traits.show = MainWindowShow::Normal;
      break;
  }
  return traits;
}

bool StartupSteps::InitialiseAutomation() { return QDBusConnection::sessionBus().isConnected(); }

StringTable& StringsFor(SuiteProgram program) {
  switch (program) {
    case SuiteProgram::Stowmark:
      return StowmarkStrings();
    case SuiteProgram::Pictorium:
      return PictoriumStrings();
    case SuiteProgram::Reporter:
      return ReporterStrings();
  }
  return StowmarkStrings();
}

SuiteApplication::SuiteApplication(SuiteProgram program, QString programFolder, QString moduleName)
    : m_program(program),
      m_traits(StartupTraits::For(program)),
      m_programFolder(std::move(programFolder)),
      m_moduleName(std::move(moduleName)),
      m_profile(m_traits.applicationName),
      m_strings(StringsFor(program)) {}

SuiteApplication::~SuiteApplication() { Shutdown(); }

bool SuiteApplication::Startup(StartupSteps& steps, const QStringList& arguments) {
  if (!steps.InitialiseAutomation() && m_traits.automationFailureMessage != 0) {
    steps.ShowMessage(m_traits.automationFailureMessage,
                      m_strings.Text(m_traits.automationFailureMessage));
    return false;
  }
  if (m_traits.initialiseSockets && !steps.InitialiseSockets()) {
    steps.ShowMessage(kSocketsFailedMessage, m_strings.Text(kSocketsFailedMessage));
    return false;
  }
  if (m_traits.registerAppId) steps.RegisterAppId();
  steps.EnableControlHosting();

  m_translator = LoadLanguageFile(m_programFolder, m_moduleName, ReadLanguageCode(m_programFolder));
  m_strings.SetTranslator(m_translator.get());

  steps.ReadSettings(m_profile);
  if (m_traits.recentFileCount > 0) steps.LoadRecentFiles(m_traits.recentFileCount);

  m_configRead = !(m_traits.configSkippedByInit && HasInitSwitch(arguments));
  if (m_configRead) m_config = SuiteConfig::Read(m_programFolder);

  if (!steps.ProcessCommandLine(arguments)) return false;
  if (m_traits.startThumbnailThread) steps.StartThumbnailThread();
  steps.ShowMainWindow(m_traits.show);
  return true;
}

void SuiteApplication::CloseMainWindow(ShutdownSteps& steps) {
  steps.StopTimers();
  steps.SaveControlBarState();
  if (m_traits.savesMainWindowRect)
    SaveMainWindowRect(m_profile, steps.MainWindowRect(), steps.IsMinimised());
  steps.SaveSettings(m_profile);
}

bool SuiteApplication::MayCloseDocument(intptr_t window, const QByteArray& userName) const {
  if (!m_traits.asksLoginLibraryAtClose) return true;
  return LogoutAllowsClose(m_programFolder, ReadLoginLibrarySettings(), window, userName);
}

void SuiteApplication::Shutdown() {
  m_strings.SetTranslator(nullptr);
  m_translator.reset();
}

QString SuiteApplication::ReadSharedValue(const QString& section, const QString& entry,
                                          const QString& defaultValue,
                                          const QString& profileName) const {
  return m_profile.ReadSharedValue(section, entry, defaultValue, profileName);
}

}  // namespace tolmar::suite
