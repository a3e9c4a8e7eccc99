// The whole game with the cross-promotion screen, in-process under SDL's
// offscreen driver on the demo device: the real MIDlet and canvas run
// their own game thread. The player's keys are scripted on the game thread
// itself: thin wrappers around the handlers of states 24, 3, 6 and 9 set
// the step's newly pressed game keys before the real handler runs (the
// main menu's cursor is moved to the promotion row by its id). In state 9
// the screen's own keys pick an entry; the shell's question box answers;
// the browser command (a recording script named by BRAMBLE_BROWSER) gets
// the link, and the program ends by itself.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/program.h"
#include "game/flow/screens/menus.h"
#include "game/flow/states.h"
#include "game/showcase/install.h"
#include "tests/shell/shell_fixture.h"
#include "tools/kit/demo.h"

namespace showcasetest {
namespace {

using namespace shelltest;
using namespace std::chrono_literals;

constexpr jint kFireBit = 0x10000, kDownBit = 0x8000, kRightBit = 0x2000;
constexpr jint kPromotionRow = 0x1000F;

game::StateHandler g_real[game::kStateSlots];
jint g_updates[game::kStateSlots];

// Fire on every third update (questions, title).
template <int S>
void confirming(jint message) {
    if (message == game::kMsgUpdate && ++g_updates[S] % 3 == 0) game::fl().keysPressed = kFireBit;
    g_real[S](message);
}

// The main menu: down until the promotion row is under the cursor, then fire.
void mainMenu(jint message) {
    if (message == game::kMsgUpdate && ++g_updates[6] % 3 == 0) {
        IntArray* row = game::listedEntryInts(game::fl().menuCursor);
        game::fl().keysPressed = row && row->data()[0] == kPromotionRow ? kFireBit : kDownBit;
    }
    g_real[6](message);
}

// The promotion screen: after its loading steps the next entry, then select.
void promotion(jint message) {
    if (message == game::kMsgUpdate) {
        const jint n = ++g_updates[9];
        if (n == 20) game::fl().keysPressed = kRightBit;
        if (n == 24) game::fl().keysPressed = kFireBit;
    }
    g_real[9](message);
}

class GameWithShowcase : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        trace().clear();
        game::registerGameProgram();
        game::installShowcase();
        for (jint i = 0; i < game::kStateSlots; ++i) {
            g_real[i] = game::stateHandler(i);
            g_updates[i] = 0;
        }
        game::setStateHandler(24, &confirming<24>);
        game::setStateHandler(3, &confirming<3>);
        game::setStateHandler(6, &mainMenu);
        game::setStateHandler(9, &promotion);
        setMidletCreator([] { return static_cast<javax_microedition_midlet_MIDlet*>(newObject<RavitBHSG>()); });
        const std::filesystem::path root = std::getenv("BRAMBLE_DEVICE_ROOT");
        std::filesystem::remove_all(root);
        kit::buildDemoRoot(root.parent_path().string());
        record = (std::filesystem::current_path() / "game-browser.txt").string();
        std::filesystem::remove(record);
        setenv("BRAMBLE_BROWSER", ("/bin/sh -c 'printf \"%s\\n\" \"$0\" >> " + record + "'").c_str(), 1);
    }
    void TearDown() override {
        for (jint i = 0; i < game::kStateSlots; ++i) game::setStateHandler(i, g_real[i]);
        unsetenv("BRAMBLE_BROWSER");
        setenv("BRAMBLE_MSGBOX_ANSWER", "1", 1);
        ShellRun::TearDown();
    }

    // The current game state, noted in the trace of states seen.
    static jint state() {
        const jint s = game::cg().gameState;
        if (trace().empty() || trace().back() != s) trace().push_back(s);
        return s;
    }
    static std::vector<jint>& trace() {
        static std::vector<jint> t;
        return t;
    }
    static std::string traceText() {
        std::string t;
        for (jint s : trace()) t += " " + std::to_string(s);
        return t;
    }
    static cGame* canvas() { return static_cast<cGame*>(game::fl().instance); }
    static bool running() { return ApplicationImpl::instance().running; }
    // Waits for a game state (hang guard in seconds).
    static bool waitState(jint s, int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (running() && state() != s && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
        return state() == s;
    }
    // Boot to the main menu, the promotion row, state 9, an entry chosen
    // (the scripted handlers press the keys); answers whether state 9 was
    // reached.
    bool playToPromotion() {
        bool reached = false;
        const int rc = runGame([&] {
            if (!waitState(9, 60)) return;
            reached = true;
            // The program ends on its own after the link (hang guard 20 s).
            for (int i = 0; i < 2000 && running(); ++i) {
                state();
                std::this_thread::sleep_for(10ms);
            }
            endedByItself = !running();
        });
        exitCode = rc;
        return reached;
    }
    // Runs the program with the driver (WinMain on this thread).
    int runGame(const std::function<void()>& script) {
        ShellOptions options;
        options.exitProcess = &recordExit;
        std::thread driver([&] {
            const auto end = std::chrono::steady_clock::now() + 30s;
            while ((ApplicationImpl::instance().loopPasses == 0 || !canvas()) && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(5ms);
            script();
            ApplicationImpl::instance().running = false;
        });
        const int rc = WinMain(options);
        driver.join();
        return rc;
    }
    std::string browserLines() {
        for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) std::this_thread::sleep_for(10ms);
        std::ifstream in(record);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string record;
    std::atomic<bool> endedByItself{false};
    int exitCode = -1;
};

TEST_F(GameWithShowcase, MenuRowOpensTheScreenAndTheChosenLink) {
    setenv("BRAMBLE_MSGBOX_ANSWER", "6", 1);  // Yes
    ASSERT_TRUE(playToPromotion()) << "states seen:" << traceText();
    EXPECT_TRUE(endedByItself);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(browserLines(), "http://promo.example.com/river\n");
}

TEST_F(GameWithShowcase, DeclinedConnectionStartsNoBrowserAndStillEnds) {
    setenv("BRAMBLE_MSGBOX_ANSWER", "7", 1);  // No
    ASSERT_TRUE(playToPromotion()) << "states seen:" << traceText();
    EXPECT_TRUE(endedByItself);
    EXPECT_EQ(exitCode, 0);
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(std::filesystem::exists(record));
}

}  // namespace
}  // namespace showcasetest
