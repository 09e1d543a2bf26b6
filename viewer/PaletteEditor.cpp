#include "viewer/PaletteEditor.h"

#include <algorithm>

namespace tolmar::viewer {
namespace {

constexpr int kLowestModalityValue = -1000;
constexpr int kHighestModalityValue = 3096;
constexpr int kHighestIndex = 256;

bool InRange(int index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }

}  // namespace

PaletteEditor::PaletteEditor(PaletteSegments segments, std::string paletteFile)
    : m_segments(std::move(segments)),
      m_paletteFile(std::move(paletteFile)),
      m_presets(PaletteFile::Read(m_paletteFile)) {}

PaletteEditor::~PaletteEditor() {
  // A file that cannot be written keeps its old presets.
  if (m_presetsChanged) PaletteFile::Write(m_paletteFile, m_presets);
}

void PaletteEditor::LimitFields() {
  const bool modality = m_fields.kind == PaletteSegment::kModalityKind;
  const int low = modality ? kLowestModalityValue : 0;
  const int high = modality ? kHighestModalityValue : kHighestIndex;
  m_fields.from = std::clamp(m_fields.from, low, high);
  m_fields.to = std::clamp(m_fields.to, low, high);
  if (m_fields.to < m_fields.from) m_fields.to = m_fields.from;
}

void PaletteEditor::AddSegment() {
  LimitFields();
  if (m_segments.size() < PaletteFile::kMaxSegments) m_segments.push_back(m_fields);
}

bool PaletteEditor::ReplaceSegment(int index) {
  if (!InRange(index, m_segments.size())) return false;
  LimitFields();
  m_segments[static_cast<size_t>(index)] = m_fields;
  return true;
}

bool PaletteEditor::RemoveSegment(int index) {
  if (!InRange(index, m_segments.size())) return false;
  m_segments.erase(m_segments.begin() + index);
  return true;
}

bool PaletteEditor::SelectSegment(int index) {
  if (!InRange(index, m_segments.size())) return false;
  m_fields = m_segments[static_cast<size_t>(index)];
  if (m_fields.kind != PaletteSegment::kModalityKind) m_fields.kind = PaletteSegment::kIndexKind;
  return true;
}

QString PaletteEditor::SegmentLine(const PaletteSegment& s) {
  return QString::asprintf("%4d|%4d(%X)|%4d(%X)", s.kind, s.from, s.startColour, s.to,
                           s.endColour);
}

bool PaletteEditor::ChoosePreset(int index) {
  if (!InRange(index, m_presets.size())) return false;
  m_segments = m_presets[static_cast<size_t>(index)].segments;
  if (!m_segments.empty()) m_fields.from = m_fields.to = 0;
  return true;
}

bool PaletteEditor::AddPreset(const std::string& name) {
  // The file cannot hold an empty or overlong name or an empty preset.
  if (name.empty() || name.size() > 255 || m_segments.empty()) return false;
  m_presets.push_back({name, m_segments});
  m_presetsChanged = true;
  return true;
}

bool PaletteEditor::ModifyPreset(int index) {
  if (!InRange(index, m_presets.size()) || m_segments.empty()) return false;
  m_presets[static_cast<size_t>(index)].segments = m_segments;
  m_presetsChanged = true;
  return true;
}

bool PaletteEditor::RemovePreset(int index) {
  if (!InRange(index, m_presets.size())) return false;
  m_presets.erase(m_presets.begin() + index);
  m_presetsChanged = true;
  return true;
}

}  // namespace tolmar::viewer
