// The play view as the program paints it: the demo stage started the way
// the game starts a level, the frame painted through the canvas's paint
// entry into a 480 x 800 screen image handed over the way the application
// hands its screen (reset Graphics, no translation, whole clip). Checks
// that the map layer drawn through the tile cache reaches that screen,
// covers it every frame, sits at its layer's scroll position and, after any
// scroll, equals a full redraw.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/actor/actor.h"
#include "game/actor/paint.h"
#include "game/world/camera.h"
#include "game/world/paint.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screen.h"
#include "game/world/camera.h"
#include "game/world/panel.h"
#include "game/world/scripts.h"
#include "game/sprite/sprite.h"
#include "runtime/objectmanager.h"
#include "runtime/statics.h"
#include "tests/game/sprite/support.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/describe.h"
#include "tools/kit/hero_sprite.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr uint16_t kMarker = 0xF81F;  // never a colour of the demo's tiles

// Cells that stay inside their 36 x 36 square: four colours, each with a
// white corner mark (so a mirrored cell shows).
const char* const kFittingTiles = R"(sprite
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

// A 480 x 800 screen image and its Graphics, kept as collector roots.
struct Screen {
    Screen() {
        image = Image::createImage(480, 800);
        g = image->getGraphics();
        ObjectManager::instance()->addRoot(reinterpret_cast<Object**>(&image));
        ObjectManager::instance()->addRoot(reinterpret_cast<Object**>(&g));
    }
    ~Screen() {
        ObjectManager::instance()->removeRoot(reinterpret_cast<Object**>(&g));
        ObjectManager::instance()->removeRoot(reinterpret_cast<Object**>(&image));
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void fill(uint16_t v) {
        ShortArray* px = Image::getPixelShorts(image);
        for (jint i = 0; i < px->length(); ++i) px->data()[i] = static_cast<jshort>(v);
        g->resetForPaint();
    }
    std::vector<uint16_t> pixels() const {
        ShortArray* px = Image::getPixelShorts(image);
        std::vector<uint16_t> out(static_cast<size_t>(std::max<jint>(px->length(), 0)));
        for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint16_t>(px->data()[i]);
        return out;
    }
    // The pixel at (x, y) of the landscape view (turned a quarter on the
    // portrait screen).
    static uint16_t view(const std::vector<uint16_t>& px, jint x, jint y) { return px[size_t(479 - y) + size_t(x) * 480]; }
    int count(uint16_t v) const {
        int n = 0;
        for (uint16_t p : pixels()) n += p == v;
        return n;
    }

    Image* image = nullptr;
    Graphics* g = nullptr;
};

class PlayView : public testing::Test {
protected:
    void SetUp() override {
        stepdriver::Options o;
        o.level = "stage:0";
        o.seed = 3;
        o.steps = 0;
        std::string error;
        ASSERT_TRUE(driver.load(o, error)) << error;
        canvas = newObject<cGame>();
        ObjectManager::instance()->addRoot(reinterpret_cast<Object**>(&canvas));
    }
    void TearDown() override { ObjectManager::instance()->removeRoot(reinterpret_cast<Object**>(&canvas)); }

    // One frame as the application paints it: the screen Graphics reset,
    // then the canvas's paint.
    void paintFrame(Screen& s) {
        s.g->resetForPaint();
        canvas->paint(s.g);
    }
    // The map layer of the play view alone, through the world's hook, into s.
    void paintMapLayer(Screen& s) {
        s.g->resetForPaint();
        game::cg().graphics = s.g;
        game::world::updateLayerOffsets();
        game::world::paintLayerView(0, 0, 0);
    }

    stepdriver::StepDriver driver;
    cGame* canvas = nullptr;
};

// Every pixel of the frame is painted: nothing of the previous picture (the
// marker) shows through where the map layer lies.
TEST_F(PlayView, ACanvasFrameCoversTheWholeScreen) {
    Screen screen;
    for (int i = 0; i < 3; ++i) {
        driver.step();
        screen.fill(kMarker);
        paintFrame(screen);
        EXPECT_EQ(screen.count(kMarker), 0) << "frame after step " << i;
    }
}

// The hero is painted in the play view, at its place in the view: its
// sprite here is the kit's hero drawing with its pixels kept (the demo
// stage loads it without pictures).
TEST_F(PlayView, TheHeroIsPaintedWhereItStands) {
    cActor* hero = game::cg().hero;
    ASSERT_NE(hero, nullptr);
    BSprite* drawing = spritetest::loadSprite(kit::heroSprite());
    ASSERT_NE(drawing, nullptr);
    hero->sprite = drawing;
    // The corner touch buttons lie translucent over the play view's corners.
    game::cg().touchButtons = 0;
    constexpr uint16_t kHeroBlue = 0x339A;  // 0xFF3070D0, the standing module's colour
    // The intro script shows the stage first; the camera then comes back to
    // the hero.
    auto viewX = [&] { return hero->posX - game::world::getLayerX(hero->layer) + 400; };
    auto viewY = [&] { return hero->posY - game::world::getLayerY(hero->layer) + 240; };
    auto inView = [&] { return viewX() >= 20 && viewX() < 780 && viewY() >= 90 && viewY() < 480; };
    for (int i = 0; i < 400 && (game::world::isAnyScriptActive() || !inView()); ++i) driver.step();
    Screen screen;
    for (int i = 0; i < 3; ++i) {
        driver.step();
        screen.fill(kMarker);
        paintFrame(screen);
        const jint vx = viewX(), vy = viewY();
        ASSERT_TRUE(inView()) << "hero outside the view at " << vx << ", " << vy;
        const std::vector<uint16_t> px = screen.pixels();
        EXPECT_EQ(Screen::view(px, vx, vy - 40), kHeroBlue) << "step " << i;
        EXPECT_EQ(Screen::view(px, vx - 10, vy - 80), kHeroBlue) << "step " << i;
    }
}

// The side panel's caption is the program's own text 34 (the string pool, a
// number format), in the text font with palette 6 at (76, 2): not entry 34
// of the text pack.
TEST_F(PlayView, ThePanelCaptionIsTheProgramsText) {
    String* caption = StaticClass::getStringConstant(34);
    ASSERT_NE(caption, nullptr);
    ASSERT_GT(caption->length(), 0);
    Screen painted, expected, textPack;
    painted.fill(0);
    game::cg().graphics = painted.g;
    game::addIntParam(7);
    game::world::paintPanelCaption();
    expected.fill(0);
    game::cg().graphics = expected.g;
    game::setFontPalette(1, 6);
    game::addIntParam(7);
    game::drawFontText(1, caption, 76, 2, 0);
    textPack.fill(0);
    game::cg().graphics = textPack.g;
    game::setFontPalette(0, 6);
    game::drawTextById(0, 34, 76, 2, 0);
    EXPECT_NE(expected.count(0), 480 * 800) << "the caption draws nothing";
    EXPECT_EQ(painted.pixels(), expected.pixels());
    EXPECT_NE(painted.pixels(), textPack.pixels());
}

// The intro script pans the camera across the stage and back: after every
// step the map layer drawn from the incrementally updated cache equals the
// layer redrawn whole, and equals the layer's cells painted one by one at
// the layer's scroll position (inside the layer's rows; the cache repeats
// them below).
TEST_F(PlayView, TheMapLayerFollowsItsScrollPositionAndScrollsWithoutTrails) {
    // The stage's backdrop stands still (its parallax row is {0, 16, 0,
    // 30}); here it scrolls at half the camera's speed both ways.
    IntArray* params = game::cg().layerParams;
    const jint row = 12 * game::cg().stage;
    ASSERT_TRUE(params && row >= 0 && row + 4 <= params->length());
    for (jint k = 0; k < 4; ++k) params->data()[row + k] = k % 2 == 0 ? 1 : 2;
    // The demo's tile frames draw past their cells (a gradient reaches 30 px
    // into the cell below), which a wrap-around cache cannot keep in the
    // order of a full redraw; these stay inside.
    BSprite* tiles = spritetest::loadSprite(kit::parseSpriteDescription(kFittingTiles));
    ASSERT_NE(tiles, nullptr);
    ObjectArray::set(game::cg().levelSprites, 0, tiles);
    game::cg().tileCacheDirty = 1;
    Screen cached, whole, cells;
    auto* size = static_cast<ShortArray*>(game::cg().layerSizes->data()[0]);
    ASSERT_NE(size, nullptr);
    const jint layerRows = size->data()[1];
    ASSERT_GT(layerRows, 0);
    int moved = 0;
    jint lastX = -1, lastTop = -1;
    for (int i = 0; i < 90; ++i) {
        driver.step();
        paintMapLayer(cached);
        game::cg().tileCacheDirty = 1;
        whole.fill(kMarker);
        paintMapLayer(whole);
        {
            const std::vector<uint16_t> a = cached.pixels(), b = whole.pixels();
            int n = 0, fx = -1, fy = -1;
            for (jint vy = 0; vy < 480; ++vy)
                for (jint vx = 0; vx < 800; ++vx)
                    if (Screen::view(a, vx, vy) != Screen::view(b, vx, vy)) {
                        if (!n++) fx = vx, fy = vy;
                    }
            ASSERT_EQ(n, 0) << "step " << i << ": " << n << " pixels differ, first at view (" << fx << ", " << fy
                            << ") layer x " << game::world::getLayerX(0) << " top " << game::world::getLayerViewTop(0, true);
        }

        cells.fill(0);
        game::cg().graphics = cells.g;
        game::paintTileLayer(0);
        const jint x = game::world::getLayerX(0);
        const jint top = game::world::getLayerViewTop(0, true);
        const jint bottom = std::min<jint>(480, layerRows * 36 - top);
        const std::vector<uint16_t> a = whole.pixels(), b = cells.pixels();
        for (jint vy = 0; vy < bottom; ++vy)
            for (jint vx = 0; vx < 800; ++vx)
                ASSERT_EQ(Screen::view(a, vx, vy), Screen::view(b, vx, vy))
                    << "step " << i << " view (" << vx << ", " << vy << ")";
        moved += lastX != -1 && (x != lastX || top != lastTop);
        lastX = x;
        lastTop = top;
    }
    EXPECT_GT(moved, 10) << "the layer did not scroll";
}

}  // namespace
