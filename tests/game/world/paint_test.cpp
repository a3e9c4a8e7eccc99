// Map painting: mirrored cells, region grids, the cache's seams and pieces,
// and any scroll sequence through the tile cache ending equal to a full
// redraw at the end position.
#include <random>

#include "game/flow/flow_statics.h"
#include "game/world/camera.h"
#include "game/world/map.h"
#include "game/world/paint.h"
#include "game/world/regions.h"
#include "game/sprite/sprite.h"
#include "tests/game/world/support.h"
#include "tools/kit/describe.h"

namespace {

using namespace worldtest;
namespace w = game::world;

// Frames 0-3: a plain colour with a white 6 x 6 marker in the top-left
// corner (so a mirror shows), frame 4 a second marker bottom-right.
const char* const kTiles = R"(sprite
palette-format 6505
pixel-format 64F0
palette 00000000 FF305020
module fill FFFF0000 36 36
module fill FF00FF00 36 36
module fill FF0000FF 36 36
module fill FFFFFF00 36 36
module fill FFFFFFFF 6 6
frame
fm 0 0 0
fm 4 0 0
frame
fm 1 0 0
fm 4 0 0
frame
fm 2 0 0
fm 4 0 0
frame
fm 3 0 0
fm 4 0 0
)";

constexpr const char* kGolden = "tests/game/world/golden";

constexpr uint16_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F, kWhite = 0xFFFF, kYellow = 0xFFE0;

class PaintTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        tiles = spritetest::loadSprite(kit::parseSpriteDescription(kTiles));
        ASSERT_NE(tiles, nullptr);
        screen = std::make_unique<spritetest::Screen>();
        game::cg().graphics = screen->g;
        ObjectArray::set(game::cg().levelSprites, 0, tiles);
        ObjectArray::set(game::cg().levelSprites, 1, tiles);
    }
    void TearDown() override {
        screen.reset();
        WorldTest::TearDown();
    }
    // The pixel at view (x, y) of the landscape play view.
    uint16_t view(jint x, jint y) const { return screen->at(479 - y, x); }
    BSprite* tiles = nullptr;
    std::unique_ptr<spritetest::Screen> screen;
};

TEST_F(PaintTest, MirroredCellsCoverTheirOwnCell) {
    screen->clear(0);
    w::drawTileImage(screen->g, tiles, 36, 36, 0, 0);
    w::drawTileImage(screen->g, tiles, 108, 36, 0, 0x4000);
    w::drawTileImage(screen->g, tiles, 180, 36, 0, 0x8000);
    // Plain: marker top-left; horizontal mirror: top-right; vertical: bottom-left.
    EXPECT_EQ(view(36 + 2, 36 + 2), kWhite);
    EXPECT_EQ(view(36 + 33, 36 + 2), kRed);
    EXPECT_EQ(view(108 + 33, 36 + 2), kWhite);
    EXPECT_EQ(view(108 + 2, 36 + 2), kRed);
    EXPECT_EQ(view(180 + 2, 36 + 33), kWhite);
    EXPECT_EQ(view(180 + 2, 36 + 2), kRed);
    // Nothing outside the cells, nothing for frame -1 or above 255.
    EXPECT_EQ(view(144 + 2, 36 + 2), 0);
    w::drawTileImage(screen->g, tiles, 300, 36, 256, 0);
    w::drawTileImage(screen->g, tiles, 300, 36, -1, 0);
    w::drawTileImage(screen->g, nullptr, 300, 36, 1, 0);
    EXPECT_EQ(view(300 + 10, 36 + 10), 0);
    // View x 0-251, y 0-107 (the screen's right strip).
    spritetest::expectGolden("mirrored_cells", *screen, 480 - 108, 0, 108, 252, kGolden);
}

TEST_F(PaintTest, RegionGridRepeatsAndStatesHide) {
    loadLevel("layer 4 40 20\n" + [] {
        std::string s;
        for (int r = 0; r < 20; ++r) s += std::string(40, '.') + "\n";
        return s;
    }() + "regions\nregion 2 3 3 1 2 1\n  1 2\nregion 2 5 1 1 1 1\n  3\n");
    game::cg().layerSettings->data()[game::cg().stage] = 0;  // region cells from level sprite 0
    game::cg().cameraX = 400;
    game::cg().cameraY = 240;
    game::world::updateLayerOffsets();
    screen->clear(0);
    w::drawBackgroundLayers(1);
    // Columns 2, 3, 4 of row 3 show grid columns 0, 1, 0.
    EXPECT_EQ(view(2 * 36 + 20, 3 * 36 + 20), kGreen);
    EXPECT_EQ(view(3 * 36 + 20, 3 * 36 + 20), kBlue);
    EXPECT_EQ(view(4 * 36 + 20, 3 * 36 + 20), kGreen);
    EXPECT_EQ(view(2 * 36 + 20, 5 * 36 + 20), kYellow);
    // View x 0-251, y 72-215: the two-column grid and the one-cell region.
    spritetest::expectGolden("region_grid", *screen, 480 - 216, 0, 144, 252, kGolden);
    // Coverage marks, then a region in state 1 is neither drawn nor marked.
    IntArray* cover = game::cg().regionCoverage;
    w::drawBackgroundLayers(0);
    EXPECT_EQ(cover->data()[3], 0b11100);
    EXPECT_EQ(cover->data()[5], 0b100);
    for (jint i = 0; i < cover->length(); ++i) cover->data()[i] = 0;
    w::setRegionStateInRect(1, 72, 180, 72, 180);
    screen->clear(0);
    w::drawBackgroundLayers(1);
    w::drawBackgroundLayers(0);
    EXPECT_EQ(view(2 * 36 + 20, 5 * 36 + 20), 0);
    EXPECT_EQ(cover->data()[5], 0);
    EXPECT_EQ(cover->data()[3], 0b11100);
}

TEST_F(PaintTest, CachePiecesAtTheSeams) {
    w::createTileCache();
    struct Case {
        jint x, y, pieces;
    } cases[] = {{0, 0, 1}, {64, 0, 2}, {63, 0, 1}, {0, 60, 2}, {0, 59, 1}, {64, 60, 4}, {900, 1000, 2}, {850, 1000, 4}};
    for (const Case& c : cases) EXPECT_EQ(w::blitTileCache(c.x, c.y), c.pieces) << c.x << "," << c.y;
}


std::string twoLayers() {
    // Layer 0: 30 x 20 of frames by position; layer 1: 12 x 6 (narrower
    // than the view: it repeats) with empty cells.
    std::string s = "layer 0 30 20\n";
    for (int r = 0; r < 20; ++r) {
        for (int c = 0; c < 30; ++c) s += std::to_string((c * 7 + r * 3) % 4) + ((c + r) % 5 == 0 ? "<" : "") + " ";
        s += "\n";
    }
    s += "layer 1 12 6\n";
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 12; ++c) s += ((c + 2 * r) % 3 == 0 ? std::to_string((c + r) % 4) : std::string(".")) + " ";
        s += "\n";
    }
    s += "layer 4 30 20\n";
    for (int r = 0; r < 20; ++r) s += std::string(30, '.') + "\n";
    return s;
}

// The two layers painted through the cache at x = 64 (the first position
// whose blit takes two pieces), around the seam.
TEST_F(PaintTest, SeamAtX64Golden) {
    loadLevel(twoLayers());
    w::createTileCache();
    screen->clear(0);
    w::paintMapLayers({0, 1}, 64, 0);
    spritetest::expectGolden("seam_x64", *screen, 480 - 144, 0, 144, 216, kGolden);
}

TEST_F(PaintTest, ScrollingThroughTheCacheEqualsAFullRedraw) {
    loadLevel(twoLayers());
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> small(-40, 40), jump(0, 9);
    jint x = 0, y = 0;
    w::createTileCache();
    for (int i = 0; i < 60; ++i) {
        if (jump(rng) == 0) {
            x = static_cast<jint>(rng() % 1200), y = static_cast<jint>(rng() % 400);
        } else {
            x = std::max(0, x + small(rng));
            y = std::max(0, y + small(rng) / 2);
        }
        w::paintMapLayers({0, 1}, x, y);
    }
    const std::vector<uint16_t> scrolled = screen->pixels();
    game::cg().tileCacheDirty = 1;
    screen->clear(0x1234);
    w::paintMapLayers({0, 1}, x, y);
    EXPECT_EQ(screen->pixels(), scrolled);
    // And the same as drawing the cells straight onto the screen.
    screen->clear(0);
    for (jint layer : {0, 1}) {
        for (jint r = y / 36; r <= (y + 479) / 36; ++r)
            for (jint c = x / 36; c <= (x + 799) / 36; ++c) {
                const jint w0 = game::world::layerWidth(layer), h0 = game::world::layerHeight(layer);
                const jint v = static_cast<uint16_t>(game::world::layerCells(layer)->data()[(c % w0) + w0 * (r % h0)]);
                if (v != 0xFFFF) w::drawTileImage(screen->g, tiles, c * 36 - x, r * 36 - y, v & 0x1FFF, v & 0xC000);
            }
    }
    EXPECT_EQ(screen->pixels(), scrolled);
}

}  // namespace

namespace {

// Each channel is interpolated as (a(n - t) + bt) / n: a falling channel
// rounds down as a rising one does (10 to 0 over four rows: 10 7 5 2), and
// the four channels keep apart.
TEST(Gradient, ChannelsFallAsTheyRise) {
    worldtest::startApplication();
    IntArray* buffer = newIntArray(4);
    game::world::fillGradient(buffer, 1, 10, 10, 0, 0, 0, 0, 1, 4, false, false);
    const jint falling[4] = {10, 7, 5, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(buffer->data()[i], falling[i]) << "row " << i;
    game::world::fillGradient(buffer, 1, static_cast<jint>(0xFF000A00), static_cast<jint>(0xFF000A00), 0x000A000A,
                              0x000A000A, 0, 0, 1, 4, false, false);
    EXPECT_EQ(buffer->data()[1], static_cast<jint>(0xBF020702));
    worldtest::closeApplication();
}

TEST(Gradient, QuadraticLeftEdgeAndEmptyBlocks) {
    worldtest::startApplication();
    IntArray* buffer = newIntArray(4 * 4);
    game::world::fillGradient(buffer, 4, 0, 0, 0x00000010, 0x00000010, 0, 0, 1, 4, true, false);
    // 0, 1/16, 4/16 and 9/16 of the way to 16.
    EXPECT_EQ(buffer->data()[0], 0);
    EXPECT_EQ(buffer->data()[4], 1);
    EXPECT_EQ(buffer->data()[8], 4);
    EXPECT_EQ(buffer->data()[12], 9);
    buffer->data()[1] = 77;
    game::world::fillGradient(buffer, 4, -1, -1, -1, -1, 1, 0, 0, 4, false, false);
    game::world::fillGradient(buffer, 4, -1, -1, -1, -1, 1, 0, 3, 0, false, false);
    EXPECT_EQ(buffer->data()[1], 77);
    // A block reaching past the buffer writes only inside it.
    game::world::fillGradient(buffer, 4, -1, -1, -1, -1, 2, 3, 4, 4, false, false);
    EXPECT_EQ(buffer->data()[15], -1);
    worldtest::closeApplication();
}

}  // namespace
