#include "suite/TempFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

#include "suite/PatientHandOverFile.h"

namespace tolmar::suite {
namespace {

bool IsUsableFolder(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.isDir() && info.isWritable();
}

QString CreateIn(const QString& folder, const QString& prefix,
                 std::span<const std::uint8_t> bytes) {
  // QTemporaryFile opens with O_EXCL and mode 0600.
  QTemporaryFile file(folder + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX.tmp"));
  file.setAutoRemove(false);
  if (!file.open()) return {};
  const qint64 size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
    file.remove();
    return {};
  }
  file.close();
  return file.fileName();
}

}  // namespace

QString UsableTempFolder() {
  const QString folder = QDir::tempPath();
  return IsUsableFolder(folder) ? QDir::cleanPath(folder) : QString();
}

QString FallbackTempFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty()) return {};
  const QString folder = base + QStringLiteral("/tolmar/tmp");
  if (!QDir().mkpath(folder)) return {};
  QFile::setPermissions(folder,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return IsUsableFolder(folder) ? folder : QString();
}

QString WriteUniqueTempFile(const QString& prefix, std::span<const std::uint8_t> bytes) {
  const QString temp = UsableTempFolder();
  if (!temp.isEmpty()) {
    const QString path = CreateIn(temp, prefix, bytes);
    if (!path.isEmpty()) return path;
  }
  const QString fallback = FallbackTempFolder();
  return fallback.isEmpty() ? QString() : CreateIn(fallback, prefix, bytes);
}

bool WriteFileOwnerOnly(const QString& path, std::span<const std::uint8_t> bytes) {
  const QByteArray native = QFile::encodeName(path);
  if (::unlink(native.constData()) != 0 && errno != ENOENT) return false;
  const int fd =
      ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) return false;
  std::size_t written = 0;
  bool ok = true;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) ::unlink(native.constData());
  return ok;
}

QString PatientHandOverPath() {
  QString folder = UsableTempFolder();
  if (folder.isEmpty()) folder = FallbackTempFolder();
  return folder.isEmpty() ? QString()
                          : folder + QLatin1Char('/') + QLatin1String(kPatientHandOverFileName);
}

bool TakeStartFile(const QString& path, std::vector<std::uint8_t>& bytes, std::int64_t maxSize) {
  if (!ReadWholeFile(path, bytes, maxSize)) return false;
  QFile::remove(path);
  return true;
}

bool MoveFileReplacing(const QString& from, const QString& to) {
  return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool ReadWholeFile(const QString& path, std::vector<std::uint8_t>& bytes, std::int64_t maxSize) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  if (size < 0 || size > maxSize) return false;
  bytes.resize(static_cast<std::size_t>(size));
  qint64 done = 0;
  while (done < size) {
    const qint64 n = file.read(reinterpret_cast<char*>(bytes.data()) + done, size - done);
    if (n <= 0) break;
    done += n;
  }
  bytes.resize(static_cast<std::size_t>(done));
  return done == size;
}

}  // namespace tolmar::suite
