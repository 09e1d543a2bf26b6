#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "image/FrameMemory.h"

namespace tolmar {
namespace {

struct SizeCase {
  const char* name;
  size_t bytes;
};

class FrameMemorySizes : public ::testing::TestWithParam<SizeCase> {};

// Blocks of every kind of size keep their own bytes while their neighbours are
// written, and all the memory goes back once every block is freed, whatever
// the order.
TEST_P(FrameMemorySizes, BlocksStayApartAndAllGoBackWhenFreed) {
  const size_t bytes = GetParam().bytes;
  const size_t mappedBefore = FrameMemoryMapped();
  std::vector<uint8_t*> blocks;
  for (int i = 0; i < 11; ++i) {
    auto* block = static_cast<uint8_t*>(AllocateFrameMemory(bytes));
    std::memset(block, i + 1, bytes);
    blocks.push_back(block);
  }
  for (size_t i = 0; i < blocks.size(); ++i) {
    const uint8_t expected = static_cast<uint8_t>(i + 1);
    EXPECT_TRUE(std::all_of(blocks[i], blocks[i] + bytes, [&](uint8_t b) { return b == expected; }))
        << "block " << i;
  }
  std::shuffle(blocks.begin(), blocks.end(), std::mt19937(7));
  for (auto* block : blocks) FreeFrameMemory(block, bytes);
  EXPECT_EQ(FrameMemoryMapped(), mappedBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FrameMemorySizes,
    ::testing::Values(SizeCase{"SmallFromTheHeap", 1000}, SizeCase{"SmallestShared", 256 << 10},
                      SizeCase{"Ct512x512x16", 512 << 10}, SizeCase{"OddShared", 600 * 1000 + 3},
                      SizeCase{"LargestShared", 1 << 20}, SizeCase{"OwnMapping", (1 << 20) + 1},
                      SizeCase{"SeveralHugePages", 5 * 1000 * 1000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameMemory, AFreedBlockIsReusedAndSpansStartOnAHugePage) {
  constexpr size_t kFrame = 512 << 10;
  void* first = AllocateFrameMemory(kFrame);
  void* second = AllocateFrameMemory(kFrame);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(first) % (2 << 20), 0u)
      << "a span off a huge page boundary would fall back to small pages";
  FreeFrameMemory(first, kFrame);
  void* third = AllocateFrameMemory(kFrame);
  EXPECT_EQ(third, first) << "memory already touched is used again";
  FreeFrameMemory(second, kFrame);
  FreeFrameMemory(third, kFrame);
}

TEST(FrameBuffer, ComparesAndCopiesOutLikeAByteVector) {
  FrameBuffer frame(std::vector<uint8_t>(700 << 10, 3));
  const std::vector<uint8_t> copy = frame;
  EXPECT_TRUE(frame == copy);
  frame[5] = 4;
  EXPECT_FALSE(frame == copy);
  EXPECT_FALSE(FrameBuffer(std::vector<uint8_t>{1, 2}) == (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace tolmar
