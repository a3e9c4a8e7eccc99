// The kit's hero and effect sprites as the engine reads them: every
// animation id the hero's states play exists, and the animations the
// states wait on last the documented number of steps.
#include "tests/game/sprite/support.h"
#include "tools/kit/hero_sprite.h"

namespace {

using namespace spritetest;

class HeroSpriteTest : public SpriteTest {};

TEST_F(HeroSpriteTest, HeroAnimationsAndTheLengthsTheStatesWaitOn) {
    BSprite* s = loadSprite(kit::heroSprite());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getAnimCount(), kit::kHeroAnimCount);
    struct Case {
        jint anim, steps;
    } cases[] = {{1, kit::HeroAnimLengths::kFidget},   {3, kit::HeroAnimLengths::kTakeOff},
                 {7, kit::HeroAnimLengths::kDeath},    {11, kit::HeroAnimLengths::kCrouch},
                 {14, kit::HeroAnimLengths::kStandUp}, {20, kit::HeroAnimLengths::kStompLanding},
                 {0, 4},                               {111, 4}};
    for (const Case& c : cases) EXPECT_EQ(s->getAnimDuration(c.anim), c.steps) << c.anim;
}

TEST_F(HeroSpriteTest, EffectSprites) {
    for (int id : {8, 10, 11}) {
        BSprite* s = loadSprite(kit::heroEffectSprite(id));
        ASSERT_NE(s, nullptr) << id;
        EXPECT_EQ(s->getAnimCount(), 64) << id;
        EXPECT_EQ(s->getAnimDuration(13), 4) << id;
    }
}

}  // namespace
