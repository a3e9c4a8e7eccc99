// The heads-up display's painters through a fake actor seam: the counter
// icon's re-animation, the portrait's animation by hero, the corner-button
// images built once, the fade overlay's wipe, the context value, the
// loading hint's choice, target and counter resets, and the menu load bar
// with a total of 0.
#include "game/flow/screens/hud.h"

#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/flow/gmath.h"
#include "game/flow/program.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/states_start.h"
#include "game/sprite/host.h"
#include "game/sprite/sprite.h"
#include "tests/game/flow/screens/support.h"
#include "tools/kit/sprite.h"

namespace {

using game::cg;
using game::cg;
using game::cg;
using screenstest::actors;
using screenstest::ScreensTest;

class HudPaint : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        screen = new spritetest::Screen(480, 800);
        cg().graphics = screen->g;
        cg().screenGraphics = screen->g;
        sprite::setSpriteHost(&game::GameSpriteHost::instance());
    }
    void TearDown() override {
        sprite::setSpriteHost(nullptr);
        delete screen;
        ScreensTest::TearDown();
    }
    // A sprite of `frames` frames, frame f a filled w x h box of its own
    // colour on a transparent edge, in the sprite table at `slot` and, when
    // group >= 0, as reference `ref` of that group.
    BSprite* installSprite(jint slot, jint frames, jint w, jint h, jint group = -1, jint ref = 0) {
        kit::SpriteModel model;
        for (jint f = 0; f < frames; ++f) {
            model.modules.push_back(kit::SpriteModule::fillRect(0xFF000000u | static_cast<uint32_t>(0x203040 * (f + 1)),
                                                                w - 2, h - 2));
            model.modules.push_back(kit::SpriteModule::sizeOnly(w, h));
            kit::SpriteFrame frame;
            frame.modules = {{2 * f + 1, 0, 0}, {2 * f, 1, 1}};
            model.frames.push_back(frame);
        }
        model.anims.resize(1);
        model.anims[0].frames = {{0, 1}};
        BSprite* sprite = spritetest::loadSprite(model);
        if (!cg().sprites) cg().sprites = newObjectArray(cid::Object, game::kSpriteSlots);
        cg().sprites->data()[slot] = sprite;
        if (group >= 0) {
            if (!cg().spriteIndex) cg().spriteIndex = newObjectArray(cid::IntArray, 27);
            if (!cg().spriteIndex->data()[group]) {
                IntArray* g = newIntArray(128);
                cg().spriteIndex->data()[group] = g;
            }
            static_cast<IntArray*>(cg().spriteIndex->data()[group])->data()[ref] = slot;
        }
        return static_cast<BSprite*>(cg().sprites->data()[slot]);
    }
    spritetest::Screen* screen = nullptr;
};

TEST_F(HudPaint, CounterIconReanimatesWhenTheCounterChanges) {
    installSprite(3, 20, 8, 8);
    actors().itemIds[0] = 3;
    game::setVariable(0, 2, false);
    auto& fake = actors();
    game::updatePanelActor();  // no icon yet: one is made
    ASSERT_EQ(fake.spawns.size(), 1u);
    EXPECT_EQ(fake.spawns[0].x, 677);
    EXPECT_EQ(fake.spawns[0].y, 90);
    EXPECT_EQ(fake.spawns[0].layer, 14);
    EXPECT_EQ(fake.spawns[0].flags, 0x62000);
    EXPECT_EQ(cg().panelShownCounter, 2);
    game::updatePanelActor();  // same counter, still animating: kept at scale 100
    EXPECT_EQ(fake.spawns.size(), 1u);
    ASSERT_FALSE(fake.scales.empty());
    EXPECT_EQ(fake.scales.back().second, 100);
    game::setVariable(0, 3, false);
    game::updatePanelActor();  // the counter changed: the animation starts again
    EXPECT_EQ(fake.spawns.size(), 2u);
    EXPECT_EQ(cg().panelShownCounter, 3);
    fake.ended = true;  // finished, keep flag clear: dropped and made anew
    cActor* old = cg().panelActor;
    game::updatePanelActor();
    ASSERT_EQ(fake.deactivated.size(), 1u);
    EXPECT_EQ(fake.deactivated[0], old);
    EXPECT_EQ(fake.spawns.size(), 3u);
    fake.flagsOfActors = static_cast<jint>(0x80000000);  // kept: not dropped
    game::updatePanelActor();
    EXPECT_EQ(fake.deactivated.size(), 1u);
    EXPECT_EQ(fake.painted.size(), 5u) << "the icon is painted every call";
}

TEST_F(HudPaint, CounterWithoutAnIconSpriteDrawsNoIcon) {
    actors().itemIds[0] = 77;  // no sprite there
    game::updatePanelActor();
    EXPECT_TRUE(actors().spawns.empty());
    EXPECT_EQ(cg().panelActor, nullptr);
}

TEST_F(HudPaint, PortraitAnimationByHeroAndItsReplacement) {
    struct Case {
        jint subtype, anim;
    };
    for (const Case c : {Case{113, 46}, Case{237, 46}, Case{242, 47}, Case{5, 45}, Case{-1, 45}})
        EXPECT_EQ(game::portraitAnimation(c.subtype), c.anim) << c.subtype;
    installSprite(8, 2, 8, 8, 18, 1);
    auto& fake = actors();
    fake.subtype = 242;
    game::paintHeroPortrait();
    ASSERT_EQ(fake.spawns.size(), 1u);
    EXPECT_EQ(fake.spawns[0].anim, 47);
    fake.animationOfActors = 47;
    game::paintHeroPortrait();  // same animation: kept
    EXPECT_EQ(fake.spawns.size(), 1u);
    fake.subtype = 113;  // the hero changed: the old portrait goes
    game::paintHeroPortrait();
    EXPECT_EQ(fake.deactivated.size(), 1u);
    ASSERT_EQ(fake.spawns.size(), 2u);
    EXPECT_EQ(fake.spawns[1].anim, 46);
}

TEST_F(HudPaint, CornerButtonImagesAreBuiltOnceAndTheirBuffersReleased) {
    installSprite(112, 5, 24, 16);
    cg().touchButtons = 1;
    cg().buttonAlphaMask = static_cast<jint>(0x80FFFFFF);
    game::paintSidePanelButtons();
    ASSERT_NE(cg().buttonImages, nullptr);
    std::vector<Object*> first;
    for (jint i = 0; i < 4; ++i) first.push_back(cg().buttonImages->data()[i]);
    for (Object* o : first) EXPECT_NE(o, nullptr);
    EXPECT_EQ(cg().buttonKeyColour, 0xFF00FF) << "the key colour is the fill behind the frame";
    for (jint i = 0; i < 4; ++i) EXPECT_EQ(cg().buttonPixels->data()[i], nullptr);
    game::paintSidePanelButtons();
    for (jint i = 0; i < 4; ++i) EXPECT_EQ(cg().buttonImages->data()[i], first[size_t(i)]) << i;
    // The key colour became transparent, the frame half translucent.
    auto* image = static_cast<javax_microedition_lcdui_Image*>(first[0]);
    IntArray* px = newIntArray(2);
    image->getRGB(px, 0, 1, 0, 0, 1, 1);
    image->getRGB(px, 1, 1, 5, 5, 1, 1);
    EXPECT_EQ(static_cast<uint32_t>(px->data()[0]) >> 24, 0u);
    const uint32_t alpha = static_cast<uint32_t>(px->data()[1]) >> 24;  // stored in 4 bits
    EXPECT_GE(alpha, 0x70u);
    EXPECT_LE(alpha, 0x90u);
}

// The buttons follow the touch flag, not the sliding panel's offset (a
// flag of its own: the panel's target is 0 in all of play).
TEST_F(HudPaint, ButtonsFollowTheTouchFlag) {
    installSprite(112, 5, 24, 16);
    cg().panelOffset = 0;
    cg().touchButtons = 0;
    game::paintSidePanelButtons();
    EXPECT_EQ(cg().buttonImages, nullptr);
    cg().touchButtons = 1;
    game::paintSidePanelButtons();
    EXPECT_NE(cg().buttonImages, nullptr);
}

TEST_F(HudPaint, FadeOverlayIdlesThenWipesFromTheRightEdge) {
    screen->clear(0xFFFF);
    game::paintFadeOverlay();
    EXPECT_EQ(screen->countNot(0xFFFF), 0) << "no step set: idle";
    game::startFadeOverlay(5);
    for (int i = 0; i < 20; ++i) game::paintFadeOverlay();
    EXPECT_NE(screen->at(479, 400), 0xFFFF) << "the band starts at the right edge";
    EXPECT_EQ(screen->at(0, 400), 0xFFFF);
    for (int i = 0; i < 90; ++i) game::paintFadeOverlay();
    EXPECT_NE(screen->at(0, 400), 0xFFFF) << "after 95 paints it covers the canvas";
    game::startFadeOverlay(99);  // outside the colour table: idle again
    EXPECT_FALSE(cg().fadeOn);
}

TEST_F(HudPaint, ContextValueByHeroStateAndAnimation) {
    cg().contextChoiceA = 128;
    cg().contextChoiceB = 112;
    cg().contextChoiceC = 200;
    cg().contextChoiceD = 111;
    struct Case {
        jint state, anim, scale, value;
    };
    const Case cases[] = {
        {8, 36, 0, 112}, {8, 15, 0, 128}, {8, 3, 0, 0}, {38, 0, 257, 200}, {38, 0, 256, 111}, {1, 36, 999, 0},
    };
    for (const Case& c : cases) {
        actors().state = c.state;
        actors().animation = c.anim;
        actors().scaleParam = c.scale;
        EXPECT_EQ(game::selectContextValue(), c.value) << c.state << " " << c.anim;
        EXPECT_EQ(cg().contextValue, c.value);
    }
}

TEST_F(HudPaint, TargetAndCountersReset) {
    cg().targetActor = reinterpret_cast<cActor*>(newObject<Object>(cid::Object));
    game::clearTarget();
    EXPECT_EQ(cg().targetActor, nullptr);
    EXPECT_EQ(actors().levelMark, -1);
    game::setVariable(0, 9, false);
    game::resetHudCounters();
    EXPECT_EQ(cg().panelShownCounter, 9);
    ASSERT_NE(cg().hudCounters, nullptr);
    EXPECT_EQ(cg().hudCounters->data()[0], 0);
    EXPECT_EQ(cg().hudCounters->data()[game::kHudCounters - 1], -1);
}

TEST_F(HudPaint, LoadingHintChoiceSkipsTheLastHint) {
    auto hints = [](jint n) {
        ObjectArray* texts = newObjectArray(cid::IntArray, n);
        cg().loadingHintTexts = texts;
        for (jint i = 0; i < n; ++i) {
            IntArray* t = IntArray::fill(newIntArray(3), {0x10000 + i, 400, 300});
            cg().loadingHintTexts->data()[i] = t;
        }
    };
    hints(1);
    screenstest::setRandomSeed(1234);
    game::pickLoadingHint();
    EXPECT_EQ(cg().loadingHint, 0);
    EXPECT_EQ(screenstest::randomSeed(), 1234) << "one hint: no draw";
    hints(4);
    for (int i = 0; i < 50; ++i) {
        game::pickLoadingHint();
        EXPECT_GE(cg().loadingHint, 0);
        EXPECT_LT(cg().loadingHint, 3) << "hints 0 to n - 2";
    }
    game::pickLoadingHintFrom(-7);
    EXPECT_EQ(cg().loadingHint, 1) << "|-7 rem 3|";
    cg().loadingHintTexts = nullptr;
    game::pickLoadingHint();
    EXPECT_EQ(cg().loadingHint, -1);
    game::paintLoadingHints();  // nothing to paint, nothing read
}

TEST_F(HudPaint, LoadingHintPictureMakesItsEffects) {
    installSprite(9, 2, 8, 8, 18, 4);
    ObjectArray* layouts = newObjectArray(cid::IntArray, 1);
    cg().loadingHintLayouts = layouts;
    // Two records and a short tail that is ignored.
    IntArray* picture = IntArray::fill(newIntArray(12), {4, 18, 1, 100, 200, 4, 18, 0, 300, 50, 4, 18});
    cg().loadingHintLayouts->data()[0] = picture;
    cg().loadingHint = 0;
    game::spawnLoadingHintPicture();
    ASSERT_EQ(actors().spawns.size(), 2u);
    EXPECT_EQ(actors().spawns[0].anim, 1);
    EXPECT_EQ(actors().spawns[0].layer, 2);
    EXPECT_EQ(actors().spawns[0].flags, 0x20000);
    EXPECT_EQ(actors().spawns[1].x, 300);
}

TEST_F(HudPaint, MenuLoadBarWithATotalOfZeroIsEmpty) {
    auto red = [&] {
        int n = 0;
        for (jint y = 38; y < 38 + 725; ++y)
            for (jint x = 26; x < 26 + 19; ++x) n += screen->at(x, y) == 0xF800;
        return n;
    };
    game::paintMenuLoadBar(screen->g, 3, 0);
    EXPECT_EQ(red(), 0);
    game::paintMenuLoadBar(screen->g, 5, 10);
    EXPECT_EQ(red(), 14 * 360);
    game::paintMenuLoadBar(screen->g, 12, 10);  // more done than planned: full
    EXPECT_EQ(red(), 14 * 720);
}

}  // namespace

#include "game/showcase/showcase.h"
#include "game/flow/screens/playpaint.h"
#include "game/flow/screens/states_menu.h"
#include "game/flow/screens/states_start.h"

namespace {

TEST_F(HudPaint, CaptionAddsTheTerminatorThePoolNameLacks) {
    game::paintCaption();
    ASSERT_NE(cg().captionText, nullptr);
    EXPECT_EQ(cg().captionText->toUtf8(), "Camp\x03");
    String* first = cg().captionText;
    game::paintCaption();
    EXPECT_EQ(cg().captionText, first) << "made once";
}

TEST_F(HudPaint, SecondLogoAnimatesTheLogoActor) {
    cActor* logo = reinterpret_cast<cActor*>(newObject<Object>(cid::Object));
    cg().logoActor = logo;
    screenstest::run(game::state2, game::kMsgUpdate);
    ASSERT_EQ(actors().animated.size(), 1u);
    EXPECT_EQ(actors().animated[0], logo);
    cg().logoActor = nullptr;
    screenstest::run(game::state2, game::kMsgUpdate);
    EXPECT_EQ(actors().animated.size(), 1u);
}

TEST_F(HudPaint, PromotionStateEntersTheScreenAndReloadsTheMenusWhenItCloses) {
    // The promotion screen itself, never set up here (no pack, no
    // device): entering it opens it; not usable, it closes at its first
    // step and the menus load again. (The screen inside the whole program:
    // tests/game/showcase.)
    game::cg().loadRequest = newIntArray(4);
    game::showcaseStatics()->languageCodes = newObjectArray(cid::String, 1);
    screenstest::run(game::state9, 2);
    EXPECT_EQ(game::showcaseStatics()->screenState, game::kShowLoading) << "opened";
    EXPECT_EQ(game::showcaseStatics()->displayFlagA, 1) << "the screen's record store made sure of";
    EXPECT_EQ(game::showcaseStatics()->displayFlagB, 1);
    ASSERT_NE(cg().promoImage, nullptr);
    screen->clear(0);
    game::state9(1);
    EXPECT_TRUE(screenstest::requests().empty());
    screenstest::setKeys(0x2000);  // right: the screen's next-entry key
    screenstest::run(game::state9, 0);
    screenstest::setKeys(0);
    ASSERT_EQ(screenstest::requests().size(), 1u);
    EXPECT_EQ(screenstest::requests()[0].second, 11);
    EXPECT_EQ(IntArray::at(game::cg().loadRequest, 0), 4);
    EXPECT_EQ(IntArray::at(game::cg().loadRequest, 2), 3);
    EXPECT_EQ(IntArray::at(game::cg().loadRequest, 3), 6);
    EXPECT_TRUE(cg().restoreMenuPosition);
}

}  // namespace
