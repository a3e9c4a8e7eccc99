// The archive index and the entry streams: name matching, bounded reads,
// skips and EOF, independent streams, and an index checked as it is read
// (damaged archives leave entries out instead of reading outside the file).
#include <algorithm>

#include "io/archive_index.h"
#include "io/resource.h"
#include "runtime/resource.h"
#include "runtime/stringpool.h"
#include "tools/kit/damage.h"
#include "tests/io/io_fixture.h"

using namespace iotest;

namespace {

javax_microedition_io_ResourceInputStream* open(const char* name) {
    return javax_microedition_io_ResourceInputStream::openFromArchive(str(name));
}

Bytes readAll(java_io_InputStream* in) {
    Bytes out;
    if (!in) return out;
    for (jint c = in->read(); c >= 0; c = in->read()) out.push_back(static_cast<uint8_t>(c));
    return out;
}

// An archive laid out by hand: count, then (name, offset, length) entries,
// then data.
struct RawEntry {
    std::string name;
    int32_t offset;
    int32_t length;
};
Bytes rawArchive(int16_t count, const std::vector<RawEntry>& entries, const Bytes& tail) {
    kit::ByteWriter w;
    w.writeShort(count);
    for (const RawEntry& e : entries) {
        w.writeUTF8(e.name);
        w.writeInt(e.offset);
        w.writeInt(e.length);
    }
    w.raw(tail);
    return w.take();
}

}  // namespace

class ResourceTest : public IoTest {};

TEST_F(ResourceTest, NamesMatchWholeWithoutCaseAndOneLeadingSlash) {
    kit::ArchiveWriter archive;
    archive.add("title.png", {1});
    archive.add("sfx/Jump.WAV", {2});
    archive.add("title.pn", {3});
    archive.add("\xC3\xA9t\xC3\xA9.txt", {4});  // "été.txt"
    archive.addUnchecked(u"TITLE.PNG", {5});    // later duplicate: never chosen
    writeArchive(archive);
    struct Case {
        const char* request;
        int expected;  // first data byte, 0 = not found
    };
    const Case cases[] = {
        {"/title.png", 1}, {"title.png", 1}, {"Title.PNG", 1}, {"//title.png", 0}, {"title.pngx", 0},
        {"itle.png", 0},   {"title.p", 0},   {"title.pn", 3},  {"/SFX/jump.wav", 2}, {"sfx\\jump.wav", 0},
        {"\xC3\x89T\xC3\x89.TXT", 4},  // Latin-1 capitals fold too
        {"", 0},           {"/", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        auto* in = open(c.request);
        if (c.expected == 0) {
            EXPECT_EQ(in, nullptr);
        } else {
            ASSERT_NE(in, nullptr);
            EXPECT_EQ(in->read(), c.expected);
        }
    }
    EXPECT_EQ(takeException(), 0);
}

// With a resource language set, a name is served from "<language>/<name>"
// when the archive holds it, from the plain name otherwise.
TEST_F(ResourceTest, ResourceLanguagePrefersTheLocalizedEntry) {
    kit::ArchiveWriter archive;
    archive.add("pack5", {1});
    archive.add("de/pack5", {2});
    archive.add("title.png", {3});
    writeArchive(archive);
    struct Case {
        const char* language;
        const char* request;
        int expected;
    };
    const Case cases[] = {
        {"", "pack5", 1},   {"de", "pack5", 2},      {"de", "/pack5", 2}, {"fr", "pack5", 1},
        {"de", "title.png", 3}, {"", "de/pack5", 2}, {"de", "missing", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.request);
        bramble::io::setResourceLanguage(c.language);
        java_io_InputStream* in = bramble::io::getResourceAsStream(str(c.request));
        if (c.expected == 0) {
            EXPECT_EQ(in, nullptr);
        } else {
            ASSERT_NE(in, nullptr);
            EXPECT_EQ(in->read(), c.expected);
        }
    }
    bramble::io::setResourceLanguage("");
    EXPECT_EQ(takeException(), 0);
}

TEST_F(ResourceTest, EmptyOrMissingArchiveFindsNothing) {
    EXPECT_EQ(open("title.png"), nullptr) << "no archive at all";
    EXPECT_TRUE(m_log.contains("cannot open the archive"));
    writeArchive(kit::ArchiveWriter());
    EXPECT_EQ(open("title.png"), nullptr) << "a failed load is not retried";
    restartApp();
    EXPECT_EQ(open("title.png"), nullptr) << "count 0";
    EXPECT_EQ(takeException(), 0);
}

TEST_F(ResourceTest, EntryStreamIsBoundedToItsEntry) {
    kit::ArchiveWriter archive;
    archive.add("before", {0xEE, 0xEE});
    archive.add("ten", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    archive.add("after", {0xAA, 0xAA, 0xAA});
    writeArchive(archive);

    auto* a = open("ten");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->available(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(a->read(), i);
    EXPECT_EQ(a->read(), -1);

    auto* b = open("ten");
    ByteArray* buffer = newByteArray(100);
    EXPECT_EQ(b->read(buffer, 0, 100), 10);
    EXPECT_EQ(bytesOf(buffer, 10), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(buffer->data()[10], 0) << "nothing of the next entry";
    EXPECT_EQ(b->read(buffer, 0, 100), 0);
    EXPECT_EQ(takeException(), cid::java_io_EOFException);

    auto* c = open("ten");
    EXPECT_EQ(c->skip(25), 10);
    EXPECT_EQ(c->available(), 0);
    EXPECT_EQ(c->skip(1), 0);

    auto* d = open("ten");
    EXPECT_EQ(d->skip(-3), 0) << "negative skips move nothing";
    EXPECT_EQ(d->skip(3), 3);
    EXPECT_EQ(d->read(), 3);
    d->read(buffer, 95, 10);
    EXPECT_EQ(takeException(), cid::java_lang_IndexOutOfBoundsException);
    EXPECT_EQ(d->available(), 6);

    // readFully through a data stream ends with EOFException past the entry.
    auto* data = newObject<java_io_DataInputStream>(open("ten"));
    data->readFully(newByteArray(11));
    EXPECT_EQ(takeException(), cid::java_io_EOFException);
    d->close();
}

TEST_F(ResourceTest, TwoStreamsOnOneEntryReadIndependently) {
    kit::ArchiveWriter archive;
    archive.add("x", {});
    archive.add("data", pattern(50000));
    writeArchive(archive);
    auto* s = open("data");
    auto* t = open("data");
    ByteArray* first = newByteArray(30000);
    EXPECT_EQ(s->read(first, 0, 30000), 30000);
    EXPECT_EQ(t->read(), pattern(50000)[0]);
    EXPECT_EQ(s->read(), pattern(50000)[30000]);
    s->close();
    EXPECT_EQ(t->available(), 49999);
    const Bytes data = pattern(50000);
    EXPECT_EQ(readAll(t), Bytes(data.begin() + 1, data.end()));
}

TEST_F(ResourceTest, MarkAndResetKeepTheEntryCount) {
    kit::ArchiveWriter archive;
    archive.add("m", {10, 11, 12, 13, 14});
    archive.add("n", {20});
    writeArchive(archive);
    auto* s = open("m");
    EXPECT_EQ(s->markSupported(), 1);
    s->read();
    s->mark(100);
    EXPECT_EQ(readAll(s), (Bytes{11, 12, 13, 14}));
    s->reset();
    EXPECT_EQ(s->available(), 4);
    EXPECT_EQ(readAll(s), (Bytes{11, 12, 13, 14})) << "and never into the next entry";
}

TEST_F(ResourceTest, DamagedIndexLeavesEntriesOut) {
    const Bytes tail = {1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        const char* what;
        Bytes archive;
        std::vector<std::pair<const char*, Bytes>> found;  // name -> content (empty: absent)
        const char* logged;
    };
    // Index of two entries: 2 + 2 * (2 + 1 + 8) = 24 bytes, data from 24.
    const Case cases[] = {
        {"sound", rawArchive(2, {{"a", 24, 3}, {"b", 27, 5}}, tail), {{"a", {1, 2, 3}}, {"b", {4, 5, 6, 7, 8}}}, nullptr},
        {"negative count", rawArchive(-2, {{"a", 24, 3}, {"b", 27, 5}}, tail), {{"a", {}}, {"b", {}}}, "negative entry count"},
        {"count beyond the file", rawArchive(30000, {{"a", 24, 3}, {"b", 27, 5}}, tail), {{"a", {1, 2, 3}}, {"b", {4, 5, 6, 7, 8}}},
         "cannot fit"},
        {"entry past the end", rawArchive(2, {{"a", 24, 3}, {"b", 27, 6}}, tail), {{"a", {1, 2, 3}}, {"b", {}}}, "lies outside"},
        {"negative offset", rawArchive(2, {{"a", -1, 3}, {"b", 27, 5}}, tail), {{"a", {}}, {"b", {4, 5, 6, 7, 8}}}, "lies outside"},
        {"negative length", rawArchive(2, {{"a", 24, -3}, {"b", 27, 5}}, tail), {{"a", {}}, {"b", {4, 5, 6, 7, 8}}}, "lies outside"},
        {"offset and length overflow", rawArchive(2, {{"a", 24, 3}, {"b", 0x7FFFFFF0, 0x7FFFFFF0}}, tail),
         {{"a", {1, 2, 3}}, {"b", {}}}, "lies outside"},
        {"index cut inside a name", Bytes{0, 2, 0, 1, 'a', 0, 0, 0, 13, 0, 0, 0, 1, 0, 9, 'b', 'c', 'd', 'e', 'f', 'g', 'h'},
         {{"a", {0}}, {"b", {}}}, "ends inside entry 1"},
        {"no count", Bytes{0}, {{"a", {}}}, "no entry count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restartApp();
        m_log.clear();
        writeArchiveBytes(c.archive);
        for (const auto& [name, content] : c.found) {
            SCOPED_TRACE(name);
            auto* s = open(name);
            if (content.empty()) {
                EXPECT_EQ(s, nullptr);
            } else {
                ASSERT_NE(s, nullptr);
                EXPECT_EQ(readAll(s), content);
            }
        }
        if (c.logged) {
            EXPECT_TRUE(m_log.contains(c.logged)) << c.logged;
        }
        EXPECT_EQ(takeException(), 0);
    }
}

// The resource opener reads the archive at every call, and the Java index is
// read once per run besides: a damaged index is still reported once, until
// the archive changes.
TEST_F(ResourceTest, DamagedIndexIsReportedOnceUntilTheArchiveChanges) {
    const Bytes tail = {1, 2, 3, 4, 5, 6, 7, 8};
    auto reports = [&] {
        const std::vector<std::string> lines = m_log.lines();
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.find("lies outside") != std::string::npos; });
    };
    restartApp();
    m_log.clear();
    writeArchiveBytes(rawArchive(2, {{"a", 24, 3}, {"b", 27, 6}}, tail));
    bramble::io::installResourceReader();
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(rt::readResource("/a", bytes));
    EXPECT_FALSE(rt::readResource("/b", bytes));
    EXPECT_TRUE(rt::readResource("/A", bytes));
    ASSERT_NE(open("a"), nullptr);
    EXPECT_EQ(open("b"), nullptr);
    EXPECT_EQ(reports(), 1);

    // Another archive of the same length: read and reported again, once.
    writeArchiveBytes(rawArchive(2, {{"a", 24, 3}, {"b", 26, 7}}, tail));
    EXPECT_FALSE(rt::readResource("/b", bytes));
    EXPECT_TRUE(rt::readResource("/a", bytes));
    EXPECT_EQ(bytes, (Bytes{1, 2, 3}));
    EXPECT_EQ(reports(), 2);

    // A sound archive after it is read, not taken for the damaged one.
    writeArchiveBytes(rawArchive(2, {{"a", 24, 3}, {"b", 27, 5}}, tail));
    EXPECT_TRUE(rt::readResource("/b", bytes));
    EXPECT_EQ(bytes, (Bytes{4, 5, 6, 7, 8}));
    EXPECT_EQ(reports(), 2);
    rt::setResourceReader(nullptr);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(ResourceTest, EveryDamagedVariantStaysInsideTheFile) {
    kit::ArchiveWriter archive;
    for (int i = 0; i < 12; ++i) archive.add("entry" + std::to_string(i) + ".dat", pattern(40 + i * 17, i));
    const Bytes valid = archive.build();
    kit::DamageOptions options;
    options.randomFlips = 24;
    const auto variants = kit::damageFile(kit::FileKind::Archive, valid, options);
    ASSERT_GT(variants.size(), 10u);
    for (const kit::DamagedFile& damaged : variants) {
        SCOPED_TRACE(damaged.name);
        restartApp();
        writeArchiveBytes(damaged.bytes);
        for (int i = 0; i < 12; ++i) {
            auto* s = open(("entry" + std::to_string(i) + ".dat").c_str());
            if (!s) continue;
            const jint announced = s->available();
            EXPECT_GE(announced, 0);
            EXPECT_LE(static_cast<size_t>(announced), damaged.bytes.size());
            ByteArray* all = newByteArray(announced);
            auto* data = newObject<java_io_DataInputStream>(s);
            data->readFully(all);
            EXPECT_EQ(takeException(), 0) << "every announced byte is inside the file";
            EXPECT_EQ(s->read(), -1);
        }
        EXPECT_EQ(takeException(), 0);
    }
}

TEST_F(ResourceTest, StartUpReaderServesTheStringPoolFromTheArchive) {
    kit::StringPool pool = {u"", u"first", u"Gr\u00FC\u00DFe"};
    kit::ArchiveWriter archive;
    archive.add("constants.bin", kit::encodeStringPool(pool));
    archive.add("big.bar", {7});
    writeArchive(archive);
    bramble::io::installResourceReader();
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(rt::readResource("/constants.bin", bytes));
    EXPECT_EQ(bytes, kit::encodeStringPool(pool));
    EXPECT_TRUE(rt::readResource("/big.bar", bytes)) << "a missing .bar file falls back to the archive";
    EXPECT_EQ(bytes, (Bytes{7}));
    writeAppFile("big.bar", {1, 2});
    EXPECT_TRUE(rt::readResource(("\\Program Files\\Tindrell\\Bramble Hollow Saga\\Big.bar"), bytes));
    EXPECT_EQ(bytes, (Bytes{1, 2}));
    EXPECT_FALSE(rt::readResource("/missing", bytes));

    // The whole start-up: the pool loads through the reader.
    Application::instance()->close();
    m_statics.assign(bramble::io::staticsContributions().begin(), bramble::io::staticsContributions().end());
    Application::Config config;
    config.statics = &m_statics;
    config.loadConstants = [](StaticClass& s) { StaticClass::loadConstants(s); };
    Application::init(config);
    ASSERT_NE(StaticClass::getStringConstant(2), nullptr);
    EXPECT_EQ(StaticClass::getStringConstant(2)->toUtf16(), u"Gr\u00FC\u00DFe");
    rt::setResourceReader(nullptr);
}
