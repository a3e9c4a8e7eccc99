// The string-literal pool: loading "/constants.bin" through the resource
// reader, identity of literals, survival across collection and compaction,
// and damaged files.
#include <string>
#include <vector>

#include "tests/runtime/fixture.h"

namespace {

// A constants file: big-endian count, then readUTF entries (given here as
// raw modified UTF-8 bytes).
std::vector<uint8_t> constantsFile(const std::vector<std::string>& entries, int64_t count = -1) {
    const uint32_t n = static_cast<uint32_t>(count < 0 ? static_cast<int64_t>(entries.size()) : count);
    std::vector<uint8_t> out = {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
    for (const std::string& e : entries) {
        out.push_back(uint8_t(e.size() >> 8));
        out.push_back(uint8_t(e.size()));
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}

class StringPool : public RuntimeTest {
protected:
    void SetUp() override {}  // each test starts its application with its own pool
    void TearDown() override {
        RuntimeTest::TearDown();
        rt::setResourceReader(nullptr);
    }
    void startWith(std::vector<uint8_t> file, size_t dataHeap = 1 << 20, size_t objectHeap = 1 << 20) {
        m_file = std::move(file);
        rt::setResourceReader([this](const char* name, std::vector<uint8_t>& bytes) {
            m_asked.push_back(name);
            if (std::string(name) != "/constants.bin") return false;
            bytes = m_file;
            return true;
        });
        m_statics.clear();
        Application::Config config;
        config.objectHeapSize = objectHeap;
        config.dataHeapSize = dataHeap;
        config.statics = &m_statics;
        config.loadConstants = &StaticClass::loadConstants;
        m_app = Application::init(config);
    }
    ObjectArray* pool() { return m_app->statics().m_stringPool; }

    std::vector<uint8_t> m_file;
    std::vector<std::string> m_asked;
};

TEST_F(StringPool, LoadsEveryEntryAsANonCollectableString) {
    startWith(constantsFile({"", "Hello", "caf\xC3\xA9", std::string("nul\xC0\x80" "byte", 9),
                             "\xE2\x82\xAC a literal longer than fourteen units"}));
    EXPECT_EQ(m_asked, std::vector<std::string>{"/constants.bin"});
    ASSERT_NE(pool(), nullptr);
    ASSERT_EQ(pool()->length(), 5);
    EXPECT_EQ(StaticClass::getStringConstant(0)->length(), 0);
    EXPECT_EQ(StaticClass::getStringConstant(1)->toUtf8(), "Hello");
    EXPECT_EQ(StaticClass::getStringConstant(2)->toUtf16(), u"caf\u00e9");
    EXPECT_EQ(StaticClass::getStringConstant(3)->toUtf16(), std::u16string(u"nul\0byte", 8));
    EXPECT_EQ(StaticClass::getStringConstant(4)->toUtf16(), u"\u20ac a literal longer than fourteen units");
    for (jint i = 0; i < 5; ++i) EXPECT_FALSE(StaticClass::getStringConstant(i)->isCollectable());
}

TEST_F(StringPool, TheSameIndexAnswersTheSameObjectAcrossCollections) {
    startWith(constantsFile({"alpha", "beta"}));
    String* first = StaticClass::getStringConstant(1);
    collect();
    collect();
    EXPECT_EQ(StaticClass::getStringConstant(1), first);
    OperandFrame<2> stack;
    EXPECT_EQ(stack.pushConstant(1), first);
    EXPECT_EQ(stack.popRef(), first);
    EXPECT_EQ(first->toUtf8(), "beta");
}

TEST_F(StringPool, LongLiteralsSurviveCompactionOfTheDataHeap) {
    std::vector<std::string> entries;
    for (int i = 0; i < 40; ++i) entries.push_back("pool literal number " + std::to_string(i) + " with some length");
    startWith(constantsFile(entries), 48 * 1024);
    // Fragment the data heap with short-lived arrays, then ask for a block
    // that only compaction can supply.
    ObjectArray* holder = newObjectArray(cid::Object, 200);
    rt::GlobalRef root(holder);
    for (int i = 0; i < 200; ++i) {
        IntArray* a = newIntArray(30);
        if (!m_app->dataHeap().owns(a->data())) break;
        holder->data()[i] = a;
    }
    for (int i = 0; i < 200; i += 2) holder->data()[i] = nullptr;
    collect();
    const size_t largest = m_app->dataHeap().largestFreeBlock();
    IntArray* big = newIntArray(static_cast<jint>(largest / sizeof(jint)) + 4);
    EXPECT_TRUE(m_app->dataHeap().owns(big->data()));
    for (int i = 0; i < 40; ++i) ASSERT_EQ(StaticClass::getStringConstant(i)->toUtf8(), entries[i]);
    EXPECT_TRUE(m_app->dataHeap().checkConsistency());
}

TEST_F(StringPool, AnEmptyFileGivesAnEmptyPool) {
    startWith(constantsFile({}));
    ASSERT_NE(pool(), nullptr);
    EXPECT_EQ(pool()->length(), 0);
    m_log.clear();
    EXPECT_EQ(StaticClass::getStringConstant(0), nullptr);
    EXPECT_TRUE(m_log.contains("NullPointer"));
}

TEST_F(StringPool, AMissingFileLeavesNoPool) {
    rt::setResourceReader(nullptr);
    m_statics.clear();
    Application::Config config;
    config.objectHeapSize = 1 << 20;
    config.dataHeapSize = 1 << 20;
    config.statics = &m_statics;
    config.loadConstants = &StaticClass::loadConstants;
    m_app = Application::init(config);
    EXPECT_EQ(pool(), nullptr);
    EXPECT_TRUE(m_log.contains("\"/constants.bin\" not found"));
    EXPECT_EQ(StaticClass::getStringConstant(0), nullptr);
}

TEST_F(StringPool, DamagedFilesNeverReadPastTheirBytes) {
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        jint poolLength;
        std::vector<const char*> entries;  // null: entry left null
        const char* logged;
    };
    std::vector<uint8_t> truncated = constantsFile({"one", "two", "three"});
    truncated.resize(truncated.size() - 2);
    std::vector<uint8_t> cutInLength = constantsFile({"one", "two"});
    cutInLength.resize(4 + 5 + 1);
    const Case cases[] = {
        {"no count", {0, 0}, 0, {}, "no count in 2 bytes"},
        {"negative count", constantsFile({"x"}, -1 & 0xFFFFFFFFll), 0, {}, "negative count"},
        {"count beyond the bytes", constantsFile({"ab", "cd"}, 1000000), 4, {"ab", "cd", nullptr, nullptr},
         "exceeds"},
        {"huge count", constantsFile({}, 0x7FFFFFFF), 0, {}, "exceeds"},
        {"truncated entry", truncated, 3, {"one", "two", nullptr}, "runs past the end"},
        {"cut in a length", cutInLength, 2, {"one", nullptr}, "ends before entry 1"},
        {"malformed entry", constantsFile({"ok", "\xC3(", "\x80", "\xE2\x82", "after"}), 5,
         {"ok", nullptr, nullptr, nullptr, "after"}, "entry 1 is not modified UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_log.clear();
        startWith(c.file);
        ASSERT_NE(pool(), nullptr);
        EXPECT_EQ(pool()->length(), c.poolLength);
        for (size_t i = 0; i < c.entries.size(); ++i) {
            String* s = static_cast<String*>(pool()->data()[i]);
            if (c.entries[i]) {
                ASSERT_NE(s, nullptr) << i;
                EXPECT_EQ(s->toUtf8(), c.entries[i]);
            } else {
                EXPECT_EQ(s, nullptr) << i;
            }
        }
        EXPECT_TRUE(m_log.contains(c.logged)) << c.logged;
        m_app->close();
    }
    m_app = nullptr;
}

// A damaged count of very many entries keeps a bounded pool: the program
// starts with an object heap to spare.
TEST_F(StringPool, VeryManyEntriesAreBounded) {
    std::vector<uint8_t> big = {0x00, 0x02, 0x49, 0xF0};  // 150,000 entries of "a"
    for (int i = 0; i < 150000; ++i) big.insert(big.end(), {0x00, 0x01, 'a'});
    startWith(big, 1 << 20, Application::kDefaultObjectHeap);  // the program's own heap sizes
    EXPECT_EQ(pool()->length(), rt::kMaxPoolEntries);
    EXPECT_TRUE(m_log.contains("beyond the limit of 32768"));
    EXPECT_EQ(StaticClass::getStringConstant(rt::kMaxPoolEntries - 1)->toUtf8(), "a");
}

TEST_F(StringPool, LoadsFromBytesDirectly) {
    startWith(constantsFile({"first"}));
    const std::vector<uint8_t> other = constantsFile({"x", "y", "z"});
    EXPECT_EQ(rt::loadStringPool(m_app->statics(), other.data(), other.size()), 3);
    EXPECT_EQ(StaticClass::getStringConstant(2)->toUtf8(), "z");
    EXPECT_EQ(rt::loadStringPool(m_app->statics(), nullptr, 0), 0);
    EXPECT_EQ(pool()->length(), 0);
}

}  // namespace
