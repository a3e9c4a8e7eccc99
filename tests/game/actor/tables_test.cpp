// The actor tables file: the demo file against the fixed points, the class
// initialiser's values, and damaged or missing files (one log line, no
// rows, no actors, nothing else affected).
#include "tests/game/actor/support.h"

#include "game/actor/tables.h"
#include "runtime/system.h"

namespace {

using namespace game;
using actortest::LogCapture;

std::vector<jint> ints(IntArray* a) { return std::vector<jint>(a->data(), a->data() + a->length()); }

class TablesTest : public actortest::ActorTest {};

TEST_F(TablesTest, DemoFileHoldsTheFixedRowsAndShapes) {
    ASSERT_TRUE(actorTablesLoaded());
    IntArray* starts = ca().subtypeParamStart;
    ASSERT_EQ(starts->length(), 276);
    EXPECT_EQ(ca().subtypeParams->length(), 3433);
    std::vector<jint> first(starts->data(), starts->data() + 6);
    EXPECT_EQ(first, (std::vector<jint>{0, 12, 24, 38, 51, 65}));
    EXPECT_EQ(starts->data()[275], 3419) << "the last row starts at 3419 and has 14 ints";

    const std::vector<std::vector<jint>> rows = {
        {400, 240, 0, 19, 0, 0, 69, 66, 13631504, 10, -1, 10},
        {400, 240, -1, -145, -1, 10, 32, 32, 1048576, 10, -1, 10},
        {400, 240, 2, 18, 0, 2, -1, -1, 0, 11, -1, 13, 0, 0},
        {400, 240, 1, 20, 0, 4, 72, 72, 9437184, 3, -1, 3, -1},
        {400, 240, 0, 20, 0, 46, 20, 20, 4718592, 10, -1, 10, 440, 100},
        {400, 720, 6, 18, 0, 8, 80, 5, 89178112, 9, -1, 9, 440, 100},
    };
    for (size_t s = 0; s < rows.size(); ++s)
        for (size_t i = 0; i < rows[s].size(); ++i)
            EXPECT_EQ(cActor::getSubtypeParam(static_cast<jint>(s), static_cast<jint>(i)), rows[s][i]) << s << "/" << i;

    // Row lengths: 205 of 12, 21 of 13, 50 of 14.
    int by[15] = {};
    for (jint r = 0; r < 276; ++r) {
        jint end = r + 1 < 276 ? starts->data()[r + 1] : ca().subtypeParams->length();
        jint n = end - starts->data()[r];
        ASSERT_TRUE(n >= 12 && n <= 14) << "row " << r << ": " << n;
        by[n]++;
    }
    EXPECT_EQ(by[12], 205);
    EXPECT_EQ(by[13], 21);
    EXPECT_EQ(by[14], 50);

    // Ints per state of every program, as the selection shapes give them.
    const std::vector<std::pair<std::vector<int>, std::vector<int>>> shapes = {
        {{1}, {0, 0, 0, 8, 0, 0, 0, 8, 0, 4}},
        {{2, 14, 15, 16}, {0, 0, 16, 16, 22, 0, 16, 0, 14, 20, 18}},
        {{3, 6, 7}, {0, 0, 20, 20, 0, 0, 20, 0, 0, 28, 14, 10}},
        {{4}, {0, 0, 8, 14, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{5}, {0, 0, 24, 24, 38, 8, 16, 0, 0, 2, 20, 14}},
        {{8, 9, 12, 13}, {0, 0, 20, 20, 0, 0, 20, 0, 0, 28, 12, 10}},
        {{10, 11}, {0, 0, 2, 0, 4, 0, 2, 0, 0, 6, 4}},
        {{17}, {0, 0, 8, 8, 14, 0, 8, 0, 2, 12, 10, 2}},
        {{18}, {0, 0, 26, 24, 16, 0, 16, 0, 0, 8, 0, 0}},
        {{19}, {0, 0, 14, 14, 10, 0, 12, 0, 0, 0, 0}},
        {{20}, {0, 0, 12, 12, 0, 0, 16, 0, 0, 22, 22, 14}},
        {{21}, {0, 0, 20, 20, 0, 0, 20, 0, 0, 28, 14, 4}},
        {{22}, {0, 0, 24, 22, 0, 0, 20, 0, 0, 30, 18, 14}},
    };
    int total = 0;
    for (const auto& [programs, perState] : shapes)
        for (int p : programs) {
            ObjectArray* program = aiProgram(p);
            ASSERT_NE(program, nullptr) << p;
            ASSERT_EQ(program->length(), static_cast<jint>(perState.size())) << p;
            for (size_t s = 0; s < perState.size(); ++s) {
                auto* state = static_cast<IntArray*>(program->data()[s]);
                ASSERT_NE(state, nullptr) << "every state is an array, empty or not";
                EXPECT_EQ(state->length(), perState[s]) << p << "/" << s;
                total += state->length();
            }
        }
    EXPECT_EQ(total, 2024);

    auto state = [](int p, int s) { return ints(static_cast<IntArray*>(aiProgram(p)->data()[s])); };
    EXPECT_EQ(state(1, 3), (std::vector<jint>{524291, 0, 9023, 16, 8199, 0, 134218051, 0}));
    EXPECT_EQ(state(1, 7), (std::vector<jint>{49471, 511, 49535, -1, 49731, 0, 131651, 0}));
    EXPECT_EQ(state(1, 9), (std::vector<jint>{8199, 0, 4675, 0}));
    EXPECT_EQ(state(10, 2), (std::vector<jint>{4420, 0}));
    EXPECT_EQ(state(10, 4), (std::vector<jint>{524292, 0, 4422, 0}));
    EXPECT_EQ(state(10, 6), (std::vector<jint>{4873, 11}));
    EXPECT_EQ(state(10, 9), (std::vector<jint>{524297, 0, 4927, 4, 6346, 0}));
    EXPECT_EQ(state(10, 10), (std::vector<jint>{524298, 0, 4868, 32}));

    ObjectArray* anims = ca().stateAnims;
    ASSERT_EQ(anims->length(), 19);
    for (jint k = 0; k < 19; ++k) {
        jint n = static_cast<IntArray*>(anims->data()[k])->length();
        bool twelve = k == 0 || k == 1 || k == 5 || k == 17 || k == 18;
        EXPECT_EQ(n, twelve ? 12 : 14) << k;
    }
    EXPECT_EQ(ints(static_cast<IntArray*>(anims->data()[15])),
              (std::vector<jint>{-1, -1, 2, 11, 2, -1, 71, 11, 5, 2, 72, -1, -1, -1}));
}

TEST_F(TablesTest, HighSubtypesHaveTheLastRowsAndOthersNone) {
    LogCapture log;
    EXPECT_EQ(subtypeRow(272), 272);
    EXPECT_EQ(subtypeRow(3003), 273);
    EXPECT_EQ(subtypeRow(3010), 274);
    EXPECT_EQ(subtypeRow(3013), 275);
    for (jint s : {273, 2000, 3004, -1}) EXPECT_EQ(subtypeRow(s), -1) << s;
    EXPECT_EQ(cActor::getSubtypeParam(3013, 13), 48);
    EXPECT_EQ(cActor::getSubtypeParam(2000, 0), 0);
    EXPECT_TRUE(log.contains("subtype 2000"));
    // A read past its row answers 0 rather than the next row's first int.
    EXPECT_EQ(cActor::getSubtypeParam(0, 12), 0);
    // The factory refuses a record whose subtype has no row.
    ShortArray* r = actortest::record(2001, 5, 10, 10);
    EXPECT_EQ(spawnActor(r, r->length(), 0), nullptr);
    EXPECT_EQ(cg().actorCount, 0);
    EXPECT_TRUE(log.contains("subtype 2001 refused"));
}

TEST_F(TablesTest, ClassInitialiserValues) {
    cActorStatics& s = ca();
    EXPECT_EQ(s.turnStep, 17);
    EXPECT_EQ(s.turnStepQuarter, 4);
    EXPECT_EQ(s.idCounter, 9999);
    EXPECT_EQ(s.heroState, -1);
    EXPECT_EQ(s.grabMode, 10);
    EXPECT_EQ(s.orbitScale, 19);
    EXPECT_EQ(s.speedParam, 287232);
    EXPECT_EQ(s.runSpeedFactor, 256);
    EXPECT_EQ(s.farX, -1000000);
    EXPECT_EQ(ints(s.heroStateAnims).size(), 23u);
    EXPECT_EQ(s.heroStateAnims->data()[22], 80);
    EXPECT_EQ(s.heroStateEffects->data()[5], 5);
    EXPECT_EQ(s.heroStateEffects->data()[4], -1);
    EXPECT_EQ(s.heroStateFlags->data()[5], 0x202000);
    EXPECT_EQ(s.heroStateFlags->data()[8], 0x200000);
    EXPECT_EQ(ints(s.offsetPairsA).size(), 14u);
    EXPECT_EQ(ints(s.effectOffsets), (std::vector<jint>{-10, -2, -2}));
    EXPECT_EQ(s.effectPool->length(), 64);
    EXPECT_EQ(s.items->length(), 576);
    EXPECT_EQ(s.links->length(), 1280);
    EXPECT_EQ(s.flagQuad->data()[0], 1);
    // Every reference field is a root: the collector keeps the tables.
    java_lang_System::gc();
    EXPECT_EQ(cActor::getSubtypeParam(5, 1), 720);
}

TEST(TablesFile, KitRoundTripAndDescription) {
    kit::ActorTables demo = kit::demoActorTables();
    kit::Bytes bytes = kit::encodeActorTables(demo);
    kit::ActorTables back = kit::parseActorTables(bytes);
    EXPECT_EQ(back.rows.size(), demo.rows.size());
    EXPECT_EQ(back.programs, demo.programs);
    EXPECT_EQ(back.stateAnims, demo.stateAnims);
    std::string text = kit::describeActorTables(back);
    EXPECT_NE(text.find("rows 276 (205 of 12, 21 of 13, 50 of 14), 3433 ints"), std::string::npos);
    EXPECT_NE(text.find("programs 22, 2024 rule ints"), std::string::npos);
    EXPECT_NE(text.find("row 3013 @3419:"), std::string::npos);
}

TEST(TablesFile, EveryDamagedVariantIsRejectedWithOneLineAndNoRows) {
    auto variants = kit::damageActorTables(actortest::demoTablesBytes());
    ASSERT_FALSE(variants.empty());
    for (const auto& v : variants) {
        bool kitAccepts = true;
        try {
            kit::parseActorTables(v.bytes);
        } catch (const kit::KitError&) {
            kitAccepts = false;
        }
        if (v.name.rfind("flip-", 0) == 0 && kitAccepts) continue;  // a flip inside a value stays valid
        EXPECT_FALSE(kitAccepts) << v.name;
        LogCapture log;
        actortest::startApplication(v.bytes.empty() ? kit::Bytes{0} : v.bytes);
        EXPECT_FALSE(actorTablesLoaded()) << v.name;
        int lines = 0;
        for (const std::string& l : log.lines()) lines += l.find("Actor tables") != std::string::npos;
        EXPECT_EQ(lines, 1) << v.name;
        EXPECT_TRUE(log.contains("Actor tables rejected")) << v.name;
        createActorPool();
        ShortArray* r = actortest::record(5, 1, 10, 10);
        EXPECT_EQ(spawnActor(r, r->length(), 0), nullptr) << v.name;
        EXPECT_EQ(aiProgram(1), nullptr);
        actortest::closeApplication();
    }
}

TEST(TablesFile, MissingFileIsLoggedAndLeavesNoRows) {
    LogCapture log;
    actortest::startApplication(kit::Bytes{});
    EXPECT_FALSE(actorTablesLoaded());
    EXPECT_TRUE(log.contains("Actor tables missing"));
    EXPECT_EQ(cActor::getSubtypeParam(0, 0), 0);
    actortest::closeApplication();
}

TEST(TablesFile, ReloadReplacesAndAGoodFileAfterABadOneLoads) {
    actortest::startApplication();
    kit::Bytes bytes = actortest::demoTablesBytes();
    kit::Bytes bad(bytes.begin(), bytes.end() - 1);
    EXPECT_FALSE(loadActorTables(bad));
    EXPECT_FALSE(actorTablesLoaded());
    EXPECT_TRUE(loadActorTables(bytes));
    EXPECT_EQ(cActor::getSubtypeParam(4, 12), 440);
    actortest::closeApplication();
}

}  // namespace

namespace {

using namespace game;

class LoaderCallsTest : public actortest::ActorTest {};

// What the level loader and the level reset call of the framework.
TEST_F(LoaderCallsTest, ClassesRecordsParamsAndTheCarriedActor) {
    EXPECT_EQ(subtypeClassOf(5), 8);
    EXPECT_EQ(subtypeClassOf(0), 0);
    EXPECT_EQ(subtypeClassOf(2000), -1) << "level settings have no row: skipped by the loader";
    ShortArray* r = actortest::record(4, 77, 120, 130, 3, 0x81, {9, 8});
    cActor* a = cActor::makeFromRecord(r, r->length(), 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->uniqueId, 77);
    EXPECT_EQ(a->type, 46);
    EXPECT_EQ(a->facing, 1);
    EXPECT_EQ(a->posX, 120);
    EXPECT_EQ(a->anim, 3);
    EXPECT_EQ(a->box->data()[2] - a->box->data()[0], 20);
    EXPECT_EQ(a->getParam(1), 8);
    EXPECT_EQ(a->getTypeParam(12), 440);
    EXPECT_NE(cg().logoActor, nullptr) << "the splash screens' logo actor";
    ca().grabMode = 7;
    ca().grabbedActor = a;
    releaseCarriedActor();
    EXPECT_EQ(a->aiState, 9);
    EXPECT_EQ(ca().grabMode, 10);
    EXPECT_EQ(ca().grabbedActor, nullptr);
}

}  // namespace
