// The hazard family's helpers: refusing a record, hero box tests, run-time
// spawn records, frame-rectangle boxes, and the family's statics.
//
// Invariants: a refused actor is logged once, stopped and kept inert in
// kRefusedState; spawn records are built in one short array that the new
// actor copies, so nothing keeps a pointer into it.
#include "game/actor/contact.h"
#include "game/actor/pool.h"
#include "game/behaviour/hazards.h"
#include "game/behaviour/hazards_core.h"
#include "game/behaviour/hazards_fields.h"
#include "game/behaviour/fields.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "runtime/log.h"

namespace game::behaviour {

void refuseHazard(cActor* self, const char* why) {
    if (!self) return;
    logPrintf("Actor type %d subtype %d (record %d) refused: %s", self->type, self->subtype, self->recordIndex, why);
    if (self->motion) cActor::stopMotion(self);
    self->aiState = kRefusedState;
}

bool isRefused(const cActor* self) { return !self || self->aiState == kRefusedState; }

void logSegmentOnce(cActor* self, const char* why) {
    if (!self || self->aiState == kRefusedState) return;
    logPrintf("Segment owner subtype %d (record %d): %s; it owns no segment", self->subtype, self->recordIndex, why);
    self->aiState = kRefusedState;
}

jint segmentProjectionScale() { return segmentScale() != 0 ? segmentScale() : ca().speedParam; }

namespace hz {

cActor* hero() { return cg().hero; }

bool heroMeetsBox(cActor* self) {
    cActor* h = hero();
    return h && h != self && h->box && self && self->box && cActor::rectsIntersect(self->box, h->box);
}

bool heroMeetsAttackBox(cActor* self) {
    cActor* h = hero();
    return h && h->box && self && self->attackBox && cActor::rectsIntersect(self->attackBox, h->box);
}

cActor* spawnRecordActor(jint templateId, jint x, jint y, jint anim, jint flags, jint length, const jint* extra,
                         jint extraCount) {
    if (length < 7) length = 7;
    ShortArray* record = newShortArray(length);
    jshort* r = record->data();
    r[0] = java::i2s(templateId);
    r[1] = java::i2s(nextUniqueId());
    r[2] = java::i2s(x);
    r[3] = java::i2s(y);
    r[5] = java::i2s(anim);
    r[6] = java::i2s(flags);
    for (jint i = 0; i < extraCount && 7 + i < length; ++i) r[7 + i] = java::i2s(extra[i]);
    cActor* a = spawnActor(record, length, 0);
    if (!a) return nullptr;
    a->flags |= 0x80000;
    addActiveActor(a);
    return a;
}

void boxFromFrameRect(cActor* self) {
    if (!self || !self->sprite || !self->box) return;
    const sprite::Box b = self->sprite->measureAFrame(self->anim, self->frame, 0, 0, 0);
    cActor::setBox(self->box, self->posX + b.minX, self->posY + b.minY, self->posX + b.maxX, self->posY + b.maxY);
}

jint animDuration(cActor* self, jint anim) { return self && self->sprite ? self->sprite->getAnimDuration(anim) : 0; }

jint gameVariable(jint i) { return getVariable(i); }

}  // namespace hz

}  // namespace game::behaviour
