// Fixture of the cross-promotion screen tests (see support.h).
#include "tests/game/showcase/support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "display/lcdui/lcdui.h"
#include "io/statics.h"
#include "platform/fs/fs.h"
#include "runtime/system.h"
#include "tools/kit/archive.h"
#include "tools/kit/demo.h"
#include "tools/kit/demo_showcase.h"

namespace showcasetest {

uint32_t g_tick = 0;

namespace {

std::vector<const StaticsContribution*> g_statics;
kit::StringPool g_pool;
std::string g_root;

void loadPool(StaticClass& statics) {
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(g_pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < g_pool.size(); ++i) array->data()[i] = String::fromUtf16(g_pool[i]);
}

}  // namespace

kit::JadProperties demoProperties() {
    kit::JadProperties p;
    kit::addDemoShowcaseJad(p);
    return p;
}

void start(const World& world, bool withMidlet) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    static const std::string base = [] {
        const char* r = std::getenv("BRAMBLE_DEVICE_ROOT");
        return std::string(r ? r : "/tmp/bramble-showcase-test/device");
    }();
    g_root = base + "-" + (info ? std::string(info->test_suite_name()) + "." + info->name() : std::string("run"));
    std::filesystem::remove_all(g_root);
    setenv("BRAMBLE_DEVICE_ROOT", g_root.c_str(), 1);
    platform::fs::reloadDeviceRoot();
    kit::ArchiveWriter archive;
    if (!world.pack.empty()) archive.add(kit::kDemoShowcasePack, world.pack);
    archive.add("app.jad", kit::encodeJad(world.properties));
    kit::writeFile(*platform::fs::hostPath(platform::fs::kAppFolder) + "/data.bar", archive.build());
    std::filesystem::create_directories(*platform::fs::hostPath("\\temp"));

    g_pool = world.pool.empty() ? kit::demoStringPool() : world.pool;
    g_statics.assign(bramble::io::staticsContributions().begin(), bramble::io::staticsContributions().end());
    g_statics.push_back(lcdui::staticsContribution());
    g_statics.push_back(game::showcaseContribution());
    Application::Config config;
    config.objectHeapSize = 8 << 20;
    config.dataHeapSize = 32 << 20;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
    g_tick = 0;
    java_lang_System::setTickSource([] { return g_tick; });
    if (withMidlet) {
        auto* m = newObject<MIDlet>();
        MIDlet::setRunning(m);
    }
}

void stop() {
    java_lang_System::setTickSource(nullptr);
    bramble::io::setPlatformRequestHandler(nullptr);
    bramble::io::setNotifyDestroyedHandler(nullptr);
    if (Application::instance()) {
        Application::clearPendingException();
        Application::instance()->close();
    }
    if (!g_root.empty() && testing::UnitTest::GetInstance()->current_test_info() && !testing::Test::HasFailure())
        std::filesystem::remove_all(g_root);
}

MIDlet* midlet() { return MIDlet::getRunning(); }

void setupScreen() { game::Showcase::setup(midlet(), nullptr, 800, 480, nullptr); }

void enterAndLoad(jint language) {
    game::Showcase::enter(String::fromUtf8("caller"), language);
    for (int i = 0; i < 64 && game::showcaseStatics()->screenState == game::kShowLoading; ++i)
        game::Showcase::doAction(0);
}

ByteArray* javaBytes(const kit::Bytes& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) a->data()[i] = static_cast<jbyte>(bytes[i]);
    return a;
}

std::string utf8(String* s) { return s ? s->toUtf8() : std::string("<null>"); }

Screen::Screen(jint w, jint h) : width(w), height(h) {
    image = Image::createImage(w, h);
    g = image->getGraphics();
    clear();
}
void Screen::clear(uint16_t value) {
    ShortArray* px = Image::getPixelShorts(image);
    std::fill(px->data(), px->data() + px->length(), static_cast<jshort>(value));
    g->setClip(0, 0, width, height);
}
uint16_t Screen::at(jint x, jint y) const {
    ShortArray* px = Image::getPixelShorts(image);
    return static_cast<uint16_t>(px->data()[y * (image->m_stride / 2) + x]);
}

void expectGolden(const std::string& name, const Screen& screen, jint x0, jint y0, jint w, jint h, jint step) {
    static const char kAlphabet[] = ".#+*o=x%@&abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::map<uint16_t, char> legend;
    std::ostringstream rows, head;
    head << "size " << w << ' ' << h << " step " << step << '\n';
    for (jint y = y0; y < y0 + h; y += step) {
        for (jint x = x0; x < x0 + w; x += step) {
            const uint16_t v = screen.at(x, y);
            auto it = legend.find(v);
            if (it == legend.end()) {
                const char c = legend.size() < sizeof kAlphabet - 1 ? kAlphabet[legend.size()] : '?';
                it = legend.emplace(v, c).first;
                char hex[8];
                std::snprintf(hex, sizeof hex, "%04X", v);
                head << c << ' ' << hex << '\n';
            }
            rows << it->second;
        }
        rows << '\n';
    }
    const std::string actual = head.str() + rows.str();
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    const std::string path = std::string(root ? root : ".") + "/tests/game/showcase/golden/" + name + ".txt";
    const char* update = std::getenv("BRAMBLE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path << " (BRAMBLE_UPDATE_GOLDEN=1 creates it)";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(expected.str(), actual) << "golden " << name << " differs";
}

}  // namespace showcasetest
