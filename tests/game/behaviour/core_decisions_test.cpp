// A decision the behaviours rely on from the level scripts: command 119
// naming no character leaves cGame.hero (which every behaviour step reads)
// as it was.
#include "game/behaviour/contact.h"
#include "game/behaviour/fields.h"
#include "game/world/scripts.h"
#include "tests/game/behaviour/core_support.h"

namespace {

using namespace game::behaviour;
using CoreDecisions = behaviourtest::BehaviourTest;

TEST_F(CoreDecisions, HeroSwitchToAnUnknownIdKeepsTheHero) {
    cActor* hero = behaviourtest::makeHero(300, 300);
    ASSERT_NE(hero, nullptr);
    ByteArray* record = newByteArray(4);
    record->data()[0] = 0x39;  // id 12345: no character slot holds it
    record->data()[1] = 0x30;
    record->data()[2] = 1;
    record->data()[3] = 0;
    worldtest::LogCapture log;
    game::world::execScriptCommand(119, record, 0, 0, 0);
    EXPECT_EQ(game::cg().hero, hero);
    EXPECT_TRUE(log.contains("119"));
    // The behaviours go on against the same hero.
    cActor* a = behaviourtest::spawnRecord({1, 70, 300, 400, 0, 0, 0xA0});
    cActor::setBox(a->box, 280, 300, 320, 400);
    classifyHeroContact(a);
    EXPECT_NE(a->contactFlags & (0x4 | 0x8 | 0x10 | 0x2000), 0);
}

}  // namespace
