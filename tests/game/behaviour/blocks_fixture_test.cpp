// The block family's fixture (blocks_fixture.h); no tests of its own.
#include "tests/game/behaviour/blocks_fixture.h"

#include "display/lcdui/lcdui.h"
#include "game/actor/defaults.h"
#include "game/actor/pool.h"
#include "game/actor/tables.h"
#include "game/behaviour/behaviour.h"
#include "game/behaviour/blocks_statics.h"
#include "game/data/statics.h"
#include "game/sprite/statics.h"
#include "game/world/camera.h"
#include "game/world/hero/hero_statics.h"
#include "game/world/map.h"
#include "game/world/statics.h"
#include "game/world/world.h"
#include "runtime/resource.h"
#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_blocks.h"
#include "tools/kit/describe.h"

namespace blockstest {

namespace {

std::vector<const StaticsContribution*> g_statics;

void loadPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    statics.m_stringPool = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    for (size_t i = 0; i < pool.size(); ++i) {
        String* s = String::fromUtf16(pool[i]);
        statics.m_stringPool->data()[i] = s;
    }
}

const kit::Bytes& tables() {
    static const kit::Bytes bytes = kit::encodeActorTables(kit::demoActorTables());
    return bytes;
}

}  // namespace

void startApplication() {
    rt::setResourceReader([](const char* name, std::vector<uint8_t>& bytes) {
        if (std::string(name) != game::kActorTablesResource) return false;
        bytes = tables();
        return true;
    });
    g_statics.clear();
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    game::appendGameStatics(g_statics);
    g_statics.push_back(&game::g_actorStoreStatics);
    g_statics.push_back(&game::g_cActorStatics);
    g_statics.push_back(&game::g_WorldStatics);
    g_statics.push_back(game::hero::heroStaticsContribution());
    g_statics.push_back(game::behaviour::behaviourStaticsContribution());
    g_statics.push_back(game::behaviour::blocksStaticsContribution());
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 32 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    game::installActorHooks();
    game::installActorDefaults();
    game::world::installWorld();
    game::createActorPool();
    game::cg().difficulty = 1;
    game::world::resetCamera();
    game::behaviour::installBehaviours();
}

void BlocksTest::SetUp() {
    startApplication();
    sprite = spritetest::loadSprite(kit::parseSpriteDescription(kit::kDemoBlocksSprite));
    ASSERT_NE(sprite, nullptr);
    screen = std::make_unique<spritetest::Screen>();
    game::cg().graphics = screen->g;
}

void BlocksTest::TearDown() {
    screen.reset();
    worldtest::closeApplication();
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
    // Landscape (x, y, w, h) is the portrait area (479 - y - h + 1, x, h, w).
    spritetest::expectGolden(name, *screen, 480 - y - h, x, h, w, "tests/game/behaviour/golden");
}

}  // namespace blockstest
