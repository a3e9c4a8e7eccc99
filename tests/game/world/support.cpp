// Fixture of the world tests.
#include "tests/game/world/support.h"

#include "game/actor/actor.h"

#include "display/lcdui/lcdui.h"
#include "game/actor/defaults.h"
#include "game/actor/hero.h"
#include "game/actor/tables.h"
#include "game/sprite/statics.h"
#include "game/world/camera.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "game/world/world.h"
#include "runtime/resource.h"
#include "tools/kit/actortables.h"
#include "tools/kit/demo.h"

namespace worldtest {
namespace {

std::vector<const StaticsContribution*> g_statics;

void loadPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) {
        String* s = String::fromUtf16(pool[i]);
        statics.m_stringPool->data()[i] = s;
    }
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

ShortArray* shorts(const std::vector<uint16_t>& v) {
    ShortArray* a = newShortArray(static_cast<jint>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) a->data()[i] = static_cast<jshort>(v[i]);
    return a;
}

}  // namespace

ByteArray* javaBytes(const kit::Bytes& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) a->data()[i] = static_cast<jbyte>(bytes[i]);
    return a;
}

void startApplication(StaticsAppender extraStatics) {
    rt::setResourceReader([](const char* name, std::vector<uint8_t>& bytes) {
        if (std::string(name) != game::kActorTablesResource) return false;
        bytes = tables();
        return true;
    });
    g_statics.clear();
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    game::appendGameStatics(g_statics);
    if (extraStatics) extraStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 32 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    game::world::installWorld();
    // These tests run the hero's routines by hand after each actor update.
    game::setHeroUpdateRoutine(nullptr);
    game::createActorPool();
    game::cg().difficulty = 1;
    game::world::resetCamera();
}

void closeApplication() {
    game::world::uninstallWorld();
    sprite::setSpriteHost(nullptr);
    if (Application::instance()) Application::instance()->close();
    rt::setResourceReader(nullptr);
}

void loadLevel(const std::string& description) {
    kit::LevelModel m = kit::parseLevelDescription(description);
    game::removeAllActors(true);
    game::cGameStatics& g = game::cg();
    g.mapPixelWidth = g.mapPixelHeight = 0;
    for (jint l = 0; l < 5; ++l) {
        const auto& layer = m.layers[static_cast<size_t>(l)];
        ShortArray* size = static_cast<ShortArray*>(game::cg().layerSizes->data()[l]);
        if (!layer) {
            game::cg().layerMaps->data()[l] = nullptr;
            size->data()[0] = size->data()[1] = 0;
            continue;
        }
        ShortArray* cells = shorts(layer->cells);
        ObjectArray::set(game::cg().layerMaps, l, cells);
        size = static_cast<ShortArray*>(game::cg().layerSizes->data()[l]);
        size->data()[0] = static_cast<jshort>(layer->width);
        size->data()[1] = static_cast<jshort>(layer->height);
        game::cg().mapPixelWidth = std::max(game::cg().mapPixelWidth, layer->width * 36);
        game::cg().mapPixelHeight = std::max(game::cg().mapPixelHeight, layer->height * 36);
        if (l == 4) {
            game::cg().collisionMap = cells;
            game::cg().collisionWidth = layer->width;
            game::cg().collisionHeight = layer->height;
        }
    }
    game::cg().levelObjectData = javaBytes(kit::encodeLevelObjects(m.objects));
    game::world::setupLevelMap();
    game::world::loadLevelRecords(m.scripts ? javaBytes(kit::encodeLevelScripts(*m.scripts)) : nullptr);
    if (m.regions) game::world::loadMapRegions(javaBytes(kit::encodeMapRegions(*m.regions)));
    game::world::resetCamera();
}

cActor* spawnRecord(const std::vector<int16_t>& record) {
    ShortArray* r = newShortArray(static_cast<jint>(record.size()));
    for (size_t i = 0; i < record.size(); ++i) r->data()[i] = record[i];
    cActor* a = game::spawnActor(r, r->length(), 0);
    EXPECT_NE(a, nullptr);
    return a;
}

cActor* makeHero(jint x, jint y) {
    cActor* h = spawnRecord(kit::levelActorRecord(0, 1, x, y, 0, 0xA0, {-1, -1, -1, -1, -1}));
    if (!h) return nullptr;
    game::cg().hero = h;
    if (!h->motion) h->allocMotionState();
    h->physicsFlags = 0x1000000 | 1;
    cActor::setBox(h->box, x - 17, y - 85, x + 17, y);
    if (!h->savedBox) h->savedBox = newShortArray(4);
    return h;
}

}  // namespace worldtest
