#include "viewer/ui/ShutterDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace tolmar::viewer {
namespace {

QSpinBox* Edit(QWidget* parent, const char* id, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(id));
  box->setRange(-100000, 100000);
  box->setValue(value);
  return box;
}

}  // namespace

ShutterDialog::ShutterDialog(const CShutter& shutter, int imageWidth, int imageHeight,
                             QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("图像消隐"));
  ImageRect rect{0, 0, imageWidth, imageHeight};
  int cx = imageWidth / 2;
  int cy = imageHeight / 2;
  int radius = std::max(imageWidth / 2, imageHeight / 2);
  if (!shutter.IsEmpty()) {
    rect = shutter.Rect();
    shutter.Circle(cx, cy, radius);
  }
  m_none = new QRadioButton(QStringLiteral("取消图像消隐"), this);
  m_circle = new QRadioButton(QStringLiteral("圆形消隐"), this);
  m_rectangle = new QRadioButton(QStringLiteral("方形消隐"), this);
  m_x = Edit(this, "1242", cx);
  m_y = Edit(this, "1243", cy);
  m_radius = Edit(this, "1244", radius);
  m_left = Edit(this, "1246", rect.left);
  m_right = Edit(this, "1247", rect.right);
  m_top = Edit(this, "1248", rect.top);
  m_bottom = Edit(this, "1250", rect.bottom);
  (shutter.Shape() == CShutter::kRectangular ? m_rectangle
   : shutter.Shape() == CShutter::kCircular  ? m_circle
                                             : m_none)
      ->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_none);
  layout->addWidget(m_circle);
  auto* circle = new QFormLayout;
  circle->addRow(QStringLiteral("X："), m_x);
  circle->addRow(QStringLiteral("Y："), m_y);
  circle->addRow(QString(), m_radius);
  layout->addLayout(circle);
  layout->addWidget(m_rectangle);
  auto* square = new QFormLayout;
  square->addRow(QStringLiteral("左："), m_left);
  square->addRow(QStringLiteral("右："), m_right);
  square->addRow(QStringLiteral("上："), m_top);
  square->addRow(QStringLiteral("下："), m_bottom);
  layout->addLayout(square);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  for (auto* radio : {m_none, m_circle, m_rectangle}) {
    connect(radio, &QRadioButton::toggled, this, &ShutterDialog::UpdateEnabled);
  }
  UpdateEnabled();
}

void ShutterDialog::UpdateEnabled() {
  for (auto* edit : {m_x, m_y, m_radius}) edit->setEnabled(m_circle->isChecked());
  for (auto* edit : {m_left, m_right, m_top, m_bottom}) edit->setEnabled(m_rectangle->isChecked());
}

void ShutterDialog::ApplyTo(CShutter& shutter) const {
  if (m_circle->isChecked()) {
    shutter.SetCircular(m_x->value(), m_y->value(), m_radius->value());
  } else if (m_rectangle->isChecked()) {
    shutter.SetRectangular({m_left->value(), m_top->value(), m_right->value(), m_bottom->value()});
  } else {
    shutter.SetEmpty();
  }
}

}  // namespace tolmar::viewer
