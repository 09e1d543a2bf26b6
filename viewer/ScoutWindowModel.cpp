#include "viewer/ScoutWindowModel.h"

#include <algorithm>

#include "image/DisplaySettings.h"
#include "image/ImageRegistry.h"

namespace tolmar::viewer {
namespace {

bool HasLineOf(DicomImage& scout, const std::string& uid) {
  if (!scout.Display().scoutLines.Exists()) return false;
  const auto lines = scout.Display().scoutLines.Lines();
  return std::any_of(lines.begin(), lines.end(),
                     [&](const ScoutLine& line) { return line.uid == uid; });
}

}  // namespace

bool ScoutWindowModel::Alive(const DicomImage* image) {
  const auto images = ImageRegistry::Program().Images();
  return std::find(images.begin(), images.end(), image) != images.end();
}

void ScoutWindowModel::FillFor(const DicomImage* image) {
  std::vector<DicomImage*> scouts;
  if (image && Alive(image)) {
    for (DicomImage* other : ImageRegistry::Program().Images()) {
      if (other != image && HasLineOf(*other, image->SopInstanceUid())) scouts.push_back(other);
    }
  }
  const bool keep = !m_scouts.empty() && !scouts.empty() && Alive(m_scouts.front()) &&
                    m_scouts.front()->Display().plane.SameFrame(
                        scouts.front()->Display().plane, CurrentDisplaySettings().checkFrameUid);
  m_scouts = std::move(scouts);
  if (m_scouts.empty()) {
    m_position = -1;
  } else if (!keep || m_position < 0 || m_position >= Count()) {
    m_position = 0;
  }
}

DicomImage* ScoutWindowModel::Shown() {
  while (!m_scouts.empty()) {
    if (m_position < 0 || m_position >= Count()) m_position = 0;
    DicomImage* scout = m_scouts[static_cast<size_t>(m_position)];
    if (Alive(scout)) return scout;
    m_scouts.erase(m_scouts.begin() + m_position);
    m_position = 0;
  }
  m_position = -1;
  return nullptr;
}

void ScoutWindowModel::Next() {
  if (!m_scouts.empty()) m_position = (m_position + 1) % Count();
}

void ScoutWindowModel::Previous() {
  if (!m_scouts.empty()) m_position = (m_position + Count() - 1) % Count();
}

QString ScoutWindowModel::Counter() const {
  if (m_scouts.empty()) return {};
  return QStringLiteral("%1/%2").arg(m_position + 1).arg(Count());
}

}  // namespace tolmar::viewer
