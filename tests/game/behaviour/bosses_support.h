// Fixture of the boss tests: the behaviour application with a boss arena
// from the content kit, a hero standing in it, a test sprite whose every
// animation runs three one-step frames (so "animation done" comes on the
// third step), a step driver over the level pool and a state trace compared
// against golden text files (BRAMBLE_UPDATE_GOLDEN=1 rewrites them).
#pragma once

#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "tests/game/behaviour/core_support.h"

namespace bossestest {

class BossTest : public behaviourtest::BehaviourTest {
public:
    void SetUp() override;
    // Loads the arena of a boss type, puts the hero at (heroX, 431), sets
    // the camera limits to rectangle 50 and answers the boss (made from the
    // arena's record with id 100).
    cActor* arena(int bossType, jint heroX = 120);
    // A level actor from a record, with the test sprite.
    cActor* spawn(const std::vector<int16_t>& record);
    // One logic step of every pool actor but the hero (sprites given to
    // actors that have none), in pool order.
    void step();
    void steps(int n) {
        for (int i = 0; i < n; ++i) step();
    }
    // Steps until pred holds (at most limit steps); answers the steps taken
    // or -1.
    template <class P>
    int stepUntil(P pred, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (pred()) return i;
            step();
        }
        return pred() ? limit : -1;
    }
    // Marks a hero hit on the actor as the contact test does.
    void hit(cActor* a) { a->contactFlags |= 0x200000; }
    // The animation runs to its end.
    static void finishAnim(cActor* a);

    cActor* hero = nullptr;
    // The level end requested (the flow's own flag): 0 or 1.
    int levelEnds() const;
};

// Golden text comparison: tests/game/behaviour/golden/<name>.txt.
void expectGolden(const std::string& name, const std::string& text);

}  // namespace bossestest
