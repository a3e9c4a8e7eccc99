// Stand-in MIDlet and canvas (placeholders until the game's MIDlet and
// canvas replace them): a frame loop on a Java thread that repaints every
// 41 ms, and a paint that shows the last key and the pointer.
#include "shell/standin.h"

#include <atomic>
#include <cstdio>

#include "display/lcdui/lcdui.h"
#include "io/midlet.h"
#include "runtime/application.h"
#include "runtime/javathread.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "shell/application_impl.h"

namespace {

constexpr jint kTopHCenter = 16 | 1;

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

    void paint(javax_microedition_lcdui_Graphics* g) override {
        if (!g) return;
        const jint w = getWidth(), h = getHeight();
        // A lighter band sweeping down a dark green field.
        g->setColor(0x1E3A1E);
        g->fillRect(0, 0, w, h);
        g->setColor(0x2F5D2F);
        g->fillRect(0, (m_frame * 4) % h, w, 40);
        g->setColor(0xF0E6C8);
        g->drawString(String::fromLatin1("Bramble Hollow Saga"), w / 2, h / 4, kTopHCenter);
        char line[32];
        std::snprintf(line, sizeof line, "key %d", int(m_lastKey));
        g->drawString(String::fromLatin1(line), w / 2, h / 2, kTopHCenter);
        if (m_pointerX >= 0) {
            g->setColor(0xFFD040);
            g->fillRect(m_pointerX - 12, m_pointerY - 1, 25, 3);
            g->fillRect(m_pointerX - 1, m_pointerY - 12, 3, 25);
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
    void setPointer(jint x, jint y) {
        m_pointerX = x;
        m_pointerY = y;
    }

    java_lang_Thread* m_thread;
    jint m_frame;
    jint m_lastKey;
    jint m_pointerX;
    jint m_pointerY;
    std::atomic<jint> m_suspended;
    std::atomic<jint> m_stop;
};

class StandInMidlet : public javax_microedition_midlet_MIDlet {
public:
    StandInMidlet() : javax_microedition_midlet_MIDlet(cid::RavitBHSG) {}

    void startApp() override {
        auto* display = javax_microedition_lcdui_Display::getDisplay(this);
        auto* canvas = static_cast<StandInCanvas*>(display->getCurrent());
        if (!canvas) {
            canvas = newObject<StandInCanvas>();
            display->setCurrent(canvas);
            canvas->start();
            return;
        }
        display->setCurrent(canvas);
        canvas->showNotify();
    }
    void pauseApp() override {}
    void destroyApp(jboolean) override {
        auto* display = javax_microedition_lcdui_Display::getDisplay(this);
        if (auto* canvas = static_cast<StandInCanvas*>(display->getCurrent())) canvas->stop();
        notifyDestroyed();
    }
};

javax_microedition_midlet_MIDlet* createStandIn() { return newObject<StandInMidlet>(); }

}  // namespace

void registerStandInMidlet() { setMidletCreator(&createStandIn); }
