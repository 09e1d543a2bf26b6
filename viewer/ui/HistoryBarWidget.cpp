#include "viewer/ui/HistoryBarWidget.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QTreeWidget>

#include "suite/StringTable.h"

namespace tolmar::viewer {

class HistoryBarWidget::Prompts : public HistoryPrompts {
 public:
  explicit Prompts(QWidget* parent) : m_parent(parent) {}
  void ShowMessage(int, const QString& text) override {
    QMessageBox::warning(m_parent, QString(), text);
  }
  void SetWaitCursor(bool on) override {
    if (on) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }

 private:
  QWidget* m_parent;
};

HistoryBarWidget::HistoryBarWidget(const suite::StringTable& strings,
                                   const HistoryBarSettings& settings,
                                   HistoryBar::LoadRequest request,
                                   std::unique_ptr<HistoryAutomation> automation, QWidget* parent)
    : QDockWidget(parent),
      m_strings(strings),
      m_request(std::move(request)),
      m_automation(std::move(automation)),
      m_prompts(std::make_unique<Prompts>(this)),
      m_bar(std::make_unique<HistoryBar>(*m_automation, *m_prompts, strings)) {
  setObjectName(QStringLiteral("HistoryBar"));
  // The title the settings page uses for this window ("显示相关资料窗口").
  setWindowTitle(QStringLiteral("相关资料"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  m_list = new QTreeWidget(this);
  m_list->setRootIsDecorated(false);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setHeaderHidden(true);
  m_list->setColumnCount(4);
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  setWidget(m_list);
  resize(settings.width, settings.height);

  connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (m_bar->OpenEntry(ChosenIndex(), m_request)) ShowRows();
  });
  connect(m_list, &QTreeWidget::customContextMenuRequested, this,
          &HistoryBarWidget::ShowContextMenu);
}

HistoryBarWidget::~HistoryBarWidget() = default;

void HistoryBarWidget::ShowRows() {
  const int chosen = ChosenIndex();
  m_list->clear();
  for (const HistoryEntry& entry : m_bar->Entries()) {
    auto* item = new QTreeWidgetItem(
        m_list, {entry.Field(HistoryField::kStudyDate), entry.Field(HistoryField::kModality),
                 entry.Field(HistoryField::kStudyPlace), entry.Field(HistoryField::kStudyNo)});
    if (entry.loaded) {
      QFont font = item->font(0);
      font.setBold(true);
      for (int column = 0; column < m_list->columnCount(); ++column) item->setFont(column, font);
    }
  }
  if (chosen >= 0 && chosen < m_list->topLevelItemCount())
    m_list->setCurrentItem(m_list->topLevelItem(chosen));
}

int HistoryBarWidget::ChosenIndex() const {
  QTreeWidgetItem* item = m_list->currentItem();
  if (!item || !item->isSelected()) return -1;
  return m_list->indexOfTopLevelItem(item);
}

void HistoryBarWidget::ShowContextMenu(const QPoint& position) {
  if (ChosenIndex() < 0) return;
  QMenu menu(this);
  QAction* view = menu.addAction(m_strings.Text(32982));
  view->setObjectName(QStringLiteral("32982"));
  QAction* report = menu.addAction(m_strings.Text(32983));
  report->setObjectName(QStringLiteral("32983"));
  QAction* chosen = menu.exec(m_list->viewport()->mapToGlobal(position));
  if (chosen == view) m_bar->ViewInAnotherViewer(ChosenIndex());
  if (chosen == report) m_bar->OpenReport(ChosenIndex());
}

}  // namespace tolmar::viewer
