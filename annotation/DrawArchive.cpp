#include "DrawArchive.h"

#include <QString>
#include <QStringDecoder>

#include "image/ByteWriter.h"

namespace tolmar {

QString DisplayText(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) return text;
  QStringDecoder gb("GB18030");
  if (gb.isValid()) {
    text = gb.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!gb.hasError()) return text;
  }
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace tolmar
