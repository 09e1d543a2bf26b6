#pragma once

#include "viewer/WindowPresets.h"

namespace tolmar::viewer {

// The preset table editor without its dialog: a copy of the whole table that
// replaces the stored one only on Save, so cancelling changes nothing.
class PresetTableEditor {
 public:
  PresetTableEditor(PresetTable table, const QString& modality);

  const PresetTable& Table() const { return m_table; }
  // The modality shown first: the one named like the current image's, else the first.
  int InitialModality() const { return m_initial; }

  bool AddPreset(int modality, const WindowPreset& preset);
  bool RemovePreset(int modality, int preset);
  // A name that is empty once its trailing blanks are gone adds nothing.
  bool AddModality(const QString& name);
  bool RemoveModality(int modality);

  bool Save(suite::ProfileStore& profile) const { return WritePresetTable(profile, m_table); }

 private:
  bool ValidModality(int modality) const;

  PresetTable m_table;
  int m_initial = 0;
};

// The standard window dialog edits the first eight loaded presets in place;
// entries beyond the loaded ones are not used. Widths run from 1 to 4096,
// centres from -1024 to 4095.
constexpr int kStandardWindowPairs = 8;
struct WindowPair {
  int width = 0;
  int centre = 0;
};
std::vector<WindowPair> StandardWindowPairs(const ViewPresets& presets);
void ApplyStandardWindowPairs(ViewPresets& presets, const std::vector<WindowPair>& pairs);

}  // namespace tolmar::viewer
