// One sprite file through the whole engine (bounded work per file).
#include "tests/game/sprite/exercise.h"

#include <algorithm>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/sprite/bitmapfont.h"
#include "game/sprite/host.h"
#include "game/sprite/sprite.h"
#include "game/sprite/statics.h"
#include "runtime/runtime.h"

namespace spritetest {

namespace {

constexpr jint kMaxFrames = 24;

void paintEverything(BSprite* s, javax_microedition_lcdui_Graphics* g) {
    const jint frames = std::min(s->getFrameCount(), kMaxFrames);
    for (jint f = -1; f <= frames; ++f)
        for (jint flags = 0; flags < 8; ++flags) {
            s->paintFrame(g, f, 60 + flags, 30, flags, 0, 0);
            s->paintFrame(g, f, -20, 470, flags | 0x10, 0, 0);
        }
    const jint anims = std::min(s->getAnimCount(), kMaxFrames);
    for (jint a = 0; a < anims; ++a)
        for (jint k = 0; k <= std::min(s->getAFrameCount(a), 8); ++k) s->paintAFrame(g, a, k, 40, 40, k & 7, 0, 0);
    for (jint m = -1; m <= std::min(s->moduleCount, kMaxFrames); ++m) s->paintModule(g, m, 10, 10, m & 7);
}

}  // namespace

bool exerciseSpriteFile(const uint8_t* data, size_t size) {
    ByteArray* bytes = newByteArray(static_cast<jint>(size));
    std::copy_n(reinterpret_cast<const jbyte*>(data), size, bytes->data());
    BSprite* s = newObject<BSprite>();
    s->load(bytes, 0);
    if (s->moduleCount == 0 && !s->hasFrames() && s->getAnimCount() == 0) return false;

    auto* image = javax_microedition_lcdui_Image::createImage(120, 96);
    javax_microedition_lcdui_Graphics* g = image->getGraphics();
    sprite::StandaloneHost::setCurrentGraphics(g);
    IntArray* rect = newIntArray(4);
    IntArray* list = newIntArray(64);
    const jint frames = std::min(s->getFrameCount(), kMaxFrames);
    for (jint f = -1; f <= frames; ++f) {
        s->getFrameRect(rect, f, 3, 4, f & 7);
        s->getFrameWidth(f);
        s->getFrameRectCount(f);
        for (jint i = -1; i < 3; ++i) s->getFrameRectAt(f, i, rect, i & 3);
        BitmapFont::getFrameRectList(s, list, f, 1, 2, f & 3);
        BitmapFont::collectFrameModuleRects(s, list, f, 1, 2, f & 7);
    }
    for (jint a = -1; a <= std::min(s->getAnimCount(), kMaxFrames); ++a) {
        s->getAnimDuration(a);
        s->getAFrameRect(rect, a, 0, 0, 0, a & 7);
        BitmapFont::getAFrameRectList(s, list, a, 0, 0, 0, 1);
        BitmapFont::collectAFrameModuleRects(s, list, a, 0, 0, 0, 2);
    }
    s->initAlphaTables();
    for (jint p = -1; p <= s->paletteCount; ++p) s->setPalette(p);
    s->setPalette(0);
    paintEverything(s, g);

    // Rotated and scaled.
    for (jint f = 0; f < std::min(frames, 4); ++f) {
        s->setRotation(37 * (f + 1));
        s->setScale(50 + 60 * f);
        s->paintFrame(g, f, 60, 40, f & 7, 0, 0);
    }
    s->setAlpha(100);
    // Every cache, then painting again.
    for (jint remap = -1; remap < 2; ++remap) {
        s->setModuleRemapIndex(remap);
        paintEverything(s, g);
    }
    s->setModuleRemapIndex(-1);
    ASprite::setImageCacheEnabled(s, true);
    s->buildModuleImages(0, 0, -1, -1);
    s->cacheFrameImages(0, 0, kMaxFrames);
    paintEverything(s, g);
    ASprite::setImageCacheEnabled(s, false);
    s->buildModuleImages(0, 0, -1, -1);
    s->cacheAnimImages(0, 0);
    s->cacheFrameImages(0, 0, kMaxFrames);
    paintEverything(s, g);
    s->buildFrameIndexImages(0, kMaxFrames);
    s->pixelData = nullptr;
    s->moduleImageCache = nullptr;
    s->frameImageCache = nullptr;
    paintEverything(s, g);

    // As a font.
    ShortArray* map = newShortArray(9);
    const jshort values[] = {2, 'A', 2, 'B', 3, 1, 1, ' ', 4};
    std::copy_n(values, 9, map->data());
    s->setCharMap(map);
    String* text = String::fromLatin1("AB \\^A\\_B\x01\x01\x02\x03 BA\nA  B \\5A\x01\xFF");
    s->drawString(g, text, nullptr, 5, 5, 1 | 2, true);
    s->drawMultilineString(g, text, 100, 50, 8 | 32, 0, text->length());
    s->wrapText(text, 7);
    s->getWrappedLineCount(text, 2, 9, 3);
    return true;
}

}  // namespace spritetest
