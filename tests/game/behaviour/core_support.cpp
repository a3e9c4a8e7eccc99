// Fixture of the behaviour tests (see core_support.h). The application is
// configured as the world fixture's, with the behaviour statics in the list.
#include "tests/game/behaviour/core_support.h"

#include <string>
#include <vector>

#include "display/lcdui/lcdui.h"
#include "game/actor/defaults.h"
#include "game/actor/tables.h"
#include "game/behaviour/behaviour.h"
#include "game/behaviour/bosses.h"
#include "game/data/hooks.h"
#include "game/sprite/statics.h"
#include "game/world/camera.h"
#include "game/world/hero/hero_statics.h"
#include "game/world/world.h"
#include "runtime/resource.h"
#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

namespace behaviourtest {
namespace {

std::vector<const StaticsContribution*> g_statics;

void loadPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) statics.m_stringPool->data()[i] = String::fromUtf16(pool[i]);
}

const kit::Bytes& tables() {
    static const kit::Bytes bytes = [] {
        kit::ActorTables t = kit::demoActorTables();
        // Subtype 1: kind 10, margins 200 / 240, drawn and active by default.
        t.rows[1].values = {200, 240, -1, -145, -1, 10, 32, 32, 0xA0, 10, -1, 10};
        return kit::encodeActorTables(t);
    }();
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
    game::behaviour::appendBehaviourStatics(g_statics);
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

void closeApplication() {
    game::behaviour::uninstallBehaviours();
    worldtest::closeApplication();
}

}  // namespace behaviourtest
