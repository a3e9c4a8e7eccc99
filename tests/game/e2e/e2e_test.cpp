// The whole game played headless from the first logo: scripted keys and
// touches (golden/*.input), each script anchored at the step a state is
// entered, take the player through the sound question, the title, the
// menus and a new game into stage 0, walk the stage to its exit trigger,
// through the results (which save the progress) into stage 1, and back to
// the main menu through the pause menu. Checked: the state sequence, the
// painted screen's hash at fixed points (golden/whole_game.frames,
// rewritten with BRAMBLE_UPDATE_GOLDEN=1), the saved progress record's
// bytes as the kit reads them (golden/whole_game.progress), and a second
// start over the same device root that reads them back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "tests/game/e2e/save_pattern.h"
#include "tests/support/gamedriver.h"
#include "tools/kit/demo.h"
#include "tools/kit/recordstore.h"

namespace {

constexpr int32_t kQuestion = 24, kMainMenu = 6, kIntro = 33, kPlay = 14, kLevelComplete = 21, kResults = 30,
                  kPauseMenu = 20;

std::string sourcePath(const std::string& rel) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    return std::string(root ? root : ".") + "/" + rel;
}

std::vector<stepdriver::InputEvent> script(const std::string& name) {
    std::ifstream in(sourcePath("tests/game/e2e/golden/" + name));
    std::stringstream text;
    text << in.rdbuf();
    std::vector<stepdriver::InputEvent> events;
    std::string error;
    EXPECT_TRUE(in.good() || in.eof()) << name;
    EXPECT_TRUE(stepdriver::parseInputScript(text.str(), events, error)) << name << ": " << error;
    EXPECT_FALSE(events.empty()) << name;
    return events;
}

std::string progressStoreName() {
    const std::u16string s = kit::demoStringPool().at(108);
    return std::string(s.begin(), s.end());
}

std::string hexBytes(const std::vector<uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        out += buf;
        out += (i % 32 == 31 || i + 1 == bytes.size()) ? "\n" : " ";
    }
    return out;
}

// Compares lines with a golden file, or writes it when asked to.
void expectGoldenLines(const std::string& name, const std::vector<std::string>& got) {
    const std::string path = sourcePath("tests/game/e2e/golden/" + name);
    if (const char* u = std::getenv("BRAMBLE_UPDATE_GOLDEN"); u && *u == '1') {
        ASSERT_TRUE(stepdriver::writeLines(path, got)) << path;
        return;
    }
    std::vector<std::string> want;
    ASSERT_TRUE(stepdriver::readLines(path, want)) << path << " (BRAMBLE_UPDATE_GOLDEN=1 writes it)";
    EXPECT_EQ(want, got) << name;
}

class WholeGame : public testing::Test {
protected:
    std::string folder() const { return std::filesystem::current_path().string() + "/whole-game"; }

    // Steps until the state is entered, then feeds the script from there.
    void anchored(gamedriver::GameDriver& d, int32_t state, const std::string& name, int limit) {
        ASSERT_TRUE(d.stepUntil(state, limit)) << "state " << state << " not reached for " << name << "; " << states(d);
        d.addInput(script(name), d.stepIndex());
    }
    // A frame hash after n more steps.
    void frameAfter(gamedriver::GameDriver& d, int n, const std::string& what) {
        for (int i = 0; i < n; ++i) d.step();
        char line[96];
        std::snprintf(line, sizeof line, "%s state=%d hash=0x%08X", what.c_str(), d.gameState(), d.frameHash());
        frames.push_back(line);
    }
    static std::string states(const gamedriver::GameDriver& d) {
        std::string t = "states:";
        for (int32_t s : d.states()) t += " " + std::to_string(s);
        return t;
    }

    std::vector<std::string> frames;
};

TEST_F(WholeGame, FromTheFirstLogoThroughStageZeroAndBackToTheMenu) {
    gamedriver::Options o;
    o.folder = folder();
    o.seed = 22;
    std::string error;
    std::vector<uint8_t> saved;
    {
        gamedriver::GameDriver d;
        ASSERT_TRUE(d.boot(o, error)) << error;
        anchored(d, kQuestion, "menus.input", 2000);
        ASSERT_TRUE(d.stepUntil(kMainMenu, 200)) << states(d);
        frameAfter(d, 12, "main menu");
        anchored(d, kIntro, "intro.input", 2000);
        frameAfter(d, 4, "stage 0 intro");
        anchored(d, kPlay, "stage0_walk.input", 200);
        EXPECT_EQ(game::cg().stage, 0);
        const int playStart = d.stepIndex();
        frameAfter(d, 120, "stage 0 play");
        // The level ends by its exit trigger, reached by the walk alone (the
        // level-complete screen clears the finished flag once it has
        // captured the play view).
        for (int i = 0; i < 600 && !game::cg().levelFinished && d.gameState() == kPlay; ++i) d.step();
        ASSERT_TRUE(game::cg().levelFinished || d.gameState() == kLevelComplete)
            << "the exit trigger was not reached; " << states(d);
        const int endStep = d.stepIndex() - playStart;
        EXPECT_GT(endStep, 380);
        EXPECT_LT(endStep, 480);
        anchored(d, kResults, "results.input", 600);
        frameAfter(d, 8, "results");
        anchored(d, kIntro, "intro.input", 600);
        EXPECT_EQ(game::cg().stage, 1);
        anchored(d, kPlay, "pause_to_menu.input", 200);
        // Stage 1's hero is made anew at its record, inside stage 1's map (not
        // left where stage 0 ended).
        ASSERT_NE(game::cg().hero, nullptr);
        EXPECT_LT(game::cg().hero->posX, game::cg().mapPixelWidth);
        EXPECT_LT(game::cg().hero->posY, game::cg().mapPixelHeight);
        ASSERT_TRUE(d.stepUntil(kMainMenu, 400)) << states(d);
        frameAfter(d, 16, "main menu again");
        for (const std::string& v : d.violations()) ADD_FAILURE() << v;
        const std::vector<int32_t> expected = {1,  11, 2,  11, 4,  24, 3,  6,  7,  29, 11, 33, 14,
                                               21, 30, 11, 33, 14, 20, 24, 11, 6};
        EXPECT_EQ(d.states(), expected) << states(d);
        // The progress the game holds is what it saved.
        ASSERT_NE(game::cg().progress, nullptr);
        const auto* p = reinterpret_cast<const uint8_t*>(game::cg().progress->data());
        saved.assign(p, p + savepattern::kRecordBytes);
    }
    expectGoldenLines("whole_game.frames", frames);

    // The store as the kit reads it: record 1 holds the progress, stage 1
    // open on the middle difficulty and the difficulty's current stage 1.
    const std::string app = folder() + "/device/" + kit::kAppFolder;
    const kit::RecordStoreContents store = kit::readRecordStore(app, progressStoreName());
    ASSERT_EQ(store.records.size(), 1u);
    const kit::StoredRecord& record = store.records[0];
    EXPECT_EQ(record.id, 1);
    ASSERT_EQ(record.data.size(), savepattern::kRecordBytes);
    EXPECT_EQ(record.data, saved);
    EXPECT_EQ(record.data[198 + 1] & 4, 4) << "stage 1 open on difficulty 2";
    EXPECT_EQ(record.data[62 + 10], 1) << "current stage of difficulty 2";
    EXPECT_EQ(record.data[game::kByteLastDifficulty], 2);
    std::vector<std::string> hex;
    std::istringstream lines(hexBytes(record.data));
    for (std::string l; std::getline(lines, l);) hex.push_back(l);
    expectGoldenLines("whole_game.progress", hex);

    // A second start over the same device root reads the progress back:
    // through the main menu's play row and the game menu's continue row the
    // game goes on with stage 1.
    gamedriver::Options again = o;
    again.freshDevice = false;
    gamedriver::GameDriver d;
    ASSERT_TRUE(d.boot(again, error)) << error;
    ASSERT_TRUE(d.pressUntil(-5, kMainMenu, 2000)) << states(d);
    ASSERT_NE(game::cg().progress, nullptr);
    const auto* p = reinterpret_cast<const uint8_t*>(game::cg().progress->data());
    EXPECT_EQ(std::vector<uint8_t>(p, p + savepattern::kRecordBytes), saved);
    d.addInput(script("continue.input"), d.stepIndex());
    anchored(d, 7, "continue_game.input", 400);
    ASSERT_TRUE(d.stepUntil(kIntro, 1000)) << states(d);
    EXPECT_EQ(game::cg().stage, 1);
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}


// The window losing the focus in play pauses the game as the shell does
// (the MIDlet's pauseApp, the canvas's hideNotify): no logic step runs;
// the focus coming back (startApp, showNotify) lets play go on, through the
// pause menu when the game opens it, and the hero walks again.
TEST_F(WholeGame, FocusLossInPlayPausesAndTheGameGoesOnAfter) {
    gamedriver::Options o;
    o.folder = folder() + "-focus";
    o.seed = 22;
    std::string error;
    gamedriver::GameDriver d;
    ASSERT_TRUE(d.boot(o, error)) << error;
    anchored(d, kQuestion, "menus.input", 2000);
    ASSERT_TRUE(d.stepUntil(kMainMenu, 200)) << states(d);
    anchored(d, kIntro, "intro.input", 2000);
    ASSERT_TRUE(d.stepUntil(kPlay, 400)) << states(d);
    for (int i = 0; i < 80; ++i) d.step();  // past the intro's camera pan
    ASSERT_EQ(d.gameState(), kPlay) << states(d);

    auto* canvas = static_cast<cGame*>(game::cg().instance);
    RavitBHSG* midlet = game::cg().midlet;
    ASSERT_NE(canvas, nullptr);
    ASSERT_NE(midlet, nullptr);
    const jint stepsBefore = cGame::stepsRun();
    midlet->pauseApp();
    canvas->hideNotify();
    EXPECT_NE(game::cg().paused, 0);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(cGame::runPass());
    EXPECT_EQ(cGame::stepsRun(), stepsBefore) << "a logic step ran while paused";

    midlet->startApp();
    canvas->showNotify();
    // The game comes back in its pause menu; its first row goes on.
    ASSERT_TRUE(d.stepUntil(kPauseMenu, 40)) << states(d);
    ASSERT_TRUE(d.pressUntil(-5, kPlay, 400)) << "play did not go on after the focus came back; " << states(d);
    ASSERT_NE(game::cg().hero, nullptr);
    for (int i = 0; i < 10; ++i) d.step();
    const jint x0 = game::cg().hero->posX;
    d.keyDown(-4);
    for (int i = 0; i < 30; ++i) d.step();
    d.keyUp(-4);
    EXPECT_GT(game::cg().hero->posX, x0) << "the hero does not walk after the pause; " << states(d);
    for (const std::string& v : d.violations()) ADD_FAILURE() << v;
}

}  // namespace
