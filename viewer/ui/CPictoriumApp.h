#pragma once

#include <QStringList>
#include <memory>

#include "image/ImageSettings.h"
#include "suite/SuiteApplication.h"
#include "viewer/CPictoriumDoc.h"
#include "viewer/HistoryBar.h"
#include "viewer/PictoriumViewModel.h"

namespace tolmar::db {
class DbConnection;
}
namespace tolmar::suite {
class RegTabLibrary;
}

namespace tolmar::viewer {

class HistoryBarWidget;
class MainFrame;
class ViewerAutomation;
class ViewerAutomationHandler;

// The viewer's application object: runs the suite's start-up in its fixed
// order (profile, language file, settings, CONFIG.INI unless "/Init", the
// document and main frame, the command line, the main window) and shuts down
// in reverse.
class CPictoriumApp : public suite::StartupSteps {
 public:
  CPictoriumApp(QString programFolder, QString moduleName);
  ~CPictoriumApp() override;

  // False when start-up ended the program.
  bool Start(const QStringList& arguments);
  void Shutdown();

  MainFrame* Frame() { return m_frame.get(); }
  CPictoriumDoc* Document() { return m_doc.get(); }
  suite::SuiteApplication& Suite() { return m_suite; }
  // Empty when "/Init" was given.
  const QString& ProgramFolderPath() const { return m_programFolder; }
  const QString& HospitalName() const { return m_hospitalName; }

  // StartupSteps.
  void ReadSettings(suite::ProfileStore& profile) override;
  bool ProcessCommandLine(const QStringList& arguments) override;
  void ShowMainWindow(suite::MainWindowShow show) override;
  void ShowMessage(int messageId, const QString& text) override;

  // The database "TolmarPacs", opened on first need; null when it cannot be.
  db::DbConnection* Database();

 private:
  // History bar, document commands and the automation object around the frame.
  void AttachFrameServices(bool startedForLoad);
  // The bar lists this patient's studies, read now when the bar is shown or
  // when it is shown next.
  void SetHistoryPatient(const HistoryPatient& patient);
  void FillHistory();

  suite::SuiteApplication m_suite;
  QString m_installFolder;
  QString m_programFolder;
  QString m_hospitalName;
  ViewSettings m_viewSettings;
  ImageSettings m_imageSettings;
  bool m_settingsRead = false;  // nothing is written back unless it was read first
  std::unique_ptr<CPictoriumDoc> m_doc;
  std::unique_ptr<DocumentObserver> m_stateOffers;
  std::unique_ptr<MainFrame> m_frame;
  std::unique_ptr<db::DbConnection> m_database;
  bool m_databaseTried = false;
  std::unique_ptr<suite::RegTabLibrary> m_regTab;
  HistoryBarWidget* m_history = nullptr;  // owned by the frame
  HistoryPatient m_historyPatient;
  bool m_historyStale = true;
  std::unique_ptr<ViewerAutomationHandler> m_automationHandler;
  std::unique_ptr<ViewerAutomation> m_automation;
};

}  // namespace tolmar::viewer
