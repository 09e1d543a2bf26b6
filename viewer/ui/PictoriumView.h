#pragma once

#include <QWidget>

#include "viewer/PictoriumViewModel.h"

namespace tolmar::viewer {

// The main image area: paints the visible cells of the view model and turns
// mouse and keyboard input into its commands. Painting while the user drags is
// quick; the idle pass afterwards repaints at full quality.
class PictoriumView : public QWidget {
  Q_OBJECT
 public:
  PictoriumView(PictoriumViewModel& model, QWidget* parent = nullptr);

  PictoriumViewModel& Model() { return m_model; }
  // The idle full-quality repaint (command 32918).
  void RepaintFullQuality();

 signals:
  void ReadoutChanged(int row, int column, int value);
  void ContextMenuWanted(const QPoint& globalPosition, bool onDrawingObject);
  void FullScreenToggled();
  void Changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ModelChanged();

  PictoriumViewModel& m_model;
  bool m_fullQuality = true;
  bool m_idlePending = false;
  bool m_firstImageReported = false;
};

}  // namespace tolmar::viewer
