#include "viewer/ui/FormatPages.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "viewer/LogicalFont.h"

namespace tolmar::viewer {
namespace {

uint32_t ColorRefOf(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

// Opens the colour dialog on `colorRef`; false when the user cancelled.
bool PickColour(QWidget* parent, uint32_t& colorRef) {
  const QColor chosen = QColorDialog::getColor(ColourFromColorRef(colorRef), parent);
  if (!chosen.isValid()) return false;
  colorRef = ColorRefOf(chosen);
  return true;
}

bool PickFont(QWidget* parent, MeasureFont& font) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, FontOf(font), parent);
  if (!ok) return false;
  font = LogicalFontOf(chosen, font, parent->logicalDpiY());
  return true;
}

QPushButton* NewButton(QWidget* parent, int id, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  return button;
}

void SelectStyle(QComboBox* combo, int style) { combo->setCurrentIndex(combo->findData(style)); }

// The chosen style, or the stored one when it is none the list offers.
int ChosenStyle(const QComboBox* combo, int stored) {
  return combo->currentIndex() < 0 ? stored : combo->currentData().toInt();
}

}  // namespace

TextSample::TextSample(QString text, QWidget* parent) : QWidget(parent), m_text(std::move(text)) {
  setMinimumSize(120, 40);
}

void TextSample::Show(const QColor& colour, const QFont& font) {
  m_colour = colour;
  m_font = font;
  update();
}

void TextSample::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setPen(m_colour);
  painter.setFont(m_font);
  painter.drawText(rect(), Qt::AlignCenter, m_text);
}

OverlayTextPage::OverlayTextPage(bool withMargins, QWidget* parent) : SettingsPage(parent) {
  auto* colour = NewButton(this, 1017, QStringLiteral("颜色(&C)..."));
  auto* font = NewButton(this, 1020, QStringLiteral("字体(&F)..."));
  auto* group = new QGroupBox(QStringLiteral("示例"), this);
  m_sample = new TextSample(QStringLiteral("AaBbYyZz 病人信息"), group);
  m_sample->setObjectName(QStringLiteral("1021"));
  auto* sampleLayout = new QVBoxLayout(group);
  sampleLayout->addWidget(m_sample);

  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(colour);
  buttons->addWidget(font);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->addWidget(group, 1);
  if (withMargins) {
    m_hSpace = NewNumber(this, 1240, 0, 1000);
    m_vSpace = NewNumber(this, 1241, 0, 1000);
    auto* margins = new QFormLayout;
    margins->addRow(QStringLiteral("左右边距:"), m_hSpace);
    margins->addRow(QStringLiteral("上下边距:"), m_vSpace);
    layout->addLayout(margins);
  }
  connect(colour, &QPushButton::clicked, this, &OverlayTextPage::ChooseColour);
  connect(font, &QPushButton::clicked, this, &OverlayTextPage::ChooseFont);
}

void OverlayTextPage::ChooseColour() {
  if (PickColour(this, m_colour)) UpdateSample();
}

void OverlayTextPage::ChooseFont() {
  if (PickFont(this, m_font)) UpdateSample();
}

void OverlayTextPage::UpdateSample() {
  m_sample->Show(ColourFromColorRef(m_colour), FontOf(m_font));
}

void OverlayTextPage::Load(const SettingsValues& v) {
  m_colour = v.display.textColour;
  m_font = v.overlayFont;
  if (m_hSpace) m_hSpace->setValue(v.display.hSpace);
  if (m_vSpace) m_vSpace->setValue(v.display.vSpace);
  UpdateSample();
}

void OverlayTextPage::Store(SettingsValues& v) const {
  v.display.textColour = m_colour;
  v.overlayFont = m_font;
  if (m_hSpace) v.display.hSpace = m_hSpace->value();
  if (m_vSpace) v.display.vSpace = m_vSpace->value();
}

MeasurePage::MeasurePage(QWidget* parent) : SettingsPage(parent) {
  m_showTracker = NewCheck(this, 1012, QStringLiteral("选中时显示标注轮廓"));
  m_showDash = NewCheck(this, 1093, QStringLiteral("显示注释虚线"));
  const auto& bits = kStatisticsChoices;
  const QString names[] = {QStringLiteral("面积"), QStringLiteral("平均值"),
                           QStringLiteral("均方差")};
  auto* statistics = new QHBoxLayout;
  for (size_t i = 0; i < std::size(bits); ++i) {
    QCheckBox* box = NewCheck(this, bits[i].id, names[i]);
    m_statistics.emplace_back(box, bits[i].value);
    statistics->addWidget(box);
  }
  statistics->addStretch();
  auto* font = NewButton(this, 1020, QStringLiteral("字体(&F)..."));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_showTracker);
  layout->addLayout(statistics);
  layout->addWidget(m_showDash);
  auto* pens = new QHBoxLayout;
  pens->addWidget(NewPenGroup(QStringLiteral("选中"), 1010, QStringLiteral("选择(&A)..."), 1014,
                              1090, kActivePenWidthControl, m_active));
  pens->addWidget(NewPenGroup(QStringLiteral("正常"), 1011, QStringLiteral("选择(&G)..."), 1013,
                              1086, kNormalPenWidthControl, m_normal));
  layout->addLayout(pens);
  layout->addWidget(font, 0, Qt::AlignLeft);
  layout->addStretch();
  connect(font, &QPushButton::clicked, this, [this] {
    if (PickFont(this, m_font)) UpdateSamples();
  });
}

QWidget* MeasurePage::NewPenGroup(const QString& title, int colourButton, const QString& buttonText,
                                  int sampleId, int styleId, int widthId, PenControls& pen) {
  auto* group = new QGroupBox(title, this);
  auto* button = NewButton(group, colourButton, buttonText);
  pen.sample = new TextSample(QStringLiteral("AaBb 123"), group);
  pen.sample->setObjectName(QString::number(sampleId));
  pen.style = new QComboBox(group);
  pen.style->setObjectName(QString::number(styleId));
  for (const PenStyleEntry& entry : kPenStyles)
    pen.style->addItem(QString::fromUtf8(entry.name), entry.style);
  pen.width = new RangeCheckedSpinBox(kPenWidthMinimum, kPenWidthMaximum, group);
  pen.width->setObjectName(QString::number(widthId));
  auto* form = new QFormLayout(group);
  form->addRow(button, pen.sample);
  form->addRow(QStringLiteral("线形："), pen.style);
  form->addRow(QStringLiteral("线宽："), pen.width);
  connect(button, &QPushButton::clicked, this, [this, &pen] {
    if (PickColour(this, pen.colour)) UpdateSamples();
  });
  return group;
}

void MeasurePage::UpdateSamples() {
  const QFont font = FontOf(m_font);
  m_active.sample->Show(ColourFromColorRef(m_active.colour), font);
  m_normal.sample->Show(ColourFromColorRef(m_normal.colour), font);
}

void MeasurePage::Load(const SettingsValues& v) {
  const AnnotationStyle& s = v.measure;
  m_showTracker->setChecked(s.showTracker);
  m_showDash->setChecked(s.showDash);
  for (const auto& [box, bit] : m_statistics) box->setChecked((s.annotationMask & bit) != 0);
  m_active.colour = s.activeColour;
  m_normal.colour = s.normalColour;
  SelectStyle(m_active.style, s.activePenStyle);
  SelectStyle(m_normal.style, s.normalPenStyle);
  m_active.width->setValue(s.activePenWidth);
  m_normal.width->setValue(s.normalPenWidth);
  m_font = s.font;
  UpdateSamples();
}

void MeasurePage::Store(SettingsValues& v) const {
  AnnotationStyle& s = v.measure;
  s.showTracker = m_showTracker->isChecked();
  s.showDash = m_showDash->isChecked();
  // Bits the page does not show are kept.
  for (const auto& [box, bit] : m_statistics) {
    s.annotationMask = box->isChecked() ? (s.annotationMask | bit) : (s.annotationMask & ~bit);
  }
  s.activeColour = m_active.colour;
  s.normalColour = m_normal.colour;
  s.activePenStyle = ChosenStyle(m_active.style, s.activePenStyle);
  s.normalPenStyle = ChosenStyle(m_normal.style, s.normalPenStyle);
  s.activePenWidth = m_active.width->value();
  s.normalPenWidth = m_normal.width->value();
  s.font = m_font;
}

}  // namespace tolmar::viewer
