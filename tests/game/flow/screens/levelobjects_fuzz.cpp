// libFuzzer target: arbitrary bytes as a level-object list through the scan
// and the resource requests.
#include <cstddef>
#include <cstdint>

#include "game/flow/screens/levelobjects.h"
#include "runtime/runtime.h"
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
    ByteArray* list = newByteArray(static_cast<jint>(size));
    for (size_t i = 0; i < size; ++i) list->data()[i] = static_cast<jbyte>(data[i]);
    game::loadLevelObjectAssets(list);
    static unsigned runs = 0;
    if (++runs % 256 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}
