#pragma once

#include <QDialog>
#include <QSpinBox>
#include <vector>

#include "viewer/PresetTableEditor.h"

class QTabWidget;
class QTableWidget;

namespace tolmar::viewer {

// "预设窗值定义": the preset table per modality; OK stores the whole table.
class PresetTableDialog : public QDialog {
 public:
  PresetTableDialog(const PresetTable& table, const QString& modality, QWidget* parent = nullptr);
  const PresetTableEditor& Editor() const { return m_editor; }

 private:
  void RebuildTabs(int current);
  QTableWidget* CurrentList() const;
  void AddPreset();
  void EditModalities();

  PresetTableEditor m_editor;
  QTabWidget* m_tabs = nullptr;
};

// "标准窗值设置": the first eight loaded presets as width/centre pairs.
class StandardWindowDialog : public QDialog {
 public:
  StandardWindowDialog(const std::vector<WindowPair>& pairs, QWidget* parent = nullptr);
  std::vector<WindowPair> Pairs() const;

 private:
  std::vector<std::pair<QSpinBox*, QSpinBox*>> m_boxes;
};

}  // namespace tolmar::viewer
