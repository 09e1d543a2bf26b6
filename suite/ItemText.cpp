#include "suite/ItemText.h"

namespace tolmar::suite {

std::vector<std::string> SplitItems(std::string_view text) {
  std::vector<std::string> items;
  std::size_t at = text.find(kItemSeparator);
  while (at != std::string_view::npos) {
    const std::size_t begin = at + kItemSeparator.size();
    const std::size_t next = text.find(kItemSeparator, begin);
    const std::size_t end = next == std::string_view::npos ? text.size() : next;
    items.emplace_back(text.substr(begin, end - begin));
    at = next;
  }
  return items;
}

QStringList SplitItems(const QString& text) {
  const QString separator =
      QString::fromLatin1(kItemSeparator.data(), static_cast<qsizetype>(kItemSeparator.size()));
  QStringList items;
  qsizetype at = text.indexOf(separator);
  while (at >= 0) {
    const qsizetype begin = at + separator.size();
    const qsizetype next = text.indexOf(separator, begin);
    const qsizetype end = next < 0 ? text.size() : next;
    items.append(text.mid(begin, end - begin));
    at = next;
  }
  return items;
}

std::string JoinItems(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += kItemSeparator;
    text += item;
  }
  return text;
}

QString JoinItems(const QStringList& items) {
  const QString separator =
      QString::fromLatin1(kItemSeparator.data(), static_cast<qsizetype>(kItemSeparator.size()));
  QString text;
  for (const QString& item : items) text += separator + item;
  return text;
}

}  // namespace tolmar::suite
