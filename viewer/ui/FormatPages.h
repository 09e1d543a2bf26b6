#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include "viewer/ui/SettingsPages.h"

class QComboBox;
class QSpinBox;

namespace tolmar::viewer {

// A text drawn centred on black in a colour and font: the samples of the
// overlay text and of the two pens.
class TextSample : public QWidget {
  Q_OBJECT
 public:
  TextSample(QString text, QWidget* parent);
  void Show(const QColor& colour, const QFont& font);
  QSize sizeHint() const override { return {160, 48}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_text;
  QColor m_colour = Qt::white;
  QFont m_font;
};

// 390 (and the dialog of command 32797 without the margins): colour and font
// of the patient information texts.
class OverlayTextPage : public SettingsPage {
  Q_OBJECT
 public:
  OverlayTextPage(bool withMargins, QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("病人信息设置"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  void ChooseColour();
  void ChooseFont();
  void UpdateSample();

  uint32_t m_colour = 0xFFFFFF;
  MeasureFont m_font;
  TextSample* m_sample;
  QSpinBox* m_hSpace = nullptr;
  QSpinBox* m_vSpace = nullptr;
};

// 391 (and the dialog of command 32798): switches, pens, colours and font of
// the drawing objects.
class MeasurePage : public SettingsPage {
  Q_OBJECT
 public:
  explicit MeasurePage(QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("测量信息设置"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  struct PenControls {
    uint32_t colour = 0;
    TextSample* sample = nullptr;
    QComboBox* style = nullptr;
    QSpinBox* width = nullptr;
  };
  QWidget* NewPenGroup(const QString& title, int colourButton, const QString& buttonText,
                       int sampleId, int styleId, int widthId, PenControls& pen);
  void UpdateSamples();

  QCheckBox* m_showTracker;
  QCheckBox* m_showDash;
  std::vector<std::pair<QCheckBox*, int>> m_statistics;  // box and its bit
  PenControls m_active;
  PenControls m_normal;
  MeasureFont m_font;
};

}  // namespace tolmar::viewer
