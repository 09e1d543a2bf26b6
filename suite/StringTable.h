#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <unordered_map>

class QTranslator;

namespace tolmar::suite {

// A program's user-visible texts by number. The built-in texts are Chinese;
// a loaded language file overrides any number it carries (its message ids
// are the decimal numbers).
class StringTable {
 public:
  struct Entry {
    int id;
    const char* utf8;
  };

  explicit StringTable(std::span<const Entry> entries);

  // The text of id, or an empty text for an unknown number.
  QString Text(int id) const;
  bool Contains(int id) const;
  // Fills the printf-style conversions (%ld, %d, %s, ...) of text id in order.
  QString Format(int id, const QStringList& arguments) const;

  // Borrowed; the caller keeps the translator alive while it is set.
  void SetTranslator(const QTranslator* translator) { m_translator = translator; }

 private:
  std::unordered_map<int, const char*> m_entries;
  const QTranslator* m_translator = nullptr;
};

// Replaces each printf conversion of format with the next argument; "%%"
// gives '%'. Missing arguments leave an empty text.
QString FormatPrintf(const QString& format, const QStringList& arguments);

}  // namespace tolmar::suite
