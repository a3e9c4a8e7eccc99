// Painters of the block family against small golden pictures: the tile
// block clipped at the view's edges, the wave of subtype 82 under the
// hero, the gap edges of subtype 151, the copies of type 31, the link
// frames of type 52 and the chain of type 8.
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/fields.h"
#include "game/world/camera.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/sprite.h"
#include "tests/game/behaviour/blocks_fixture.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/describe.h"

namespace {

using namespace blockstest;
namespace b = game::behaviour;

class BlockPaint : public BlocksTest {
protected:
    void SetUp() override {
        BlocksTest::SetUp();
        emptyLevel(60, 20);
        screen->clear(0);
    }
    // The camera at (cx, cy): the view's left edge cx - 400, top cy - 240.
    void camera(int cx, int cy) {
        game::cg().cameraX = cx;
        game::cg().cameraY = cy;
        game::world::updateLayerOffsets();
    }
    int painted() const { return screen->countNot(0); }
};

TEST_F(BlockPaint, Type4ClippedAtTheViewsLeftAndTopEdges) {
    // A 3 x 4 crate with box {82, 92, 190, 236}; the view's corner at (100, 120).
    cActor* a = block(kit::kDemoCrateSubtype, 120, 100, 128, {1, 12, 0, 3, 4, 0, -1});
    a->setAnim(7);
    b::setTileBlockCell(a, 1, 2, b::kCellStruck);  // a hole
    camera(500, 360);
    b::paintType4(a, 0, 0);
    // First column centre 18 px left of its box edge: the column half shows.
    goldenView("type4_clipped", 0, 0, 120, 140);
    EXPECT_GT(painted(), 0);
}

TEST_F(BlockPaint, Type82WavesAndShowsAnimation2UnderTheHero) {
    cActor* a = block(kit::kDemoWaveSubtype, 121, 100, 300, {1, 12, 0, 6, 1, 0, -1});
    a->setAnim(0);
    a->frame = 1;
    // The hero stands on cell 3 (x 190 .. 226, top 264).
    cActor::setBox(hero->box, 195, 179, 225, 264);
    camera(400, 240);
    b::paintType4(a, 0, 0);
    goldenView("type82_wave", 70, 250, 240, 60);
    EXPECT_EQ(a->anim, 0);
    EXPECT_EQ(a->frame, 1);  // the remembered frame is back
}

TEST_F(BlockPaint, Type151PaintsTheEdgesOfItsGaps) {
    cActor* a = block(kit::kDemoGapSubtype, 122, 100, 300, {1, 12, 0, 6, 1, 0, -1});
    a->setAnim(1);
    b::setTileBlockCell(a, 2, 0, b::kCellStruck);
    b::setTileBlockCell(a, 3, 0, b::kCellGone);
    b::setTileBlockCell(a, 5, 0, b::kCellGone);  // the last column
    camera(400, 240);
    b::paintType4(a, 0, 0);
    goldenView("type151_gaps", 70, 250, 240, 60);
}

TEST_F(BlockPaint, Type31CopiesOrNothingWhenTheOffsetsRunShort) {
    cActor* a = worldtest::spawnRecord(kit::levelActorRecord(10, 123, 300, 300, 0, 160, {0, 0, 3}));
    a->sprite = sprite;
    a->setAnim(4);
    a->parts = IntArray::fill(newIntArray(6), 6, 0, 0, 40, 0, 80, 10);
    camera(400, 240);
    b::paintType31(a);
    goldenView("type31_copies", 270, 250, 140, 70);
    screen->clear(0);
    b::blk::put(a->params, 2, 4);  // four copies, three offsets: nothing
    b::paintType31(a);
    EXPECT_EQ(painted(), 0);
}

// Twenty frames of one animation, frame f a bar f + 1 pixels wide, so the
// picture tells the rotation frame.
const char* const kLinkSprite = R"(sprite
palette-format 6505
pixel-format 64F0
palette 00000000 FFFFFFFF
module fill FFE0E040 4 12
module fill FF40E0E0 2 6
frame
fm 0 -2 -12
)";

BSprite* linkSprite() {
    std::string d = kLinkSprite;
    for (int f = 1; f < 20; ++f) {
        d += "frame\nfm 0 -2 -12\n";
        for (int k = 0; k < f; ++k) d += "fm 1 " + std::to_string(3 + 2 * k) + " -6\n";
    }
    d += "anim\n";
    for (int f = 0; f < 20; ++f) d += "af " + std::to_string(f) + " 1\n";
    return spritetest::loadSprite(kit::parseSpriteDescription(d));
}

TEST_F(BlockPaint, Type52FramesFollowTheLinkAngleWithADeadZone) {
    struct Case {
        int degrees, frame;
    };
    const Case cases[] = {{0, 19}, {89, 9}, {90, 9}, {91, 9}, {180, 0}, {92, 9}, {100, 8}, {45, 14}};
    for (const Case& c : cases) EXPECT_EQ(b::chainLinkFrame(c.degrees << 8), c.frame) << c.degrees;
    // Subtype 150 draws the current animation at the link's frame (and the
    // second piece, animations 9 to 13, which this sprite does not have).
    cActor* a = worldtest::spawnRecord(kit::levelActorRecord(150, 124, 300, 300, 0, 160, {5}));
    a->setAnim(0);
    a->sprite = linkSprite();
    a->parts = newIntArray(2 + 15);
    const int angles[5] = {0, 89, 90, 91, 180};
    for (int k = 0; k < 5; ++k) {
        a->parts->data()[2 + 3 * k] = (k * 40) << 8;
        a->parts->data()[3 + 3 * k] = 0;
        a->parts->data()[4 + 3 * k] = angles[k] << 8;
    }
    camera(400, 240);
    b::paintType52(a);
    goldenView("type52_frames", 280, 270, 220, 40);
}

TEST_F(BlockPaint, Type8ChainOneLinkEvery16Pixels) {
    // Sprite 33's animation 17: a 6 x 6 square above its point.
    std::string d = "sprite\npalette-format 6505\npixel-format 64F0\npalette 00000000 FFFFFFFF\n"
                    "module fill FF40E0E0 6 6\nframe\nfm 0 -3 -6\n";
    for (int k = 0; k < 18; ++k) d += "anim\naf 0 1\n";
    ObjectArray::set(game::cg().sprites, 33, spritetest::loadSprite(kit::parseSpriteDescription(d)));
    cActor* anchor = worldtest::spawnRecord(kit::levelActorRecord(10, 125, 300, 100, 0, 160, {0, 0}));
    cActor* carrier = worldtest::spawnRecord(kit::levelActorRecord(10, 126, 300, 116, 0, 160, {0, 125}));
    camera(400, 240);
    struct Case {
        int distance, links;
    };
    for (const Case& c : {Case{16, 0}, Case{17, 1}, Case{33, 2}, Case{100, 6}}) {
        carrier->posY = 100 + c.distance;
        EXPECT_EQ(b::paintChainFrom(carrier, anchor), c.links) << c.distance;
    }
    screen->clear(0);
    carrier->posY = 133;
    b::paintChainFrom(carrier, anchor);
    goldenView("type8_chain33", 280, 80, 40, 80);
    screen->clear(0);
    carrier->posY = 116;  // 16 px: no link
    b::paintChainFrom(carrier, anchor);
    EXPECT_EQ(painted(), 0);
}

}  // namespace
