// The game-side services that the sprite engine calls: the translucent fill
// with its colour row, the sine table, the game's current Graphics, the
// shared pixel buffers and the (normally idle) image-effect step. They sit
// behind one small interface so that the engine runs without game code:
// a built-in host serves tests and tools, and the game installs its own
// (setSpriteHost) before it paints.
//
// Invariants: every Java array a host hands out is reachable from a
// collector root (a static field) for as long as the engine may use it; the
// buffers answered for a minimum length hold at least that many ints.
#pragma once

#include "runtime/array.h"

class javax_microedition_lcdui_Graphics;

namespace sprite {

// What an image-effect step leaves for the painter: the pixels to draw
// (null: nothing more to draw), their width and height and whether they
// carry alpha.
struct EffectResult {
    IntArray* pixels = nullptr;
    jint width = 0;
    jint height = 0;
    bool alpha = false;
};

class SpriteHost {
public:
    virtual ~SpriteHost() = default;

    // cGame.setAlphaFillColor: the colour row (256 ARGB ints of one colour).
    virtual void setAlphaFillColor(jint argb) = 0;
    // cGame.drawTiledRect: the colour row drawn with alpha over (x, y, w, h)
    // inside g's clip; g's clip is the same afterwards.
    virtual void drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) = 0;

    // cGame.sin: 14-bit fixed point (16384 = 1.0) of an angle in sine-table
    // steps; and the table's quarter circle and steps per circle.
    virtual jint sin(jint angle) = 0;
    virtual jint quarterCircle() = 0;
    virtual jint stepsPerCircle() = 0;

    // The game's current Graphics (the screen Graphics of the frame being
    // painted); may be null outside a paint.
    virtual javax_microedition_lcdui_Graphics* currentGraphics() = 0;

    // The game's shared pixel buffer and the rotated-frame destination, each
    // grown to at least minLength ints (null only when that cannot be had).
    virtual IntArray* pixelBuffer(jint minLength) = 0;
    virtual IntArray* rotationBuffer(jint minLength) = 0;

    // The game's pixel-effect switches: true when module and frame pixels
    // pass applyImageEffect before drawing.
    virtual bool imageEffectActive() { return false; }
    // cGame.applyImageEffect over w x h pixels with transform t.
    virtual EffectResult applyImageEffect(javax_microedition_lcdui_Graphics* g, IntArray* rgb, jint x, jint y, jint w,
                                          jint h, jint t, bool alpha) {
        return {rgb, w, h, alpha};
    }
};

// The installed host (the built-in one unless the game installed its own).
SpriteHost& host();
// Installs host; null restores the built-in one. The host must outlive its
// installation.
void setSpriteHost(SpriteHost* host);

// The built-in host, for tests and tools: a sine table of 360 steps (exact
// at the quarter points), its own colour row and buffers in static fields,
// and a current Graphics set by the caller.
class StandaloneHost final : public SpriteHost {
public:
    void setAlphaFillColor(jint argb) override;
    void drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) override;
    jint sin(jint angle) override;
    jint quarterCircle() override { return 90; }
    jint stepsPerCircle() override { return 360; }
    javax_microedition_lcdui_Graphics* currentGraphics() override;
    IntArray* pixelBuffer(jint minLength) override;
    IntArray* rotationBuffer(jint minLength) override;

    static void setCurrentGraphics(javax_microedition_lcdui_Graphics* g);
    static StandaloneHost& instance();
};

}  // namespace sprite
