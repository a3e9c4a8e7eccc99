// The block family's fixture (blocks_fixture.h); no tests of its own.
#include "tests/game/behaviour/blocks_fixture.h"

#include "tests/game/behaviour/core_support.h"

#include "display/lcdui/lcdui.h"
#include "game/actor/defaults.h"
#include "game/actor/pool.h"
#include "game/actor/tables.h"
#include "game/behaviour/behaviour.h"
#include "game/behaviour/blocks_statics.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/statics.h"
#include "game/world/camera.h"
#include "game/actor/actor.h"
#include "game/world/map.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/world.h"
#include "runtime/resource.h"
#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/describe.h"

namespace blockstest {

void BlocksTest::SetUp() {
    behaviourtest::startApplication();
    sprite = spritetest::loadSprite(kit::parseSpriteDescription(kit::kDemoBlocksSprite));
    ASSERT_NE(sprite, nullptr);
    screen = std::make_unique<spritetest::Screen>();
    game::cg().graphics = screen->g;
    // The game's sprite table: the block sprite also serves as sprite 33
    // (the chain of type 8) and sprite 4.
    game::cg().sprites = newObjectArray(cid::Object, 40);
    ObjectArray::set(game::cg().sprites, 33, sprite);
    ObjectArray::set(game::cg().sprites, 4, sprite);
}

void BlocksTest::TearDown() {
    screen.reset();
    behaviourtest::closeApplication();
}

void BlocksTest::emptyLevel(int w, int h, const std::string& extra) {
    std::string d = "layer 4 " + std::to_string(w) + " " + std::to_string(h) + "\n";
    for (int r = 0; r < h; ++r) d += (r >= h - 2 ? std::string(w, '6') : std::string(w, '.')) + "\n";
    worldtest::loadLevel(d + extra);
    hero = worldtest::makeHero(200, (h - 2) * 36);
}

cActor* BlocksTest::block(int subtype, int id, int x, int y, const std::vector<int16_t>& params) {
    cActor* a = worldtest::spawnRecord(kit::levelActorRecord(subtype, id, x, y, 0, 160, params));
    if (a) a->sprite = sprite;
    return a;
}

int BlocksTest::cell(int column, int row) const { return game::world::collisionCell(column, row); }

void BlocksTest::goldenView(const std::string& name, jint x, jint y, jint w, jint h) {
    // The game paints the landscape view onto the portrait screen turned a
    // quarter: view (x, y) is screen (479 - y, x).
    spritetest::expectGolden(name, *screen, 480 - y - h, x, h, w, "tests/game/behaviour/golden");
}

}  // namespace blockstest
