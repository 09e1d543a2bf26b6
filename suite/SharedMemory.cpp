#include "suite/SharedMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolmar::suite {
namespace {

QByteArray ObjectName(const QString& name) { return "/" + name.toUtf8(); }

}  // namespace

std::unique_ptr<SharedMemory> SharedMemory::MapAndClose(int fd, std::size_t size) {
  void* address =
      size == 0 ? nullptr : ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  ::close(fd);
  if (size == 0 || address == MAP_FAILED) return nullptr;
  return std::unique_ptr<SharedMemory>(new SharedMemory(address, size));
}

std::unique_ptr<SharedMemory> SharedMemory::Create(const QString& name, std::size_t size) {
  if (name.isEmpty() || name.contains(QLatin1Char('/')) || size == 0) return nullptr;
  const int fd =
      ::shm_open(ObjectName(name).constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) return nullptr;
  if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    ::close(fd);
    return nullptr;
  }
  return MapAndClose(fd, size);
}

std::unique_ptr<SharedMemory> SharedMemory::Open(const QString& name) {
  if (name.isEmpty() || name.contains(QLatin1Char('/'))) return nullptr;
  const int fd = ::shm_open(ObjectName(name).constData(), O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_size <= 0) {
    ::close(fd);
    return nullptr;
  }
  return MapAndClose(fd, static_cast<std::size_t>(info.st_size));
}

bool SharedMemory::Remove(const QString& name) {
  return ::shm_unlink(ObjectName(name).constData()) == 0;
}

SharedMemory::~SharedMemory() { ::munmap(m_address, m_size); }

}  // namespace tolmar::suite
