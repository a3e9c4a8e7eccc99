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

void loadPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) {
        String* s = String::fromUtf16(pool[i]);
        statics.m_stringPool->data()[i] = s;
    }
}

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
    g_statics.push_back(&game::g_actorStoreStatics);
    g_statics.push_back(&game::g_cActorStatics);
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 32 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    game::installActorHooks();
    game::installActorDefaults();
    Application::init(config);
}

void closeApplication() {
    sprite::setSpriteHost(nullptr);
    game::setWorldHooks(nullptr);
    game::setBehaviourHooks(nullptr);
    game::setActorHooks(nullptr);
    if (Application::instance()) Application::instance()->close();
    rt::setResourceReader(nullptr);
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

bool actortest::Recorder::has(const std::string& c) const {
    for (const std::string& s : calls)
        if (s == c) return true;
    return false;
}
