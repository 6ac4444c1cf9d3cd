#include "services/platform/Memory.h"

#include <gtest/gtest.h>

#include <vector>

namespace sonvarro::platform {
namespace {

TEST(Memory, TrimsOnlyWhenEnoughWasFreedSinceTheLastTime) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator keeps freed memory to itself";
#else
  TrimFreedHeap();
  EXPECT_FALSE(TrimFreedHeap()) << "nothing freed since";
  // Freed blocks below the heap's top stay in its free lists: many small
  // blocks, with one kept at the end so the top does not shrink by itself.
  std::vector<char*> blocks;
  for (int i = 0; i < 1024; ++i) blocks.push_back(new char[4000]);
  char* keep = new char[16];
  for (char* block : blocks) delete[] block;
  EXPECT_TRUE(TrimFreedHeap());
  EXPECT_FALSE(TrimFreedHeap());
  delete[] keep;
#endif
}

}  // namespace
}  // namespace sonvarro::platform
