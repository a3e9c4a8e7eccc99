// The game-data tests' fixture (see support.h).
#include "tests/game/data/support.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "display/lcdui/lcdui.h"
#include "game/data/pack.h"
#include "game/sprite/statics.h"
#include "io/statics.h"
#include "javalib/inputstreams.h"
#include "platform/fs/fs.h"
#include "tools/kit/demo.h"

namespace datatest {
namespace {

std::vector<const StaticsContribution*> g_statics;

void loadPool(StaticClass& statics) {
    const kit::Bytes pool = kit::encodeStringPool(kit::demoStringPool());
    rt::loadStringPool(statics, pool.data(), pool.size());
}

}  // namespace

void startApplication(size_t objectHeap, size_t dataHeap) {
    g_statics.clear();
    for (const StaticsContribution* c : bramble::io::staticsContributions()) g_statics.push_back(c);
    g_statics.push_back(lcdui::staticsContribution());
    sprite::appendSpriteStatics(g_statics);
    game::appendGameStatics(g_statics);
    Application::Config config;
    config.objectHeapSize = objectHeap;
    config.dataHeapSize = dataHeap;
    config.statics = &g_statics;
    config.loadConstants = &loadPool;
    Application::init(config);
}

void closeApplication() {
    game::setResourceOpener(nullptr);
    Application::clearPendingException();
    if (Application::instance()) Application::instance()->close();
}

std::map<std::string, Bytes>& files() {
    static std::map<std::string, Bytes> f;
    return f;
}

void serveFromMemory() {
    game::setResourceOpener([](String* name) -> java_io_InputStream* {
        auto it = files().find(utf8(name));
        if (it == files().end()) return nullptr;
        return streamOf(it->second);
    });
}

void addPack(const std::string& name, const kit::PackFiles& pack) {
    files()[name] = pack.header;
    for (size_t k = 0; k < pack.subPacks.size(); ++k) files()[name + "." + std::to_string(k + 1)] = pack.subPacks[k];
}

std::string packFile(int n) { return "pack" + std::to_string(n); }

ByteArray* javaBytes(const Bytes& bytes) {
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    if (!bytes.empty()) std::memcpy(a->data(), bytes.data(), bytes.size());
    return a;
}

Bytes bytesOf(const ByteArray* a) {
    if (!a) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(a->data());
    return Bytes(p, p + a->length());
}

String* jstr(const std::string& s) { return String::fromUtf8(s); }
std::string utf8(String* s) { return s ? toUtf8(s) : std::string("(null)"); }

java_io_InputStream* streamOf(const Bytes& bytes) { return newObject<java_io_ByteArrayInputStream>(javaBytes(bytes)); }

std::string freshDeviceRoot() {
    static const std::string base = [] {
        const char* r = std::getenv("BRAMBLE_DEVICE_ROOT");
        return std::string(r ? r : "/tmp/bramble-game-data-test/device");
    }();
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string root = base + "-" + info->test_suite_name() + "." + info->name();
    std::filesystem::remove_all(root);
    setenv("BRAMBLE_DEVICE_ROOT", root.c_str(), 1);
    platform::fs::reloadDeviceRoot();
    std::filesystem::create_directories(appFolder());
    return root;
}

std::string appFolder() { return *platform::fs::hostPath(platform::fs::kAppFolder); }

void GameDataTest::SetUp() {
    m_root = freshDeviceRoot();
    files().clear();
    startApplication();
    serveFromMemory();
    log.clear();
}

void GameDataTest::TearDown() {
    closeApplication();
    if (!HasFailure()) std::filesystem::remove_all(m_root);
}

}  // namespace datatest
