// Painting the cross-promotion screen: a catalogue page and a list page of
// the demo pack on an 800 x 480 image; time per paint and glyphs drawn per
// second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "display/lcdui/lcdui.h"
#include "game/showcase/showcase.h"
#include "io/midlet.h"
#include "io/statics.h"
#include "platform/fs/fs.h"
#include "runtime/system.h"
#include "tools/kit/demo.h"
#include "tools/kit/showcase.h"

namespace {

std::vector<const StaticsContribution*> g_statics;
uint32_t g_tick = 600;

struct Setup {
    Setup() {
        // The demo device: its archive holds the pack and the descriptor's links.
        const std::string dir = (std::filesystem::temp_directory_path() / "bramble-showcase-bench").string();
        kit::buildDemoRoot(dir);
        setenv("BRAMBLE_DEVICE_ROOT", (dir + "/device").c_str(), 1);
        platform::fs::reloadDeviceRoot();
        g_statics.assign(bramble::io::staticsContributions().begin(), bramble::io::staticsContributions().end());
        g_statics.push_back(lcdui::staticsContribution());
        g_statics.push_back(game::showcaseContribution());
        Application::Config config;
        config.objectHeapSize = 16 << 20;
        config.dataHeapSize = 64 << 20;
        config.statics = &g_statics;
        config.loadConstants = [](StaticClass& s) {
            const kit::StringPool pool = kit::demoStringPool();
            ObjectArray* a = newObjectArray(cid::String, static_cast<jint>(pool.size()));
            s.m_stringPool = a;
            for (size_t i = 0; i < pool.size(); ++i) a->data()[i] = String::fromUtf16(pool[i]);
        };
        Application::init(config);
        java_lang_System::setTickSource([] { return g_tick; });
        auto* midlet = newObject<javax_microedition_midlet_MIDlet>();
        game::Showcase::setup(midlet, nullptr, 800, 480, nullptr);
        game::Showcase::enter(nullptr, 0);
        for (int i = 0; i < 100 && game::showcaseStatics()->screenState == game::kShowLoading; ++i)
            game::Showcase::doAction(0);
        loaded = game::showcaseStatics()->screenState == game::kShowPage;
        image = javax_microedition_lcdui_Image::createImage(800, 480);
        g = image->getGraphics();
    }
    javax_microedition_lcdui_Image* image;
    javax_microedition_lcdui_Graphics* g;
    bool loaded = false;
};

Setup& setup() {
    static Setup s;
    return s;
}

jint glyphsOnPage() {
    game::ShowcaseStatics* s = game::showcaseStatics();
    jint n = 0;
    auto count = [&](String* t) {
        for (jint i = 0; t && i < t->length(); ++i) n += t->charAt(i) > 32;
    };
    if (s->listMode) {
        for (jint r = 0; r < s->listLength && r < s->listVisibleRows; ++r)
            count(game::Showcase::readText(game::kTextFirstSlot + 2 * s->slotCount + r));
    } else {
        count(game::Showcase::readText(game::kTextFirstSlot + 2 * s->pageEntry));
        count(game::Showcase::readText(game::kTextFirstSlot + 2 * s->pageEntry + 1));
        count(game::Showcase::readText(s->buttonLabel));
    }
    return n;
}

void paintSlot(benchmark::State& state, jint slot) {
    Setup& b = setup();
    if (!b.loaded) {
        state.SkipWithError("the demo pack did not load");
        return;
    }
    game::ShowcaseStatics* s = game::showcaseStatics();
    s->currentEntry = slot;
    game::Showcase::resetPage();
    const jint glyphs = glyphsOnPage();
    for (auto _ : state) {
        game::Showcase::paint(b.g);
        benchmark::ClobberMemory();
    }
    state.counters["glyphs/s"] = benchmark::Counter(static_cast<double>(glyphs) * state.iterations(),
                                                     benchmark::Counter::kIsRate);
}

void BM_PaintPage(benchmark::State& state) { paintSlot(state, 0); }
void BM_PaintListPage(benchmark::State& state) { paintSlot(state, 4); }

BENCHMARK(BM_PaintPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintListPage)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    BRAMBLE_RECORD_STACK_TOP();
    rt::setLogSink([](std::string_view) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
