#include "viewer/ui/CPictoriumApp.h"

#include <QMessageBox>

#include "annotation/DrawObjList.h"
#include "annotation/GSPSSObject.h"
#include "suite/CommandLine.h"
#include "viewer/DisplayProfile.h"
#include "viewer/ui/MainFrame.h"

namespace tolmar::viewer {
namespace {

// Presentation states waiting for their image are offered every newly loaded cell.
class PresentationStateOffers : public DocumentObserver {
 public:
  explicit PresentationStateOffers(CPictoriumDoc& doc) : m_doc(doc) { m_doc.AddObserver(this); }
  ~PresentationStateOffers() override { m_doc.RemoveObserver(this); }
  void OnDocumentUpdate(UpdateHint hint, int cellIndex) override {
    if (hint != UpdateHint::CellLoaded || cellIndex < 0 || cellIndex >= m_doc.CellCount()) return;
    DisplayCell& cell = m_doc.Cell(cellIndex);
    for (int i = 0; i < cell.ImageCount(); ++i)
      PendingPresentationStates::Program().OfferTo(cell.Image(i));
  }

 private:
  CPictoriumDoc& m_doc;
};

void ApplyPresentationState(CPictoriumDoc& doc, const DicomDataSet& dataSet) {
  auto state = std::make_unique<CGSPSSObject>();
  if (!state->LoadFromDataSet(dataSet)) return;
  std::vector<DicomImage*> images;
  for (auto& cell : doc.Cells()) {
    for (int i = 0; i < cell->ImageCount(); ++i) images.push_back(&cell->Image(i));
  }
  PendingPresentationStates::Program().Offer(std::move(state), images);
}

}  // namespace

CPictoriumApp::CPictoriumApp(QString programFolder, QString moduleName)
    : m_suite(suite::SuiteProgram::Pictorium, programFolder, std::move(moduleName)),
      m_installFolder(std::move(programFolder)) {}

CPictoriumApp::~CPictoriumApp() { Shutdown(); }

bool CPictoriumApp::Start(const QStringList& arguments) {
  if (!m_suite.Startup(*this, arguments)) return false;
  return true;
}

void CPictoriumApp::ReadSettings(suite::ProfileStore& profile) {
  m_viewSettings = ViewSettings::Read(profile);
  m_imageSettings = ReadImageSettings(profile);
  SetDisplaySettings(ReadDisplaySettings(profile, m_installFolder));
  m_settingsRead = true;
  SetMeasureStyle(ReadMeasureStyle(profile));
}

bool CPictoriumApp::ProcessCommandLine(const QStringList& arguments) {
  // CONFIG.INI has been read by now unless "/Init" was given.
  if (m_suite.ConfigRead()) {
    m_programFolder = m_installFolder;
    m_hospitalName = m_suite.Config().hospitalName;
  }
  // The SOP class table lives in the program folder whatever "/Init" says.
  m_doc = std::make_unique<CPictoriumDoc>(m_installFolder, &m_suite.Profile());
  m_doc->SetImageSettings(m_imageSettings);
  InstallDrawObjects();
  CPictoriumDoc* doc = m_doc.get();
  m_doc->SetPresentationStateHook(
      [doc](const DicomDataSet& state) { ApplyPresentationState(*doc, state); });
  m_stateOffers = std::make_unique<PresentationStateOffers>(*m_doc);
  m_frame =
      std::make_unique<MainFrame>(*m_doc, m_viewSettings, &m_suite.Profile(), m_suite.Strings());
  QStringList paths;
  for (const QString& argument : arguments) {
    if (argument.compare(QStringLiteral("/Init"), Qt::CaseInsensitive) != 0) paths << argument;
  }
  if (paths.isEmpty()) return m_doc->NewDocument();
  return m_doc->OpenDocument(paths.first());
}

void CPictoriumApp::ShowMainWindow(suite::MainWindowShow) {
  if (!m_frame) return;
  if (!m_frame->RestorePlacement()) m_frame->resize(1024, 768);
  m_frame->showNormal();
  m_frame->activateWindow();
}

void CPictoriumApp::ShowMessage(int, const QString& text) {
  QMessageBox::critical(nullptr, QString(), text);
}

void CPictoriumApp::Shutdown() {
  // Frame (window rectangle, layout), then the document (selection mode,
  // loaders, cells), then the language file.
  if (m_frame) {
    m_frame->close();
    m_frame.reset();
  }
  m_stateOffers.reset();
  m_doc.reset();
  if (m_settingsRead) {
    WriteExitSettings(m_suite.Profile(), CurrentDisplaySettings(), MeasureStyle());
    m_settingsRead = false;
  }
  m_suite.Shutdown();
}

}  // namespace tolmar::viewer
