// The screen inside the real program: the shell runs in-process under SDL's
// offscreen driver with the demo device; a small MIDlet stands in for the
// game's cross-promotion state (one scripted key per logic step, a repaint
// of the 800 x 480 image after each), so the link travels through the
// shell's question box to the browser command, and the program ends.
#include <filesystem>
#include <fstream>
#include <thread>

#include "game/showcase/showcase.h"
#include "game/showcase/install.h"
#include "tests/shell/shell_fixture.h"
#include "tools/kit/demo.h"

namespace showcasetest {
namespace {

using namespace shelltest;
using namespace std::chrono_literals;

std::vector<jint> g_keys;  // one per logic step; 0 after the end

class PromoCanvas : public javax_microedition_lcdui_Canvas, public java_lang_Runnable {
public:
    PromoCanvas() : javax_microedition_lcdui_Canvas(cid::cGame) {
        StaticClass::setRefFieldOffsets(this, {&m_thread, &m_image, &m_graphics});
    }
    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }
    void showNotify() override { calls().add("showNotify"); }
    void run() override {
        m_image = javax_microedition_lcdui_Image::createImage(800, 480);
        m_graphics = m_image->getGraphics();
        for (size_t step = 0; !stop && step < 2000; ++step) {
            const jint key = step < g_keys.size() ? g_keys[step] : 0;
            if (game::Showcase::doAction(key)) {
                calls().add("closed");
                break;
            }
            game::Showcase::paint(m_graphics);
            java_lang_Thread::sleep(2);
        }
    }
    java_lang_Thread* m_thread = nullptr;
    javax_microedition_lcdui_Image* m_image = nullptr;
    javax_microedition_lcdui_Graphics* m_graphics = nullptr;
    std::atomic<jint> stop{0};
};

class PromoMidlet : public javax_microedition_midlet_MIDlet {
public:
    PromoMidlet() : javax_microedition_midlet_MIDlet(cid::RavitBHSG) {}
    void startApp() override {
        calls().add("startApp");
        auto* display = javax_microedition_lcdui_Display::getDisplay(this);
        if (display->getCurrent()) return;
        auto* canvas = newObject<PromoCanvas>();
        display->setCurrent(canvas);
        game::Showcase::setup(this, display, 800, 480, nullptr);
        calls().add(game::Showcase::hasEntries() ? "offered" : "not offered");
        game::Showcase::enter(String::fromUtf8("Bramble Hollow Saga"), 0);
        canvas->m_thread = newObject<java_lang_Thread>(canvas);
        java_lang_Thread::start(canvas->m_thread);
    }
    void destroyApp(jboolean) override {
        if (auto* c = static_cast<PromoCanvas*>(Application::instance()->root(Application::kCurrentDisplayable)))
            c->stop = 1;
        notifyDestroyed();
    }
};

class ShowcaseProgram : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        game::installShowcase();
        setMidletCreator([]() -> javax_microedition_midlet_MIDlet* { return newObject<PromoMidlet>(); });
        const std::filesystem::path root = std::getenv("BRAMBLE_DEVICE_ROOT");
        kit::buildDemoRoot(root.parent_path().string());
        record = (std::filesystem::current_path() / "promo-browser.txt").string();
        std::filesystem::remove(record);
        setenv("BRAMBLE_BROWSER", ("/bin/sh -c 'printf \"%s\\n\" \"$0\" >> " + record + "'").c_str(), 1);
        // Loading (the step count is the slots + 4, plus the first step and
        // the page), then the next entry and select.
        g_keys.assign(16, 0);
        g_keys.push_back(24);
        g_keys.push_back(25);
    }
    void TearDown() override {
        unsetenv("BRAMBLE_BROWSER");
        setenv("BRAMBLE_MSGBOX_ANSWER", "1", 1);
        ShellRun::TearDown();
    }
    // Runs the program until it ends by itself (hang guard: 60 s).
    int runToEnd() {
        endedByItself = false;
        return run([this](platform::Window&) {
            for (int i = 0; i < 6000 && ApplicationImpl::instance().running; ++i) std::this_thread::sleep_for(10ms);
            endedByItself = !ApplicationImpl::instance().running;
        });
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
};

TEST_F(ShowcaseProgram, PickedEntryOpensTheBrowserAndEndsTheProgram) {
    setenv("BRAMBLE_MSGBOX_ANSWER", "6", 1);  // Yes
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_TRUE(endedByItself);
    EXPECT_GE(calls().waitFor("offered", 0, 100), 0);
    EXPECT_EQ(browserLines(), "http://promo.example.com/river\n");
    EXPECT_EQ(exitCalls(), 0);
}

TEST_F(ShowcaseProgram, DeclinedConnectionStartsNoBrowserAndStillEnds) {
    setenv("BRAMBLE_MSGBOX_ANSWER", "7", 1);  // No
    EXPECT_EQ(runToEnd(), 0);
    EXPECT_TRUE(endedByItself);
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(std::filesystem::exists(record));
}

}  // namespace
}  // namespace showcasetest
