#include "suite/PrivateProfile.h"

#include <QFile>

#include "suite/Gb18030.h"

namespace tolmar::suite {
namespace {

constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

bool SameName(const QByteArray& raw, const QString& name) {
  return FromGb18030(raw.trimmed()).compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

}  // namespace

PrivateProfile PrivateProfile::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) return {};
  return FromBytes(file.readAll());
}

PrivateProfile PrivateProfile::FromBytes(const QByteArray& bytes) {
  PrivateProfile profile;
  profile.m_bytes = bytes;
  // A UTF-8 byte-order mark written by a modern editor is not part of the
  // first line.
  if (profile.m_bytes.startsWith("\xEF\xBB\xBF")) profile.m_bytes.remove(0, 3);
  return profile;
}

bool PrivateProfile::Find(const QString& section, const QString& key, QByteArray& raw) const {
  bool inSection = false;
  bool sectionSeen = false;
  for (const QByteArray& rawLine : m_bytes.split('\n')) {
    const QByteArray line = rawLine.trimmed();
    if (line.startsWith('[')) {
      if (sectionSeen && inSection) return false;  // only the first matching section counts
      const qsizetype close = line.indexOf(']');
      const QByteArray name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
      inSection = SameName(name, section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection || line.isEmpty() || line.startsWith(';')) continue;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || !SameName(line.left(equals), key)) continue;
    raw = line.mid(equals + 1).trimmed();
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
      raw = raw.mid(1, raw.size() - 2);
    return true;
  }
  return false;
}

bool PrivateProfile::Contains(const QString& section, const QString& key) const {
  QByteArray raw;
  return Find(section, key, raw);
}

QString PrivateProfile::GetString(const QString& section, const QString& key,
                                  const QString& defaultValue) const {
  QByteArray raw;
  if (!Find(section, key, raw)) return defaultValue;
  if (raw.size() > kBufferSize - 1) {
    // Cut at the buffer, then drop a character split by the cut.
    raw.truncate(kBufferSize - 1);
    QString text = FromGb18030(raw);
    while (!text.isEmpty() && ToGb18030(text).size() > kBufferSize - 1) text.chop(1);
    if (text.endsWith(QChar(0xFFFD))) text.chop(1);
    return text;
  }
  return FromGb18030(raw);
}

}  // namespace tolmar::suite
