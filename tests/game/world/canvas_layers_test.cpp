// The play view painted as the canvas paints it: the tile-cached background
// layer and the map's regions go to the Graphics the canvas hands to the
// paint (the flow's field), with the world's own copy of it left unset as
// it is in the program.
#include <gtest/gtest.h>

#include <string>

#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/states.h"
#include "runtime/objectmanager.h"
#include "tests/game/sprite/support.h"
#include "tests/support/stepdriver.h"

namespace {

// Non-black pixels of the play view painted onto a fresh screen.
int paintedPixels() {
    spritetest::Screen screen(480, 800);
    rt::GlobalRef image(screen.image), graphics(screen.g);
    game::cg().graphics = screen.g;
    game::cg().screenGraphics = screen.g;
    game::gameStateDispatch(game::cg().gameState, game::kMsgPaint);
    return screen.countNot(0);
}

TEST(CanvasPaint, PlayViewDrawsTheBackgroundLayerOnTheCanvasGraphics) {
    stepdriver::StepDriver driver;
    stepdriver::Options o;
    o.level = "stage:0";
    o.seed = 3;
    std::string error;
    ASSERT_TRUE(driver.load(o, error)) << error;
    for (int i = 0; i < 40; ++i) driver.step();  // past the level's fade-in
    ASSERT_EQ(game::cg().gameState, 14);
    const int painted = paintedPixels();
    // Stage 0's layer 0 is a tiled pattern behind the whole view: well over
    // half the screen is lit, where the play field alone lights a tenth.
    EXPECT_GT(painted, 480 * 800 / 2) << painted << " pixels lit";
}

}  // namespace
