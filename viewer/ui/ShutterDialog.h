#pragma once

#include <QDialog>

#include "image/Shutter.h"

class QRadioButton;
class QSpinBox;

namespace tolmar::viewer {

// The shutter dialog: none, circular (centre and radius) or rectangular
// (left, right, top, bottom), opened with the current image's shutter.
class ShutterDialog : public QDialog {
  Q_OBJECT
 public:
  ShutterDialog(const CShutter& shutter, int imageWidth, int imageHeight,
                QWidget* parent = nullptr);
  // Gives `shutter` the chosen shape.
  void ApplyTo(CShutter& shutter) const;

 private:
  void UpdateEnabled();

  QRadioButton* m_none;
  QRadioButton* m_circle;
  QRadioButton* m_rectangle;
  QSpinBox* m_x;
  QSpinBox* m_y;
  QSpinBox* m_radius;
  QSpinBox* m_left;
  QSpinBox* m_right;
  QSpinBox* m_top;
  QSpinBox* m_bottom;
};

}  // namespace tolmar::viewer
