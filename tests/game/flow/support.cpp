// The game-flow tests' fixture (see support.h).
#include "tests/game/flow/support.h"

#include "display/lcdui/lcdui.h"
#include "game/data/pack.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/sprite/statics.h"
#include "io/statics.h"
#include "javalib/lang.h"
#include "javalib/utilstatics.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_flow.h"
#include "tools/kit/loading.h"
#include "game/flow/loading.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"
#include "runtime/stringpool.h"

#include <cstring>

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
    const kit::Bytes pool = kit::encodeStringPool(kit::demoStringPool());
    rt::loadStringPool(statics, pool.data(), pool.size());
}

}  // namespace

// The game-data fixture's application plus java.lang and java.util (the
// game prints through System.out and draws randoms from java.util.Random).
void startFlowApplication(size_t objectHeap, size_t dataHeap) {
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
    config.objectHeapSize = objectHeap;
    config.dataHeapSize = dataHeap;
    config.statics = &list;
    config.loadConstants = &loadPool;
    Application::init(config);
}

void FlowTest::SetUp() {
    datatest::files().clear();
    startFlowApplication();
    datatest::serveFromMemory();
    log.clear();
    game::setGameClock(&clock);
    game::setPlayerMaker(nullptr);
    game::setLoadSteps(nullptr);
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

namespace {
// Loading steps that reach nothing outside the loading table.
class InertSteps : public game::LoadSteps {
public:
    void openPack(String*) override {}
    ByteArray* loadResource(jint) override { return nullptr; }
    bool isTextPackLoaded(jint) override { return true; }
    void unloadTextPack(jint) override {}
    void loadSprite(ObjectArray*, jint, jint, jint) override {}
};
}  // namespace

void exerciseLoadingData(const uint8_t* data, size_t size) {
    static InertSteps inert;
    game::setLoadSteps(&inert);
    game::cGameStatics& f = game::cg();
    f.loadingTable = nullptr;
    f.groupPrograms = nullptr;
    f.spriteIndex = nullptr;
    f.loadRequest = newIntArray(4);
    f.groupValues = newIntArray(game::kLoadGroups);
    const size_t head = size < 4 ? size : 4;
    for (size_t k = 0; k < head; ++k) game::cg().loadRequest->data()[k] = static_cast<int8_t>(data[k]);
    data += head;
    size -= head;
    const size_t tableBytes = size < size_t(game::kLoadTableBytes) ? size : size_t(game::kLoadTableBytes);
    ByteArray* table = newByteArray(static_cast<jint>(tableBytes));
    if (tableBytes) std::memcpy(table->data(), data, tableBytes);
    ByteArray* conditions = newByteArray(static_cast<jint>(size - tableBytes));
    if (size > tableBytes) std::memcpy(conditions->data(), data + tableBytes, size - tableBytes);
    const bool tableOk = game::acceptLoadingTable(table);
    const bool conditionsOk = game::acceptConditionFile(conditions);
    if (tableOk && conditionsOk) {
        game::loadGameData();
        game::planLoadSteps();
        for (jint g = 0; g < game::kLoadGroups; ++g) game::evalLoadGroup(g);
        for (jint i = 0; i < game::kLoadRecords; i += 7) game::decodeLoadStep(i);
        for (jint e = 0; e < 4; ++e) game::requireResource(e, e);
    } else if (conditionsOk) {
        game::evalLoadGroups();
    }
    Application::clearPendingException();
    game::setLoadSteps(nullptr);
}

std::vector<SeedFile> loadingSeeds() {
    const kit::Bytes table = kit::encodeLoadingTable(kit::demoLoadingTable());
    const kit::Bytes conditions = kit::encodeConditionFile(kit::demoConditionPrograms());
    auto join = [](const kit::Bytes& t, const kit::Bytes& c, uint8_t kind) {
        std::vector<uint8_t> b = {kind, 0, 0, 3};
        b.insert(b.end(), t.begin(), t.end());
        b.insert(b.end(), c.begin(), c.end());
        return b;
    };
    std::vector<SeedFile> out;
    out.push_back({"demo-kind4", join(table, conditions, 4)});
    out.push_back({"demo-kind2", join(table, conditions, 2)});
    for (const kit::DamagedFile& d : kit::damageFile(kit::FileKind::LoadingTable, table))
        out.push_back({"table-" + d.name, join(d.bytes, d.bytes.size() == table.size() ? conditions : kit::Bytes{}, 4)});
    for (const kit::DamagedFile& d : kit::damageFile(kit::FileKind::Conditions, conditions))
        out.push_back({"conditions-" + d.name, join(table, d.bytes, 4)});
    std::vector<kit::Bytes> tricky(kit::kLoadGroups, kit::assembleCondition("push 1"));
    tricky[0] = kit::assembleCondition("group 1");
    tricky[1] = kit::assembleCondition("group 0; push 0; div");
    tricky[2] = kit::assembleCondition("add; sel; push 1; push 40; shl");
    out.push_back({"cycles-and-errors", join(table, kit::encodeConditionFile(tricky), 4)});
    return out;
}

}  // namespace flowtest
