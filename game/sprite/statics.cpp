// Static fields of ASprite and BitmapFont: their contributions to the
// statics block, the class initialisers and the growth of the work buffers.
#include "game/sprite/statics.h"

#include <algorithm>

#include "game/sprite/host_statics.h"
#include "game/sprite/gfx.h"
#include "runtime/log.h"

namespace sprite {
namespace {

void ASprite_clinit() {
    ASpriteStatics& s = as();
    s.substringStart = -1;
    s.substringEnd = -1;
    s.separator = 124;
    s.collectOnLoad = 1;
    s.workRect = newIntArray(4);
}

void BitmapFont_clinit() {
    BitmapFontStatics& s = bf();
    s.flag0 = 0;
    s.waveTable = IntArray::fill(newIntArray(16), {-2, -2, -2, -1, -1, 0, 1, 1, 2, 2, 2, 1, 1, 0, -1, -1});
    s.textParams = newObjectArray(cid::Object, 16);
    s.minWidth = java::kIntMin;
    s.maxWidth = java::kIntMax;
    s.minHeight = java::kIntMin;
    s.maxHeight = java::kIntMax;
    s.listRect = newIntArray(4);
    s.flag1 = 1;
    s.offscreenImage = gfx::createImage(kOffscreenSide, kOffscreenSide);
    s.rotateRect = newIntArray(4);
    bf().offscreenGraphics = gfx::getGraphics(bf().offscreenImage);
}

}  // namespace

StaticsContribution g_ASpriteStatics = StaticsContribution::of<ASpriteStatics>(
    "ASprite", kClinitASprite, &ASprite_clinit,
    {offsetof(ASpriteStatics, lineBreaks), offsetof(ASpriteStatics, workPixels), offsetof(ASpriteStatics, workPixels2),
     offsetof(ASpriteStatics, workRect)});

StaticsContribution g_BitmapFontStatics = StaticsContribution::of<BitmapFontStatics>(
    "BitmapFont", kClinitBitmapFont, &BitmapFont_clinit,
    {offsetof(BitmapFontStatics, waveTable), offsetof(BitmapFontStatics, textParams),
     offsetof(BitmapFontStatics, listRect), offsetof(BitmapFontStatics, offscreenImage),
     offsetof(BitmapFontStatics, rotateRect), offsetof(BitmapFontStatics, listOutput),
     offsetof(BitmapFontStatics, offscreenGraphics)});

void registerSpriteStatics() {
    StaticClass::contribute(&g_ASpriteStatics);
    StaticClass::contribute(&g_BitmapFontStatics);
    StaticClass::contribute(&g_StandaloneHostStatics);
}

void appendSpriteStatics(std::vector<const StaticsContribution*>& list) {
    for (const StaticsContribution* c : {&g_ASpriteStatics, &g_BitmapFontStatics, &g_StandaloneHostStatics})
        if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
}

bool ensureWorkBuffers(jint n) {
    ASpriteStatics& s = as();
    n = std::max(n, kWorkPixels);
    if (!s.workPixels || s.workPixels->length() < n) {
        IntArray* a = newIntArray(n);
        if (!a->data()) return false;
        as().workPixels = a;
    }
    if (!as().workPixels2 || as().workPixels2->length() < n) {
        IntArray* a = newIntArray(n);
        if (!a->data()) return false;
        as().workPixels2 = a;
    }
    return true;
}

}  // namespace sprite
