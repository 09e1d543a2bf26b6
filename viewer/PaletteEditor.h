#pragma once

#include <QString>
#include <string>
#include <vector>

#include "image/PaletteFile.h"

namespace tolmar::viewer {

// The palette editor without its dialog: the segment list being edited, the
// edit fields of one segment, and the named presets of the palette file,
// written back when the editor goes away after a preset changed.
class PaletteEditor {
 public:
  PaletteEditor(PaletteSegments segments, std::string paletteFile);
  ~PaletteEditor();
  PaletteEditor(const PaletteEditor&) = delete;
  PaletteEditor& operator=(const PaletteEditor&) = delete;

  const PaletteSegments& Segments() const { return m_segments; }
  // The edit fields; kind 4096 (modality values) or 256 (palette indices).
  PaletteSegment& Fields() { return m_fields; }
  const PaletteSegment& Fields() const { return m_fields; }
  // Positions within the kind's range (-1000..3096 or 0..256), to not below from.
  void LimitFields();

  void AddSegment();
  bool ReplaceSegment(int index);
  bool RemoveSegment(int index);
  // Loads segment `index` into the fields.
  bool SelectSegment(int index);
  // The list line of a segment: kind, from (start colour), to (end colour).
  static QString SegmentLine(const PaletteSegment& segment);

  const std::vector<PalettePreset>& Presets() const { return m_presets; }
  // Replaces the segments by a copy of the preset's; positions go to 0.
  bool ChoosePreset(int index);
  bool AddPreset(const std::string& name);
  bool ModifyPreset(int index);
  bool RemovePreset(int index);
  bool PresetsChanged() const { return m_presetsChanged; }

 private:
  PaletteSegments m_segments;
  PaletteSegment m_fields{PaletteSegment::kModalityKind, 0, 0, 0x000000, 0xFFFFFF};
  std::string m_paletteFile;
  std::vector<PalettePreset> m_presets;
  bool m_presetsChanged = false;
};

}  // namespace tolmar::viewer
