// Fixture of the io tests: a fresh device root and a fresh application per
// test (so the archive index is read anew), with the demo string pool and
// the io statics; helpers that place files in the device with the content
// kit and read them back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "io/statics.h"
#include "platform/fs/fs.h"
#include "runtime/runtime.h"
#include "tests/runtime/fixture.h"
#include "tools/kit/archive.h"
#include "tools/kit/demo.h"
#include "tools/kit/stringpool.h"

namespace iotest {

using Bytes = kit::Bytes;

inline ByteArray* byteArrayOf(const Bytes& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    if (!bytes.empty()) std::memcpy(a->data(), bytes.data(), bytes.size());
    return a;
}

inline Bytes bytesOf(const ByteArray* a, jint count = -1) {
    if (!a) return {};
    const jint n = count < 0 ? a->length() : count;
    const auto* p = reinterpret_cast<const uint8_t*>(a->data());
    return Bytes(p, p + n);
}

inline Bytes pattern(size_t n, uint32_t seed = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
    return b;
}

// The pending exception's class id (0 when none), cleared.
inline jint takeException() {
    Object* e = Application::pendingException();
    Application::clearPendingException();
    return e ? e->classId() : 0;
}

// The pending exception's message as UTF-8 (not cleared).
inline std::string pendingMessage() {
    Object* e = Application::pendingException();
    if (!e || !java_lang_Throwable::isThrowableClass(e->classId())) return {};
    return toUtf8(static_cast<java_lang_Throwable*>(e)->getMessage());
}

inline String* str(const char* utf8) { return String::fromUtf8(utf8); }

// Loads a string pool into the statics block.
inline void loadPool(StaticClass& statics, const kit::StringPool& pool) {
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) array->data()[i] = String::fromUtf16(pool[i]);
}

class IoTest : public testing::Test {
protected:
    void SetUp() override {
        static const std::string base = [] {
            const char* r = std::getenv("BRAMBLE_DEVICE_ROOT");
            return std::string(r ? r : "/tmp/bramble-io-test/device");
        }();
        std::string root = base + "-" +
                           testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "." +
                           testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(root);
        setenv("BRAMBLE_DEVICE_ROOT", root.c_str(), 1);
        platform::fs::reloadDeviceRoot();
        m_root = root;
        startApp();
    }
    void TearDown() override {
        Application::clearPendingException();
        if (Application::instance()) Application::instance()->close();
        if (!HasFailure()) std::filesystem::remove_all(m_root);
    }

    void startApp() {
        m_statics.assign(bramble::io::staticsContributions().begin(), bramble::io::staticsContributions().end());
        Application::Config config;
        config.objectHeapSize = 2 << 20;
        config.dataHeapSize = 8 << 20;
        config.statics = &m_statics;
        config.loadConstants = [](StaticClass& s) { loadPool(s, kit::demoStringPool()); };
        Application::init(config);
    }
    // A fresh application over the same device (statics read anew).
    void restartApp() {
        Application::clearPendingException();
        Application::instance()->close();
        startApp();
    }

    std::string appFolder() const { return *platform::fs::hostPath(platform::fs::kAppFolder); }
    std::string hostFile(const std::string& devicePath) const { return *platform::fs::hostPath(devicePath); }
    void writeAppFile(const std::string& name, const Bytes& bytes) const { kit::writeFile(appFolder() + "/" + name, bytes); }
    void writeArchive(const kit::ArchiveWriter& writer) const { writeAppFile("data.bar", writer.build()); }
    void writeArchiveBytes(const Bytes& bytes) const { writeAppFile("data.bar", bytes); }

    std::string m_root;
    LogCapture m_log;
    std::vector<const StaticsContribution*> m_statics;
};

}  // namespace iotest
