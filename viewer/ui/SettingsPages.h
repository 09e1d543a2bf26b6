#pragma once

#include <QSpinBox>
#include <QWidget>

#include "viewer/SettingsSheetModel.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace tolmar::viewer {

// One page of the settings sheet: fills its controls from the values and
// gives them back. Controls carry their dialog numbers as object names.
class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  virtual QString Caption() const = 0;
  virtual void Load(const SettingsValues& values) = 0;
  virtual void Store(SettingsValues& values) const = 0;
};

// The spin buttons stay within the range; a number typed outside it is kept
// so that the sheet can refuse it with the range message.
class RangeCheckedSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  RangeCheckedSpinBox(int minimum, int maximum, QWidget* parent);
  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;

 private:
  int m_minimum;
  int m_maximum;
};

// Helpers the pages share.
QCheckBox* NewCheck(QWidget* parent, int id, const QString& text);
QSpinBox* NewNumber(QWidget* parent, int id, int minimum, int maximum);
QLineEdit* NewText(QWidget* parent, int id);
// A radio button per choice, in a group whose ids are the choices' values.
QButtonGroup* NewChoices(QWidget* parent,
                         std::initializer_list<std::pair<ChoiceControl, QString>> choices);

// 389: painting switches, image building and the double-click function.
class SystemPage : public SettingsPage {
  Q_OBJECT
 public:
  explicit SystemPage(QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("系统参数"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  QCheckBox* m_copyRawDib;
  QCheckBox* m_interpolation;
  QCheckBox* m_quickFlush;
  QSpinBox* m_maxDispSize;
  QCheckBox* m_full16Bit;
  QCheckBox* m_quickMpr;
  QCheckBox* m_middleButtonWindow;
  QCheckBox* m_showImageNumber;
  QCheckBox* m_loadLut;
  QButtonGroup* m_doubleClick;
};

// 394: how films are made.
class FilmPage : public SettingsPage {
  Q_OBJECT
 public:
  explicit FilmPage(QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("照相参数"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  void EnableForKind();

  QButtonGroup* m_kind;
  QCheckBox* m_bringUp;
  QCheckBox* m_rawImage;
  QLineEdit* m_width;
  QLineEdit* m_height;
  QLineEdit* m_ratio;
  QLineEdit* m_imageWidth;
  QLineEdit* m_imageHeight;
};

// 395: the window-centre rectangle and the mouse factor.
class WindowingPage : public SettingsPage {
  Q_OBJECT
 public:
  explicit WindowingPage(QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("调窗设置"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  QCheckBox* m_enable;
  QSpinBox* m_maxSize;
  QSpinBox* m_width;
  QSpinBox* m_height;
  QSpinBox* m_mouseMulti;
};

// 396: the history bar.
class HistoryBarPage : public SettingsPage {
  Q_OBJECT
 public:
  explicit HistoryBarPage(QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("相关信息窗口"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  QCheckBox* m_show;
  QSpinBox* m_width;
  QSpinBox* m_height;
  QSpinBox* m_casebookId;
};

// 399: scout lines.
class ScoutLinePage : public SettingsPage {
  Q_OBJECT
 public:
  explicit ScoutLinePage(QWidget* parent = nullptr);
  QString Caption() const override { return QStringLiteral("定位线"); }
  void Load(const SettingsValues& values) override;
  void Store(SettingsValues& values) const override;

 private:
  QCheckBox* m_initial;
  QCheckBox* m_checkFrameUid;
  QCheckBox* m_oneSeries;
  QButtonGroup* m_mode;
};

}  // namespace tolmar::viewer
