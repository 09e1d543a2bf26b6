#include "suite/ObjectText.h"

#include "suite/ItemText.h"

namespace tolmar::suite {

ObjectTextBuilder& ObjectTextBuilder::BeginObject() {
  m_text += kObjectMarker;
  return *this;
}

ObjectTextBuilder& ObjectTextBuilder::Add(const QString& key, const QString& value) {
  m_text += QStringLiteral(";~;") + key + value;
  return *this;
}

ObjectTextBuilder& ObjectTextBuilder::Add(const QString& key, long value) {
  return Add(key, QString::number(value));
}

ObjectTextBuilder& ObjectTextBuilder::AddEmptyItem() {
  m_text += QStringLiteral(";~;");
  return *this;
}

QStringList FindObjectValues(const QString& objectText, const QString& key) {
  QStringList values;
  for (const QString& item : SplitItems(objectText)) {
    if (!item.startsWith(key)) continue;
    QString value = item.mid(key.size());
    if (value.endsWith(kObjectMarker)) value.chop(kObjectMarker.size());
    values.append(value);
  }
  return values;
}

QString FindObjectValue(const QString& objectText, const QString& key) {
  const QStringList values = FindObjectValues(objectText, key);
  return values.isEmpty() ? QString() : values.first();
}

QStringList SplitObjects(const QString& objectText) {
  QStringList objects;
  for (const QString& part : objectText.split(kObjectMarker)) {
    if (!SplitItems(part).isEmpty()) objects.append(part);
  }
  return objects;
}

}  // namespace tolmar::suite
