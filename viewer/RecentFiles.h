#pragma once

#include <QString>
#include <QStringList>

namespace tolmar::suite {
class ProfileStore;
}

namespace tolmar::viewer {

// The eight most recently opened files, newest first, kept in the profile's
// "Recent File List" section as "File1" to "File8".
class RecentFileList {
 public:
  static constexpr int kSize = 8;

  void Load(const suite::ProfileStore& profile);
  void Save(suite::ProfileStore& profile) const;
  // Moves `path` to the front (adding it when new), dropping the oldest beyond eight.
  void Add(const QString& path);
  void Remove(int index);
  const QStringList& Files() const { return m_files; }

 private:
  QStringList m_files;
};

}  // namespace tolmar::viewer
