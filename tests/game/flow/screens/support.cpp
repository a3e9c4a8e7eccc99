// The screens' test fixture (support.h).
#include "tests/game/flow/screens/support.h"

#include <vector>

#include "display/lcdui/lcdui.h"
#include "game/sprite/statics.h"
#include "tools/kit/demo.h"

#include "game/flow/flow_statics.h"

namespace screenstest {
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

}  // namespace

void ScreensTest::SetUp() {
    g_statics.clear();
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    game::appendGameStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = 8 << 20;
    config.dataHeapSize = 16 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    setRandomSeed(0);
    setKeys(0, 0);
    requests().clear();
    setStateTicks(0);
}

void ScreensTest::TearDown() {
    if (Application::instance()) Application::instance()->close();
}


void setRandomSeed(jint seed) { game::cg().randomSeed = seed; }
jint randomSeed() { return game::cg().randomSeed; }
void setTexts(jint slot, const std::vector<std::string>& texts) {
    game::cGameStatics& g = game::cg();
    if (!g.textPackCounts) g.textPackCounts = newIntArray(game::kTextSlots);
    if (!g.textPackStrings) g.textPackStrings = newObjectArray(cid::ObjectArray, game::kTextSlots);
    if (!g.textPackOffsets) g.textPackOffsets = newObjectArray(cid::IntArray, game::kTextSlots);
    if (!g.textPackData) g.textPackData = newObjectArray(cid::ByteArray, game::kTextSlots);
    ObjectArray* list = newObjectArray(cid::String, static_cast<jint>(texts.size()));
    game::cg().textPackStrings->data()[slot] = list;
    game::cg().textPackCounts->data()[slot] = static_cast<jint>(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        String* s = String::fromUtf8(texts[i].c_str());
        list->data()[i] = s;
    }
}

void setKeys(jint pressed, jint held) {
    game::cg().keysPressed = pressed;
    game::cg().keysHeld = held;
}

std::vector<std::pair<jint, jint>>& requests() {
    static std::vector<std::pair<jint, jint>> list;
    return list;
}

void drain() {
    game::cGameStatics& f = game::cg();
    if (!f.statePending) return;
    requests().emplace_back(f.pendingOp, f.pendingOp == 2 ? -1 : f.pendingState);
    f.statePending = false;
}

void run(void (*handler)(jint), jint message) {
    handler(message);
    drain();
}

void setStateTicks(jint n) { game::cg().stateTicks = n; }

void setStack(jint current, const std::vector<jint>& covered) {
    game::cGameStatics& g = game::cg();
    g.gameState = current;
    g.stateStackDepth = static_cast<jint>(covered.size());
    for (size_t i = 0; i < covered.size(); ++i) g.stateStack->data()[i + 1] = covered[i];
}

cActor* makeHero(jint subtype) {
    cActor* h = newObject<cActor>();
    h->subtype = subtype;
    game::cg().hero = h;
    return h;
}

std::vector<cActor*> liveEffects() {
    std::vector<cActor*> live;
    ObjectArray* pool = game::ca().effectPool;
    for (jint i = 0; pool && i < game::ca().effectCount && i < pool->length(); ++i) {
        auto* e = static_cast<cActor*>(pool->data()[i]);
        if (e && !(e->flags & 0x40)) live.push_back(e);
    }
    return live;
}

}  // namespace screenstest
