#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace tolmar::suite {

// Lists travel as one text in which every item is preceded by ";~;". Text
// before the first separator is not an item, so a text without a separator
// holds no items; there is no escaping.
inline constexpr std::string_view kItemSeparator = ";~;";

std::vector<std::string> SplitItems(std::string_view text);
QStringList SplitItems(const QString& text);

// Joins items back, each with its leading separator.
std::string JoinItems(const std::vector<std::string>& items);
QString JoinItems(const QStringList& items);

}  // namespace tolmar::suite
