// The whole-program headless driver (gamedriver.h): the program's own
// statics and start-up over a device root with the demo archive, the run
// loop pass by pass on a clock of its own, a silent player for every sound,
// and an offscreen 480 x 800 screen that the canvas paints after each step.
#include "tests/support/gamedriver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tests/support/manual_clock.h"
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "display/lcdui/lcdui.h"
#include "game/behaviour/behaviour.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/program.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/showcase/install.h"
#include "game/world/world.h"
#include "io/resource.h"
#include "io/statics.h"
#include "javalib/lang.h"
#include "javalib/random.h"
#include "javalib/utilstatics.h"
#include "media/dummy_player.h"
#include "platform/fs/fs.h"
#include "runtime/application.h"
#include "runtime/log.h"
#include "runtime/resource.h"
#include "runtime/statics.h"
#include "runtime/system.h"
#include "tools/kit/demo.h"

namespace gamedriver {

namespace {

constexpr int32_t kPlayState = 14;
constexpr jlong kPlayStepMs = 62, kOtherStepMs = 41;
// Passes that run no logic step (the game paused) before a step gives up.
constexpr int kIdlePassLimit = 64;


stepdriver::ManualClock g_clock;
bool g_live = false;

Object* silentPlayer(java_io_InputStream*, String*) { return newObject<DummyPlayer>(); }

// The statics, state handlers and hooks of the whole program, as the
// program's main registers and installs them (again at every boot: a step
// driver run before may have replaced or removed hooks; registering a
// contribution twice keeps one).
void registerProgram() {
    registerLangStatics();
    registerUtilStatics();
    bramble::io::registerStatics();
    lcdui::registerStatics();
    game::registerGameProgram();
    game::world::registerPlay();
    game::behaviour::registerBehaviours();
    game::behaviour::installBehaviours();
    game::installShowcase();
}

std::string hex8(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

}  // namespace

GameDriver::GameDriver() : m_screen(480 * 800, 0) {}

GameDriver::~GameDriver() {
    if (m_booted) {
        if (Application* app = Application::instance()) {
            app->setRoot(Application::kScreenGraphics, nullptr);
            app->setRoot(Application::kScreenImage, nullptr);
            app->close();
        }
        game::setPlayerMaker(nullptr);
        game::setGameClock(nullptr);
        java_lang_System::setTickSource(nullptr);
        game::world::uninstallWorld();
        rt::setResourceReader(nullptr);
        g_live = false;
    }
}

std::string GameDriver::deviceRoot() const { return m_options.folder + "/device"; }

std::string GameDriver::appFolder() const { return deviceRoot() + "/" + kit::kAppFolder; }

bool GameDriver::boot(const Options& options, std::string& error) {
    namespace fs = std::filesystem;
    if (m_booted) {
        error = "the driver has booted already";
        return false;
    }
    if (g_live) {
        error = "another GameDriver is running in this process";
        return false;
    }
    if (options.folder.empty()) {
        error = "no folder for the device root";
        return false;
    }
    m_options = options;
    std::error_code ec;
    if (options.freshDevice) fs::remove_all(deviceRoot(), ec);
    if (!fs::exists(appFolder() + "/data.bar")) {
        try {
            kit::buildDemoRoot(options.folder);
        } catch (const std::exception& e) {
            error = std::string("demo device root: ") + e.what();
            return false;
        }
    }
    setenv("BRAMBLE_DEVICE_ROOT", deviceRoot().c_str(), 1);
    platform::fs::reloadDeviceRoot();

    registerProgram();
    g_clock.reset();
    game::setGameClock(&g_clock);
    // System.currentTimeMillis (the cross-promotion screen's blink and
    // scroll) follows the same clock, not the host's.
    java_lang_System::setTickSource([] { return static_cast<uint32_t>(g_clock.now()); });
    game::setPlayerMaker(&silentPlayer);
    bramble::io::installResourceReader();
    RavitBHSG::setStartsThread(false);

    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 48 << 20;
    config.loadConstants = &StaticClass::loadConstants;
    Application* app = Application::init(config);
    if (!app) {
        error = "the application did not start";
        return false;
    }
    g_live = true;
    m_booted = true;
    if (Application::pendingException()) {
        error = "the class initialisers left an exception pending";
        return false;
    }
    // The screen: an image over the driver's own buffer, rooted as the
    // program's screen image and Graphics.
    auto* image = javax_microedition_lcdui_Image::createScreenImage(480, 800, m_screen.data());
    app->setRoot(Application::kScreenImage, image);
    auto* graphics = javax_microedition_lcdui_Graphics::make(image);
    app->setRoot(Application::kScreenGraphics, graphics);

    auto* midlet = newObject<RavitBHSG>();
    app->setRoot(Application::kMidlet, midlet);
    javax_microedition_midlet_MIDlet::setRunning(midlet);
    midlet->startApp();
    if (Application::pendingException()) {
        error = "MIDlet.startApp left an exception pending";
        return false;
    }
    cGame::runStart();
    if (java_util_Random* r = game::cg().randomGenerator) r->setSeed(static_cast<jlong>(options.seed));
    m_nextInput = 0;
    m_step = 0;
    return true;
}

int32_t GameDriver::gameState() const { return m_booted ? game::cg().gameState : -1; }

void GameDriver::addInput(const std::vector<stepdriver::InputEvent>& events, int offset) {
    std::vector<stepdriver::InputEvent> rest(m_options.input.begin() + static_cast<std::ptrdiff_t>(m_nextInput),
                                             m_options.input.end());
    for (stepdriver::InputEvent e : events) {
        e.step += offset;
        rest.push_back(e);
    }
    std::stable_sort(rest.begin(), rest.end(),
                     [](const stepdriver::InputEvent& a, const stepdriver::InputEvent& b) { return a.step < b.step; });
    m_options.input = std::move(rest);
    m_nextInput = 0;
}

void GameDriver::keyDown(int32_t code) {
    if (auto* canvas = static_cast<cGame*>(game::cg().instance)) canvas->keyPressed(code);
}

void GameDriver::keyUp(int32_t code) {
    if (auto* canvas = static_cast<cGame*>(game::cg().instance)) canvas->keyReleased(code);
}

bool GameDriver::step() {
    if (!m_booted || m_ended) return false;
    auto* canvas = static_cast<cGame*>(game::cg().instance);
    const auto& input = m_options.input;
    while (m_nextInput < input.size() && input[m_nextInput].step <= m_step) {
        const stepdriver::InputEvent& e = input[m_nextInput++];
        if (!canvas) continue;
        switch (e.kind) {
        case stepdriver::InputEvent::Kind::Down: canvas->keyPressed(e.code); break;
        case stepdriver::InputEvent::Kind::Up: canvas->keyReleased(e.code); break;
        case stepdriver::InputEvent::Kind::Touch: canvas->pointerPressed(e.x, e.y); break;
        case stepdriver::InputEvent::Kind::Drag: canvas->pointerDragged(e.x, e.y); break;
        case stepdriver::InputEvent::Kind::Lift: canvas->pointerReleased(e.x, e.y); break;
        }
    }
    // One pass that runs a logic step: the clock crosses exactly one step
    // boundary of the current state.
    const jint before = cGame::stepsRun();
    for (int idle = 0; idle < kIdlePassLimit && cGame::stepsRun() == before; ++idle) {
        g_clock.advance(game::cg().gameState == kPlayState ? kPlayStepMs : kOtherStepMs);
        if (!cGame::runPass()) {
            m_ended = true;
            break;
        }
    }
    const std::string at = "step " + std::to_string(m_step) + ": ";
    if (!m_ended && cGame::stepsRun() == before) m_violations.push_back(at + "no logic step ran (the game stays paused)");
    if (Application::pendingException()) {
        m_violations.push_back(at + "a Java exception was left pending");
        Application::clearPendingException();
    }
    if (!m_ended) paint();
    record();
    if (!m_ended) {
        if (game::cg().gameState == kPlayState && game::cg().hero) {
            stepdriver::checkPlayInvariants(m_step, m_violations);
        } else {
            const jint s = game::cg().gameState;
            if (!stepdriver::stateIsHandled(s))
                m_violations.push_back(at + "game state " + std::to_string(s) + " has no handler");
        }
    }
    ++m_step;
    return !m_ended;
}

bool GameDriver::stepUntil(int32_t state, int limit) {
    for (int i = 0; i < limit && !m_ended && gameState() != state; ++i) step();
    return gameState() == state;
}

bool GameDriver::pressUntil(int32_t code, int32_t state, int limit) {
    for (int i = 0; i < limit && !m_ended && gameState() != state; ++i) {
        if (i % 4 == 0) keyDown(code);
        if (i % 4 == 1) keyUp(code);
        step();
    }
    return gameState() == state;
}

void GameDriver::paint() {
    Application* app = Application::instance();
    auto* canvas = static_cast<cGame*>(game::cg().instance);
    if (!app || !canvas) return;
    // The repaint's Graphics: no translation, the whole screen as clip.
    auto* g = static_cast<javax_microedition_lcdui_Graphics*>(app->root(Application::kScreenGraphics));
    if (!g) return;
    g->translate(-g->getTranslateX(), -g->getTranslateY());
    g->setClip(0, 0, 480, 800);
    g->setColor(0xFFFFFF);
    canvas->paint(g);
    if (Application::pendingException()) {
        m_violations.push_back("step " + std::to_string(m_step) + ": paint left a Java exception pending");
        Application::clearPendingException();
    }
}

void GameDriver::markScreen(uint16_t colour) { std::fill(m_screen.begin(), m_screen.end(), colour); }

void GameDriver::repaint() {
    if (m_booted && !m_ended) paint();
}

uint32_t GameDriver::frameHash() const {
    uint32_t h = 2166136261u;
    for (uint16_t p : m_screen) {
        h = (h ^ (p & 0xFF)) * 16777619u;
        h = (h ^ (p >> 8)) * 16777619u;
    }
    return h;
}

void GameDriver::record() {
    m_last.clear();
    const std::string n = std::to_string(m_step);
    if (m_ended) {
        m_last.push_back(n + " game ended");
    } else {
        const jint s = game::cg().gameState;
        const game::cGameStatics& f = game::cg();
        m_last.push_back(n + " game state=" + std::to_string(s) + " ticks=" + std::to_string(f.stateTicks) +
                         " depth=" + std::to_string(game::cg().stateStackDepth) + " trans=" + std::to_string(f.inTransition ? 1 : 0));
        if (s == kPlayState && game::cg().hero) m_last.push_back(stepdriver::heroTraceLine(m_step));
        if (m_states.empty() || m_states.back() != s) m_states.push_back(s);
        if (m_options.frames.count(m_step)) m_last.push_back(n + " frame hash=" + hex8(frameHash()));
    }
    m_trace.insert(m_trace.end(), m_last.begin(), m_last.end());
}

}  // namespace gamedriver
