// Heads-up display arithmetic: banner, time digits, tweens, touch pass
// (hud.h).
#include "game/flow/screens/hud.h"

#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/flow/screens/flowseams.h"
#include "game/world/body.h"
#include "runtime/jint.h"

namespace game {

jint bannerX(jint t) {
    if (t < 32) return 860 - t * 460 / 32;
    if (t <= 64) return 400;
    return 400 + (64 - t) * 460 / 32;
}

bool bannerShown(jint t) { return !(t >= 33 && t < 64 && java::irem(t, 5) > 2); }

void tallyTimeDigits(jint first, jint second, jint out[10]) {
    auto fill = [](jint v, jint* d) {
        d[0] = java::idiv(v, 3600);
        const jint m = java::irem(java::idiv(v, 60), 60), s = java::irem(v, 60);
        d[1] = m / 10;
        d[2] = m % 10;
        d[3] = s / 10;
        d[4] = s % 10;
    };
    fill(first, out);
    fill(second, out + 5);
}

void updateTweens() {
    cGameStatics& g = cg();
    IntArray* slots = g.tweenSlots;
    if (!slots || !g.tweenActors || !g.tweenFrom || !g.tweenTo || !g.tweenElapsed || !g.tweenBoxW || !g.tweenBoxH)
        return;
    for (jint i = 0; i < kTweenSlots && i < slots->length(); ++i) {
        const jint d = slots->data()[i];
        if (d < 0) continue;
        // cActor derives from Object alone, so the element is the actor.
        auto* actor = reinterpret_cast<cActor*>(g.tweenActors->length() > i ? g.tweenActors->data()[i] : nullptr);
        const jint t = g.tweenElapsed->data()[i];
        const jlong from = g.tweenFrom->data()[i], to = g.tweenTo->data()[i];
        const jint scale = d == 0 ? static_cast<jint>(to) : static_cast<jint>(((d - t) * from + t * to) / d);
        if (actor) {
            actor->scale = scale;
            game::world::setBoxSize(actor, g.tweenBoxW->data()[i], g.tweenBoxH->data()[i]);
        }
        if (t >= d) {
            if (g.tweenActors->length() > i) g.tweenActors->data()[i] = nullptr;
            slots->data()[i] = -1;
        }
        g.tweenElapsed->data()[i] = java::iadd(t, 1);
    }
}

namespace {

struct ZoneAction {
    jint zone;
    jint bits;        // hero action bits always set
    jint flagBits;    // set only when the hero's flag word has bit value 1
    jint buttons;
    jint item;        // -1 leaves the panel item alone
    bool period;      // restarts the panel period
};

constexpr ZoneAction kZones[] = {
    {3, 0x401 | 0x100 | 0x4000, 0, 4, 3, true},
    {4, 0x802 | 0x100 | 0x8000, 0, 8, 4, true},
    {1, 0x80000 | 0x40 | 0x1000 | 4, 0, 1, 1, false},
    {0, 8 | 0x40 | 0x1000 | 0x4000, 1, 0x10, 0, false},
    {2, 0x10 | 0x40 | 0x1000 | 0x8000, 2, 0x20, 2, false},
    {6, 0x20 | 0x200 | 0x2000 | 0x10000, 0, 2, 6, false},
    {5, 0x2000 | 0x4000 | 0x10000 | 0x20000, 0, 0x40, 5, false},
    {7, 0x2000 | 0x8000 | 0x10000 | 0x40000, 0, 0x80, 7, false},
    {8, 0x80, 0, 0x100, 8, false},
};

bool padTouched(jint zone) { return isTouchInRect(padZone(zone)); }

}  // namespace

void handlePanelTouch() { handlePanelTouch(&padTouched); }

void handlePanelTouch(bool (*touched)(jint zone)) {
    cGameStatics& g = cg();
    g.panelPeriod = java::isub(g.panelPeriod, 1);
    jint bits = 0;
    buttonBits() = 0;
    bool matched = false;
    for (const ZoneAction& z : kZones) {
        if (!touched(z.zone)) continue;
        bits = z.bits;
        if (z.flagBits && (ca().inputOptions & 1)) bits |= z.flagBits;
        buttonBits() = z.buttons;
        g.panelItem = z.item;
        if (z.period) g.panelPeriod = 10;
        matched = true;
        break;
    }
    if (!matched && touched(9)) {
        if (g.panelItem == 3 && g.panelPeriod > 0) {
            bits = 8;
        } else if (g.panelItem == 4 && g.panelPeriod > 0) {
            bits = 0x10;
        } else {
            bits = 4 | 0x80000;
        }
        buttonBits() = 0x200;
    }
    if (isPartnerZoneTouched()) {
        bits |= 0x100000;
        g.panelItem = -1;
        buttonBits() |= 0x400;
    }
    ca().heroActionMask = bits;
}

}  // namespace game
