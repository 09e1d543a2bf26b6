#pragma once

#include <QDialog>
#include <QTimer>

#include "viewer/Magnifier.h"

class QSlider;

namespace tolmar::viewer {

class PictoriumViewModel;
class PictoriumView;

// The magnifier: a small floating window showing, enlarged, the image part
// under the centre of its picture. Moving it stretches quickly; once movement
// ends (or always, with smoothing on) the picture is interpolated.
class MagnifierWindow : public QDialog {
 public:
  MagnifierWindow(PictoriumView& view, QWidget* parent = nullptr);
  int Ratio() const { return m_ratio; }
  // The view's message: limited to 101..1000.
  void SetRatioFromMessage(int value);
  bool Smoothing() const { return m_smoothing; }
  void SetSmoothing(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  QRect PictureRect() const;
  void Moving();

  PictoriumView& m_view;
  QSlider* m_slider = nullptr;
  QWidget* m_hide = nullptr;
  int m_ratio = kInitialMagnifierRatio;
  bool m_smoothing = false;
  bool m_moving = false;
  QTimer m_settle;
};

}  // namespace tolmar::viewer
