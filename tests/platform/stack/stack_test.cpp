// The stack base lies above every frame of its thread, main thread or not.
#include "platform/stack/stack.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

[[gnu::noinline]] bool baseAboveDeepFrame(int depth, char* outer) {
    volatile char here = 0;
    if (depth > 0) return baseAboveDeepFrame(depth - 1, outer);
    char* base = static_cast<char*>(platform::currentStackBase());
    return base && base > &here && base > outer && base - &here < (64 << 20);
}

TEST(StackBase, AboveEveryFrameOfItsThread) {
    volatile char local = 0;
    EXPECT_TRUE(baseAboveDeepFrame(20, const_cast<char*>(&local)));
    void* mainBase = platform::currentStackBase();
    void* otherBase = nullptr;
    bool otherOk = false;
    std::thread other([&] {
        volatile char inner = 0;
        otherBase = platform::currentStackBase();
        otherOk = baseAboveDeepFrame(5, const_cast<char*>(&inner));
    });
    other.join();
    EXPECT_TRUE(otherOk);
    EXPECT_NE(otherBase, mainBase);
}

}  // namespace
