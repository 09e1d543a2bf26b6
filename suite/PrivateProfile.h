#pragma once

#include <QByteArray>
#include <QString>

namespace tolmar::suite {

// Read-only view of an installation INI file such as CONFIG.INI, read the way
// Windows reads private profiles: section and key names match without regard
// to case, the first matching section and key win, values are taken raw
// (blanks around them trimmed, one pair of enclosing quotes removed, no
// escapes), and the bytes are GB18030 text. A value is cut to what fits a
// 1024-byte buffer with its terminator.
class PrivateProfile {
 public:
  static constexpr int kBufferSize = 1024;

  PrivateProfile() = default;
  static PrivateProfile Load(const QString& path);
  static PrivateProfile FromBytes(const QByteArray& bytes);

  QString GetString(const QString& section, const QString& key, const QString& defaultValue) const;
  bool Contains(const QString& section, const QString& key) const;

 private:
  bool Find(const QString& section, const QString& key, QByteArray& raw) const;

  QByteArray m_bytes;
};

}  // namespace tolmar::suite
