// Content kit, file formats of the io layer: big-endian data, modified
// UTF-8, the data archive and its name matching, the string pool and its
// text form, the application descriptor, record-store files, damaged
// variants of each, and the demo device root.
#include "tools/kit/archive.h"
#include "tools/kit/damage.h"
#include "tools/kit/demo.h"
#include "tools/kit/font.h"
#include "tools/kit/jad.h"
#include "tools/kit/recordstore.h"
#include "tools/kit/sprite.h"
#include "tools/kit/stringpool.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

using namespace kit;
namespace fs = std::filesystem;

namespace {

Bytes B(std::initializer_list<int> v) {
    Bytes b;
    for (int x : v) b.push_back(static_cast<uint8_t>(x));
    return b;
}

Bytes ascii(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A fresh folder inside the test's working directory.
fs::path scratch(const std::string& name) {
    fs::path p = fs::current_path() / "scratch" / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

}  // namespace

// --- Big-endian data and modified UTF-8 --------------------------------

TEST(KitBytes, DataOutputStreamEncodings) {
    ByteWriter w;
    w.writeBoolean(true);
    w.writeByte(-128);
    w.writeShort(-2);
    w.writeChar(0xFFFE);
    w.writeInt(-2147483647);
    w.writeLong(0x0102030405060708LL);
    w.writeUTF(u"a\u00e9");
    EXPECT_EQ(w.bytes(), B({0x01, 0x80, 0xFF, 0xFE, 0xFF, 0xFE, 0x80, 0x00, 0x00, 0x01, 1, 2, 3, 4, 5, 6, 7, 8,
                            0x00, 0x03, 0x61, 0xC3, 0xA9}));

    ByteReader r(w.bytes());
    EXPECT_EQ(r.u8(), 1);
    EXPECT_EQ(r.s8(), -128);
    EXPECT_EQ(r.bes16(), -2);
    EXPECT_EQ(r.be16(), 0xFFFE);
    EXPECT_EQ(r.bes32(), -2147483647);
    EXPECT_EQ(r.be32(), 0x01020304u);
    EXPECT_EQ(r.be32(), 0x05060708u);
    EXPECT_EQ(r.readUTF(), u"a\u00e9");
    EXPECT_TRUE(r.atEnd());
    EXPECT_THROW(r.u8(), KitError);
}

TEST(KitBytes, ModifiedUtf8Table) {
    struct Case { std::u16string text; Bytes bytes; };
    const Case cases[] = {
        {u"", {}},
        {u"A", B({0x41})},
        {std::u16string(1, u'\0'), B({0xC0, 0x80})},
        {u"\u007F\u0080", B({0x7F, 0xC2, 0x80})},
        {u"\u07FF\u0800", B({0xDF, 0xBF, 0xE0, 0xA0, 0x80})},
        {u"\uFFFF", B({0xEF, 0xBF, 0xBF})},
        {u"\U0001F600", B({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80})},  // each surrogate on its own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf16ToUtf8(c.text));
        EXPECT_EQ(encodeModifiedUtf8(c.text), c.bytes);
        EXPECT_EQ(decodeModifiedUtf8(c.bytes), c.text);
    }
    // readUTF's rejections: a lone continuation byte, a bad continuation, a
    // form cut by the end, the 4-byte lead.
    for (const Bytes& bad : {B({0x80}), B({0xC3, 0x41}), B({0xE2}), B({0xE2, 0x82}), B({0xF0, 0x9F, 0x98, 0x80})})
        EXPECT_FALSE(decodeModifiedUtf8(bad).has_value());

    ByteWriter w;
    EXPECT_NO_THROW(w.writeUTF(std::u16string(65535, u'x')));
    EXPECT_THROW(w.writeUTF(std::u16string(32768, u'\u00e9')), KitError);  // 65536 bytes
}

TEST(KitBytes, ModifiedUtf8RoundTripsRandomStrings) {
    std::mt19937 rng(7);
    for (int i = 0; i < 500; ++i) {
        std::u16string s;
        size_t len = rng() % 40;
        for (size_t k = 0; k < len; ++k) {
            switch (rng() % 4) {
            case 0: s.push_back(static_cast<char16_t>(rng() % 0x80)); break;
            case 1: s.push_back(static_cast<char16_t>(rng() % 0x800)); break;
            default: s.push_back(static_cast<char16_t>(rng() % 0x10000)); break;
            }
        }
        ByteWriter w;
        w.writeUTF(s);
        ByteReader r(w.bytes());
        ASSERT_EQ(r.readUTF(), s);
        ASSERT_TRUE(r.atEnd());
    }
}

TEST(KitBytes, ReaderFailuresLeaveThePositionAlone) {
    Bytes data = B({0x00, 0x05, 'a', 'b'});  // a string longer than what follows
    ByteReader r(data);
    EXPECT_THROW(r.readUTF(), KitError);
    EXPECT_EQ(r.pos(), 0u);
    Bytes bad = B({0x00, 0x02, 0xC3, 0x41});
    ByteReader r2(bad);
    EXPECT_THROW(r2.readUTF(), KitError);
    EXPECT_EQ(r2.pos(), 0u);
    r2.skip(1);
    EXPECT_THROW(r2.be32(), KitError);
    EXPECT_EQ(r2.pos(), 1u);
    EXPECT_EQ(r2.u8(), 2);
}

// --- Archive -----------------------------------------------------------

TEST(KitArchive, IndexBytesByHand) {
    ArchiveWriter w;
    w.add("a", B({1, 2, 3}));
    w.add("/Dir/B.txt", {});  // the leading '/' is dropped
    // Index: 2 + (2 + 1 + 8) + (2 + 9 + 8) = 32 bytes; data follows.
    Bytes expected = cat({B({0x00, 0x02}),
                          B({0x00, 0x01, 'a', 0, 0, 0, 32, 0, 0, 0, 3}),
                          B({0x00, 0x09}), ascii("Dir/B.txt"), B({0, 0, 0, 35, 0, 0, 0, 0}),
                          B({1, 2, 3})});
    Bytes bar = w.build();
    EXPECT_EQ(bar, expected);

    ArchiveReader r = ArchiveReader::parse(bar);
    ASSERT_EQ(r.entries().size(), 2u);
    EXPECT_EQ(r.indexSize(), 32u);
    EXPECT_EQ(r.entries()[1].utf8Name(), "Dir/B.txt");
    ASSERT_NE(r.find("/a"), nullptr);
    EXPECT_EQ(Bytes(r.data(*r.find("A")).begin(), r.data(*r.find("A")).end()), B({1, 2, 3}));
}

TEST(KitArchive, EmptyArchiveIsTwoBytes) {
    EXPECT_EQ(ArchiveWriter().build(), B({0, 0}));
    EXPECT_TRUE(ArchiveReader::parse(B({0, 0})).entries().empty());
}

TEST(KitArchive, NameMatchingIsWholeAndCaseFree) {
    struct Case { const char16_t* request; bool match; };
    const Case cases[] = {
        {u"title.png", true}, {u"/title.png", true}, {u"Title.PNG", true}, {u"TITLE.png", true},
        {u"//title.png", false}, {u"title.pn", false}, {u"title.pngx", false}, {u"", false},
        {u"\u0174itle.png", true},  // low bytes fold: 0x74 't'
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf16ToUtf8(c.request));
        EXPECT_EQ(archiveNameMatches(u"title.png", c.request), c.match);
    }
    EXPECT_TRUE(archiveNameMatches(u"\u00c9t\u00e9", u"\u00e9T\u00c9"));  // Latin-1 letters fold too
}

TEST(KitArchive, WriterRefusesClashesAndOverfullIndex) {
    ArchiveWriter w;
    w.add("Data/Level1.bin", {});
    EXPECT_THROW(w.add("/data/LEVEL1.BIN", {}), KitError);
    EXPECT_THROW(w.add("/", {}), KitError);
    EXPECT_NO_THROW(w.addUnchecked(u"/data/level1.bin", {}));  // for lookup-rule fixtures

    // The writer's clash check agrees with the runtime's comparison for
    // every pair of one-unit names.
    for (char16_t a = 1; a < 256; ++a)
        for (char16_t b = 1; b < 256; ++b) {
            if (a == u'/' || b == u'/') continue;
            ArchiveWriter pair;
            pair.add(utf16ToUtf8(std::u16string(1, a)), {});
            bool clash = false;
            try {
                pair.add(utf16ToUtf8(std::u16string(1, static_cast<char16_t>(b + 0x100))), {});
            } catch (const KitError&) {
                clash = true;
            }
            ASSERT_EQ(clash, archiveNameMatches(std::u16string(1, a), std::u16string(1, static_cast<char16_t>(b + 0x100))))
                << int(a) << " " << int(b);
        }

    ArchiveWriter full;
    for (int i = 0; i < 32767; ++i) full.addUnchecked(u"e", {});
    EXPECT_THROW(full.addUnchecked(u"e", {}), KitError);
    Bytes bar = full.build();
    EXPECT_EQ(bar[0], 0x7F);
    EXPECT_EQ(bar[1], 0xFF);
}

TEST(KitArchive, StrictReaderRejectsDamage) {
    ArchiveWriter w;
    w.add("x", B({9, 9}));
    Bytes good = w.build();
    Bytes negative = good;
    negative[0] = 0xFF;  // count -1
    Bytes outside = good;
    outside[2 + 2 + 1 + 4 + 3] = 3;  // length 3, one past the end
    Bytes shortIndex(good.begin(), good.begin() + 6);
    for (const Bytes& bad : {negative, outside, shortIndex, B({0})}) EXPECT_THROW(ArchiveReader::parse(bad), KitError);
}

TEST(KitArchive, FolderAndManifest) {
    fs::path dir = scratch("archive-folder");
    fs::create_directories(dir / "in" / "sub");
    std::ofstream(dir / "in" / "b.txt") << "bee";
    std::ofstream(dir / "in" / "a.txt") << "ay";
    std::ofstream(dir / "in" / "sub" / "c.bin") << "sea";
    ArchiveWriter fromFolder;
    fromFolder.addFolder((dir / "in").string(), "res/");
    Bytes bar = fromFolder.build();
    ArchiveReader r = ArchiveReader::parse(bar);
    ASSERT_EQ(r.entries().size(), 3u);
    EXPECT_EQ(r.entries()[0].utf8Name(), "res/a.txt");
    EXPECT_EQ(r.entries()[1].utf8Name(), "res/b.txt");
    EXPECT_EQ(r.entries()[2].utf8Name(), "res/sub/c.bin");

    std::ofstream(dir / "list.txt") << "# demo\n\nconstants.bin = in/a.txt\n  in/sub/c.bin  \r\n";
    ArchiveWriter fromManifest;
    fromManifest.addManifest((dir / "list.txt").string());
    Bytes bar2 = fromManifest.build();
    ArchiveReader r2 = ArchiveReader::parse(bar2);
    ASSERT_EQ(r2.entries().size(), 2u);
    EXPECT_EQ(r2.entries()[0].utf8Name(), "constants.bin");
    EXPECT_EQ(r2.entries()[1].utf8Name(), "c.bin");
    ByteSpan d = r2.data(r2.entries()[1]);
    EXPECT_EQ(std::string(d.begin(), d.end()), "sea");

    std::ofstream(dir / "bad.txt") << "x = missing-file\n";
    ArchiveWriter broken;
    EXPECT_THROW(broken.addManifest((dir / "bad.txt").string()), KitError);
}

// --- String pool -------------------------------------------------------

TEST(KitPool, BytesByHand) {
    StringPool pool = {u"", u"A", u"\u00e9"};
    EXPECT_EQ(encodeStringPool(pool), B({0, 0, 0, 3, 0, 0, 0, 1, 0x41, 0, 2, 0xC3, 0xA9}));
    EXPECT_EQ(decodeStringPool(encodeStringPool(pool)), pool);
    EXPECT_EQ(encodeStringPool({}), B({0, 0, 0, 0}));
}

TEST(KitPool, StrictDecoding) {
    for (const Bytes& bad : {B({0xFF, 0xFF, 0xFF, 0xFF}),          // negative count
                             B({0, 0, 0, 2, 0, 0}),                // one string short
                             B({0x7F, 0xFF, 0xFF, 0xFF, 0, 0}),    // count beyond the file
                             B({0, 0, 0, 1, 0, 0, 0x41}),          // a byte left over
                             B({0, 0, 0, 1, 0, 1, 0x80})})         // malformed string
        EXPECT_THROW(decodeStringPool(bad), KitError);
}

TEST(KitPool, TextForm) {
    StringPool p = parsePoolText("first\r\n\nTab\\there\\\\\n\\0\\x41\\u00e9\\n\nUTF-8: \xC3\xA9\n");
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0], u"first");
    EXPECT_EQ(p[1], u"");
    EXPECT_EQ(p[2], u"Tab\there\\");
    EXPECT_EQ(p[3], std::u16string(u"\0A\u00e9\n", 4));
    EXPECT_EQ(p[4], u"UTF-8: \u00e9");
    EXPECT_EQ(parsePoolText("a").size(), 1u);
    EXPECT_EQ(parsePoolText("a\n\n").size(), 2u);
    for (const char* bad : {"bad \\q escape", "end \\", "\\x4", "\\u12G4"}) EXPECT_THROW(parsePoolText(bad), KitError);

    std::mt19937 rng(3);
    StringPool random;
    for (int i = 0; i < 200; ++i) {
        std::u16string s;
        for (size_t k = rng() % 12; k > 0; --k) {
            uint32_t pick = rng() % 6;
            s.push_back(static_cast<char16_t>(pick == 0 ? rng() % 0x20 : pick == 1 ? u'\\' : pick == 2 ? 0xD800 + rng() % 0x800 : rng() % 0x10000));
        }
        random.push_back(s);
    }
    EXPECT_EQ(parsePoolText(formatPoolText(random)), random);
}

// --- Application descriptor --------------------------------------------

TEST(KitJad, WritesAndReadsLikeTheRuntime) {
    Bytes jad = encodeJad({{"MIDlet-Name", "Game"}, {"Url", "http://a:b/c"}, {"Empty", ""}});
    EXPECT_EQ(std::string(jad.begin(), jad.end()), "MIDlet-Name: Game\r\nUrl: http://a:b/c\r\nEmpty: \r\n");
    JadProperties back = parseJad(jad);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1], std::make_pair(std::string("Url"), std::string("http://a:b/c")));
    EXPECT_EQ(back[2].second, "");

    Bytes text = ascii("Name: Game\r\n\nno colon here\n  Version :  1.0  \nName: Other");
    JadProperties p = parseJad(text);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0], std::make_pair(std::string("Name"), std::string("Other")));
    EXPECT_EQ(p[1], std::make_pair(std::string("Version"), std::string("1.0")));

    EXPECT_EQ(parseJad(encodeJad({{"Caf\xC3\xA9", "\xC3\xBC"}}))[0].second, "\xC3\xBC");  // Latin-1 bytes
    for (const JadProperties& bad : {JadProperties{{"a:b", "v"}}, JadProperties{{"k", "two\nlines"}},
                                     JadProperties{{" k", "v"}}, JadProperties{{"k", "v "}},
                                     JadProperties{{"k", "\xE2\x82\xAC"}}, JadProperties{{"", "v"}}})
        EXPECT_THROW(encodeJad(bad), KitError);
}

// --- Record stores -----------------------------------------------------

TEST(KitRecordStore, IndexBytesAndNames) {
    EXPECT_EQ(encodeRecordIndex({2, {1, 2}}), B({0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
    EXPECT_EQ(encodeRecordIndex({2, {2}}), B({0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
    RecordIndex idx = decodeRecordIndex(B({0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2}));
    EXPECT_EQ(idx.lastRecordId, 2);
    EXPECT_EQ(idx.ids, std::vector<int32_t>{2});
    RecordIndex empty = decodeRecordIndex({});
    EXPECT_EQ(empty.lastRecordId, 0);
    EXPECT_TRUE(empty.ids.empty());
    for (const Bytes& bad : {B({0, 0, 0, 2}), B({0, 0, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF}), B({0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1}),
                             B({0, 0, 0, 2, 0, 0, 0, 0, 0})})
        EXPECT_THROW(decodeRecordIndex(bad), KitError);

    EXPECT_EQ(storeIndexFileName("Save"), "rs_save.rms");
    EXPECT_EQ(storeIndexFileName("a:b?c*d<e>f|g/h"), "rs_a_b_c_d_e_f_g_h.rms");
    EXPECT_EQ(recordFileName("Save", 12), "rs_save.rms_r12.rms");
    EXPECT_EQ(storeIndexFileName("SAVE"), storeIndexFileName("save"));
    EXPECT_THROW(storeIndexFileName(""), KitError);
    EXPECT_THROW(storeIndexFileName("a\\b"), KitError);
}

TEST(KitRecordStore, FilesRoundTrip) {
    fs::path dir = scratch("store");
    RecordStoreContents s;
    s.records = {{3, B({1, 2, 3}), false}, {1, {}, false}};
    writeRecordStore(dir.string(), "Progress", s);
    EXPECT_EQ(readFile((dir / "rs_progress.rms").string()), B({0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 1}));
    EXPECT_EQ(readFile((dir / "rs_progress.rms_r3.rms").string()), B({1, 2, 3}));
    EXPECT_EQ(fs::file_size(dir / "rs_progress.rms_r1.rms"), 0u);

    fs::remove(dir / "rs_progress.rms_r1.rms");
    RecordStoreContents back = readRecordStore(dir.string(), "progress");
    EXPECT_EQ(back.lastRecordId, 3);
    ASSERT_EQ(back.records.size(), 2u);
    EXPECT_EQ(back.records[0].data, B({1, 2, 3}));
    EXPECT_TRUE(back.records[1].missing);

    RecordStoreContents dup;
    dup.records = {{1, {}, false}, {1, {}, false}};
    EXPECT_THROW(writeRecordStore(dir.string(), "x", dup), KitError);
    RecordStoreContents low;
    low.lastRecordId = 1;
    low.records = {{2, {}, false}};
    EXPECT_THROW(writeRecordStore(dir.string(), "x", low), KitError);
    RecordStoreContents zero;
    zero.records = {{0, {}, false}};
    EXPECT_THROW(writeRecordStore(dir.string(), "x", zero), KitError);
    EXPECT_THROW(readRecordStore(dir.string(), "absent"), KitError);
}

// --- Damage of the io formats ------------------------------------------

namespace {

Bytes sampleArchive() {
    ArchiveWriter w;
    w.add("constants.bin", encodeStringPool({u"", u"x"}));
    w.add("a", B({1, 2, 3, 4}));
    w.add("Gr\xC3\xBC\xC3\x9F" "e.txt", ascii("hello"));
    return w.build();
}

bool hasName(const std::vector<DamagedFile>& v, const std::string& name) {
    for (const DamagedFile& d : v)
        if (d.name == name) return true;
    return false;
}

}  // namespace

TEST(KitDamage, IoFormatsAreDeterministicAndCovered) {
    struct Case { FileKind kind; Bytes valid; std::vector<std::string> expected; };
    const Case cases[] = {
        {FileKind::Archive, sampleArchive(),
         {"truncate@start", "truncate@entry[0]", "truncate@entry[1]", "truncate@index-end", "truncate@entry-data[2]",
          "count=negative", "count=plus-one", "count=huge", "entry.name-length[0]=huge", "entry.name[2]=bad-128",
          "entry.offset[1]=past-end", "entry.offset[1]=negative", "entry.length[2]=plus-one", "entry.length[0]=past-end",
          "entry.length[0]=huge"}},
        {FileKind::StringPool, encodeStringPool({u"", u"abc", u"\u00e9"}),
         {"truncate@string[1]", "truncate@string[1]-1", "count=negative", "count=huge", "string.length[1]=past-end",
          "string.byte[1]=bad-128"}},
        {FileKind::RecordIndex, encodeRecordIndex({5, {1, 4, 5}}),
         {"truncate@count", "truncate@id[2]", "count=negative", "count=plus-one", "id[1]=negative", "id[2]=first-outside",
          "id[0]=zero", "id[1]=duplicate", "extra-byte"}},
        {FileKind::Jad, encodeJad({{"MIDlet-Name", "Game"}, {"MIDlet-Version", "1.0"}}),
         {"truncate@line[1]", "line-without-colon", "blank-lines", "colon-only", "cr-line-ends", "no-line-ends",
          "long-value", "high-bytes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fileKindName(c.kind));
        std::vector<DamagedFile> a = damageFile(c.kind, c.valid);
        std::vector<DamagedFile> b = damageFile(c.kind, c.valid);
        ASSERT_EQ(a.size(), b.size());
        std::set<std::string> names;
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].name, b[i].name);
            EXPECT_EQ(a[i].bytes, b[i].bytes);
            EXPECT_NE(a[i].bytes, c.valid) << a[i].name;
            EXPECT_TRUE(names.insert(a[i].name).second) << a[i].name;
        }
        for (const std::string& n : c.expected) EXPECT_TRUE(hasName(a, n)) << n;
    }
}

TEST(KitDamage, DamagedArchivesAndPoolsFailTheStrictReaders) {
    for (const DamagedFile& d : damageFile(FileKind::Archive, sampleArchive(), {6, 0, 1})) {
        // One byte more of an entry that is not the last still lies in the file.
        if (d.name == "entry.length[0]=plus-one" || d.name == "entry.length[1]=plus-one") continue;
        EXPECT_THROW(ArchiveReader::parse(d.bytes), KitError) << d.name;
    }
    for (const DamagedFile& d : damageFile(FileKind::StringPool, encodeStringPool({u"", u"abc", u"z"}), {6, 0, 1}))
        EXPECT_THROW(decodeStringPool(d.bytes), KitError) << d.name;
}

TEST(KitDamage, SeedChangesOnlyTheFlips) {
    Bytes valid = sampleArchive();
    auto a = damageFile(FileKind::Archive, valid, {6, 4, 1});
    auto b = damageFile(FileKind::Archive, valid, {6, 4, 2});
    ASSERT_EQ(a.size(), b.size());
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].name, b[i].name);
        if (a[i].bytes != b[i].bytes) {
            ++differing;
            EXPECT_EQ(a[i].name.rfind("flip#", 0), 0u) << a[i].name;
        }
    }
    EXPECT_GT(differing, 0u);
    EXPECT_THROW(damageFile(FileKind::Archive, B({0xFF, 0xFF})), KitError);  // needs a valid file
}

// --- Demo device root --------------------------------------------------

TEST(KitDemo, DeviceRootHoldsAReadableArchive) {
    fs::path dir = scratch("demo");
    std::string bar = buildDemoRoot(dir.string());
    EXPECT_EQ(fs::path(bar), dir / "device" / "Program Files" / "Tindrell" / "Bramble Hollow Saga" / "data.bar");
    EXPECT_TRUE(fs::is_directory(dir / "device" / "temp"));

    Bytes data = readFile(bar);
    EXPECT_EQ(data, buildDemoArchive());  // the same every time
    ArchiveReader r = ArchiveReader::parse(data);
    auto entry = [&](const char* name) {
        const ArchiveEntry* e = r.find(name);
        EXPECT_NE(e, nullptr) << name;
        return e ? r.data(*e) : ByteSpan{};
    };

    StringPool pool = decodeStringPool(entry("/constants.bin"));
    ASSERT_GT(pool.size(), 205u);
    EXPECT_EQ(pool[1], u"");
    EXPECT_EQ(utf16ToUtf8(pool[87]) + utf16ToUtf8(pool[1]), kRemapMarker);
    EXPECT_EQ(utf16ToUtf8(pool[94]), kStorePrefix);
    EXPECT_EQ(utf16ToUtf8(pool[95]), kStoreSuffix);
    EXPECT_EQ(utf16ToUtf8(pool[97]), kRecordSeparator);
    EXPECT_EQ(utf16ToUtf8(pool[73]), "VolumeControl");

    JadProperties jad = parseJad(entry("app.jad"));
    ASSERT_FALSE(jad.empty());
    EXPECT_EQ(jad[0], std::make_pair(std::string("MIDlet-Name"), std::string("Bramble Hollow Saga")));

    for (const char* s : {"hero.spr", "tiles.spr", "font0.spr"}) {
        SCOPED_TRACE(s);
        EXPECT_NO_THROW(parseSprite(entry(s)));
    }
    SpriteModel hero = parseSprite(entry("hero.spr"));
    EXPECT_TRUE(hero.remap.has_value());

    ByteSpan map = entry("font0.map");
    ASSERT_GE(map.size(), 3u);
    EXPECT_EQ(map[0], 0x19);
    EXPECT_EQ(map.size(), 3u + 2u * (map[1] | map[2] << 8));

    ByteSpan png = entry("title.png");
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&img, png.data(), png.size()));
    EXPECT_EQ(img.width, 48u);
    EXPECT_EQ(img.height, 32u);
    img.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> px(PNG_IMAGE_SIZE(img));
    ASSERT_TRUE(png_image_finish_read(&img, nullptr, px.data(), 0, nullptr));
    EXPECT_EQ(px[3], 0x80);                       // the border is half transparent
    size_t mid = (16 * 48 + 47 / 2) * 4;
    EXPECT_EQ(px[mid + 3], 0xFF);
}
