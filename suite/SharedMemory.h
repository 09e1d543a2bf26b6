#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tolmar::suite {

// A named POSIX shared memory object mapped into this process; the film
// hand-over "QV_KT_MFSwapFile" is one. The film program creates it, the
// viewer opens it.
class SharedMemory {
 public:
  static inline const QString kFilmSwapName = QStringLiteral("QV_KT_MFSwapFile");

  // Creates (or resizes an existing object to) size bytes, owner-only.
  static std::unique_ptr<SharedMemory> Create(const QString& name, std::size_t size);
  // Opens an existing object with its current size; null when there is none.
  static std::unique_ptr<SharedMemory> Open(const QString& name);
  // Removes the name; mappings stay valid until they are closed.
  static bool Remove(const QString& name);

  ~SharedMemory();
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  std::uint8_t* Data() { return static_cast<std::uint8_t*>(m_address); }
  const std::uint8_t* Data() const { return static_cast<const std::uint8_t*>(m_address); }
  std::size_t Size() const { return m_size; }

 private:
  SharedMemory(void* address, std::size_t size) : m_address(address), m_size(size) {}
  static std::unique_ptr<SharedMemory> MapAndClose(int fd, std::size_t size);

  void* m_address;
  std::size_t m_size;
};

}  // namespace tolmar::suite
