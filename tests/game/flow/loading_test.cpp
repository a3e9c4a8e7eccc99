// The loading table and the group conditions: the interpreter's table of
// cases and its data errors, set-up checks on file values, planning (what
// it frees, what it counts, reuse), running a plan twice, requireResource,
// and the demo content loading the game to the title, end to end.
#include "game/flow/loading.h"

#include <map>

#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/program.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/sprite/sprite.h"
#include "runtime/application.h"
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
    ByteArray* readResource(String*) override { return nullptr; }
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
        fl().loadRequest = newIntArray(4);
        fl().groupValues = newIntArray(kLoadGroups);
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
        return fl().groupValues->data()[0];
    }
    void runPlan() {
        fl().loadStepsDone = -1;
        for (int guard = 0; guard < 500 && !fl().statePending; ++guard) stateLoading();
        ASSERT_TRUE(fl().statePending);
        fl().statePending = 0;
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
        EXPECT_EQ(fl().groupStackTop, 0) << c.program;
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
    fl().loadRequest->data()[1] = 4;
    const jint errors = loadConditionErrors();
    evalLoadGroups();
    EXPECT_EQ(loadConditionErrors() - errors, 2);  // the cycle and group 5 once
    EXPECT_EQ(fl().groupValues->data()[0], 10);
    EXPECT_EQ(fl().groupValues->data()[2], 5);
    EXPECT_EQ(fl().groupValues->data()[4], 1);  // its reference to 3 gave 0
    EXPECT_EQ(fl().groupValues->data()[3], 1);
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
    fl().loadRequest->data()[0] = 4;
    runPlan();
    EXPECT_EQ(fl().loadStepsTotal, 3);
    Object* slot7 = fl().sprites->data()[7];
    Object* slot8 = fl().sprites->data()[8];
    ASSERT_NE(slot7, nullptr);
    ASSERT_NE(slot8, nullptr);
    steps.calls.clear();
    runPlan();  // the same request again: every target is present
    for (const std::string& c : steps.calls) EXPECT_EQ(c.rfind("open", 0), 0u) << c;
    EXPECT_EQ(fl().sprites->data()[7], slot7);
    // A request that does not need group 1 frees slot 8 at planning time.
    fl().loadRequest->data()[0] = 2;
    fl().loadStepsDone = -1;
    stateLoading();
    EXPECT_EQ(fl().loadStepsTotal, 2);
    EXPECT_EQ(fl().sprites->data()[8], nullptr);
    EXPECT_EQ(fl().sprites->data()[7], slot7);
    // Reuse keeps the previous plan's total without evaluating.
    fl().reuseLoadPlan = 1;
    fl().loadRequest->data()[0] = 4;
    planLoadSteps();
    EXPECT_EQ(fl().loadStepsTotal, 2);
    EXPECT_FALSE(fl().reuseLoadPlan);
}

TEST_F(LoadingTest, EmptyPlanFinishesOnTheSecondUpdate) {
    accept(kit::LoadTable{}, std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 0")));
    fl().loadRequest->data()[3] = 6;
    fl().loadStepsDone = -1;
    stateLoading();
    EXPECT_FALSE(fl().statePending);
    stateLoading();
    EXPECT_TRUE(fl().statePending);
    EXPECT_EQ(fl().pendingState, 6);
}

TEST_F(LoadingTest, ParametersAndRequireResource) {
    kit::LoadTable t;
    t[5] = {1, 9, 0, 0, 3, 2};
    t[6] = {1, 10, 0, 0x1234, 3, 4};
    accept(t, std::vector<kit::Bytes>(kLoadGroups, kit::assembleCondition("push 0")));
    loadGameData();
    planLoadSteps();
    EXPECT_EQ(fl().loadStepsTotal, 0);
    EXPECT_EQ(requireResource(2, 3), 17);  // parameter 0 becomes 17
    EXPECT_EQ(getLoadStepParam(5), 17);
    EXPECT_EQ(requireResource(4, 3), 0x1234);
    EXPECT_EQ(fl().loadStepsTotal, 2);
    EXPECT_EQ(requireResource(4, 3), 0x1234);
    EXPECT_EQ(fl().loadStepsTotal, 2);  // counted once
    EXPECT_EQ(requireResource(5, 3), 0);
    EXPECT_TRUE(log.contains("no index entry"));
    setLoadStepParam(6, -2);
    EXPECT_EQ(IntArray::at(decodeLoadStep(6), 4), -2);
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
    EXPECT_NE(fl().fonts->data()[0], nullptr);
    EXPECT_NE(fl().sprites->data()[107], nullptr);
    // The title turned sound on and asked for music 0; the next pass plays it.
    clock.advance(45);
    cGame::runPass();
    EXPECT_EQ(cg().currentMusic, 0);
    EXPECT_EQ(KTLibPlayer::getChannelSound(0), 0);
    EXPECT_TRUE(KTLibPlayer::isChannelActive(0));
    EXPECT_EQ(lastSoundTrace(), "sound channel 0 0,-1,100,0");
}

}  // namespace
