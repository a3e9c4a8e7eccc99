// Replays of the platform family's demo levels through the headless step
// driver: each level as the kit writes it (a "file:" level), fixed seed,
// scripted keys, one trace record per step compared with a golden trace
// (tests/game/behaviour/golden/*.trace, first divergence reported;
// BRAMBLE_UPDATE_GOLDEN=1 rewrites them), the driver's invariants checked
// every step, and a few facts of the behaviours asserted on the run. The
// damaged variants run without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "game/actor/hero.h"
#include "game/actor/pool.h"
#include "game/behaviour/fields.h"
#include "game/actor/actor.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/bytes.h"
#include "tools/kit/demo_platforms.h"

namespace {

namespace b = game::behaviour;
namespace st = kit::platform_subtypes;

// Writes the level text where the driver reads "file:" levels from.
std::string levelFile(const std::string& name, const std::string& text) {
    const std::string path = name + ".lvl";
    kit::writeFile(path, kit::Bytes(text.begin(), text.end()));
    return "file:" + path;
}

std::string field(const std::string& line, const std::string& name) {
    const std::string key = " " + name + "=";
    const size_t at = line.find(key);
    if (at == std::string::npos) return {};
    const size_t from = at + key.size();
    return line.substr(from, line.find(' ', from) - from);
}
int intField(const std::string& line, const std::string& name) { return std::atoi(field(line, name).c_str()); }

bool isStep(const std::string& line, const char* kind) {
    const size_t sp = line.find(' ');
    return sp != std::string::npos && line.compare(sp + 1, std::string(kind).size() + 1, std::string(kind) + " ") == 0;
}

// The hero's state by step, and each traced actor's lines by id.
std::vector<int> heroStates(const std::vector<std::string>& trace) {
    std::vector<int> out;
    for (const std::string& l : trace)
        if (isStep(l, "hero")) out.push_back(intField(l, "state"));
    return out;
}
std::vector<std::string> actorLines(const std::vector<std::string>& trace, int id) {
    std::vector<std::string> out;
    for (const std::string& l : trace)
        if (isStep(l, "actor") && intField(l, "id") == id) out.push_back(l);
    return out;
}

void compareWithGolden(const std::string& name, const std::vector<std::string>& trace) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::string path = std::string(root) + "/tests/game/behaviour/golden/" + name + ".trace";
    const std::string diff = stepdriver::checkGoldenTrace(path, trace);
    EXPECT_TRUE(diff.empty()) << name << ": " << diff;
}

cActor* actorById(jint id) {
    for (jint i = 0; i < game::cg().actorCount; ++i)
        if (cActor* a = game::poolActor(i); a && a->uniqueId == id) return a;
    return nullptr;
}

// The carriers run: after each catch the hero lets go (a leap off a chain,
// crouching off the rider and the bar) and walks on.
const char* const kCarrierKeys = R"(5 down right
# jump into the swinging chain, leap off it to the right
38 down 3
48 up 3
49 down right
56 down 3
64 up 3
65 down right
# jump onto the last link of the mode-1 chain, leap off
79 down 3
89 up 3
90 down right
110 down 3
118 up 3
119 down right
# jump up to the rider, ride it to its end, crouch off
132 down 3
142 up 3
143 down right
168 down down
172 up down
173 down right
# the ramp launches the hero, the push zone lifts it to the bar; crouch off
265 down down
269 up down
270 down right
)";

TEST(PlatformReplay, CarriersLevel) {
    stepdriver::Options o;
    o.level = levelFile("carriers", kit::demoCarriersLevel());
    o.steps = 330;
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript(kCarrierKeys, o.input, error)) << error;
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;

    // The hero took every carrier in turn: the swinging chain and the mode-1
    // chain (OPERATE 33), the rider (BORNE 39), the ramp (LAUNCHED 9), the
    // push zone (UPDRAFT 34) and the bar (TOWED 21), in that order.
    std::vector<int> order;
    int previous = -1;
    for (int s : heroStates(run.trace)) {
        if (s != previous && (s == 33 || s == 39 || s == 9 || s == 34 || s == 21)) order.push_back(s);
        previous = s;
    }
    EXPECT_EQ(order, (std::vector<int>{33, 33, 39, 9, 34, 21, 34})) << "the carriers were not ridden in order";

    // The swinging chain reverses at its limit (AI state 4 for a step) and
    // the turning chain never does.
    int reversals = 0;
    for (const std::string& l : actorLines(run.trace, 11)) reversals += intField(l, "ai") == 4;
    EXPECT_GE(reversals, 2);
    for (const std::string& l : actorLines(run.trace, 10)) EXPECT_NE(intField(l, "ai"), 4) << l;

    // Hanging from the rider and the bar the hero is held 133 px below it.
    bool rode = false, towed = false;
    for (const std::string& l : run.trace) {
        if (!isStep(l, "hero")) continue;
        if (intField(l, "state") == 39) rode = rode || intField(l, "y") == 500 + 133;
        if (intField(l, "state") == 21) towed = towed || intField(l, "y") == 440 + 133;
    }
    EXPECT_TRUE(rode);
    EXPECT_TRUE(towed);
    // And it walked on past the bar.
    std::string lastHero;
    for (const std::string& l : run.trace)
        if (isStep(l, "hero")) lastHero = l;
    EXPECT_GT(intField(lastHero, "x"), 3100);
    compareWithGolden("carriers", run.trace);
}

// The items run: the hero walks right through the scale item, the flying
// holder and the heavy item; at x 1600 it takes the carryable item on its
// head for ten steps and throws it forward (the wind-up state the hero's
// throw hands the item); the dropped item falls, lands and rests; at the
// container the action key opens it (the hero's PICKUP, the container's AI
// state 6 with animation 1), it releases its item, which flies to the hero,
// and the hero stands again.
//
// The carrying stays poked: the level's item (subtype 112) is by its row a
// plain item of amount 0, which the pickup test never offers to carry.
TEST(PlatformReplay, PlatformItemsLevel) {
    stepdriver::Options o;
    o.level = levelFile("platform_items", kit::demoPlatformItemsLevel());
    o.seed = 5;
    std::string error;
    // Walk right up against the container, then the action key.
    ASSERT_TRUE(stepdriver::parseInputScript("5 down right\n160 up right\n162 down 5\n164 up 5\n", o.input, error))
        << error;
    stepdriver::StepDriver drv;
    ASSERT_TRUE(drv.load(o, error)) << error;
    int carriedFrom = -1, thrownAt = -1, openedAt = -1;
    jint throwOrigin = -1;
    jint scaleDuring = -1, releasedScale = -1, releasedType = -1;
    for (int n = 0; n < 260; ++n) {
        drv.step();
        cActor* hero = game::cg().hero;
        ASSERT_NE(hero, nullptr);
        cActor* item = actorById(24);
        if (carriedFrom < 0 && item && hero->posX >= 1600) carriedFrom = n;
        if (carriedFrom >= 0 && thrownAt < 0 && item) {
            // Carried: on the hero's head, ahead of it.
            cActor::moveTo(item, java::ishl(hero->posX + 20, 8), java::ishl(hero->posY - 90, 8));
            if (n - carriedFrom == 10) {
                b::throwA() = 1;
                b::throwB() = 1;
                b::throwC() = b::throwD() = 0;
                b::counter(item) = 0;
                item->aiState = 24;
                thrownAt = n;
            }
        }
        if (item && item->aiState == 5 && throwOrigin < 0) throwOrigin = b::originX(item);
        if (cActor* scale = actorById(21); scale && scale->aiState == 23)
            scaleDuring = std::max(scaleDuring, b::scaleSecondsLeft());
        cActor* box = actorById(20);
        if (openedAt < 0 && box && box->aiState == 6 && box->anim == 1) openedAt = n;
        if (releasedType < 0)
            for (jint i = 0; i < game::cg().actorCount; ++i)
                if (cActor* a = game::poolActor(i); a && a->recordIndex == (0x2000000 | 0)) {
                    releasedType = a->type;
                    releasedScale = a->scale;
                }
    }
    const std::vector<std::string>& trace = drv.trace();
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
    ASSERT_GE(thrownAt, 0) << "the hero never reached the carryable item";

    // The thrown item flies straight on at 25 px a step from where it was
    // thrown and breaks once it is 225 px out: its last line in flight (AI
    // state 5) is 225 px from its first, and it leaves the flight on the
    // next step.
    int from = -1, last = -1, after = -1;
    for (const std::string& l : actorLines(trace, 24)) {
        const int step = std::atoi(l.c_str());
        if (intField(l, "ai") == 5) {
            if (from < 0) from = intField(l, "x");
            last = intField(l, "x");
        } else if (from >= 0 && after < 0) {
            after = step;
        }
    }
    ASSERT_GE(from, 0) << "the item was never in flight";
    EXPECT_EQ(from, throwOrigin);
    EXPECT_EQ(last - from, 225);
    EXPECT_GE(after, 0) << "the thrown item never broke";

    // The scale item held the hero's scale and showed seconds left, then
    // stayed spent (state 23, 0 seconds); the holder held the hero (SWITCH
    // 32) on touch.
    EXPECT_GE(scaleDuring, 1);
    if (cActor* scale = actorById(21)) {
        EXPECT_EQ(scale->aiState, 23);
        EXPECT_EQ(b::scaleSecondsLeft(), 0);
    }
    const std::vector<int> states = heroStates(trace);
    EXPECT_NE(std::find(states.begin(), states.end(), 32), states.end());
    // The dropped item fell to the floor, landed and rests there (AI state
    // 18, where it waits to be taken), not falling for ever (28).
    const std::vector<std::string> dropped = actorLines(trace, 25);
    ASSERT_FALSE(dropped.empty());
    EXPECT_EQ(intField(dropped.front(), "y"), 400);
    EXPECT_EQ(intField(dropped.back(), "y"), 648);
    EXPECT_EQ(intField(dropped.back(), "ai"), 18);
    // The action key opened the container, which released its item at scale
    // 150; the hero's PICKUP ended and it stands again.
    ASSERT_GE(openedAt, 0) << "the action key never opened the container";
    EXPECT_EQ(releasedType, 2);
    EXPECT_EQ(releasedScale, 150);
    const std::vector<std::string> box = actorLines(trace, 20);
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(intField(box.back(), "ai"), 37);
    const auto pickup = std::find(states.begin(), states.end(), 19);
    ASSERT_NE(pickup, states.end());
    EXPECT_EQ(states.back(), 0) << "the hero stayed in its pickup state";
    compareWithGolden("platform_items", trace);
}

// The jump lock a bar or a rider sets when it takes the hero runs out: on
// the rider the straight jump hops (the rider's jump animation 84), and
// from the bar the jump key lets go upward into a jump (JUMP 3 straight
// after TOWED 21), where the carriers run crouches off both.
TEST(PlatformReplay, TheHeroJumpsOnTheRiderAndOffTheBarByKeys) {
    // The carriers run with one crouch turned into the jump key.
    auto runWith = [](const std::string& from, const std::string& to) {
        std::string keys = kCarrierKeys;
        const size_t at = keys.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) keys.replace(at, from.size(), to);
        stepdriver::Options o;
        o.level = levelFile("carriers", kit::demoCarriersLevel());
        o.steps = 330;
        o.seed = 5;
        std::string error;
        EXPECT_TRUE(stepdriver::parseInputScript(keys, o.input, error)) << error;
        stepdriver::Run run = stepdriver::runLevel(o);
        EXPECT_TRUE(run.ok) << run.error;
        for (const std::string& v : run.violations) ADD_FAILURE() << v;
        return run.trace;
    };
    bool hopped = false;
    for (const std::string& l : runWith("168 down down\n172 up down\n", "160 down 2\n166 up 2\n"))
        hopped = hopped || (isStep(l, "hero") && intField(l, "state") == 39 && intField(l, "anim") == 84);
    EXPECT_TRUE(hopped) << "the jump key did nothing on the rider";

    int afterBar = -1, previous = -1;
    for (const std::string& l : runWith("265 down down\n269 up down\n", "265 down 2\n269 up 2\n")) {
        if (!isStep(l, "hero")) continue;
        const int s = intField(l, "state");
        if (previous == 21 && s != 21 && afterBar < 0) afterBar = s;
        previous = s;
    }
    EXPECT_EQ(afterBar, 3) << "the hero did not jump off the bar";
}

// Walking off a sinking platform the hero falls to the floor: the platform
// lets its rider go once the hero's sweep no longer meets it, so it does not
// pull the hero back under its top every step (the hero hung in FALL 27 px
// below it, moving sideways only).
TEST(PlatformReplay, TheHeroWalkingOffASinkingPlatformFallsToTheFloor) {
    stepdriver::Options o;
    o.level = levelFile("sinking", kit::demoSinkingPlatformsLevel());
    o.steps = 60;
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("5 down right\n14 down 3\n26 up 3\n27 down right\n", o.input, error));
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;
    int onPlatform = -1, fallSteps = 0, landedAt = -1;
    for (const std::string& l : run.trace) {
        if (!isStep(l, "hero")) continue;
        const int step = std::atoi(l.c_str()), s = intField(l, "state"), y = intField(l, "y");
        if (onPlatform < 0 && (s == 0 || s == 1) && y == 600 - 18) onPlatform = step;
        if (onPlatform >= 0 && landedAt < 0) {
            if (s == 2) ++fallSteps;
            if (s == 1 && y == 648) landedAt = step;
        }
    }
    ASSERT_GE(onPlatform, 0) << "the hero never stood on the platform";
    ASSERT_GE(landedAt, 0) << "the hero never reached the floor";
    EXPECT_LE(fallSteps, 3);
}

// A hero standing on a path platform keeps riding it: the sweep that lets a
// carrier's rider go meets the platform every step it stands there.
TEST(PlatformReplay, AHeroStandingOnAPathPlatformRidesAlong) {
    std::string level = "# a path platform between links 81 and 82\nlayer 4 40 20\n";
    for (int r = 0; r < 20; ++r) level += std::string(40, r >= 18 ? '6' : '.') + "\n";
    level += "object 0 1 400 430 7 0 160 2 -1 -1 -1 -1\n";
    level += "link 81 400 450 82 0 0\nlink 82 800 450 81 0 0\n";
    level += "object " + std::to_string(st::kPathPlatform) + " 43 400 450 7 0 160 2 81 0 0 0\n";
    level += "rect 10 0 0 1440 720\n";
    stepdriver::Options o;
    o.level = levelFile("path", level);
    o.steps = 120;
    o.seed = 5;
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;
    std::map<int, int> platformX;
    for (const std::string& l : actorLines(run.trace, 43)) platformX[std::atoi(l.c_str())] = intField(l, "x");
    int riding = 0, furthest = 0;
    for (const std::string& l : run.trace) {
        if (!isStep(l, "hero")) continue;
        const int step = std::atoi(l.c_str());
        if (step < 10 || !platformX.count(step)) continue;
        EXPECT_EQ(intField(l, "y"), 450 - 18) << l;
        EXPECT_LE(std::abs(intField(l, "x") - platformX[step]), 2) << l;
        furthest = std::max(furthest, intField(l, "x"));
        ++riding;
    }
    EXPECT_GT(riding, 100);
    EXPECT_GT(furthest, 500) << "the platform never carried the hero";
}

// The hero jumps onto the sinking platform: after its countdown it sinks
// (AI state 13), rises (14) and comes back to exactly its set-up y; then
// onto the timed drop, whose 1000 ms countdown (16 steps) starts its drop
// (AI state 9).
TEST(PlatformReplay, SinkingPlatformsUnderTheHero) {
    stepdriver::Options o;
    o.level = levelFile("sinking", kit::demoSinkingPlatformsLevel());
    o.steps = 200;
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("5 down right\n14 down 3\n26 up 3\n27 down right\n30 up right\n"
                                             "90 down right\n100 down 3\n112 up 3\n113 down right\n116 up right\n",
                                             o.input, error));
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;
    std::vector<int> sink;
    int lowest = 0, sankFrom = -1, risen = -1;
    for (const std::string& l : actorLines(run.trace, 10)) {
        const int ai = intField(l, "ai") & 0xFFFFFF, y = intField(l, "y");
        if (sink.empty() || sink.back() != ai) sink.push_back(ai);
        lowest = std::max(lowest, y);
        if (ai == 13 && sankFrom < 0) sankFrom = std::atoi(l.c_str());
        if (ai == 2 && sankFrom >= 0) risen = y;
    }
    EXPECT_EQ(sink, (std::vector<int>{2, 13, 14, 0, 2}));
    EXPECT_GT(lowest, 600);
    EXPECT_EQ(risen, 600);
    int counting = -1, dropping = -1;
    for (const std::string& l : actorLines(run.trace, 11)) {
        const int ai = intField(l, "ai");
        if (ai < 0 && counting < 0) counting = std::atoi(l.c_str());  // countdown bit 31 set
        if ((ai & 0xFFFFFF) == 9 && dropping < 0) dropping = std::atoi(l.c_str());
    }
    ASSERT_GE(counting, 0);
    EXPECT_EQ(dropping - counting, 16);
}

// Opening a container whose item is missing releases nothing: the hero's
// PICKUP, waiting for an item to fly in, gives up and the hero stands again.
TEST(PlatformReplay, OpeningAContainerOfAMissingItemDoesNotHoldTheHero) {
    std::string text;
    for (const kit::DamagedLevel& d : kit::damagedPlatformLevels())
        if (d.name == "container of a missing item") text = d.text;
    ASSERT_FALSE(text.empty());
    stepdriver::Options o;
    o.level = levelFile("missing_item", text);
    o.steps = 160;
    o.seed = 3;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("2 down right\n20 up right\n30 down 5\n32 up 5\n", o.input, error));
    const stepdriver::Run run = stepdriver::runLevel(o);
    ASSERT_TRUE(run.ok) << run.error;
    for (const std::string& v : run.violations) ADD_FAILURE() << v;
    const std::vector<int> states = heroStates(run.trace);
    ASSERT_NE(std::find(states.begin(), states.end(), 19), states.end()) << "the action key did not open the container";
    EXPECT_EQ(states.back(), 0);
    const std::vector<std::string> box = actorLines(run.trace, 17);
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(intField(box.back(), "ai"), 37);
}

// Each damaged variant runs 200 steps with the hero walking through it:
// nothing crashes or hangs, the pool stays bounded, chains of a refused link
// count and scale items of a refused scale stay inert.
TEST(PlatformReplay, DamagedLevelsRunWithoutHarm) {
    for (const kit::DamagedLevel& d : kit::damagedPlatformLevels()) {
        SCOPED_TRACE(d.name);
        stepdriver::Options o;
        o.level = levelFile("damaged", d.text);
        o.steps = 200;
        o.seed = 3;
        std::string error;
        ASSERT_TRUE(stepdriver::parseInputScript("2 down right\n60 up right\n70 down left\n100 down 3\n", o.input, error));
        const stepdriver::Run run = stepdriver::runLevel(o);
        ASSERT_TRUE(run.ok) << run.error;
        for (const std::string& v : run.violations) EXPECT_EQ(v.find("200"), std::string::npos) << v;
        // A slot scale out of range is refused: the item stays inert and the
        // hero keeps its size (an absurd scale threw it out of the map).
        if (d.name.rfind("scale item of", 0) == 0) {
            EXPECT_TRUE(run.violations.empty());
            for (const std::string& l : actorLines(run.trace, 15)) EXPECT_NE(intField(l, "ai"), 23) << l;
        }
        if (d.name.rfind("chain of", 0) == 0 || d.name.rfind("mode chain", 0) == 0) {
            const std::vector<std::string> chain = actorLines(run.trace, 10);
            ASSERT_FALSE(chain.empty());
            EXPECT_EQ(intField(chain.back(), "ai"), 30);
        }
    }
}

}  // namespace

// Throws by keys. The hero holds an item in grab mode 3 (the grab itself is
// set up; the carry offer is not reachable in these levels) and the action
// key does the rest: the hero hands the item its throw, the item's
// behaviour winds it up (AI state 24) and throws it (flight, AI state 5),
// and it flies away from the hero. A plain item (198) goes straight ahead
// at 6400 in the facing direction; a subtype-112 item is aimed first
// (AIM_THROW, 35) and flies to where the aim marker stood.
TEST(HeroThrow, AHeldItemLeavesTheHeroByKeys) {
    struct Case {
        const char* what;
        int subtype;
        bool facingLeft;
    } cases[] = {
        {"plain item thrown right", 198, false},
        {"plain item thrown left", 198, true},
        {"aimed item thrown to the marker", 112, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string level = "# a room, the hero, an item on its head\nlayer 4 40 20\n";
        for (int r = 0; r < 20; ++r) level += std::string(40, r == 19 ? '6' : '.') + "\n";
        level += "object 0 1 720 684 7 0 160 2 -1 -1 -1 -1\n";
        level += "object " + std::to_string(c.subtype) + " 30 720 590 7 0 32 0 0 0\n";
        level += "rect 10 0 0 1440 720\n";
        stepdriver::Options o;
        o.level = levelFile("throw", level);
        o.seed = 5;
        std::string error;
        ASSERT_TRUE(stepdriver::parseInputScript("10 down 5\n12 up 5\n", o.input, error)) << error;
        stepdriver::StepDriver drv;
        ASSERT_TRUE(drv.load(o, error)) << error;
        drv.step();
        cActor* hero = game::cg().hero;
        cActor* item = actorById(30);
        ASSERT_NE(hero, nullptr);
        ASSERT_NE(item, nullptr);
        game::ca().grabMode = 3;
        game::ca().grabbedActor = item;
        hero->carried = item;
        cActor::setFacing(hero, c.facingLeft ? 1 : 0);
        const jint dir = c.facingLeft ? -1 : 1;
        std::vector<int> heroStates;
        jint markerX = 0, markerY = 0, aimX = 0, aimY = 0;
        int windUpAt = -1, flightAt = -1;
        jint flightVx = 0, flightVy = 0, flightX = 0, flightY = 0;
        for (int n = 1; n < 40 && flightAt < 0; ++n) {
            drv.step();
            item = actorById(30);
            ASSERT_NE(item, nullptr) << "step " << n;
            if (heroStates.empty() || heroStates.back() != game::ca().heroState)
                heroStates.push_back(game::ca().heroState);
            if (windUpAt < 0 && (item->aiState & 0xFFFFFF) == 24) {
                windUpAt = n;
                aimX = markerX, aimY = markerY;
            }
            if ((item->aiState & 0xFFFFFF) == 5) {
                flightAt = n;
                flightVx = item->motion->data()[2];
                flightVy = item->motion->data()[3];
                flightX = item->posX, flightY = item->posY;
            }
            if (cActor* m = game::ca().aimMarker) markerX = m->posX, markerY = m->posY;
        }
        ASSERT_GE(windUpAt, 10) << "the action key handed no throw";
        ASSERT_GT(flightAt, windUpAt) << "the item was never thrown";
        EXPECT_EQ(game::ca().grabbedActor, nullptr);
        EXPECT_EQ(hero->carried, nullptr);
        if (c.subtype == 112) {
            EXPECT_NE(std::find(heroStates.begin(), heroStates.end(), 35), heroStates.end()) << "never aimed";
            ASSERT_NE(aimX, 0) << "no marker";
            const jint t = std::abs(aimX - flightX) / 25 + 1;
            EXPECT_EQ(flightVx, ((aimX - flightX) * 256) / t);
            EXPECT_EQ(flightVy, ((aimY - flightY) * 256) / t);
            EXPECT_EQ(flightVx > 0 ? 1 : -1, dir);
        } else {
            EXPECT_EQ(flightVx, 6400 * dir);
        }
        // It leaves the hero: a few steps on it is well away, on the thrown side.
        for (int n = 0; n < 6; ++n) drv.step();
        cActor* thrown = actorById(30);
        ASSERT_NE(thrown, nullptr);
        EXPECT_GT((thrown->posX - hero->posX) * dir, 100);
        for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
    }
}

// PICKUP marks its notice once: when its animation 27 is done (the
// container opened by the action key), the notice flag is set and the
// level timer's value at that step is kept; later steps of the same PICKUP
// keep the first value while the timer runs on, and leaving the state
// clears the flag.
TEST(HeroPickup, TheNoticeIsMarkedOnceWithTheLevelTimer) {
    stepdriver::Options o;
    o.level = levelFile("platform_items", kit::demoPlatformItemsLevel());
    o.seed = 5;
    std::string error;
    ASSERT_TRUE(stepdriver::parseInputScript("5 down right\n160 up right\n162 down 5\n164 up 5\n", o.input, error))
        << error;
    stepdriver::StepDriver drv;
    ASSERT_TRUE(drv.load(o, error)) << error;
    drv.step();
    game::cg().levelTimer = 5000;
    int markedAt = -1;
    jint markedTime = -1, left = -1;
    for (int n = 1; n < 260; ++n) {
        drv.step();
        if (markedAt < 0 && game::ca().pickupNoticed) {
            markedAt = n;
            markedTime = game::cg().levelTimer;
            EXPECT_EQ(game::ca().heroState, 19);
            EXPECT_EQ(game::ca().pickupNoticeTime, markedTime);
        } else if (markedAt >= 0 && left < 0) {
            if (game::ca().heroState == 19) {
                EXPECT_EQ(game::ca().pickupNoticeTime, markedTime) << "marked again at step " << n;
                EXPECT_LT(game::cg().levelTimer, markedTime);
            } else {
                left = n;
                EXPECT_EQ(game::ca().pickupNoticed, 0) << "the flag outlived the state";
            }
        }
    }
    ASSERT_GE(markedAt, 0) << "PICKUP never marked its notice";
    EXPECT_GT(left, markedAt);
    for (const std::string& v : drv.violations()) ADD_FAILURE() << v;
}
