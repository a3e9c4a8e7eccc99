// The installed sprite host and the built-in one.
#include "game/sprite/host.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "game/sprite/host_statics.h"
#include "game/sprite/gfx.h"
#include "game/sprite/sprite.h"

namespace sprite {

StaticsContribution g_StandaloneHostStatics = StaticsContribution::of<StandaloneHostStatics>(
    "SpriteHost", kClinitASprite, nullptr,
    {offsetof(StandaloneHostStatics, colourRow), offsetof(StandaloneHostStatics, current),
     offsetof(StandaloneHostStatics, pixelBuffer), offsetof(StandaloneHostStatics, rotationBuffer)});

namespace {

SpriteHost* g_installed = nullptr;

StandaloneHostStatics& hs() { return *statics<StandaloneHostStatics>(g_StandaloneHostStatics); }

// A buffer slot grown to at least n ints.
IntArray* grown(IntArray* StandaloneHostStatics::*slot, jint n) {
    IntArray* a = hs().*slot;
    if (a && a->length() >= n) return a;
    IntArray* bigger = newIntArray(n < 1 ? 1 : n);
    if (!bigger->data()) return a && a->length() >= n ? a : nullptr;
    hs().*slot = bigger;
    return bigger;
}

const std::array<jint, 360>& sineTable() {
    static const std::array<jint, 360> table = [] {
        std::array<jint, 360> t{};
        for (int i = 0; i < 360; ++i) t[static_cast<size_t>(i)] = static_cast<jint>(std::lround(std::sin(i * M_PI / 180.0) * 16384.0));
        // Exact at the quarter points.
        t[0] = 0;
        t[90] = 16384;
        t[180] = 0;
        t[270] = -16384;
        return t;
    }();
    return table;
}

}  // namespace

SpriteHost& host() { return g_installed ? *g_installed : StandaloneHost::instance(); }

void setSpriteHost(SpriteHost* h) { g_installed = h; }

StandaloneHost& StandaloneHost::instance() {
    static StandaloneHost instance;
    return instance;
}

void StandaloneHost::setAlphaFillColor(jint argb) {
    StandaloneHostStatics& s = hs();
    if (s.colourRow && s.colourRowColour == argb) return;
    s.colourRowColour = argb;
    if (!s.colourRow) s.colourRow = newIntArray(256);
    jint* row = s.colourRow->data();
    if (!row) return;
    for (int i = 0; i < 256; ++i) row[i] = argb;
}

void StandaloneHost::drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) {
    if (!g || !hs().colourRow) return;
    const jint cx = gfx::getClipX(g), cy = gfx::getClipY(g);
    const jint cw = gfx::getClipWidth(g), ch = gfx::getClipHeight(g);
    const int64_t x1 = std::max<int64_t>(x, cx), y1 = std::max<int64_t>(y, cy);
    const int64_t x2 = std::min<int64_t>(int64_t{x} + w, int64_t{cx} + cw);
    const int64_t y2 = std::min<int64_t>(int64_t{y} + h, int64_t{cy} + ch);
    if (x1 >= x2 || y1 >= y2) return;
    gfx::setClip(g, static_cast<jint>(x1), static_cast<jint>(y1), static_cast<jint>(x2 - x1),
                   static_cast<jint>(y2 - y1));
    IntArray* row = hs().colourRow;
    if (int64_t{w} * h < 256) {
        ASprite::drawRGBTransformed(g, row, 0, w, x, y, w, h, true, 0);
    } else {
        for (int64_t ty = y1 - ((y1 - y) % 16); ty < y2; ty += 16)
            for (int64_t tx = x1 - ((x1 - x) % 16); tx < x2; tx += 16)
                gfx::drawRGB(g, row, 0, 16, static_cast<jint>(tx), static_cast<jint>(ty), 16, 16, true);
    }
    gfx::setClip(g, cx, cy, cw, ch);
}

jint StandaloneHost::sin(jint angle) {
    jint a = angle % 360;
    if (a < 0) a += 360;
    return sineTable()[static_cast<size_t>(a)];
}

javax_microedition_lcdui_Graphics* StandaloneHost::currentGraphics() { return hs().current; }

void StandaloneHost::setCurrentGraphics(javax_microedition_lcdui_Graphics* g) { hs().current = g; }

IntArray* StandaloneHost::pixelBuffer(jint minLength) { return grown(&StandaloneHostStatics::pixelBuffer, minLength); }

IntArray* StandaloneHost::rotationBuffer(jint minLength) {
    return grown(&StandaloneHostStatics::rotationBuffer, minLength);
}

}  // namespace sprite
