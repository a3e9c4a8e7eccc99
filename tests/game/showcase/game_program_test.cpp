// The whole game with the cross-promotion screen, in-process under SDL's
// offscreen driver on the demo device: the real MIDlet and canvas run
// their own game thread. The player's keys are scripted on the game thread
// itself: thin wrappers around the handlers of states 24, 3, 6 and 9 set
// the step's newly pressed game keys before the real handler runs (the
// main menu's cursor is moved to the promotion row by its id). In state 9
// the screen's own keys pick an entry; the shell's question box answers;
// the browser command (a recording script named by BRAMBLE_BROWSER) gets
// the link, and the program ends by itself.
#include <algorithm>
#include <chrono>
#include <mutex>
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

// The states the game thread ran, noted by the wrappers on that thread (the
// driver thread never reads the game's statics).
std::mutex g_traceLock;
std::vector<jint> g_trace;
void note() {
    const jint s = game::cg().gameState;
    std::lock_guard<std::mutex> lock(g_traceLock);
    if (g_trace.empty() || g_trace.back() != s) g_trace.push_back(s);
}
void tracing(jint message) {
    note();
    g_real[game::cg().gameState](message);
}

// Fire on every third update (questions, title).
template <int S>
void confirming(jint message) {
    note();
    if (message == game::kMsgUpdate && ++g_updates[S] % 3 == 0) game::cg().keysPressed = kFireBit;
    g_real[S](message);
}

// The main menu: down until the promotion row is under the cursor, then fire.
void mainMenu(jint message) {
    note();
    if (message == game::kMsgUpdate && ++g_updates[6] % 3 == 0) {
        IntArray* row = game::listedEntryInts(game::cg().menuCursor);
        game::cg().keysPressed = row && row->data()[0] == kPromotionRow ? kFireBit : kDownBit;
    }
    g_real[6](message);
}

// The promotion screen: after its loading steps the next entry, then select.
void promotion(jint message) {
    note();
    if (message == game::kMsgUpdate) {
        const jint n = ++g_updates[9];
        if (n == 20) game::cg().keysPressed = kRightBit;
        if (n == 24) game::cg().keysPressed = kFireBit;
    }
    g_real[9](message);
}

class GameWithShowcase : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        game::registerGameProgram();
        game::installShowcase();
        g_trace.clear();
        for (jint i = 0; i < game::kStateSlots; ++i) {
            g_real[i] = game::stateHandler(i);
            g_updates[i] = 0;
            if (g_real[i]) game::setStateHandler(i, &tracing);
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

    static bool running() { return ApplicationImpl::instance().running; }
    static std::string traceText() {
        std::lock_guard<std::mutex> lock(g_traceLock);
        std::string t;
        for (jint s : g_trace) t += " " + std::to_string(s);
        return t;
    }
    static bool sawState(jint s) {
        std::lock_guard<std::mutex> lock(g_traceLock);
        return std::find(g_trace.begin(), g_trace.end(), s) != g_trace.end();
    }

    // Boot to the main menu, the promotion row, state 9, an entry chosen
    // (the scripted handlers press the keys); answers whether state 9 was
    // reached.
    bool playToPromotion() {
        ShellOptions options;
        options.exitProcess = &recordExit;
        std::thread driver([&] {
            // The program ends on its own after the link (hang guard 60 s).
            const auto end = std::chrono::steady_clock::now() + 60s;
            while (ApplicationImpl::instance().loopPasses == 0 && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(5ms);
            while (running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(10ms);
            endedByItself = !running();
            ApplicationImpl::instance().running = false;
        });
        exitCode = WinMain(options);
        driver.join();
        return sawState(9);
    }
    std::string browserLines() {
        // The browser is a process of its own: its line is there once it
        // ends with its newline (the file exists before it is written).
        // Hang guard 60 s.
        std::string text;
        for (int i = 0; i < 6000; ++i) {
            std::ifstream in(record);
            std::stringstream read;
            read << in.rdbuf();
            text = read.str();
            if (!text.empty() && text.back() == '\n') break;
            std::this_thread::sleep_for(10ms);
        }
        return text;
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
