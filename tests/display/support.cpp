// Log capture, canvas and golden pictures of the display tests.
#include "tests/display/support.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "display/log.h"

namespace display::test {
namespace {

std::vector<std::string>& captured() {
    static std::vector<std::string> lines;
    return lines;
}
void captureSink(const char* message) { captured().emplace_back(message); }

constexpr const char kAlphabet[] = ".#+*o=x%@&abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string render(const Surface& s) {
    std::map<uint16_t, char> legend;
    std::vector<uint16_t> order;
    for (jint y = 0; y < s.height; ++y)
        for (jint x = 0; x < s.width; ++x) {
            uint16_t v = s.at16(x, y);
            if (!legend.count(v)) {
                if (order.size() < sizeof kAlphabet - 1) legend[v] = kAlphabet[order.size()];
                order.push_back(v);
            }
        }
    std::ostringstream out;
    out << "size " << s.width << ' ' << s.height << '\n';
    char hex[8];
    if (order.size() <= sizeof kAlphabet - 1) {
        for (uint16_t v : order) {
            std::snprintf(hex, sizeof hex, "%04X", v);
            out << legend[v] << ' ' << hex << '\n';
        }
        for (jint y = 0; y < s.height; ++y) {
            for (jint x = 0; x < s.width; ++x) out << legend[s.at16(x, y)];
            out << '\n';
        }
    } else {
        out << "hex\n";
        for (jint y = 0; y < s.height; ++y) {
            for (jint x = 0; x < s.width; ++x) {
                std::snprintf(hex, sizeof hex, "%04X", s.at16(x, y));
                out << (x ? " " : "") << hex;
            }
            out << '\n';
        }
    }
    return out.str();
}

}  // namespace

LogCapture::LogCapture() {
    captured().clear();
    setLogSink(&captureSink);
}
LogCapture::~LogCapture() { setLogSink(nullptr); }
const std::vector<std::string>& LogCapture::lines() const { return captured(); }
bool LogCapture::has(const std::string& line) const {
    for (const auto& l : captured())
        if (l == line) return true;
    return false;
}
void LogCapture::clear() { captured().clear(); }

Canvas::Canvas(jint width, jint height, uint16_t value)
    : image(*Image::createMutable(width, height)), state(GraphicsState::forTarget(width, height)) {
    fill(value);
}

void Canvas::fill(uint16_t value) {
    Surface s = image.surface();
    for (jint y = 0; y < s.height; ++y)
        for (jint x = 0; x < s.width; ++x) s.at16(x, y) = value;
}

int Canvas::countNot(uint16_t value) const {
    int n = 0;
    for (jint y = 0; y < image.height(); ++y)
        for (jint x = 0; x < image.width(); ++x) n += at(x, y) != value;
    return n;
}

std::string sourcePath(const std::string& relative) {
    const char* root = std::getenv("BRAMBLE_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/display/" + relative;
}

void expectGolden(const std::string& name, const Surface& picture) {
    const std::string path = sourcePath("golden/" + name + ".txt");
    const std::string actual = render(picture);
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

}  // namespace display::test
