#pragma once

#include <QStringList>
#include <QTranslator>
#include <cstdint>
#include <memory>

#include "suite/ProfileStore.h"
#include "suite/StringTable.h"
#include "suite/SuiteConfig.h"
#include "suite/WindowPlacement.h"

namespace tolmar::suite {

enum class SuiteProgram { Stowmark, Pictorium, Reporter };
enum class MainWindowShow { Restored, Normal };

// How the three programs' start-up differs.
struct StartupTraits {
  QString applicationName;
  int automationFailureMessage = 0;  // 0: the failure is ignored
  bool initialiseSockets = false;
  bool registerAppId = false;
  int recentFileCount = 0;
  bool configSkippedByInit = true;
  bool startThumbnailThread = false;
  MainWindowShow show = MainWindowShow::Restored;
  // Shut-down: the archive manager keeps its main window rectangle and asks
  // the login library whether it may close.
  bool savesMainWindowRect = false;
  bool asksLoginLibraryAtClose = false;

  static StartupTraits For(SuiteProgram program);
};

// The program-specific steps of start-up. The suite calls them in the fixed
// order; a program overrides what it does at each.
class StartupSteps {
 public:
  virtual ~StartupSteps() = default;
  // Connects the automation layer (the session bus).
  virtual bool InitialiseAutomation();
  virtual bool InitialiseSockets() { return true; }
  virtual void RegisterAppId() {}
  virtual void EnableControlHosting() {}
  virtual void ReadSettings(ProfileStore& /*profile*/) {}
  virtual void LoadRecentFiles(int /*count*/) {}
  // Registers the document template and opens what the command line names;
  // false ends the program.
  virtual bool ProcessCommandLine(const QStringList& arguments) = 0;
  virtual void StartThumbnailThread() {}
  virtual void ShowMainWindow(MainWindowShow show) = 0;
  virtual void ShowMessage(int messageId, const QString& text) = 0;
};

// The program-specific steps when the main window closes.
class ShutdownSteps {
 public:
  virtual ~ShutdownSteps() = default;
  virtual void StopTimers() {}
  virtual void SaveControlBarState() {}
  virtual bool IsMinimised() const = 0;
  virtual ScreenRect MainWindowRect() const = 0;
  // The program's own settings saved at the end.
  virtual void SaveSettings(ProfileStore& /*profile*/) {}
};

// What the three programs share for the life of the process: program folder,
// profile, installation values, language file and string table.
class SuiteApplication {
 public:
  static constexpr int kSocketsFailedMessage = 104;

  SuiteApplication(SuiteProgram program, QString programFolder, QString moduleName);
  ~SuiteApplication();
  SuiteApplication(const SuiteApplication&) = delete;
  SuiteApplication& operator=(const SuiteApplication&) = delete;

  // Runs start-up in order; arguments exclude the program itself. False
  // means the program ends (its message has been shown).
  bool Startup(StartupSteps& steps, const QStringList& arguments);
  // The main window closes: timers stop, the control bars and the program's
  // settings are saved and, for the archive manager, the window rectangle
  // unless the window is minimised.
  void CloseMainWindow(ShutdownSteps& steps);
  // The document's close check: the archive manager asks the login library
  // (a missing library lets it close); the other programs may always close.
  bool MayCloseDocument(intptr_t window, const QByteArray& userName) const;
  // Restores the built-in texts and frees the language file.
  void Shutdown();

  SuiteProgram Program() const { return m_program; }
  const StartupTraits& Traits() const { return m_traits; }
  const QString& ProgramFolderPath() const { return m_programFolder; }
  ProfileStore& Profile() { return m_profile; }
  const ProfileStore& Profile() const { return m_profile; }
  const SuiteConfig& Config() const { return m_config; }
  // False when "/Init" made start-up skip CONFIG.INI.
  bool ConfigRead() const { return m_configRead; }
  bool LanguageFileLoaded() const { return m_translator != nullptr; }
  StringTable& Strings() { return m_strings; }

  QString ReadSharedValue(const QString& section, const QString& entry, const QString& defaultValue,
                          const QString& profileName = ProfileStore::kGeneralProfile) const;

 private:
  SuiteProgram m_program;
  StartupTraits m_traits;
  QString m_programFolder;
  QString m_moduleName;
  ProfileStore m_profile;
  SuiteConfig m_config;
  bool m_configRead = false;
  std::unique_ptr<QTranslator> m_translator;
  StringTable& m_strings;
};

StringTable& StringsFor(SuiteProgram program);

}  // namespace tolmar::suite
