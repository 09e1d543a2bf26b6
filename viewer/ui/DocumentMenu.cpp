#include "viewer/ui/DocumentMenu.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <memory>

#include "suite/StringTable.h"
#include "viewer/DocumentCommands.h"
#include "viewer/ui/MainFrame.h"
#include "viewer/ui/PictoriumView.h"

namespace tolmar::viewer {
namespace {

constexpr int kExitCommand = 57665;

void ShowTextDialog(QWidget* parent, const QString& title, const QString& text) {
  QDialog dialog(parent);
  dialog.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&dialog);
  auto* view = new QPlainTextEdit(text, &dialog);
  view->setReadOnly(true);
  layout->addWidget(view);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);
  dialog.exec();
}

}  // namespace

void AddDocumentCommands(QMenu& menu, MainFrame& frame, const DocumentMenuServices& services) {
  const suite::StringTable& strings = *services.strings;
  QAction* before = nullptr;
  for (QAction* action : menu.actions()) {
    if (action->objectName() == QString::number(kExitCommand)) before = action;
  }
  auto add = [&](int id, std::function<void()> run) {
    auto* action = new QAction(strings.Text(id), &menu);
    action->setObjectName(QString::number(id));
    QObject::connect(action, &QAction::triggered, &frame, std::move(run));
    menu.insertAction(before, action);
    return action;
  };
  menu.insertSeparator(before);

  std::shared_ptr<SiblingWindows> windows = MakeBusSiblingWindows();
  add(32984, [&frame, windows] { SelectNewPatient(*windows, frame.windowTitle()); });
  const suite::RegTabLibrary* regTab = services.regTab;
  add(32986, [&frame, regTab] {
    if (regTab)
      ShowConsultationSheet(*regTab, static_cast<intptr_t>(frame.winId()),
                            frame.Model().Document());
  });
  add(32988, [&frame, &strings, database = services.database] {
    const PreliminaryDiagnosis diagnosis = ReadPreliminaryDiagnosis(
        database ? database() : nullptr, frame.Model().Document().StudyKey());
    if (diagnosis.outcome == PreliminaryDiagnosis::Outcome::DatabaseError) {
      QMessageBox::warning(&frame, QString(), diagnosis.error);
    } else if (diagnosis.outcome == PreliminaryDiagnosis::Outcome::Found) {
      ShowTextDialog(&frame, strings.Text(32988), diagnosis.text);
    }
  });
  add(32939, [&frame] {
    PictoriumViewModel& model = frame.Model();
    DicomImage* current = model.CurrentImage();
    const std::optional<QColor> start = BackgroundOfCurrentImage(current);
    if (!start) return;
    const QColor colour = QColorDialog::getColor(*start, &frame);
    if (!colour.isValid()) return;
    const TakesPartFunction takesPart = [&model](const DisplayCell& cell, int index) {
      return model.TakesPart(cell, index);
    };
    if (SetBackgroundOfSelection(model.Document(), current, takesPart, colour) > 0) {
      model.Document().UpdateAllViews(UpdateHint::Refresh);
      frame.View().update();
    }
  });
  menu.insertSeparator(before);
  add(32966, [&frame, &strings, profile = services.profile] {
    if (profile) ResetDefaultsAtNextStart(*profile);
    QMessageBox::information(&frame, QString(), strings.Text(kResetDefaultsMessage));
  });
  menu.insertSeparator(before);
}

}  // namespace tolmar::viewer
