#pragma once

#include <QString>
#include <vector>

namespace tolmar::suite {
class ProfileStore;
}

namespace tolmar::viewer {

struct WindowPreset {
  QString name;
  int width = 0;
  int centre = 0;
  bool operator==(const WindowPreset&) const = default;
};

// One modality of the preset table with its presets in stored order.
struct PresetModality {
  QString name;
  std::vector<WindowPreset> presets;
  bool operator==(const PresetModality&) const = default;
};
using PresetTable = std::vector<PresetModality>;

// The preset table in the viewer's profile: section "Window" counts and names
// the modalities, section "Window\ModalityN" holds modality N's presets.
// Reading stops at the first empty modality name and, within a modality, at
// the first empty preset name.
PresetTable ReadPresetTable(const suite::ProfileStore& profile);
// Replaces the stored table by `table`.
bool WritePresetTable(suite::ProfileStore& profile, const PresetTable& table);

// The presets the view offers for the current image: those of every modality
// entry named exactly like the image's modality, in order, at most 16.
class ViewPresets {
 public:
  static constexpr int kMaximum = 16;

  // Loads the presets of `modality` unless they are already loaded; true when it read them.
  bool LoadFor(const QString& modality, const PresetTable& table);
  const QString& Modality() const { return m_modality; }
  const std::vector<WindowPreset>& Presets() const { return m_presets; }
  std::vector<WindowPreset>& Presets() { return m_presets; }
  // Null for an index at or beyond the number loaded.
  const WindowPreset* At(int index) const;

 private:
  bool m_loaded = false;
  QString m_modality;
  std::vector<WindowPreset> m_presets;
};

}  // namespace tolmar::viewer
