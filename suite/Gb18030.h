#pragma once

#include <QByteArray>
#include <QString>

namespace tolmar::suite {

// Stored texts of the suite are code page 936 bytes; GB18030 is its superset
// and round-trips every character.
QString FromGb18030(const QByteArray& bytes);
QByteArray ToGb18030(const QString& text);

}  // namespace tolmar::suite
