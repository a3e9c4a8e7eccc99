// Fixture of the actor-framework tests.
#include "tests/game/actor/support.h"

#include "display/lcdui/lcdui.h"
#include "game/actor/tables.h"
#include "game/flow/flow_statics.h"
#include "game/sprite/statics.h"
#include "runtime/resource.h"
#include "tools/kit/demo.h"

namespace actortest {
namespace {

std::vector<const StaticsContribution*> g_statics;
kit::Bytes g_tables;
bool g_haveTables = true;

}  // namespace

kit::Bytes demoTablesBytes() {
    static const kit::Bytes bytes = kit::encodeActorTables(kit::demoActorTables());
    return bytes;
}

void startApplication(std::optional<kit::Bytes> tables) {
    g_haveTables = !tables || !tables->empty();
    g_tables = tables ? *tables : demoTablesBytes();
    rt::setResourceReader([](const char* name, std::vector<uint8_t>& bytes) {
        if (std::string(name) != game::kActorTablesResource || !g_haveTables) return false;
        bytes = g_tables;
        return true;
    });
    g_statics.clear();
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    game::appendGameStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 32 << 20;
    config.statics = &g_statics;
    config.loadConstants = &spritetest::loadDemoPool;
    Application::init(config);
}

void closeApplication() {
    sprite::setSpriteHost(nullptr);
    if (Application::instance()) Application::instance()->close();
    rt::setResourceReader(nullptr);
}

void openMap() {
    game::cGameStatics& g = game::cg();
    g.collisionWidth = 160;
    g.collisionHeight = 60;
    g.mapPixelWidth = 160 * 36;
    g.mapPixelHeight = 60 * 36;
    ShortArray* cells = newShortArray(160 * 60);
    g.collisionMap = cells;
}

ShortArray* record(int subtype, int id, int x, int y, int anim, int flags, const std::vector<int16_t>& params) {
    std::vector<int16_t> r = kit::levelActorRecord(subtype, id, x, y, anim, flags, params);
    ShortArray* a = newShortArray(static_cast<jint>(r.size()));
    for (size_t i = 0; i < r.size(); ++i) a->data()[i] = r[i];
    return a;
}

cActor* spawn(int subtype, int id, int x, int y, int flags, const std::vector<int16_t>& params) {
    ShortArray* r = record(subtype, id, x, y, 0, flags, params);
    cActor* a = game::spawnActor(r, r->length(), 0);
    EXPECT_NE(a, nullptr) << "subtype " << subtype;
    return a;
}

void place(cActor* a, jint x, jint y, jint w, jint h) {
    a->setPosition(x, y);
    if (a->motion) {
        a->motion->data()[4] = x << 8;
        a->motion->data()[5] = y << 8;
    }
    cActor::setBox(a->box, x - w / 2, y - h, x + w / 2, y);
}

}  // namespace actortest

cActor* actortest::makeHero(jint x, jint y, jint subtype) {
    cActor* h = newObject<cActor>();
    h->subtype = subtype;
    h->allocMotionState();
    place(h, x, y, 20, 40);
    game::cg().hero = h;
    return h;
}

BSprite* actortest::tickSprite(int anims, int frames) {
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFF00FF00, 4, 4));
    kit::SpriteFrame f;
    f.modules = {{0, 0, 0, 0, 0}};
    m.frames = {f};
    kit::SpriteAnim a;
    a.frames.assign(static_cast<size_t>(frames), kit::AnimFrame{0, 1});
    m.anims.assign(static_cast<size_t>(anims), a);
    return spritetest::loadSprite(m);
}

void actortest::centreCamera() {
    game::cg().cameraX = 400;
    game::cg().cameraY = 240;
    for (jint l = 0; l < 5; ++l) {
        auto* p = static_cast<IntArray*>(game::cg().layerPositions->data()[l]);
        p->data()[0] = 400;
        p->data()[1] = 240;
    }
}

