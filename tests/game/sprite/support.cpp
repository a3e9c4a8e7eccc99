// Fixture, fixtures from the content kit, the test screen and goldens.
#include "tests/game/sprite/support.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "display/lcdui/lcdui.h"
#include "game/sprite/statics.h"
#include "tools/kit/demo.h"

namespace spritetest {
namespace {

std::mutex g_logLock;
std::vector<std::string> g_log;
std::vector<const StaticsContribution*> g_statics;

}  // namespace

void loadDemoPool(StaticClass& statics) {
    const kit::StringPool pool = kit::demoStringPool();
    ObjectArray* array = newObjectArray(cid::String, static_cast<jint>(pool.size()));
    statics.m_stringPool = array;
    for (size_t i = 0; i < pool.size(); ++i) {
        String* s = String::fromUtf16(pool[i]);
        statics.m_stringPool->data()[i] = s;
    }
}

void startApplication(size_t objectHeap, size_t dataHeap) {
    g_statics.clear();
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = objectHeap;
    config.dataHeapSize = dataHeap;
    config.statics = &g_statics;
    config.loadConstants = &loadDemoPool;
    Application::init(config);
}

void closeApplication() {
    sprite::setSpriteHost(nullptr);
    if (Application::instance()) Application::instance()->close();
}

LogCapture::LogCapture() {
    clear();
    rt::setLogSink([](std::string_view line) {
        std::lock_guard<std::mutex> lock(g_logLock);
        g_log.emplace_back(line);
    });
}
LogCapture::~LogCapture() { rt::setLogSink(nullptr); }
bool LogCapture::contains(const std::string& text) const {
    std::lock_guard<std::mutex> lock(g_logLock);
    for (const std::string& l : g_log)
        if (l.find(text) != std::string::npos) return true;
    return false;
}
size_t LogCapture::count() const {
    std::lock_guard<std::mutex> lock(g_logLock);
    return g_log.size();
}
void LogCapture::clear() {
    std::lock_guard<std::mutex> lock(g_logLock);
    g_log.clear();
}
std::vector<std::string> LogCapture::lines() const {
    std::lock_guard<std::mutex> lock(g_logLock);
    return g_log;
}

ByteArray* javaBytes(const kit::Bytes& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) a->data()[i] = static_cast<jbyte>(bytes[i]);
    return a;
}
ShortArray* javaShorts(const std::vector<int16_t>& values) {
    ShortArray* a = newShortArray(static_cast<jint>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) a->data()[i] = values[i];
    return a;
}
IntArray* javaInts(const std::vector<int32_t>& values) {
    IntArray* a = newIntArray(static_cast<jint>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) a->data()[i] = values[i];
    return a;
}
String* javaString(const std::u16string& text) { return String::fromUtf16(text); }

BSprite* loadSprite(const kit::Bytes& bytes) {
    BSprite* s = newObject<BSprite>();
    ByteArray* data = javaBytes(bytes);
    s->load(data, 0);
    return s;
}
BSprite* loadSprite(const kit::SpriteModel& model) { return loadSprite(kit::encodeSprite(model)); }

BSprite* loadFont(const kit::FontDescription& font) {
    const kit::FontBuild build = kit::buildFont(font);
    BSprite* s = loadSprite(build.sprite);
    ShortArray* map = javaShorts(build.charMap);
    s->setCharMap(map);
    return s;
}

Screen::Screen(jint w, jint h, uint16_t fill) : width(w), height(h) {
    image = Image::createImage(w, h);
    g = image->getGraphics();
    clear(fill);
}
void Screen::clear(uint16_t value) {
    ShortArray* px = Image::getPixelShorts(image);
    std::fill(px->data(), px->data() + px->length(), static_cast<jshort>(value));
    resetGraphics();
}
void Screen::resetGraphics() {
    g->setClip(0, 0, width, height);
    g->translate(-g->getTranslateX(), -g->getTranslateY());
}
uint16_t Screen::at(jint x, jint y) const {
    ShortArray* px = Image::getPixelShorts(image);
    return static_cast<uint16_t>(px->data()[y * (image->m_stride / 2) + x]);
}
std::vector<uint16_t> Screen::pixels() const {
    std::vector<uint16_t> out;
    out.reserve(static_cast<size_t>(width) * height);
    for (jint y = 0; y < height; ++y)
        for (jint x = 0; x < width; ++x) out.push_back(at(x, y));
    return out;
}
int Screen::countNot(uint16_t value) const {
    int n = 0;
    for (jint y = 0; y < height; ++y)
        for (jint x = 0; x < width; ++x) n += at(x, y) != value;
    return n;
}
bool Screen::boxNot(uint16_t value, jint* x1, jint* y1, jint* x2, jint* y2) const {
    *x1 = *y1 = 1 << 30;
    *x2 = *y2 = -1;
    for (jint y = 0; y < height; ++y)
        for (jint x = 0; x < width; ++x)
            if (at(x, y) != value) {
                *x1 = std::min(*x1, x);
                *y1 = std::min(*y1, y);
                *x2 = std::max(*x2, x + 1);
                *y2 = std::max(*y2, y + 1);
            }
    return *x2 >= 0;
}

namespace {

constexpr const char kAlphabet[] = ".#+*o=x%@&abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string render(const Screen& s, jint x0, jint y0, jint w, jint h) {
    std::map<uint16_t, char> legend;
    std::vector<uint16_t> order;
    for (jint y = y0; y < y0 + h; ++y)
        for (jint x = x0; x < x0 + w; ++x) {
            const uint16_t v = s.at(x, y);
            if (!legend.count(v)) {
                if (order.size() < sizeof kAlphabet - 1) legend[v] = kAlphabet[order.size()];
                order.push_back(v);
            }
        }
    std::ostringstream out;
    out << "size " << w << ' ' << h << '\n';
    char hex[8];
    for (uint16_t v : order) {
        std::snprintf(hex, sizeof hex, "%04X", v);
        out << legend[v] << ' ' << hex << '\n';
    }
    for (jint y = y0; y < y0 + h; ++y) {
        for (jint x = x0; x < x0 + w; ++x) out << legend[s.at(x, y)];
        out << '\n';
    }
    return out.str();
}

}  // namespace

void expectGolden(const std::string& name, const Screen& screen, jint x, jint y, jint w, jint h, const char* folder) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    const std::string path = std::string(root ? root : ".") + "/" + folder + "/" + name + ".txt";
    const std::string actual = render(screen, x, y, w, h);
    const char* update = std::getenv("BRAMBLE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path << " (run with BRAMBLE_UPDATE_GOLDEN=1 to create it)\n" << actual;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(expected.str(), actual) << "golden " << name << " differs (expected first, actual second)";
}

}  // namespace spritetest
