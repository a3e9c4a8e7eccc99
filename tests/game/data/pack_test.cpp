// Resource packs built by the content kit, read back through the pack
// layer: layouts, sub-pack switches, forward-only seeking, entry types,
// LZMA payloads, and every kind of damaged header or entry.
#include <gtest/gtest.h>

#include <random>

#include "game/data/pack.h"
#include "tests/game/data/support.h"

namespace {

using namespace datatest;
using game::cg;

Bytes pattern(size_t n, uint32_t seed) {
    Bytes b(n);
    std::mt19937 rng(seed);
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    return b;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

class PackTest : public GameDataTest {
protected:
    void open(const std::string& name) { ASSERT_TRUE(game::readPackHeader(jstr(name))) << name; }
    Bytes load(jint r) {
        ByteArray* a = game::loadResource(r);
        EXPECT_NE(a, nullptr) << "entry " << r;
        return bytesOf(a);
    }
};

TEST_F(PackTest, SingleSubPackLayout) {
    std::vector<kit::PackEntry> entries = {{.payload = text("alpha")}, {.payload = text("be")}, {.payload = text("c")}};
    kit::PackFiles p = kit::buildPack(entries);
    // N, S = 1, first id 0, then the N + 1 offsets from byte 6.
    ASSERT_GE(p.header.size(), 6u + 4 * 4);
    const uint32_t firstOffset = p.header[6] | p.header[7] << 8;
    EXPECT_EQ(firstOffset, 6u + 4 * (3 + 1));
    addPack("pack3", p);
    open("pack3");
    EXPECT_EQ(cg().packPosition, 6 + 4 * 4);
    EXPECT_EQ(load(0), text("alpha"));
    EXPECT_EQ(load(2), text("c"));
    EXPECT_EQ(load(1), text("be"));
    EXPECT_EQ(cg().packEntryCount, 3);
    EXPECT_EQ(cg().subPackCount, 1);
}

TEST_F(PackTest, SubPackSwitchesAndBackwardSeeksReopen) {
    std::vector<kit::PackEntry> entries;
    for (int i = 0; i < 7; ++i) entries.push_back({.payload = text("entry" + std::to_string(i))});
    addPack("pack4", kit::buildPack(entries, {0, 3, 5}));
    open("pack4");
    EXPECT_EQ(load(2), text("entry2"));
    const jint opens = cg().packOpens;
    // first[1] - 1 then first[1]: the new table comes from the start of file 1.
    EXPECT_EQ(load(3), text("entry3"));
    EXPECT_EQ(cg().currentSubPack, 1);
    EXPECT_EQ(cg().packOpens, opens + 1);
    EXPECT_EQ(load(4), text("entry4"));
    EXPECT_EQ(cg().packOpens, opens + 1) << "forward inside one file: no reopen";
    EXPECT_EQ(load(3), text("entry3"));
    EXPECT_EQ(cg().packOpens, opens + 2) << "backward: the file is opened again";
    EXPECT_EQ(load(6), text("entry6"));
    EXPECT_EQ(cg().currentSubPack, 2);
    EXPECT_EQ(load(0), text("entry0")) << "back to the header file";
    EXPECT_EQ(cg().currentSubPack, 0);
    EXPECT_EQ(load(5), text("entry5"));
    // A closed stream of the current sub-pack is opened again.
    game::closePack();
    EXPECT_EQ(load(6), text("entry6"));
    game::closePack();
    EXPECT_EQ(load(5), text("entry5"));
}

TEST_F(PackTest, EntryTypesEmptyEntriesAndLzma) {
    kit::PackEntry t127;
    t127.useRaw = true;
    t127.raw = {127};
    Bytes z = kit::lzmaEncode(text("squeezed"));
    t127.raw.insert(t127.raw.end(), z.begin(), z.end());
    std::vector<kit::PackEntry> entries = {
        {.payload = text("plain"), .type = 126},
        t127,
        {.empty = true},
        {.payload = {}, .compress = true},
        {.payload = text("typed"), .type = 5, .compress = true},
    };
    addPack("pack5", kit::buildPack(entries));
    open("pack5");
    EXPECT_EQ(load(0), text("plain"));
    EXPECT_EQ(cg().entryType, 126);
    EXPECT_FALSE(cg().entryCompressed);
    EXPECT_EQ(load(1), text("squeezed"));
    EXPECT_EQ(cg().entryType, 0);
    const jint before = cg().packPosition;
    ByteArray* empty = game::loadResource(2);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->length(), 0);
    EXPECT_EQ(game::selectPack(2), 0);
    EXPECT_GE(cg().packPosition, before) << "no type byte read for an empty entry";
    ByteArray* zero = game::loadResource(3);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->length(), 0) << "stated size 0";
    EXPECT_EQ(load(4), text("typed"));
    EXPECT_EQ(cg().entryType, 5);
    EXPECT_TRUE(cg().entryCompressed);
}

TEST_F(PackTest, LzmaRoundTrips) {
    std::vector<kit::PackEntry> entries;
    std::vector<Bytes> payloads;
    const size_t sizes[] = {1, 13, 255, 4096, 70001};
    uint32_t seed = 7;
    for (size_t n : sizes) {
        payloads.push_back(pattern(n, seed++));
        Bytes repetitive(n);
        for (size_t i = 0; i < n; ++i) repetitive[i] = static_cast<uint8_t>("bramble"[i % 7]);
        payloads.push_back(repetitive);
    }
    for (const Bytes& b : payloads) entries.push_back({.payload = b, .compress = true});
    for (uint8_t props : {0, 4, 45, 93, 180}) {
        kit::PackEntry e;
        e.useRaw = true;
        e.raw = {127};
        Bytes z = kit::lzmaEncode(payloads[3], props);
        e.raw.insert(e.raw.end(), z.begin(), z.end());
        entries.push_back(e);
        payloads.push_back(payloads[3]);
    }
    addPack("pack6", kit::buildPack(entries));
    open("pack6");
    for (size_t i = 0; i < payloads.size(); ++i) EXPECT_EQ(load(static_cast<jint>(i)), payloads[i]) << "entry " << i;
}

// Each damaged pack: the header read or the entry load fails with a log
// line, and nothing is left half-open.
TEST_F(PackTest, DamagedHeadersAndEntriesGiveNull) {
    std::vector<kit::PackEntry> good = {{.payload = text("one")}, {.payload = text("two"), .compress = true},
                                        {.payload = text("three")}};
    const kit::PackFiles base = kit::buildPack(good, {0, 2});
    auto le16 = [](Bytes& b, size_t at, int v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto le32 = [](Bytes& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    // Header: N 0-1, S 2-3, firsts 4-7, offsets of sub-pack 0 from 8.
    // Entry 1 (LZMA) starts at offset[1] in the header file.
    const size_t entry1 = base.header[12] | base.header[13] << 8;
    struct Case {
        const char* name;
        std::function<void(kit::PackFiles&)> damage;
        jint entry;          // -1: the header itself is refused
        const char* logged;
    };
    const Case cases[] = {
        {"sub-pack count 0", [&](kit::PackFiles& p) { le16(p.header, 2, 0); }, -1, "sub-pack count"},
        {"sub-pack count negative", [&](kit::PackFiles& p) { le16(p.header, 2, 0xFFFF); }, -1, "sub-pack count"},
        {"sub-pack count above N", [&](kit::PackFiles& p) { le16(p.header, 2, 4); }, -1, "sub-pack count"},
        {"first ids descending", [&](kit::PackFiles& p) { le16(p.header, 6, 0); }, -1, "not ascending"},
        {"first id past N", [&](kit::PackFiles& p) { le16(p.header, 6, 9); }, -1, "not ascending"},
        {"offsets descending", [&](kit::PackFiles& p) { le32(p.header, 12, 3); }, -1, "out of order"},
        {"offset past the file", [&](kit::PackFiles& p) { le32(p.header, 16, 100000); }, -1, "past the file"},
        {"header cut short", [&](kit::PackFiles& p) { p.header.resize(9); }, -1, "cut short"},
        {"empty header file", [&](kit::PackFiles& p) { p.header.clear(); }, -1, "cut short"},
        {"sub-pack offset past its file", [&](kit::PackFiles& p) { le32(p.subPacks[0], 4, 5000); }, 2, "past the file"},
        {"sub-pack file missing", [&](kit::PackFiles& p) { p.subPacks.clear(); }, 2, "missing file"},
        {"LZMA properties 225", [&](kit::PackFiles& p) { p.header[entry1 + 1] = 225; }, 1, "properties"},
        {"LZMA stated size above 16 MiB", [&](kit::PackFiles& p) { le32(p.header, entry1 + 6, (16u << 20) + 1); }, 1,
         "above the limit"},
        {"LZMA data short", [&](kit::PackFiles& p) { le32(p.header, entry1 + 6, 5000); }, 1, "lzma:"},
        {"LZMA data damaged", [&](kit::PackFiles& p) {
             for (size_t i = entry1 + 14; i < p.header.size(); ++i) p.header[i] = 0xFF;
         }, 1, "lzma:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files().clear();
        kit::PackFiles p = base;
        c.damage(p);
        addPack("pack7", p);
        if (p.subPacks.empty()) files().erase("pack7.1");
        log.clear();
        game::closePack();
        cg().packName = nullptr;
        const bool opened = game::readPackHeader(jstr("pack7"));
        if (c.entry < 0) {
            EXPECT_FALSE(opened);
            EXPECT_EQ(cg().packName, nullptr);
            EXPECT_EQ(game::loadResource(0), nullptr);
        } else {
            ASSERT_TRUE(opened);
            EXPECT_EQ(game::loadResource(c.entry), nullptr);
        }
        EXPECT_TRUE(log.contains(c.logged)) << "expected a log line with \"" << c.logged << "\"";
        EXPECT_EQ(Application::pendingException(), nullptr);
    }
    // The payload of a compressed entry shorter than its LZMA header.
    files().clear();
    kit::PackEntry tiny;
    tiny.useRaw = true;
    tiny.raw = {127, 93, 0, 0};
    addPack("pack8", kit::buildPack({tiny, {.payload = text("after")}}));
    open("pack8");
    log.clear();
    EXPECT_EQ(game::loadResource(0), nullptr);
    EXPECT_TRUE(log.contains("no full header"));
    EXPECT_EQ(load(1), text("after"));
}

TEST_F(PackTest, SelectionsOutsideThePackAndMissingPacks) {
    std::vector<kit::PackEntry> entries = {{.payload = text("a")}, {.payload = text("b")}, {.payload = text("c")}};
    addPack("pack9", kit::buildPack(entries));
    open("pack9");
    for (jint r : {-1, 3, 40000}) {
        log.clear();
        EXPECT_EQ(game::loadResource(r), nullptr) << r;
        EXPECT_TRUE(log.contains("outside")) << r;
    }
    EXPECT_EQ(load(2), text("c")) << "the pack stays usable";
    log.clear();
    EXPECT_FALSE(game::readPackHeader(jstr("pack99")));
    EXPECT_TRUE(log.contains("missing file pack99"));
    EXPECT_EQ(game::loadResource(0), nullptr);
    EXPECT_EQ(game::selectPack(0), -1);
    // Entries below first[0] when the pack starts later than 0.
    addPack("pack10", kit::buildPack(entries, {4}));
    open("pack10");
    EXPECT_EQ(game::loadResource(3), nullptr);
    EXPECT_EQ(load(4), text("a"));
    EXPECT_EQ(load(6), text("c"));
}

TEST_F(PackTest, ContentTypes) {
    files()["types.bin"] = kit::buildContentTypes({"audio/midi", "audio/x-wav"});
    std::vector<kit::PackEntry> entries = {{.payload = text("aa")}, {.payload = text("bb")}};
    addPack("pack11", kit::buildPack(entries));
    open("pack11");
    EXPECT_EQ(load(0), text("aa"));
    const jint position = cg().packPosition;
    java_io_InputStream* stream = cg().packStream;
    game::loadContentTypes(jstr("types.bin"));
    EXPECT_EQ(cg().packStream, stream) << "the set-aside stream comes back";
    EXPECT_EQ(cg().packPosition, position) << "with its position";
    EXPECT_EQ(load(1), text("bb"));
    EXPECT_EQ(utf8(game::getSoundContentType(1)), "audio/x-wav");
    EXPECT_EQ(utf8(game::getSoundContentType(2)), "") << "pool entry 1";
    EXPECT_EQ(utf8(game::getSoundContentType(-1)), "");

    // A cut-short table is refused; a missing one too.
    cg().contentTypes = nullptr;
    files()["types.bin"] = {3, 2, 'a'};
    log.clear();
    game::loadContentTypes(jstr("types.bin"));
    EXPECT_EQ(cg().contentTypes, nullptr);
    EXPECT_TRUE(log.contains("cut short"));
    game::loadContentTypes(jstr("missing.bin"));
    EXPECT_TRUE(log.contains("missing resource"));
}

}  // namespace
