// String's Java constructors, byte decoders and operations, with the
// device's own rules (prefix tests, terminator in compareTo and hashCode,
// Latin-1 folding of low bytes).
#include <cstring>
#include <string>
#include <vector>

#include "tests/runtime/fixture.h"

namespace {

class StringOps : public RuntimeTest {
protected:
    static String* S(const char* utf8) { return String::fromUtf8(utf8); }
    static String* U(std::u16string units) { return String::fromUtf16(units); }
    static ByteArray* bytes(const std::vector<uint8_t>& b) {
        ByteArray* a = newByteArray(static_cast<jint>(b.size()));
        if (!b.empty()) std::memcpy(a->data(), b.data(), b.size());
        return a;
    }
    static std::vector<uint8_t> bytesOf(ByteArray* a) {
        if (!a) return {};
        const auto* p = reinterpret_cast<const uint8_t*>(a->data());
        return std::vector<uint8_t>(p, p + a->length());
    }
};

TEST_F(StringOps, StorageIsInlineUpToFourteenUnitsThenADataBlock) {
    for (jint n : {0, 1, 14, 15, 16, 40}) {
        CharArray* chars = newCharArray(n);
        for (jint i = 0; i < n; ++i) chars->data()[i] = static_cast<jchar>('a' + i % 26);
        String* s = newObject<String>();
        String::initCharArray(s, chars);
        EXPECT_EQ(s->length(), n);
        EXPECT_EQ(s->count(), n + 1);
        EXPECT_EQ(s->chars()[n], 0);
        if (n <= 14) {
            EXPECT_EQ(s->chars(), s->m_inline) << n;
        } else {
            EXPECT_TRUE(m_app->dataHeap().owns(s->chars())) << n;
            EXPECT_GE(m_app->dataHeap().blockSize(s->chars()), sizeof(jchar) * (n + 1));
        }
        for (jint i = 0; i < n; ++i) ASSERT_EQ(s->chars()[i], 'a' + i % 26);
    }
}

TEST_F(StringOps, ConstructorsCheckTheirArraysAndRanges) {
    CharArray* chars = newCharArray(4);
    CharArray::fill(chars, {'w', 'x', 'y', 'z'});
    String* s = newObject<String>();
    String::initChars(s, chars, 1, 2);
    EXPECT_EQ(s->toUtf8(), "xy");
    // Ranges outside the array, negative counts and null arrays: logged, empty.
    const jint bad[][2] = {{3, 2}, {-1, 1}, {0, 5}, {2, -1}, {java::kIntMax, 2}};
    for (const auto& r : bad) {
        m_log.clear();
        String::initChars(s, chars, r[0], r[1]);
        EXPECT_EQ(s->length(), 0) << r[0] << "," << r[1];
        EXPECT_TRUE(m_log.contains("outside")) << r[0] << "," << r[1];
    }
    String::initChars(s, nullptr, 0, 0);
    EXPECT_EQ(s->length(), 0);
    EXPECT_TRUE(m_log.contains("NullPointer"));

    String::initBytesLatin1(s, bytes({'a', 0xE9, 'b'}), 1, 2);
    EXPECT_EQ(s->toUtf16(), u"\u00e9b");
    String::initBytesCString(s, bytes({'h', 'i', 0, 'x'}), 0, 4);
    EXPECT_EQ(s->toUtf8(), "hi");
    String::initCString(s, "plain");
    EXPECT_EQ(s->toUtf8(), "plain");
    const jchar wide[] = {'w', 0x20AC, 0};
    String::initWide(s, wide);
    EXPECT_EQ(s->toUtf16(), u"w\u20ac");
    // A constructor run again on a String with a data block replaces it.
    String::initString(s, S("a text well beyond fourteen units"));
    String::initString(s, S("short"));
    EXPECT_EQ(s->toUtf8(), "short");
    StringBuffer* b = StringBuffer::make();
    StringBuffer::append(b, S("from a buffer"));
    String::initStringBuffer(s, b);
    EXPECT_EQ(s->toUtf8(), "from a buffer");
}

TEST_F(StringOps, DecodesByEncodingName) {
    struct Case {
        std::vector<uint8_t> in;
        const char* encoding;  // null: no name
        std::u16string expected;
    };
    const Case cases[] = {
        {{0xC3, 0xA9}, "UTF-8", u"\u00e9"},
        {{0xC3, 0xA9}, "utf8", u"\u00e9"},
        {{0xC0, 0x80}, "UTF-8", std::u16string(1, u'\0')},
        {{0xE2, 0x82, 0xAC, 'x'}, "UTF-8", u"\u20acx"},
        {{0x41, 0x85}, "UTF-8", u"A\u0085"},          // below 0xB0: a unit of its own
        {{'a', 0xC3}, "UTF-8", u"a"},                  // truncated 2-byte form ends the text
        {{'a', 0xE2, 0x82}, "UTF-8", u"a"},            // truncated 3-byte form
        {{0xB5, 'A', 0xF0, 'B'}, "UTF-8", u"\ufffdA\ufffdB"},  // unhandled leads advance
        {{0xE9}, "UTF", u""},                          // prefix test: "UTF" names UTF-8
        {{0x82, 0xA0, 'A'}, "SJIS", u"\u82a0A"},       // raw double-byte code
        {{0xE0, 0x40, 0xA1}, "SJIS", u"\ue040\u00a1"},
        {{'A', 0x81}, "SJIS", u"A"},                   // lead without its second byte
        {{0xE9, 'x'}, nullptr, u"\u00e9x"},
        {{0xE9}, "ISO-8859-1", u"\u00e9"},
        {{0xE9}, "KOI8-R", u""},                       // unknown: logged, empty
    };
    for (const Case& c : cases) {
        String* s = newObject<String>();
        String::initBytesEnc(s, bytes(c.in), c.encoding ? S(c.encoding) : nullptr);
        EXPECT_EQ(s->toUtf16(), c.expected) << (c.encoding ? c.encoding : "null");
        EXPECT_EQ(s->chars()[s->length()], 0);
    }
    EXPECT_TRUE(m_log.contains("unsupported encoding \"KOI8-R\""));
    // A range inside the array.
    String* s = newObject<String>();
    String::initBytesEncoding(s, bytes({'x', 0xC3, 0xA9, 'y'}), 1, 2, S("UTF-8"));
    EXPECT_EQ(s->toUtf16(), u"\u00e9");
    String::initBytesEncoding(s, bytes({'x'}), 1, 2, S("UTF-8"));
    EXPECT_EQ(s->length(), 0);
}

TEST_F(StringOps, Utf8EncodingRoundTripsWithTheDecoder) {
    struct Case {
        std::u16string units;
        std::vector<uint8_t> utf8;
    };
    const Case cases[] = {
        {u"\u00e9", {0xC3, 0xA9}},
        {std::u16string(1, u'\0'), {0xC0, 0x80}},
        {u"a\u20ac", {'a', 0xE2, 0x82, 0xAC}},
        {u"\u07ff\u0800", {0xDF, 0xBF, 0xE0, 0xA0, 0x80}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytesOf(String::getBytesEnc(U(c.units), S("UTF-8"))), c.utf8);
        EXPECT_EQ(bytesOf(String::getBytesEnc(U(c.units), S("utf8"))), c.utf8);
        String* back = newObject<String>();
        String::initBytesEnc(back, bytes(c.utf8), S("UTF-8"));
        EXPECT_EQ(back->toUtf16(), c.units);
    }
    EXPECT_EQ(String::getBytesEnc(S("x"), S("ISO-8859-1")), nullptr);
    EXPECT_EQ(bytesOf(String::getBytes(U(u"a\u00e9\u0141"))), (std::vector<uint8_t>{'a', 0xE9, 0x41}));
}

TEST_F(StringOps, ComparisonsCountTheTerminator) {
    struct Case {
        const char* a;
        const char* b;
        jint compare;
    };
    const Case cases[] = {
        {"ab", "abc", -'c'}, {"abc", "ab", 'c'}, {"b", "a", 1}, {"same", "same", 0}, {"", "a", -'a'},
    };
    for (const Case& c : cases) EXPECT_EQ(String::compareTo(S(c.a), S(c.b)), c.compare) << c.a << " " << c.b;
    EXPECT_EQ(String::hashCode(S("a")), 3007);
    EXPECT_EQ(String::hashCode(S("")), 0);
    EXPECT_EQ(String::hashCode(S("ab")), java::imul(31, 31 * 97 + 98));
    StringBuffer* same = StringBuffer::make();
    StringBuffer::append(same, S("text"));
    EXPECT_FALSE(String::equals(S("text"), same));
    EXPECT_TRUE(String::equals(S("text"), S("text")));
    EXPECT_FALSE(String::equals(S("text"), nullptr));
}

TEST_F(StringOps, CStringAndIgnoreCaseTestsArePrefixTests) {
    struct Case {
        std::u16string s;
        const char* c;
        bool equalsC;
        bool ignoreCase;
    };
    const Case cases[] = {
        {u"java_util_Hashtable", "java_util_Hashtable_Entry", true, true},
        {u"", "anything", true, true},
        {u"abc", "ab", false, false},
        {u"HeLLo", "hello", false, true},
        {u"\u00e9", "\xE9", false, true},     // bytes 128-255 never match equalsC
        {u"\u00c9t\u00c9", "\xE9T\xE9", false, true},  // Latin-1 folding both ways
        {u"\u0141", "a", false, true},        // folding sees the low byte only
        {u"\u00d7", "\xF7", false, true},     // 192-222 fold as a block, 215 included
    };
    for (const Case& c : cases) {
        EXPECT_EQ(String::equalsC(U(c.s), c.c), c.equalsC) << c.c;
        EXPECT_EQ(String::equalsIgnoreCaseC(U(c.s), c.c), c.ignoreCase) << c.c;
    }
    EXPECT_TRUE(String::equalsIgnoreCase(S("ABC"), S("abcdef")));
    EXPECT_FALSE(String::equalsIgnoreCase(S("abcdef"), S("ABC")));  // other's end: false
    EXPECT_TRUE(String::equalsIgnoreCase(S(""), S("x")));
    EXPECT_FALSE(String::equalsIgnoreCase(S("x"), nullptr));
}

TEST_F(StringOps, RegionsPrefixesAndSuffixes) {
    String* s = S("Hello World");
    struct Region {
        bool ignoreCase;
        jint toffset;
        const char* other;
        jint ooffset;
        jint len;
        bool expected;
    };
    const Region regions[] = {
        {false, 6, "World", 0, 5, true},  {false, 6, "world", 0, 5, false}, {true, 6, "wORLD", 0, 5, true},
        {false, -1, "World", 0, 1, false}, {false, 6, "World", -1, 1, false}, {false, 8, "World", 0, 5, false},
        {false, 6, "World", 0, 6, true},   // the terminators take part
        {false, 7, "World", 0, 6, false},  {true, 0, "\xC3\x89", 0, 1, false}, {false, 3, "x", 0, 0, true},
    };
    for (const Region& r : regions)
        EXPECT_EQ(String::regionMatches(s, r.ignoreCase, r.toffset, S(r.other), r.ooffset, r.len), r.expected)
            << r.toffset << " " << r.other << " " << r.len;
    EXPECT_TRUE(String::regionMatches(U(u"\u00e9"), 1, 0, U(u"\u00c9"), 0, 1));

    EXPECT_TRUE(String::startsWith(s, S("Hello")));
    EXPECT_TRUE(String::startsWith(s, S("")));
    EXPECT_FALSE(String::startsWith(s, S("Hello World!")));
    EXPECT_FALSE(String::startsWith(s, nullptr));
    EXPECT_TRUE(String::startsWithOffset(s, S("World"), 6));
    EXPECT_FALSE(String::startsWithOffset(s, S("World"), 7));  // would run past the text
    EXPECT_FALSE(String::startsWithOffset(s, S(""), 12));      // offset at the count
    EXPECT_FALSE(String::startsWithOffset(s, S("H"), -1));
    EXPECT_TRUE(String::endsWith(s, S("World")));
    EXPECT_TRUE(String::endsWith(s, S("")));
    EXPECT_FALSE(String::endsWith(S("ld"), S("World")));
}

TEST_F(StringOps, Searching) {
    String* s = S("a,b,,c");
    EXPECT_EQ(String::indexOfChar(s, ',', 0), 1);
    EXPECT_EQ(String::indexOfChar(s, ',', 2), 3);
    EXPECT_EQ(String::indexOfChar(s, ',', -5), 1);
    EXPECT_EQ(String::indexOfChar(s, ',', 6), -1);
    EXPECT_EQ(String::indexOfChar(s, 'z', 0), -1);
    EXPECT_EQ(String::indexOfChar(s, 0x1002C, 0), -1);  // no unit above 0xFFFF
    EXPECT_EQ(String::lastIndexOf(s, ','), 4);
    EXPECT_EQ(String::lastIndexOfChar(s, ',', 3), 3);
    EXPECT_EQ(String::lastIndexOfChar(s, ',', 100), 4);
    EXPECT_EQ(String::lastIndexOfChar(s, ',', -1), -1);
    EXPECT_EQ(String::lastIndexOf(s, 0), 6);  // the scan starts at the terminator
    EXPECT_EQ(String::indexOf(s, S(",,")), 3);
    EXPECT_EQ(String::indexOf(s, S("c")), 5);
    EXPECT_EQ(String::indexOf(s, S("")), 0);
    EXPECT_EQ(String::indexOfFrom(s, S(""), 4), 4);
    EXPECT_EQ(String::indexOfFrom(s, S(",c"), 0), 4);
    EXPECT_EQ(String::indexOfFrom(s, S(",c"), 5), -1);
    EXPECT_EQ(String::indexOf(s, S("a,b,,c,")), -1);
    EXPECT_EQ(String::indexOf(s, nullptr), -1);
}

TEST_F(StringOps, NewStringsFromOldOnes) {
    String* s = S("  Mixed \xC3\xA9 text ");
    EXPECT_EQ(String::substring(s, 2, 7)->toUtf8(), "Mixed");
    EXPECT_EQ(String::substringFrom(s, 10)->toUtf8(), "text ");
    m_log.clear();
    EXPECT_EQ(String::substring(s, 10, 99)->toUtf8(), "text ");  // clamped and logged
    EXPECT_TRUE(m_log.contains("String::substring: range [10, 99)"));
    EXPECT_EQ(String::substring(s, 5, 2)->length(), 0);
    EXPECT_EQ(String::trim(s)->toUtf8(), "Mixed \xC3\xA9 text");
    EXPECT_EQ(String::trim(S("  "))->length(), 0);
    EXPECT_EQ(String::trim(U(u"\t\n x\u0001"))->toUtf8(), "x");
    EXPECT_EQ(String::concat(S("ab"), S("cd"))->toUtf8(), "abcd");
    EXPECT_EQ(String::concat(s, S("")), s);
    String* long1 = S("a text of more than fourteen units");
    EXPECT_EQ(String::concat(long1, long1)->length(), 2 * long1->length());
    EXPECT_EQ(String::replace(s, 'q', 'r'), s);
    EXPECT_EQ(String::replace(s, 'x', 'x'), s);
    EXPECT_EQ(String::replace(S("a-b-c"), '-', '+')->toUtf8(), "a+b+c");
    // Case conversion reduces every unit to its low byte first.
    EXPECT_EQ(String::toUpperCase(U(u"ab\u00e9\u00ff\u0161z"))->toUtf16(), u"AB\u00c9\u00ffAZ");
    EXPECT_EQ(String::toLowerCase(U(u"AB\u00c9\u00de\u00d7\u0141"))->toUtf16(), u"ab\u00e9\u00fe\u00f7a");
}

TEST_F(StringOps, ValueOfFormats) {
    EXPECT_EQ(String::valueOfInt(-5)->toUtf8(), "-5");
    EXPECT_EQ(String::valueOfInt(java::kIntMin)->toUtf8(), "-2147483648");
    EXPECT_EQ(String::valueOfLong((jlong(1) << 32) + 5)->toUtf8(), "5");
    EXPECT_EQ(String::valueOfLong(jlong(0xFFFFFFFF))->toUtf8(), "-1");
    EXPECT_EQ(String::valueOfFloat(1.5f)->toUtf8(), "1.500000");
    EXPECT_EQ(String::valueOfDouble(-0.25)->toUtf8(), "-0.250000");
    EXPECT_EQ(String::valueOfDouble(1e20)->toUtf8(), "100000000000000000000.000000");
    EXPECT_EQ(String::valueOfBoolean(2)->toUtf8(), "true");
    EXPECT_EQ(String::valueOfBoolean(0)->toUtf8(), "false");
    EXPECT_EQ(String::valueOfChar(0)->length(), 0);
    EXPECT_EQ(String::valueOfChar(0xE9)->toUtf16(), u"\u00e9");
    EXPECT_EQ(String::valueOfObject(nullptr)->toUtf8(), "null");
    String* s = S("self");
    EXPECT_EQ(String::valueOfObject(s), s);
}

TEST_F(StringOps, ConversionsToArraysAndCText) {
    String* s = U(u"h\u00e9\u0141");
    CharArray* chars = String::toCharArray(s);
    ASSERT_EQ(chars->length(), 3);
    EXPECT_EQ(chars->data()[2], 0x141);
    const char* c = String::toCString(s);
    EXPECT_STREQ(c, "h\xE9\x41");
    CharArray* dst = newCharArray(4);
    String::getChars(s, 1, 3, dst, 2);
    EXPECT_EQ(dst->data()[2], 0xE9);
    EXPECT_EQ(dst->data()[3], 0x141);
    m_log.clear();
    String::getChars(s, 0, 3, dst, 2);  // past the array: logged, nothing written
    String::getChars(s, 2, 1, dst, 0);
    String::getChars(s, 0, 4, dst, 0);
    EXPECT_EQ(dst->data()[0], 0);
    EXPECT_EQ(m_log.lines().size() > 0, true);
}

TEST_F(StringOps, NullReceiversAreLoggedNotFollowed) {
    m_log.clear();
    EXPECT_EQ(String::indexOf(nullptr, S("x")), -1);
    EXPECT_EQ(String::substring(nullptr, 0, 1), nullptr);
    EXPECT_FALSE(String::startsWith(nullptr, S("x")));
    EXPECT_EQ(String::hashCode(nullptr), 0);
    EXPECT_TRUE(m_log.contains("NullPointer"));
}

// Characters of many Strings made by the operations survive collections
// and data-heap compaction.
class StringOpsSmallHeap : public StringOps {
protected:
    void SetUp() override { startApp(1 << 20, 48 * 1024); }
};

TEST_F(StringOpsSmallHeap, OperationsUnderCompactionKeepTheirText) {
    ObjectArray* keep = newObjectArray(cid::String, 64);
    rt::GlobalRef root(keep);
    std::vector<std::u16string> model(64);
    std::pair<String*, const jchar*> seen[64] = {};
    int moved = 0;  // Strings whose characters compaction moved
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
    for (int round = 0; round < 3000; ++round) {
        const int slot = static_cast<int>(next() % 64);
        const int other = static_cast<int>(next() % 64);
        String* a = static_cast<String*>(keep->data()[slot]);
        String* b = static_cast<String*>(keep->data()[other]);
        String* made;
        std::u16string expected;
        switch (a && b ? next() % 4 : 4) {
        case 0:
            made = String::concat(a, b);
            expected = model[slot] + model[other];
            if (model[other].empty()) {
                ASSERT_EQ(made, a);
            }
            break;
        case 1: {
            const jint n = a->length();
            const jint from = n ? static_cast<jint>(next() % n) : 0;
            made = String::substring(a, from, n);
            expected = model[slot].substr(static_cast<size_t>(from));
            break;
        }
        case 2:
            made = String::toUpperCase(a);
            expected = model[slot];
            for (char16_t& u : expected) u = (u >= 'a' && u <= 'z') ? u - 32 : u;
            break;
        case 3:
            made = String::replace(a, 'e', 'E');
            expected = model[slot];
            for (char16_t& u : expected) u = u == 'e' ? u'E' : u;
            break;
        default: {
            std::u16string text(next() % 90, u'e');
            for (char16_t& u : text) u = static_cast<char16_t>('a' + next() % 26);
            made = String::fromUtf16(text);
            expected = text;
        }
        }
        if (expected.size() > 2000) continue;  // keep the texts small enough for the heap
        keep->data()[slot] = made;
        model[slot] = expected;
        seen[slot] = {made, made->chars()};
        for (int k = 0; k < 64; ++k) {
            auto* s = static_cast<String*>(keep->data()[k]);
            if (s && seen[k].first == s && seen[k].second != s->chars()) {
                ++moved;
                seen[k].second = s->chars();
            }
            if (s) {
                ASSERT_EQ(s->toUtf16(), model[k]) << "round " << round << " slot " << k;
            }
        }
    }
    EXPECT_GT(moved, 0);
    EXPECT_TRUE(m_app->dataHeap().checkConsistency());
}

}  // namespace
