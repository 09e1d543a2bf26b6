#include "viewer/ui/SortKeyDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "suite/SuiteStrings.h"

namespace tolmar::viewer {
namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kAscendingRole = Qt::UserRole + 2;

}  // namespace

SortKeyDialog::SortKeyDialog(Kind kind, const QString& title, const SortKeyList& keys,
                             QWidget* parent)
    : QDialog(parent), m_kind(kind) {
  setWindowTitle(title);
  m_unused = new QListWidget(this);
  m_chosen = new QListWidget(this);
  std::vector<const SortKey*> chosen;
  for (const SortKey& key : keys.Keys()) {
    const int position = kind == Kind::Sort ? key.sortPosition : key.groupPosition;
    if (position == 0) {
      auto* item = new QListWidgetItem(QString::fromStdString(key.name), m_unused);
      item->setData(kIdRole, key.id);
      item->setData(kNameRole, QString::fromStdString(key.name));
    } else {
      chosen.push_back(&key);
    }
  }
  std::sort(chosen.begin(), chosen.end(), [kind](const SortKey* a, const SortKey* b) {
    return kind == Kind::Sort ? std::abs(a->sortPosition) < std::abs(b->sortPosition)
                              : a->groupPosition < b->groupPosition;
  });
  for (const SortKey* key : chosen)
    AddChosen(key->id, QString::fromStdString(key->name), key->sortPosition >= 0);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("未选项目:"), this), 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("已选项目:"), this), 0, 1);
  layout->addWidget(m_unused, 1, 0);
  layout->addWidget(m_chosen, 1, 1);
  if (kind == Kind::Sort) {
    auto* order = new QPushButton(suite::PictoriumStrings().Text(379) + QStringLiteral("/") +
                                      suite::PictoriumStrings().Text(381),
                                  this);
    connect(order, &QPushButton::clicked, this, &SortKeyDialog::ToggleOrder);
    layout->addWidget(order, 2, 1);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons, 3, 0, 1, 2);
  connect(m_unused, &QListWidget::itemDoubleClicked, this, &SortKeyDialog::MoveToChosen);
  connect(m_chosen, &QListWidget::itemDoubleClicked, this, &SortKeyDialog::MoveToUnused);
}

void SortKeyDialog::AddChosen(int32_t id, const QString& name, bool ascending) {
  auto* item = new QListWidgetItem(m_chosen);
  item->setData(kIdRole, id);
  item->setData(kNameRole, name);
  item->setData(kAscendingRole, ascending);
  const QString order = m_kind == Kind::Sort
                            ? suite::PictoriumStrings().Text(ascending ? 379 : 381) + "  "
                            : QString();
  item->setText(order + name);
}

void SortKeyDialog::MoveToChosen(QListWidgetItem* item) {
  AddChosen(item->data(kIdRole).toInt(), item->data(kNameRole).toString(), true);
  delete item;
}

void SortKeyDialog::MoveToUnused(QListWidgetItem* item) {
  auto* back = new QListWidgetItem(item->data(kNameRole).toString(), m_unused);
  back->setData(kIdRole, item->data(kIdRole));
  back->setData(kNameRole, item->data(kNameRole));
  delete item;
}

void SortKeyDialog::ToggleOrder() {
  QListWidgetItem* item = m_chosen->currentItem();
  if (!item) return;
  const bool ascending = !item->data(kAscendingRole).toBool();
  item->setData(kAscendingRole, ascending);
  item->setText(suite::PictoriumStrings().Text(ascending ? 379 : 381) + "  " +
                item->data(kNameRole).toString());
}

void SortKeyDialog::ApplyTo(SortKeyList& keys) const {
  if (m_kind == Kind::Sort) {
    std::vector<std::pair<int32_t, bool>> rows;
    for (int i = 0; i < m_chosen->count(); ++i) {
      rows.emplace_back(m_chosen->item(i)->data(kIdRole).toInt(),
                        m_chosen->item(i)->data(kAscendingRole).toBool());
    }
    keys.SetSortOrder(rows);
  } else {
    std::vector<int32_t> ids;
    for (int i = 0; i < m_chosen->count(); ++i)
      ids.push_back(m_chosen->item(i)->data(kIdRole).toInt());
    keys.SetGroupOrder(ids);
  }
}

}  // namespace tolmar::viewer
