#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tolmar {

// Memory for stored frames. Large blocks come from 2 MB huge pages: on the
// virtual machines this runs on, the first touch of every 4 KB page costs more
// than converting the pixels into it, and a series of a few hundred frames
// touches tens of thousands of pages. Blocks of one size are packed into shared
// spans of huge pages, so a 512 x 512 x 16-bit frame wastes nothing; a freed
// block is reused by the next frame of its size, and a span goes back to the
// system when its last block is freed. Small blocks stay with the ordinary heap.
// Safe from any thread.
void* AllocateFrameMemory(size_t bytes);
void FreeFrameMemory(void* block, size_t bytes) noexcept;
// Bytes held from the system for large blocks, in use or free (for tests).
size_t FrameMemoryMapped();

template <class T>
struct FrameAllocator {
  using value_type = T;
  FrameAllocator() noexcept = default;
  template <class U>
  FrameAllocator(const FrameAllocator<U>&) noexcept {}  // NOLINT: allocator rebinding
  T* allocate(size_t count) { return static_cast<T*>(AllocateFrameMemory(count * sizeof(T))); }
  void deallocate(T* block, size_t count) noexcept { FreeFrameMemory(block, count * sizeof(T)); }
  template <class U>
  bool operator==(const FrameAllocator<U>&) const noexcept {
    return true;
  }
};

// One stored frame: bytes like any vector, held in frame memory.
class FrameBuffer : public std::vector<uint8_t, FrameAllocator<uint8_t>> {
 public:
  using Base = std::vector<uint8_t, FrameAllocator<uint8_t>>;
  using Base::Base;
  FrameBuffer() = default;
  explicit FrameBuffer(std::span<const uint8_t> bytes) : Base(bytes.begin(), bytes.end()) {}

  operator std::vector<uint8_t>() const { return {begin(), end()}; }  // NOLINT: copies out
  friend bool operator==(const FrameBuffer& a, const std::vector<uint8_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
};

}  // namespace tolmar
