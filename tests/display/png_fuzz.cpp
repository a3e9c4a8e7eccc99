// libFuzzer target: arbitrary bytes into an Image through the PNG decoder,
// and a decoded image through the blitters and getRGB.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/graphics.h"
#include "display/image_ops.h"
#include "display/log.h"
#include "display/png_decode.h"

namespace {
void quiet(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace display;
    setLogSink(&quiet);
    std::optional<Image> img = decodePngImage(data, size);
    if (!img) return 0;
    std::vector<uint16_t> back(64 * 48, 0x1234);
    Surface screen = Surface::wrap16(back.data(), 64, 48, 128);
    GraphicsState st = GraphicsState::forTarget(64, 48);
    Graphics g(st, screen);
    Surface s = img->surface();
    g.drawImage(&s, -3, -2, kTop | kLeft);
    g.drawRegion(&s, 1, 1, img->width() - 1, img->height() - 1, kTransRot90, 63, 47, kRight | kBottom);
    std::vector<java::jint> argb(16);
    getRGB(s, argb.data(), argb.size(), 0, 4, 0, 0, std::min<java::jint>(4, img->width()),
           std::min<java::jint>(4, img->height()));
    return 0;
}
