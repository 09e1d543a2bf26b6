#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace tolmar::suite {

// Small UTF-8 INI document for the per-user profile files. Section and key
// names match without regard to case and keep the spelling they were first
// written with; entries before the first section header form the section
// with the empty name. Values escape backslash, CR and LF so any text
// survives a round trip. Saving writes a temporary file and renames it over
// the old one, so a crash leaves either the old or the new settings.
class IniFile {
 public:
  static IniFile Load(const QString& path);
  static IniFile Parse(const QString& text);
  QString Serialise() const;
  bool Save(const QString& path) const;

  std::optional<QString> Value(const QString& section, const QString& key) const;
  void SetValue(const QString& section, const QString& key, const QString& value);
  bool Remove(const QString& section, const QString& key);

 private:
  struct Entry {
    QString key;
    QString value;
  };
  struct Section {
    QString name;
    std::vector<Entry> entries;
  };
  Section* FindSection(const QString& name);
  const Section* FindSection(const QString& name) const;

  std::vector<Section> m_sections;
};

}  // namespace tolmar::suite
