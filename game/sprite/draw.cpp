// Drawing routines over Graphics: thin forwarders and the two-colour
// gradient fill of the gradient primitive.
#include <algorithm>

#include "game/sprite/gfx.h"
#include "game/sprite/host.h"
#include "game/sprite/sprite.h"

using namespace sprite;

void ASprite::drawLine(gfx::Graphics* g, jint x1, jint y1, jint x2, jint y2) {
    if (!g) return rt::logNullPointer();
    gfx::drawLine(g, x1, y1, x2, y2);
}

void ASprite::fillRect(gfx::Graphics* g, jint x, jint y, jint w, jint h) {
    if (!g) return rt::logNullPointer();
    gfx::fillRect(g, x, y, w, h);
}

void ASprite::getImageRGB(gfx::Image* img, IntArray* rgb, jint offset, jint scan, jint x, jint y, jint w, jint h) {
    if (!img) return rt::logNullPointer();
    gfx::getRGB(img, rgb, offset, scan, x, y, w, h);
}

void ASprite::fillGradient(jint x, jint y, jint w, jint h, jint colour1, jint colour2, jint direction) {
    gfx::Graphics* g = host().currentGraphics();
    if (!g) return rt::logNullPointer();
    fillGradientOn(g, x, y, w, h, colour1, colour2, direction);
}

void ASprite::fillGradientOn(gfx::Graphics* g, jint x, jint y, jint w, jint h, jint colour1, jint colour2,
                             jint direction) {
    const bool columns = direction == 4 || direction == 8;
    if (!columns && direction != 16 && direction != 32) return;
    if (w < 1 || h < 1) return;
    // Channels in 16.16 fixed point; a span of one line has no steps and is
    // drawn in colour 1.
    auto channel = [](jint c, int shift) { return (c >> shift) & 0xFF; };
    const int64_t span = columns ? int64_t{w} - 1 : int64_t{h} - 1;
    const int64_t r = int64_t{channel(colour1, 16)} << 16, gr = int64_t{channel(colour1, 8)} << 16,
            b = int64_t{channel(colour1, 0)} << 16;
    const int64_t dr = span ? ((int64_t{channel(colour2, 16) - channel(colour1, 16)} << 16) / span) : 0;
    const int64_t dg = span ? ((int64_t{channel(colour2, 8) - channel(colour1, 8)} << 16) / span) : 0;
    const int64_t db = span ? ((int64_t{channel(colour2, 0) - channel(colour1, 0)} << 16) / span) : 0;
    const int64_t x2 = int64_t{x} + w - 1, y2 = int64_t{y} + h - 1;
    // Only the lines inside the clip are drawn (line i keeps its colour).
    const int64_t clip1 = columns ? gfx::getClipX(g) : gfx::getClipY(g);
    const int64_t clip2 = clip1 + (columns ? gfx::getClipWidth(g) : gfx::getClipHeight(g));
    const bool backwards = direction == 4 || direction == 16;
    const int64_t origin = backwards ? (columns ? x2 : y2) : (columns ? x : y);
    int64_t first = backwards ? origin - (clip2 - 1) : clip1 - origin;
    int64_t last = backwards ? origin - clip1 : clip2 - 1 - origin;
    first = std::max<int64_t>(first, 0);
    last = std::min(last, span);
    auto colourOf = [&](int64_t i) {
        return static_cast<jint>(0xFF000000u | static_cast<uint32_t>(((r + dr * i) >> 16) & 0xFF) << 16 |
                                 static_cast<uint32_t>(((gr + dg * i) >> 16) & 0xFF) << 8 |
                                 static_cast<uint32_t>(((b + db * i) >> 16) & 0xFF));
    };
    for (int64_t i = first; i <= last; ++i) {
        const int64_t line = backwards ? origin - i : origin + i;
        gfx::setColor(g, colourOf(i));
        if (columns) gfx::drawLine(g, static_cast<jint>(line), y, static_cast<jint>(line), static_cast<jint>(y2));
        else gfx::drawLine(g, x, static_cast<jint>(line), static_cast<jint>(x2), static_cast<jint>(line));
    }
    // However much the clip hides, the Graphics is left at the last line's
    // colour, as when every line is drawn.
    gfx::setColor(g, colourOf(span));
}

void ASprite::fillRectBlend(IntArray* buffer, jint width, jint height, jint x1, jint y1, jint x2, jint y2,
                            jint colour) {
    if (!buffer) return rt::logNullPointer();
    if (width < 1 || height < 1 || int64_t{width} * height > buffer->length()) return;
    const jint left = std::max(x1, 0), top = std::max(y1, 0);
    const jint right = std::min(x2, width), bottom = std::min(y2, height);
    if (left >= right || top >= bottom) return;
    const uint32_t a = static_cast<uint32_t>(colour) >> 24, keep = 256 - a;
    const uint32_t rb = (static_cast<uint32_t>(colour) & 0xFF00FF) * a, g = (static_cast<uint32_t>(colour) & 0xFF00) * a;
    jint* p = buffer->data();
    for (jint y = top; y < bottom; ++y)
        for (jint* q = p + static_cast<int64_t>(y) * width + left, *end = q + (right - left); q < end; ++q) {
            const uint32_t d = static_cast<uint32_t>(*q);
            const uint32_t outRb = (((d & 0xFF00FF) * keep + rb) >> 8) & 0xFF00FF;
            const uint32_t outG = (((d & 0xFF00) * keep + g) >> 8) & 0xFF00;
            *q = static_cast<jint>((d & 0xFF000000u) | outRb | outG);
        }
}
