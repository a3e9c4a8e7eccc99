// Fixture of the java.lang tests: an application with the java.lang
// statics (System, Boolean, Runtime) and a string pool whose entries the
// classes name (111, 188-192, 198, 199) hold recognisable texts.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "javalib/lang.h"
#include "tests/runtime/fixture.h"

inline std::vector<uint8_t> langTestPool() {
    const std::map<int, std::string> named = {{111, ", "},         {188, "Thread["},      {189, "]"},
                                              {190, "test.key"},   {191, "test.value"},   {192, "<float>"},
                                              {198, "true"},       {199, "false"}};
    const int count = 210;
    std::vector<uint8_t> out = {0, 0, 0, uint8_t(count)};
    for (int i = 0; i < count; ++i) {
        auto it = named.find(i);
        const std::string text = it != named.end() ? it->second : "entry " + std::to_string(i);
        out.push_back(uint8_t(text.size() >> 8));
        out.push_back(uint8_t(text.size()));
        out.insert(out.end(), text.begin(), text.end());
    }
    return out;
}

class LangTest : public RuntimeTest {
protected:
    void SetUp() override {
        registerLangStatics();
        m_statics = StaticClass::registered();
        Application::Config config;
        config.objectHeapSize = 1 << 20;
        config.dataHeapSize = 1 << 20;
        config.statics = &m_statics;
        config.loadConstants = [](StaticClass& s) {
            const std::vector<uint8_t> pool = langTestPool();
            rt::loadStringPool(s, pool.data(), pool.size());
        };
        m_app = Application::init(config);
    }
    static String* pool(jint n) { return StaticClass::getStringConstant(n); }
    static String* S(const char* text) { return String::fromUtf8(text); }
};
