// Level data loading: sprite preparation modes read back from the engine's
// caches, tile layers (masks, flags, the region flag, damaged layers), the
// math tables, and the level reset and fixed actors through test hooks.
#include <gtest/gtest.h>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/actor/tables.h"
#include "tools/kit/actortables.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/progress.h"
#include "display/lcdui/image.h"
#include "game/sprite/sprite.h"
#include "tools/kit/png.h"
#include "tests/game/data/support.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_data.h"
#include "tools/kit/describe.h"

namespace {

using namespace datatest;
using game::cg;

// The demo character with a third palette.
Bytes threePaletteSprite() {
    std::string d = kit::kDemoHeroSprite;
    const std::string second = "palette 00000000 FF402010 FFE0B080 FFD04030 FFF0F0F0 80000000\n";
    d.insert(d.find(second) + second.size(), "palette 00000000 FF104020 FF80B0E0 FF30D040 FFF0F0F0 FF000000\n");
    return kit::encodeSprite(kit::parseSpriteDescription(d));
}

class LevelTest : public GameDataTest {
protected:
    void openPack(const std::string& name, const std::vector<kit::PackEntry>& entries) {
        addPack(name, kit::buildPack(entries));
        game::closePack();
        cg().packName = nullptr;
        ASSERT_TRUE(game::readPackHeader(jstr(name)));
    }
};

bool rowFilled(ObjectArray* cache, jint p) {
    if (!cache || p >= cache->length() || !cache->data()[p]) return false;
    auto* row = static_cast<ObjectArray*>(cache->data()[p]);
    for (jint i = 0; i < row->length(); ++i)
        if (row->data()[i]) return true;
    return false;
}

TEST_F(LevelTest, LoadSpriteFlagTable) {
    openPack("pack30", {{.payload = threePaletteSprite()}, {.payload = threePaletteSprite(), .compress = true}});
    struct Case {
        const char* name;
        jint flags;
        const char* cache;  // "frame", "module", "frameRGB", "moduleRGB", "index", "none"
        std::vector<bool> palettes;
        bool keepsData;
    };
    const Case cases[] = {
        {"mode 0", 0, "none", {}, false},
        {"mode 2, mask 0x30", 0x32, "frame", {true, true, false}, false},
        {"mode 2, all", 0x2, "frame", {true, true, true}, false},
        {"mode 2, palette 2 only", 0x42, "frame", {false, false, true}, false},
        {"mode 2, alpha palette", 0x2 | game::kSpriteAlphaPalette, "frame", {true, true, false}, false},
        {"mode 1", 0x1, "module", {true, true, true}, false},
        {"mode 3, mask 0x20", 0x23, "moduleRGB", {false, true, false}, false},
        {"mode 5", 0x5, "frameRGB", {true, true, true}, false},
        {"mode 4 keeps data", 0x4, "none", {}, true},
        {"mode 2 with bit 20", 0x12 | game::kSpriteKeepData, "frame", {true, false, false}, true},
        {"mode 6", 0x6, "index", {}, false},
        {"mode 7, frames 0-1", 0x7 | (0 << 4) | (1 << 12), "index", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectArray* table = newObjectArray(cid::Object, 4);
        game::loadSprite(table, 1, 2, c.flags);
        auto* s = static_cast<BSprite*>(table->data()[2]);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->hasPixelData(), c.keepsData);
        const std::string cache = c.cache;
        ObjectArray* rows = cache == "frame"       ? s->frameImageCache
                            : cache == "module"    ? s->moduleImageCache
                            : cache == "frameRGB"  ? s->frameRGBCache
                            : cache == "moduleRGB" ? s->moduleRGBCache
                                                   : nullptr;
        for (size_t p = 0; p < c.palettes.size(); ++p)
            EXPECT_EQ(rowFilled(rows, static_cast<jint>(p)), c.palettes[p]) << "palette " << p;
        if (cache == "none") {
            EXPECT_FALSE(rowFilled(s->frameImageCache, 0));
            EXPECT_FALSE(rowFilled(s->moduleImageCache, 0));
        }
        if (cache == "index") {
            EXPECT_NE(s->frameIndexImages, nullptr);
        }
        if (c.flags & game::kSpriteAlphaPalette) {
            EXPECT_TRUE(s->alphaFromLastPalette);
        }
        if (cache == "module") {
            EXPECT_TRUE(s->moduleImagesRotated);
        }
        // A filled slot is left alone.
        game::loadSprite(table, 0, 2, 0x2);
        EXPECT_EQ(table->data()[2], s);
    }
    log.clear();
    game::loadSprite(newObjectArray(cid::Object, 2), 0, 2, 0);
    game::loadSprite(nullptr, 0, 0, 0);
    EXPECT_TRUE(log.contains("outside its table"));
}

// A load mode that builds no pictures and drops the pixels leaves a sprite
// whose image modules draw nothing: the loader says so once, naming the
// entry; modes that keep a picture say nothing.
TEST_F(LevelTest, LoadSpriteSaysWhenNoPicturesAreKept) {
    openPack("pack39", {{.payload = threePaletteSprite()}});
    const struct {
        jint flags;
        bool logged;
    } cases[] = {{0, true}, {0x4, false}, {0x1, false}, {0x6, false}, {game::kSpriteKeepData, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        log.clear();
        game::loadSprite(newObjectArray(cid::Object, 4), 0, 1, c.flags);
        EXPECT_EQ(log.contains("sprite: entry 0 (slot 1, load mode 0) keeps no pixels"), c.logged);
    }
}

TEST_F(LevelTest, CreateSpriteTakesItsPictureFromTheNextEntry) {
    // A sprite without images: its picture is the next entry's PNG.
    const Bytes frameOnly = kit::encodeSprite(kit::parseSpriteDescription(
        "sprite\nmodule size 40 24\nframe\nfm 0 0 0\n"));
    std::vector<uint32_t> px(40 * 24, 0xFF336699u);
    openPack("pack31", {{.payload = frameOnly},
                        {.payload = kit::encodePngRgba(40, 24, px)},
                        {.payload = frameOnly},
                        {.payload = {1, 2, 3}}});
    BSprite* s = game::createSprite(0, false, false, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->spriteFlags & sprite::kFlagNoAnimCache);
    ASSERT_NE(s->moduleImageCache, nullptr);
    ASSERT_EQ(s->moduleImageCache->length(), 1);
    auto* row = static_cast<ObjectArray*>(s->moduleImageCache->data()[0]);
    ASSERT_EQ(row->length(), 1);
    auto* img = static_cast<javax_microedition_lcdui_Image*>(row->data()[0]);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->getWidth(), 24) << "stored turned a quarter";
    EXPECT_EQ(img->getHeight(), 40);
    // Entry 3 is no picture: logged, the sprite stays usable.
    log.clear();
    BSprite* t = game::createSprite(2, false, true, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(log.contains("holds no picture"));
    EXPECT_EQ(Application::pendingException(), nullptr);
}

kit::LayerGrid grid(int w, int h, std::vector<uint16_t> tiles, std::vector<uint8_t> flags = {}) {
    kit::LayerGrid g;
    g.width = w;
    g.height = h;
    g.tiles = std::move(tiles);
    for (int i = 0; i < w * h; ++i) g.cells.push_back(static_cast<uint8_t>(i % g.tiles.size()));
    g.flags = flags.empty() ? std::vector<uint8_t>(static_cast<size_t>(w * h), 0) : flags;
    return g;
}

TEST_F(LevelTest, LayersMasksFlagsAndTheRegionFlag) {
    std::array<std::optional<kit::LayerGrid>, 5> layers;
    layers[0] = grid(3, 2, {100, 200, 300}, {0, 2, 1, 3, 0, 0});
    layers[2] = grid(10, 1, {7});
    layers[4] = grid(4, 5, {11, 12});
    openPack("pack32", kit::levelPackEntries(layers, {{1, 2}, {}, {3}}, true));

    game::loadLevelLayers(0, 0);
    auto* l0 = static_cast<ShortArray*>(cg().layerMaps->data()[0]);
    ASSERT_NE(l0, nullptr);
    EXPECT_EQ(l0->data()[0], 100) << "cell 0 takes the table's first entry";
    EXPECT_EQ(static_cast<uint16_t>(l0->data()[1]), 200 | 0x8000) << "flag 2 sets bit 15";
    EXPECT_EQ(l0->data()[2], 300 | 0x4000);
    EXPECT_EQ(static_cast<uint16_t>(l0->data()[3]), 100 | 0xC000);
    EXPECT_EQ(cg().layerMaps->data()[1], nullptr) << "absent layer";
    EXPECT_EQ(static_cast<ShortArray*>(cg().layerSizes->data()[1])->data()[0], 0);
    EXPECT_NE(cg().layerMaps->data()[2], nullptr);
    EXPECT_EQ(cg().mapPixelWidth, 10 * 36);
    EXPECT_EQ(cg().mapPixelHeight, 5 * 36);
    EXPECT_EQ(cg().collisionWidth, 4);
    EXPECT_EQ(cg().collisionHeight, 5);
    ASSERT_NE(cg().collisionMap, nullptr);
    EXPECT_EQ(cg().collisionMap, cg().layerMaps->data()[4]);

    // Mask 0x10 loads only the collision layer; the region flag drops it.
    for (jint l = 0; l < 5; ++l) ObjectArray::set(cg().layerMaps, l, nullptr);
    cg().regionFlags->data()[3] = 1;
    game::loadLevelLayers(3, 0x10);
    EXPECT_EQ(cg().layerMaps->data()[0], nullptr);
    EXPECT_EQ(cg().layerMaps->data()[4], nullptr);
    EXPECT_EQ(cg().collisionMap, nullptr);
    EXPECT_EQ(cg().collisionWidth, 4);
    cg().regionFlags->data()[3] = 0;
    game::loadLevelLayers(3, 0x10);
    EXPECT_EQ(cg().layerMaps->data()[0], nullptr);
    EXPECT_NE(cg().layerMaps->data()[4], nullptr);
}

TEST_F(LevelTest, DamagedLayersAreRefusedAndLeftAsBefore) {
    auto entriesWith = [](std::function<void(std::vector<kit::PackEntry>&)> damage) {
        std::array<std::optional<kit::LayerGrid>, 5> layers;
        layers[1] = grid(3, 3, {5, 6});
        std::vector<kit::PackEntry> e = kit::levelPackEntries(layers);
        damage(e);
        return e;
    };
    auto header = [](int w, int h, int n) {
        kit::ByteWriter b;
        b.le16(static_cast<uint32_t>(w));
        b.le16(static_cast<uint32_t>(h));
        b.u8(static_cast<uint32_t>(n));
        for (int i = 0; i < n; ++i) b.le16(1);
        return b.take();
    };
    struct Case {
        const char* name;
        std::function<void(std::vector<kit::PackEntry>&)> damage;
        const char* logged;
    };
    const Case cases[] = {
        {"width 0", [&](auto& e) { e[4].payload = header(0, 3, 2); }, "size 0 x 3"},
        {"height -1", [&](auto& e) { e[4].payload = header(3, -1, 2); }, "size 3 x -1"},
        {"header cut short", [&](auto& e) { e[4].payload = {3, 0}; }, "cut short"},
        {"tile table cut short", [&](auto& e) { e[4].payload.resize(6); }, "tile table"},
        {"short cells", [&](auto& e) { e[3].payload.resize(8); }, "cells for"},
        {"short flags", [&](auto& e) { e[5].payload.resize(2); }, "flag bytes"},
        {"missing flags", [&](auto& e) { e[5] = kit::PackEntry{.empty = true}; }, "flag bytes"},
        {"cell past the tiles", [&](auto& e) { e[3].payload[4] = 2; }, "names tile 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShortArray* before = newShortArray(1);
        ObjectArray::set(cg().layerMaps, 1, before);
        ShortArray::fill(static_cast<ShortArray*>(cg().layerSizes->data()[1]), {7, 8});
        files().clear();
        openPack("pack33", entriesWith(c.damage));
        log.clear();
        game::loadLevelLayer(3, 1);
        EXPECT_EQ(cg().layerMaps->data()[1], before);
        EXPECT_EQ(static_cast<ShortArray*>(cg().layerSizes->data()[1])->data()[0], 7);
        EXPECT_TRUE(log.contains(c.logged));
    }
}

TEST_F(LevelTest, MathTables) {
    std::vector<kit::PackEntry> e = {{.payload = kit::encodeNode(kit::demoSineNode()), .compress = true},
                                     {.payload = kit::encodeNode(kit::DataNode::ints({1, 2}, 1))}};
    addPack("pack34", kit::buildPack(e));
    game::loadMathTables(jstr("pack34"), 0, 1);
    auto* sine = static_cast<IntArray*>(cg().sineTable);
    ASSERT_NE(sine, nullptr);
    ASSERT_EQ(sine->length(), 513);
    EXPECT_EQ(sine->data()[0], 0);
    EXPECT_EQ(sine->data()[512], 16384);
    EXPECT_EQ(sine->data()[256], 11585);
    ASSERT_NE(cg().extraMathTable, nullptr);
    EXPECT_EQ(cg().packStream, nullptr) << "the pack is closed afterwards";
    game::loadMathTables(jstr("pack34"), -1, 0);
    EXPECT_EQ(cg().sineTable, nullptr);
    ASSERT_NE(cg().extraMathTable, nullptr);
    EXPECT_EQ(static_cast<IntArray*>(cg().extraMathTable)->length(), 513);
}

// The first subtype of the demo actor tables in that class, or -1.
jint subtypeOfClass(jint cls) {
    for (jint t = 0; t < 273; ++t)
        if (game::subtypeClassOf(t) == cls) return t;
    return -1;
}

// The first subtype of a class the level loader leaves alone, or -1.
jint subtypeOfAnotherClass() {
    for (jint t = 0; t < 273; ++t) {
        const jint c = game::subtypeClassOf(t);
        if (c > 0 && c != 44 && c != 45) return t;
    }
    return -1;
}

TEST_F(LevelTest, FixedActorsAndTheLevelReset) {
    // The actor framework's own tables (the kit's demo file) sort the
    // records into classes: 0 characters, 45 items, 44 platforms.
    const kit::Bytes tables = kit::encodeActorTables(kit::demoActorTables());
    ASSERT_TRUE(game::loadActorTables(tables));
    game::createActorPool();
    const jint character = 0, item = subtypeOfClass(45), platform = subtypeOfClass(44), other = subtypeOfAnotherClass();
    ASSERT_GE(item, 0);
    ASSERT_GE(platform, 0);
    ASSERT_GE(other, 0);
    ASSERT_EQ(game::subtypeClassOf(2099), -1);
    auto rec = [](jint subtype, jint id, std::vector<int16_t> params = {}) {
        const std::vector<int16_t> r = kit::levelActorRecord(subtype, id, 100, 100, 0, 0xA0, params);
        return std::vector<jshort>(r.begin(), r.end());
    };
    // Records: four characters (one too many), an item worth 5, a
    // platform, an unknown type and one of another class.
    const std::vector<std::vector<jshort>> records = {rec(character, 1), rec(character, 2), rec(item, 3, {0, 5}),
                                                      rec(platform, 4),  rec(character, 5), rec(2099, 6),
                                                      rec(other, 7),     rec(character, 8)};
    std::vector<jshort> starts, values;
    for (const auto& r : records) {
        starts.push_back(static_cast<jshort>(values.size()));
        values.insert(values.end(), r.begin(), r.end());
    }
    starts.push_back(static_cast<jshort>(values.size()));
    auto shortsOf = [](const std::vector<jshort>& v) {
        ShortArray* a = newShortArray(static_cast<jint>(v.size()));
        std::copy(v.begin(), v.end(), a->data());
        return a;
    };
    cg().recordStarts = shortsOf(starts);
    cg().recordValues = shortsOf(values);
    cg().itemsTotal = 0;
    game::spawnLevelActors();
    EXPECT_TRUE(log.contains("type 2099"));
    EXPECT_TRUE(log.contains("beyond the three slots"));
    EXPECT_EQ(cg().itemsTotal, 5);
    ASSERT_NE(cg().characterSlots, nullptr);
    ASSERT_NE(cg().hero, nullptr);
    EXPECT_EQ(reinterpret_cast<Object*>(cg().hero), cg().characterSlots->data()[0]);
    EXPECT_EQ(cg().hero->uniqueId, 1);
    ASSERT_NE(cg().characterSlots->data()[2], nullptr);
    EXPECT_EQ(reinterpret_cast<cActor*>(cg().characterSlots->data()[2])->uniqueId, 5);
    EXPECT_EQ(game::ca().levelMark, -1) << "the per-level counters reset first";

    // With a hero, characters are not made again.
    cActor* hero = cg().hero;
    game::spawnLevelActors();
    EXPECT_FALSE(cg().spawnFixedActors);
    EXPECT_EQ(cg().hero, hero);
    EXPECT_EQ(cg().itemsTotal, 10) << "the item again";

    hero->flags |= 0x200;
    game::ca().heroInputLock = 7;
    game::ca().grabMode = 3;
    cg().difficulty = 2;
    cg().mapPixelWidth = 720;
    cg().mapPixelHeight = 360;
    cg().cameraX = 55;
    game::resetProgress(true);
    game::resetPlayState();
    // The camera snapped anew onto the hero inside the new limits (a
    // 720-pixel map is narrower than the 800-pixel view).
    EXPECT_NE(cg().cameraX, 55);
    EXPECT_EQ(cg().cameraTarget, nullptr);
    EXPECT_EQ(cg().lookMode, 99);
    EXPECT_EQ(cg().cameraLimits->data()[2], 720);
    EXPECT_EQ(cg().cameraLimits->data()[3], 360);
    EXPECT_EQ(cg().displayIdA, -13148160);
    EXPECT_EQ(cg().panelPosition, 240);
    EXPECT_EQ(cg().bossMaskCount, 17);
    EXPECT_EQ(cg().heroStatus->data()[9], 10) << "level variables from slot 2";
    EXPECT_EQ(cg().heroStatus->data()[5], 2);
    EXPECT_EQ(cg().displayValues->data()[0], -1);
    EXPECT_EQ(hero->flags & 0x200, 0);
    EXPECT_EQ(game::ca().heroInputLock, 0);
    EXPECT_EQ(game::ca().grabMode, 10) << "a carried actor let go";
    EXPECT_EQ(game::ca().grabbedActor, nullptr);
    EXPECT_EQ(game::ca().trackedCount, 0);
}

}  // namespace
