// The special painters against small golden pictures: the part field
// (off, sparks, wrap), bars (subtype 210 without middle pieces, plain with
// three), the type-76 row (and with its ends reversed: nothing), the
// type-78 rectangle of one and of three rows.
#include <memory>

#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/behaviour/setup.h"
#include "game/flow/flow_statics.h"
#include "game/world/camera.h"
#include "tests/game/behaviour/hazards_support.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/describe.h"

namespace {

using namespace hazardtest;
namespace b = game::behaviour;

// Animation k (0-11): one 6 x 6 square of colour k at the origin, one tick.
const char* const kPieces = R"(sprite
palette-format 6505
pixel-format 64F0
palette 00000000 FF305020
module fill FFFF0000 6 6
module fill FF00FF00 6 6
module fill FF0000FF 6 6
module fill FFFFFF00 6 6
module fill FFFF00FF 6 6
module fill FF00FFFF 6 6
module fill FFFFFFFF 6 6
module fill FF808080 6 6
module fill FF800000 6 6
module fill FF008000 6 6
module fill FF000080 6 6
module fill FF808000 6 6
frame
fm 0 0 0
frame
fm 1 0 0
frame
fm 2 0 0
frame
fm 3 0 0
frame
fm 4 0 0
frame
fm 5 0 0
frame
fm 6 0 0
frame
fm 7 0 0
frame
fm 8 0 0
frame
fm 9 0 0
frame
fm 10 0 0
frame
fm 11 0 0
anim
af 0 1
anim
af 1 1
anim
af 2 1
anim
af 3 1
anim
af 4 1
anim
af 5 1
anim
af 6 1
anim
af 7 1
anim
af 8 1
anim
af 9 1
anim
af 10 1
anim
af 11 1
)";

constexpr const char* kGoldens = "tests/game/behaviour/golden";

class HazardPaint : public HazardTest {
protected:
    void SetUp() override {
        HazardTest::SetUp();
        loadLevel(room(40, 20));
        hero = worldtest::makeHero(1000, 684);
        pieces = spritetest::loadSprite(kit::parseSpriteDescription(kPieces));
        ASSERT_NE(pieces, nullptr);
        screen = std::make_unique<spritetest::Screen>();
        game::cg().graphics = screen->g;
        // The view's top-left corner at world (0, 0).
        game::world::setCameraCentre(400, 240);
        game::world::updateLayerOffsets();
    }
    void TearDown() override {
        screen.reset();
        HazardTest::TearDown();
    }
    cActor* withSprite(cActor* a) {
        a->sprite = pieces;
        return a;
    }
    // The golden of the view area (x, y, w, h) in view pixels.
    void expectView(const std::string& name, jint x, jint y, jint w, jint h) {
        spritetest::expectGolden(name, *screen, 480 - y - h, x, h, w, kGoldens);
    }
    int painted() const { return screen->countNot(0); }

    BSprite* pieces = nullptr;
    std::unique_ptr<spritetest::Screen> screen;
};

// A field with its elements placed by hand: element k of animation k % 7.
cActor* layField(HazardPaint* t, cActor* f) {
    b::initRandomParts(f);
    jint* e = f->parts->data();
    for (jint k = 0; k < 12; ++k) {
        e[1 + k] = k % 7;
        e[13 + k] = (k % 4) * 160;
        e[25 + k] = (k / 3) * 120;
        e[37 + k] = 0;
    }
    e[0] = 0;
    (void)t;
    return f;
}

TEST_F(HazardPaint, FieldSwitchedOffDrawsNothing) {
    cActor* f = withSprite(make(143, 28, 0, 0, 0, {}));
    layField(this, f);
    b::hf::setAmbientAnimOn(false);
    b::paintType28(f, 0, 0);
    EXPECT_EQ(painted(), 0);
    b::hf::setAmbientAnimOn(true);
}

TEST_F(HazardPaint, FieldWrapsAcrossTheView) {
    cActor* f = withSprite(make(143, 28, 0, 0, 0, {}));
    layField(this, f);
    // The layer's scroll puts the field's origin at the view's centre
    // (ox = oy = 0): elements of x 480 and y 240 or 360 wrap to the top left.
    const jint ox = game::cg().mapPixelWidth - game::world::getLayerX(f->layer) - 400;
    const jint oy = game::cg().mapPixelHeight - game::world::getLayerY(f->layer) - 240;
    f->parts->data()[0] = 256 * 4;
    for (jint k = 0; k < 12; ++k) {
        f->parts->data()[13 + k] -= ox;
        f->parts->data()[25 + k] -= oy;
    }
    b::paintType28(f, 0, 0);
    expectView("field_wrap", 0, 0, 200, 136);
    // Painting leaves the field as it was.
    EXPECT_EQ(f->parts->data()[13 + 7], 480 - ox);
}

TEST_F(HazardPaint, FieldSparksShiftTheirElementWhilePainted) {
    cActor* f = withSprite(make(106, 28, 0, 0, 0, {}));
    layField(this, f);
    const jint ox = game::cg().mapPixelWidth - game::world::getLayerX(f->layer) - 400;
    const jint oy = game::cg().mapPixelHeight - game::world::getLayerY(f->layer) - 240;
    for (jint k = 0; k < 12; ++k) {
        f->parts->data()[13 + k] -= ox;
        f->parts->data()[25 + k] -= oy;
    }
    for (jint s = 0; s < 5; ++s) b::hf::sparkTimers()[s] = 30;  // idle sparks
    // Element 11 (at 80, 120) swings by (-34, -8) at timer 8 and angle 0;
    // element 7 (at 80, 0) by (-26, -3) at timer 4 and angle 90; a spark
    // at timer 15 has no amplitude.
    b::hf::sparkTimers()[0] = 8;
    b::hf::sparkParts()[0] = 11;
    b::hf::sparkAngles()[0] = 0;
    b::hf::sparkTimers()[1] = 4;
    b::hf::sparkParts()[1] = 7;
    b::hf::sparkAngles()[1] = 90;
    b::hf::sparkTimers()[2] = 15;
    b::hf::sparkParts()[2] = 3;
    const jint before7 = f->parts->data()[13 + 7], before11 = f->parts->data()[25 + 11];
    b::paintType28(f, 0, 0);
    expectView("field_sparks", 0, 0, 200, 136);
    EXPECT_EQ(f->parts->data()[13 + 7], before7);
    EXPECT_EQ(f->parts->data()[25 + 11], before11);
}

TEST_F(HazardPaint, BarOfSubtype210WithoutMiddleAndPlainBarWithThree) {
    cActor* bar = withSprite(make(210, 61, 100, 100, 0, {0}, 12, 6));
    cActor::setBox(bar->box, 40, 90, 100, 100);
    b::paintType61(bar, 0, 0);
    cActor* plain = withSprite(make(211, 75, 100, 140, 0, {3}, 12, 6));
    cActor::setBox(plain->box, 40, 130, 100, 140);
    b::paintType61(plain, 0, 0);
    expectView("bars", 30, 90, 90, 60);
    // The painter shifts the box's left and top by the draw offset.
    b::paintType61(plain, 5, -3);
    EXPECT_EQ(plain->box->data()[0], 45);
    EXPECT_EQ(plain->box->data()[1], 127);
    EXPECT_EQ(plain->box->data()[2], 100);
}

TEST_F(HazardPaint, RowOverBlackFillAndRowWithEndsReversed) {
    screen->clear(0xFFFF);
    cActor* row = withSprite(make(111, 76, 0, 100, 2, {}, 10, 6));
    b::hf::originX(row) = 20;
    b::hf::spanRight(row) = 70;
    b::paintType76(row, 0, 0);
    expectView("row76", 10, 90, 80, 40);
    screen->clear(0xFFFF);
    b::hf::originX(row) = 70;
    b::hf::spanRight(row) = 20;
    b::paintType76(row, 0, 0);
    EXPECT_EQ(screen->countNot(0xFFFF), 0);  // no fill, no frames
}

TEST_F(HazardPaint, TiledRectangleOfOneAndThreeRows) {
    cActor* one = withSprite(make(219, 78, 0, 0, 4, {}, 6, 6));
    cActor::setBox(one->box, 20, 20, 44, 26);
    b::paintType78(one, 0, 0);
    cActor* three = withSprite(make(219, 78, 0, 0, 4, {}, 6, 6));
    cActor::setBox(three->box, 60, 20, 84, 38);
    b::paintType78(three, 0, 0);
    expectView("rect78", 10, 10, 90, 40);
}

TEST_F(HazardPaint, ZeroPieceSizesDrawNothingAndEndTheLoop) {
    LogCapture log;
    cActor* r = withSprite(make(222, 78, 0, 0, 4, {}, 0, 6));
    cActor::setBox(r->box, 20, 20, 44, 26);
    b::paintType78(r, 0, 0);
    cActor* row = withSprite(make(223, 76, 0, 100, 2, {}, 0, 6));
    b::hf::originX(row) = 20;
    b::hf::spanRight(row) = 70;
    b::paintType76(row, 0, 0);
    EXPECT_TRUE(log.contains("piece"));
}

}  // namespace
