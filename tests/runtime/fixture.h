// Shared fixture of the runtime tests: a fresh application with small heaps
// per test, and capture of the log lines.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "runtime/runtime.h"

class LogCapture {
public:
    LogCapture() {
        rt::setLogSink([this](std::string_view line) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_lines.emplace_back(line);
        });
    }
    ~LogCapture() { rt::setLogSink(nullptr); }
    bool contains(const std::string& text) {
        std::lock_guard<std::mutex> lock(m_lock);
        for (const std::string& l : m_lines)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_lines;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(m_lock);
        m_lines.clear();
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};

// A Runnable calling a plain function with an argument.
class Task : public Object, public java_lang_Runnable {
public:
    using Fn = void (*)(void*);
    Task(Fn fn, void* arg) : Object(cid::Object), m_fn(fn), m_arg(arg) {}
    void* getInterface(jint id) override {
        return id == cid::java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
    }
    void run() override { m_fn(m_arg); }
    Fn m_fn;
    void* m_arg;
};

// Waits at safe points until pred holds; false after at least 20 s (a hang
// guard).
template <typename P>
bool waitFor(P pred) {
    for (int i = 0; i < 20000; ++i) {
        if (pred()) return true;
        java_lang_Thread::sleep(1);
    }
    return false;
}

// Runs fn on a Java thread and waits for it to end. Objects that fn leaves
// unreferenced are then certainly garbage: a finished thread's stack is no
// longer scanned (the caller's own stack may hold stale copies).
inline void runOnJavaThread(Task::Fn fn, void* arg = nullptr) {
    auto* thread = newObject<java_lang_Thread>(newObject<Task>(fn, arg));
    ASSERT_GE(java_lang_Thread::start(thread), 0);
    ASSERT_TRUE(waitFor([&] { return !java_lang_Thread::isAlive(thread); }));
}

class RuntimeTest : public testing::Test {
protected:
    static constexpr size_t kObjectHeap = 1 << 20;
    static constexpr size_t kDataHeap = 1 << 20;

    void SetUp() override { startApp(kObjectHeap, kDataHeap); }
    void TearDown() override {
        if (Application::instance()) Application::instance()->close();
    }
    void startApp(size_t objectHeap, size_t dataHeap, std::vector<const StaticsContribution*> statics = {}) {
        m_statics = std::move(statics);
        Application::Config config;
        config.objectHeapSize = objectHeap;
        config.dataHeapSize = dataHeap;
        config.statics = &m_statics;
        m_app = Application::init(config);
    }
    ObjectManager& om() { return m_app->objects(); }
    void collect() { om().gc(ObjectManager::kForced); }

    LogCapture m_log;
    Application* m_app = nullptr;
    std::vector<const StaticsContribution*> m_statics;
};
