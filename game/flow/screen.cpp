// Screen drawing routines (screen.h): fills, bars, gauge, iris mask,
// painting sprites and fonts by number, the loading picture, undoing a
// loading step.
#include "game/flow/screen.h"

#include <algorithm>


#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/input.h"
#include "game/flow/loading.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/stringbuffer.h"

namespace game {

namespace {
javax_microedition_lcdui_Graphics* gfx() { return cg().graphics; }
}  // namespace

void clearScreen(jint colour) {
    auto* g = gfx();
    if (!g) return;
    g->setColor(colour);
    g->setClip(0, 0, 480, 800);
    g->fillRect(0, 0, 480, 800);
}

void clearScreenOnce() {
    if (!cg().clearPending) return;
    clearScreen(0xFFFFFF);
    cg().clearPending = 0;
}

void fillGradientRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint c1, jint c2,
                      bool mirrored, bool byColumns) {
    if (!g) return;
    if (c1 == c2) {
        g->setColor(c1);
        g->fillRect(x, y, w, h);
        return;
    }
    const jint length = byColumns ? w : h;
    if (length <= 0) return;
    jint ch[3], step[3];
    for (int k = 0; k < 3; ++k) {
        const jint a = (c1 >> (16 - 8 * k)) & 255, b = (c2 >> (16 - 8 * k)) & 255;
        ch[k] = a << 7;
        step[k] = (b - a) * 128 / length;
    }
    const jint middle = length / 2;
    for (jint i = 0; i <= length; ++i) {
        if (mirrored && i == middle + 1)
            for (int k = 0; k < 3; ++k) step[k] = -step[k];
        g->setColor(((ch[0] >> 7) & 255) << 16 | ((ch[1] >> 7) & 255) << 8 | ((ch[2] >> 7) & 255));
        if (byColumns)
            g->drawLine(x + i, y, x + i, y + h);
        else
            g->drawLine(x, y + i, x + w, y + i);
        for (int k = 0; k < 3; ++k) ch[k] += step[k];
    }
}

jint halfChord(jint a, jint b) {
    return isqrt32(java::isub(java::imul(b, b), java::imul(a, a))) & 255;
}

void fillScreen(javax_microedition_lcdui_Graphics* g, jint cx, jint cy, jint r, IntArray* region, bool keepColour) {
    if (!g) return;
    if (r < 0) r = 0;
    jint rx = 0, ry = 0, rw = 480, rh = 800;
    if (region && region->length() >= 4) {
        rx = region->data()[0];
        ry = region->data()[1];
        rw = region->data()[2];
        rh = region->data()[3];
    }
    if (!keepColour) g->setColor(0);
    // Every sum, difference and product wraps as ints do.
    using java::iadd;
    using java::imul;
    using java::isub;
    const jint bottom = iadd(ry, rh);
    const jint top = isub(cy, r), below = iadd(iadd(cy, r), 1);
    const jint left = isub(cx, r), right = iadd(iadd(cx, r), 1), edge = iadd(rx, rw);
    // Above and below the circle's rows.
    if (top >= ry) g->fillRect(rx, ry, rw, iadd(isub(top, ry), 1));
    if (bottom > below) g->fillRect(rx, below, rw, isub(bottom, below));
    // Left and right strips over the circle's rows.
    if (r > 0) {
        if (left > rx) g->fillRect(rx, iadd(top, 1), isub(left, rx), imul(2, r));
        if (edge > right) g->fillRect(right, iadd(top, 1), isub(edge, right), imul(2, r));
    }
    // Only the chord rows inside the region are walked (rows cy + 1 + k
    // below the centre, cy - k above it): a huge radius or a far centre
    // costs no time.
    const jlong lastRow = jlong(ry) + rh - 1;
    jlong firstK = jlong(r), endK = 0;
    auto take = [&](jlong lo, jlong hi) {  // k in [lo, hi], within [0, r)
        lo = std::max<jlong>(lo, 0);
        hi = std::min<jlong>(hi, jlong(r) - 1);
        if (lo > hi) return;
        firstK = std::min(firstK, lo);
        endK = std::max(endK, hi + 1);
    };
    take(jlong(ry) - cy - 1, lastRow - cy - 1);  // rows below the centre
    take(jlong(cy) - lastRow, jlong(cy) - ry);   // rows above it
    for (jint k = static_cast<jint>(firstK); k < endK; ++k) {
        const jint c = isqrt32(isub(imul(r, r), imul(k, k))) & 255;
        for (jint row : {iadd(iadd(cy, 1), k), isub(cy, k)}) {
            g->drawLine(left, row, isub(cx, c), row);
            g->drawLine(iadd(cx, c), row, iadd(cx, r), row);
        }
    }
}

jint clampValue(jint v, jint lo, jint hi) { return v < lo ? lo : (v > hi ? hi : v); }
jint min4(jint a, jint b, jint c, jint d) {
    jint m = a < b ? a : b;
    m = m < c ? m : c;
    return m < d ? m : d;
}
jint max4(jint a, jint b, jint c, jint d) {
    jint m = a > b ? a : b;
    m = m > c ? m : c;
    return m > d ? m : d;
}

void drawBar(jint x, jint y, jint w, jint h, jint max, jint value, jint fill, jint frame) {
    auto* g = gfx();
    if (!g) return;
    if (value > max) value = max;
    if (value < 0) value = 0;
    g->setClip(x, y, w + 2, h + 2);
    // max <= 0 (a data value) would divide by zero: the bar stays empty.
    const jint filled = max > 0 ? java::imul(java::idiv(java::ishl(w, 8), max), value) >> 8 : 0;
    if (filled > 0) {
        g->setColor(fill);
        g->fillRoundRect(x + 1, y, filled, h, 2, 2);
    }
    g->setColor(frame);
    g->drawRoundRect(x, y, w, h, 2, 2);
}

void drawGauge(jint x, jint y, jint length, jint thickness, jint max, jint value) {
    drawGaugeAt(x, y, length, thickness, max, value, gameClock().now());
}

void drawGaugeAt(jint x, jint y, jint length, jint thickness, jint max, jint value, jlong nowMs) {
    auto* g = gfx();
    if (!g) return;
    jint colours[7] = {0x000000, 0xD45A04, 0xFCC204, 0xFCFE0C, 0x54525C, 0x54525C, 0x747664};
    if (value < 4) {
        jint t = static_cast<jint>(((nowMs % 500) + 500) % 500);
        if (t > 250) t = 500 - t;
        for (int k = 2; k <= 3; ++k) {
            jint r = (colours[k] >> 16) & 255, gr = (colours[k] >> 8) & 255, b = colours[k] & 255;
            r += (255 - r) * t / 250;
            gr -= gr * t / 250;
            b -= b * t / 250;
            colours[k] = r << 16 | gr << 8 | b;
        }
    }
    const jint v = value > 0 ? value : 0;
    const jint f = max > 0 ? java::imul(java::idiv(java::ishl(length - 4, 8), max), v) >> 8 : 0;
    const jint x1 = 483 - thickness - (y + 2), x2 = 484 - thickness - (y + 2);
    g->setClip(479 - y - thickness, x, thickness + 1, length + 1);
    g->setColor(colours[0]);
    g->fillRect(479 - y - thickness, x, thickness, length);
    g->setColor(colours[1]);
    g->fillRect(x1, x + 2, thickness - 4, f + 1);
    g->setColor(colours[2]);
    g->fillRect(x2, x + 3, thickness - 6, f);
    g->setColor(colours[3]);
    g->fillRect(x2, x + 3, 1, f);
    if (v != max) {
        g->setColor(colours[4]);
        g->fillRect(x1, x + f + 1, thickness - 4, 2);
        g->setColor(colours[5]);
        g->fillRect(x1, x + f + 3, 2, length - 5 - f);
        g->setColor(colours[6]);
        g->fillRect(485 - thickness - (y + 4), x + f + 3, thickness - 6, length - 5 - f);
    }
}

BSprite* spriteAt(jint n) {
    ObjectArray* s = cg().sprites;
    return s && s->inBounds(n) ? static_cast<BSprite*>(s->data()[n]) : nullptr;
}

BSprite* fontAt(jint n) {
    ObjectArray* s = cg().fonts;
    return s && s->inBounds(n) ? static_cast<BSprite*>(s->data()[n]) : nullptr;
}

void drawSpriteFrame(BSprite* sprite, jint anim, jint f, jint x, jint y, jint flags, jint scale, jint rotation) {
    if (!sprite) return;
    sprite->setScale(scale);
    sprite->setRotation(java::irem(java::idiv(java::imul(rotation, 2048), 360), 2048));
    if (anim == -1)
        sprite->paintFrame(gfx(), f, x, y, flags, 0, 0);
    else
        sprite->paintAFrame(gfx(), anim, f, x, y, flags, 0, 0);
}

void getFrameRect(BSprite* sprite, jint frame) {
    IntArray* rect = cg().frameRect;
    if (!rect || !sprite || rect->length() < 4) return;
    const sprite::Box b = sprite->measureFrame(frame, 0, 0, 0);
    rect->data()[0] = b.minX;
    rect->data()[1] = b.minY;
    rect->data()[2] = b.maxX - b.minX;
    rect->data()[3] = b.maxY - b.minY;
}

jint getAnimDuration(BSprite* sprite, jint anim) {
    if (!sprite) return 0;
    jint total = 0;
    const jint n = sprite->getAFrameCount(anim);
    for (jint i = 0; i < n; ++i) total += sprite->getAFrameTime(anim, i);
    return total;
}

jint getAnimFrameAt(BSprite* sprite, jint anim, jint t) {
    if (!sprite) return 0;
    const jint n = sprite->getAFrameCount(anim);
    jint sum = 0;
    for (jint i = 0; i < n; ++i) {
        sum += sprite->getAFrameTime(anim, i);
        if (sum > t) return i;
    }
    return n;
}

void drawAnimFrame(BSprite* sprite, jint anim, jint t, jint x, jint y, jint flags) {
    const jint d = getAnimDuration(sprite, anim);
    if (d <= 0) return;
    const jint f = getAnimFrameAt(sprite, anim, java::irem(t, d) < 0 ? java::irem(t, d) + d : java::irem(t, d));
    sprite->paintAFrame(gfx(), anim, f, x, y, flags, 0, 0);
}

void paintSpriteAnim(jint n, jint anim, jint t, jint x, jint y) { drawAnimFrame(spriteAt(n), anim, t, x, y, 0); }

void paintSpriteFrameFlags(jint n, jint frame, jint x, jint y, jint flags) {
    if (BSprite* s = spriteAt(n)) s->paintFrame(gfx(), frame, x, y, flags, 0, 0);
}
void paintSpriteFrame(jint n, jint frame, jint x, jint y) { paintSpriteFrameFlags(n, frame, x, y, 0); }

void setSpritePalette(jint n, jint p) {
    if (BSprite* s = spriteAt(n)) s->setPalette(p);
}
void setFontPalette(jint n, jint p) {
    if (BSprite* s = fontAt(n)) s->setPalette(p);
}
jint getFontPalette(jint n) {
    BSprite* s = fontAt(n);
    return s ? s->getCurrentPalette() : 0;
}
void setFontAlpha(jint n, jint a) {
    if (BSprite* s = fontAt(n)) s->setAlpha(a);
}
jint getLinesHeight(jint n, jint lines) {
    BSprite* s = fontAt(n);
    if (!s) return 0;
    return (s->getFontHeight() + s->getLineSpacing()) * lines - s->getLineSpacing();
}

void paintHealthBar() {
    BSprite* s = getSpriteById(1, 18);
    if (!s) return;
    const jint pips = getVariable(9);
    const jint shown = java::isub(getVariable(3), 2 * cg().healthOffset);
    for (jint k = 0; k < pips; ++k) {
        const jint frame = 2 * k + 1 < shown ? 29 : (2 * k < shown ? 31 : 30);
        const jint x = k < 5 ? 74 + 24 * k : -34 + 24 * k;
        s->paintFrame(gfx(), frame, x, k < 5 ? 28 : 52, 0, 0, 0);
    }
}

void paintLevelTimer() {
    const jint t = cg().levelTimer;
    if (t <= 0) return;
    const jint minutes = t / 960;
    const jint seconds = (t - minutes * 960) / 16;
    addIntParam(minutes);
    addIntParam(seconds < 10 ? 0 : seconds / 10);
    addIntParam(seconds % 10);
    drawTextById(0, 25, 385, 6, 20);
}

void paintPageIndicator(jint x, jint y, jint page, jint count) {
    setFontPalette(0, 8);
    StringBuffer* sb = StringBuffer::make(16);
    StringBuffer::appendInt(sb, page);
    StringBuffer::append(sb, StaticClass::getStringConstant(76));
    StringBuffer::appendInt(sb, count);
    drawFontText(0, sb->toString(), x, y, 3);
    BSprite* arrows = spriteAt(107);
    // The arrows' touch zones: the next page's over the right arrow, the
    // previous page's over the left one.
    const jint h = arrows && arrows->getFrameCount() > 0 ? arrows->getFrameHeight(0) : 0;
    setPageArrowZones((h >> 2) + 750, 240, 50, 240);
    const jint t = getCurrentEntryValue();
    if (page != 1) drawAnimFrame(arrows, cg().listArrowHeld == 1 ? 3 : 1, t, 50, 240, 4);
    if (page != count) drawAnimFrame(arrows, cg().listArrowHeld == 0 ? 2 : 0, t, 750, 240, 5);
}

namespace {
void buttonFrame(jint frame, jint x, jint y) {
    if (BSprite* s = spriteAt(112)) s->paintFrame(gfx(), frame, x, y, 0, 0, 0);
}
}  // namespace

void paintButtonFrames(jint x, jint y) {
    static const jint kBits[][2] = {{1, 11}, {2, 9}, {64, 14}, {128, 12}, {4, 10}, {8, 8}, {16, 15}, {32, 13}};
    for (const auto& b : kBits)
        if (cg().buttonBits & b[0]) buttonFrame(b[1], x, y);
}
void paintButtonFrames2(jint x, jint y) {
    if (cg().buttonBits & 0x200) buttonFrame(7, x, y);
    if (cg().buttonBits & 0x100) buttonFrame(5, x, y);
}
void paintButtonFrames3(jint x, jint y) {
    if (cg().buttonBits & 0x400) buttonFrame(6, x, y);
}
void paintButtonFrames4(jint x, jint y) {
    if (java::irem(cg().stateTicks, 6) < 4) buttonFrame(16, x, y);
}
void paintButtonFrames5(jint x, jint y) {
    if (java::irem(cg().stateTicks, 6) < 4) buttonFrame(19, x, y);
}
void paintButtonFrames6(jint x, jint y) {
    if (cg().buttonBits & 0x400) buttonFrame(17, x, y);
}

jint blendColour(jint c1, jint c2, jint t, jint n) {
    jint out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const jint a = (c1 >> shift) & 255, b = (c2 >> shift) & 255;
        out |= (java::iadd(a, guardedDiv(java::imul(b - a, t), n, "cGame.blendColour")) & 255) << shift;
    }
    return out;
}

jint clampQuarter(jint v) { return clampValue(v / 4, -48, 48); }

void setCameraScrollStep(jint x, jint y) {
    cg().scrollDelay = -1;
    cg().scrollStepX = x;
    cg().scrollStepY = y;
}

void drawImageTopLeft(javax_microedition_lcdui_Graphics* g, jint x, jint y) {
    if (g && cg().overlayImage) g->drawImage(cg().overlayImage, x, y, 20);
}

void createOffscreenBuffer() {
    if (!cg().overlayImage) {
        auto* img = javax_microedition_lcdui_Image::createImage(540, 864);
        cg().overlayImage = img;
        if (img) {
            auto* g = img->getGraphics();
            cg().overlayGraphics = g;
        }
    }
    cg().overlayDirty = 1;
}

void drawLoadingImage() {
    if (cg().overlayImage && gfx()) gfx()->drawImage(cg().overlayImage, 0, 0, 20);
}

void startLevelTimer(jint hold, jint seconds) {
    (void)hold;
    cg().levelTimer = java::imul(seconds, 16);
}

void resetClip(javax_microedition_lcdui_Graphics* g) {
    if (g) g->setClip(0, 0, 480, 800);
}
void setGameClip(jint x, jint y, jint w, jint h) {
    if (gfx()) gfx()->setClip(x, y, w, h);
}

void freeLoadStep(jint i) {
    ByteArray* table = cg().loadingTable;
    if (!table || i < 0 || i >= kLoadRecords || table->length() < kLoadTableBytes) return;
    const jbyte* r = table->data() + i * kLoadRecordBytes;
    const jint op = r[0], slot = r[1] & 255;
    const jint param = r[6] & 255;
    const jint resource = ((r[8] & 255) << 8) | (r[9] & 255);
    ObjectArray* sprites = cg().sprites;
    switch (op) {
    case 1:
        if (sprites && sprites->inBounds(slot)) sprites->data()[slot] = nullptr;
        break;
    case 2:
        if (cg().fonts && cg().fonts->inBounds(slot)) cg().fonts->data()[slot] = nullptr;
        break;
    case 4: loadSteps().unloadTextPack(resource); break;
    case 10: loadSteps().dropLevelScripts(); break;
    case 11: loadSteps().dropMapRegions(); break;
    case 12:
        loadSteps().dropLayers();
        cg().mapPixelWidth = cg().mapPixelHeight = 0;
        break;
    case 15:
        if (cg().levelSprites && cg().levelSprites->inBounds(param & 15)) cg().levelSprites->data()[param & 15] = nullptr;
        break;
    case 16: cg().charMap = nullptr; break;
    case 19:
        if (cg().scriptRestartMark == slot) cg().scriptRestartMark = -1;
        break;
    case 22:
        cg().overlayImage = nullptr;
        cg().overlayGraphics = nullptr;
        break;
    default: break;
    }
}

}  // namespace game
