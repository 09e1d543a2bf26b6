#include "viewer/ui/PresetDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolmar::viewer {
namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QSpinBox* SpinBox(QWidget* parent, int low, int high, int value, int id) {
  auto* box = new QSpinBox(parent);
  box->setRange(low, high);
  box->setValue(value);
  box->setObjectName(QString::number(id));
  return box;
}

}  // namespace

PresetTableDialog::PresetTableDialog(const PresetTable& table, const QString& modality,
                                     QWidget* parent)
    : QDialog(parent), m_editor(table, modality) {
  setObjectName(QStringLiteral("237"));
  setWindowTitle(QStringLiteral("预设窗值定义"));
  auto* layout = new QVBoxLayout(this);
  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("1149"));
  layout->addWidget(m_tabs);
  auto* row = new QHBoxLayout;
  auto* add = new QPushButton(QStringLiteral("添加(&A)..."), this);
  add->setObjectName(QStringLiteral("1075"));
  auto* remove = new QPushButton(QStringLiteral("删除(&D)"), this);
  remove->setObjectName(QStringLiteral("1078"));
  auto* modalities = new QPushButton(QStringLiteral("设备类型..."), this);
  modalities->setObjectName(QStringLiteral("1084"));
  for (auto* b : {add, remove, modalities}) row->addWidget(b);
  layout->addLayout(row);
  layout->addWidget(OkCancel(this));
  connect(add, &QPushButton::clicked, this, &PresetTableDialog::AddPreset);
  connect(remove, &QPushButton::clicked, this, [this] {
    QTableWidget* list = CurrentList();
    if (list && m_editor.RemovePreset(m_tabs->currentIndex(), list->currentRow()))
      RebuildTabs(m_tabs->currentIndex());
  });
  connect(modalities, &QPushButton::clicked, this, &PresetTableDialog::EditModalities);
  RebuildTabs(m_editor.InitialModality());
  resize(420, 320);
}

QTableWidget* PresetTableDialog::CurrentList() const {
  return qobject_cast<QTableWidget*>(m_tabs->currentWidget());
}

void PresetTableDialog::RebuildTabs(int current) {
  m_tabs->clear();
  for (const PresetModality& modality : m_editor.Table()) {
    auto* list = new QTableWidget(static_cast<int>(modality.presets.size()), 3, m_tabs);
    list->setObjectName(QStringLiteral("1147"));
    list->setHorizontalHeaderLabels(
        {QStringLiteral("方案名称"), QStringLiteral("窗宽"), QStringLiteral("窗位")});
    list->setColumnWidth(0, 150);
    list->setColumnWidth(1, 80);
    list->setColumnWidth(2, 80);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    for (int r = 0; r < static_cast<int>(modality.presets.size()); ++r) {
      const WindowPreset& preset = modality.presets[static_cast<size_t>(r)];
      list->setItem(r, 0, new QTableWidgetItem(preset.name));
      list->setItem(r, 1, new QTableWidgetItem(QString::number(preset.width)));
      list->setItem(r, 2, new QTableWidgetItem(QString::number(preset.centre)));
    }
    m_tabs->addTab(list, modality.name);
  }
  if (current >= 0 && current < m_tabs->count()) m_tabs->setCurrentIndex(current);
}

void PresetTableDialog::AddPreset() {
  const int modality = m_tabs->currentIndex();
  if (modality < 0) return;
  QDialog input(this);
  input.setObjectName(QStringLiteral("238"));
  input.setWindowTitle(QStringLiteral("输入新值"));
  auto* form = new QFormLayout(&input);
  auto* name = new QLineEdit(&input);
  name->setObjectName(QStringLiteral("1141"));
  QSpinBox* width = SpinBox(&input, 1, 65535, 400, 1022);
  QSpinBox* centre = SpinBox(&input, -32768, 65535, 40, 1023);
  form->addRow(QStringLiteral("名称："), name);
  form->addRow(QStringLiteral("窗宽："), width);
  form->addRow(QStringLiteral("窗位："), centre);
  form->addRow(OkCancel(&input));
  if (input.exec() != QDialog::Accepted) return;
  if (m_editor.AddPreset(modality, {name->text(), width->value(), centre->value()}))
    RebuildTabs(modality);
}

void PresetTableDialog::EditModalities() {
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("239"));
  dialog.setWindowTitle(QStringLiteral("设备类型"));
  auto* layout = new QGridLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("1152"));
  auto fill = [this, list] {
    list->clear();
    for (const PresetModality& modality : m_editor.Table()) list->addItem(modality.name);
  };
  fill();
  auto* name = new QLineEdit(&dialog);
  name->setObjectName(QStringLiteral("1141"));
  auto* add = new QPushButton(QStringLiteral("添加(&A)"), &dialog);
  auto* remove = new QPushButton(QStringLiteral("删除(&D)"), &dialog);
  auto* close = new QPushButton(QStringLiteral("退出(&X)"), &dialog);
  layout->addWidget(list, 0, 0, 4, 1);
  layout->addWidget(new QLabel(QStringLiteral("设备名称："), &dialog), 0, 1);
  layout->addWidget(name, 1, 1);
  layout->addWidget(add, 2, 1);
  layout->addWidget(remove, 3, 1);
  layout->addWidget(close, 4, 1);
  connect(add, &QPushButton::clicked, &dialog, [this, name, fill] {
    if (m_editor.AddModality(name->text())) fill();
  });
  connect(remove, &QPushButton::clicked, &dialog, [this, list, fill] {
    if (m_editor.RemoveModality(list->currentRow())) fill();
  });
  connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
  dialog.exec();
  RebuildTabs(0);
}

StandardWindowDialog::StandardWindowDialog(const std::vector<WindowPair>& pairs, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("163"));
  setWindowTitle(QStringLiteral("标准窗值设置"));
  // The edit numbers of the eight width/centre pairs, in order.
  static constexpr std::pair<int, int> kIds[kStandardWindowPairs] = {
      {1030, 1032}, {1036, 1158}, {1162, 1168}, {1044, 1048},
      {1172, 1176}, {1183, 1055}, {1184, 1188}, {1193, 1198}};
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("窗宽"), this), 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("窗位"), this), 0, 2);
  for (int i = 0; i < kStandardWindowPairs; ++i) {
    const WindowPair pair = i < static_cast<int>(pairs.size()) ? pairs[static_cast<size_t>(i)]
                                                                : WindowPair{};
    QSpinBox* width = SpinBox(this, 1, 4096, pair.width, kIds[i].first);
    QSpinBox* centre = SpinBox(this, -1024, 4095, pair.centre, kIds[i].second);
    layout->addWidget(new QLabel(QString(QChar(u'A' + i)), this), i + 1, 0);
    layout->addWidget(width, i + 1, 1);
    layout->addWidget(centre, i + 1, 2);
    m_boxes.emplace_back(width, centre);
  }
  layout->addWidget(OkCancel(this), kStandardWindowPairs + 1, 0, 1, 3);
}

std::vector<WindowPair> StandardWindowDialog::Pairs() const {
  std::vector<WindowPair> pairs;
  for (const auto& [width, centre] : m_boxes) pairs.push_back({width->value(), centre->value()});
  return pairs;
}

}  // namespace tolmar::viewer
