// The firework show on the game's seeded generator: launch times, the first
// move, bursts, the particle count, generator draws and capacity.
#include "game/flow/screens/firework.h"

#include <vector>

#include "game/flow/screens/flowseams.h"
#include "runtime/jint.h"
#include "tests/game/flow/screens/support.h"

namespace {

using game::cGame_Firework;
using game::cg;
using screenstest::ScreensTest;

cGame_Firework* particle(jint i) { return static_cast<cGame_Firework*>(cg().fireworks->data()[i]); }

// The generator's sequence, stepped independently of the game code.
jint lcg(jint seed) { return java::irem(java::iadd(java::imul(seed, 59051), 177149), 14348907); }

using FireworkShow = ScreensTest;

TEST_F(FireworkShow, SetUpLaunchesFiveRocketsFromTheBottomCentre) {
    game::spawnFireworks();
    ASSERT_NE(cg().fireworks, nullptr);
    EXPECT_EQ(cg().fireworks->length(), game::kFireworkCapacity);
    EXPECT_EQ(cg().fireworkPhase, 1);
    ASSERT_EQ(cg().fireworkCount, 5);
    EXPECT_EQ(cg().fireworksAlive, 5);
    for (jint i = 0; i < 5; ++i) {
        cGame_Firework* p = particle(i);
        EXPECT_EQ(p->x, 400 << 8);
        EXPECT_EQ(p->y, 480 << 8);
        EXPECT_EQ(p->delay, 15 * i);
        EXPECT_EQ(p->kind, 1);
        EXPECT_GE(p->life, 15);
        EXPECT_LE(p->life, 29);
        EXPECT_LT(p->vy, 0) << "rockets rise";
    }
    // Three draws per rocket: angle, speed over a range of one, life.
    jint seed = 0;
    for (int i = 0; i < 15; ++i) seed = lcg(seed);
    EXPECT_EQ(screenstest::randomSeed(), seed);
}

TEST_F(FireworkShow, RocketsStartMovingOnCallsOneFifteenThirtyFortyFiveSixty) {
    game::spawnFireworks();
    std::vector<jint> startY(5), firstMove(5, -1);
    std::vector<jint> vy(5);
    for (jint i = 0; i < 5; ++i) {
        startY[i] = particle(i)->y;
        vy[i] = particle(i)->vy;
    }
    for (jint call = 1; call <= 60; ++call) {
        game::spawnFireworks();
        for (jint i = 0; i < 5; ++i)
            if (firstMove[i] < 0 && particle(i)->y != startY[i]) {
                firstMove[i] = call;
                EXPECT_EQ(particle(i)->y, startY[i] + vy[i]) << "the first update moves by the launch velocity";
            }
    }
    EXPECT_EQ(firstMove, (std::vector<jint>{1, 15, 30, 45, 60}));
}

TEST_F(FireworkShow, EachRocketBurstsIntoFiftySparksAndTheShowEnds) {
    game::spawnFireworks();
    jint bursts = 0;
    for (int call = 0; call < 400 && cg().fireworksAlive > 0; ++call) {
        const jint before = cg().fireworkCount;
        std::vector<jint> deadRockets;
        game::spawnFireworks();
        if (cg().fireworkFlash) {
            const jint added = cg().fireworkCount - before;
            EXPECT_EQ(added % 50, 0);
            // Sparks start at the position of a rocket that has just died.
            cGame_Firework* spark = particle(before);
            bool fromRocket = false;
            for (jint r = 0; r < 5; ++r)
                fromRocket |= particle(r)->life <= 0 && particle(r)->x == spark->x && particle(r)->y == spark->y;
            EXPECT_TRUE(fromRocket);
            EXPECT_EQ(spark->life, 30);
            EXPECT_EQ(spark->kind, 0);
            bursts += added / 50;
            game::paintFireworks(nullptr);
            EXPECT_FALSE(cg().fireworkFlash) << "the painter clears the flash";
        }
    }
    EXPECT_EQ(bursts, 5);
    EXPECT_EQ(cg().fireworkCount, 255) << "five rockets and 250 sparks";
    EXPECT_EQ(cg().fireworksAlive, 0);
    // Once everything is dead, calls only walk the array.
    const jint seed = screenstest::randomSeed();
    game::spawnFireworks();
    EXPECT_EQ(screenstest::randomSeed(), seed);
    EXPECT_EQ(cg().fireworkCount, 255);
}

TEST_F(FireworkShow, SparkDrawsWithoutAFireworkSprite) {
    // Without a loaded firework sprite a spark draws angle and speed only
    // (no animation number), and its frame never advances.
    game::spawnFireworks();
    cGame_Firework* rocket = particle(0);
    rocket->life = 1;
    const jint seed = screenstest::randomSeed();
    game::spawnFireworks();
    ASSERT_EQ(cg().fireworkCount, 55);
    jint expected = seed;
    for (int i = 0; i < 100; ++i) expected = lcg(expected);
    EXPECT_EQ(screenstest::randomSeed(), expected);
    for (int i = 0; i < 10; ++i) game::spawnFireworks();
    EXPECT_EQ(particle(5)->animation, 0);
    EXPECT_EQ(particle(5)->frame, 0);
}

TEST_F(FireworkShow, ParticleMotionUsesDragAndGravity) {
    auto* p = newObject<cGame_Firework>();
    p->init(0, 0, 1000, -1000, 0, 5, 0, 0);
    p->update();
    EXPECT_EQ(p->x, 1000);
    EXPECT_EQ(p->y, -1000);
    EXPECT_EQ(p->vx, (1000 * 243) >> 8);
    EXPECT_EQ(p->vy, ((-1000 * 243) >> 8) + 25);
    EXPECT_EQ(p->life, 4);
    // A waiting particle only counts its delay down.
    p->init(0, 0, 1000, 0, 0, 5, 3, 0);
    p->update();
    EXPECT_EQ(p->delay, 2);
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->life, 5);
    p->reset();
    EXPECT_FALSE(p->isAlive());
}

TEST_F(FireworkShow, AddingToAFullArrayDropsTheParticle) {
    cg().fireworks = newObjectArray(cid::cGame_Firework, 2);
    for (int i = 0; i < 3; ++i) game::addFirework(newObject<cGame_Firework>());
    EXPECT_EQ(cg().fireworkCount, 2);
    EXPECT_EQ(cg().fireworksAlive, 2);
    game::clearFireworkState();
    EXPECT_EQ(cg().fireworks, nullptr);
    EXPECT_EQ(cg().fireworkCount, 0);
    game::spawnFireworks();  // still phase 0: a fresh show
    EXPECT_EQ(cg().fireworkCount, 5);
}

TEST_F(FireworkShow, RandomDirectionDrawsOnlyOverNonEmptyRanges) {
    jint v[2];
    game::randomDirection(100, 100, 90, 90, v);
    EXPECT_EQ(screenstest::randomSeed(), 0) << "empty ranges draw nothing";
    EXPECT_EQ(v[0], (100 * game::fixedSin(180)) >> 14);
    EXPECT_EQ(v[1], 100);
    game::randomDirection(100, 200, 0, 360, v);
    EXPECT_EQ(screenstest::randomSeed(), lcg(lcg(0)));
}

}  // namespace

#include "game/flow/flow_statics.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/sprite.h"

namespace {

// A firework sprite: animation 0 of two frames of 2 updates each,
// animation 1 with no frames.
void installFireworkSprite() {
    kit::SpriteModel model;
    model.frames.resize(1);
    model.anims.resize(2);
    model.anims[0].frames = {{0, 2}, {0, 2}};
    BSprite* sprite = spritetest::loadSprite(model);
    ASSERT_NE(sprite, nullptr);
    game::cGameStatics& f = game::cg();
    f.sprites = newObjectArray(cid::Object, 4);
    f.sprites->data()[3] = sprite;
    f.spriteIndex = newObjectArray(cid::IntArray, 27);
    IntArray* group = newIntArray(128);
    game::cg().spriteIndex->data()[18] = group;
    group->data()[22] = 3;
}

TEST_F(FireworkShow, SparksTakeAnimationsAndFramesFromTheSprite) {
    installFireworkSprite();
    auto* p = newObject<cGame_Firework>();
    p->init(0, 0, 0, 0, 0, 10, 0, 0);
    cg().fireworks = newObjectArray(cid::cGame_Firework, 4);
    game::addFirework(p);
    cg().fireworkPhase = 1;
    std::vector<jint> frames;
    for (int i = 0; i < 5; ++i) {
        game::spawnFireworks();
        frames.push_back(p->frame);
    }
    EXPECT_EQ(frames, (std::vector<jint>{0, 1, 1, 0, 0}));
    // An animation without frames: no step, no division.
    p->init(0, 0, 0, 0, 0, 10, 0, 1);
    for (int i = 0; i < 3; ++i) game::spawnFireworks();
    EXPECT_EQ(p->frame, 0);
    // A burst draws three values per spark: angle, speed and animation.
    cg().fireworkPhase = 0;
    game::spawnFireworks();
    particle(0)->life = 1;
    const jint seed = screenstest::randomSeed();
    game::spawnFireworks();
    jint expected = seed;
    for (int i = 0; i < 150; ++i) expected = lcg(expected);
    EXPECT_EQ(screenstest::randomSeed(), expected);
    for (jint i = 5; i < 55; ++i) EXPECT_LT(particle(i)->animation, 2);
}

}  // namespace
