// libFuzzer target: a progress record and a slot-1 text pack through the
// game's readers, then the menus and screens that show them (see
// screens_exercise.h for the input's layout).
#include <cstddef>
#include <cstdint>

#include "runtime/runtime.h"
#include "tests/game/flow/screens/screens_exercise.h"
#include "tests/game/flow/screens/support.h"

namespace {
class Host : public screenstest::ScreensTest {
public:
    void TestBody() override {}
    void start() { SetUp(); }
};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    static Host host;
    host.start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    screenstest::exerciseScreens(data, size);
    static unsigned runs = 0;
    if (++runs % 64 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}
