#include "viewer/ui/FormatDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tolmar::viewer {

FormatDialog::FormatDialog(const QString& title, int rows, int columns, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  m_all = new QRadioButton(QStringLiteral("全部图像"), this);
  m_all->setObjectName(QStringLiteral("1007"));
  m_custom = new QRadioButton(QStringLiteral("自定义"), this);
  m_custom->setObjectName(QStringLiteral("1009"));
  m_rows = new QSpinBox(this);
  m_rows->setObjectName(QStringLiteral("1002"));
  m_rows->setRange(0, 10);
  m_rows->setValue(rows);
  m_columns = new QSpinBox(this);
  m_columns->setObjectName(QStringLiteral("1004"));
  m_columns->setRange(0, 10);
  m_columns->setValue(columns);
  (rows == 0 && columns == 0 ? m_all : m_custom)->setChecked(true);

  auto* grid = new QGridLayout;
  grid->addWidget(m_all, 0, 0, 1, 4);
  grid->addWidget(m_custom, 1, 0);
  grid->addWidget(m_rows, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("行"), this), 1, 2);
  grid->addWidget(m_columns, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("列"), this), 1, 4);
  layout->addLayout(grid);

  auto* presets = new QGroupBox(QStringLiteral("预定义格式"), this);
  auto* presetLayout = new QGridLayout(presets);
  const struct {
    int id, rows, columns;
  } kPresets[] = {{1159, 2, 3}, {1161, 3, 2}, {1163, 3, 4},
                  {1169, 4, 3}, {1166, 4, 5}, {1042, 5, 4}};
  int index = 0;
  for (const auto& preset : kPresets) {
    auto* button =
        new QPushButton(QStringLiteral("%1 x %2").arg(preset.rows).arg(preset.columns), presets);
    button->setObjectName(QString::number(preset.id));
    connect(button, &QPushButton::clicked, this,
            [this, preset] { Choose(preset.rows, preset.columns); });
    presetLayout->addWidget(button, index / 3, index % 3);
    ++index;
  }
  layout->addWidget(presets);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  auto enable = [this] {
    m_rows->setEnabled(m_custom->isChecked());
    m_columns->setEnabled(m_custom->isChecked());
  };
  connect(m_custom, &QRadioButton::toggled, this, enable);
  enable();
}

void FormatDialog::Choose(int rows, int columns) {
  m_custom->setChecked(true);
  m_rows->setValue(rows);
  m_columns->setValue(columns);
  accept();
}

int FormatDialog::Rows() const { return m_all->isChecked() ? 0 : m_rows->value(); }
int FormatDialog::Columns() const { return m_all->isChecked() ? 0 : m_columns->value(); }

}  // namespace tolmar::viewer
