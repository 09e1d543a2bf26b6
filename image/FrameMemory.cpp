#include "FrameMemory.h"

#include <sys/mman.h>

#include <map>
#include <mutex>
#include <new>

namespace tolmar {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kSmallPage = 4096;
// Below this a block is a few pages at most and the heap serves it well.
constexpr size_t kLargeBlock = size_t{256} << 10;
// Blocks up to this size share spans; larger ones get a mapping of their own.
constexpr size_t kSharedBlockLimit = size_t{1} << 20;
constexpr size_t kBlockGranule = size_t{64} << 10;

size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

// A mapping whose start is aligned to a huge page, so that every whole 2 MB
// inside it can be one huge page.
void* MapAligned(size_t bytes) {
  const size_t reserve = bytes + kHugePage;
  void* raw = mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = RoundUp(start, kHugePage);
  if (aligned > start) munmap(raw, aligned - start);
  const uintptr_t end = start + reserve;
  if (end > aligned + bytes)
    munmap(reinterpret_cast<void*>(aligned + bytes), end - aligned - bytes);
  auto* block = reinterpret_cast<void*>(aligned);
  // Without transparent huge pages this fails and the mapping simply keeps small pages.
  madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}

// A span of huge pages cut into blocks of one size.
struct Span {
  size_t blockSize = 0;
  size_t bytes = 0;
  std::vector<uint32_t> freeBlocks;
  uint32_t used = 0;
};

// The span size for blocks of `blockSize`: the fewest huge pages that leave
// at most a sixteenth of the span unused.
size_t SpanBytesFor(size_t blockSize) {
  for (size_t pages = 1; pages < 8; ++pages) {
    const size_t bytes = pages * kHugePage;
    if (bytes % blockSize <= bytes / 16) return bytes;
  }
  return 8 * kHugePage;
}

class FramePool {
 public:
  void* Allocate(size_t bytes) {
    if (bytes > kSharedBlockLimit) {
      const size_t mapped = RoundUp(bytes, kSmallPage);
      void* block = MapAligned(mapped);
      if (!block) throw std::bad_alloc();
      std::lock_guard lock(m_mutex);
      m_mapped += mapped;
      return block;
    }
    const size_t blockSize = RoundUp(bytes, kBlockGranule);
    std::lock_guard lock(m_mutex);
    auto& open = m_openSpans[blockSize];
    if (open.empty()) {
      const size_t spanBytes = SpanBytesFor(blockSize);
      void* base = MapAligned(spanBytes);
      if (!base) throw std::bad_alloc();
      Span span;
      span.blockSize = blockSize;
      span.bytes = spanBytes;
      const auto count = static_cast<uint32_t>(spanBytes / blockSize);
      // Handed out from the front, so a half-used span touches only its first pages.
      for (uint32_t i = count; i-- > 0;) span.freeBlocks.push_back(i);
      m_spans.emplace(reinterpret_cast<uintptr_t>(base), std::move(span));
      m_mapped += spanBytes;
      open.push_back(reinterpret_cast<uintptr_t>(base));
    }
    const uintptr_t base = open.back();
    Span& span = m_spans.at(base);
    const uint32_t index = span.freeBlocks.back();
    span.freeBlocks.pop_back();
    ++span.used;
    if (span.freeBlocks.empty()) open.pop_back();
    return reinterpret_cast<void*>(base + index * span.blockSize);
  }

  void Free(void* block, size_t bytes) noexcept {
    if (bytes > kSharedBlockLimit) {
      const size_t mapped = RoundUp(bytes, kSmallPage);
      munmap(block, mapped);
      std::lock_guard lock(m_mutex);
      m_mapped -= mapped;
      return;
    }
    const auto address = reinterpret_cast<uintptr_t>(block);
    std::lock_guard lock(m_mutex);
    auto it = m_spans.upper_bound(address);
    if (it == m_spans.begin()) return;
    --it;
    Span& span = it->second;
    if (address >= it->first + span.bytes) return;
    const bool wasFull = span.freeBlocks.empty();
    span.freeBlocks.push_back(static_cast<uint32_t>((address - it->first) / span.blockSize));
    --span.used;
    auto& open = m_openSpans[span.blockSize];
    if (span.used == 0) {
      std::erase(open, it->first);
      munmap(reinterpret_cast<void*>(it->first), span.bytes);
      m_mapped -= span.bytes;
      m_spans.erase(it);
      return;
    }
    if (wasFull) open.push_back(it->first);
  }

  size_t Mapped() {
    std::lock_guard lock(m_mutex);
    return m_mapped;
  }

 private:
  std::mutex m_mutex;
  std::map<uintptr_t, Span> m_spans;                     // by start address
  std::map<size_t, std::vector<uintptr_t>> m_openSpans;  // spans with a free block, by block size
  size_t m_mapped = 0;
};

FramePool& Pool() {
  // Never destroyed: frames of static images may be freed after exit begins.
  static auto* pool = new FramePool;
  return *pool;
}

}  // namespace

void* AllocateFrameMemory(size_t bytes) {
  if (bytes < kLargeBlock) return ::operator new(bytes);
  return Pool().Allocate(bytes);
}

void FreeFrameMemory(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (bytes < kLargeBlock) {
    ::operator delete(block);
    return;
  }
  Pool().Free(block, bytes);
}

size_t FrameMemoryMapped() { return Pool().Mapped(); }

}  // namespace tolmar
