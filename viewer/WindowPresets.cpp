#include "viewer/WindowPresets.h"

#include "suite/ProfileStore.h"

namespace tolmar::viewer {
namespace {

const QString kWindow = QStringLiteral("Window");
const QString kCount = QStringLiteral("Count");

QString ModalitySection(int number) {
  return QStringLiteral("%1\\%2%3").arg(kWindow, QStringLiteral("Modality")).arg(number);
}

QString Numbered(const char* name, int number) {
  return QString::fromLatin1(name) + QString::number(number);
}

}  // namespace

PresetTable ReadPresetTable(const suite::ProfileStore& profile) {
  PresetTable table;
  const int modalities = profile.GetProfileInt(kWindow, kCount, 0);
  for (int i = 1; i <= modalities; ++i) {
    PresetModality modality;
    modality.name = profile.GetProfileString(kWindow, Numbered("Name", i), QString());
    if (modality.name.isEmpty()) break;
    const QString section = ModalitySection(i);
    const int presets = profile.GetProfileInt(section, kCount, 0);
    for (int j = 1; j <= presets; ++j) {
      WindowPreset preset;
      preset.name = profile.GetProfileString(section, Numbered("Name", j), QString());
      if (preset.name.isEmpty()) break;
      preset.width = profile.GetProfileString(section, Numbered("Width", j), QString()).toInt();
      preset.centre = profile.GetProfileString(section, Numbered("Center", j), QString()).toInt();
      modality.presets.push_back(preset);
    }
    table.push_back(std::move(modality));
  }
  return table;
}

bool WritePresetTable(suite::ProfileStore& profile, const PresetTable& table) {
  bool ok = profile.WriteProfileInt(kWindow, kCount, static_cast<int>(table.size()));
  for (size_t i = 0; i < table.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const PresetModality& modality = table[i];
    ok = profile.WriteProfileString(kWindow, Numbered("Name", number), modality.name) && ok;
    const QString section = ModalitySection(number);
    ok = profile.WriteProfileInt(section, kCount, static_cast<int>(modality.presets.size())) && ok;
    for (size_t j = 0; j < modality.presets.size(); ++j) {
      const int n = static_cast<int>(j) + 1;
      const WindowPreset& preset = modality.presets[j];
      ok = profile.WriteProfileString(section, Numbered("Name", n), preset.name) && ok;
      ok = profile.WriteProfileString(section, Numbered("Width", n),
                                      QString::number(preset.width)) && ok;
      ok = profile.WriteProfileString(section, Numbered("Center", n),
                                      QString::number(preset.centre)) && ok;
    }
  }
  return ok;
}

bool ViewPresets::LoadFor(const QString& modality, const PresetTable& table) {
  if (m_loaded && modality == m_modality) return false;
  m_loaded = true;
  m_modality = modality;
  m_presets.clear();
  for (const PresetModality& entry : table) {
    if (entry.name != modality) continue;
    for (const WindowPreset& preset : entry.presets) {
      if (static_cast<int>(m_presets.size()) >= kMaximum) return true;
      m_presets.push_back(preset);
    }
  }
  return true;
}

const WindowPreset* ViewPresets::At(int index) const {
  if (index < 0 || index >= static_cast<int>(m_presets.size())) return nullptr;
  return &m_presets[static_cast<size_t>(index)];
}

}  // namespace tolmar::viewer
