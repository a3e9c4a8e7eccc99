// The loading table and the group conditions: the interpreter's table of
// cases and its data errors, set-up checks on file values, planning (what
// it frees, what it counts, reuse), running a plan twice, requireResource,
// and the demo content loading the game to the title, end to end.
#include "game/flow/loading.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "game/data/pack.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/program.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/sprite/sprite.h"
#include "javalib/inputstreams.h"
#include "runtime/application.h"
#include "runtime/heap.h"
#include "tests/game/flow/support.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_flow.h"
#include "tools/kit/loading.h"

namespace {

using namespace game;
using flowtest::FlowTest;

// Records the steps' calls; sprites become fresh objects.
class RecordingSteps : public LoadSteps {
public:
    std::vector<std::string> calls;
    void openPack(String* name) override { calls.push_back("open " + datatest::utf8(name)); }
    ByteArray* loadResource(jint entry) override {
        calls.push_back("resource " + std::to_string(entry));
        return nullptr;
    }
    bool isTextPackLoaded(jint id) override { return loaded.count(id) != 0; }
    void loadTextPack(String*, jint id) override {
        calls.push_back("text " + std::to_string(id));
        loaded[id] = 1;
    }
    void unloadTextPack(jint id) override {
        calls.push_back("unload text " + std::to_string(id));
        loaded.erase(id);
    }
    void loadSprite(ObjectArray* table, jint resource, jint slot, jint) override {
        calls.push_back("sprite " + std::to_string(resource) + " -> " + std::to_string(slot));
        Object* s = newObject<BSprite>();
        table->data()[slot] = s;
    }
    std::map<jint, int> loaded;
};

class LoadingTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        setLoadSteps(&steps);
        cg().loadRequest = newIntArray(4);
        cg().groupValues = newIntArray(kLoadGroups);
    }
    void TearDown() override {
        setLoadSteps(nullptr);
        FlowTest::TearDown();
    }
    void accept(const kit::LoadTable& table, std::vector<kit::Bytes> programs) {
        ASSERT_TRUE(acceptLoadingTable(datatest::javaBytes(kit::encodeLoadingTable(table))));
        ASSERT_TRUE(acceptConditionFile(datatest::javaBytes(kit::encodeConditionFile(programs))));
    }
    // The value of group 0 for a program.
    jint evaluate(const std::string& source) {
        std::vector<kit::Bytes> p(kLoadGroups, kit::assembleCondition("push 0"));
        p[0] = kit::assembleCondition(source);
        EXPECT_TRUE(acceptConditionFile(datatest::javaBytes(kit::encodeConditionFile(p))));
        evalLoadGroups();
        return cg().groupValues->data()[0];
    }
    void runPlan() {
        cg().loadStepsDone = -1;
        for (int guard = 0; guard < 500 && !cg().statePending; ++guard) stateLoading();
        ASSERT_TRUE(cg().statePending);
        cg().statePending = 0;
    }
    RecordingSteps steps;
};

TEST_F(LoadingTest, InterpreterCases) {
    struct Case {
        const char* program;
        jint value;
    };
    const Case cases[] = {
        {"push 1", 1},
        {"push 0; push 5; push 9; sel", 9},  // c = 0: the top
        {"push 1; push 5; push 9; sel", 5},  // c = 1: the middle
        {"push -7; push 2; div", -3},
        {"push -7; push 2; mod", -1},
        {"push 3; push 0; or", 1},
        {"push 3; push 0; and", 0},
        {"push 6; push 3; xor", 5},
        {"push 2; push 3; lt; push 5; push 5; le; band", 1},
        {"push 1; push 31; shl", static_cast<jint>(0x80000000)},
        {"push 1; push 32; shl", 0},          // the device rule: all shifted out
        {"push -8; push 33; shr", -1},
        {"push 1; push 256; shl", 1},          // only the low 8 bits count
        {"push 0; not0; push 5; neg; add", -4},
        {"push 5; bnot", -6},
        {"op 3; op 8; op 25; op 99; op -5; push 4", 4},  // one-byte no-ops
        {"req 0; push 4; eq", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(evaluate(c.program), c.value) << c.program;
}

TEST_F(LoadingTest, DataErrorsGiveZeroAndAreLogged) {
    struct Case {
        const char* program;
        const char* logged;
    };
    const Case cases[] = {
        {"push 7; push 0; div", "division by zero"},
        {"push 7; push 0; mod", "division by zero"},
        {"add", "stack underflow"},
        {"", "leaves no value"},
        {"group 0", "refers to itself"},
        {"req 9", "request element"},
        {"op 2; op 1", "operand cut short"},
    };
    for (const Case& c : cases) {
        log.clear();
        EXPECT_EQ(evaluate(c.program), 0) << c.program;
        EXPECT_TRUE(log.contains(c.logged)) << c.program;
        EXPECT_EQ(cg().groupStackTop, 0) << c.program;
    }
    std::string overflow;
    for (int i = 0; i < 300; ++i) overflow += "push 1 ";
    log.clear();
    EXPECT_EQ(evaluate(overflow), 0);
    EXPECT_TRUE(log.contains("stack overflow"));
}

TEST_F(LoadingTest, GroupsAreEvaluatedOnceAndCyclesGiveZero) {
    std::vector<kit::Bytes> p(kLoadGroups, kit::assembleCondition("push 0"));
    p[0] = kit::assembleCondition("group 2; group 2; add");
    p[2] = kit::assembleCondition("req 1; push 1; add");
    p[3] = kit::assembleCondition("group 4");
    p[4] = kit::assembleCondition("group 3; push 1; add");  // 3 -> 4 -> 3
    // Group 5 logs a data error each time it runs: used twice, run once.
    p[6] = kit::assembleCondition("group 5; group 5; add");
    p[5] = kit::assembleCondition("push 1; push 0; div");
    ASSERT_TRUE(acceptConditionFile(datatest::javaBytes(kit::encodeConditionFile(p))));
    cg().loadRequest->data()[1] = 4;
    const jint errors = loadConditionErrors();
    evalLoadGroups();
    EXPECT_EQ(loadConditionErrors() - errors, 2);  // the cycle and group 5 once
    EXPECT_EQ(cg().groupValues->data()[0], 10);
    EXPECT_EQ(cg().groupValues->data()[2], 5);
    EXPECT_EQ(cg().groupValues->data()[4], 1);  // its reference to 3 gave 0
    EXPECT_EQ(cg().groupValues->data()[3], 1);
    EXPECT_TRUE(log.contains("refers to itself"));
}

TEST_F(LoadingTest, BadRecordsBecomeNoOpsAndShortFilesAreRejected) {
    kit::LoadTable t;
    t[0] = {1, 119, 0, 0, 0, 0};    // sprite slot past 118
    t[1] = {1, 5, 0, 0, 27, 0};     // pack past the index
    t[2] = {1, 5, 0, 0, 3, 128};    // resource past the index
    t[3] = {2, 3, 0, 0, 0, 0};      // font slot
    t[4] = {19, 37, 0, 0, 0, 1};    // sound id
    t[5] = {19, 3, 0, 0, 0, 40};    // sound resource
    t[6] = {15, 0, 0, 5, 0, 0};     // level sprite slot
    t[7] = {12, 0, 0, 0, 0, 420};   // record reference
    t[8] = {18, 0, 0, 0, 0, 999};
    t[9] = {1, 118, 0, 0, 26, 127};  // the largest good one
    const jint before = loadRecordsRejected();
    accept(t, std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 1")));
    EXPECT_EQ(loadRecordsRejected() - before, 9);
    for (jint i = 0; i < 9; ++i) EXPECT_EQ(IntArray::at(decodeLoadStep(i), 0), 3) << i;
    EXPECT_EQ(IntArray::at(decodeLoadStep(9), 0), 1);

    kit::Bytes table = kit::encodeLoadingTable(t);
    table.pop_back();
    EXPECT_FALSE(acceptLoadingTable(datatest::javaBytes(table)));
    kit::Bytes conditions =
        kit::encodeConditionFile(std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 1")));
    conditions.resize(conditions.size() - 2);
    EXPECT_FALSE(acceptConditionFile(datatest::javaBytes(conditions)));
    kit::Bytes lying = kit::encodeConditionFile(std::vector<kit::Bytes>(kLoadGroups, kit::Bytes{}));
    lying[7] = 200;  // group 0 claims 200 bytes
    EXPECT_FALSE(acceptConditionFile(datatest::javaBytes(lying)));
}

TEST_F(LoadingTest, PlanFreesUnneededRecordsAndARerunLoadsNothingAgain) {
    kit::LoadTable t;
    t[0] = {1, 7, 2, 0, 2, 4};    // sprite slot 7, group 2
    t[1] = {1, 8, 1, 0, 2, 5};    // sprite slot 8, group 1
    t[2] = {4, 0, 2, 0, 2, 9};    // text pack 9, group 2
    std::vector<kit::Bytes> p(kLoadGroups, kit::assembleCondition("push 0"));
    p[2] = kit::assembleCondition("push 1");
    p[1] = kit::assembleCondition("req 0; push 4; eq");
    accept(t, p);
    loadGameData();  // builds the sprite index over the accepted table
    cg().loadRequest->data()[0] = 4;
    runPlan();
    EXPECT_EQ(cg().loadStepsTotal, 3);
    Object* slot7 = cg().sprites->data()[7];
    Object* slot8 = cg().sprites->data()[8];
    ASSERT_NE(slot7, nullptr);
    ASSERT_NE(slot8, nullptr);
    steps.calls.clear();
    runPlan();  // the same request again: every target is present
    for (const std::string& c : steps.calls) EXPECT_EQ(c.rfind("open", 0), 0u) << c;
    EXPECT_EQ(cg().sprites->data()[7], slot7);
    // A request that does not need group 1 frees slot 8 at planning time.
    cg().loadRequest->data()[0] = 2;
    cg().loadStepsDone = -1;
    stateLoading();
    EXPECT_EQ(cg().loadStepsTotal, 2);
    EXPECT_EQ(cg().sprites->data()[8], nullptr);
    EXPECT_EQ(cg().sprites->data()[7], slot7);
    // Reuse keeps the previous plan's total without evaluating.
    cg().reuseLoadPlan = 1;
    cg().loadRequest->data()[0] = 4;
    planLoadSteps();
    EXPECT_EQ(cg().loadStepsTotal, 2);
    EXPECT_FALSE(cg().reuseLoadPlan);
}

TEST_F(LoadingTest, EmptyPlanFinishesOnTheSecondUpdate) {
    accept(kit::LoadTable{}, std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 0")));
    cg().loadRequest->data()[3] = 6;
    cg().loadStepsDone = -1;
    stateLoading();
    EXPECT_FALSE(cg().statePending);
    stateLoading();
    EXPECT_TRUE(cg().statePending);
    EXPECT_EQ(cg().pendingState, 6);
}

TEST_F(LoadingTest, ParametersAndRequireResource) {
    kit::LoadTable t;
    t[5] = {1, 9, 0, 0, 3, 2};
    t[6] = {1, 10, 0, 0x1234, 3, 4};
    accept(t, std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 0")));
    loadGameData();
    planLoadSteps();
    EXPECT_EQ(cg().loadStepsTotal, 0);
    EXPECT_EQ(requireResource(2, 3), 17);  // parameter 0 becomes 17
    EXPECT_EQ(getLoadStepParam(5), 17);
    EXPECT_EQ(requireResource(4, 3), 0x1234);
    EXPECT_EQ(cg().loadStepsTotal, 2);
    EXPECT_EQ(requireResource(4, 3), 0x1234);
    EXPECT_EQ(cg().loadStepsTotal, 2);  // counted once
    EXPECT_EQ(requireResource(5, 3), 0);
    EXPECT_TRUE(log.contains("no index entry"));
    setLoadStepParam(6, -2);
    EXPECT_EQ(IntArray::at(decodeLoadStep(6), 4), -2);
}

// What a stream handed out and its bulk reads, kept by the test: the
// stream itself is garbage once the game drops it, and a collection may
// reuse its block before the test asks.
struct StreamCounts {
    jint bulkReads = 0;
    int64_t delivered = 0;
};

// A resource stream over host bytes (nothing made on the Java heap for
// them; the test keeps them), counting what it hands out and its bulk
// reads.
class HostStream : public java_io_InputStream {
public:
    HostStream(const kit::Bytes* bytes, StreamCounts* counts) : m_bytes(bytes), m_counts(counts) {}
    jint read(ByteArray* b, jint off, jint len) override {
        ++m_counts->bulkReads;
        const jint n = std::min<jint>(len, available());
        if (n <= 0) return len == 0 ? 0 : -1;
        std::memcpy(b->data() + off, m_bytes->data() + m_pos, size_t(n));
        m_pos += size_t(n);
        m_counts->delivered += n;
        return n;
    }
    using java_io_InputStream::read;
    jint read() override {
        if (m_pos >= m_bytes->size()) return -1;
        ++m_counts->delivered;
        return (*m_bytes)[m_pos++];
    }
    jint available() override { return static_cast<jint>(m_bytes->size() - m_pos); }

private:
    const kit::Bytes* m_bytes;
    StreamCounts* m_counts;
    size_t m_pos = 0;
};

// loadGameData over the given table and condition file, read through the
// game's resource opener; the two streams are kept for the test to ask.
class GameDataReadTest : public FlowTest {
protected:
    void serve(kit::Bytes table, kit::Bytes conditions) {
        m_table = std::move(table);
        m_conditions = std::move(conditions);
        game::setResourceOpener([this](String* name) -> java_io_InputStream* {
            const std::string n = datatest::utf8(name);
            if (n == datatest::utf8(StaticClass::getStringConstant(112))) {
                tableStream = StreamCounts{};
                return newObject<HostStream>(&m_table, &tableStream);
            }
            if (n == datatest::utf8(StaticClass::getStringConstant(113))) {
                conditionStream = StreamCounts{};
                return newObject<HostStream>(&m_conditions, &conditionStream);
            }
            return nullptr;
        });
        cg().loadingTable = nullptr;
        cg().groupPrograms = nullptr;
        cg().spriteIndex = nullptr;
    }
    // The most the data heap held during f beyond what it held before.
    template <typename F>
    size_t heapGrowth(F f) {
        MemoryManager& heap = Application::instance()->dataHeap();
        const size_t inUse = heap.bytesInUse(), peak = heap.peakBytesInUse();
        f();
        return heap.peakBytesInUse() > peak ? heap.peakBytesInUse() - inUse : 0;
    }
    StreamCounts tableStream;      // of the last stream opened on each
    StreamCounts conditionStream;
    kit::Bytes m_table, m_conditions;
};

// An 8 MiB loading table: its first 4,200 bytes are the table, read into
// one array; the rest is never read.
TEST_F(GameDataReadTest, TableIsItsFirst4200BytesReadOnce) {
    kit::Bytes table = kit::encodeLoadingTable(kit::demoLoadingTable());
    table.resize(8 << 20, 0xEE);
    serve(table, kit::encodeConditionFile(kit::demoConditionPrograms()));
    const size_t growth = heapGrowth([] { loadGameData(); });
    ASSERT_NE(cg().loadingTable, nullptr);
    ASSERT_NE(cg().spriteIndex, nullptr) << "the set-up went on to the index";
    EXPECT_EQ(cg().loadingTable->length(), kLoadTableBytes);
    EXPECT_EQ(datatest::bytesOf(cg().loadingTable), kit::Bytes(table.begin(), table.begin() + kLoadTableBytes));
    EXPECT_EQ(tableStream.delivered, kLoadTableBytes);
    EXPECT_LT(growth, size_t{1} << 20) << "nothing near the resource's size is made";
    // Shorter than a table: refused, the set-up stops before the index.
    table.resize(kLoadTableBytes - 1);
    serve(table, kit::encodeConditionFile(kit::demoConditionPrograms()));
    log.clear();
    loadGameData();
    EXPECT_EQ(cg().loadingTable, nullptr);
    EXPECT_EQ(cg().spriteIndex, nullptr);
    EXPECT_TRUE(log.contains("loading table rejected: 4199 bytes"));
}

// The condition file goes through Util's stream: the leading number and
// the 36 lengths with readInt32, each program with one read, all counted
// in Util's byte counter; the stream is closed and dropped after.
TEST_F(GameDataReadTest, ConditionFileThroughUtilsStream) {
    const std::vector<kit::Bytes> programs = kit::demoConditionPrograms();
    serve(kit::encodeLoadingTable(kit::demoLoadingTable()), kit::encodeConditionFile(programs, 0x12345678));
    const jint before = game::util().bytesRead;
    loadGameData();
    ASSERT_NE(cg().groupPrograms, nullptr);
    jint sum = 0, nonEmpty = 0;
    for (jint g = 0; g < kLoadGroups; ++g) {
        const kit::Bytes& p = programs[size_t(g)];
        EXPECT_EQ(datatest::bytesOf(static_cast<ByteArray*>(cg().groupPrograms->data()[g])), p) << g;
        sum += static_cast<jint>(p.size());
        nonEmpty += !p.empty();
    }
    EXPECT_EQ(game::util().bytesRead - before, 4 + kLoadGroups * 4 + sum);
    EXPECT_EQ(conditionStream.bulkReads, nonEmpty) << "one read a program";
    EXPECT_EQ(game::util().stream, nullptr);
}

// A huge condition file is read once, in a program array of its size; a
// length past what the file holds is refused before anything is made.
TEST_F(GameDataReadTest, HugeConditionFilesAreReadOnceOrRefused) {
    std::vector<kit::Bytes> programs(kLoadGroups, kit::assembleCondition("push 0"));
    kit::Bytes big(8 << 20, 3);  // no-ops
    const kit::Bytes tail = kit::assembleCondition("push 1");
    big.insert(big.end(), tail.begin(), tail.end());
    programs[0] = big;
    const kit::Bytes file = kit::encodeConditionFile(programs);
    serve(kit::encodeLoadingTable(kit::demoLoadingTable()), file);
    const size_t growth = heapGrowth([] { loadGameData(); });
    ASSERT_NE(cg().groupPrograms, nullptr);
    EXPECT_EQ(static_cast<ByteArray*>(cg().groupPrograms->data()[0])->length(), jint(big.size()));
    EXPECT_EQ(conditionStream.delivered, int64_t(file.size())) << "every byte read once";
    EXPECT_LT(growth, big.size() + (1 << 20)) << "no copy of the file beside its programs";
    evalLoadGroups();
    EXPECT_EQ(cg().groupValues->data()[0], 1);

    // Group 3 states 2^31 - 1 bytes in a file of a few hundred.
    kit::Bytes lying = kit::encodeConditionFile(std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 1")));
    const size_t at3 = 4 + 3 * (4 + 5);
    ASSERT_EQ(lying[at3 + 3], 5);
    lying[at3] = 0x7F;
    lying[at3 + 1] = lying[at3 + 2] = lying[at3 + 3] = 0xFF;
    serve(kit::encodeLoadingTable(kit::demoLoadingTable()), lying);
    log.clear();
    const size_t refusedGrowth = heapGrowth([] { loadGameData(); });
    EXPECT_EQ(cg().groupPrograms, nullptr);
    EXPECT_EQ(cg().spriteIndex, nullptr);
    EXPECT_TRUE(log.contains("group 3's 2147483647 bytes run past the end"));
    EXPECT_LT(refusedGrowth, size_t{1} << 20);
    EXPECT_EQ(game::util().stream, nullptr);
    // The programs read before are not kept; the next call tries again.
    serve(kit::encodeLoadingTable(kit::demoLoadingTable()), kit::encodeConditionFile(programs));
    loadGameData();
    EXPECT_NE(cg().groupPrograms, nullptr);
}

// The demo content from the kit, read through the game's own routines:
// the program's start chain reaches the title with music 0 on channel 0.
class DemoStartTest : public FlowTest {};

TEST_F(DemoStartTest, StartChainReachesTheTitle) {
    for (const kit::DemoEntry& e : kit::demoEntries()) datatest::files()[e.name] = e.make();
    flowtest::useFakePlayers();
    installCoreStateHandlers();
    RavitBHSG* midlet = newObject<RavitBHSG>();
    midlet->startApp();
    cGame::runStart();
    const jint rejectedBefore = loadRecordsRejected();
    std::vector<jint> runsBefore(kLoadRecords);
    for (jint i = 0; i < kLoadRecords; ++i) runsBefore[size_t(i)] = loadStepRunCount(i);
    for (int i = 0; i < 400 && cg().gameState != 3; ++i) {
        clock.advance(45);
        ASSERT_TRUE(cGame::runPass());
        ASSERT_EQ(Application::pendingException(), nullptr);
    }
    ASSERT_EQ(cg().gameState, 3);
    EXPECT_EQ(loadRecordsRejected(), rejectedBefore);
    const kit::LoadTable demo = kit::demoLoadingTable();
    for (jint i = 0; i < kLoadRecords; ++i) {
        const kit::LoadRecord& r = demo[size_t(i)];
        const int expected = i == 413 ? 1 : (r.group == 1 || r.group == 2) && r.opcode != 3 ? 1 : 0;
        EXPECT_EQ(loadStepRunCount(i) - runsBefore[size_t(i)], expected) << "record " << i;
    }
    EXPECT_NE(cg().fonts->data()[0], nullptr);
    EXPECT_NE(cg().sprites->data()[107], nullptr);
    // The title turned sound on and asked for music 0; the next pass plays it.
    clock.advance(45);
    cGame::runPass();
    EXPECT_EQ(cg().currentMusic, 0);
    EXPECT_EQ(KTLibPlayer::getChannelSound(0), 0);
    EXPECT_TRUE(KTLibPlayer::isChannelActive(0));
    EXPECT_EQ(lastSoundTrace(), "sound channel 0 0,-1,100,0");
}

}  // namespace
