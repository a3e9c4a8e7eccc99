// Replays of the block family's demo levels: each level runs headless
// through the in-game pass order (layer offsets, level objects, the active
// list, scripts, the actors' updates, the camera) with a fixed script of
// events, writes one trace record per step and compares it with its golden
// trace (tests/game/behaviour/golden/*.trace; BRAMBLE_UPDATE_GOLDEN=1
// rewrites them), reporting the first divergence. Invariants are checked
// every step: at most 200 pool actors, every cell byte of a block a valid
// state, the hero inside the map.
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;
namespace w = game::world;


struct Divergence {
    int step = -1;
    std::string expected, got;
};

int stepOf(const std::string& line) { return std::atoi(line.c_str()); }

// The first line where the traces differ, with its step.
bool firstDivergence(const std::vector<std::string>& expected, const std::vector<std::string>& got, Divergence& d) {
    const size_t n = std::min(expected.size(), got.size());
    for (size_t i = 0; i < n; ++i)
        if (expected[i] != got[i]) {
            d = {stepOf(expected[i]), expected[i], got[i]};
            return true;
        }
    if (expected.size() == got.size()) return false;
    d.step = n < expected.size() ? stepOf(expected[n]) : stepOf(got[n]);
    d.expected = n < expected.size() ? expected[n] : "(end)";
    d.got = n < got.size() ? got[n] : "(end)";
    return true;
}

class DemoReplay : public BlocksTest {
protected:

    cActor* byId(jint id) { return game::getActorById(id); }

    std::vector<std::string> run(const char* level, int steps, const std::function<void(int)>& events) {
        worldtest::loadLevel(level);
        hero = game::spawnActor(game::cg().recordValues, w::recordLength(0), 0);
        EXPECT_NE(hero, nullptr);
        game::cg().hero = hero;
        if (!hero->motion) hero->allocMotionState();
        hero->physicsFlags = 0x1000000 | 1;
        if (!hero->savedBox) hero->savedBox = newShortArray(4);
        game::initLevelVariables();
        game::setVariable(3, 5, false);
        game::setVariable(9, 10, false);
        game::cg().cameraFlags |= 64;  // the scripted scroll's flag: the dropper counts
        game::cg().scrollDelay = -1;
        w::resetCamera();
        std::vector<std::string> trace;
        std::set<jint> alive;
        for (int n = 0; n < steps; ++n) {
            // The scripted camera scroll runs throughout: the dropper counts.
            game::cg().cameraFlags |= 64;
            game::cg().scrollDelay = -1;
            events(n);
            w::updateLayerOffsets();
            w::updateLevelObjects();
            w::updateAllActors();
            if (w::isAnyScriptActive()) {
                w::runLevelScripts();
                w::resumeBlockedScript();
            }
            w::updateHeroFrame();
            w::updateCamera(1);
            record(n, trace, alive);
        }
        return trace;
    }

    void record(int n, std::vector<std::string>& trace, std::set<jint>& alive) {
        std::ostringstream h;
        h << n << " hero state=" << game::ca().heroState << " x=" << hero->posX << " y=" << hero->posY
          << " health=" << game::getVariable(3) << " lives=" << game::getVariable(5)
          << " pieces=" << game::getVariable(1) << " items=" << game::getVariable(0);
        trace.push_back(h.str());
        std::set<jint> now;
        for (jint i = 0; i < game::cg().activeActorCount; ++i) {
            cActor* a = game::activeActor(i);
            if (!a || a == hero) continue;
            std::ostringstream l;
            l << n << " actor id=" << a->uniqueId << " type=" << a->type << " sub=" << a->subtype << " ai=" << a->aiState
              << " x=" << a->posX << " y=" << a->posY << " anim=" << a->anim << " contact=" << b::contactFlags(a);
            if (a->type == 4) {
                l << " cells=";
                for (jint c = 0; c < b::tileBlockColumns(a); ++c)
                    for (jint r = 0; r < b::tileBlockRows(a); ++r) {
                        const jint v = b::tileBlockCell(a, c, r);
                        l << (v == -1 ? 'o' : v == -2 ? 'x' : v == -3 ? '-' : 'i');
                        // Invariant: every cell byte is a state of the block.
                        if (v < -3) ADD_FAILURE() << "step " << n << ": block " << a->uniqueId << " cell byte " << v;
                    }
            }
            if (a->type == 17) l << " carried=" << (b::carried(a) ? b::carried(a)->uniqueId : -1) << " point=" << b::counter(a);
            trace.push_back(l.str());
        }
        for (jint i = 0; i < game::cg().actorCount; ++i)
            if (cActor* a = game::poolActor(i)) now.insert(a->uniqueId);
        for (jint id : now)
            if (!alive.count(id) && n > 0) trace.push_back(std::to_string(n) + " spawn id=" + std::to_string(id));
        for (jint id : alive)
            if (!now.count(id)) trace.push_back(std::to_string(n) + " remove id=" + std::to_string(id));
        alive = now;
        // Invariants of every step.
        if (game::cg().actorCount > game::kActorPoolSize) ADD_FAILURE() << "step " << n << ": pool over 200";
        if (hero->posX < 0 || hero->posX > game::cg().mapPixelWidth)
            ADD_FAILURE() << "step " << n << ": hero outside the map at x " << hero->posX;
    }

    void compareWithGolden(const std::string& name, const std::vector<std::string>& trace) {
        const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
        const std::string path = std::string(root ? root : ".") + "/tests/game/behaviour/golden/" + name + ".trace";
        const char* update = std::getenv("BRAMBLE_UPDATE_GOLDEN");
        if (update && std::string(update) == "1") {
            std::ofstream out(path);
            for (const std::string& l : trace) out << l << "\n";
            return;
        }
        std::ifstream in(path);
        ASSERT_TRUE(in) << "missing golden " << path << " (BRAMBLE_UPDATE_GOLDEN=1 writes it)";
        std::vector<std::string> golden;
        for (std::string l; std::getline(in, l);) golden.push_back(l);
        Divergence d;
        if (firstDivergence(golden, trace, d))
            ADD_FAILURE() << "first divergence at step " << d.step << "\n  expected: " << d.expected
                          << "\n  got:      " << d.got;
    }

};

TEST(BlocksDemoTrace, FirstDivergenceNamesTheStepAndBothLines) {
    const std::vector<std::string> a = {"0 hero x=1", "1 hero x=2", "1 actor id=3"};
    Divergence d;
    EXPECT_FALSE(firstDivergence(a, a, d));
    auto b = a;
    b[1] = "1 hero x=5";
    ASSERT_TRUE(firstDivergence(a, b, d));
    EXPECT_EQ(d.step, 1);
    EXPECT_EQ(d.got, "1 hero x=5");
    b = a;
    b.pop_back();
    ASSERT_TRUE(firstDivergence(a, b, d));
    EXPECT_EQ(d.got, "(end)");
}

TEST_F(DemoReplay, BlocksLevel) {
    const std::vector<std::string> trace = run(kit::kDemoBlocksLevel, 90, [&](int n) {
        switch (n) {
        case 5:
            // The ram is launched into the wall: physics with dynamic cells on.
            if (cActor* ram = byId(14)) {
                if (!ram->motion) ram->allocMotionState();
                b::physicsFlags(ram) = 0x1008000;
                ram->setVelocityLimitsX(-4096, 4096);
                ram->motion->data()[2] = 2048;
            }
            break;
        case 20:
            if (cActor* crate = byId(10)) b::breakTileBlockCell(crate, 0, 1, 15);  // (0, 0) settles after
            break;
        case 30:
            if (cActor* crate = byId(10)) b::breakTileBlockCell(crate, 1, 0, 15);  // the hidden item comes out
            break;
        case 40:
            if (cActor* gaps = byId(13)) {
                b::breakTileBlockCell(gaps, 2, 0, -1);
                b::breakTileBlockCell(gaps, 3, 0, -1);
            }
            break;
        default: break;
        }
    });
    compareWithGolden("demo_blocks", trace);
    // What the level must show, whatever the trace: the crate's layout and
    // its hidden item out, the wall broken by the ram, the chain over.
    cActor* crate = byId(10);
    ASSERT_NE(crate, nullptr);
    EXPECT_EQ(crate->box->data()[0], 82);
    EXPECT_EQ(b::tileBlockCell(crate, 0, 0), b::kCellStruck);
    EXPECT_EQ(b::tileBlockCell(crate, 1, 0), b::kCellStruck);
    cActor* wall = byId(11);
    ASSERT_NE(wall, nullptr);
    jint struck = 0;
    for (jint r = 0; r < 4; ++r) struck += b::tileBlockCell(wall, 0, r) == b::kCellStruck;
    EXPECT_GE(struck, 1);
    EXPECT_EQ(wall->aiState, 2);
}

TEST_F(DemoReplay, ItemsLevel) {
    const std::vector<std::string> trace = run(kit::kDemoItemsLevel, 120, [&](int n) {
        switch (n) {
        case 1:
            // The hero stands between the pushers, which have it as rider.
            hero->posX = 520;
            for (jint id : {30, 31})
                if (cActor* p = byId(id)) b::carried(p) = hero;
            break;
        case 2: w::startScript(w::findScriptById(3)); break;  // command 105 wakes the carrier
        case 10:
        case 12:
        case 14:
        case 16:
            // The held-item hand-over of the PICKUP state, one item at a time.
            if (cActor* it = byId(20 + (n - 10) / 2)) b::checkPickup(it, 0);
            break;
        default: break;
        }
    });
    compareWithGolden("demo_items", trace);
    cActor* carrier = byId(32);
    ASSERT_NE(carrier, nullptr);
    EXPECT_EQ(carrier->aiState, 7);
    EXPECT_GE(b::counter(carrier), 1);  // at least one drop along path 0
}

}  // namespace
