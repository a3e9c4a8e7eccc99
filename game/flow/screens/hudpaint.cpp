// The heads-up display's painters: the side-panel icon and counter, the
// hero portrait, the corner buttons (translucent images built once), the
// off-screen target pointer, the fade overlay and tiled fills, the sky, the
// loading picture and hints, the in-game soft keys, the stat bars and the
// small HUD state routines (hud.h).
//
// Invariants: every image is built once and reused; the button pixel
// buffers are released at the end of each call; nothing here divides by a
// value from data without a guard; the HUD's actors are made, painted and
// dropped through the actor framework's screen routines (screencalls.h).
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/actor/actor.h"
#include "game/actor/paint.h"
#include "game/actor/screencalls.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/data/util.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/screens.h"
#include "game/sprite/host.h"
#include "game/sprite/sprite.h"
#include "game/world/camera.h"
#include "runtime/jint.h"
#include "runtime/statics.h"
#include "runtime/stringbuffer.h"

namespace game {

namespace {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

constexpr jint kButtonSprite = 112;
constexpr jint kIndicatorSprite = 107;
constexpr jint kKeyFill = 0xFF00FF;
constexpr jint kSoundQuestion = 5;
// The fade overlay's colours, one a step: black with rising alpha.
constexpr jint kFadeColours[] = {0x20000000, 0x40000000, 0x60000000, static_cast<jint>(0x80000000),
                                 static_cast<jint>(0xA0000000), static_cast<jint>(0xC0000000)};
constexpr jint kFadeSteps = sizeof kFadeColours / sizeof kFadeColours[0];
// The sky: two gradient strips in canvas space (w columns by h rows), tiled
// down the canvas.
constexpr jint kSkyW = 96, kSkyH = 32;
constexpr jint kSkyTop[2] = {static_cast<jint>(0xFF3A6EA5), static_cast<jint>(0xFF9CC9E8)};
constexpr jint kSkyBottom[2] = {static_cast<jint>(0xFF9CC9E8), 0x00FFFFFF};

String* pool(jint i) { return StaticClass::getStringConstant(i); }

template <typename T>
T* elementAt(ObjectArray* a, jint i) {
    return a && i >= 0 && i < a->length() ? static_cast<T*>(a->data()[i]) : nullptr;
}

// Builds the translucent image of button frame f once: the frame painted on
// the key colour, the key colour made transparent, every other pixel masked
// with cGame.buttonAlphaMask.
Image* buttonImage(BSprite* sprite, jint f) {
    cGameStatics& s = cg();
    if (!s.buttonImages) {
        ObjectArray* images = newObjectArray(cid::Object, 4);
        cg().buttonImages = images;
    }
    if (Image* done = elementAt<Image>(cg().buttonImages, f)) return done;
    // The engine turns every frame a quarter onto the canvas: the image is
    // h wide and w high, and the frame's view origin is moved onto it.
    const jint fw = sprite->getFrameWidth(f), fh = sprite->getFrameHeight(f);
    if (fw <= 0 || fh <= 0) return nullptr;
    const jint w = fh, h = fw;
    Image* canvas = Image::createImage(w, h);
    if (!canvas) return nullptr;
    Graphics* g = canvas->getGraphics();
    g->setColor(kKeyFill);
    g->fillRect(0, 0, w, h);
    g->translate(-(480 - fh), 0);
    sprite->paintFrame(g, f, 0, 0, 0, 0, 0);
    if (!cg().buttonPixels) {
        ObjectArray* buffers = newObjectArray(cid::IntArray, 4);
        cg().buttonPixels = buffers;
    }
    IntArray* px = newIntArray(java::imul(w, h));
    cg().buttonPixels->data()[f] = px;
    canvas->getRGB(px, 0, w, 0, 0, w, h);
    jint* p = px->data();
    cg().buttonKeyColour = p[0] & 0xFFFFFF;
    const jint key = cg().buttonKeyColour, mask = cg().buttonAlphaMask;
    for (jint i = 0; i < w * h; ++i) p[i] = (p[i] & 0xFFFFFF) != key ? (p[i] & mask) : key;
    Image* image = Image::createRGBImage(px, w, h, true);
    cg().buttonImages->data()[f] = image;
    return image;
}

void drawImageAt(Image* image, jint x, jint y) {
    if (Graphics* g = cg().graphics; g && image) g->drawImage(image, x, y, 0);
}

}  // namespace

// --- panel icon, counter and portrait ------------------------------------------

void updatePanelActor() {
    cGameStatics& g = cg();
    const jint c = getVariable(0);
    bool finished = false;
    if (cActor* icon = g.panelActor) {
        finished = animationEnded(icon);
        if (finished && (icon->flags & static_cast<jint>(0x80000000)) == 0) {
            deactivateScreenActor(icon);
            g.panelActor = nullptr;
        } else {
            icon->scale = 100;
        }
    }
    BSprite* sprite = spriteAt(ca().itemId);
    if (!g.panelActor || finished || c != g.panelShownCounter) {
        if (sprite) g.panelActor = spawnScreenEffect(sprite, 0, 677, 90, 14, 0x62000, -1);
        g.panelShownCounter = c;
    }
    if (g.panelActor) {
        paintScreenActor(g.panelActor);
    } else if (sprite) {
        sprite->paintFrame(cg().graphics, 18, 666, 60, 0, 0, 0);
    }
    setFontPalette(0, 6);
    addIntParam(c);
    drawFontText(0, pool(34), 610, 37, 4);
}

jint portraitAnimation(jint heroSubtype) {
    if (heroSubtype == 113 || heroSubtype == 237) return 46;
    return heroSubtype == 242 ? 47 : 45;
}

void paintHeroPortrait() {
    cGameStatics& g = cg();
    const jint anim = portraitAnimation(heroSubtype());
    if (g.portraitActor && g.portraitActor->anim != anim) {
        deactivateScreenActor(g.portraitActor);
        g.portraitActor = nullptr;
    }
    if (!g.portraitActor)
        if (BSprite* sprite = getSpriteById(1, 18))
            g.portraitActor = spawnScreenEffect(sprite, anim, 0, 0, 14, 0x62000, g.portraitActorId);
    if (g.portraitActor) paintScreenActor(g.portraitActor);
}

void paintPanelCaption() {
    setFontPalette(1, 6);
    drawFontText(1, pool(34), 76, 2, 0);
}

// --- corner buttons ----------------------------------------------------------------

bool paintPanelButton(jint x, jint y) {
    if (!isTouchInRect(cg().touchRect4) || cg().dialogMode == 3) return false;
    cg().touchPressed = 0;
    buttonBits() |= 0x800;
    if (BSprite* sprite = spriteAt(kButtonSprite)) sprite->paintFrame(cg().graphics, 4, x, y, 0, 0, 0);
    return true;
}

void paintSidePanelButtons() {
    cGameStatics& g = cg();
    BSprite* sprite = spriteAt(kButtonSprite);
    if (g.touchButtons && sprite && sprite->getFrameCount() >= 4) {
        jint w[4], h[4];
        Image* images[4];
        for (jint f = 0; f < 4; ++f) {
            images[f] = buttonImage(sprite, f);
            w[f] = sprite->getFrameWidth(f);
            h[f] = sprite->getFrameHeight(f);
        }
        // Images are drawn in canvas pixels, the pressed looks over them in
        // view pixels: the pad (bottom left of the view) with the looks of
        // its cells at its centre, the two buttons of the right corner with
        // theirs at its corner, the action button (top right) with its own.
        drawImageAt(images[0], 34, 34);
        paintButtonFrames(h[0] / 2 + 34, 446 - w[0] / 2);
        drawImageAt(images[1], 34, 766 - w[1]);
        paintButtonFrames2(767, 446);
        drawImageAt(images[2], 446 - w[2], 766 - h[2]);
        paintPanelButton(764 - h[2] / 2, w[2] / 2 + 34);
        if (heroFacesInteraction()) {
            // The partner button above the view's centre.
            const jint zx = (800 - w[3]) / 2, zy = (480 - h[3]) / 2 - h[3];
            if (heroSubtype() == 113) {
                if (sprite->getFrameCount() > 18) sprite->paintFrame(cg().graphics, 18, zx, zy, 0, 0, 0);
                paintButtonFrames5(zx, zy);
                paintButtonFrames6(zx, zy);
            } else {
                drawImageAt(images[3], (h[3] + 480) / 2, (800 - w[3]) / 2);
                paintButtonFrames4(zx, zy);
                paintButtonFrames3(zx, zy);
            }
        }
    }
    // The pixel buffers are needed only while an image is built.
    if (ObjectArray* px = cg().buttonPixels)
        for (jint i = 0; i < px->length(); ++i) px->data()[i] = nullptr;
}

// --- target pointer -------------------------------------------------------------

void paintTargetPointer() {
    // The pointer follows the gauge's actor, at its position in map pixels.
    const cActor* target = cg().targetActor;
    if (!target) return;
    const jint tx = target->posX, ty = target->posY;
    const jint cx = game::world::getLayerX(-1), cy = game::world::getLayerY(-1);
    const jint dx = java::isub(tx, cx), dy = java::isub(ty, cy);
    if (dx >= -400 && dx <= 400 && dy >= -240 && dy <= 240) return;  // in view
    // The inset rectangle, camera-relative: 25 pixels in from each edge.
    const jint edges[4][4] = {{-375, -215, 375, -215}, {375, -215, 375, 215}, {375, 215, -375, 215},
                              {-375, 215, -375, -215}};
    jint px = 0, py = 0;
    bool hit = false;
    for (const auto& e : edges) {
        if (!segmentsIntersect(0, 0, dx, dy, e[0], e[1], e[2], e[3])) continue;
        px = cg().intersectX;
        py = cg().intersectY;
        hit = true;
        break;
    }
    if (!hit) return;
    const jint steps = java::idiv(java::iadd(atan2(dx, dy), 22), 45);
    if (BSprite* arrow = getSpriteById(10, 18))
        arrow->paintFrame(cg().graphics, 15, px + 405, py + 253, 0, java::imul(steps, 45), 0);
    const jlong d2 = jlong{dx} * dx + jlong{dy} * dy;
    StringBuffer* b = StringBuffer::make(16);
    StringBuffer::append(b, pool(1));
    StringBuffer::appendInt(b, static_cast<jint>(isqrt(d2)));
    drawFontText(0, b->toString(), px + 400, py + 242, 20);
}

// --- fades, tiled fills ------------------------------------------------------------

void drawTiledRect(Graphics* g, jint x, jint y, jint w, jint h) {
    sprite::host().drawTiledRect(g, x, y, w, h);
}

void fillTiledRect(jint x, jint y, jint w, jint h, jint colour, Graphics* g) {
    sprite::host().setAlphaFillColor(colour);
    drawTiledRect(g, x, y, w, h);
}

void fillRectColour(Graphics* g, jint x, jint y, jint w, jint h, jint colour) {
    if (!g) return;
    g->setColor(colour);
    g->fillRect(x, y, w, h);
}

void paintScreenBackground() {
    Graphics* g = cg().graphics;
    if (!g) return;
    if (cg().gameState == 24 && questionMenuId() == kSoundQuestion) {
        // The sound question stands alone on black: nothing of the notice
        // before it shows.
        g->setClip(0, 0, 480, 800);
        fillRectColour(g, 0, 0, 480, 800, 0);
    } else if (cg().overlayImage) {
        g->drawImage(cg().overlayImage, 0, 0, 0);
    }
}

void startFadeOverlay(jint step) {
    cGameStatics& s = cg();
    s.fadeOn = step >= 0 && step < kFadeSteps;
    s.fadeStep = step;
    s.fadeWipe = 10;
}

void paintFadeOverlay() {
    cGameStatics& s = cg();
    Graphics* g = cg().graphics;
    if (!s.fadeOn || s.fadeStep < 0 || s.fadeStep >= kFadeSteps || !g) return;
    sprite::host().setAlphaFillColor(kFadeColours[s.fadeStep]);
    g->setClip(0, 0, 480, 800);
    const jint p = s.fadeWipe;
    if (p < 106) {
        paintSpriteAnim(kIndicatorSprite, 2, p, 400, (p - 10) * 5);
        if (p > 10) drawTiledRect(g, (106 - p) * 5, 0, (p - 10) * 5, 800);
        s.fadeWipe = p + 1;
    } else {
        drawTiledRect(g, 0, 0, 480, 800);
    }
}

// --- sky ---------------------------------------------------------------------------

void paintSky(jint x, jint y) {
    Graphics* g = cg().graphics;
    if (!g) return;
    if (!cg().skyImages) {
        ObjectArray* images = newObjectArray(cid::Object, 2);
        cg().skyImages = images;
        for (jint i = 0; i < 2; ++i) {
            IntArray* px = newIntArray(kSkyW * kSkyH);
            // Columns run from the view's top (canvas right) to its bottom.
            for (jint c = 0; c < kSkyW; ++c) {
                const jint colour = lerpColor(kSkyTop[i], kSkyBottom[i], kSkyW - 1 - c, 0, kSkyW - 1);
                for (jint r = 0; r < kSkyH; ++r) px->data()[r * kSkyW + c] = colour;
            }
            Image* image = Image::createRGBImage(px, kSkyW, kSkyH, true);
            cg().skyImages->data()[i] = image;
        }
    }
    Image* base = elementAt<Image>(cg().skyImages, 0);
    Image* haze = elementAt<Image>(cg().skyImages, 1);
    const jint sway = java::ishr(java::imul(fixedSin(java::imul(getCurrentEntryValue(), 6)), 6), 14);
    // View (x, y) is canvas (479 - y, x): the strip's right edge at the view's top.
    const jint right = 480 - y;
    for (jint row = -kSkyH; row < 800 + kSkyH; row += kSkyH) {
        const jint cy = row + java::irem(x, kSkyH);
        if (base) g->drawImage(base, right - kSkyW, cy, 0);
        if (haze) g->drawRegion(haze, 0, 0, kSkyW - 8, kSkyH, 0, right - kSkyW + 4 + sway, cy, 0);
    }
}

// --- loading picture and hints ------------------------------------------------------

void pickLoadingHintFrom(jint next) {
    cGameStatics& g = cg();
    ObjectArray* texts = g.loadingHintTexts;
    const jint n = texts ? texts->length() : 0;
    if (n <= 0) {
        g.loadingHint = -1;
        return;
    }
    g.loadingHint = n == 1 ? 0 : [](jint r) { return r < 0 ? -r : r; }(java::irem(next, n - 1));
}

void pickLoadingHint() {
    ObjectArray* texts = cg().loadingHintTexts;
    const jint n = texts ? texts->length() : 0;
    pickLoadingHintFrom(n > 1 ? stepRandomSeed() : 0);
    spawnLoadingHintPicture();
}

void spawnLoadingHintPicture() {
    cGameStatics& g = cg();
    auto* picture = elementAt<IntArray>(g.loadingHintLayouts, g.loadingHint);
    if (!picture) return;
    // Records of five ints {sprite index, group, animation, x, y}; a short
    // tail is ignored.
    for (jint i = 0; i + 5 <= picture->length(); i += 5) {
        const jint* r = picture->data();
        const jint ref = r[i], group = r[i + 1], anim = r[i + 2], x = r[i + 3], y = r[i + 4];
        BSprite* sprite = getSpriteById(ref, group);
        if (sprite) spawnScreenEffect(sprite, anim, x, y, 2, 0x20000, -1);
        picture = elementAt<IntArray>(cg().loadingHintLayouts, cg().loadingHint);
        if (!picture) return;
    }
}

void paintLoadingHints() {
    paintEffectLayer(2);
    cGameStatics& g = cg();
    auto* hint = elementAt<IntArray>(g.loadingHintTexts, g.loadingHint);
    if (!hint || hint->length() < 3) return;
    const jint id = hint->data()[0], x = hint->data()[1], y = hint->data()[2];
    setFontPalette(0, 6);
    drawParagraph(0, getString(id), x, y, 780, 17);
}

// --- soft keys and bars ----------------------------------------------------------------

void paintInGameSoftKeys() {
    Graphics* g = cg().graphics;
    BSprite* font = fontAt(0);
    if (!g) return;
    const jint h = (font ? font->getFontHeight() : 0) + 37;
    g->setClip(h, 0, h, 800);
    const jint mode = cg().hudMode;
    if (cg().displayIdA != -1 && mode != 0 && mode != 8 && (mode != 4 || getStateBelow(cg().gameState) != 0))
        if (BSprite* bar = getSpriteById(1, 18)) bar->paintFrame(g, 42, 0, 480 - h, 0, 0, 0);
    if (cg().displayState && cg().gameState != 22) g->setClip(0, 0, 480, 800);
    setFontPalette(0, 6);
    IntArray* values = cg().displayValues;
    const jint left = values && values->length() > 0 ? values->data()[0] : -1;
    const jint right = values && values->length() > 1 ? values->data()[1] : -1;
    if (left > 0) drawTextById(0, left, 50, 455, 36);
    if (right > 0) {
        // The right key blinks while its corner zone is held; its label is
        // centred in the key's frame, which ends at the view's right edge.
        BSprite* keys = spriteAt(kIndicatorSprite);
        const bool lit = java::irem(cg().touchRect3Ticks, 3) == 2 && keys && keys->getFrameCount() > 22;
        if (keys) keys->paintFrame(g, lit ? 22 : 13, 787, 480, 0, 0, 0);
        const jint fw = keys && keys->getFrameCount() > 13 ? keys->getFrameWidth(13) : 0;
        String* label = getString(right);
        const jint tw = font && label ? font->getStringWidth(label) : 0;
        const jint inset = fw > tw ? (fw - tw) / 2 : 0;
        drawTextById(0, right, 800 - inset, 455, 40);
    }
}

void paintStatBarA() { drawBar(200, 70, 400, 11, getVariable(2), ca().markA, 0xFF00FF00, -1); }
void paintStatBarB() { drawBar(200, 70, 400, 11, getVariable(8), ca().markB, 0xFF00FF00, -1); }

// --- small HUD state routines ------------------------------------------------------------

jint selectContextValue() {
    cGameStatics& g = cg();
    jint& v = cg().contextValue;
    v = 0;
    const jint state = ca().heroState;
    if (state == 8) {
        const jint anim = heroAnimation();
        if (anim == 36) v = g.contextChoiceB;
        else if (anim == 15) v = g.contextChoiceA;
    } else if (state == 38) {
        v = ca().runSpeedFactor > 256 ? g.contextChoiceC : g.contextChoiceD;
    }
    return v;
}

void clearTarget() {
    cg().targetActor = nullptr;
    ca().levelMark = -1;
}

void resetHudCounters() {
    cGameStatics& s = cg();
    s.panelShownCounter = getVariable(0);
    if (!s.hudCounters) {
        IntArray* counters = newIntArray(kHudCounters);
        cg().hudCounters = counters;
    }
    jint* c = cg().hudCounters->data();
    for (jint i = 0; i < kHudCounters; ++i) c[i] = 0;
    c[kHudCounters - 1] = -1;
}

void toggleSoundOption() {
    if (isSoundOn()) {
        stopAllSoundsAndDisable();
    } else {
        setSoundOn(true);
        playSound(34);
    }
}

}  // namespace game
