#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tolmar::suite {

// Automation objects are D-Bus services named by their identifier
// ("TolmarPacs.Relayhouse"). Each serves one object with one method, Invoke:
// in: the method number and the arguments as variants; out: the method's
// result and the arguments as they stand after the call, so that a server
// fills an out-argument by replacing its value.
namespace AutomationProtocol {
inline const QString kObjectPath = QStringLiteral("/TolmarPacs/Automation");
inline const QString kInterface = QStringLiteral("TolmarPacs.Automation");
inline const QString kInvoke = QStringLiteral("Invoke");
inline const QString kUnknownMethodError = QStringLiteral("TolmarPacs.Automation.UnknownMethod");
inline const QString kBadArgumentsError = QStringLiteral("TolmarPacs.Automation.BadArguments");
}  // namespace AutomationProtocol

// Turns a value received over D-Bus into plain Qt values: nested variants
// unwrapped, "as" into QStringList, "ai" into QList<int>, "av" into
// QVariantList, "ay" into QByteArray.
QVariant FromDBusValue(const QVariant& value);
QVariantList FromDBusValues(const QVariantList& values);

// Checks that a value can travel: an invalid QVariant (an empty variant) is
// sent as an empty text.
QVariant ToDBusValue(const QVariant& value);

}  // namespace tolmar::suite
