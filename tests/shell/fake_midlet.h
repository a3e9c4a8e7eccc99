// A small MIDlet and canvas for the shell's tests: every call the runtime
// makes on them is recorded as a line ("startApp", "keyPressed -5",
// "pointerPressed 240,400", ...), and a test thread can wait for a line.
// Optionally the canvas runs a game thread that repaints, and paints a fixed
// picture into the back buffer.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/application.h"
#include "runtime/javathread.h"
#include "runtime/statics.h"
#include "shell/application_impl.h"
#include "display/lcdui/lcdui.h"
#include "io/midlet.h"

namespace shelltest {

class Recorder {
public:
    void add(std::string line) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lines.push_back(std::move(line));
        }
        m_changed.notify_all();
    }
    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }
    // Lines recorded from index `from` on.
    std::vector<std::string> since(size_t from) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return from < m_lines.size() ? std::vector<std::string>(m_lines.begin() + long(from), m_lines.end())
                                     : std::vector<std::string>();
    }
    size_t size() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines.size();
    }
    // Waits until `line` appears at or after index `from`; its index, or -1.
    long waitFor(const std::string& line, size_t from = 0, int timeoutMs = 30000) {
        std::unique_lock<std::mutex> lock(m_mutex);
        long found = -1;
        m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            for (size_t i = from; i < m_lines.size(); ++i)
                if (m_lines[i] == line) {
                    found = long(i);
                    return true;
                }
            return false;
        });
        return found;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.clear();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
};

inline Recorder& calls() {
    static Recorder* r = new Recorder;
    return *r;
}

// What the fakes do beyond recording (set by a test before the run).
struct FakeSettings {
    bool gameThread = false;      // start a thread that repaints every few ms
    bool busyHeap = false;        // the game thread also allocates on every step
    jint paintColour = 0;         // 0: paint nothing; else fill the screen with this RGB
    std::function<void()> onStartApp;    // first startApp, after the canvas is current
    std::function<void()> onDestroyApp;  // inside destroyApp, before notifyDestroyed
    std::function<void(jint)> onKeyPressed;  // on the window thread, after recording
};
inline FakeSettings& fakeSettings() {
    static FakeSettings* s = new FakeSettings;
    return *s;
}

class FakeCanvas : public javax_microedition_lcdui_Canvas, public java_lang_Runnable {
public:
    FakeCanvas() : javax_microedition_lcdui_Canvas(cid::cGame) { StaticClass::setRefFieldOffsets(this, {&m_thread}); }

    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }
    void keyPressed(jint k) override {
        calls().add("keyPressed " + std::to_string(k));
        if (fakeSettings().onKeyPressed) fakeSettings().onKeyPressed(k);
    }
    void keyReleased(jint k) override { calls().add("keyReleased " + std::to_string(k)); }
    void pointerPressed(jint x, jint y) override { calls().add("pointerPressed " + xy(x, y)); }
    void pointerReleased(jint x, jint y) override { calls().add("pointerReleased " + xy(x, y)); }
    void pointerDragged(jint x, jint y) override { calls().add("pointerDragged " + xy(x, y)); }
    void showNotify() override { calls().add("showNotify"); }
    void hideNotify() override { calls().add("hideNotify"); }
    void paint(javax_microedition_lcdui_Graphics* g) override {
        ++paints;
        const jint colour = fakeSettings().paintColour;
        if (!colour || !g) return;
        g->setColor(colour);
        g->fillRect(0, 0, getWidth(), getHeight());
        g->setColor(0xFFFFFF);  // a white square in the top-left corner, to see orientation
        g->fillRect(0, 0, 40, 40);
    }
    void run() override {
        while (!stop) {
            ++steps;
            if (fakeSettings().busyHeap)
                for (int i = 0; i < 200; ++i) newIntArray(8 + i % 32);
            java_lang_Thread::sleep(2);
            javax_microedition_lcdui_Canvas::repaint(this);
        }
    }
    void startThread() {
        m_thread = newObject<java_lang_Thread>(this);
        java_lang_Thread::start(m_thread);
    }

    static std::string xy(jint x, jint y) { return std::to_string(x) + "," + std::to_string(y); }

    java_lang_Thread* m_thread;
    std::atomic<jint> stop;
    std::atomic<jint> steps;
    std::atomic<jint> paints;
};

class FakeMidlet : public javax_microedition_midlet_MIDlet {
public:
    FakeMidlet() : javax_microedition_midlet_MIDlet(cid::RavitBHSG) {}

    static FakeCanvas* canvas() {
        Application* app = Application::instance();
        return app ? static_cast<FakeCanvas*>(app->root(Application::kCurrentDisplayable)) : nullptr;
    }

    void startApp() override {
        calls().add("startApp");
        auto* display = javax_microedition_lcdui_Display::getDisplay(this);
        if (!display->getCurrent()) {
            auto* c = newObject<FakeCanvas>();
            display->setCurrent(c);
            if (fakeSettings().gameThread) c->startThread();
            if (fakeSettings().onStartApp) fakeSettings().onStartApp();
        }
    }
    void pauseApp() override { calls().add("pauseApp"); }
    void destroyApp(jboolean unconditional) override {
        calls().add(std::string("destroyApp ") + (unconditional ? "true" : "false"));
        if (fakeSettings().onDestroyApp) fakeSettings().onDestroyApp();
        notifyDestroyed();
    }
};

inline javax_microedition_midlet_MIDlet* createFakeMidlet() { return newObject<FakeMidlet>(); }

}  // namespace shelltest
