// The screens' test fixture (support.h).
#include "tests/game/flow/screens/support.h"

#include <mutex>
#include <vector>

#include "display/lcdui/lcdui.h"
#include "game/sprite/statics.h"
#include "tools/kit/demo.h"

namespace game {
extern jint g_pendingRandomSeed;
extern jint g_pendingKeysPressed;
extern jint g_pendingKeysHeld;
extern std::vector<std::pair<jint, jint>> g_pendingRequests;
extern jint g_pendingStateTicks;
extern jint g_pendingStateBelow;
extern bool g_pendingHasProgress;
}  // namespace game

namespace screenstest {
namespace {

std::mutex g_logLock;
std::vector<std::string> g_log;
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
    game::appendScreenStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = 8 << 20;
    config.dataHeapSize = 16 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    setRandomSeed(0);
    actors() = FakeActors();
    game::setScreenActorHooks(&actors());
    setKeys(0, 0);
    requests().clear();
    setStateTicks(0);
    setStateBelow(-1);
    setHasProgress(false);
}

void ScreensTest::TearDown() {
    game::setScreenActorHooks(nullptr);
    if (Application::instance()) Application::instance()->close();
}

LogCapture::LogCapture() {
    {
        std::lock_guard<std::mutex> lock(g_logLock);
        g_log.clear();
    }
    rt::setLogSink([](std::string_view line) {
        std::lock_guard<std::mutex> lock(g_logLock);
        g_log.emplace_back(line);
    });
}
LogCapture::~LogCapture() { rt::setLogSink(nullptr); }
bool LogCapture::contains(const std::string& text) const {
    std::lock_guard<std::mutex> lock(g_logLock);
    for (const std::string& l : g_log)
        if (l.find(text) != std::string::npos) return true;
    return false;
}
size_t LogCapture::count() const {
    std::lock_guard<std::mutex> lock(g_logLock);
    return g_log.size();
}

void setRandomSeed(jint seed) { game::g_pendingRandomSeed = seed; }
jint randomSeed() { return game::g_pendingRandomSeed; }
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
    game::g_pendingKeysPressed = pressed;
    game::g_pendingKeysHeld = held;
}

std::vector<std::pair<jint, jint>>& requests() { return game::g_pendingRequests; }
void setStateTicks(jint n) { game::g_pendingStateTicks = n; }
void setStateBelow(jint s) { game::g_pendingStateBelow = s; }
void setHasProgress(bool on) { game::g_pendingHasProgress = on; }

FakeActors& actors() {
    static FakeActors fake;
    return fake;
}

}  // namespace screenstest
