#include "viewer/ui/MagnifierWindow.h"

#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include "viewer/CellPaint.h"
#include "viewer/ui/PictoriumView.h"

namespace tolmar::viewer {
namespace {

constexpr int kBottomRow = 26;
constexpr int kSettleMs = 150;

}  // namespace

MagnifierWindow::MagnifierWindow(PictoriumView& view, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_view(view) {
  setObjectName(QStringLiteral("230"));
  setModal(false);
  m_slider = new QSlider(Qt::Horizontal, this);
  m_slider->setObjectName(QStringLiteral("1123"));
  m_slider->setRange(2, 800);
  m_slider->setPageStep(10);
  m_slider->setValue(m_ratio);
  auto* hide = new QPushButton(QStringLiteral("隐藏"), this);
  hide->setObjectName(QStringLiteral("1125"));
  m_hide = hide;
  connect(hide, &QPushButton::clicked, this, &QWidget::hide);
  connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
    m_ratio = value;
    Moving();
  });
  connect(&m_view, &PictoriumView::Changed, this, [this] { update(); });
  m_settle.setSingleShot(true);
  connect(&m_settle, &QTimer::timeout, this, [this] {
    m_moving = false;
    update();
  });
  resize(200, 200 + kBottomRow);
}

void MagnifierWindow::SetRatioFromMessage(int value) {
  m_ratio = MagnifierRatioFromMessage(value);
  const QSignalBlocker block(m_slider);
  m_slider->setValue(std::min(m_ratio, m_slider->maximum()));
  update();
}

void MagnifierWindow::SetSmoothing(bool on) {
  m_smoothing = on;
  update();
}

QRect MagnifierWindow::PictureRect() const {
  const int side = std::max(0, std::min(width(), height() - kBottomRow));
  return QRect((width() - side) / 2, 0, side, side);
}

void MagnifierWindow::resizeEvent(QResizeEvent*) {
  // A square picture, the slider along the bottom and the hide button at its right.
  const int buttonWidth = 48;
  m_slider->setGeometry(0, height() - kBottomRow, width() - buttonWidth, kBottomRow);
  m_hide->setGeometry(width() - buttonWidth, height() - kBottomRow, buttonWidth, kBottomRow);
}

void MagnifierWindow::moveEvent(QMoveEvent*) { Moving(); }

void MagnifierWindow::Moving() {
  m_moving = true;
  m_settle.start(kSettleMs);
  update();
}

void MagnifierWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect picture = PictureRect();
  painter.fillRect(rect(), Qt::black);
  const QPoint centre = m_view.mapFromGlobal(mapToGlobal(picture.center()));
  PictoriumViewModel& model = m_view.Model();
  int cellIndex = -1;
  int imageIndex = -1;
  if (!model.HitTest(centre, cellIndex, imageIndex)) return;
  DisplayCell& cell = model.Document().Cell(cellIndex);
  DicomImage& image = cell.Image(imageIndex);
  int column = 0;
  int row = 0;
  if (!ImagePixelAt(image, cell.ImageRectangle(imageIndex, model.CellRectangle(cellIndex)), centre,
                    column, row)) {
    return;
  }
  const DibBitmap* bitmap = image.RenderedBitmap();
  if (!bitmap) return;
  const bool smooth = m_smoothing || !m_moving;
  painter.drawImage(picture.topLeft(), MagnifiedPicture(*bitmap, QPoint(column, row),
                                                        picture.size(), m_ratio, smooth));
}

}  // namespace tolmar::viewer
