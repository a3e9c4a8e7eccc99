// StringBuffer: growth rule, inserts and appends of every kind, deletion,
// and a random sequence of operations checked against a plain model on a
// small data heap (growth then collects and compacts).
#include <string>

#include "tests/runtime/fixture.h"

namespace {

class Buffers : public RuntimeTest {
protected:
    static String* S(const char* utf8) { return String::fromUtf8(utf8); }
    static std::string text(StringBuffer* b) { return b->toString()->toUtf8(); }
};

TEST_F(Buffers, GrowsToTheLargerOfNeedAndTwiceTheCapacity) {
    StringBuffer* b = StringBuffer::make(16);
    EXPECT_EQ(StringBuffer::capacity(b), 16);
    EXPECT_EQ(StringBuffer::length(b), 0);
    std::u16string many(300, u'x');
    StringBuffer::append(b, String::fromUtf16(many));
    EXPECT_EQ(StringBuffer::capacity(b), 301);
    EXPECT_EQ(StringBuffer::length(b), 300);
    EXPECT_TRUE(m_app->dataHeap().owns(b->m_chars));
    StringBuffer::appendChar(b, 'y');  // 302 needed: doubles
    EXPECT_EQ(StringBuffer::capacity(b), 602);
    EXPECT_EQ(b->m_chars[301], 0);  // the unit after the text is zero

    StringBuffer* small = StringBuffer::make(2);
    StringBuffer::appendChar(small, 'a');
    EXPECT_EQ(StringBuffer::capacity(small), 2);
    StringBuffer::appendChar(small, 'b');  // needs 3 units: 2 x 2
    EXPECT_EQ(StringBuffer::capacity(small), 4);
    StringBuffer* none = StringBuffer::make(0);
    EXPECT_EQ(none->m_chars, nullptr);
    StringBuffer::appendCString(none, "abc");
    EXPECT_EQ(text(none), "abc");
    EXPECT_EQ(StringBuffer::capacity(none), 4);

    StringBuffer* copy = newObject<StringBuffer>();
    StringBuffer::initString(copy, S("seed"));
    EXPECT_EQ(StringBuffer::capacity(copy), 5);
    EXPECT_EQ(text(copy), "seed");
}

TEST_F(Buffers, AppendsOfEveryKind) {
    StringBuffer* b = StringBuffer::make();
    StringBuffer::append(b, S("s="));
    StringBuffer::append(b, nullptr);
    StringBuffer::appendChar(b, ',');
    StringBuffer::appendInt(b, -42);
    StringBuffer::appendChar(b, ',');
    StringBuffer::appendLong(b, (jlong(7) << 32) | 9);
    StringBuffer::appendChar(b, ',');
    StringBuffer::appendBoolean(b, 1);
    StringBuffer::appendBoolean(b, 2);  // only 1 is "true"
    StringBuffer::appendChar(b, ',');
    StringBuffer::appendFloat(b, 0.5f);
    StringBuffer::appendChar(b, ',');
    StringBuffer::appendDouble(b, 2.25);
    StringBuffer::appendChar(b, ',');
    StringBuffer::appendObject(b, nullptr);
    StringBuffer::appendObject(b, S("!"));
    EXPECT_EQ(text(b), "s=null,-42,9,truefalse,0.500000,2.250000,null!");
}

TEST_F(Buffers, InsertDeleteReverse) {
    StringBuffer* b = StringBuffer::make();
    StringBuffer::append(b, S("held"));
    StringBuffer::insert(b, 2, S("LLOW"));
    EXPECT_EQ(text(b), "heLLOWld");
    StringBuffer::insertInt(b, 0, 7);
    StringBuffer::insertChar(b, 9, '.');
    EXPECT_EQ(text(b), "7heLLOWld.");
    StringBuffer::deleteRange(b, 3, 7);
    EXPECT_EQ(text(b), "7held.");
    StringBuffer::deleteRange(b, 4, 100);  // the end is cut to the length
    EXPECT_EQ(text(b), "7hel");
    StringBuffer::deleteCharAt(b, 0);
    StringBuffer::deleteCharAt(b, 3);  // at the length: nothing
    EXPECT_EQ(text(b), "hel");
    StringBuffer::reverse(b);
    EXPECT_EQ(text(b), "leh");
    m_log.clear();
    StringBuffer::insert(b, 4, S("x"));      // past the length: logged, nothing
    StringBuffer::insert(b, -1, S("x"));
    StringBuffer::deleteRange(b, 2, 1);      // start after end
    StringBuffer::deleteCharAt(b, -1);
    EXPECT_EQ(text(b), "leh");
    EXPECT_TRUE(m_log.contains("StringBuffer::insert"));
    EXPECT_TRUE(m_log.contains("StringBuffer::delete"));

    CharArray* dst = newCharArray(3);
    StringBuffer::getChars(b, 1, 3, dst, 1);
    EXPECT_EQ(dst->data()[1], 'e');
    EXPECT_EQ(dst->data()[2], 'h');
    StringBuffer::getChars(b, 0, 3, dst, 1);  // past the array: nothing
    EXPECT_EQ(dst->data()[0], 0);
}

TEST_F(Buffers, SetLengthZeroesWhatItUncovers) {
    StringBuffer* b = StringBuffer::make(8);
    StringBuffer::appendCString(b, "abcdef");
    StringBuffer::setLength(b, 2);
    EXPECT_EQ(b->m_chars[2], 0);
    StringBuffer::setLength(b, 4);
    EXPECT_EQ(b->toString()->toUtf16(), std::u16string(u"ab\0\0", 4));
    StringBuffer::setLength(b, 20);  // grows
    EXPECT_EQ(StringBuffer::length(b), 20);
    EXPECT_GE(StringBuffer::capacity(b), 20);
    EXPECT_EQ(b->m_chars[19], 0);
    StringBuffer::setLength(b, -1);
    EXPECT_EQ(StringBuffer::length(b), 20);
}

class BuffersSmallHeap : public Buffers {
protected:
    void SetUp() override { startApp(1 << 20, 40 * 1024); }
};

TEST_F(BuffersSmallHeap, RandomOperationsMatchAModel) {
    ObjectArray* keep = newObjectArray(cid::Object, 8);
    rt::GlobalRef root(keep);
    std::u16string model[8];
    for (int i = 0; i < 8; ++i) keep->data()[i] = StringBuffer::make(i);
    uint32_t seed = 777;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u, seed >> 9; };
    for (int round = 0; round < 4000; ++round) {
        const int k = static_cast<int>(next() % 8);
        auto* b = static_cast<StringBuffer*>(keep->data()[k]);
        std::u16string& m = model[k];
        const jint len = static_cast<jint>(m.size());
        switch (next() % 8) {
        case 0: {
            std::u16string piece(next() % 40, u'a');
            for (char16_t& u : piece) u = static_cast<char16_t>('a' + next() % 26);
            StringBuffer::append(b, String::fromUtf16(piece));  // a String that may move while b grows
            m += piece;
            break;
        }
        case 1: {
            const jint at = static_cast<jint>(next() % (len + 1));
            const jint v = static_cast<jint>(next()) - (1 << 22);
            StringBuffer::insertInt(b, at, v);
            std::string digits = std::to_string(v);
            m.insert(static_cast<size_t>(at), std::u16string(digits.begin(), digits.end()));
            break;
        }
        case 2: {
            const jint start = static_cast<jint>(next() % (len + 1));
            const jint end = start + static_cast<jint>(next() % 20);
            StringBuffer::deleteRange(b, start, end);
            m.erase(static_cast<size_t>(start), static_cast<size_t>(std::min(end, len) - start));
            break;
        }
        case 3:
            StringBuffer::reverse(b);
            m.assign(m.rbegin(), m.rend());
            break;
        case 4: {
            const jint n = static_cast<jint>(next() % (len + 10));
            StringBuffer::setLength(b, n);
            m.resize(static_cast<size_t>(n), u'\0');
            break;
        }
        case 5:
            if (len > 0) {
                const jint at = static_cast<jint>(next() % len);
                StringBuffer::deleteCharAt(b, at);
                m.erase(static_cast<size_t>(at), 1);
            }
            break;
        case 6:
            StringBuffer::appendChar(b, static_cast<jchar>(0x100 + next() % 0x1000));
            m.push_back(static_cast<char16_t>(b->m_chars[b->m_length - 1]));
            break;
        default:
            if (len > 600) {  // start over so the heap does not fill up
                keep->data()[k] = StringBuffer::make(static_cast<jint>(next() % 4));
                m.clear();
            }
            break;
        }
        for (int i = 0; i < 8; ++i) {
            auto* bi = static_cast<StringBuffer*>(keep->data()[i]);
            ASSERT_EQ(StringBuffer::length(bi), static_cast<jint>(model[i].size()));
            ASSERT_EQ(bi->toString()->toUtf16(), model[i]) << "round " << round << " buffer " << i;
        }
    }
    EXPECT_TRUE(m_app->dataHeap().checkConsistency());
}

}  // namespace
