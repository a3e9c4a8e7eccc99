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
