// main() for GoogleTest programs that host an Application: the stack top of
// the main thread is recorded first, so the collector scans every test frame.
#include <gtest/gtest.h>

#include "runtime/application.h"

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
