// The demo's stages after stage 0, each started through the game's own
// loading path (the step driver's "stage:N": the loading table's records
// over the demo archive, then play): each loads its own level, plays 300
// scripted steps without an invariant failure, asks only for sounds the
// sound pack and the loading table hold, and ends by its own end; the stage
// menu offers the stages once they are open.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/behaviour/states.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/progressrules.h"
#include "game/flow/states.h"
#include "game/world/scripts.h"
#include "tests/support/stepdriver.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_flow.h"
#include "tools/kit/demo_game.h"
#include "tools/kit/gamedata.h"
#include "tools/kit/level.h"
#include "tools/kit/loading.h"

namespace {

// Walk right, jump now and then, attack, duck.
std::vector<stepdriver::InputEvent> walkScript() {
    std::string text = "0 down right\n";
    for (int k = 5; k < 600; k += 20)
        text += std::to_string(k) + " down up\n" + std::to_string(k + 8) + " up up\n" + std::to_string(k + 9) +
                " down right\n";
    for (int k = 12; k < 400; k += 30)
        text += std::to_string(k) + " down fire\n" + std::to_string(k + 2) + " up fire\n" + std::to_string(k + 3) +
                " down right\n";
    for (int k = 150; k < 400; k += 40)
        text += std::to_string(k) + " down down\n" + std::to_string(k + 6) + " up down\n" + std::to_string(k + 7) +
                " down right\n";
    std::vector<stepdriver::InputEvent> events;
    std::string error;
    EXPECT_TRUE(stepdriver::parseInputScript(text, events, error)) << error;
    return events;
}

const kit::Bytes& archiveEntry(const std::string& name) {
    static std::map<std::string, kit::Bytes> files = [] {
        std::map<std::string, kit::Bytes> f;
        for (const kit::DemoEntry& e : kit::demoEntries()) f[e.name] = e.make();
        return f;
    }();
    static const kit::Bytes none;
    auto it = files.find(name);
    return it == files.end() ? none : it->second;
}

// Sound ids the sound pack holds and the loading table loads (opcode 19,
// slot = sound id, from pack 3).
std::set<int> loadableSounds() {
    std::set<int> inPack;
    const kit::ParsedPack pack = kit::parsePackFile(archiveEntry("pack3"));
    for (size_t i = 0; i < pack.entries.size(); ++i)
        if (pack.entries[i].type >= 0 && pack.entries[i].length > 0) inPack.insert(static_cast<int>(i));
    std::set<int> out;
    const kit::LoadTable table = kit::parseLoadingTable(archiveEntry("loading.bin"));
    for (const kit::LoadRecord& r : table)
        if (r.opcode == 19 && r.pack == 3 && r.slot == r.resource && inPack.count(r.slot)) out.insert(r.slot);
    return out;
}

int soundOf(const std::string& line) {
    const size_t at = line.find(" sound id=");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + 10);
}

TEST(DemoStages, EachLoadsItsLevelAndPlaysThreeHundredStepsSoundingOnlyWhatIsThere) {
    const std::set<int> sounds = loadableSounds();
    ASSERT_FALSE(sounds.empty());
    std::set<int> music;
    for (const kit::DemoStage& d : kit::demoStages()) {
        SCOPED_TRACE("stage " + std::to_string(d.stage) + " (" + d.family + ")");
        stepdriver::StepDriver drv;
        stepdriver::Options o;
        o.level = "stage:" + std::to_string(d.stage);
        o.seed = 11;
        o.input = walkScript();
        std::string error;
        ASSERT_TRUE(drv.load(o, error)) << error;
        // The stage's own level is in place: its collision map and music.
        const kit::LevelModel m = kit::parseLevelDescription(d.level);
        ASSERT_TRUE(m.layers[4]);
        EXPECT_EQ(game::cg().collisionWidth, m.layers[4]->width);
        EXPECT_EQ(game::cg().levelMusic, d.music);
        EXPECT_EQ(game::cg().stage, d.stage);
        music.insert(d.music);
        for (int i = 0; i < 300; ++i) drv.step();
        EXPECT_TRUE(drv.violations().empty()) << drv.violations().front();
        for (const std::string& line : drv.trace()) {
            const int id = soundOf(line);
            if (id >= 0) {
                EXPECT_TRUE(sounds.count(id)) << "sound " << id << " requested, not loadable: " << line;
            }
        }
    }
    EXPECT_GE(music.size(), 6u);  // every music id of the pack is some stage's
}

TEST(DemoStages, NeighbouringStagesPlayDifferentMusic) {
    const auto& stages = kit::demoStages();
    EXPECT_NE(stages.front().music, kit::demoStageMusic(0));
    for (size_t i = 1; i < stages.size(); ++i) EXPECT_NE(stages[i].music, stages[i - 1].music) << stages[i].stage;
}

// A trigger stage ends when the hero reaches its trigger zone: the level
// end is requested (results follow), not before.
TEST(DemoStages, TriggerStagesEndAtTheirTrigger) {
    for (const kit::DemoStage& d : kit::demoStages()) {
        if (d.bossEnd) continue;
        SCOPED_TRACE("stage " + std::to_string(d.stage) + " (" + d.family + ")");
        stepdriver::StepDriver drv;
        stepdriver::Options o;
        o.level = "stage:" + std::to_string(d.stage);
        std::string error;
        ASSERT_TRUE(drv.load(o, error)) << error;
        for (int i = 0; i < 5; ++i) drv.step();
        EXPECT_EQ(game::cg().levelFinished, 0);
        cActor* hero = game::cg().hero;
        ASSERT_NE(hero, nullptr);
        bool ended = false;
        // The camera catches up (on the auto-run stage it scrolls at its own
        // pace) and the zone streams in.
        for (int i = 0; i < 800 && !ended; ++i) {
            hero = game::cg().hero;
            hero->posX = d.endX;
            hero->posY = d.endY;
            drv.step();
            ended = game::cg().levelFinished != 0;
        }
        EXPECT_TRUE(ended);
        EXPECT_EQ(game::cg().gameState, d.stage + 1 < 11 ? 21 : 18);
    }
}

// Played by the scripted input alone, the auto-run stage (the walk's keys
// sprint and jump the running hero ahead of the chaser) and the items stage
// (then the platform items) end at their triggers.
TEST(DemoStages, ScriptedRunsFinishTheRunCourseAndTheItems) {
    int played = 0;
    for (const kit::DemoStage& d : kit::demoStages()) {
        if (std::string(d.family) != "pack_run" && std::string(d.family) != "level_items.txt") continue;
        ++played;
        const int stage = d.stage;
        SCOPED_TRACE("stage " + std::to_string(stage));
        stepdriver::StepDriver drv;
        stepdriver::Options o;
        o.level = "stage:" + std::to_string(stage);
        o.seed = 11;
        o.input = walkScript();
        std::string error;
        ASSERT_TRUE(drv.load(o, error)) << error;
        for (int i = 0; i < 600 && !game::cg().levelFinished; ++i) drv.step();
        EXPECT_NE(game::cg().levelFinished, 0) << "hero at x " << (game::cg().hero ? game::cg().hero->posX : -1)
                                               << " after " << drv.stepIndex() << " steps";
        EXPECT_EQ(game::cg().gameState, 21);
        EXPECT_TRUE(drv.violations().empty());
    }
    EXPECT_EQ(played, 2) << "the run course or the items stage is missing from the demo";
}

// A boss stage's level holds the boss's defeat script, which ends the level.
TEST(DemoStages, BossStagesEndByTheDefeatScript) {
    for (const kit::DemoStage& d : kit::demoStages()) {
        if (!d.bossEnd) continue;
        SCOPED_TRACE("stage " + std::to_string(d.stage) + " (" + d.family + ")");
        stepdriver::StepDriver drv;
        stepdriver::Options o;
        o.level = "stage:" + std::to_string(d.stage);
        std::string error;
        ASSERT_TRUE(drv.load(o, error)) << error;
        const jint script = game::world::findScriptById(9);
        ASSERT_GE(script, 0);
        game::world::endAllLevelScripts();
        game::world::startScript(script);
        for (int i = 0; i < 10 && !game::cg().levelFinished; ++i) drv.step();
        EXPECT_NE(game::cg().levelFinished, 0);
    }
}

// The melee boss's stage (the last) ends when the boss falls: its last hit
// point taken in its open phase, the defeat starts script 9, which ends
// the level.
TEST(DemoStages, TheMeleeBossStageEndsWhenTheBossIsDefeated) {
    const kit::DemoStage& d = kit::demoStages().back();
    ASSERT_STREQ(d.family, "arena97");
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:" + std::to_string(d.stage);
    std::string error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    cActor* boss = nullptr;
    for (int i = 0; i < 40 && !boss; ++i) {
        drv.step();
        for (jint k = 0; k < game::cg().activeActorCount && !boss; ++k)
            if (cActor* a = game::activeActor(k); a && a->type == 97) boss = a;
    }
    ASSERT_NE(boss, nullptr);
    ASSERT_NE(boss->parts, nullptr);
    EXPECT_EQ(game::cg().levelFinished, 0);
    boss->parts->data()[2] = 1;
    game::behaviour::enterPhase52(boss, 60, 45);
    boss->contactFlags |= 0x200000;  // the hero's attack lands
    for (int i = 0; i < 200 && !game::cg().levelFinished; ++i) drv.step();
    EXPECT_NE(game::cg().levelFinished, 0);
    EXPECT_EQ(game::cg().gameState, 18);  // the last stage ends the game
}

// The stage menu offers a stage once the progress record opens it for the
// difficulty.
TEST(DemoStages, TheStageMenuOffersOpenStages) {
    stepdriver::StepDriver drv;
    stepdriver::Options o;
    o.level = "stage:0";
    std::string error;
    ASSERT_TRUE(drv.load(o, error)) << error;
    if (!game::cg().progress) {
        ByteArray* p = newByteArray(game::kProgressBytes);
        game::cg().progress = p;
    }
    const jint difficulty = 2;
    game::cg().difficulty = difficulty;
    game::gameStateDispatch(28, game::kMsgEnter);
    ObjectArray* menu = game::cg().stageMenu;
    ASSERT_NE(menu, nullptr);
    auto selectable = [&](int stage) {
        IntArray* e = game::menuEntryInts(game::cg().stageMenu, 4 + stage);
        return e && e->length() > game::kEntrySelectable && e->data()[game::kEntrySelectable] != 0;
    };
    for (const kit::DemoStage& d : kit::demoStages()) {
        if (d.stage < 10) {
            EXPECT_FALSE(selectable(d.stage)) << d.stage;
        }
    }
    for (const kit::DemoStage& d : kit::demoStages()) game::setStageOpen(d.stage, difficulty);
    game::gameStateDispatch(28, game::kMsgEnter);
    for (const kit::DemoStage& d : kit::demoStages()) {
        // The last stage also needs every earlier stage done.
        if (d.stage == 10) continue;
        EXPECT_TRUE(selectable(d.stage)) << d.stage;
        EXPECT_EQ(game::nextStageAfter(d.stage - 1), d.stage);
    }
    EXPECT_FALSE(selectable(10));
    // The last stage once every earlier one is done (the slot's done mask).
    const jint done = (difficulty - 1) * game::kSlotBytes + 8;
    game::setProgressByte(done, game::kAllStagesDone >> 8);
    game::setProgressByte(done + 1, game::kAllStagesDone & 255);
    game::gameStateDispatch(28, game::kMsgEnter);
    EXPECT_TRUE(selectable(10));
}

// The game loads the screens' texts from entries 0 and 1 of pack 5; the
// archive's German form of the pack ("de/pack5", served for "pack5" when
// the launcher's language is German) holds the German slots there.
TEST(DemoLanguages, TheLocalizedPackHoldsItsLanguageWhereTheLoadingTableLooks) {
    const kit::LoadTable table = kit::parseLoadingTable(archiveEntry("loading.bin"));
    std::set<int> loaded;
    for (const kit::LoadRecord& r : table)
        if (r.opcode == 4 && r.pack == 5) loaded.insert(r.resource);
    EXPECT_EQ(loaded, (std::set<int>{0, 1}));
    struct Case {
        const char* pack;
        const char* newGame;  // slot 1, text 6
        const char* sound;    // slot 0, text 9
    };
    for (const Case& c : {Case{"pack5", "NEW GAME", "SOUND"}, Case{"de/pack5", "NEUES SPIEL", "TON"}}) {
        SCOPED_TRACE(c.pack);
        const kit::Bytes& file = archiveEntry(c.pack);
        ASSERT_FALSE(file.empty());
        const kit::ParsedPack pack = kit::parsePackFile(file);
        ASSERT_GE(pack.entries.size(), 2u);
        std::map<int, kit::ParsedTextPack> slots;
        for (int e = 0; e < 2; ++e) {
            const kit::Bytes payload = kit::packEntryPayload(file, pack.entries[size_t(e)]);  // decoded
            const kit::ParsedTextPack t = kit::parseTextPack(payload);
            slots[t.slot] = t;
        }
        ASSERT_EQ(slots.size(), 2u);
        ASSERT_GT(slots[1].texts.size(), 6u);
        ASSERT_GT(slots[0].texts.size(), 9u);
        EXPECT_EQ(slots[1].texts[6], std::string(c.newGame) + "\x03");  // texts keep their terminator
        EXPECT_EQ(slots[0].texts[9], std::string(c.sound) + "\x03");
    }
}

}  // namespace
