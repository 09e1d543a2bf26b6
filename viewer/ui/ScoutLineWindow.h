#pragma once

#include <QDialog>

#include "viewer/ScoutWindowModel.h"

class QCheckBox;

namespace tolmar::viewer {

// The scout-line window: the scouts that hold a line of the current image,
// one at a time, with their lines and a "shown/count" counter.
class ScoutLineWindow : public QDialog {
 public:
  explicit ScoutLineWindow(QWidget* parent = nullptr);
  void FillFor(const DicomImage* image);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QRect PictureRect() const;

  ScoutWindowModel m_model;
  QCheckBox* m_currentOnly = nullptr;
  QList<QWidget*> m_buttons;
  QPoint m_dragOffset;
};

}  // namespace tolmar::viewer
