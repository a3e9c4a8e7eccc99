// The java.io streams: big-endian decoding and encoding byte for byte,
// modified UTF-8 both ways, byte-array streams, range checks on every bulk
// operation, readFully on streams that end early, PrintStream and console.
#include <random>

#include "javalib/inputstreams.h"
#include "javalib/outputstreams.h"
#include "tests/javalib/io_fixture.h"

namespace {

java_io_DataInputStream* dataIn(const ByteVec& bytes) {
    return newObject<java_io_DataInputStream>(newObject<java_io_ByteArrayInputStream>(byteArrayOf(bytes)));
}

// A stream that hands out its bytes and then answers 0 for ever (never -1).
class StallingStream : public java_io_InputStream {
public:
    explicit StallingStream(jint bytes) : m_left(bytes) {}
    jint read(ByteArray* b, jint off, jint len) override {
        if (m_left == 0 || len == 0) return 0;
        b->data()[off] = 7;
        --m_left;
        return 1;
    }
    using java_io_InputStream::read;
    jint m_left;
};

// A sink that raises an exception of classId once it holds `limit` bytes.
class FailingSink : public java_io_OutputStream {
public:
    FailingSink(jint limit, uint16_t classId) : m_limit(limit), m_exception(classId) {}
    void write(jint b) override {
        if (m_count >= m_limit) {
            rt::throwNewDefault(m_exception);
            return;
        }
        m_bytes[m_count++] = static_cast<uint8_t>(b);
    }
    using java_io_OutputStream::write;
    ByteVec written() const { return ByteVec(m_bytes, m_bytes + m_count); }
    jint m_limit;  // at most sizeof m_bytes
    uint16_t m_exception;
    jint m_count = 0;
    uint8_t m_bytes[64] = {};  // plain storage: Java objects run no C++ destructor
};

}  // namespace

// ---------------------------------------------------------------------------
// DataInputStream decoders

TEST_F(StreamTest, DecodersReadBigEndianValues) {
    struct Case {
        const char* what;
        ByteVec bytes;
        std::function<jlong(java_io_DataInputStream*)> read;
        jlong expected;
    };
    const Case cases[] = {
        {"readInt", {0x80, 0x00, 0x00, 0x01}, [](auto* s) { return jlong(s->readInt()); }, -2147483647},
        {"readInt -1", {0xFF, 0xFF, 0xFF, 0xFF}, [](auto* s) { return jlong(s->readInt()); }, -1},
        {"readShort", {0xFF, 0xFE}, [](auto* s) { return jlong(s->readShort()); }, -2},
        {"readUnsignedShort", {0xFF, 0xFE}, [](auto* s) { return jlong(s->readUnsignedShort()); }, 65534},
        {"readChar", {0xFF, 0xFE}, [](auto* s) { return jlong(s->readChar()); }, 0xFFFE},
        {"readByte", {0x80}, [](auto* s) { return jlong(s->readByte()); }, -128},
        {"readUnsignedByte", {0x80}, [](auto* s) { return jlong(s->readUnsignedByte()); }, 128},
        {"readBoolean 2", {0x02}, [](auto* s) { return jlong(s->readBoolean()); }, 1},
        {"readBoolean 0", {0x00}, [](auto* s) { return jlong(s->readBoolean()); }, 0},
        {"readLong", {0x80, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE},
         [](auto* s) { return s->readLong(); }, static_cast<jlong>(0x80000000FFFFFFFEull)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* s = dataIn(c.bytes);
        EXPECT_EQ(c.read(s), c.expected);
        EXPECT_EQ(takeException(), 0);
        EXPECT_EQ(s->read(), -1) << "every byte consumed";
    }
}

TEST_F(StreamTest, DecodersRaiseEofOnShortInput) {
    struct Case {
        const char* what;
        ByteVec bytes;
        std::function<jlong(java_io_DataInputStream*)> read;
    };
    const Case cases[] = {
        {"readInt of 3 bytes", {1, 2, 3}, [](auto* s) { return jlong(s->readInt()); }},
        {"readShort of 1 byte", {1}, [](auto* s) { return jlong(s->readShort()); }},
        {"readByte of nothing", {}, [](auto* s) { return jlong(s->readByte()); }},
        {"readBoolean of nothing", {}, [](auto* s) { return jlong(s->readBoolean()); }},
        {"readLong of 6 bytes", {1, 2, 3, 4, 5, 6}, [](auto* s) { return s->readLong(); }},
        {"readUTF shorter than its count", {0, 5, 'a', 'b'}, [](auto* s) { return jlong(s->readUTF() != nullptr); }},
        {"readUTF without a count", {0}, [](auto* s) { return jlong(s->readUTF() != nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.read(dataIn(c.bytes)), 0);
        EXPECT_EQ(takeException(), cid::java_io_EOFException);
    }
}

TEST_F(StreamTest, ReadUtfDecodesModifiedUtf8AndRejectsMalformedBytes) {
    struct Case {
        ByteVec bytes;
        std::u16string text;  // expected text, unless malformed
        bool malformed;
    };
    const Case cases[] = {
        {{0x00, 0x03, 0x61, 0xC3, 0xA9}, u"a\u00E9", false},
        {{0x00, 0x00}, u"", false},
        {{0x00, 0x02, 0xC0, 0x80}, std::u16string(1, u'\0'), false},
        {{0x00, 0x03, 0xE2, 0x82, 0xAC}, u"\u20AC", false},
        {{0x00, 0x02, 0xC3, 0x41}, u"", true},        // bad continuation byte
        {{0x00, 0x01, 0xE2}, u"", true},              // 3-byte form past the end
        {{0x00, 0x02, 0xE2, 0x82}, u"", true},
        {{0x00, 0x01, 0x80}, u"", true},              // continuation byte in lead position
        {{0x00, 0x01, 0xF0}, u"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        auto* s = dataIn(c.bytes);
        String* text = s->readUTF();
        if (c.malformed) {
            EXPECT_EQ(text, nullptr);
            EXPECT_EQ(takeException(), cid::java_io_UTFDataFormatException);
        } else {
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->toUtf16(), c.text);
            EXPECT_EQ(takeException(), 0);
        }
    }
}

TEST_F(StreamTest, WriteThenReadRoundTripsRandomValues) {
    std::mt19937 rng(1234);
    auto* sink = newObject<java_io_ByteArrayOutputStream>();
    auto* out = newObject<java_io_DataOutputStream>(sink);
    struct Value {
        int kind;
        jlong number;
        std::u16string text;
    };
    std::vector<Value> values;
    for (int i = 0; i < 400; ++i) {
        Value v{static_cast<int>(rng() % 7), static_cast<jlong>((uint64_t(rng()) << 32) | rng()), {}};
        switch (v.kind) {
        case 0: out->writeInt(static_cast<jint>(v.number)); break;
        case 1: out->writeShort(static_cast<jint>(v.number)); break;
        case 2: out->writeByte(static_cast<jint>(v.number)); break;
        case 3: out->writeLong(v.number); break;
        case 4: out->writeBoolean(v.number & 1); break;
        case 5: out->writeChar(static_cast<jint>(v.number)); break;
        default: {
            const int n = static_cast<int>(rng() % 20);
            for (int k = 0; k < n; ++k) {
                // Every unit is fair: 0, ASCII, two- and three-byte forms, lone surrogates.
                const uint32_t pick = rng() % 4;
                v.text.push_back(static_cast<char16_t>(pick == 0 ? rng() % 0x80 : pick == 1 ? 0x80 + rng() % 0x780 : rng() % 0x10000));
            }
            out->writeUTF(String::fromUtf16(v.text));
        }
        }
        ASSERT_EQ(takeException(), 0);
        values.push_back(v);
    }
    auto* in = newObject<java_io_DataInputStream>(newObject<java_io_ByteArrayInputStream>(sink->toByteArray()));
    for (const Value& v : values) {
        switch (v.kind) {
        case 0: EXPECT_EQ(in->readInt(), static_cast<jint>(v.number)); break;
        case 1: EXPECT_EQ(in->readShort(), java::i2s(static_cast<jint>(v.number))); break;
        case 2: EXPECT_EQ(in->readByte(), java::i2b(static_cast<jint>(v.number))); break;
        case 3: EXPECT_EQ(in->readLong(), v.number); break;
        case 4: EXPECT_EQ(in->readBoolean(), v.number & 1); break;
        case 5: EXPECT_EQ(in->readChar(), java::i2c(static_cast<jint>(v.number))); break;
        default: {
            String* s = in->readUTF();
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->toUtf16(), v.text);
        }
        }
        ASSERT_EQ(takeException(), 0);
    }
    EXPECT_EQ(in->available(), 0);
}

// ---------------------------------------------------------------------------
// readFully and skipBytes

TEST_F(StreamTest, ReadFullyEndsWithEofWhenTheStreamEndsEarly) {
    // A byte-array stream answers -1 at its end.
    auto* s = dataIn({1, 2, 3});
    ByteArray* b = newByteArray(5);
    s->readFully(b);
    EXPECT_EQ(takeException(), cid::java_io_EOFException);
    EXPECT_EQ(bytesOf(b, 3), (ByteVec{1, 2, 3}));

    // A stream that stops delivering (answers 0 for ever) ends it too.
    auto* stalled = newObject<java_io_DataInputStream>(newObject<StallingStream>(2));
    stalled->readFully(newByteArray(4), 0, 4);
    EXPECT_EQ(takeException(), cid::java_io_EOFException);

    // Exactly enough: no exception; len 0 reads nothing.
    auto* exact = dataIn({9, 8});
    ByteArray* two = newByteArray(4);
    exact->readFully(two, 1, 2);
    exact->readFully(two, 4, 0);
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(bytesOf(two), (ByteVec{0, 9, 8, 0}));
}

TEST_F(StreamTest, SkipBytesStopsAtTheEnd) {
    auto* s = dataIn({1, 2, 3, 4});
    EXPECT_EQ(s->skipBytes(3), 3);
    EXPECT_EQ(s->skipBytes(10), 1);
    EXPECT_EQ(s->skipBytes(5), 0);
    EXPECT_EQ(takeException(), 0);
}

// ---------------------------------------------------------------------------
// Range checks on every bulk operation

TEST_F(StreamTest, BulkOperationsRefuseRangesOutsideTheArray) {
    struct Range {
        jint off, len;
    };
    const Range bad[] = {{-1, 2}, {0, -1}, {3, 2}, {5, 1}, {1, java::kIntMax}, {java::kIntMax, 1}};
    for (const Range& r : bad) {
        SCOPED_TRACE(testing::Message() << "off " << r.off << " len " << r.len);
        ByteArray* dst = byteArrayOf({0xAA, 0xAA, 0xAA, 0xAA});
        const ByteVec before = bytesOf(dst);

        auto* bais = newObject<java_io_ByteArrayInputStream>(byteArrayOf({1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(bais->read(dst, r.off, r.len), 0);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
        EXPECT_EQ(bais->available(), 6) << "nothing consumed";
        EXPECT_FALSE(Application::instance()->monitors().ownedByCaller(bais)) << "monitor released";

        auto* base = newObject<java_io_InputStream>();
        base->read(dst, r.off, r.len);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);

        dataIn({1, 2, 3, 4, 5, 6})->readFully(dst, r.off, r.len);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
        EXPECT_EQ(bytesOf(dst), before);

        auto* baos = newObject<java_io_ByteArrayOutputStream>();
        baos->write(dst, r.off, r.len);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
        EXPECT_EQ(baos->size(), 0);

        auto* sink = newObject<FailingSink>(64, cid::java_io_IOException);
        sink->write(dst, r.off, r.len);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
        EXPECT_EQ(sink->m_count, 0);

        newObject<java_io_DataOutputStream>(baos)->write(dst, r.off, r.len);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
        newObject<java_io_ConsoleOutputStream>()->write(dst, r.off, r.len);
        EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
    }
    // A null array is a NullPointerException, not a crash.
    newObject<java_io_ByteArrayInputStream>(byteArrayOf({1}))->read(nullptr, 0, 1);
    EXPECT_EQ(takeException(), cid::java_lang_NullPointerException);
    newObject<java_io_ByteArrayOutputStream>()->write(nullptr, 0, 1);
    EXPECT_EQ(takeException(), cid::java_lang_NullPointerException);
}

// ---------------------------------------------------------------------------
// ByteArrayInputStream

TEST_F(StreamTest, ByteArrayInputStreamBoundsAndPositions) {
    ByteArray* ten = byteArrayOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    auto* s = newObject<java_io_ByteArrayInputStream>(ten, 2, 100);
    EXPECT_EQ(s->m_count, 10);
    EXPECT_EQ(s->skip(100), 8);
    EXPECT_EQ(s->read(), -1);

    auto* t = newObject<java_io_ByteArrayInputStream>(ten);
    ByteArray* b = newByteArray(4);
    EXPECT_EQ(t->read(b, 1, 0), 0) << "len 0 with data left";
    EXPECT_EQ(t->skip(-5), 0);
    EXPECT_EQ(t->read(), 0);
    t->mark(0);
    EXPECT_EQ(t->read(b, 0, 4), 4);
    EXPECT_EQ(bytesOf(b), (ByteVec{1, 2, 3, 4}));
    t->reset();
    EXPECT_EQ(t->read(), 1);
    EXPECT_EQ(t->skip(20), 8);
    EXPECT_EQ(t->read(b, 0, 0), -1) << "at the end even len 0 answers -1";
    EXPECT_EQ(t->read(b), -1);
    EXPECT_EQ(t->available(), 0);
    t->close();
    t->reset();
    EXPECT_EQ(t->read(), 1) << "close leaves it readable";
    EXPECT_EQ(newObject<java_io_InputStream>()->skip(-5), -5) << "base class answers n";

    // Arguments outside the array are clamped into it.
    auto* clamped = newObject<java_io_ByteArrayInputStream>(ten, -3, 4);
    EXPECT_EQ(clamped->available(), 1);
    EXPECT_EQ(clamped->read(), 0);
    EXPECT_EQ(newObject<java_io_ByteArrayInputStream>(ten, 20, 5)->read(), -1);
    EXPECT_EQ(newObject<java_io_ByteArrayInputStream>(ten, 4, -2)->available(), 0);
    EXPECT_EQ(newObject<java_io_ByteArrayInputStream>(ten, 4, java::kIntMax)->available(), 6);

    // The caller's array is read in place.
    auto* live = newObject<java_io_ByteArrayInputStream>(ten);
    ten->data()[0] = 42;
    EXPECT_EQ(live->read(), 42);
    EXPECT_EQ(takeException(), 0);
}

// ---------------------------------------------------------------------------
// Output encoders and ByteArrayOutputStream

TEST_F(StreamTest, DataOutputStreamWritesBigEndianAndModifiedUtf8) {
    auto* sink = newObject<java_io_ByteArrayOutputStream>();
    auto* out = newObject<java_io_DataOutputStream>(sink);
    out->writeInt(-2);
    out->writeShort(74565);
    out->writeUTF(String::empty());
    out->writeUTF(String::fromUtf16(std::u16string(u"A") + char16_t(0) + u"\u20AC"));
    out->writeLong(0x0102030405060708ll);
    out->writeBoolean(1);
    out->writeChars(String::fromUtf8("hi"));
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(bytesOf(sink->toByteArray()),
              (ByteVec{0xFF, 0xFF, 0xFF, 0xFE, 0x23, 0x45, 0x00, 0x00, 0x00, 0x06, 0x41, 0xC0, 0x80, 0xE2, 0x82, 0xAC,
                       1, 2, 3, 4, 5, 6, 7, 8, 1, 0, 'h', 0, 'i'}));

    // Too long for its 16-bit count: refused whole.
    sink->reset();
    out->writeUTF(String::fromUtf16(std::u16string(40000, u'\u00E9')));
    EXPECT_EQ(takeException(), cid::java_io_UTFDataFormatException);
    EXPECT_EQ(sink->size(), 0);
    out->writeUTF(String::fromUtf16(std::u16string(65535, u'x')));
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(sink->size(), 65537);
}

TEST_F(StreamTest, EncodersStopAtTheFirstException) {
    auto* sink = newObject<FailingSink>(2, cid::java_io_IOException);
    auto* out = newObject<java_io_DataOutputStream>(sink);
    out->writeInt(0x11223344);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
    EXPECT_EQ(sink->written(), (ByteVec{0x11, 0x22}));
}

TEST_F(StreamTest, ByteArrayOutputStreamGrowthAndSnapshots) {
    auto* a = newObject<java_io_ByteArrayOutputStream>();
    for (int i = 0; i < 33; ++i) a->write(i);
    EXPECT_EQ(a->m_buf->length(), 64);
    EXPECT_EQ(a->size(), 33);

    auto* b = newObject<java_io_ByteArrayOutputStream>();
    b->write(newByteArray(100), 0, 100);
    EXPECT_EQ(b->m_buf->length(), 100);

    auto* full = newObject<java_io_ByteArrayOutputStream>();
    full->write(newByteArray(32), 0, 32);
    full->close();
    EXPECT_EQ(full->toByteArray(), full->m_buf) << "closed and exactly full: the buffer itself";
    full->write(1);
    EXPECT_EQ(full->size(), 33) << "writing after close still works";

    auto* partial = newObject<java_io_ByteArrayOutputStream>();
    partial->write(byteArrayOf(ByteVec(31, 5)), 0, 31);
    partial->close();
    ByteArray* copy = partial->toByteArray();
    EXPECT_NE(copy, partial->m_buf);
    EXPECT_EQ(copy->length(), 31);

    auto* text = newObject<java_io_ByteArrayOutputStream>(4);
    text->write(byteArrayOf({'a', 0xE9}));
    EXPECT_EQ(text->toString()->toUtf16(), u"a\u00E9");
    text->reset();
    EXPECT_EQ(text->toString()->length(), 0);

    newObject<java_io_ByteArrayOutputStream>(-1);
    EXPECT_EQ(takeException(), cid::java_lang_IllegalArgumentException);
    EXPECT_EQ(takeException(), 0);
}

// ---------------------------------------------------------------------------
// PrintStream and the console

TEST_F(StreamTest, PrintStreamWritesTextBytes) {
    auto* sink = newObject<java_io_ByteArrayOutputStream>();
    auto* p = newObject<java_io_PrintStream>(sink);
    p->print(String::fromUtf16(u"x\u0141"));  // low byte of each character
    p->print(jboolean(1));
    p->print(jboolean(0));
    p->print(jint(-12));
    p->print(jlong(1) << 40);
    p->print(jchar('c'));
    CharArray* chars = newCharArray(2);
    chars->data()[0] = 'o';
    chars->data()[1] = 'k';
    p->print(chars);
    p->println(static_cast<String*>(nullptr));
    p->println(static_cast<Object*>(String::fromUtf8("obj")));
    p->println(jint(7));
    p->println();
    EXPECT_EQ(takeException(), 0);
    EXPECT_EQ(sink->toString()->toUtf8(), std::string("xAtruefalse-121099511627776cok") + "null\nobj\n7\n\n");
    EXPECT_EQ(p->checkError(), 0);
}

TEST_F(StreamTest, PrintStreamDropsIoExceptionsOnly) {
    auto* failing = newObject<FailingSink>(0, cid::java_io_IOException);
    auto* p = newObject<java_io_PrintStream>(failing);
    p->println(String::fromUtf8("lost"));
    p->write(1);
    p->print(newCharArray(3));
    EXPECT_EQ(takeException(), 0) << "IOException swallowed";

    auto* eof = newObject<java_io_PrintStream>(newObject<FailingSink>(0, cid::java_io_EOFException));
    eof->print(jint(5));
    EXPECT_EQ(takeException(), 0) << "subclasses of IOException too";

    auto* other = newObject<java_io_PrintStream>(newObject<FailingSink>(0, cid::java_lang_IllegalStateException));
    other->println(String::fromUtf8("x"));
    EXPECT_EQ(takeException(), cid::java_lang_IllegalStateException);
}

TEST_F(StreamTest, ConsoleDiscardsEverything) {
    auto* out = newObject<java_io_PrintStream>(newObject<java_io_ConsoleOutputStream>());
    m_log.clear();
    out->println(String::fromUtf8("debug line"));
    out->print(jboolean(1));
    out->write(newByteArray(2000));
    out->flush();
    out->close();
    EXPECT_EQ(takeException(), 0);
    EXPECT_FALSE(m_log.contains("debug line"));
}
