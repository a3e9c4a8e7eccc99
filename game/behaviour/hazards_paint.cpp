// The special painters: the drifting part field (28), bars of end and
// middle pieces (61, 75), a row of frames above a black fill (76) and a
// rectangle tiled from nine kinds of pieces (78).
//
// Invariants: painting changes no game state except the documented box
// shift of the bar and rectangle painters; the field's spark offsets are
// taken back after drawing; every loop steps by a positive piece size and
// draws a bounded number of pieces (a zero or absurd size draws nothing).
#include "display/lcdui/graphics.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/screen.h"
#include "game/world/camera.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

constexpr jint kMaxDrawnPieces = 256;

jint viewLeft() { return game::world::getLayerX(3) - 400; }

jint viewTop() {
    jint top = game::world::getLayerY(3) - 240 - hf::quakeOffset();
    const jint maxTop = cg().mapPixelHeight - 480;
    if (top > maxTop) top = maxTop;
    if (top < 0) top = 0;
    return top;
}

void draw(cActor* a, jint anim, jint frame, jint x, jint y) {
    drawSpriteFrame(a->sprite, anim, frame, x, y, 0, 100, 0);
}

bool validPiece(jint size) { return size > 0 && size <= 1024; }

// A once-per-subtype log line for a painter that declines an actor.
void declineOnce(cActor* a, const char* why) {
    static jint lastSubtype = -1, lastType = -1;
    if (a->subtype == lastSubtype && a->type == lastType) return;
    lastSubtype = a->subtype;
    lastType = a->type;
    logPrintf("Actor type %d subtype %d: %s, not painted", a->type, a->subtype, why);
}

}  // namespace

// --- drifting field (28) ------------------------------------------------------------------

void paintType28(cActor* self, jint, jint) {
    if (!hf::ambientAnimOn() || !self->parts || self->parts->length() < 61) return;
    const jint ox = cg().mapPixelWidth - game::world::getLayerX(self->layer) - 400;
    const jint oy = cg().mapPixelHeight - game::world::getLayerY(self->layer) - 240;
    jint offX[5] = {}, offY[5] = {};
    const bool sparks = self->subtype == 106;
    jint* e = self->parts->data();
    if (sparks) {
        for (jint i = 0; i < 5; ++i) {
            const jint t = hf::sparkTimers()[i];
            if (t > 15) continue;
            const jint a = t * 360 / 15;
            const jint amplitude = java::imul(fixedSin(a / 2), 35);
            const jint angle = hf::sparkAngles()[i];
            offX[i] = static_cast<jint>((static_cast<jlong>(fixedSin(angle + a + 90)) * amplitude) >> 28);
            offY[i] = static_cast<jint>((static_cast<jlong>(fixedSin(angle + a)) * amplitude) >> 28);
            const jint p = hf::sparkParts()[i];
            if (p < 0 || p > 11) continue;
            e[13 + p] += offX[i];
            e[25 + p] += offY[i];
        }
    }
    for (jint k = 0; k < 12; ++k) {
        e = self->parts->data();
        const jint sx = java::irem(java::iadd(e[13 + k], ox), 800);
        const jint sy = java::irem(java::iadd(java::iadd(e[25 + k], e[0] >> 8), oy), 480);
        const jint anim = e[1 + k], frame = e[37 + k];
        draw(self, anim, frame, sx + 400, sy + 240);
        draw(self, anim, frame, sx - 400, sy + 240);
        draw(self, anim, frame, sx + 400, sy - 240);
        draw(self, anim, frame, sx - 400, sy - 240);
    }
    if (sparks) {
        e = self->parts->data();
        for (jint i = 0; i < 5; ++i) {
            const jint p = hf::sparkParts()[i];
            if (p < 0 || p > 11) continue;
            e[13 + p] -= offX[i];
            e[25 + p] -= offY[i];
        }
    }
}

// --- bars (61, 75) -------------------------------------------------------------------------

void paintType61(cActor* self, jint dx, jint dy) {
    if (!self->box) return;
    jshort* b = self->box->data();
    b[0] = java::i2s(b[0] + dx);
    b[1] = java::i2s(b[1] + dy);
    const jint vl = viewLeft();
    const jint sx = b[0] - vl, ex = b[2] - vl, sy = self->posY - viewTop();
    const jint w = self->getTypeParam(6), n = self->getParamOr(0);
    const bool alt = self->subtype == 210;
    draw(self, alt ? 4 : 1, 0, sx, sy);
    draw(self, alt ? 5 : 2, 0, ex, sy);
    if (n < 0 || n > kMaxPieces) return declineOnce(self, "bar piece count outside 0-64");
    for (jint i = 0; i < n; ++i) draw(self, alt ? 3 : 0, 0, sx + i * w, sy);
}

// --- row over a black fill (76) ----------------------------------------------------------------

void paintType76(cActor* self, jint, jint) {
    const jint sy = self->posY - viewTop();
    const jint vl = viewLeft();
    const jint x1 = hf::originX(self) - vl, x2 = hf::spanRight(self) - vl;
    const jint w = x2 - x1, h = 480 - sy;
    javax_microedition_lcdui_Graphics* g = cg().graphics;
    // A row whose ends are reversed fills nothing (and draws no frames).
    if (g && w > 0 && h > 0) {
        g->setColor(0);
        g->fillRect(480 - sy - h, x1, h, w);
    }
    const jint step = self->getTypeParam(6);
    if (!validPiece(step)) return declineOnce(self, "piece width outside 1-1024");
    jint drawn = 0;
    for (jint x = x1; x < x2 && drawn < kMaxDrawnPieces; x += step, ++drawn) draw(self, self->anim, self->frame, x, sy);
}

// --- tiled rectangle (78) -------------------------------------------------------------------------

void paintType78(cActor* self, jint dx, jint dy) {
    if (!self->box) return;
    jshort* b = self->box->data();
    b[0] = java::i2s(b[0] + dx);
    b[1] = java::i2s(b[1] + dy);
    const jint vl = viewLeft(), vt = viewTop();
    const jint sx = b[0] - vl, ex = b[2] - vl, sy = b[1] - vt, ey = b[3] - vt;
    const jint w = self->getTypeParam(6), h = self->getTypeParam(7);
    if (!validPiece(w) || !validPiece(h)) return declineOnce(self, "piece size outside 1-1024");
    jint a = self->anim;
    const jint f = self->frame;
    jint rows = 0;
    for (jint y = sy; y < ey && rows < kMaxDrawnPieces; y += h, ++rows) {
        draw(self, a - 1, f, sx, y);
        draw(self, a + 1, f, ex, y);
        jint drawn = 0;
        for (jint x = sx; x < ex && drawn < kMaxDrawnPieces; x += w, ++drawn) draw(self, a, f, x, y);
        if (y == sy || y >= ey - h) a += 3;
    }
}

}  // namespace game::behaviour
