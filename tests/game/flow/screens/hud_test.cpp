// Heads-up display arithmetic: the banner's slide, time digits, tweens and
// the touch-control zones.
#include "game/flow/screens/hud.h"

#include "game/flow/screens/flowseams.h"

#include <set>
#include <vector>

#include "tests/game/flow/screens/support.h"
#include "game/actor/actor.h"

namespace {

using game::cg;
using screenstest::ScreensTest;

using Hud = ScreensTest;

TEST_F(Hud, BannerEntersBlinksAndLeaves) {
    struct Case {
        jint t, x;
        bool shown;
    };
    const Case cases[] = {
        {96, -60, true}, {80, 170, true}, {65, 386, true}, {64, 400, true}, {63, 400, false},
        {60, 400, true}, {48, 400, false}, {33, 400, false}, {32, 400, true}, {16, 630, true},
        {0, 860, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(game::bannerX(c.t), c.x) << c.t;
        EXPECT_EQ(game::bannerShown(c.t), c.shown) << c.t;
    }
}

TEST_F(Hud, TimeRowDigits) {
    jint d[10];
    game::tallyTimeDigits(3725, 300, d);  // 1:02:05 against 0:05:00
    EXPECT_EQ(std::vector<jint>(d, d + 10), (std::vector<jint>{1, 0, 2, 0, 5, 0, 0, 5, 0, 0}));
    game::tallyTimeDigits(59, 36000, d);
    EXPECT_EQ(std::vector<jint>(d, d + 10), (std::vector<jint>{0, 0, 0, 5, 9, 10, 0, 0, 0, 0}));
}

TEST_F(Hud, TweensInterpolateAndFreeTheirSlots) {
    game::cGameStatics& g = cg();
    if (!g.tweenActors) g.tweenActors = newObjectArray(cid::Object, 5);
    // Actors with boxes: the tween sizes their boxes too.
    cActor* a = newObject<cActor>();
    g.tweenActors->data()[0] = a;
    a->box = newShortArray(4);
    cActor* b = newObject<cActor>();
    g.tweenActors->data()[1] = b;
    b->box = newShortArray(4);
    for (jint i = 0; i < 5; ++i) g.tweenSlots->data()[i] = -1;
    g.tweenSlots->data()[0] = 4;
    g.tweenFrom->data()[0] = 100;
    g.tweenTo->data()[0] = 200;
    g.tweenElapsed->data()[0] = 0;
    g.tweenSlots->data()[1] = 0;  // length 0: end scale at once
    g.tweenFrom->data()[1] = 50;
    g.tweenTo->data()[1] = 120;
    g.tweenElapsed->data()[1] = 0;
    // Each step sets the actors' scales; a freed slot sets nothing (the
    // marker 7 stays).
    std::vector<jint> aScales, bScales;
    for (int step = 0; step < 6; ++step) {
        a->scale = b->scale = 7;
        game::updateTweens();
        if (a->scale != 7) aScales.push_back(a->scale);
        if (b->scale != 7) bScales.push_back(b->scale);
    }
    EXPECT_EQ(aScales, (std::vector<jint>{100, 125, 150, 175, 200}));
    EXPECT_EQ(bScales, (std::vector<jint>{120}));
    EXPECT_EQ(g.tweenSlots->data()[0], -1);
    EXPECT_EQ(g.tweenSlots->data()[1], -1);
    EXPECT_EQ(g.tweenActors->data()[1], nullptr);
}

std::set<jint> g_touched;
bool touched(jint zone) { return g_touched.count(zone) > 0; }

TEST_F(Hud, TouchZonesInTheirOrder) {
    struct Case {
        std::set<jint> zones;
        jint flagWord, item, period;
        jint bits, buttons, itemAfter;
    };
    const Case cases[] = {
        {{3, 4}, 0, -1, 0, 0x401 | 0x100 | 0x4000, 4, 3},     // 3 before 4
        {{4, 1}, 0, -1, 0, 0x802 | 0x100 | 0x8000, 8, 4},
        {{0}, 0, -1, 0, 8 | 0x40 | 0x1000 | 0x4000, 0x10, 0},
        {{0}, 1, -1, 0, 1 | 8 | 0x40 | 0x1000 | 0x4000, 0x10, 0},
        {{2}, 1, -1, 0, 2 | 0x10 | 0x40 | 0x1000 | 0x8000, 0x20, 2},
        {{8, 9}, 0, -1, 0, 0x80, 0x100, 8},
        {{9}, 0, 3, 5, 8, 0x200, 3},                          // after zone 3 within the period
        {{9}, 0, 4, 5, 0x10, 0x200, 4},
        {{9}, 0, 3, 1, 4 | 0x80000, 0x200, 3},                // period ran out (decremented to 0)
        {{}, 0, 6, 0, 0, 0, 6},
    };
    for (const Case& c : cases) {
        g_touched = c.zones;
        game::ca().inputOptions = c.flagWord;
        cg().panelItem = c.item;
        cg().panelPeriod = c.period;
        game::handlePanelTouch(&touched);
        EXPECT_EQ(game::ca().heroActionMask, c.bits) << *c.zones.begin();
        EXPECT_EQ(game::buttonBits(), c.buttons);
        EXPECT_EQ(cg().panelItem, c.itemAfter);
    }
    g_touched = {3};
    game::handlePanelTouch(&touched);
    EXPECT_EQ(cg().panelPeriod, 10);
}

}  // namespace
