// The ambient part field (type 28): twelve animated parts on a jittered
// grid and five shared sparks, all drawn from the game's random generator;
// and the random launch that throws an actor off to a random side.
//
// Invariants: the field's parts array is an int[61] laid out as
// layPartField makes it (made on first update when set-up did not);
// random draws happen in the documented order only, so a fixed seed gives
// a fixed field; spark timers are never reseeded below 15.
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_fields.h"
#include "game/behaviour/setup.h"
#include "game/flow/gmath.h"
#include "game/sprite/sprite.h"

namespace game::behaviour {

namespace {

constexpr jint kFieldParts = 12;
constexpr jint kFieldLength = 61;
constexpr jint kSparks = 5;

}  // namespace

void updateType28(cActor* self) {
    if (!hf::ambientAnimOn()) return;
    if (!self->parts || self->parts->length() < kFieldLength) initRandomParts(self);
    for (jint s = 0; s < kSparks; ++s) {
        jint* timers = hf::sparkTimers();
        timers[s] -= 1;
        if (timers[s] <= 0) {
            const jint t = random(20) + 15;
            const jint part = random(12);
            const jint angle = random(360);
            hf::sparkTimers()[s] = t;
            hf::sparkParts()[s] = part;
            hf::sparkAngles()[s] = angle;
        }
    }
    jint* e = self->parts->data();
    e[0] = java::iadd(e[0], 640);
    BSprite* sprite = self->sprite;
    if (!sprite) return;
    for (jint i = 0; i < kFieldParts; ++i) {
        const jint a = e[1 + i];
        jint& frame = e[37 + i];
        jint& ticks = e[49 + i];
        ticks += 1;
        if (ticks >= sprite->getAFrameTime(a, frame)) {
            ticks = 0;
            frame += 1;
            if (frame >= sprite->getAFrameCount(a)) frame = 0;
        }
    }
}

void launchRandomly(cActor* self) {
    if (!self) return;
    if (!self->motion) self->allocMotionState();
    hf::timer(self) = 13;
    hf::nextState(self) = 40;
    self->aiState = 8;
    hf::physicsFlags(self) = 0x1000000;
    self->setVelocityLimitsX(-1958, 1958);
    self->setVelocityLimitsY(-10240, 10240);
    const jint draw = random(100);
    jint* m = self->motion->data();
    m[2] = draw < 51 ? 1958 : -1958;
    m[3] = -3622;
    m[0] = 0;
    m[1] = 435;
    self->flags |= 0xA0010;
    hf::counter(self) = 0;
}

}  // namespace game::behaviour
