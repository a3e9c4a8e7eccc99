// Text packs and data nodes made by the content kit, read through the pack
// layer: slots, caching, releasing, the 65,536-string cap, damaged packs
// and nodes, nesting depth, and the nested-table editors.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/data/datanode.h"
#include "game/data/pack.h"
#include "game/data/textpack.h"
#include "runtime/application.h"
#include "runtime/heap.h"
#include "tests/game/data/support.h"

namespace {

using namespace datatest;
using game::cg;

const std::string kEnd = "\x03";

class TextPackTest : public GameDataTest {
protected:
    // Pack "pack20" with the given entries (plain unless compress).
    void packOf(const std::vector<Bytes>& payloads, bool compress = false) {
        std::vector<kit::PackEntry> entries;
        for (const Bytes& p : payloads) entries.push_back({.payload = p, .compress = compress});
        addPack("pack20", kit::buildPack(entries));
        game::closePack();
        cg().packName = nullptr;
    }
    void loadEntry(jint r) { game::loadTextPackResource(jstr("pack20"), r); }
};

TEST_F(TextPackTest, SlotsIdsAndCaching) {
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "compressed" : "plain");
        packOf({kit::buildTextPack(3, {"zero", "one", "two", "", "grüße"}), kit::buildTextPack(0, {})}, compress);
        loadEntry(0);
        ASSERT_TRUE(game::isTextPackLoaded(0));
        EXPECT_EQ(cg().textPackSlots->data()[0], 3);
        EXPECT_EQ(utf8(game::getString((3 << 16) | 2)), "two" + kEnd) << "the terminator is part of the text";
        EXPECT_EQ(utf8(game::getString((3 << 16) | 4)), "grüße" + kEnd);
        EXPECT_EQ(utf8(game::getString((3 << 16) | 3)), "" + kEnd);
        EXPECT_EQ(game::getString((3 << 16) | 5), nullptr) << "index past the count";
        EXPECT_EQ(game::getString((9 << 16) | 0), nullptr) << "slot not loaded";
        // Cached: the raw bytes are gone and fetching allocates nothing new.
        EXPECT_NE(cg().textPackStrings->data()[3], nullptr);
        EXPECT_EQ(cg().textPackData->data()[3], nullptr);
        EXPECT_EQ(game::getString((3 << 16) | 1), game::getString((3 << 16) | 1));

        // A pack of no strings stays raw: caching does nothing.
        loadEntry(1);
        EXPECT_TRUE(game::isTextPackLoaded(1));
        EXPECT_EQ(cg().textPackCounts->data()[0], 0);
        EXPECT_EQ(cg().textPackStrings->data()[0], nullptr);
        EXPECT_NE(cg().textPackOffsets->data()[0], nullptr);
        game::unloadTextPack(0);
        game::unloadTextPack(1);
        EXPECT_FALSE(game::isTextPackLoaded(0));
        EXPECT_EQ(game::getString(3 << 16), nullptr);
    }
}

TEST_F(TextPackTest, ReloadingReleasesFirstAndSlotsReplaceEachOther) {
    packOf({kit::buildTextPack(3, {"old"}), kit::buildTextPack(3, {"other"})});
    loadEntry(0);
    EXPECT_EQ(utf8(game::getString(3 << 16)), "old" + kEnd);
    // Entry 0 now holds a pack for slot 4: loading it again releases slot 3.
    packOf({kit::buildTextPack(4, {"new"}), kit::buildTextPack(3, {"other"})});
    loadEntry(0);
    EXPECT_EQ(game::getString(3 << 16), nullptr);
    EXPECT_EQ(utf8(game::getString(4 << 16)), "new" + kEnd);
    EXPECT_EQ(cg().textPackSlots->data()[0], 4);
    // Two entries naming one slot: the later one's texts win, cached or not.
    loadEntry(1);
    loadEntry(0);
    packOf({kit::buildTextPack(4, {"newer"}), kit::buildTextPack(4, {"replaced"})});
    loadEntry(1);
    EXPECT_EQ(utf8(game::getString(4 << 16)), "replaced" + kEnd);
}

TEST_F(TextPackTest, MoreThan65536StringsKeepTheFirst65536) {
    const int32_t stated = 65537;
    std::vector<int32_t> ends;
    Bytes data;
    for (int32_t i = 0; i < stated; ++i) {
        std::string t = "s" + std::to_string(i) + kEnd;
        data.insert(data.end(), t.begin(), t.end());
        ends.push_back(static_cast<int32_t>(data.size()));
    }
    // The text data holds exactly what the first 65,536 strings span.
    const int32_t kept = ends[65535];
    Bytes used(data.begin(), data.begin() + kept);
    packOf({kit::buildTextPackRaw(7, stated, ends, used)});
    loadEntry(0);
    ASSERT_TRUE(game::isTextPackLoaded(0));
    EXPECT_EQ(cg().textPackCounts->data()[7], 65536);
    EXPECT_EQ(utf8(game::getString(7 << 16)), "s0" + kEnd);
    EXPECT_EQ(utf8(game::getString((7 << 16) | 1234)), "s1234" + kEnd);
    EXPECT_EQ(utf8(game::getString((7 << 16) | 65535)), "s65535" + kEnd);
}

TEST_F(TextPackTest, DamagedPacksLeaveTheSlotsAsTheyWere) {
    const Bytes good = kit::buildTextPack(2, {"kept"});
    struct Case {
        const char* name;
        Bytes pack;
        const char* logged;
    };
    const Case cases[] = {
        {"slot 32", kit::buildTextPackRaw(32, 1, {1}, Bytes{'x'}), "slot 32"},
        {"negative count", kit::buildTextPackRaw(2, -1, {}, {}), "negative"},
        {"descending offsets", kit::buildTextPackRaw(2, 2, {3, 1}, Bytes{'a', 'b', 'c'}), "below"},
        {"data past the entry", kit::buildTextPackRaw(2, 1, {60}, Bytes{'a', 'b'}), "shorter"},
        {"offsets past the entry", kit::buildTextPackRaw(2, 100, {1}, Bytes{'a'}), "cut short"},
        {"empty entry", Bytes{}, "empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Entry 1 follows the damaged entry 0 with bytes a reader must not take.
        packOf({good, c.pack, Bytes(80, 'z')});
        loadEntry(0);
        log.clear();
        loadEntry(1);
        EXPECT_FALSE(game::isTextPackLoaded(1));
        EXPECT_TRUE(log.contains(c.logged));
        EXPECT_EQ(utf8(game::getString(2 << 16)), "kept" + kEnd) << "slot 2 untouched";
        game::unloadTextPack(0);
    }
    log.clear();
    loadEntry(32);
    EXPECT_TRUE(log.contains("pack entry 32"));
}

// A 20-byte entry that states 40 MiB of text is refused against what the
// entry holds before the text array is made: the data heap never grows by
// anything near the claim (plain entries are bounded by the entry, LZMA
// ones by the unpacked bytes).
TEST_F(TextPackTest, StatedTextSizeIsCheckedBeforeAllocating) {
    constexpr int32_t kClaim = 40 << 20;
    const Bytes lying = kit::buildTextPackRaw(2, 1, {kClaim}, Bytes(11, 'x'));
    ASSERT_EQ(lying.size(), 20u);
    MemoryManager& heap = Application::instance()->dataHeap();
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "compressed" : "plain");
        packOf({lying, kit::buildTextPack(3, {"next"})}, compress);
        const size_t inUse = heap.bytesInUse(), peak = heap.peakBytesInUse();
        log.clear();
        loadEntry(0);
        EXPECT_FALSE(game::isTextPackLoaded(0));
        EXPECT_TRUE(log.contains("text data shorter than 41943040 bytes (11 left)"));
        EXPECT_LT(heap.peakBytesInUse(), std::max(peak, inUse + (4 << 20)) + 1) << "no array of the stated size";
        loadEntry(1);
        EXPECT_EQ(utf8(game::getString(3 << 16)), "next" + kEnd) << "the next entry still reads";
    }
}

// --- data nodes ----------------------------------------------------------------------

class DataNodeTest : public GameDataTest {
protected:
    Object* read(const Bytes& b) {
        cg().streamBytesRead = 0;
        return game::readDataNode(streamOf(b));
    }
};

TEST_F(DataNodeTest, TagsAndNesting) {
    // 0x12 with count byte 3: int[3] of signed 16-bit values.
    auto* a = static_cast<IntArray*>(read({0x12, 3, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80}));
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->classId(), cid::IntArray);
    EXPECT_EQ(a->length(), 3);
    EXPECT_EQ(a->data()[0], 1);
    EXPECT_EQ(a->data()[1], -1);
    EXPECT_EQ(a->data()[2], -32768);
    EXPECT_EQ(cg().streamBytesRead, 8);
    // 0x1A: the same with a 16-bit count.
    auto* b = static_cast<IntArray*>(read({0x1A, 2, 0, 0x05, 0x00, 0x06, 0x00}));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->length(), 2);
    EXPECT_EQ(b->data()[1], 6);
    // 0x08: a byte array with a 16-bit count.
    Bytes c = {0x08, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i) c.push_back(static_cast<uint8_t>(i));
    auto* bytes = static_cast<ByteArray*>(read(c));
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(bytes->classId(), cid::ByteArray);
    EXPECT_EQ(bytes->length(), 300);
    EXPECT_EQ(bytes->data()[299] & 0xFF, 299 & 0xFF);
    // Nested, from the kit's text form.
    kit::DataNode n = kit::parseNodeText("objects{ shorts[1 -2] shorts8[-3] ints8[-4] ints[70000] objects{ bytes[9] } }");
    auto* o = static_cast<ObjectArray*>(read(kit::encodeNode(n)));
    ASSERT_NE(o, nullptr);
    ASSERT_EQ(o->length(), 5);
    EXPECT_EQ(static_cast<ShortArray*>(o->data()[0])->data()[1], -2);
    EXPECT_EQ(static_cast<ShortArray*>(o->data()[1])->data()[0], -3);
    EXPECT_EQ(static_cast<IntArray*>(o->data()[2])->data()[0], -4);
    EXPECT_EQ(static_cast<IntArray*>(o->data()[3])->data()[0], 70000);
    auto* inner = static_cast<ObjectArray*>(o->data()[4]);
    EXPECT_EQ(static_cast<ByteArray*>(inner->data()[0])->data()[0], 9);
}

TEST_F(DataNodeTest, TruncationDepthAndEntryBoundsGiveNull) {
    const Bytes whole = kit::encodeNode(kit::parseNodeText("objects{ ints16[1 2 3] bytes[4 5] }"));
    for (size_t n = 0; n < whole.size(); ++n) {
        log.clear();
        EXPECT_EQ(read(Bytes(whole.begin(), whole.begin() + static_cast<long>(n))), nullptr) << n << " bytes";
        EXPECT_TRUE(log.contains("data node")) << n;
    }
    auto nested = [](int depth) {
        Bytes b;
        for (int i = 1; i < depth; ++i) b.insert(b.end(), {0x03, 1});
        b.insert(b.end(), {0x00, 1, 7});
        return b;
    };
    EXPECT_NE(read(nested(16)), nullptr);
    log.clear();
    EXPECT_EQ(read(nested(17)), nullptr);
    EXPECT_TRUE(log.contains("too deep"));

    // A plain entry's node reads only its own bytes, however many follow.
    std::vector<kit::PackEntry> entries = {{.payload = {0x00, 5, 1, 2}}, {.payload = Bytes(40, 3)},
                                           {.payload = whole}, {.payload = whole, .compress = true}};
    addPack("pack21", kit::buildPack(entries));
    ASSERT_TRUE(game::readPackHeader(jstr("pack21")));
    EXPECT_EQ(game::loadDataNode(0), nullptr);
    EXPECT_NE(game::loadDataNode(2), nullptr);
    EXPECT_NE(game::loadDataNode(3), nullptr);
    EXPECT_NE(game::loadCharMap(2), nullptr) << "the position after a plain node is right";
}

TEST_F(DataNodeTest, TableEditors) {
    // Rows from index 4: {key array, sub array}.
    kit::DataNode t = kit::parseNodeText(R"(objects{
        ints[0] ints[0] ints[0] ints[0]
        objects{ ints[10 0 0 0 0] shorts[0 0] }
        objects{ ints[20 0 0 0 0] ints[0 0 0] }
    })");
    auto* table = static_cast<ObjectArray*>(read(kit::encodeNode(t)));
    ASSERT_NE(table, nullptr);
    auto key = [&](jint row) {
        return static_cast<IntArray*>(static_cast<ObjectArray*>(table->data()[row])->data()[0]);
    };
    game::setTableRowValue(table, 20, 2, 77);
    EXPECT_EQ(key(5)->data()[2], 77);
    game::setTableRowSubValue(table, 10, 0, 1, -5);
    EXPECT_EQ(static_cast<ShortArray*>(static_cast<ObjectArray*>(table->data()[4])->data()[1])->data()[1], -5);
    game::setTableRowAttr(table, 1, 9);
    EXPECT_EQ(key(5)->data()[3], 9);
    game::setTableRowValue(table, 99, 0, 1);  // no such key: nothing
    log.clear();
    game::setTableRowValue(table, 20, 5, 1);
    game::setTableRowSubValue(table, 20, 3, 0, 1);
    game::setTableRowAttr(table, 2, 1);
    game::setTableRowAttr(nullptr, 0, 1);
    EXPECT_TRUE(log.contains("outside"));
    EXPECT_EQ(key(5)->data()[0], 20) << "nothing else written";

    ObjectArray* grid = newObjectArray(cid::IntArray, 3);
    ObjectArray::set(grid, 0, IntArray::fill(newIntArray(2), {1, 2}));
    ObjectArray::set(grid, 2, IntArray::fill(newIntArray(1), {3}));
    ObjectArray* copy = game::copyIntTable(grid);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->data()[0], grid->data()[0]);
    EXPECT_EQ(copy->data()[1], nullptr);
    EXPECT_EQ(static_cast<IntArray*>(copy->data()[2])->data()[0], 3);
}

}  // namespace
