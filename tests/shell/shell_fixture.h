// Runs the program in-process (WinMain on the test's main thread, SDL's
// offscreen driver) with the fake MIDlet, while a script drives it from a
// second thread: it posts window messages, injects power notices, turns the
// display, and reads back what the MIDlet, the canvas and the log saw.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fake_midlet.h"
#include "platform/window/window.h"
#include "runtime/log.h"
#include "shell/application_impl.h"
#include "shell/shell.h"

namespace shelltest {

// The debug log as the program wrote it, without the thread prefix.
inline Recorder& logLines() {
    static Recorder* r = new Recorder;
    return *r;
}

inline void captureLog(std::string_view line) {
    std::string text(line);
    const size_t space = text.find("> ");
    if (text.rfind("<", 0) == 0 && space != std::string::npos) text = text.substr(space + 2);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    logLines().add(text);
}

inline std::atomic<int>& exitCalls() {
    static std::atomic<int> n{0};
    return n;
}
inline std::atomic<int>& lastExitCode() {
    static std::atomic<int> code{-1};
    return code;
}
inline void recordExit(int code) {
    ++exitCalls();
    lastExitCode() = code;
}

class ShellRun : public ::testing::Test {
protected:
    void SetUp() override {
        calls().clear();
        logLines().clear();
        fakeSettings() = FakeSettings();
        exitCalls() = 0;
        lastExitCode() = -1;
        platform::setDisplayOrientation(0);
        setMidletCreator(&createFakeMidlet);
        rt::setLogSink(&captureLog);
    }
    void TearDown() override {
        rt::setLogSink(nullptr);
        platform::setDisplayOrientation(0);
    }

    // Runs the program; `script` starts once the main loop runs (the window
    // has the focus and the MIDlet has been shown). When the script returns
    // the MIDlet is told to end (its notifyDestroyed road), unless the
    // script ended the run itself.
    int run(const std::function<void(platform::Window&)>& script, ShellOptions options = ShellOptions()) {
        options.exitProcess = &recordExit;
        const size_t start = calls().size();
        std::thread driver([&] {
            if (calls().waitFor("showNotify", start, 30000) >= 0) {
                // The main loop has begun (start-up has shown the window).
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                while (ApplicationImpl::instance().loopPasses == 0 && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                std::shared_ptr<platform::Window> window = shellState().mainWindow;
                if (window && script) script(*window);
            } else {
                ADD_FAILURE() << "the program did not start";
            }
            ApplicationImpl::instance().running = false;
        });
        const int rc = WinMain(options);
        driver.join();
        return rc;
    }

    // Posts the marker key ('Z', used for nothing else) and waits until the
    // canvas saw it: everything posted before it has been handled.
    static void settle(platform::Window& window) {
        const size_t from = calls().size();
        window.postMessage(platform::msg::KeyDown, kMarkerKey, 0);
        ASSERT_GE(calls().waitFor(kMarkerLine, from), 0) << "marker not seen";
    }
    // The lines recorded from `from` on, markers left out.
    static std::vector<std::string> seenSince(size_t from) {
        std::vector<std::string> out;
        for (auto& line : calls().since(from))
            if (line != kMarkerLine) out.push_back(line);
        return out;
    }
    static constexpr uintptr_t kMarkerKey = 'Z';
    static constexpr const char* kMarkerLine = "keyPressed 90";
};

}  // namespace shelltest
