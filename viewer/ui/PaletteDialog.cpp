#include "viewer/ui/PaletteDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tolmar::viewer {
namespace {

QColor ToColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
uint32_t ToBgr(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

void PaintSwatch(QPushButton* button, uint32_t bgr) {
  QPixmap swatch(32, 14);
  swatch.fill(ToColor(bgr));
  button->setIcon(QIcon(swatch));
}

}  // namespace

// The 256 palette entries the segments give, 16 x 16, entry 0 at the bottom right.
class PalettePreview : public QWidget {
 public:
  explicit PalettePreview(QWidget* parent) : QWidget(parent) { setMinimumSize(160, 160); }
  void Show(const PaletteSegments& segments, const PaletteSegment& fields, double width,
            double centre) {
    PaletteSegments all = segments;
    all.push_back(fields);
    PaletteWindow window;
    window.width = static_cast<int>(width);
    window.centre = static_cast<int>(centre);
    FillSegmentPalette(m_palette, all, window, false);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int side = std::min(width(), height()) / 16;
    for (int entry = 0; entry < 256; ++entry) {
      const int slot = 255 - entry;
      const QRect square(slot % 16 * side, slot / 16 * side, side, side);
      const auto& e = m_palette[static_cast<size_t>(entry)];
      painter.fillRect(square, Qt::black);
      painter.fillRect(square.adjusted(1, 1, -1, -1), QColor(e.red, e.green, e.blue));
    }
  }

 private:
  std::array<DibBitmap::PaletteEntry, 256> m_palette{};
};

PaletteDialog::PaletteDialog(const PaletteSegments& segments, double windowWidth,
                             double windowCentre, const QString& paletteFile, QWidget* parent)
    : QDialog(parent),
      m_editor(std::make_unique<PaletteEditor>(segments, QFile::encodeName(paletteFile).toStdString())),
      m_windowWidth(windowWidth),
      m_windowCentre(windowCentre) {
  setWindowTitle(QStringLiteral("伪彩设置"));
  auto* layout = new QGridLayout(this);

  layout->addWidget(new QLabel(QStringLiteral("预设方案："), this), 0, 0);
  m_presets = new QComboBox(this);
  m_presets->setObjectName(QStringLiteral("1139"));
  layout->addWidget(m_presets, 0, 1, 1, 2);
  auto* presetButtons = new QHBoxLayout;
  auto* addPreset = new QPushButton(QStringLiteral("添加(&A)..."), this);
  auto* modifyPreset = new QPushButton(QStringLiteral("修改(&M)"), this);
  auto* removePreset = new QPushButton(QStringLiteral("删除(&D)"), this);
  for (auto* b : {addPreset, modifyPreset, removePreset}) presetButtons->addWidget(b);
  layout->addLayout(presetButtons, 1, 0, 1, 3);

  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("1074"));
  m_list->setFont(QFont(QStringLiteral("monospace")));
  layout->addWidget(m_list, 2, 0, 1, 2);
  m_preview = new PalettePreview(this);
  layout->addWidget(m_preview, 2, 2);

  m_modalityKind = new QRadioButton(QStringLiteral("4096级"), this);
  m_indexKind = new QRadioButton(QStringLiteral("256级"), this);
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(m_modalityKind);
  kinds->addWidget(m_indexKind);
  layout->addLayout(kinds, 3, 0, 1, 3);
  m_from = new QSpinBox(this);
  m_to = new QSpinBox(this);
  for (auto* box : {m_from, m_to}) box->setRange(-100000, 100000);
  m_startColour = new QPushButton(this);
  m_endColour = new QPushButton(this);
  layout->addWidget(new QLabel(QStringLiteral("位置："), this), 4, 0);
  layout->addWidget(m_from, 4, 1);
  layout->addWidget(m_startColour, 4, 2);
  layout->addWidget(new QLabel(QStringLiteral("位置："), this), 5, 0);
  layout->addWidget(m_to, 5, 1);
  layout->addWidget(m_endColour, 5, 2);

  auto* segmentButtons = new QHBoxLayout;
  auto* add = new QPushButton(QStringLiteral("增加"), this);
  auto* modify = new QPushButton(QStringLiteral("修改"), this);
  auto* remove = new QPushButton(QStringLiteral("删除"), this);
  for (auto* b : {add, modify, remove}) segmentButtons->addWidget(b);
  layout->addLayout(segmentButtons, 6, 0, 1, 3);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定(&O)"));
  layout->addWidget(buttons, 7, 0, 1, 3);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto limited = [this] {
    ReadFields();
    m_editor->LimitFields();
    ShowFields();
  };
  connect(m_modalityKind, &QRadioButton::toggled, this, limited);
  connect(m_from, &QSpinBox::editingFinished, this, limited);
  connect(m_to, &QSpinBox::editingFinished, this, limited);
  connect(m_startColour, &QPushButton::clicked, this, [this] { PickColour(true); });
  connect(m_endColour, &QPushButton::clicked, this, [this] { PickColour(false); });
  connect(add, &QPushButton::clicked, this, [this] {
    ReadFields();
    m_editor->AddSegment();
    FillList();
  });
  connect(modify, &QPushButton::clicked, this, [this] {
    ReadFields();
    if (m_editor->ReplaceSegment(SelectedSegment())) FillList();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (m_editor->RemoveSegment(SelectedSegment())) FillList();
  });
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
    if (m_editor->SelectSegment(row)) ShowFields();
  });
  connect(m_presets, &QComboBox::activated, this, [this] {
    if (m_editor->ChoosePreset(SelectedPreset())) {
      FillList();
      ShowFields();
    }
  });
  connect(addPreset, &QPushButton::clicked, this, [this] {
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("输入方案名称"),
                                               QStringLiteral("请输入方案名称:"),
                                               QLineEdit::Normal, QString(), &ok);
    if (ok && m_editor->AddPreset(name.toStdString())) FillPresets();
  });
  connect(modifyPreset, &QPushButton::clicked, this,
          [this] { m_editor->ModifyPreset(SelectedPreset()); });
  connect(removePreset, &QPushButton::clicked, this, [this] {
    if (m_editor->RemovePreset(SelectedPreset())) FillPresets();
  });

  FillPresets();
  FillList();
  ShowFields();
}

PaletteDialog::~PaletteDialog() = default;

int PaletteDialog::SelectedSegment() const { return m_list->currentRow(); }

int PaletteDialog::SelectedPreset() const {
  return m_presets->currentIndex() < 0 ? -1 : m_presets->currentData().toInt();
}

void PaletteDialog::FillPresets() {
  m_presets->clear();
  const auto& presets = m_editor->Presets();
  for (int i = 0; i < static_cast<int>(presets.size()); ++i)
    m_presets->addItem(QString::fromStdString(presets[static_cast<size_t>(i)].name), i);
  m_presets->model()->sort(0);
  m_presets->setCurrentIndex(-1);
}

void PaletteDialog::FillList() {
  m_list->clear();
  for (const PaletteSegment& segment : m_editor->Segments())
    m_list->addItem(PaletteEditor::SegmentLine(segment));
  UpdatePreview();
}

void PaletteDialog::ReadFields() {
  PaletteSegment& f = m_editor->Fields();
  f.kind = m_modalityKind->isChecked() ? PaletteSegment::kModalityKind : PaletteSegment::kIndexKind;
  f.from = m_from->value();
  f.to = m_to->value();
}

void PaletteDialog::ShowFields() {
  const PaletteSegment& f = m_editor->Fields();
  const QSignalBlocker blockKind(m_modalityKind);
  (f.kind == PaletteSegment::kModalityKind ? m_modalityKind : m_indexKind)->setChecked(true);
  m_from->setValue(f.from);
  m_to->setValue(f.to);
  PaintSwatch(m_startColour, f.startColour);
  PaintSwatch(m_endColour, f.endColour);
  UpdatePreview();
}

void PaletteDialog::PickColour(bool start) {
  PaletteSegment& f = m_editor->Fields();
  uint32_t& colour = start ? f.startColour : f.endColour;
  const QColor chosen = QColorDialog::getColor(ToColor(colour), this);
  if (!chosen.isValid()) return;
  colour = ToBgr(chosen);
  ShowFields();
}

void PaletteDialog::UpdatePreview() {
  m_preview->Show(m_editor->Segments(), m_editor->Fields(), m_windowWidth, m_windowCentre);
}

}  // namespace tolmar::viewer
