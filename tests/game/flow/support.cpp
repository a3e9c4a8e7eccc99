// The game-flow tests' fixture (see support.h).
#include "tests/game/flow/support.h"

#include "display/lcdui/lcdui.h"
#include "game/data/pack.h"
#include "game/flow/input.h"
#include "game/sprite/statics.h"
#include "io/statics.h"
#include "javalib/lang.h"
#include "javalib/utilstatics.h"
#include "tools/kit/demo.h"
#include "game/flow/loading.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"

namespace flowtest {
namespace {

std::mutex g_eventLock;
std::vector<std::string> g_events;
std::atomic<bool> g_ended{false};

void record(const std::string& e) {
    std::lock_guard<std::mutex> lock(g_eventLock);
    g_events.push_back(e);
}

class FakePlayer : public Object,
                   public javax_microedition_media_Player,
                   public javax_microedition_media_control_VolumeControl {
public:
    explicit FakePlayer(jint id) : Object(cid::Object), m_id(id) { m_state = media::kStateUnrealized; }

    void* getInterface(jint id) override {
        if (id == media::kPlayerId || id == media::kControllableId)
            return static_cast<javax_microedition_media_Player*>(this);
        if (id == media::kVolumeControlId) return static_cast<javax_microedition_media_control_VolumeControl*>(this);
        return nullptr;
    }
    Object* getControl(String*) override { return this; }
    ObjectArray* getControls() override { return nullptr; }
    void realize() override { m_state = media::kStateRealized; }
    void prefetch() override { m_state = media::kStatePrefetched; }
    void start() override {
        m_state = media::kStateStarted;
        say("start");
    }
    void stop() override {
        if (m_state == media::kStateStarted) m_state = media::kStatePrefetched;
        say("stop");
    }
    void deallocate() override {}
    void close() override {
        m_state = media::kStateClosed;
        say("close");
    }
    jlong setMediaTime(jlong t) override {
        say("time", static_cast<jint>(t));
        return t;
    }
    jlong getMediaTime() override { return 0; }
    jint getState() override {
        if (m_state == media::kStateStarted && g_ended) return media::kStatePrefetched;
        return m_state;
    }
    jlong getDuration() override { return -1; }
    String* getContentType() override { return nullptr; }
    void setLoopCount(jint c) override { say("loop", c); }
    jint getLevel() override { return 100; }
    jboolean isMuted() override { return 0; }
    jint setLevel(jint level) override {
        say("volume", level);
        return 100;
    }
    void setMute(jboolean) override {}

private:
    void say(const char* what) { record(std::string(what) + " " + std::to_string(m_id)); }
    void say(const char* what, jint v) { record(std::string(what) + " " + std::to_string(m_id) + " " + std::to_string(v)); }

    jint m_id;
    jint m_state;
};

Object* makeFake(java_io_InputStream* stream, String*) {
    const jint id = stream ? stream->read() : -1;
    record("make " + std::to_string(id));
    return newObject<FakePlayer>(id);
}

}  // namespace

std::vector<std::string> playerEvents() {
    std::lock_guard<std::mutex> lock(g_eventLock);
    return g_events;
}

void clearPlayerEvents() {
    std::lock_guard<std::mutex> lock(g_eventLock);
    g_events.clear();
}

void useFakePlayers() {
    clearPlayerEvents();
    game::setPlayerMaker(&makeFake);
}

void setPlayersEnded(bool ended) { g_ended = ended; }

namespace {

void loadPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) {
        String* s = String::fromUtf16(pool[i]);
        statics.m_stringPool->data()[i] = s;
    }
}

// The game-data fixture's application plus java.lang and java.util (the
// game prints through System.out and draws randoms from java.util.Random).
void startFlowApplication() {
    static std::vector<const StaticsContribution*> list;
    static bool registered = false;
    if (!registered) {
        registerLangStatics();
        registerUtilStatics();
        registered = true;
    }
    list.clear();
    for (const StaticsContribution* c : StaticClass::registered()) list.push_back(c);
    for (const StaticsContribution* c : bramble::io::staticsContributions()) list.push_back(c);
    list.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(list);
    game::appendGameStatics(list);
    Application::Config config;
    config.objectHeapSize = 8 << 20;
    config.dataHeapSize = 48 << 20;
    config.statics = &list;
    config.loadConstants = &loadPool;
    Application::init(config);
}

}  // namespace

void FlowTest::SetUp() {
    datatest::files().clear();
    startFlowApplication();
    datatest::serveFromMemory();
    log.clear();
    game::setGameClock(&clock);
    game::setPlayerMaker(nullptr);
    game::setLoadSteps(nullptr);
    game::setHeroSubtypeSource(nullptr);
    g_ended = false;
    for (jint s = 1; s < game::kStateSlots; ++s) game::setStateHandler(s, nullptr);
    RavitBHSG::setStartsThread(false);
}

void FlowTest::TearDown() {
    game::setGameClock(nullptr);
    game::setPlayerMaker(nullptr);
    game::setLoadSteps(nullptr);
    RavitBHSG::setStartsThread(true);
    datatest::GameDataTest::TearDown();
}

IntArray* ints(std::initializer_list<jint> values) {
    return IntArray::fill(newIntArray(static_cast<jint>(values.size())), values);
}

}  // namespace flowtest
