// The heads-up display's painters on the real actor framework (effects from
// the effect pool, the hero and the target as fields of the game): the
// counter icon's re-animation, the portrait's animation by hero, the
// corner-button images built once, the fade overlay's wipe, the context
// value, the target's gauge and pointer, the stat bars, the loading hint's
// choice and picture, target and counter resets, and the menu load bar with
// a total of 0.
#include "game/flow/screens/hud.h"

#include <algorithm>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/actor/actor.h"
#include "game/actor/screencalls.h"
#include "game/flow/gmath.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/states_play.h"
#include "game/flow/program.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/states_start.h"
#include "game/sprite/host.h"
#include "game/sprite/sprite.h"
#include "tests/game/flow/screens/support.h"
#include "tools/kit/sprite.h"

namespace {

using game::ca;
using game::cg;
using screenstest::liveEffects;
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
    // group >= 0, as reference `ref` of that group. Its one animation shows
    // frames 0 .. animFrames - 1, one tick each.
    BSprite* installSprite(jint slot, jint frames, jint w, jint h, jint group = -1, jint ref = 0, jint animFrames = 1) {
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
        for (jint f = 0; f < animFrames; ++f) model.anims[0].frames.push_back({f % frames, 1});
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
    // Pixels painted inside canvas rectangle (x, y, w, h).
    int paintedIn(jint x, jint y, jint w, jint h) const {
        int n = 0;
        for (jint j = y; j < y + h; ++j)
            for (jint i = x; i < x + w; ++i) n += screen->at(i, j) != 0;
        return n;
    }
    // Steps the actor's animation to its last frame (a bounded number of
    // steps).
    static void runToEnd(cActor* a) {
        for (int i = 0; i < 50 && !game::animationEnded(a); ++i) a->updateAnimation();
        ASSERT_TRUE(game::animationEnded(a));
    }
    spritetest::Screen* screen = nullptr;
};

TEST_F(HudPaint, CounterIconReanimatesWhenTheCounterChanges) {
    BSprite* sprite = installSprite(3, 20, 8, 8, -1, 0, 3);  // a three-frame animation
    ca().itemId = 3;
    game::setVariable(0, 2, false);
    // The icon stands at view (677, 90), canvas (390, 677).
    auto iconPainted = [&] { return paintedIn(370, 657, 40, 40) > 0; };
    screen->clear();
    game::updatePanelActor();  // no icon yet: one is made
    cActor* first = cg().panelActor;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->sprite, sprite);
    EXPECT_EQ(first->anim, 0);
    EXPECT_EQ(first->frame, 0);
    EXPECT_EQ(first->posX, 677);
    EXPECT_EQ(first->posY, 90);
    EXPECT_EQ(first->layer, 14);
    EXPECT_EQ(first->paintFlags, 0x62000);
    EXPECT_EQ(cg().panelShownCounter, 2);
    EXPECT_TRUE(iconPainted()) << "the icon is painted every call";
    EXPECT_EQ(liveEffects(), std::vector<cActor*>{first});

    first->updateAnimation();  // a frame on, still animating
    ASSERT_FALSE(game::animationEnded(first));
    first->scale = 50;
    screen->clear();
    game::updatePanelActor();  // same counter, still animating: kept at scale 100
    EXPECT_EQ(cg().panelActor, first);
    EXPECT_EQ(first->scale, 100);
    EXPECT_TRUE(iconPainted());

    game::setVariable(0, 3, false);
    screen->clear();
    game::updatePanelActor();  // the counter changed: the animation starts again
    cActor* second = cg().panelActor;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->anim, 0);
    EXPECT_EQ(second->frame, 0);
    EXPECT_EQ(cg().panelShownCounter, 3);
    EXPECT_TRUE(iconPainted());

    runToEnd(second);  // finished, keep flag clear: dropped and made anew
    screen->clear();
    game::updatePanelActor();
    EXPECT_EQ(second->flags, 0x1040) << "deactivated";
    EXPECT_EQ(second->anim, -1);
    cActor* third = cg().panelActor;
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, second);
    EXPECT_EQ(third->anim, 0);
    EXPECT_TRUE(iconPainted());

    third->flags |= static_cast<jint>(0x80000000u);  // kept: not dropped
    runToEnd(third);
    screen->clear();
    game::updatePanelActor();
    EXPECT_EQ(third->anim, 0) << "not deactivated";
    EXPECT_NE(third->flags & static_cast<jint>(0x80000000u), 0);
    EXPECT_EQ(third->scale, 100);
    EXPECT_TRUE(iconPainted());
}

TEST_F(HudPaint, CounterWithoutAnIconSpriteDrawsNoIcon) {
    ca().itemId = 77;  // no sprite there
    game::updatePanelActor();
    EXPECT_TRUE(liveEffects().empty());
    EXPECT_EQ(cg().panelActor, nullptr);
}

TEST_F(HudPaint, PortraitAnimationByHeroAndItsReplacement) {
    struct Case {
        jint subtype, anim;
    };
    for (const Case c : {Case{113, 46}, Case{237, 46}, Case{242, 47}, Case{5, 45}, Case{-1, 45}})
        EXPECT_EQ(game::portraitAnimation(c.subtype), c.anim) << c.subtype;
    game::paintHeroPortrait();  // no hero: the portrait of animation 45, no sprite: none
    EXPECT_EQ(cg().portraitActor, nullptr);
    BSprite* sprite = installSprite(8, 2, 8, 8, 18, 1);
    cActor* hero = screenstest::makeHero(242);
    game::paintHeroPortrait();
    cActor* portrait = cg().portraitActor;
    ASSERT_NE(portrait, nullptr);
    EXPECT_EQ(portrait->sprite, sprite);
    EXPECT_EQ(portrait->anim, 47);
    EXPECT_EQ(portrait->layer, 14);
    EXPECT_EQ(portrait->paintFlags, 0x62000);
    game::paintHeroPortrait();  // same animation: kept
    EXPECT_EQ(cg().portraitActor, portrait);
    EXPECT_EQ(liveEffects().size(), 1u);
    hero->subtype = 113;  // the hero changed: the old portrait goes
    game::paintHeroPortrait();
    EXPECT_EQ(portrait->flags, 0x1040) << "deactivated";
    ASSERT_NE(cg().portraitActor, nullptr);
    EXPECT_NE(cg().portraitActor, portrait);
    EXPECT_EQ(cg().portraitActor->anim, 46);
    EXPECT_EQ(liveEffects(), std::vector<cActor*>{cg().portraitActor});
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
    cActor* hero = screenstest::makeHero();
    struct Case {
        jint state, anim, scale, value;
    };
    const Case cases[] = {
        {8, 36, 0, 112}, {8, 15, 0, 128}, {8, 3, 0, 0}, {38, 0, 257, 200}, {38, 0, 256, 111}, {1, 36, 999, 0},
    };
    for (const Case& c : cases) {
        ca().heroState = c.state;
        hero->anim = c.anim;
        ca().runSpeedFactor = c.scale;  // the hero's scale parameter
        EXPECT_EQ(game::selectContextValue(), c.value) << c.state << " " << c.anim;
        EXPECT_EQ(cg().contextValue, c.value);
    }
    cg().hero = nullptr;  // no hero: no animation matches
    ca().heroState = 8;
    EXPECT_EQ(game::selectContextValue(), 0);
}

TEST_F(HudPaint, TargetAndCountersReset) {
    cg().targetActor = newObject<cActor>();
    ca().levelMark = 5;
    game::clearTarget();
    EXPECT_EQ(cg().targetActor, nullptr);
    EXPECT_EQ(ca().levelMark, -1);
    game::setVariable(0, 9, false);
    game::resetHudCounters();
    EXPECT_EQ(cg().panelShownCounter, 9);
    ASSERT_NE(cg().hudCounters, nullptr);
    EXPECT_EQ(cg().hudCounters->data()[0], 0);
    EXPECT_EQ(cg().hudCounters->data()[game::kHudCounters - 1], -1);
}

// The gauge and the pointer follow cGame.targetActor: nothing without one;
// the gauge's value is the hit points left in parts[2] against the class as
// maximum (8 for subtype 238), an actor without parts an empty gauge.
TEST_F(HudPaint, TargetGaugeAndPointerFollowTheTargetActor) {
    cg().gameState = game::kStatePlay;
    cg().panelOffset = 0;
    game::paintTargetGauge();
    game::paintTargetPointer();
    EXPECT_EQ(screen->countNot(0), 0) << "no target";
    cActor* boss = newObject<cActor>();
    boss->subtype = 238;
    boss->flags = 0xA0;  // flag 32: the gauge shows
    boss->aiState = 12;
    boss->parts = newIntArray(9);
    cg().targetActor = boss;
    // The gauge band: view (79, 108) 718 x 12 is canvas (359, 79) 12 x 718;
    // the filled part is what differs from the empty gauge.
    auto band = [&](IntArray* parts, jint hits) {
        boss->parts = parts;
        if (parts) parts->data()[2] = hits;
        screen->clear();
        game::paintTargetGauge();
        return screen->pixels();
    };
    const std::vector<uint16_t> none = band(nullptr, 0);
    const std::vector<uint16_t> empty = band(newIntArray(9), 0);
    const std::vector<uint16_t> five = band(newIntArray(9), 5);
    const std::vector<uint16_t> full = band(newIntArray(9), 8);
    EXPECT_GT(std::count_if(none.begin(), none.end(), [](uint16_t p) { return p != 0; }), 12 * 300)
        << "no parts: the empty gauge is drawn, nothing read out of range";
    auto filled = [&](const std::vector<uint16_t>& px) {
        int n = 0;
        for (size_t i = 0; i < px.size(); ++i) n += px[i] != empty[i];
        return n;
    };
    EXPECT_EQ(filled(none), 0) << "no parts: as empty as 0 hit points";
    EXPECT_GT(filled(full), 8 * 600) << "all eight hit points: the whole band";
    EXPECT_GT(filled(five) * 8, filled(full) * 5 - 8 * 40) << "five of eight";
    EXPECT_LT(filled(five) * 8, filled(full) * 5 + 8 * 40);
    boss->aiState = 30;  // AI state 30 without the region flag: no gauge
    screen->clear();
    game::paintTargetGauge();
    EXPECT_EQ(screen->countNot(0), 0);
    // The pointer: the target within the view shows none.
    boss->posX = cg().cameraX;
    boss->posY = cg().cameraY;
    game::paintTargetPointer();
    EXPECT_EQ(screen->countNot(0), 0);
}

// Stat bars A and B: variables 2 and 8 their maxima, cActor.markA and
// markB their values.
TEST_F(HudPaint, StatBarsShowTheActorMarks) {
    struct Case {
        void (*paint)();
        jint maxVariable;
        jint* mark;
    };
    for (const Case& c : {Case{game::paintStatBarA, 2, &ca().markA}, Case{game::paintStatBarB, 8, &ca().markB}}) {
        game::setVariable(c.maxVariable, 10, false);
        std::vector<int> lit;
        for (jint v : {0, 4, 8}) {
            *c.mark = v;
            screen->clear();
            c.paint();
            lit.push_back(screen->countNot(0));
        }
        EXPECT_LT(lit[0], lit[1]) << c.maxVariable;
        EXPECT_LT(lit[1], lit[2]) << c.maxVariable;
    }
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
    const std::vector<cActor*> made = liveEffects();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0]->anim, 1);
    EXPECT_EQ(made[0]->layer, 2);
    EXPECT_EQ(made[0]->paintFlags, 0x20000);
    EXPECT_EQ(made[0]->posX, 100);
    EXPECT_EQ(made[0]->posY, 200);
    EXPECT_EQ(made[1]->anim, 0);
    EXPECT_EQ(made[1]->posX, 300);
    EXPECT_EQ(made[1]->posY, 50);
    // The hint painter paints the effects of layer 2.
    screen->clear();
    game::paintLoadingHints();
    EXPECT_GT(screen->countNot(0), 0);
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
    cActor* logo = newObject<cActor>();
    logo->sprite = installSprite(5, 3, 8, 8, -1, 0, 3);
    logo->setAnim(0);
    cg().logoActor = logo;
    const jint before = logo->frame * 1000 + logo->frameTick;
    screenstest::run(game::state2, game::kMsgUpdate);
    const jint after = logo->frame * 1000 + logo->frameTick;
    EXPECT_NE(after, before) << "one animation step";
    cg().logoActor = nullptr;
    screenstest::run(game::state2, game::kMsgUpdate);  // no logo: nothing stepped
    EXPECT_EQ(logo->frame * 1000 + logo->frameTick, after);
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
