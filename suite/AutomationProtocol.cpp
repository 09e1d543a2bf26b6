#include "suite/AutomationProtocol.h"

#include <QDBusArgument>
#include <QDBusVariant>

namespace tolmar::suite {

QVariant FromDBusValue(const QVariant& value) {
  if (value.userType() == qMetaTypeId<QDBusVariant>())
    return FromDBusValue(qvariant_cast<QDBusVariant>(value).variant());
  if (value.userType() == QMetaType::QVariantList) return FromDBusValues(value.toList());
  if (value.userType() != qMetaTypeId<QDBusArgument>()) return value;
  const QDBusArgument argument = qvariant_cast<QDBusArgument>(value);
  const QString signature = argument.currentSignature();
  if (signature == QLatin1String("as"))
    return QVariant::fromValue(qdbus_cast<QStringList>(argument));
  if (signature == QLatin1String("ai"))
    return QVariant::fromValue(qdbus_cast<QList<int>>(argument));
  if (signature == QLatin1String("ay"))
    return QVariant::fromValue(qdbus_cast<QByteArray>(argument));
  if (signature == QLatin1String("av")) {
    QVariantList list;
    argument.beginArray();
    while (!argument.atEnd()) {
      QDBusVariant element;
      argument >> element;
      list.append(FromDBusValue(element.variant()));
    }
    argument.endArray();
    return list;
  }
  return {};
}

QVariantList FromDBusValues(const QVariantList& values) {
  QVariantList out;
  out.reserve(values.size());
  for (const QVariant& value : values) out.append(FromDBusValue(value));
  return out;
}

QVariant ToDBusValue(const QVariant& value) {
  if (!value.isValid()) return QString();
  if (value.userType() == QMetaType::QVariantList) {
    QVariantList list;
    for (const QVariant& element : value.toList()) list.append(ToDBusValue(element));
    return list;
  }
  return value;
}

}  // namespace tolmar::suite
