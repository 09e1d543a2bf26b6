#include "viewer/ui/PictoriumView.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "viewer/CellPaint.h"
#include "viewer/ui/StartTiming.h"

namespace tolmar::viewer {
namespace {

constexpr int kIdleDelayMs = 30;

std::optional<MouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

}  // namespace

PictoriumView::PictoriumView(PictoriumViewModel& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(64, 64);
  m_model.SetChangedCallback([this] { ModelChanged(); });
}

void PictoriumView::ModelChanged() {
  m_fullQuality = false;
  update();
  emit Changed();
}

void PictoriumView::RepaintFullQuality() {
  m_idlePending = false;
  if (m_model.ButtonHeld()) return;
  m_fullQuality = true;
  repaint();
}

void PictoriumView::paintEvent(QPaintEvent*) {
  // One off-screen picture copied in one step, so the cells never flicker.
  QImage canvas(size(), QImage::Format_RGB32);
  canvas.fill(Qt::black);
  {
    QPainter painter(&canvas);
    CPictoriumDoc& doc = m_model.Document();
    const DicomImage* current = m_model.CurrentImage();
    const int last = std::min(doc.CellCount(), m_model.FirstShown() + m_model.PageSize());
    for (int i = m_model.FirstShown(); i < last; ++i) {
      const QRect cellRect = m_model.CellRectangle(i);
      if (cellRect.isEmpty()) continue;
      DisplayCell& cell = doc.Cell(i);
      for (int j = 0; j < cell.ImageCount(); ++j) {
        ImagePaintOptions options;
        options.fullQuality = m_fullQuality;
        options.border = &cell.Image(j) == current    ? ImageBorder::Active
                         : m_model.TakesPart(cell, j) ? ImageBorder::Selected
                                                      : ImageBorder::Other;
        PaintImage(painter, cell.Image(j), cell.ImageRectangle(j, cellRect), options);
      }
    }
  }
  QPainter screen(this);
  screen.drawImage(0, 0, canvas);
  if (!m_firstImageReported && m_model.Document().CellCount() > 0) {
    m_firstImageReported = true;
    ReportTiming("first-image-ms");
  }
  if (!m_fullQuality && !m_idlePending) {
    // Idle: once the events of a burst (a drag, cells arriving) have been handled.
    m_idlePending = true;
    QTimer::singleShot(kIdleDelayMs, this, &PictoriumView::RepaintFullQuality);
  }
}

void PictoriumView::resizeEvent(QResizeEvent*) {
  m_model.SetClientRect(rect());
  update();
}

void PictoriumView::mousePressEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (!button) return;
  const auto modifiers = event->modifiers();
  m_model.MousePress(*button, event->position().toPoint(), modifiers & Qt::ShiftModifier,
                     modifiers & Qt::ControlModifier);
}

void PictoriumView::mouseMoveEvent(QMouseEvent* event) {
  m_model.MouseMove(event->position().toPoint(), event->modifiers() & Qt::ControlModifier);
  const PixelReadout& readout = m_model.Document().Readout();
  emit ReadoutChanged(readout.row, readout.column, readout.value);
}

void PictoriumView::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (!button) return;
  const auto result = m_model.MouseRelease(*button, event->position().toPoint(),
                                           event->modifiers() & Qt::ControlModifier);
  if (result.openContextMenu)
    emit ContextMenuWanted(event->globalPosition().toPoint(), result.onDrawingObject);
  RepaintFullQuality();
}

void PictoriumView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_model.DoubleClick(event->position().toPoint());
}

void PictoriumView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageUp:
      m_model.Navigate(Navigation::PreviousScreen);
      break;
    case Qt::Key_PageDown:
      m_model.Navigate(Navigation::NextScreen);
      break;
    case Qt::Key_Home:
      m_model.Navigate(Navigation::First);
      break;
    case Qt::Key_End:
      m_model.Navigate(Navigation::Last);
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      m_model.Navigate(Navigation::Previous);
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      m_model.Navigate(Navigation::Next);
      break;
    case Qt::Key_Escape:
      emit FullScreenToggled();
      break;
    case Qt::Key_Delete:
      // Ctrl+Del deletes images (a menu shortcut); Del alone the selected drawing object.
      if (event->modifiers() & Qt::ControlModifier) {
        QWidget::keyPressEvent(event);
        return;
      }
      m_model.DeleteSelectedObject();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
}

}  // namespace tolmar::viewer
