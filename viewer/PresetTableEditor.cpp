#include "viewer/PresetTableEditor.h"

#include <algorithm>

namespace tolmar::viewer {

PresetTableEditor::PresetTableEditor(PresetTable table, const QString& modality)
    : m_table(std::move(table)) {
  for (size_t i = 0; i < m_table.size(); ++i) {
    if (m_table[i].name == modality) {
      m_initial = static_cast<int>(i);
      break;
    }
  }
}

bool PresetTableEditor::ValidModality(int modality) const {
  return modality >= 0 && modality < static_cast<int>(m_table.size());
}

bool PresetTableEditor::AddPreset(int modality, const WindowPreset& preset) {
  // An empty name would end the modality's presets when the table is read back.
  if (!ValidModality(modality) || preset.name.isEmpty()) return false;
  m_table[static_cast<size_t>(modality)].presets.push_back(preset);
  return true;
}

bool PresetTableEditor::RemovePreset(int modality, int preset) {
  if (!ValidModality(modality)) return false;
  auto& presets = m_table[static_cast<size_t>(modality)].presets;
  if (preset < 0 || preset >= static_cast<int>(presets.size())) return false;
  presets.erase(presets.begin() + preset);
  return true;
}

bool PresetTableEditor::AddModality(const QString& name) {
  QString trimmed = name;
  while (!trimmed.isEmpty() && trimmed.back().isSpace()) trimmed.chop(1);
  if (trimmed.isEmpty()) return false;
  m_table.push_back({trimmed, {}});
  return true;
}

bool PresetTableEditor::RemoveModality(int modality) {
  if (!ValidModality(modality)) return false;
  m_table.erase(m_table.begin() + modality);
  m_initial = std::clamp(m_initial, 0, std::max(0, static_cast<int>(m_table.size()) - 1));
  return true;
}

std::vector<WindowPair> StandardWindowPairs(const ViewPresets& presets) {
  std::vector<WindowPair> pairs(kStandardWindowPairs);
  for (int i = 0; i < kStandardWindowPairs; ++i) {
    if (const WindowPreset* preset = presets.At(i)) pairs[static_cast<size_t>(i)] = {preset->width, preset->centre};
  }
  return pairs;
}

void ApplyStandardWindowPairs(ViewPresets& presets, const std::vector<WindowPair>& pairs) {
  auto& list = presets.Presets();
  const size_t count = std::min({list.size(), pairs.size(), size_t{kStandardWindowPairs}});
  for (size_t i = 0; i < count; ++i) {
    list[i].width = std::clamp(pairs[i].width, 1, 4096);
    list[i].centre = std::clamp(pairs[i].centre, -1024, 4095);
  }
}

}  // namespace tolmar::viewer
