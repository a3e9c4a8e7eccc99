// Fuzz target of the level scripts: any bytes are checked as a script
// table, loaded (or refused), every script started, and 100 runner frames
// run on a small level with a hero and two actors. Nothing may read
// outside the tables, hang or crash.
#include "game/world/scripts.h"
#include "runtime/application.h"
#include "game/world/tables.h"
#include "tests/game/world/support.h"

namespace {

void setUp() {
    worldtest::startApplication();
    std::string level = "layer 4 40 12\n";
    for (int r = 0; r < 12; ++r) level += std::string(40, r == 11 ? '6' : '.') + "\n";
    level += "object 1 7 300 300 1 0 160 4 4\nobject 1 8 500 300 1 0 160 4 4\n";
    worldtest::loadLevel(level);
    worldtest::makeHero(200, 396);
    game::spawnActor(game::cg().recordValues, 9, 0);
    game::spawnActor(game::cg().recordValues, 9, 9);
}

}  // namespace

// The application starts from the driver's set-up call, so the recorded
// stack top lies above every frame the fuzzing loop runs in (the collector
// scans the stack from there).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    BRAMBLE_RECORD_STACK_TOP();
    setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    // The check alone first: a table it takes has every record inside the bytes.
    std::vector<game::ScriptShape> shape;
    if (game::checkScriptTable(game::ByteView(data, size), &shape, &error))
        for (const game::ScriptShape& s : shape)
            for (const game::ScriptRecordShape& r : s.records)
                if (r.start < 0 || r.length < r.firstKeyframe || static_cast<size_t>(r.start + r.length) > size)
                    __builtin_trap();
    game::world::loadLevelRecords(worldtest::javaBytes(kit::Bytes(data, data + size)));
    for (jint i = 0; i < game::world::scriptCount(); ++i) game::world::startScript(i);
    for (int frame = 0; frame < 100; ++frame) {
        game::world::runLevelScripts();
        game::world::resumeBlockedScript();
        if (game::cg().scriptBlocked) game::world::endScriptWait();
    }
    game::world::endAllLevelScripts();
    return 0;
}
