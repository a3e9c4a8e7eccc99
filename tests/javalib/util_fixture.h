// Shared fixture of the java.util tests: a fresh application per test with
// a string-literal pool whose entry n reads "#n" (a few entries carry the
// texts the library appends, so that formatted output reads naturally),
// a rooted slot for test objects, and small helpers for pending exceptions.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "javalib/utilstatics.h"
#include "runtime/runtime.h"

namespace utiltest {

constexpr jint kPoolSize = 200;

inline std::string poolText(jint n) {
    switch (n) {
    case 14: return "=";
    case 162: return "{";
    case 163: return ", ";
    case 164: return "}";
    default: return "#" + std::to_string(n);
    }
}

inline void loadTestPool(StaticClass& statics) {
    ObjectArray* pool = newObjectArray(cid::String, kPoolSize);
    statics.m_stringPool = pool;
    for (jint i = 0; i < kPoolSize; ++i) {
        String* s = String::fromUtf8(poolText(i));
        s->setCollectable(false);
        statics.m_stringPool->data()[i] = s;
    }
}

// A key with a chosen hash code; equal when the ids are equal.
class Key : public Object {
public:
    Key(jint hash, jint id) : Object(cid::Object), m_hash(hash), m_id(id) {}
    jint hashCode() override { return m_hash; }
    jboolean equals(Object* other) override {
        // Allocates on purpose: callers must not keep element pointers.
        String::fromLatin1("equals");
        auto* k = dynamic_cast<Key*>(other);
        return k && k->m_id == m_id ? 1 : 0;
    }
    String* toString() override { return String::fromUtf8("k" + std::to_string(m_id)); }
    jint m_hash;
    jint m_id;
};

class UtilTest : public testing::Test {
protected:
    void SetUp() override { start({&g_javaUtilStatics}); }
    void TearDown() override { stop(); }

    void start(std::vector<const StaticsContribution*> statics) {
        m_statics = std::move(statics);
        Application::Config config;
        config.objectHeapSize = 2 << 20;
        config.dataHeapSize = 2 << 20;
        config.statics = &m_statics;
        config.loadConstants = &loadTestPool;
        m_app = Application::init(config);
        m_app->objects().addRoot(&m_keep);
    }
    void stop() {
        if (!Application::instance()) return;
        m_app->objects().removeRoot(&m_keep);
        m_keep = nullptr;
        Application::instance()->close();
    }

    // Keeps n objects reachable in slot array m_keep.
    ObjectArray* keepArray(jint n) {
        m_keep = newObjectArray(cid::Object, n);
        return static_cast<ObjectArray*>(m_keep);
    }

    // The pending exception's class id (0 for none); clears it.
    static jint takeException() {
        Object* e = Application::pendingException();
        Application::clearPendingException();
        return e ? e->classId() : 0;
    }
    // The pending exception's message text; does not clear.
    static std::string pendingMessage() {
        Object* e = Application::pendingException();
        if (!e || !java_lang_Throwable::isThrowableClass(e->classId())) return "<none>";
        String* m = static_cast<java_lang_Throwable*>(e)->m_message;
        return m ? m->toUtf8() : "<null>";
    }
    void collect() { m_app->objects().gc(ObjectManager::kForced); }

    Application* m_app = nullptr;
    Object* m_keep = nullptr;
    std::vector<const StaticsContribution*> m_statics;
};

}  // namespace utiltest
