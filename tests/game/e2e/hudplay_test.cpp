// The heads-up display in play, driven step by step on the kit's demo
// levels: the boss gauge and its portrait, the off-screen target pointer,
// the stat bars and the hero portrait are drawn by the actor framework's
// real answers; and a frame of play with an actor on a moving structure
// makes no Java object once warm.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/states_play.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "runtime/application.h"
#include "runtime/objectmanager.h"
#include "tests/game/sprite/support.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo_hazards.h"

namespace {

using spritetest::Screen;

constexpr const char* kGolden = "tests/game/e2e/golden";

// Loads a level and steps until its state is play (14) and, with
// wantTarget, a target actor is set; false when that never comes.
bool playUntil(stepdriver::StepDriver& driver, const std::string& level, bool wantTarget, int maxSteps = 300) {
    stepdriver::Options o;
    o.level = level;
    o.seed = 5;
    std::string error;
    if (!driver.load(o, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    for (int i = 0; i < maxSteps; ++i) {
        driver.step();
        if (game::cg().gameState == 14 && (!wantTarget || game::cg().targetActor)) return true;
    }
    return false;
}

// A sprite of n frames, each one w x h block of colour at (dx, dy) from the
// position, and one one-frame animation per frame.
BSprite* blockSprite(int n, uint32_t argb, int w, int h, int dx, int dy) {
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(argb, w, h));
    for (int i = 0; i < n; ++i) {
        kit::SpriteFrame f;
        f.modules = {{0, dx, dy, 0, 0}};
        m.frames.push_back(f);
        kit::SpriteAnim a;
        a.frames = {{i, 1}};
        m.anims.push_back(a);
    }
    return spritetest::loadSprite(m);
}

// Sprite (i, group) of the sprite table becomes s: the demo's stand-ins
// lack the frames and animations of the display pieces.
void replaceSprite(jint i, jint group, BSprite* s) {
    const jint slot = game::getSpriteRefLow(i, group);
    ASSERT_TRUE(game::cg().sprites && game::cg().sprites->inBounds(slot));
    game::cg().sprites->data()[slot] = s;
}

// Runs a painter onto the given screen.
template <typename Paint>
void paintOn(Screen& screen, Paint paint) {
    rt::GlobalRef image(screen.image), graphics(screen.g);
    javax_microedition_lcdui_Graphics* saved = game::cg().graphics;
    game::cg().graphics = screen.g;
    paint();
    game::cg().graphics = saved;
}

TEST(HudPlay, BossGaugeAndPortraitInTheArena) {
    stepdriver::StepDriver driver;
    ASSERT_TRUE(playUntil(driver, "arena:97", true)) << "the arena's boss sets itself as the target";
    cActor* boss = game::cg().targetActor;
    ASSERT_NE(boss, nullptr);
    ASSERT_NE(boss->parts, nullptr);
    // The gauge shows while the boss has flag 32 and is not in AI state 30.
    boss->flags |= 32;
    if (boss->aiState == 30) boss->aiState = 2;
    game::cg().panelOffset = 0;
    Screen screen;
    paintOn(screen, [] { game::paintTargetGauge(); });
    // The gauge band: view (79, 108) 718 x 12 is canvas (359, 79) 12 x 718.
    int lit = 0;
    for (jint y = 79; y < 79 + 718; ++y)
        for (jint x = 359; x < 359 + 12; ++x) lit += screen.at(x, y) != 0;
    EXPECT_GT(lit, 12 * 100) << "the gauge is drawn";
    // Its two ends (the full bar: the boss has all its hit points).
    spritetest::expectGolden("arena97_gauge_top", screen, 358, 74, 14, 40, kGolden);
    spritetest::expectGolden("arena97_gauge_end", screen, 358, 764, 14, 36, kGolden);

    // Fewer hit points: a shorter bar.
    const jint hp = boss->parts->data()[2];
    ASSERT_GT(hp, 1);
    boss->parts->data()[2] = hp / 2;
    Screen half;
    paintOn(half, [] { game::paintTargetGauge(); });
    int litHalf = 0;
    for (jint y = 79; y < 79 + 718; ++y)
        for (jint x = 359; x < 359 + 12; ++x) litHalf += half.at(x, y) != screen.at(x, y);
    EXPECT_GT(litHalf, 0) << "the bar follows parts[2]";
    boss->parts->data()[2] = hp;

    // In AI state 30 without the region flag: no gauge.
    boss->aiState = 30;
    Screen none;
    paintOn(none, [] { game::paintTargetGauge(); });
    EXPECT_EQ(none.countNot(0), 0);
}

TEST(HudPlay, TargetPointerWhenTheTargetIsOutOfView) {
    stepdriver::StepDriver driver;
    ASSERT_TRUE(playUntil(driver, "arena:97", true));
    // The arrow is frame 15 of sprite (10, 18): a 10 x 10 block on its centre.
    replaceSprite(10, 18, blockSprite(16, 0xFFFF8000, 10, 10, -5, -5));
    cActor* boss = game::cg().targetActor;
    const jint savedX = boss->posX;
    // Within the view: no pointer.
    boss->posX = game::cg().cameraX;
    boss->posY = game::cg().cameraY;
    Screen inView;
    paintOn(inView, [] { game::paintTargetPointer(); });
    EXPECT_EQ(inView.countNot(0), 0);
    // Far to the right: the arrow and the distance at the right edge.
    boss->posX = game::cg().cameraX + 1400;
    Screen screen;
    paintOn(screen, [] { game::paintTargetPointer(); });
    EXPECT_GT(screen.countNot(0), 0) << "the pointer is drawn";
    jint x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
    EXPECT_GT(y2, 600) << "at the view's right edge (the canvas's bottom)";
    spritetest::expectGolden("arena97_pointer", screen, 160, 680, 160, 120, kGolden);
    boss->posX = savedX;
}

TEST(HudPlay, StatBarAndHeroPortrait) {
    stepdriver::StepDriver driver;
    ASSERT_TRUE(playUntil(driver, "arena:97", false));
    // Stat bar A: variable 2 the maximum, cActor.markA the value.
    game::setVariable(2, 10, false);
    game::ca().markA = 4;
    Screen bar;
    paintOn(bar, [] { game::paintStatBarA(); });
    EXPECT_GT(bar.countNot(0), 0) << "the bar is drawn";

    spritetest::expectGolden("stat_bar_a", bar, 196, 66, 284, 18, kGolden);
    game::ca().markA = 8;
    Screen fuller;
    paintOn(fuller, [] { game::paintStatBarA(); });
    EXPECT_NE(fuller.pixels(), bar.pixels()) << "the bar follows markA";

    // The portrait: an effect actor of the hero's animation (45, of sprite
    // (1, 18), standing at view (0, 0) and clipped to its frame), kept while
    // the animation stays.
    ASSERT_NE(game::cg().hero, nullptr);
    replaceSprite(1, 18, blockSprite(48, 0xFF40C0FF, 30, 40, 20, 24));
    game::cg().portraitActor = nullptr;
    Screen portrait;
    paintOn(portrait, [] { game::paintHeroPortrait(); });
    ASSERT_NE(game::cg().portraitActor, nullptr);
    EXPECT_EQ(game::cg().portraitActor->anim, 45);
    EXPECT_EQ(portrait.countNot(0), 30 * 40) << "the portrait is drawn whole";
    spritetest::expectGolden("hero_portrait", portrait, 400, 0, 80, 80, kGolden);
    cActor* kept = game::cg().portraitActor;
    paintOn(portrait, [] { game::paintHeroPortrait(); });
    EXPECT_EQ(game::cg().portraitActor, kept);
}

// A level of the hazards demo cut down to its segment owner (links 71, 72)
// with an item standing on that structure (flag 0x2000) beside the hero.
std::string structureLevel() {
    std::string out;
    std::string text = kit::demoHazardsLevel();
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.rfind("object ", 0) == 0) {
            const bool hero = line.rfind("object 0 ", 0) == 0;
            const bool segment = line.rfind("object " + std::to_string(kit::hazard_subtypes::kSegment) + " ", 0) == 0;
            if (!hero && !segment) continue;
            if (hero) line = "object 0 1 3700 648 7 0 160 2 -1 -1 -1 -1";
        }
        out += line + "\n";
    }
    // Flags 0xA0 | 0x2000: drawn as placed on the moving structure.
    out += "object 198 90 3850 560 7 0 " + std::to_string(0x20A0) + " 0 0 0\n";
    return out;
}

TEST(HudPlay, AFrameOnAStructureMakesNoJavaObjects) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("bramble-hudplay-" + std::to_string(::getpid()) + ".level");
    {
        std::ofstream f(file);
        f << structureLevel();
    }
    stepdriver::StepDriver driver;
    const bool ok = playUntil(driver, "file:" + file.string(), false);
    std::filesystem::remove(file);
    ASSERT_TRUE(ok);
    bool onStructure = false;
    for (jint i = 0; i < game::cg().actorCount; ++i) {
        auto* a = static_cast<cActor*>(game::cg().actorPool->data()[i]);
        onStructure |= a && (a->flags & 0x2000) != 0;
    }
    ASSERT_TRUE(onStructure) << "the level holds an actor on the structure";
    for (int i = 0; i < 60; ++i) driver.step();  // warm-up
    ObjectManager& objects = Application::instance()->objects();
    const size_t before = objects.objectCount();
    const uint64_t collections = objects.collections();
    for (int i = 0; i < 100; ++i) driver.step();
    ASSERT_EQ(objects.collections(), collections) << "a collection ran: the count would be net";
    EXPECT_EQ(objects.objectCount(), before) << "Java objects made in 100 steps of play";
}

}  // namespace
