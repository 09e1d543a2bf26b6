#include "suite/IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace tolmar::suite {
namespace {

constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

QString Escape(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (QChar c : value) {
    if (c == QLatin1Char('\\'))
      out += QStringLiteral("\\\\");
    else if (c == QLatin1Char('\n'))
      out += QStringLiteral("\\n");
    else if (c == QLatin1Char('\r'))
      out += QStringLiteral("\\r");
    else
      out += c;
  }
  return out;
}

QString Unescape(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c != QLatin1Char('\\') || i + 1 == value.size()) {
      out += c;
      continue;
    }
    const QChar next = value[++i];
    if (next == QLatin1Char('n'))
      out += QLatin1Char('\n');
    else if (next == QLatin1Char('r'))
      out += QLatin1Char('\r');
    else
      out += next;
  }
  return out;
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

IniFile IniFile::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) return {};
  return Parse(QString::fromUtf8(file.readAll()));
}

IniFile IniFile::Parse(const QString& text) {
  IniFile ini;
  QString current;
  for (QString rawLine : text.split(QLatin1Char('\n'))) {
    if (rawLine.endsWith(QLatin1Char('\r'))) rawLine.chop(1);  // a file edited on Windows
    const QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
      continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      current = line.mid(1, line.size() - 2).trimmed();
      continue;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0) continue;
    const QString key = line.left(equals).trimmed();
    // Keep the first occurrence, as a reader of a hand-edited file would.
    if (!ini.Value(current, key))
      ini.SetValue(current, key, Unescape(rawLine.mid(rawLine.indexOf(QLatin1Char('=')) + 1)));
  }
  return ini;
}

QString IniFile::Serialise() const {
  QString text;
  for (const Section& section : m_sections) {
    if (!section.name.isEmpty()) text += QLatin1Char('[') + section.name + QStringLiteral("]\n");
    for (const Entry& entry : section.entries)
      text += entry.key + QLatin1Char('=') + Escape(entry.value) + QLatin1Char('\n');
    text += QLatin1Char('\n');
  }
  return text;
}

bool IniFile::Save(const QString& path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = Serialise().toUtf8();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

IniFile::Section* IniFile::FindSection(const QString& name) {
  for (Section& section : m_sections) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

const IniFile::Section* IniFile::FindSection(const QString& name) const {
  return const_cast<IniFile*>(this)->FindSection(name);
}

std::optional<QString> IniFile::Value(const QString& section, const QString& key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const Entry& entry : found->entries) {
    if (SameName(entry.key, key)) return entry.value;
  }
  return std::nullopt;
}

void IniFile::SetValue(const QString& section, const QString& key, const QString& value) {
  Section* found = FindSection(section);
  if (!found) {
    // The nameless section must come first in the file.
    if (section.isEmpty())
      found = &*m_sections.insert(m_sections.begin(), Section{section, {}});
    else
      found = &m_sections.emplace_back(Section{section, {}});
  }
  for (Entry& entry : found->entries) {
    if (SameName(entry.key, key)) {
      entry.value = value;
      return;
    }
  }
  found->entries.push_back({key, value});
}

bool IniFile::Remove(const QString& section, const QString& key) {
  Section* found = FindSection(section);
  if (!found) return false;
  for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
    if (SameName(it->key, key)) {
      found->entries.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace tolmar::suite
