#include "viewer/ui/ScoutLineWindow.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "viewer/CellPaint.h"

namespace tolmar::viewer {
namespace {

constexpr int kButtonRowHeight = 28;

}  // namespace

ScoutLineWindow::ScoutLineWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("398"));
  setWindowTitle(QStringLiteral("定位线"));
  setModal(false);
  resize(320, 320 + kButtonRowHeight);
  auto* previous = new QPushButton(QStringLiteral("上一幅"), this);
  previous->setObjectName(QStringLiteral("1231"));
  auto* next = new QPushButton(QStringLiteral("下一幅"), this);
  next->setObjectName(QStringLiteral("1085"));
  m_currentOnly = new QCheckBox(QStringLiteral("当前图像"), this);
  m_currentOnly->setObjectName(QStringLiteral("1232"));
  auto* hide = new QPushButton(QStringLiteral("隐藏"), this);
  hide->setObjectName(QStringLiteral("1125"));
  m_buttons = {previous, next, m_currentOnly, hide};
  connect(previous, &QPushButton::clicked, this, [this] {
    m_model.Previous();
    update();
  });
  connect(next, &QPushButton::clicked, this, [this] {
    m_model.Next();
    update();
  });
  connect(m_currentOnly, &QCheckBox::toggled, this, [this] { update(); });
  connect(hide, &QPushButton::clicked, this, &QWidget::hide);
}

void ScoutLineWindow::FillFor(const DicomImage* image) {
  m_model.FillFor(image);
  update();
}

QRect ScoutLineWindow::PictureRect() const {
  return QRect(0, 0, width(), std::max(0, height() - kButtonRowHeight));
}

void ScoutLineWindow::resizeEvent(QResizeEvent*) {
  // The picture takes everything above the buttons, which share the bottom row.
  const int quarter = width() / 4;
  for (int i = 0; i < m_buttons.size(); ++i) {
    m_buttons[i]->setGeometry(i * quarter, height() - kButtonRowHeight, quarter,
                              kButtonRowHeight);
  }
}

void ScoutLineWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect picture = PictureRect();
  painter.fillRect(picture, Qt::black);
  DicomImage* scout = m_model.Shown();
  if (!scout) return;
  ImagePaintOptions options;
  options.scoutCurrentOnly = m_currentOnly->isChecked();
  PaintImage(painter, *scout, picture, options);
  // The counter in white with a black outline, readable on any picture.
  QPainterPath text;
  text.addText(QPointF(6, 18), font(), m_model.Counter());
  painter.setRenderHint(QPainter::Antialiasing);
  painter.strokePath(text, QPen(Qt::black, 2));
  painter.fillPath(text, Qt::white);
}

void ScoutLineWindow::mousePressEvent(QMouseEvent* event) {
  m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void ScoutLineWindow::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - m_dragOffset);
}

}  // namespace tolmar::viewer
