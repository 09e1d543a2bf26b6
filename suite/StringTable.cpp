#include "suite/StringTable.h"

#include <QTranslator>

namespace tolmar::suite {

StringTable::StringTable(std::span<const Entry> entries) {
  for (const Entry& entry : entries) m_entries.emplace(entry.id, entry.utf8);
}

QString StringTable::Text(int id) const {
  if (m_translator) {
    const QString translated = m_translator->translate("", QByteArray::number(id).constData());
    if (!translated.isEmpty()) return translated;
  }
  const auto it = m_entries.find(id);
  return it == m_entries.end() ? QString() : QString::fromUtf8(it->second);
}

bool StringTable::Contains(int id) const { return m_entries.contains(id); }

QString StringTable::Format(int id, const QStringList& arguments) const {
  return FormatPrintf(Text(id), arguments);
}

QString FormatPrintf(const QString& format, const QStringList& arguments) {
  QString out;
  qsizetype next = 0;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c != QLatin1Char('%') || i + 1 == format.size()) {
      out += c;
      continue;
    }
    if (format[i + 1] == QLatin1Char('%')) {
      out += QLatin1Char('%');
      ++i;
      continue;
    }
    // Skip flags, width, precision and length, up to the conversion letter.
    qsizetype j = i + 1;
    while (j < format.size() && QStringLiteral("-+ #0123456789.lhzjt").contains(format[j])) ++j;
    if (j == format.size() || !QStringLiteral("diousxXcfeEgG").contains(format[j])) {
      out += c;
      continue;
    }
    if (next < arguments.size()) out += arguments[next];
    ++next;
    i = j;
  }
  return out;
}

}  // namespace tolmar::suite
