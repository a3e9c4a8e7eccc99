// Sprite-engine benchmarks on the 480x800 portrait screen: the pixel
// decoders per format, module and frame painting per cache mode, sprite-font
// text (glyphs per second), and a game-like scene (two tile layers of
// 36-pixel tiles, 50 sprites of 4 to 8 modules with random flags, a
// translucent rectangle, a rotated frame and a 200-character text) with its
// frame time and its heap allocations per frame, which must be 0 once the
// caches and buffers are warm: C++ heap allocations are counted by the
// replaced operator new, Java ones by the object count and the bytes in use
// of both block heaps.
#include "bench/common/alloc_counter.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "display/lcdui/lcdui.h"
#include "game/sprite/host.h"
#include "game/sprite/palette.h"
#include "game/sprite/sprite.h"
#include "game/sprite/statics.h"
#include "runtime/runtime.h"
#include "tools/kit/font.h"
#include "tools/kit/sprite.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

// --- fixtures --------------------------------------------------------------------------

std::vector<uint8_t> pixels(int w, int h, int colours, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> px(static_cast<size_t>(w) * h);
    uint8_t cur = 1;
    for (auto& p : px) {
        if (rng() % 4 == 0) cur = static_cast<uint8_t>(rng() % static_cast<unsigned>(colours));
        p = cur;
    }
    return px;
}

std::vector<uint32_t> palette(int colours, uint32_t seed) {
    std::vector<uint32_t> pal;
    for (int i = 0; i < colours; ++i) pal.push_back(i == 0 ? 0u : 0xFF000000u | (static_cast<uint32_t>(i) * 2654435761u * (seed + 1)) >> 8);
    return pal;
}

int coloursFor(uint16_t format) {
    switch (format) {
    case kit::kPixels1: return 2;
    case kit::kPixels2: return 4;
    case kit::kPixels4: return 16;
    default: return 64;
    }
}

BSprite* load(const kit::SpriteModel& model) {
    const kit::Bytes bytes = kit::encodeSprite(model);
    ByteArray* data = newByteArray(static_cast<jint>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<uint8_t*>(data->data()));
    BSprite* s = newObject<BSprite>();
    s->load(data, 0);
    s->initAlphaTables();
    return s;
}

// Sprites live in a static root array so the collector keeps them.
ObjectArray*& roots() {
    static ObjectArray* r = nullptr;
    return r;
}
void keep(jint slot, Object* o) { roots()->data()[slot] = o; }

// Module Images turned a quarter, as the game's loader leaves them.
void buildTurnedImages(BSprite* s, jint palette) {
    s->buildModuleImages(palette, 0, -1, -1);
    auto* row = static_cast<ObjectArray*>(s->moduleImageCache->data()[palette]);
    for (jint m = 0; m < row->length(); ++m)
        if (auto* img = static_cast<Image*>(row->data()[m])) {
            Image* turned = ASprite::rotateImage(img);
            row = static_cast<ObjectArray*>(s->moduleImageCache->data()[palette]);
            row->data()[m] = turned;
        }
}

kit::SpriteModel spriteModel(int modules, int size, uint16_t format, int frames, uint32_t seed) {
    std::mt19937 rng(seed);
    const int colours = coloursFor(format);
    kit::SpriteModel m;
    kit::SpriteImages img;
    img.pixelFormat = format;
    img.palettes = {palette(colours, seed)};
    m.images = img;
    for (int i = 0; i < modules; ++i)
        m.modules.push_back(kit::SpriteModule::image(size, size, pixels(size, size, colours, seed * 31 + static_cast<uint32_t>(i))));
    for (int f = 0; f < frames; ++f) {
        kit::SpriteFrame frame;
        const int n = 4 + static_cast<int>(rng() % 5);
        for (int k = 0; k < n; ++k)
            frame.modules.push_back({static_cast<int>(rng() % static_cast<unsigned>(modules)), static_cast<int>(rng() % 40) - 20,
                                     static_cast<int>(rng() % 40) - 20, 0, static_cast<uint8_t>(rng() % 8)});
        m.frames.push_back(frame);
    }
    return m;
}

kit::FontDescription benchFont() {
    kit::FontDescription f;
    f.ascent = 9;
    f.descent = 2;
    f.lineSpacing = 2;
    f.spaceAdvance = 4;
    f.images.pixelFormat = kit::kPixels4;
    f.images.palettes = {{0x00000000, 0xFFFFFFFF, 0xFF808080}};
    f.missing = kit::FontGlyph::fromRows(0, 7, {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"});
    for (char16_t c = u'!'; c <= u'~'; ++c) {
        std::vector<std::string> rows;
        for (int y = 0; y < 9; ++y) {
            std::string row;
            for (int x = 0; x < 6; ++x) row += ((c * 7 + x * 3 + y * 5) % 5 < 2) ? '#' : (x == 5 ? '2' : '.');
            rows.push_back(row);
        }
        f.glyphs.push_back(kit::FontGlyph::fromRows(c, 7, rows));
    }
    f.charMapSize = 32;
    return f;
}

BSprite* loadFont() {
    const kit::FontBuild build = kit::buildFont(benchFont());
    BSprite* font = load(build.sprite);
    ShortArray* map = newShortArray(static_cast<jint>(build.charMap.size()));
    std::copy(build.charMap.begin(), build.charMap.end(), map->data());
    font->setCharMap(map);
    return font;
}

String* text200() {
    std::string t;
    for (int i = 0; t.size() < 200; ++i) t += (i % 9 == 8) ? ' ' : static_cast<char>('A' + (i * 7) % 58);
    return String::fromLatin1(t);
}

struct Screen {
    Image* image;
    Graphics* g;
};
Screen& screen() {
    static Screen s = [] {
        Image* image = Image::createImage(480, 800);
        keep(0, image);
        Graphics* g = image->getGraphics();
        keep(1, g);
        sprite::StandaloneHost::setCurrentGraphics(g);
        return Screen{image, g};
    }();
    return s;
}

// --- decoders --------------------------------------------------------------------------

void BM_Decode(benchmark::State& state) {
    const uint16_t format = static_cast<uint16_t>(state.range(0));
    const int colours = coloursFor(format);
    const int n = 64 * 64;
    const kit::Bytes block = kit::encodePixels(format, colours, pixels(64, 64, colours, 7));
    std::vector<java::jint> pal(static_cast<size_t>(colours));
    for (int i = 0; i < colours; ++i) pal[static_cast<size_t>(i)] = static_cast<java::jint>(0xFF000000u | static_cast<uint32_t>(i) * 0x10101);
    std::vector<java::jint> out(n);
    const int shift = sprite::runShiftFor(colours);
    for (auto _ : state) {
        sprite::decodeIndexed(format, block.data(), block.size(), pal.data(), colours, (1 << shift) - 1, shift,
                              out.data(), n);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetLabel("pixels");
}
BENCHMARK(BM_Decode)
    ->ArgName("format")
    ->Arg(kit::kPixels8)
    ->Arg(kit::kPixels4)
    ->Arg(kit::kPixels2)
    ->Arg(kit::kPixels1)
    ->Arg(kit::kPixelsRunMask)
    ->Arg(kit::kPixelsRun127)
    ->Arg(kit::kPixelsRunMixed);

// --- module and frame painting per cache mode ------------------------------------

enum Mode : int64_t { kFresh, kModuleArgb, kModuleImage, kFrameArgb, kFrameImage, kFrameIndex };
const char* modeName(int64_t m) {
    const char* names[] = {"fresh decode", "ARGB module cache", "turned module Images", "ARGB frame cache",
                           "Image frame cache", "frame index images"};
    return names[m];
}

BSprite* spriteInMode(int64_t mode, jint slot) {
    BSprite* s = load(spriteModel(12, 32, kit::kPixels8, 16, 3));
    keep(slot, s);
    switch (mode) {
    case kFresh: break;
    case kModuleArgb:
        ASprite::setImageCacheEnabled(s, true);
        s->buildModuleImages(0, 0, -1, -1);
        break;
    case kModuleImage: buildTurnedImages(s, 0); break;
    case kFrameArgb:
        ASprite::setImageCacheEnabled(s, true);
        s->cacheFrameImages(0, 0, -1);
        break;
    case kFrameImage: s->cacheFrameImages(0, 0, -1); break;
    case kFrameIndex:
        s->buildFrameIndexImages(0, -1);
        s->pixelData = nullptr;
        break;
    }
    return s;
}

void BM_PaintModule(benchmark::State& state) {
    if (state.range(0) >= kFrameArgb) {
        state.SkipWithError("module painting has no frame caches");
        return;
    }
    BSprite* s = spriteInMode(state.range(0), 10);
    Graphics* g = screen().g;
    jint i = 0;
    for (auto _ : state) {
        s->paintModule(g, i % 12, 100 + (i % 37) * 13, 60 + (i % 11) * 31, i & 7);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(modeName(state.range(0))) + ", 32x32 modules");
}
BENCHMARK(BM_PaintModule)->ArgName("mode")->DenseRange(kFresh, kModuleImage);

void BM_PaintFrame(benchmark::State& state) {
    BSprite* s = spriteInMode(state.range(0), 11);
    Graphics* g = screen().g;
    jint i = 0;
    for (auto _ : state) {
        s->paintFrame(g, i % 16, 100 + (i % 37) * 13, 60 + (i % 11) * 31, i & 7, 0, 0);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(modeName(state.range(0))) + ", frames of 4-8 modules");
}
BENCHMARK(BM_PaintFrame)->ArgName("mode")->DenseRange(kFresh, kFrameIndex);

// --- text ------------------------------------------------------------------------------

void BM_Text(benchmark::State& state) {
    BSprite* font = loadFont();
    keep(12, font);
    if (state.range(0)) buildTurnedImages(font, 0);
    String* text = text200();
    keep(13, text);
    Graphics* g = screen().g;
    jint glyphs = 0;
    for (jint i = 0; i < text->length(); ++i) glyphs += text->charAt(i) != ' ';
    for (auto _ : state) font->drawString(g, text, nullptr, 5, 200, 4 | 16, false);
    state.SetItemsProcessed(state.iterations() * glyphs);
    state.SetLabel(state.range(0) ? "glyphs, turned module Images" : "glyphs, fresh decode");
}
BENCHMARK(BM_Text)->ArgName("cached")->Arg(0)->Arg(1);

void BM_MeasureText(benchmark::State& state) {
    BSprite* font = loadFont();
    keep(14, font);
    String* text = text200();
    keep(15, text);
    for (auto _ : state) benchmark::DoNotOptimize(font->getStringWidth(text));
    state.SetItemsProcessed(state.iterations() * text->length());
    state.SetLabel("characters");
}
BENCHMARK(BM_MeasureText);

// --- the scene ---------------------------------------------------------------------------

struct Scene {
    BSprite* tiles;
    BSprite* actors;
    BSprite* font;
    String* text;
    struct Actor {
        jint frame, x, y, flags;
    };
    std::vector<Actor> placed;
    jint tick = 0;

    void paint(Graphics* g) {
        // Two layers of 36-pixel tiles over the 800 x 480 play space.
        for (int layer = 0; layer < 2; ++layer) {
            const jint scroll = (tick * (layer + 1)) % 36;
            for (jint row = 0; row < 14; ++row)
                for (jint col = 0; col < 24; ++col)
                    tiles->paintModule(g, (row * 7 + col * 3 + layer) % 16, col * 36 - scroll, row * 36 - 18 * layer,
                                       layer ? (col & 1) : 0);
        }
        for (const Actor& a : placed) actors->paintFrame(g, a.frame, a.x, a.y, a.flags, 0, 0);
        tiles->paintModule(g, 16, 300, 180, 0);  // the translucent rectangle
        actors->setRotation(tick * 7);
        actors->paintFrame(g, 3, 400, 240, 0, 0, 0);
        font->drawString(g, text, nullptr, 10, 440, 4 | 16, false);
        ++tick;
    }
};

Scene& scene() {
    static Scene s = [] {
        Scene sc;
        kit::SpriteModel tiles = spriteModel(16, 36, kit::kPixels8, 0, 5);
        tiles.modules.push_back(kit::SpriteModule::fillRect(0x80204080, 200, 120));
        sc.tiles = load(tiles);
        keep(20, sc.tiles);
        buildTurnedImages(sc.tiles, 0);
        sc.actors = load(spriteModel(20, 24, kit::kPixels4, 10, 9));
        keep(21, sc.actors);
        buildTurnedImages(sc.actors, 0);
        sc.font = loadFont();
        keep(22, sc.font);
        buildTurnedImages(sc.font, 0);
        sc.text = text200();
        keep(23, sc.text);
        std::mt19937 rng(42);
        for (int i = 0; i < 50; ++i)
            sc.placed.push_back({static_cast<jint>(rng() % 10), static_cast<jint>(rng() % 800), static_cast<jint>(rng() % 480),
                                 static_cast<jint>(rng() % 8)});
        return sc;
    }();
    return s;
}

struct HeapCounts {
    uint64_t cxx;
    size_t objects, objectBytes, dataBytes;
    static HeapCounts now() {
        Application* app = Application::instance();
        return {bench::cxxAllocations(), app->objects().objectCount(), app->objectHeap().bytesInUse(),
                app->dataHeap().bytesInUse()};
    }
};

void BM_Scene(benchmark::State& state) {
    Scene& sc = scene();
    Graphics* g = screen().g;
    for (int i = 0; i < 5; ++i) sc.paint(g);  // warm-up: caches and buffers
    // The scene covers most of the screen.
    ShortArray* px = Image::getPixelShorts(screen().image);
    const jint covered = static_cast<jint>(std::count_if(px->data(), px->data() + px->length(), [](jshort v) { return v != 0; }));
    if (covered < 300000) {
        state.SkipWithError("the scene drew too little");
        return;
    }
    const HeapCounts before = HeapCounts::now();
    int64_t frames = 0;
    for (auto _ : state) {
        sc.paint(g);
        ++frames;
    }
    const HeapCounts after = HeapCounts::now();
    const double n = static_cast<double>(frames);
    state.counters["cxx_allocs_per_frame"] = static_cast<double>(after.cxx - before.cxx) / n;
    state.counters["java_objects_per_frame"] = (static_cast<double>(after.objects) - static_cast<double>(before.objects)) / n;
    state.counters["java_bytes_per_frame"] =
        (static_cast<double>(after.objectBytes + after.dataBytes) - static_cast<double>(before.objectBytes + before.dataBytes)) / n;
    state.SetItemsProcessed(frames);
    state.SetLabel("frames");
    if (after.cxx != before.cxx || after.objects != before.objects || after.objectBytes != before.objectBytes ||
        after.dataBytes != before.dataBytes)
        state.SkipWithError(("the scene allocated after warm-up: " + std::to_string(after.cxx - before.cxx) + " C++, " +
                             std::to_string(after.objects - before.objects) + " objects, " +
                             std::to_string(after.objectBytes - before.objectBytes) + " object bytes, " +
                             std::to_string(after.dataBytes - before.dataBytes) + " data bytes")
                                .c_str());
}
BENCHMARK(BM_Scene)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    std::vector<const StaticsContribution*> statics{lcdui::staticsContribution()};
    sprite::appendSpriteStatics(statics);
    Application::Config config;
    config.objectHeapSize = 16 << 20;
    config.dataHeapSize = 64 << 20;
    config.statics = &statics;
    Application::init(config);
    // Sprites of the benchmarks stay reachable through this array.
    roots() = newObjectArray(cid::Object, 32);
    ObjectManager::instance()->addRoot(reinterpret_cast<Object**>(&roots()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ObjectManager::instance()->removeRoot(reinterpret_cast<Object**>(&roots()));
    Application::instance()->close();
    return 0;
}
