// Fixture of the hazard family's tests (header only): the behaviour
// fixture's application, a flat room, a hero, and actors of any type made
// from level records (their subtype row given the type and piece size).
#pragma once

#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/behaviour/behaviour.h"
#include "tests/game/behaviour/core_support.h"
#include "tests/game/world/support.h"
#include "game/data/statics.h"
#include "tools/kit/actortables.h"

namespace hazardtest {

using worldtest::LogCapture;
using worldtest::loadLevel;

// A room of columns x rows cells with a solid floor row and extra lines.
std::string room(int columns = 120, int rows = 20, const std::string& extra = "");

class HazardTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An actor of subtype with its row set to type (and piece size w x h),
    // made active. The subtype should be one whose demo row is plain: the
    // record is set up with the row's own type before the row is rewritten.
    cActor* make(int subtype, int type, int x, int y, int anim, const std::vector<int16_t>& params, int w = 32,
                 int h = 32, int flags = 0xA0);
    // n updates of the actor (physics, then its routine), frame clock
    // advancing with them.
    void step(cActor* a, int n = 1);
    // Live level actors of a subtype.
    int countSubtype(int subtype) const;

    cActor* hero = nullptr;
};

inline std::string room(int columns, int rows, const std::string& extra) {
    std::string s = "layer 4 " + std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (int r = 0; r < rows; ++r) s += std::string(static_cast<size_t>(columns), r == rows - 1 ? '6' : '.') + "\n";
    return s + extra;
}

inline void HazardTest::SetUp() {
    behaviourtest::startApplication();
    game::cg().playFrames = 0;
}

inline void HazardTest::TearDown() { behaviourtest::closeApplication(); }

inline cActor* HazardTest::make(int subtype, int type, int x, int y, int anim, const std::vector<int16_t>& params, int w,
                         int h, int flags) {
    cActor* a = worldtest::spawnRecord(kit::levelActorRecord(subtype, 100 + game::cg().actorCount, x, y, anim,
                                                             flags, params));
    if (!a) return nullptr;
    a->setTypeParam(5, type);
    a->setTypeParam(6, w);
    a->setTypeParam(7, h);
    a->type = type;
    if (a->box) cActor::setBox(a->box, x - w / 2, y - h, x + w / 2, y);
    if (!a->motion) a->allocMotionState();
    game::addActiveActor(a);
    return a;
}

inline void HazardTest::step(cActor* a, int n) {
    for (int i = 0; i < n; ++i) {
        a->update();
        game::cg().playFrames += 1;
    }
}

inline int HazardTest::countSubtype(int subtype) const {
    int n = 0;
    for (jint i = 0; i < game::cg().actorCount; ++i) {
        cActor* a = game::poolActor(i);
        if (a && a->subtype == subtype) ++n;
    }
    return n;
}

}  // namespace hazardtest
