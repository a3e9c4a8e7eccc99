// Loading the sprite format: every part of it under every flag that changes
// its layout, the edge cases of counts and flags, the remap trailer, and
// the rejection of damaged files (one log line, the sprite left as it was).
#include <optional>

#include "tests/game/sprite/models.h"
#include "tests/game/sprite/support.h"

#include "game/sprite/statics.h"

using namespace spritetest;
using sprite::Box;

namespace {

class LoadTest : public SpriteTest {};

std::vector<uint8_t> bytesOf(ByteArray* a) {
    std::vector<uint8_t> v;
    for (jint i = 0; a && i < a->length(); ++i) v.push_back(static_cast<uint8_t>(a->data()[i]));
    return v;
}

// The model's arrays agree with the kit's description of the sprite.
void expectModel(BSprite* s, const kit::SpriteModel& m) {
    ASSERT_EQ(s->moduleCount, static_cast<jint>(m.modules.size()));
    const int markerType[] = {0, -1, -1, -1, -1, -1, -1, 9, 8, 7, 6, 4, 3, 5, 2, 1};
    for (size_t i = 0; i < m.modules.size(); ++i) {
        const kit::SpriteModule& mod = m.modules[i];
        const jint mi = static_cast<jint>(i);
        EXPECT_EQ(s->moduleType->data()[mi], mod.marker == 0 ? 0 : markerType[mod.marker - 0xF0]) << i;
        if (mod.marker != kit::kMarkerTriangle && mod.marker != kit::kMarkerFillTriangle) {
            EXPECT_EQ(static_cast<uint8_t>(s->moduleWidth->data()[mi]), mod.width) << i;
            EXPECT_EQ(static_cast<uint8_t>(s->moduleHeight->data()[mi]), mod.height) << i;
        }
        if (mod.marker != kit::kMarkerImage && mod.marker != kit::kMarkerSizeOnly) {
            EXPECT_EQ(static_cast<uint32_t>(s->moduleColor->data()[mi]), mod.color) << i;
        }
        const jint p = s->findModuleParams(mi);
        ASSERT_EQ(p >= 0, !mod.params.empty()) << i;
        for (size_t k = 0; k < mod.params.size(); ++k)
            EXPECT_EQ(s->moduleParams->data()[p + static_cast<jint>(k)], mod.params[k]) << i << "/" << k;
    }
    ASSERT_EQ(s->getFrameCount(), static_cast<jint>(m.frames.size()));
    for (size_t f = 0; f < m.frames.size(); ++f) {
        const jint fi = static_cast<jint>(f);
        ASSERT_EQ(s->getFModuleCount(fi), static_cast<jint>(m.frames[f].modules.size()));
        for (size_t k = 0; k < m.frames[f].modules.size(); ++k) {
            const kit::FrameModule& fm = m.frames[f].modules[k];
            const jint ki = static_cast<jint>(k);
            EXPECT_EQ(s->getFModuleModule(fi, ki), fm.index);
            EXPECT_EQ(s->getFModuleX(fi, ki), fm.x);
            EXPECT_EQ(s->getFModuleY(fi, ki), fm.y);
            const jint at = s->frameFirstFModule->data()[fi] + ki;
            EXPECT_EQ(static_cast<uint8_t>(s->fmoduleFlags->data()[at]), fm.flags);
            if (s->spriteFlags & sprite::kFlagFModulePalette) {
                EXPECT_EQ(static_cast<uint8_t>(s->fmodulePalette->data()[at]), fm.palette);
            }
        }
        ASSERT_EQ(s->getFrameRectCount(fi), static_cast<jint>(m.frames[f].rects.size()));
        IntArray* rect = newIntArray(4);
        for (size_t r = 0; r < m.frames[f].rects.size(); ++r) {
            s->getFrameRectAt(fi, static_cast<jint>(r), rect, 0);
            const kit::FrameRect& e = m.frames[f].rects[r];
            EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{e.x, e.y, e.w, e.h}));
        }
    }
    ASSERT_EQ(s->getAnimCount(), static_cast<jint>(m.anims.size()));
    for (size_t a = 0; a < m.anims.size(); ++a) {
        const jint ai = static_cast<jint>(a);
        ASSERT_EQ(s->getAFrameCount(ai), static_cast<jint>(m.anims[a].frames.size()));
        for (size_t k = 0; k < m.anims[a].frames.size(); ++k) {
            const kit::AnimFrame& af = m.anims[a].frames[k];
            const jint at = s->animFirstAFrame->data()[ai] + static_cast<jint>(k);
            EXPECT_EQ(s->aframeFrame->data()[at], af.frame);
            EXPECT_EQ(s->getAFrameTime(ai, static_cast<jint>(k)), af.time);
            EXPECT_EQ(s->aframeOffsetX->data()[at], af.dx);
            EXPECT_EQ(s->aframeOffsetY->data()[at], af.dy);
            EXPECT_EQ(s->aframeFlags->data()[at], af.flags);
        }
    }
    if (m.images) {
        const kit::SpriteImages& img = *m.images;
        ASSERT_EQ(s->paletteCount, static_cast<jint>(img.palettes.size()));
        for (size_t p = 0; p < img.palettes.size(); ++p) {
            auto* pal = static_cast<IntArray*>(s->palettes->data()[p]);
            ASSERT_EQ(pal->length(), static_cast<jint>(img.palettes[p].size()));
            for (size_t i = 0; i < img.palettes[p].size(); ++i) {
                const uint32_t expected = kit::paletteToArgb(img.paletteFormat, kit::argbToPalette(img.paletteFormat, img.palettes[p][i]));
                EXPECT_EQ(static_cast<uint32_t>(pal->data()[i]), expected) << p << "/" << i;
            }
        }
        // Every image module decodes to its palette colours.
        for (size_t i = 0; i < m.modules.size(); ++i) {
            const kit::SpriteModule& mod = m.modules[i];
            if (mod.marker != kit::kMarkerImage || mod.width * mod.height == 0) continue;
            IntArray* px = s->decodeModule(static_cast<jint>(i));
            ASSERT_TRUE(px);
            auto* pal = static_cast<IntArray*>(s->palettes->data()[0]);
            for (size_t k = 0; k < mod.pixels.size(); ++k)
                ASSERT_EQ(px->data()[k], pal->data()[mod.pixels[k]]) << "module " << i << " pixel " << k;
        }
    }
}

struct Layout {
    uint16_t palette;
    uint16_t pixels;
    uint32_t flags;
};

}  // namespace

TEST_F(LoadTest, EveryPartOfTheFormatUnderEveryLayoutFlag) {
    const Layout layouts[] = {
        {kit::kPalette8888, kit::kPixels8, 0},
        {kit::kPalette4444, kit::kPixels4, kit::kSpriteWideCoords},
        {kit::kPalette5515, kit::kPixels2, kit::kSpriteWideCoords | kit::kSpriteNoBoundingBoxes},
        {kit::kPalette6505, kit::kPixels1, kit::kSpriteNoBoundingBoxes},
        {kit::kPalette8888, kit::kPixelsRunMask, kit::kSpritePixelLength32 | kit::kSpriteModuleExtra},
        {kit::kPalette8888, kit::kPixelsRun127, kit::kSpriteWideModuleIndex | kit::kSpriteWideFrameIndex},
        {kit::kPalette4444, kit::kPixelsRunMixed, kit::kSpriteWideCoords | kit::kSpriteWideModuleIndex |
                                                      kit::kSpriteWideFrameIndex | kit::kSpritePixelLength32},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << std::hex << l.palette << " " << l.pixels << " " << l.flags);
        const kit::SpriteModel m = richSprite(l.palette, l.pixels, l.flags);
        BSprite* s = loadSprite(m);
        EXPECT_EQ(static_cast<uint32_t>(s->spriteFlags), kit::spriteFlags(m));
        expectModel(s, m);
        EXPECT_EQ(s->moduleExtra != nullptr, (kit::spriteFlags(m) & kit::kSpriteModuleExtra) != 0);
        if (s->moduleExtra) {
            EXPECT_EQ(s->moduleExtra->data()[1], 9);
        }
        EXPECT_EQ(s->moduleRemapIndex, -1);
        EXPECT_EQ(s->currentPalette, 0);
    }
}

TEST_F(LoadTest, CountsAndFlagsAtTheirEdges) {
    // No modules: 2 bytes of module section, frame modules from offset 8.
    {
        kit::SpriteModel m;
        m.frames.push_back({});
        kit::Bytes bytes = kit::encodeSprite(m);
        BSprite* s = loadSprite(bytes);
        EXPECT_EQ(s->moduleCount, 0);
        EXPECT_EQ(s->moduleType, nullptr);
        EXPECT_EQ(s->moduleRemapTables, nullptr);
        EXPECT_EQ(s->getFrameCount(), 1);
        EXPECT_EQ(bytes[8] | bytes[9] << 8, 0);  // the frame-module count
    }
    // Colours byte 0: 256 colours; the run shift and mask of 0x64F0 follow.
    {
        kit::SpriteModel m;
        kit::SpriteImages img;
        img.pixelFormat = kit::kPixelsRunMask;
        img.palettes = testPalettes(1, 256);
        m.images = img;
        m.modules.push_back(kit::SpriteModule::image(4, 1, {0, 255, 255, 7}));
        BSprite* s = loadSprite(m);
        EXPECT_EQ(s->colorCount, 256);
        EXPECT_EQ(s->pixelRunShift, 8);
        EXPECT_EQ(s->pixelIndexMask, 255);
        IntArray* px = s->decodeModule(0);
        auto* pal = static_cast<IntArray*>(s->palettes->data()[0]);
        EXPECT_EQ(px->data()[1], pal->data()[255]);
        EXPECT_EQ(px->data()[3], pal->data()[7]);
    }
    // Sixteen colours: shift 4, mask 15.
    {
        kit::SpriteModel m;
        kit::SpriteImages img;
        img.pixelFormat = kit::kPixelsRunMask;
        img.palettes = testPalettes(1, 16);
        m.images = img;
        m.modules.push_back(kit::SpriteModule::image(1, 1, {3}));
        BSprite* s = loadSprite(m);
        EXPECT_EQ(s->pixelRunShift, 4);
        EXPECT_EQ(s->pixelIndexMask, 15);
    }
}

TEST_F(LoadTest, NegativeRectangleCountLowersTheNextStart) {
    kit::SpriteModel m = richSprite();
    kit::FileLayout layout;
    kit::Bytes bytes = kit::encodeSprite(m, &layout);
    // Frame 0 has two rectangles; a count of -1 makes frame 1 start at -1:
    // outside the block, rejected. Frame 1 (no rectangles) with -1 instead
    // makes frame 2 start at 1, inside: accepted, frame 1 has none.
    const kit::FileField* f0 = layout.find("frame.rects", 0);
    const kit::FileField* f1 = layout.find("frame.rects", 1);
    ASSERT_TRUE(f0 && f1);
    {
        LogCapture log;
        kit::Bytes b = bytes;
        b[f0->offset] = 0xFD;  // -3
        BSprite* s = loadSprite(b);
        EXPECT_EQ(s->getFrameCount(), 0);
        EXPECT_TRUE(log.contains("BSprite::load: rejected"));
    }
    {
        kit::Bytes b = bytes;
        b[f1->offset] = 0xFF;  // -1
        BSprite* s = loadSprite(b);
        ASSERT_EQ(s->getFrameCount(), 4);
        EXPECT_EQ(s->frameRectStart->data()[2], 1);
        EXPECT_EQ(s->getFrameRectCount(1), -1);
        IntArray* rect = newIntArray(4);
        s->getFrameRectAt(1, 0, rect, 0);
        EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{0, 0, 0, 0}));
        // Frame 2 now shares frame 0's second rectangle.
        s->getFrameRectAt(2, 0, rect, 0);
        EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{3, 4, 200, 7}));
    }
}

// The kit's inspection reads by the engine's rules: for files the kit's
// writer never makes (a negative rectangle count, frame-module and
// animation ranges that overlap, come out of order or leave records
// unowned, bytes after the body) it accepts exactly what the engine loads,
// gives the frames the engine paints, and notes each irregularity; the
// strict reader still refuses them.
TEST_F(LoadTest, KitInspectionAcceptsWhatTheEngineLoads) {
    const kit::SpriteModel m = richSprite();
    kit::FileLayout layout;
    const kit::Bytes bytes = kit::encodeSprite(m, &layout);
    struct Patch {
        const char* group;
        int index;
        int value;
    };
    struct Case {
        const char* name;
        std::vector<Patch> patches;
        size_t appended;
        bool loads;
    };
    const Case cases[] = {
        {"negative rectangle count, next start inside", {{"frame.rects", 1, -1}}, 0, true},
        {"negative rectangle count, next start below 0", {{"frame.rects", 0, -3}}, 0, false},
        {"frame 1 reuses frame 0's first module", {{"frame.first", 1, 0}}, 0, true},
        {"ranges out of order", {{"frame.first", 0, 1}, {"frame.first", 1, 0}}, 0, true},
        {"a range that makes a frame contain itself", {{"frame.first", 0, 3}}, 0, false},
        {"range past the block", {{"frame.first", 2, 6}}, 0, false},
        {"empty frame with a wild first", {{"frame.first", 3, 0x7FFF}}, 0, true},
        {"negative first of a frame with modules", {{"frame.first", 1, -1}}, 0, false},
        {"an animation frame no animation owns", {{"anim.aframes", 0, 2}}, 0, true},
        {"bytes after the body", {}, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kit::Bytes b = bytes;
        for (const Patch& p : c.patches) {
            const kit::FileField* f = layout.find(p.group, p.index);
            ASSERT_TRUE(f);
            for (size_t i = 0; i < f->width; ++i) b[f->offset + i] = static_cast<uint8_t>(p.value >> (8 * i));
        }
        if (c.appended) {
            // Before the remap trailer, when there is one, so that it stays
            // where the engine finds it.
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(layout.boundaries.back().name == "remap-marker"
                                                                 ? layout.find("remap.position")->offset
                                                                 : b.size()),
                     c.appended, 0);
        }
        LogCapture log;
        BSprite* s = loadSprite(b);
        const bool engineLoads = s->getFrameCount() > 0;
        EXPECT_EQ(engineLoads, c.loads) << (log.lines().empty() ? "" : log.lines().back());
        std::optional<kit::SpriteModel> read;
        try {
            read = kit::parseSprite(b, nullptr, kit::SpriteReading::AsEngine);
        } catch (const kit::KitError& e) {
            EXPECT_FALSE(engineLoads) << e.what();
        }
        EXPECT_EQ(read.has_value(), engineLoads);
        if (!read) continue;
        EXPECT_THROW(kit::parseSprite(b), kit::KitError);
        EXPECT_FALSE(read->notes.empty());
        EXPECT_NE(kit::describeSprite(*read).find("note: "), std::string::npos);
        // The frames and animations the engine paints.
        ASSERT_EQ(read->frames.size(), static_cast<size_t>(s->getFrameCount()));
        for (jint f = 0; f < s->getFrameCount(); ++f) {
            const kit::SpriteFrame& fr = read->frames[static_cast<size_t>(f)];
            ASSERT_EQ(fr.modules.size(), static_cast<size_t>(s->getFModuleCount(f))) << f;
            for (jint k = 0; k < s->getFModuleCount(f); ++k) {
                EXPECT_EQ(fr.modules[static_cast<size_t>(k)].index, s->getFModuleModule(f, k)) << f << "/" << k;
                EXPECT_EQ(fr.modules[static_cast<size_t>(k)].x, s->getFModuleX(f, k)) << f << "/" << k;
            }
            EXPECT_EQ(static_cast<jint>(fr.rects.size()), std::max<jint>(s->getFrameRectCount(f), 0)) << f;
        }
        ASSERT_EQ(read->anims.size(), static_cast<size_t>(s->getAnimCount()));
        for (jint a = 0; a < s->getAnimCount(); ++a)
            EXPECT_EQ(read->anims[static_cast<size_t>(a)].frames.size(), static_cast<size_t>(s->getAFrameCount(a))) << a;
    }
}

TEST_F(LoadTest, RemapTrailer) {
    // Without a trailer: table 0 is the identity and no table is active.
    {
        BSprite* s = loadSprite(richSprite());
        auto* t0 = static_cast<ShortArray*>(s->moduleRemapTables->data()[0]);
        ASSERT_TRUE(t0);
        for (jint i = 0; i < s->moduleCount; ++i) EXPECT_EQ(t0->data()[i], i);
        EXPECT_EQ(s->moduleRemapTables->data()[1], nullptr);
        EXPECT_EQ(s->getModuleRemapIndex(), -1);
    }
    // With one: the tables apply only once selected.
    kit::SpriteModel m = richSprite();
    m.remap = std::vector<std::vector<kit::RemapPair>>{{{0, 1}}, {{1, 0}, {5, 3}}};
    BSprite* s = loadSprite(m);
    ASSERT_TRUE(s->moduleRemapTables);
    EXPECT_EQ(s->getModuleRemapIndex(), -1);
    auto* t1 = static_cast<ShortArray*>(s->moduleRemapTables->data()[1]);
    ASSERT_TRUE(t1);
    EXPECT_EQ(t1->data()[1], 0);
    EXPECT_EQ(t1->data()[5], 3);
    EXPECT_EQ(t1->data()[2], 2);
    EXPECT_EQ(s->getFrameWidth(1), 30);  // frame 1 is module 5, 30 x 40
    s->setModuleRemapIndex(1);
    EXPECT_EQ(s->getFrameWidth(1), 10);  // now module 3, 10 x 12
    s->setModuleRemapIndex(0);
    EXPECT_EQ(s->getFrameWidth(1), 30);
}

TEST_F(LoadTest, DamagedFilesAreRejectedAndTheSpriteKept) {
    kit::SpriteModel m = richSprite();
    m.remap = std::vector<std::vector<kit::RemapPair>>{{{0, 1}}};
    kit::FileLayout layout;
    const kit::Bytes good = kit::encodeSprite(m, &layout);
    auto patched = [&](const char* group, int index, int64_t value) {
        const kit::FileField* f = layout.find(group, index);
        EXPECT_TRUE(f) << group;
        kit::Bytes b = good;
        if (!f) return b;
        for (int i = 0; i < f->width; ++i) b[f->offset + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        return b;
    };
    struct Case {
        const char* name;
        kit::Bytes bytes;
        const char* reason;
    };
    kit::Bytes selfNested = patched("fmodule.module", 0, 0);
    selfNested[layout.find("fmodule.flags", 0)->offset] |= kit::kFModuleNestedFrame;
    kit::Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(layout.find("frames.count")->offset + 1));
    const Case cases[] = {
        {"palettes above 16", patched("palette.count", -1, 17), "17 palettes"},
        {"negative pixel length", patched("pixel.length", 1, 0xFFF0), "pixel block of -16 bytes"},
        {"pixel block past the end", patched("pixel.length", 0, 0x7000), "runs past the data"},
        {"module index out of range", patched("fmodule.module", 1, 200), "names module 200"},
        {"frame range out of range", patched("frame.first", 1, 100), "frame 1 uses frame modules"},
        {"animation frame out of range", patched("aframe.frame", 0, 9), "shows frame 9"},
        {"animation range out of range", patched("anim.first", 0, 7), "animation 0 uses"},
        {"nested frame containing itself", selfNested, "contains itself"},
        {"unknown marker", patched("module.marker", 3, 0xF0), "unknown marker 0xF0"},
        {"unknown palette format", patched("palette.format", -1, 0x1234), "unknown palette format"},
        {"unknown pixel format", patched("pixel.format", -1, 0x1234), "unknown pixel format"},
        {"remap tables above 16", patched("remap.tables", -1, 17), "17 remap tables"},
        {"remap pair out of range", patched("remap.pair.module", 0, 99), "maps module 99"},
        {"remap replacement negative", patched("remap.pair.replacement", 0, 0xFFFF), "to -1"},
        {"remap position outside", patched("remap.position", -1, 0x7FFFFFFF), "remap trailer position"},
        {"truncated", cut, "runs past the end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        BSprite* s = loadSprite(richSprite());
        ASSERT_EQ(s->moduleCount, 12);
        ByteArray* data = javaBytes(c.bytes);
        s->load(data, 0);
        EXPECT_TRUE(log.contains("BSprite::load: rejected")) << testing::PrintToString(log.lines());
        EXPECT_TRUE(log.contains(c.reason)) << testing::PrintToString(log.lines());
        // The earlier load stands.
        EXPECT_EQ(s->moduleCount, 12);
        EXPECT_EQ(s->getFrameCount(), 4);
    }
}

TEST_F(LoadTest, ShortBlocksAndForeignIndicesGiveTransparentPixels) {
    kit::SpriteModel m;
    kit::SpriteImages img;
    img.pixelFormat = kit::kPixels8;
    img.palettes = {{0xFF112233, 0xFF445566, 0xFF778899}};
    m.images = img;
    m.modules.push_back(kit::SpriteModule::image(3, 2, {1, 2, 1, 2, 1, 2}));
    m.modules.back().pixelBlock = kit::Bytes{1, 9, 2};  // an index past the palette, then three pixels short
    BSprite* s = loadSprite(m);
    ASSERT_EQ(s->moduleCount, 1);
    EXPECT_TRUE(s->hasTransparency);  // the opaque palette alone would not say so
    IntArray* px = s->decodeModule(0);
    EXPECT_EQ(std::vector<jint>(px->data(), px->data() + 6),
              (std::vector<jint>{static_cast<jint>(0xFF445566), 0, static_cast<jint>(0xFF778899), 0, 0, 0}));
}

TEST_F(LoadTest, LargestModulesGrowTheWorkBuffers) {
    kit::SpriteModel m;
    kit::SpriteImages img;
    img.pixelFormat = kit::kPixels8;
    img.palettes = testPalettes(1, 40);
    m.images = img;
    m.modules.push_back(kit::SpriteModule::image(255, 255, patternPixels(255, 255, 40, 3)));
    BSprite* s = loadSprite(m);
    ASSERT_EQ(s->maxModulePixels, 255 * 255);
    EXPECT_GE(sprite::as().workPixels->length(), 255 * 255);
    EXPECT_GE(sprite::as().workPixels2->length(), 255 * 255);
    IntArray* px = s->decodeModule(0);
    ASSERT_TRUE(px);
    auto* pal = static_cast<IntArray*>(s->palettes->data()[0]);
    const std::vector<uint8_t> expected = patternPixels(255, 255, 40, 3);
    EXPECT_EQ(px->data()[255 * 255 - 1], pal->data()[expected.back()]);
}

TEST_F(LoadTest, NullDataAndBadOffsetsLeaveTheSpriteEmpty) {
    LogCapture log;
    BSprite* s = newObject<BSprite>();
    s->load(nullptr, 0);
    EXPECT_EQ(s->moduleCount, 0);
    ByteArray* data = javaBytes(kit::encodeSprite(richSprite()));
    s->load(data, -1);
    s->load(data, data->length() + 1);
    EXPECT_EQ(s->moduleCount, 0);
    EXPECT_TRUE(log.contains("data offset"));
    // An offset inside a larger array works.
    kit::Bytes padded(5, 0xEE);
    const kit::Bytes body = kit::encodeSprite(richSprite());
    padded.insert(padded.end(), body.begin(), body.end());
    ByteArray* shifted = javaBytes(padded);
    s->load(shifted, 5);
    EXPECT_EQ(s->moduleCount, 12);
    EXPECT_EQ(bytesOf(nullptr).size(), 0u);
}
