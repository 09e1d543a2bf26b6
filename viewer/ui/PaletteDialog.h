#pragma once

#include <QDialog>
#include <memory>

#include "viewer/PaletteEditor.h"

class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tolmar::viewer {

// "伪彩设置": edits the pseudo-colour segments of a grey image and the named
// presets of the palette file.
class PaletteDialog : public QDialog {
 public:
  PaletteDialog(const PaletteSegments& segments, double windowWidth, double windowCentre,
                const QString& paletteFile, QWidget* parent = nullptr);
  ~PaletteDialog() override;

  const PaletteSegments& Segments() const { return m_editor->Segments(); }

 private:
  void FillList();
  void FillPresets();
  void ReadFields();
  void ShowFields();
  void PickColour(bool start);
  void UpdatePreview();
  int SelectedSegment() const;
  int SelectedPreset() const;

  std::unique_ptr<PaletteEditor> m_editor;
  double m_windowWidth;
  double m_windowCentre;
  QComboBox* m_presets = nullptr;
  QListWidget* m_list = nullptr;
  QSpinBox* m_from = nullptr;
  QSpinBox* m_to = nullptr;
  QRadioButton* m_modalityKind = nullptr;
  QRadioButton* m_indexKind = nullptr;
  QPushButton* m_startColour = nullptr;
  QPushButton* m_endColour = nullptr;
  class PalettePreview* m_preview = nullptr;
};

}  // namespace tolmar::viewer
