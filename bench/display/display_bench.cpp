// fillRect, drawImage / drawRegion per transform and source type, and
// drawRGB with alpha, on the 480x800 RGB565 screen; pixman doing the same
// operation runs beside each (fill; source copy with the same transform;
// OVER of a8r8g8b8 or a4r4g4b4 onto r5g6b5). Prints ours/pixman per
// operation after the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "display/graphics.h"
#include "display/log.h"
#include "display/surface.h"

#ifdef BRAMBLE_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace {

using namespace display;
using java::jint;

constexpr jint kW = 480, kH = 800, kSprite = 256;

struct Screen {
    std::vector<uint16_t> pixels = std::vector<uint16_t>(kW * kH, 0x4208);
    Surface surface() { return Surface::wrap16(pixels.data(), kW, kH, kW * 2); }
};

// A sprite-like picture: a third transparent, a third opaque, the rest in
// between (for ARGB sources); a third key pixels for the keyed source.
std::vector<uint32_t> spriteArgb(int n) {
    std::mt19937 rng(5);
    std::vector<uint32_t> v(static_cast<size_t>(n));
    for (auto& p : v) {
        const uint32_t rgb = rng() & 0xFFFFFF;
        switch (rng() % 3) {
        case 0: p = rgb; break;
        case 1: p = 0xFF000000 | rgb; break;
        default: p = (rng() % 255) << 24 | rgb; break;
        }
    }
    return v;
}

Image makeSprite(PixelType type) {
    Image img = *Image::allocate(kSprite, kSprite, static_cast<uint32_t>(type));
    std::vector<uint32_t> argb = spriteArgb(kSprite * kSprite);
    Surface s = img.surface();
    for (jint y = 0; y < kSprite; ++y)
        for (jint x = 0; x < kSprite; ++x) {
            const uint32_t p = argb[static_cast<size_t>(y * kSprite + x)];
            uint16_t v = type == PixelType::Argb4444 ? argb4444(p) : rgb565(p);
            if (type == PixelType::Rgb565Keyed && (p >> 24) == 0) v = kKeyColour565;
            s.at16(x, y) = v;
        }
    return img;
}

// --- ours -----------------------------------------------------------------------

void BM_FillOurs(benchmark::State& state) {
    Screen screen;
    GraphicsState st = GraphicsState::forTarget(kW, kH);
    Graphics g(st, screen.surface());
    g.setColor(0x336699);
    for (auto _ : state) {
        g.fillRect(0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

void BM_FillTranslucentOurs(benchmark::State& state) {
    Screen screen;
    GraphicsState st = GraphicsState::forTarget(kW, kH);
    st.colour = 0x80336699;
    Graphics g(st, screen.surface());
    for (auto _ : state) {
        g.fillRect(0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

void BM_RegionOurs(benchmark::State& state, PixelType type) {
    const int t = static_cast<int>(state.range(0));
    Screen screen;
    Image sprite = makeSprite(type);
    Surface src = sprite.surface();
    GraphicsState st = GraphicsState::forTarget(kW, kH);
    Graphics g(st, screen.surface());
    for (auto _ : state) {
        g.drawRegion(&src, 0, 0, kSprite, kSprite, t, 100, 200, kTop | kLeft);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprite * kSprite);
}

void BM_DrawRgbAlphaOurs(benchmark::State& state) {
    Screen screen;
    std::vector<uint32_t> argb = spriteArgb(kW * kH);
    GraphicsState st = GraphicsState::forTarget(kW, kH);
    Graphics g(st, screen.surface());
    for (auto _ : state) {
        g.drawRGB(reinterpret_cast<const jint*>(argb.data()), argb.size(), 0, kW, 0, 0, kW, kH, true);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

// --- pixman ------------------------------------------------------------------------

#ifdef BRAMBLE_HAVE_PIXMAN

pixman_image_t* screenImage(Screen& s) {
    return pixman_image_create_bits(PIXMAN_r5g6b5, kW, kH, reinterpret_cast<uint32_t*>(s.pixels.data()), kW * 2);
}

void BM_FillPixman(benchmark::State& state) {
    Screen screen;
    const uint32_t value = rgb565(0x336699) * 0x10001u;
    for (auto _ : state) {
        pixman_fill(reinterpret_cast<uint32_t*>(screen.pixels.data()), kW / 2, 16, 0, 0, kW, kH, value);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

void BM_FillTranslucentPixman(benchmark::State& state) {
    Screen screen;
    pixman_image_t* dst = screenImage(screen);
    pixman_color_t colour = {0x3333 / 2, 0x6666 / 2, 0x9999 / 2, 0x8080};  // premultiplied
    pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(solid);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

// Destination-to-source matrix of each transform over a square sprite.
pixman_transform_t transformFor(int t) {
    const double n = kSprite;
    const double m[8][6] = {
        {1, 0, 0, 0, 1, 0},  {1, 0, 0, 0, -1, n},  {-1, 0, n, 0, 1, 0},  {-1, 0, n, 0, -1, n},
        {0, 1, 0, 1, 0, 0},  {0, 1, 0, -1, 0, n},  {0, -1, n, 1, 0, 0},  {0, -1, n, -1, 0, n},
    };
    pixman_transform_t x;
    pixman_transform_init_identity(&x);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) x.matrix[r][c] = pixman_double_to_fixed(m[t][r * 3 + c]);
    return x;
}

void BM_RegionPixman(benchmark::State& state, PixelType type) {
    const int t = static_cast<int>(state.range(0));
    Screen screen;
    Image sprite = makeSprite(type);
    // Sources as pixman sees them: r5g6b5 copied (key and all), or the
    // ARGB4444 pixels as a4r4g4b4 composited OVER.
    pixman_image_t* src = pixman_image_create_bits(type == PixelType::Argb4444 ? PIXMAN_a4r4g4b4 : PIXMAN_r5g6b5,
                                                   kSprite, kSprite, static_cast<uint32_t*>(sprite.surface().pixels),
                                                   sprite.stride());
    pixman_transform_t x = transformFor(t);
    pixman_image_set_transform(src, &x);
    pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_t* dst = screenImage(screen);
    const pixman_op_t op = type == PixelType::Argb4444 ? PIXMAN_OP_OVER : PIXMAN_OP_SRC;
    for (auto _ : state) {
        pixman_image_composite32(op, src, nullptr, dst, 0, 0, 0, 0, 100, 200, kSprite, kSprite);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kSprite * kSprite);
}

void BM_DrawRgbAlphaPixman(benchmark::State& state) {
    Screen screen;
    std::vector<uint32_t> argb = spriteArgb(kW * kH);
    // pixman wants premultiplied colours.
    for (auto& p : argb) {
        const uint32_t a = p >> 24;
        auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
        p = a << 24 | mul((p >> 16) & 0xFF) << 16 | mul((p >> 8) & 0xFF) << 8 | mul(p & 0xFF);
    }
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, argb.data(), kW * 4);
    pixman_image_t* dst = screenImage(screen);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

#endif

// Keeps each run's time per iteration so that the pairs can be compared.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

void quiet(const char*) {}

}  // namespace

int main(int argc, char** argv) {
    setLogSink(&quiet);
    const char* names[] = {"none", "mirror_rot180", "mirror", "rot180", "mirror_rot270", "rot90", "rot270",
                           "mirror_rot90"};
    struct Pair {
        std::string op, ours, pixman;
    };
    std::vector<Pair> pairs;
    auto add = [&](const std::string& op, auto ours, auto pixman) {
        benchmark::RegisterBenchmark((op + "/ours").c_str(), ours);
#ifdef BRAMBLE_HAVE_PIXMAN
        benchmark::RegisterBenchmark((op + "/pixman").c_str(), pixman);
#else
        (void)pixman;
#endif
        pairs.push_back({op, op + "/ours", op + "/pixman"});
    };
#ifdef BRAMBLE_HAVE_PIXMAN
#define PIXMAN(f) f
#else
#define PIXMAN(f) nullptr
#endif
    add("fillRect", BM_FillOurs, PIXMAN(BM_FillPixman));
    add("fillRect_translucent", BM_FillTranslucentOurs, PIXMAN(BM_FillTranslucentPixman));
    const PixelType types[] = {PixelType::Rgb565, PixelType::Rgb565Keyed, PixelType::Argb4444};
    const char* typeNames[] = {"rgb565", "keyed", "argb4444"};
    for (int k = 0; k < 3; ++k)
        for (int t = 0; t < 8; ++t) {
            const std::string op = std::string("drawRegion_") + typeNames[k] + "_" + names[t];
            const PixelType type = types[k];
            benchmark::RegisterBenchmark((op + "/ours").c_str(), BM_RegionOurs, type)->Arg(t);
#ifdef BRAMBLE_HAVE_PIXMAN
            benchmark::RegisterBenchmark((op + "/pixman").c_str(), BM_RegionPixman, type)->Arg(t);
#endif
            pairs.push_back({op, op + "/ours/" + std::to_string(t), op + "/pixman/" + std::to_string(t)});
        }
    add("drawRGB_alpha", BM_DrawRgbAlphaOurs, PIXMAN(BM_DrawRgbAlphaPixman));

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-36s %12s %12s %8s\n", "operation", "ours ns", "pixman ns", "ratio");
    for (const Pair& p : pairs) {
        auto o = reporter.times.find(p.ours), x = reporter.times.find(p.pixman);
        if (o == reporter.times.end()) continue;
        if (x == reporter.times.end()) {
            std::printf("%-36s %12.0f %12s %8s\n", p.op.c_str(), o->second, "-", "-");
            continue;
        }
        std::printf("%-36s %12.0f %12.0f %8.2f\n", p.op.c_str(), o->second, x->second, o->second / x->second);
    }
    benchmark::Shutdown();
    return 0;
}
