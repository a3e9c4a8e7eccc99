// Stand-in MIDlet and canvas (placeholders until the game's MIDlet and
// canvas replace them): a frame loop on a Java thread that repaints every
// 41 ms, and a paint that shows the last key and the pointer.
#include "shell/standin.h"

#include <cstdio>
#include <string>

#include "display/graphics.h"
#include "runtime/application.h"
#include "runtime/javathread.h"
#include "runtime/statics.h"
#include "shell/application_impl.h"
#include "shell/midp.h"

namespace {

class StandInCanvas : public javax_microedition_lcdui_Canvas, public java_lang_Runnable {
public:
    StandInCanvas() : javax_microedition_lcdui_Canvas(cid::cGame) {
        StaticClass::setRefFieldOffsets(this, {&m_thread});
        m_pointerX = m_pointerY = -1;
    }

    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }

    void keyPressed(jint keyCode) override { m_lastKey = keyCode; }
    void pointerPressed(jint x, jint y) override { setPointer(x, y); }
    void pointerDragged(jint x, jint y) override { setPointer(x, y); }
    void showNotify() override { m_suspended = 0; }
    void hideNotify() override { m_suspended = 1; }

    void paint(javax_microedition_lcdui_Graphics*) override {
        uint16_t* pixels = ApplicationImpl::instance().backBuffer();
        if (!pixels) return;
        display::GraphicsState state = display::GraphicsState::forTarget(kScreenWidth, kScreenHeight);
        display::Graphics g(state, display::Surface::wrap16(pixels, kScreenWidth, kScreenHeight, kScreenWidth * 2));
        // A dark band sweeping down a green field.
        g.setColor(0x1E3A1E);
        g.fillRect(0, 0, kScreenWidth, kScreenHeight);
        g.setColor(0x2F5D2F);
        g.fillRect(0, (m_frame * 4) % kScreenHeight, kScreenWidth, 40);
        g.setColor(0xF0E6C8);
        text(g, "Bramble Hollow Saga", kScreenWidth / 2, 200);
        char line[64];
        std::snprintf(line, sizeof line, "key %d", int(m_lastKey));
        text(g, line, kScreenWidth / 2, 400);
        if (m_pointerX >= 0) {
            g.setColor(0xFFD040);
            g.fillRect(m_pointerX - 12, m_pointerY - 1, 25, 3);
            g.fillRect(m_pointerX - 1, m_pointerY - 12, 3, 25);
        }
    }

    void run() override {
        while (!m_stop) {
            java_lang_Thread::sleep(41);
            if (m_suspended) continue;
            ++m_frame;
            javax_microedition_lcdui_Canvas::repaint(this);
        }
    }

    void start() {
        m_thread = newObject<java_lang_Thread>(this);
        java_lang_Thread::start(m_thread);
    }
    void stop() { m_stop = 1; }

private:
    static void text(display::Graphics& g, const std::string& s, jint x, jint y) {
        std::u16string units(s.begin(), s.end());
        g.drawString(reinterpret_cast<const jchar*>(units.data()), units.size(), x, y, display::kHCenter | display::kTop);
    }
    void setPointer(jint x, jint y) {
        m_pointerX = x;
        m_pointerY = y;
    }

    java_lang_Thread* m_thread;
    jint m_frame;
    jint m_lastKey;
    jint m_pointerX;
    jint m_pointerY;
    volatile jint m_suspended;
    volatile jint m_stop;
};

class StandInMidlet : public javax_microedition_midlet_MIDlet {
public:
    StandInMidlet() : javax_microedition_midlet_MIDlet(cid::RavitBHSG) {}

    void startApp() override {
        Application* app = Application::instance();
        if (!app) return;
        auto* canvas = static_cast<StandInCanvas*>(app->root(Application::kCurrentDisplayable));
        if (!canvas) {
            canvas = newObject<StandInCanvas>();
            app->setRoot(Application::kCurrentDisplayable, canvas);
            canvas->start();
            return;
        }
        canvas->showNotify();
    }
    void pauseApp() override {}
    void destroyApp(jboolean) override {
        if (Application* app = Application::instance()) {
            if (auto* canvas = static_cast<StandInCanvas*>(app->root(Application::kCurrentDisplayable))) canvas->stop();
        }
        notifyDestroyed(this);
    }
};

javax_microedition_midlet_MIDlet* createStandIn() { return newObject<StandInMidlet>(); }

}  // namespace

void registerStandInMidlet() { midp::setMidletCreator(&createStandIn); }
