#include "suite/Gb18030.h"

#include <iconv.h>

#include <cerrno>

namespace tolmar::suite {
namespace {

// Converts with iconv; undecodable input bytes become U+FFFD (or '?' when
// encoding) instead of ending the conversion.
QByteArray Convert(const char* to, const char* from, const QByteArray& input,
                   const QByteArray& replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  QByteArray output;
  output.reserve(input.size() * 2 + 8);
  char* in = const_cast<char*>(input.constData());
  size_t inLeft = static_cast<size_t>(input.size());
  char buffer[1024];
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<qsizetype>(sizeof buffer - outLeft));
    if (result == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence): skip one byte.
      output.append(replacement);
      ++in;
      --inLeft;
    }
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  iconv_close(cd);
  return output;
}

}  // namespace

QString FromGb18030(const QByteArray& bytes) {
  const QByteArray utf16 = Convert("UTF-16LE", "GB18030", bytes, QByteArray("\xFD\xFF", 2));
  return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

QByteArray ToGb18030(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Convert("GB18030", "UTF-8", utf8, QByteArray("?"));
}

}  // namespace tolmar::suite
