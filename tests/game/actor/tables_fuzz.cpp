// libFuzzer target: arbitrary bytes as the actor tables file, through the
// reader and, when it accepts them, through the parameter lookups, the
// programs and the factory.
#include <cstddef>
#include <cstdint>

#include "game/actor/tables.h"
#include "tests/game/actor/support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    actortest::startApplication();
    game::createActorPool();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace game;
    if (loadActorTables(std::span<const uint8_t>(data, size))) {
        jint sum = 0;
        for (jint row = 0; row < 276; ++row) {
            jint subtype = row < 273 ? row : (row == 273 ? 3003 : row == 274 ? 3010 : 3013);
            for (jint i = -1; i < 16; ++i) sum += cActor::getSubtypeParam(subtype, i);
        }
        for (jint p = 1; p <= 22; ++p)
            if (ObjectArray* program = aiProgram(p))
                for (jint s = 0; s < program->length(); ++s)
                    sum += static_cast<IntArray*>(program->data()[s])->length();
        for (jint subtype : {0, 5, 6, 165, 272, 3013}) {
            ShortArray* r = actortest::record(subtype, 1, 100, 100, 0, 0xA0, {1, 2, 3, 4, 5, 6, 7, 8});
            if (cActor* a = spawnActor(r, r->length(), 0)) {
                a->update();
                sum += a->posX;
            }
        }
        removeAllActors(false);
        (void)sum;
    }
    static unsigned runs = 0;
    if (++runs % 64 == 0) ObjectManager::instance()->gc(ObjectManager::kForced);
    return 0;
}
