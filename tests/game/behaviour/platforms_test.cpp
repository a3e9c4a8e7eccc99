// The platform family against hand-computed values: the chain's phase,
// reversal and catching, the hero drivers' variables, the push zone, the
// flying holder's hold time, the scale item's seconds, the crusher's kill
// line and the trigger's entry and exit conditions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/routines.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/actor/levels.h"
#include "runtime/statics.h"
#include "runtime/stringpool.h"
#include "runtime/string.h"
#include "tests/game/behaviour/core_support.h"
#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"
#include "tools/kit/stringpool.h"

namespace {

using namespace game::behaviour;
using behaviourtest::BehaviourTest;

// An open room, 40 x 20 cells, floor on the last row.
std::string room(const std::string& extra = "") {
    std::string s = "layer 4 40 20\n";
    for (int r = 0; r < 19; ++r) s += std::string(40, '.') + "\n";
    s += std::string(40, '6') + "\n";
    return s + extra;
}

class PlatformTest : public BehaviourTest {
protected:
    void SetUp() override {
        BehaviourTest::SetUp();
        behaviourtest::loadLevel(room(scripts));
        hero = behaviourtest::makeHero(600, 400);
        game::setVariable(3, 5, false);
        heroState() = 0;
    }
    // A level actor of the given type at (x, y) with a 40 x 40 box over its
    // foot point and the given parameters, in AI state 0.
    cActor* make(jint type, jint x, jint y, std::vector<int16_t> params, jint subtype = 2) {
        cActor* a = behaviourtest::spawnRecord(kit::levelActorRecord(subtype, nextId++, x, y, 0, 0xA0, {}));
        a->type = type;
        a->subtype = subtype;
        ShortArray* p = newShortArray(static_cast<jint>(params.size()));
        for (size_t i = 0; i < params.size(); ++i) p->data()[i] = params[i];
        a->params = p;
        a->aiState = 0;
        a->setPosition(x, y);
        if (a->motion) a->allocMotionState();
        cActor::setBox(a->box, x - 20, y - 40, x + 20, y);
        return a;
    }
    void placeHero(jint x, jint y) {
        hero->setPosition(x, y);
        hero->allocMotionState();
        cActor::setBox(hero->box, x - 17, y - 85, x + 17, y);
    }
    std::string scripts;
    cActor* hero = nullptr;
    jint nextId = 500;
};

// --- swinging chain -----------------------------------------------------------------

TEST_F(PlatformTest, ATurningChainGoesRoundAt12DegreesAStepAndNeverReverses) {
    cActor* c = make(52, 200, 100, {3, 0});
    placeHero(1200, 400);
    updateType52(c);  // set-up; the ease-in counter is 0: the phase stays
    EXPECT_EQ(c->parts->data()[1], 0);
    for (jint step = 1; step <= 40; ++step) {
        updateType52(c);
        ASSERT_EQ(c->aiState, 2) << step;
        ASSERT_EQ(c->parts->data()[1], (step * 3072) % 92160) << step;
    }
}

TEST_F(PlatformTest, ASwingingChainReversesAt150DegreesThenEasesInAt6DegreesAStep) {
    cActor* c = make(52, 200, 100, {3, 5});
    placeHero(1200, 400);
    updateType52(c);
    jint steps = 0;
    while (c->aiState == 2 && steps < 100) {
        updateType52(c);
        ++steps;
    }
    ASSERT_EQ(c->aiState, 4);
    EXPECT_EQ(steps, 14);  // 13 x 3072 = 39936 >= 38400 reverses on the 14th step
    EXPECT_EQ(c->params->data()[1], -5);
    std::vector<jint> phases;
    for (int i = 0; i < 6; ++i) {
        updateType52(c);
        phases.push_back(c->parts->data()[1]);
    }
    EXPECT_EQ(phases, (std::vector<jint>{1536, 3072, 4608, 6144, 6144, 9216}));
}

TEST_F(PlatformTest, ChainsCatchTheHeroByAnyLinkButMode1OnlyByTheLast) {
    struct Case {
        jint subtype, mode;
        bool caught;
    } cases[] = {{2, 0, true}, {201, 1, false}};
    for (const Case& k : cases) {
        heroState() = 0;
        cActor* c = make(52, 300, 100, {3, 5, static_cast<int16_t>(k.mode)}, k.subtype);
        placeHero(300, 110);  // over link 0 only
        updateType52(c);
        EXPECT_EQ(heroState() == 33, k.caught) << k.subtype;
        if (k.caught) {
            EXPECT_EQ(heroChain(), c);
            EXPECT_EQ(c->parts->data()[0], 0);
        }
        game::removeActor(c, false);
    }
    // Mode 1 catches by the last link and swings harder from then on.
    heroState() = 0;
    cActor* c = make(52, 300, 100, {3, 5, 1}, 201);
    placeHero(300, 200);
    updateType52(c);
    EXPECT_EQ(heroState(), 33);
    EXPECT_EQ(c->parts->data()[0], 2 << 8);
    EXPECT_EQ(swingBoost(c), 128);
    EXPECT_EQ(c->params->data()[1], -1);
}

TEST_F(PlatformTest, AChainWithoutLinksOrWithTooManyStaysInert) {
    for (int16_t n : {0, -3, 65, 3000}) {
        cActor* c = make(52, 300, 100, {n, 5});
        updateType52(c);
        EXPECT_EQ(c->aiState, 30) << n;
        EXPECT_EQ(c->parts, nullptr) << n;
        updateType52(c);
        game::removeActor(c, false);
    }
}

// --- hero carriers and push zones -----------------------------------------------------

TEST_F(PlatformTest, AHeroOnTheBarsClampedTargetHangsStraightAndKeepsItsFacing) {
    cActor* bar = make(61, 500, 300, {});
    cActor::setBox(bar->box, 400, 280, 600, 300);
    placeHero(450, 420);
    cActor::setFacing(hero, 1);
    driveHeroType61(bar);
    IntArray* v = heroStateVars();
    EXPECT_EQ(v->data()[0], 76);
    EXPECT_EQ(hero->facing, 1);
    EXPECT_EQ(v->data()[2], 450);
    EXPECT_EQ(v->data()[3], 433);
    EXPECT_EQ(v->data()[7], 428);
    EXPECT_EQ(v->data()[8], 572);
    EXPECT_EQ(hero->posY, 433);
    EXPECT_EQ(heroState(), 21);
    // Left of the clamp: moves right, facing 0, speed over one frame (no
    // sprite: the animation counts as one frame).
    placeHero(410, 420);
    driveHeroType61(bar);
    EXPECT_EQ(v->data()[0], 75);
    EXPECT_EQ(hero->facing, 0);
    EXPECT_EQ(v->data()[6], 18);
}

TEST_F(PlatformTest, ARampPlacesAHeroAtItsXNinetyPixelsBelowIt) {
    cActor* ramp = make(64, 500, 300, {});
    placeHero(500, 420);
    launchHeroType64(ramp);
    EXPECT_EQ(hero->posY, 390);
    EXPECT_EQ(heroState(), 9);
    EXPECT_EQ(heroStateVars()->data()[4], 480);
    EXPECT_EQ(heroStateVars()->data()[5], 520);
    placeHero(540, 420);
    launchHeroType64(ramp);
    EXPECT_EQ(hero->posY, 400);  // d = 40 / 4
}

TEST_F(PlatformTest, APushZonePushesByItsDirectionAndAlwaysHoldsTheHero) {
    struct Case {
        int16_t dir;
        jint ax, ay;
    } cases[] = {{0, 0, -128}, {1, 0, 128}, {2, -128, 0}, {3, 128, 0}, {7, 0, 0}};
    for (const Case& k : cases) {
        heroState() = 0;
        cActor* z = make(53, 600, 400, {k.dir});
        placeHero(600, 400);
        hero->motion->data()[0] = hero->motion->data()[1] = 0;
        updateType53(z);
        EXPECT_EQ(hero->motion->data()[0], k.ax) << k.dir;
        EXPECT_EQ(hero->motion->data()[1], k.ay) << k.dir;
        EXPECT_EQ(heroState(), 34) << k.dir;
        game::removeActor(z, false);
    }
}

// --- flying holder and scale item -------------------------------------------------------

TEST_F(PlatformTest, AHolderWithoutHoldTimeGoesOnFirstTouchAndOneSecondHolds16Steps) {
    cActor* once = make(58, 600, 400, {-1});
    placeHero(600, 400);
    updateType58(once);
    updateType58(once);
    EXPECT_EQ(heroState(), 32);
    EXPECT_EQ(game::getActorById(once->uniqueId), nullptr);

    heroState() = 0;
    cActor* hold = make(58, 600, 400, {1000});
    updateType58(hold);
    updateType58(hold);
    ASSERT_EQ(hold->aiState, 23);
    jint steps = 0;
    while (hold->aiState == 23 && steps < 100) {
        updateType58(hold);
        ++steps;
    }
    EXPECT_EQ(steps, 16);
}

TEST_F(PlatformTest, SecondsLeftRoundUpAndAnItemForOneUseVanishesWhenTheScaleReturns) {
    cActor* item = make(39, 600, 400, {150, 1100});
    placeHero(600, 400);
    updateType39(item);
    updateType39(item);
    ASSERT_EQ(item->aiState, 23);
    EXPECT_EQ(counter(item), 18);  // (1100 x 16 + 500) / 1000
    std::vector<jint> shown;
    for (int i = 0; i < 3; ++i) {
        updateType39(item);
        shown.push_back(scaleSecondsLeft());
    }
    // 18 and 17 steps left show 2 s; 16 shows 1 s.
    EXPECT_EQ(shown, (std::vector<jint>{2, 2, 1}));

    game::removeActor(item, false);

    cActor* once = make(39, 700, 400, {150, -1});
    placeHero(700, 400);
    updateType39(once);
    updateType39(once);
    updateType39(once);
    EXPECT_EQ(game::getActorById(once->uniqueId), nullptr);
}

// A scale item is used once: a hero who stays on it gets one change to the
// item's scale and one back, and the seconds shown run down to 0 and stay.
TEST_F(PlatformTest, AScaleItemChangesTheScaleOnceEvenWithTheHeroStayingOnIt) {
    cActor* item = make(39, 600, 400, {150, 200});  // 200 ms: 3 steps
    placeHero(600, 400);
    game::cGameStatics& g = game::cg();
    ObjectArray* slots = newObjectArray(cid::cActor, 3);
    g.characterSlots = slots;
    ObjectArray::set(g.characterSlots, 0, hero);
    std::vector<jint> tweens;
    std::vector<jint> shown;
    for (int i = 0; i < 40; ++i) {
        for (jint k = 0; k < 5; ++k) g.tweenSlots->data()[k] = -1;
        const bool counting = item->aiState == 23;
        updateType39(item);
        if (counting) shown.push_back(scaleSecondsLeft());
        for (jint k = 0; k < 5; ++k)
            if (g.tweenSlots->data()[k] >= 0 && g.tweenActors->data()[k] == hero) tweens.push_back(g.tweenTo->data()[k]);
    }
    EXPECT_EQ(tweens, (std::vector<jint>{150, 100})) << "one change and one back";
    EXPECT_EQ(item->aiState, 23);
    ASSERT_GE(shown.size(), 5u);
    EXPECT_EQ((std::vector<jint>{shown[0], shown[1], shown[2], shown[3]}), (std::vector<jint>{1, 1, 1, 0}));
    EXPECT_EQ(shown.back(), 0);
}

// --- crusher and trigger ------------------------------------------------------------------

TEST_F(PlatformTest, ACrusherKillsOnlyAHeroMoreThan20PixelsBelowItsTop) {
    struct Case {
        jint heroY;
        bool killed;
    } cases[] = {{400, true}, {379, true}, {378, false}, {361, false}};
    for (const Case& k : cases) {
        game::setVariable(3, 5, false);
        cActor* c = make(55, 600, 400, {30});
        cActor::setBox(c->box, 560, 358, 640, 400);  // top 358: the line is y > 378
        placeHero(600, k.heroY);
        updateType55(c);
        EXPECT_EQ(game::getVariable(3) == 0, k.killed) << k.heroY;
        game::removeActor(c, false);
    }
}

class TriggerTest : public PlatformTest {
protected:
    void SetUp() override {
        scripts = "script 1\n target none\n  key 0\n   op 116 3 1000\n  key 1\n";
        PlatformTest::SetUp();
    }
    // Steps the trigger with the hero inside or outside; whether it fired.
    bool step(cActor* t, bool inside) {
        placeHero(inside ? 600 : 900, 400);
        const bool before = game::world::isAnyScriptActive();
        updateType10(t);
        const bool fired = !before && game::world::isAnyScriptActive();
        if (fired) {
            game::world::endAllLevelScripts();
            updateType10(t);  // re-armed once the script is over
        }
        return fired;
    }
};

TEST_F(TriggerTest, EnteringFiresOncePerEntryAndLeavingOncePerExit) {
    cActor* enter = make(10, 600, 400, {0, 0, 5, 0, 0, 0});
    cActor::setBox(enter->box, 550, 300, 650, 420);
    std::vector<bool> in = {false, true, true, true, false, true};
    std::vector<bool> got;
    for (bool i : in) got.push_back(step(enter, i));
    EXPECT_EQ(got, (std::vector<bool>{false, true, false, false, false, true}));

    cActor* leave = make(10, 600, 400, {0, 0, 4, 0, 0, 0});
    cActor::setBox(leave->box, 550, 300, 650, 420);
    game::removeActor(enter, false);
    got.clear();
    for (bool i : in) got.push_back(step(leave, i));
    EXPECT_EQ(got, (std::vector<bool>{false, false, false, false, true, false}));
}

// Condition 8 fires on a tap in the box; the trigger the hero stands in
// uses the tap up wherever it lies. Condition 9 does the same with the
// pickup point. A hero outside leaves both alone.
TEST_F(TriggerTest, ATapIsConsumedByTheTriggerTheHeroStandsInAndATriggerWithoutScriptNeverFires) {
    struct Case {
        jint condition;
        bool inside;
        jint x, y;
        bool fires, consumed;
    };
    const Case cases[] = {
        {8, true, 700, 350, false, true},  {8, true, 600, 350, true, true},   {8, false, 600, 350, false, false},
        {8, false, 700, 350, false, false}, {9, true, 700, 350, false, true}, {9, true, 600, 350, true, true},
        {9, false, 600, 350, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "condition " << c.condition << " inside " << c.inside << " x " << c.x);
        cActor* t = make(10, 600, 400, {0, 0, static_cast<int16_t>(c.condition), 0, 0, 0});
        cActor::setBox(t->box, 550, 300, 650, 420);
        jint& px = c.condition == 8 ? game::cg().tapX : pickupOriginX();
        jint& py = c.condition == 8 ? game::cg().tapY : pickupOriginY();
        px = c.x;
        py = c.y;
        EXPECT_EQ(step(t, c.inside), c.fires);
        EXPECT_EQ(px, c.consumed ? -1 : c.x);
        EXPECT_EQ(py, c.consumed ? -1 : c.y);
        game::removeActor(t, false);
    }

    cActor* none = make(10, 600, 400, {0, 0, 0, -1, 0, 0});
    cActor::setBox(none->box, 550, 300, 650, 420);
    EXPECT_FALSE(step(none, true));
    EXPECT_EQ(none->aiState, 0);
}

}  // namespace

namespace {

// --- containers and the checkpoint marker -------------------------------------------------

class ContainerTest : public PlatformTest {
protected:
    // Item id 77 of the given kind and sub-kind, value 9, animation 3.
    jint addItem(jint kind, jint sub) {
        const jint v[9] = {600, 400, 0, kind, sub, 9, 0, 0, 3};
        const jint index = game::addLevelItem(v, 77);
        game::cg().tileAttributes = newByteArray(8);
        return index;
    }
};

TEST_F(ContainerTest, AContainerWhoseItemIsTakenStartsOpenAndReleasesNothing) {
    const jint index = addItem(2, 1);
    ASSERT_GE(index, 0);
    game::cg().tileAttributes->data()[index] = 1;  // taken on an earlier visit
    cActor* box = make(44, 600, 400, {77, 20, 20, 0, 0});
    updateType44(box);
    EXPECT_EQ(box->aiState, 37);
    EXPECT_EQ(box->anim, 2);
    const jint before = game::cg().actorCount;
    box->aiState = 6;
    box->animTicks = 2;
    updateType44(box);
    EXPECT_EQ(game::cg().actorCount, before);
}

TEST_F(ContainerTest, AnItemOfKind2SubKind8IsReleasedAtScale150FlyingToTheHero) {
    const jint index = addItem(2, 8);
    cActor* box = make(44, 600, 400, {77, 20, 20, 0, 0});
    updateType44(box);
    ASSERT_EQ(box->aiState, 2);
    EXPECT_EQ(box->params->data()[0], index);
    const jint before = game::cg().actorCount;
    box->aiState = 6;
    box->animTicks = 2;
    // The opening writes text 77 of the string pool to the standard output.
    kit::StringPool texts = kit::demoStringPool();
    kit::setPoolEntry(texts, 77, "container opened");
    const kit::Bytes pool = kit::encodeStringPool(texts);
    rt::loadStringPool(*StaticClass::instance(), pool.data(), pool.size());
    const std::string text = "container opened";
    testing::internal::CaptureStdout();
    updateType44(box);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), text + "\n");
    ASSERT_EQ(game::cg().actorCount, before + 1);
    cActor* item = game::poolActor(game::cg().actorCount - 1);
    EXPECT_EQ(item->scale, 150);
    EXPECT_EQ(item->aiState, 19);
    EXPECT_EQ(item->recordIndex, index | 0x2000000);
    EXPECT_EQ(item->posY, 260);
    // Once the opening is over the item (index 0) counts as taken.
    box->animPasses = 1;
    box->frame = box->frameTick = 0;
    box->animTicks = 5;
    updateType44(box);
    EXPECT_EQ(box->aiState, 37);
    EXPECT_EQ(game::cg().tileAttributes->data()[index] & 15, 1);
}

TEST_F(ContainerTest, ACheckpointLitOnAnEarlierVisitStartsLitAndDoesNotSetItAgain) {
    game::cg().tileAttributes = newByteArray(8);
    cActor* mark = make(12, 600, 400, {});
    mark->recordIndex = 3;
    game::world::setTileAttribute(3, 2, true);
    game::cg().checkpointTimer = 0;
    updateType12(mark);
    EXPECT_EQ(mark->aiState, 6);
    EXPECT_EQ(mark->anim, 2);
    placeHero(600, 400);
    updateType12(mark);
    EXPECT_EQ(game::cg().checkpointTimer, 0);

    cActor* fresh = make(12, 700, 400, {});
    fresh->recordIndex = 4;
    updateType12(fresh);
    EXPECT_EQ(fresh->aiState, 2);
    placeHero(700, 400);
    updateType12(fresh);
    EXPECT_EQ(fresh->aiState, 6);
    EXPECT_EQ(game::cg().checkpointTimer, 64);
    EXPECT_EQ(game::world::getTileAttribute(4, 15) & 15, 2);
}

// --- the carryable item --------------------------------------------------------------------

TEST_F(PlatformTest, AThrownItemThatMeetsNothingBreaks225PixelsFromWhereItWasThrown) {
    cActor* pot = make(2, 300, 200, {0, 0, 0}, 13);
    pot->allocMotionState();
    pot->aiState = 5;
    originX(pot) = 300;
    mountActor() = nullptr;
    collisionResult() = 0;
    for (jint x : {300, 400, 524}) {
        pot->setPosition(x, 200);
        updateType2(pot);
        ASSERT_EQ(pot->type, 2) << x;
        ASSERT_EQ(pot->aiState, 5) << x;
    }
    pot->setPosition(525, 200);
    updateType2(pot);
    EXPECT_TRUE(pot->type != 2 || pot->aiState != 5);
}

// A dropped item falls with ground stick on, so every grounded step reports
// the landed bit with the ground contact: it still lands (and rests in AI
// state 18, where the pickup test runs); only its own dash-contact bit holds
// the landing back, and an item out of view does not land.
TEST_F(PlatformTest, AFallingItemLandsOnGroundContactEvenWithTheLandedBitSet) {
    struct Case {
        const char* what;
        jint result, contact, viewRating, state;
    };
    const Case cases[] = {
        {"grounded with stick (landed bit set)", 8 | 0x100000 | 1, 0, 0, 18},
        {"ground contact alone", 8, 0, 0, 18},
        {"still in the air", 0, 0, 0, 28},
        {"dashed into", 8 | 0x100000, 0x100000, 0, 28},
        {"out of view", 8 | 0x100000, 0, 2, 28},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cActor* item = make(2, 300, 700, {0, 0, -1}, 198);
        item->aiState = 27;
        placeHero(1200, 700);
        updateType2(item);  // 27: motion state and stick, then falling
        ASSERT_EQ(item->aiState, 28);
        collisionResult() = c.result;
        contactFlags(item) = c.contact;
        item->viewRating = c.viewRating;
        updateType2(item);
        EXPECT_EQ(item->type, 2);
        EXPECT_EQ(item->aiState, c.state);
    }
}

// A thrown-off item (AI state 25) falls through everything until its effect
// has played; when the effect can never play it still ends once it is
// below the map instead of falling for good.
TEST_F(PlatformTest, AThrownOffItemWhoseEffectNeverEndsIsRemovedBelowTheMap) {
    cActor* item = make(2, 300, 700, {1, 0, 0}, 198);
    const jint id = item->uniqueId;
    item->aiState = 25;
    cActor::spawnChild(item, nullptr, 3, 0, 300, 700, 11, 0xE000);
    ASSERT_NE(item->child, nullptr);
    ASSERT_FALSE(item->isChildFinished());
    updateType2(item);
    ASSERT_EQ(game::getActorById(id), item) << "inside the map it waits for its effect";
    EXPECT_EQ(item->aiState, 25);
    item->setPosition(300, game::cg().mapPixelHeight + 1);
    updateType2(item);
    EXPECT_EQ(game::getActorById(id), nullptr);
}

}  // namespace
