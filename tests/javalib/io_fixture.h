// Fixture of the stream tests: a fresh application with small heaps and a
// small string pool (the texts the streams take from it), byte helpers,
// and checks of the pending exception.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "runtime/runtime.h"
#include "tests/runtime/fixture.h"

using ByteVec = std::vector<uint8_t>;

inline ByteArray* byteArrayOf(const ByteVec& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    if (!bytes.empty()) std::memcpy(a->data(), bytes.data(), bytes.size());
    return a;
}

inline ByteVec bytesOf(const ByteArray* a, jint count = -1) {
    if (!a) return {};
    const jint n = count < 0 ? a->length() : count;
    const auto* p = reinterpret_cast<const uint8_t*>(a->data());
    return ByteVec(p, p + n);
}

// The pending exception's class id (0 when none), cleared.
inline jint takeException() {
    Object* e = Application::pendingException();
    Application::clearPendingException();
    return e ? e->classId() : 0;
}

class StreamTest : public testing::Test {
protected:
    void SetUp() override {
        Application::Config config;
        config.objectHeapSize = 1 << 20;
        config.dataHeapSize = 4 << 20;
        config.statics = &m_noStatics;
        config.loadConstants = [](StaticClass& statics) {
            const std::vector<std::pair<int, const char*>> texts = {{1, ""}, {198, "true"}, {199, "false"}};
            ObjectArray* pool = newObjectArray(cid::String, 200);
            statics.m_stringPool = pool;
            for (jint i = 0; i < pool->length(); ++i) {
                String* s = String::empty();
                for (const auto& t : texts)
                    if (t.first == i) s = String::fromUtf8(t.second);
                pool->data()[i] = s;
            }
        };
        Application::init(config);
    }
    void TearDown() override {
        Application::clearPendingException();
        if (Application::instance()) Application::instance()->close();
    }

    LogCapture m_log;
    std::vector<const StaticsContribution*> m_noStatics;
};
