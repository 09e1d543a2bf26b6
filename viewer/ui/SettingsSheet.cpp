#include "viewer/ui/SettingsSheet.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "suite/StringTable.h"
#include "viewer/ui/FormatPages.h"
#include "viewer/ui/SettingsPages.h"

namespace tolmar::viewer {
namespace {

constexpr int kSheetCaption = 142;
// The framework's message for a number outside its range.
constexpr int kRangeMessage = 61715;

}  // namespace

SettingsSheet::SettingsSheet(Kind kind, suite::ProfileStore& profile, PictoriumViewModel* view,
                             const suite::StringTable& strings, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_model(profile, view), m_strings(strings) {
  auto* layout = new QVBoxLayout(this);
  auto buttons = QDialogButtonBox::Ok | QDialogButtonBox::Cancel;
  switch (kind) {
    case Kind::WholeSheet:
      setWindowTitle(strings.Text(kSheetCaption));
      m_tabs = new QTabWidget(this);
      m_pages = {new SystemPage,    new FilmPage,       new OverlayTextPage(true), new MeasurePage,
                 new WindowingPage, new HistoryBarPage, new ScoutLinePage};
      for (SettingsPage* page : m_pages) m_tabs->addTab(page, page->Caption());
      layout->addWidget(m_tabs);
      buttons |= QDialogButtonBox::Apply;
      break;
    case Kind::OverlayFormat:
      setWindowTitle(QStringLiteral("病人信息格式设置"));
      m_pages = {new OverlayTextPage(false, this)};
      layout->addWidget(m_pages.front());
      break;
    case Kind::MeasureFormat:
      setWindowTitle(QStringLiteral("测量信息显示格式"));
      m_pages = {new MeasurePage(this)};
      layout->addWidget(m_pages.front());
      break;
  }
  for (SettingsPage* page : m_pages) page->Load(m_model.Values());

  auto* box = new QDialogButtonBox(buttons, this);
  box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  if (QPushButton* apply = box->button(QDialogButtonBox::Apply)) {
    apply->setText(QStringLiteral("应用"));
    connect(apply, &QPushButton::clicked, this, [this] { ApplyValues(false); });
  }
  connect(box, &QDialogButtonBox::accepted, this, &SettingsSheet::accept);
  connect(box, &QDialogButtonBox::rejected, this, &SettingsSheet::reject);
  layout->addWidget(box);
}

bool SettingsSheet::ApplyValues(bool closing) {
  for (SettingsPage* page : m_pages) page->Store(m_model.Values());
  std::optional<SettingsRefusal> refusal;
  switch (m_kind) {
    case Kind::WholeSheet:
      refusal = m_model.ApplySheet(closing);
      break;
    case Kind::OverlayFormat:
      m_model.ApplyOverlayFormat();
      break;
    case Kind::MeasureFormat:
      refusal = m_model.ApplyMeasureFormat();
      break;
  }
  if (refusal) {
    QWidget* field = nullptr;
    for (SettingsPage* page : m_pages) {
      field = page->findChild<QWidget*>(QString::number(refusal->controlId));
      if (field) {
        if (m_tabs) m_tabs->setCurrentWidget(page);
        break;
      }
    }
    QMessageBox::warning(this, windowTitle(),
                         m_strings.Format(kRangeMessage, {QString::number(refusal->minimum),
                                                          QString::number(refusal->maximum)}));
    if (field) field->setFocus();
    return false;
  }
  emit Applied();
  return true;
}

void SettingsSheet::accept() {
  if (ApplyValues(true)) QDialog::accept();
}

}  // namespace tolmar::viewer
