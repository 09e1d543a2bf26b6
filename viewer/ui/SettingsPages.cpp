#include "viewer/ui/SettingsPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tolmar::viewer {
namespace {

constexpr int kLargestSize = 99999;

QString Id(int id) { return QString::number(id); }

void CheckChoice(QButtonGroup* group, int value) {
  if (QAbstractButton* button = group->button(value)) button->setChecked(true);
}

// The chosen value, or `unchanged` when no button is ticked (a stored value
// none of them stands for stays as it was).
int CheckedChoice(const QButtonGroup* group, int unchanged) {
  const int value = group->checkedId();
  return value == -1 ? unchanged : value;
}

// Enables the fields while the box is ticked.
void EnableWhileTicked(QCheckBox* box, std::initializer_list<QWidget*> fields) {
  const auto follow = [box, list = std::vector<QWidget*>(fields)] {
    for (QWidget* field : list) field->setEnabled(box->isChecked());
  };
  QObject::connect(box, &QCheckBox::toggled, box, follow);
  follow();
}

}  // namespace

RangeCheckedSpinBox::RangeCheckedSpinBox(int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), m_minimum(minimum), m_maximum(maximum) {
  // Room for one digit more than the range, so that a wrong number can be typed and refused.
  setRange(std::min(0, minimum), maximum * 10 + 9);
}

void RangeCheckedSpinBox::stepBy(int steps) {
  setValue(std::clamp(value() + steps, m_minimum, m_maximum));
}

QAbstractSpinBox::StepEnabled RangeCheckedSpinBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < m_maximum) enabled |= StepUpEnabled;
  if (value() > m_minimum) enabled |= StepDownEnabled;
  return enabled;
}

QCheckBox* NewCheck(QWidget* parent, int id, const QString& text) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(Id(id));
  return box;
}

QSpinBox* NewNumber(QWidget* parent, int id, int minimum, int maximum) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(Id(id));
  box->setRange(minimum, maximum);
  return box;
}

QLineEdit* NewText(QWidget* parent, int id) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Id(id));
  return edit;
}

QButtonGroup* NewChoices(QWidget* parent,
                         std::initializer_list<std::pair<ChoiceControl, QString>> choices) {
  auto* group = new QButtonGroup(parent);
  for (const auto& [choice, text] : choices) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(Id(choice.id));
    group->addButton(button, choice.value);
  }
  return group;
}

SystemPage::SystemPage(QWidget* parent) : SettingsPage(parent) {
  m_copyRawDib = NewCheck(this, 1200, QStringLiteral("复制原始图像"));
  m_interpolation = NewCheck(this, 1201, QStringLiteral("图像缩放时进行插值处理"));
  m_quickFlush = NewCheck(this, 1202, QStringLiteral("调窗时直接刷新，加快调窗速度"));
  m_maxDispSize = NewNumber(this, 1213, 0, kLargestSize);
  m_full16Bit = NewCheck(this, 1225, QStringLiteral("处理全部16位图像"));
  m_quickMpr = NewCheck(this, 1226, QStringLiteral("快速冠/矢状位重建"));
  m_middleButtonWindow = NewCheck(this, 1228, QStringLiteral("中键调窗，右键漫游"));
  m_showImageNumber = NewCheck(this, 1229, QStringLiteral("小图标上显示图像号"));
  m_loadLut = NewCheck(this, 1239, QStringLiteral("图像调入时解释LookUpTable"));
  const auto& d = kDoubleClickChoices;
  m_doubleClick = NewChoices(this, {{d[0], QStringLiteral("单幅/多幅切换")},
                                    {d[1], QStringLiteral("输出图像到诊断报告窗口")},
                                    {d[2], QStringLiteral("输出图像到照相排版窗口")}});

  auto* layout = new QVBoxLayout(this);
  for (QWidget* box : {static_cast<QWidget*>(m_copyRawDib), static_cast<QWidget*>(m_interpolation),
                       static_cast<QWidget*>(m_quickFlush)})
    layout->addWidget(box);
  auto* size = new QHBoxLayout;
  size->addWidget(new QLabel(QStringLiteral("图像显示尺寸小于"), this));
  size->addWidget(m_maxDispSize);
  size->addWidget(new QLabel(QStringLiteral("像素时，不显示病人信息"), this));
  size->addStretch();
  layout->addLayout(size);
  for (QWidget* box : {m_full16Bit, m_quickMpr, m_middleButtonWindow, m_showImageNumber, m_loadLut})
    layout->addWidget(box);
  auto* group = new QGroupBox(QStringLiteral("双击图像时"), this);
  auto* choices = new QVBoxLayout(group);
  for (QAbstractButton* button : m_doubleClick->buttons()) choices->addWidget(button);
  layout->addWidget(group);
  layout->addStretch();
}

void SystemPage::Load(const SettingsValues& v) {
  m_copyRawDib->setChecked(v.copyRawDib);
  m_interpolation->setChecked(v.display.interpolation);
  m_quickFlush->setChecked(v.display.quickFlush);
  m_maxDispSize->setValue(v.display.maxDispSize);
  m_full16Bit->setChecked(v.image.full16Bit);
  m_quickMpr->setChecked(v.quickMpr);
  m_middleButtonWindow->setChecked(v.view.middleButtonWindow);
  m_showImageNumber->setChecked(v.display.showImageNumber);
  m_loadLut->setChecked(v.image.loadLut);
  CheckChoice(m_doubleClick, v.view.doubleClickFunction);
}

void SystemPage::Store(SettingsValues& v) const {
  v.copyRawDib = m_copyRawDib->isChecked();
  v.display.interpolation = m_interpolation->isChecked();
  v.display.quickFlush = m_quickFlush->isChecked();
  v.display.maxDispSize = m_maxDispSize->value();
  v.image.full16Bit = m_full16Bit->isChecked();
  v.quickMpr = m_quickMpr->isChecked();
  v.view.middleButtonWindow = m_middleButtonWindow->isChecked();
  v.display.showImageNumber = m_showImageNumber->isChecked();
  v.image.loadLut = m_loadLut->isChecked();
  v.view.doubleClickFunction = CheckedChoice(m_doubleClick, v.view.doubleClickFunction);
}

FilmPage::FilmPage(QWidget* parent) : SettingsPage(parent) {
  const auto& k = kFilmKindChoices;
  m_kind = NewChoices(this, {{k[0], QStringLiteral("通过DICOM相机照相")},
                             {k[1], QStringLiteral("通过视频相机照相")}});
  m_bringUp = NewCheck(this, 1226, QStringLiteral("发送图像时将Pellicor窗口移到最前"));
  m_rawImage = NewCheck(this, 1220, QStringLiteral("视频照相时输出原始图像"));
  m_width = NewText(this, 1022);
  m_height = NewText(this, 1023);
  m_ratio = NewText(this, 1238);
  m_imageWidth = NewText(this, 1024);
  m_imageHeight = NewText(this, 1025);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_kind->button(static_cast<int>(FilmKind::DicomCamera)));
  layout->addWidget(m_bringUp);
  layout->addWidget(m_kind->button(static_cast<int>(FilmKind::VideoCamera)));
  layout->addWidget(m_rawImage);
  auto* sizes = new QFormLayout;
  sizes->addRow(QStringLiteral("输出图像宽度："), m_width);
  sizes->addRow(QStringLiteral("输出图像高度："), m_height);
  sizes->addRow(QStringLiteral("图像比例（宽/高）："), m_ratio);
  sizes->addRow(QStringLiteral("实际图像宽度："), m_imageWidth);
  sizes->addRow(QStringLiteral("实际图像高度："), m_imageHeight);
  layout->addLayout(sizes);
  layout->addStretch();
  connect(m_kind, &QButtonGroup::idToggled, this, [this] { EnableForKind(); });
}

void FilmPage::EnableForKind() {
  // Only the enabling follows the kind: the size texts stay as typed.
  const bool video = m_kind->checkedId() == static_cast<int>(FilmKind::VideoCamera);
  for (QWidget* field : {static_cast<QWidget*>(m_rawImage), static_cast<QWidget*>(m_width),
                         static_cast<QWidget*>(m_height), static_cast<QWidget*>(m_ratio),
                         static_cast<QWidget*>(m_imageWidth), static_cast<QWidget*>(m_imageHeight)})
    field->setEnabled(video);
  m_bringUp->setEnabled(!video);
}

void FilmPage::Load(const SettingsValues& v) {
  CheckChoice(m_kind, static_cast<int>(v.film.kind));
  m_bringUp->setChecked(v.film.bringUp);
  m_rawImage->setChecked(v.film.rawImage);
  m_width->setText(v.film.width);
  m_height->setText(v.film.height);
  m_ratio->setText(v.film.ratio);
  m_imageWidth->setText(v.film.imageWidth);
  m_imageHeight->setText(v.film.imageHeight);
  EnableForKind();
}

void FilmPage::Store(SettingsValues& v) const {
  v.film.kind = static_cast<FilmKind>(CheckedChoice(m_kind, static_cast<int>(v.film.kind)));
  v.film.bringUp = m_bringUp->isChecked();
  v.film.rawImage = m_rawImage->isChecked();
  v.film.width = m_width->text();
  v.film.height = m_height->text();
  v.film.ratio = m_ratio->text();
  v.film.imageWidth = m_imageWidth->text();
  v.film.imageHeight = m_imageHeight->text();
}

WindowingPage::WindowingPage(QWidget* parent) : SettingsPage(parent) {
  m_enable = NewCheck(this, 1223, QStringLiteral("当单幅图像区域超过"));
  m_maxSize = NewNumber(this, 1213, 1, kLargestSize);
  m_width = NewNumber(this, 1022, 1, kLargestSize);
  m_height = NewNumber(this, 1023, 1, kLargestSize);
  m_mouseMulti = NewNumber(this, 1229, 1, 100);

  auto* layout = new QVBoxLayout(this);
  auto* limit = new QHBoxLayout;
  limit->addWidget(m_enable);
  limit->addWidget(m_maxSize);
  limit->addWidget(new QLabel(QStringLiteral("时，进行局部处理"), this));
  limit->addStretch();
  layout->addLayout(limit);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("实时窗口宽度："), m_width);
  fields->addRow(QStringLiteral("实时窗口高度："), m_height);
  fields->addRow(QStringLiteral("加快倍数："), m_mouseMulti);
  layout->addLayout(fields);
  layout->addStretch();
  EnableWhileTicked(m_enable, {m_maxSize, m_width, m_height});
}

void WindowingPage::Load(const SettingsValues& v) {
  m_enable->setChecked(v.display.wcRectEnable);
  m_maxSize->setValue(v.display.wcRectMaxSize);
  m_width->setValue(v.display.wcRectWidth);
  m_height->setValue(v.display.wcRectHeight);
  m_mouseMulti->setValue(v.view.mouseMultiplier);
}

void WindowingPage::Store(SettingsValues& v) const {
  v.display.wcRectEnable = m_enable->isChecked();
  v.display.wcRectMaxSize = m_maxSize->value();
  v.display.wcRectWidth = m_width->value();
  v.display.wcRectHeight = m_height->value();
  v.view.mouseMultiplier = m_mouseMulti->value();
}

HistoryBarPage::HistoryBarPage(QWidget* parent) : SettingsPage(parent) {
  m_show = NewCheck(this, 1223, QStringLiteral("显示相关资料窗口"));
  m_width = NewNumber(this, 1022, 0, kLargestSize);
  m_height = NewNumber(this, 1023, 0, kLargestSize);
  m_casebookId = NewNumber(this, 1227, 0, kLargestSize);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_show);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("窗口宽度："), m_width);
  fields->addRow(QStringLiteral("窗口高度："), m_height);
  fields->addRow(QStringLiteral("设备编号："), m_casebookId);
  layout->addLayout(fields);
  layout->addStretch();
  EnableWhileTicked(m_show, {m_width, m_height, m_casebookId});
}

void HistoryBarPage::Load(const SettingsValues& v) {
  m_show->setChecked(v.history.show);
  m_width->setValue(v.history.width);
  m_height->setValue(v.history.height);
  m_casebookId->setValue(v.history.casebookId);
}

void HistoryBarPage::Store(SettingsValues& v) const {
  v.history.show = m_show->isChecked();
  v.history.width = m_width->value();
  v.history.height = m_height->value();
  v.history.casebookId = m_casebookId->value();
}

ScoutLinePage::ScoutLinePage(QWidget* parent) : SettingsPage(parent) {
  m_initial = NewCheck(this, 1233, QStringLiteral("图像调入时初始显示定位线"));
  m_checkFrameUid = NewCheck(this, 1253, QStringLiteral("检查Frame UID"));
  m_oneSeries = NewCheck(this, 1252, QStringLiteral("只显示当前序列的定位线"));
  const auto& m = kScoutModeChoices;
  m_mode = NewChoices(
      this, {{m[0], QStringLiteral("以切面方式显示")}, {m[1], QStringLiteral("以区域方式显示")}});
  auto* layout = new QVBoxLayout(this);
  for (QWidget* box : {m_initial, m_checkFrameUid, m_oneSeries}) layout->addWidget(box);
  for (QAbstractButton* button : m_mode->buttons()) layout->addWidget(button);
  layout->addStretch();
}

void ScoutLinePage::Load(const SettingsValues& v) {
  m_initial->setChecked(v.display.seqLines);
  m_checkFrameUid->setChecked(v.display.checkFrameUid);
  m_oneSeries->setChecked(v.display.drawOneSeries);
  CheckChoice(m_mode, v.display.seqLineRegion ? 1 : 0);
}

void ScoutLinePage::Store(SettingsValues& v) const {
  v.display.seqLines = m_initial->isChecked();
  v.display.checkFrameUid = m_checkFrameUid->isChecked();
  v.display.drawOneSeries = m_oneSeries->isChecked();
  v.display.seqLineRegion = m_mode->checkedId() == 1;
}

}  // namespace tolmar::viewer
