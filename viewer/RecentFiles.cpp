#include "viewer/RecentFiles.h"

#include "suite/ProfileStore.h"

namespace tolmar::viewer {
namespace {

const QString kSection = QStringLiteral("Recent File List");

QString Entry(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

void RecentFileList::Load(const suite::ProfileStore& profile) {
  m_files.clear();
  for (int i = 0; i < kSize; ++i) {
    const QString path = profile.GetProfileString(kSection, Entry(i), QString());
    if (!path.isEmpty() && !m_files.contains(path)) m_files << path;
  }
}

void RecentFileList::Save(suite::ProfileStore& profile) const {
  // Every slot is written so that a shorter list leaves no stale entries behind.
  for (int i = 0; i < kSize; ++i)
    profile.WriteProfileString(kSection, Entry(i), i < m_files.size() ? m_files[i] : QString());
}

void RecentFileList::Add(const QString& path) {
  if (path.isEmpty()) return;
  m_files.removeAll(path);
  m_files.prepend(path);
  while (m_files.size() > kSize) m_files.removeLast();
}

void RecentFileList::Remove(int index) {
  if (index >= 0 && index < m_files.size()) m_files.removeAt(index);
}

}  // namespace tolmar::viewer
