// Actor set-up from a level record (see setup.h). A record that does not
// fit its table is refused with a log line and leaves the actor as the
// reset left it. After the per-subtype arrays, params, parts and linked
// are padded with zeros to the type's needs row, logged once per subtype,
// so routines that index them unconditionally never overrun.
#include "game/behaviour/setup.h"

#include <unordered_set>

#include "game/actor/contact.h"
#include "game/actor/hero.h"
#include "game/behaviour/core_util.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/types.h"
#include "game/flow/gmath.h"
#include "game/world/body.h"
#include "game/world/hero/machine.h"
#include "game/world/scripts.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace core;

namespace {

std::unordered_set<jint>& paddedSubtypes() {
    static std::unordered_set<jint> logged;
    return logged;
}

struct PartsRow {
    jint length;
    jint hitPoints;  // -1: the subtype class; -2: parts[2] not written
    jint linked;
};

// The per-subtype arrays; nullopt-like {0} for subtypes without any.
PartsRow partsRowFor(jint subtype) {
    switch (subtype) {
    case 0: case 50: case 113: case 237: case 242: case 215: return {9, 0, 0};
    case 20: return {28, -1, 1};
    case 27: case 105: return {9, 0, 1};
    case 29: case 41: case 55: case 59: case 64: case 71: case 86: case 87: case 93: case 97: case 118:
    case 119: case 124: case 148: case 150: case 155: case 172: case 173: case 202: case 218: case 225:
    case 229: case 269: return {9, 3, 0};
    case 94: case 96: case 103: case 123: case 126: case 131: case 3013: return {9, 0, 0};
    case 104: return {14, -1, 1};
    case 122: return {27, -1, 1};
    case 3003: return {34, -1, 0};
    case 238: case 255: return {9, -1, 0};
    case 239: case 256: return {25, 0, 0};
    case 241: return {9, -1, 2};
    case 246: return {11, -1, 1};
    case 132: return {2, 0, 0};
    default: return {0, 0, 0};
    }
}

void logPaddedOnce(cActor* a, const char* what, jint had, jint need) {
    if (!paddedSubtypes().insert(a->subtype).second) return;
    logPrintf("Actor subtype %d (type %d): %s padded from %d to %d entries", a->subtype, a->type, what, had, need);
}

}  // namespace

void clearPaddingLog() { paddedSubtypes().clear(); }

void initFromLevelData(cActor* self, ShortArray* record, jint length, jint start) {
    if (!self) return;
    if (!record || length < 7 || start < 0 || start > record->length() - length) {
        logPrintf("Level record refused: %d values at %d of a table of %d", length, start,
                  record ? record->length() : 0);
        return;
    }
    self->scale = 100;
    self->angle = 0;
    const jint subtype = record->data()[start];
    self->subtype = subtype;
    if (subtype == 86) hitImmune(self) = 1;
    self->uniqueId = record->data()[start + 1];
    self->flags = static_cast<uint16_t>(record->data()[start + 6]) | cActor::getSubtypeParam(subtype, 8);
    self->setFacingRaw(self->flags & 1);
    self->type = cActor::getSubtypeParam(subtype, 5);
    if ((self->flags & 0x400000) && !self->hasMotionState()) self->allocMotionState();
    world::setBoxSize(self, self->getTypeParam(6), self->getTypeParam(7));
    const jint x = record->data()[start + 2];
    const jint y = record->data()[start + 3];
    const jint anim = record->data()[start + 5];
    cActor::moveTo(self, java::ishl(x, 8), java::ishl(y, 8));
    self->setAnim(anim);
    self->layer = self->getTypeParam(9);
    if (length > 7) {
        ShortArray* p = newShortArray(length - 7);
        if (!p) return;  // out of memory: logged by the heap
        self->params = p;
        const jshort* src = record->data() + start + 7;  // read after the allocation
        for (jint i = 0; i < length - 7; ++i) p->data()[i] = src[i];
    }
    if (isSubtypeInHitGroupExt(self))
        self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
    else if (self->type == 17) {
        originX(self) = self->posX;
        originY(self) = self->posY;
    }
    if (self->flags & 0x1000000) self->physicsFlags |= 4;
    if (self->flags & 0x800000) self->setRespawnInfo(self->posX, self->posY, anim);
    if (self->type == 10) setUpType10(self);
    self->aiState = 0;

    const PartsRow row = partsRowFor(subtype);
    if (row.length > 0) {
        IntArray* parts = newIntArray(row.length);
        if (!parts) return;
        self->parts = parts;
        // Subtype 132's two-entry array has no parts[2]: nothing is written.
        if (row.length > 2) parts->data()[2] = row.hitPoints == -1 ? getSubtypeClass(subtype) : row.hitPoints;
    }
    if (row.linked > 0) {
        ObjectArray* l = newObjectArray(cid::cActor, row.linked);
        if (!l) return;
        setLinked(self, l);
    }
    switch (subtype) {
    case 0: case 50: case 113: case 237: case 242:
        world::setBoxShape(self, 0);
        hero::setHeroState(self, 0);
        break;
    case 215:
        world::setBoxShape(self, 0);
        hero::setHeroState(self, 38);
        break;
    case 106: case 143: initRandomParts(self); break;
    case 249: setUpSubtype249(self); break;
    default: break;
    }
    padToNeeds(self);
}

void initRandomParts(cActor* self) {
    IntArray* parts = newIntArray(61);
    if (!parts) return;
    self->parts = parts;
    const bool jitter = self->subtype == 106;
    for (jint i = 0; i < 12; ++i) {
        jint* p = parts->data();  // no allocation below; kept for clarity
        p[1 + i] = random(jitter ? 7 : 2);
        jint px = java::idiv(java::imul(i % 4, 800), 5);
        jint py = java::idiv(java::imul(i / 3, 480), 4);
        if (jitter) {
            px = java::iadd(px, random(8));
            py = java::iadd(py, random(8));
        }
        p[13 + i] = px;
        p[25 + i] = py;
    }
}

void setUpType10(cActor* self) {
    const jint w = param(self, 0), h = param(self, 1);
    cActor::setBox(self->box, self->posX, self->posY, java::iadd(self->posX, w), java::iadd(self->posY, h));
    self->posX = java::iadd(self->posX, java::ishr(w, 1));
    self->posY = java::iadd(self->posY, h);
    if (self->params && self->params->length() > 3) {
        const jint script = world::findScriptById(self->params->data()[3]);
        self->params->data()[3] = java::i2s(script);
        if (script >= 0) world::resetScriptCounters(script);
    } else {
        logPrintf("Type-10 actor %d: no script parameter", self->uniqueId);
    }
    self->aiState = 2;
}

void setUpSubtype249(cActor* self) {
    const jint w = param(self, 0), h = param(self, 1);
    cActor::setBox(self->box, self->posX, self->posY, java::iadd(self->posX, w), java::iadd(self->posY, h));
    self->posX = java::iadd(self->posX, java::ishr(w, 1));
    self->posY = java::iadd(self->posY, h);
}

void padToNeeds(cActor* self) {
    const TypeNeeds needs = needsFor(self->type);
    const jint hadParams = self->params ? self->params->length() : 0;
    if (needs.params > hadParams) {
        ShortArray* p = newShortArray(needs.params);
        if (!p) return;
        for (jint i = 0; i < hadParams; ++i) p->data()[i] = self->params->data()[i];
        self->params = p;
        logPaddedOnce(self, "params", hadParams, needs.params);
    }
    const jint hadParts = self->parts ? self->parts->length() : 0;
    if (needs.parts > hadParts) {
        IntArray* p = newIntArray(needs.parts);
        if (!p) return;
        for (jint i = 0; i < hadParts; ++i) p->data()[i] = self->parts->data()[i];
        self->parts = p;
        logPaddedOnce(self, "parts", hadParts, needs.parts);
    }
    ObjectArray* linkedNow = linked(self);
    const jint hadLinked = linkedNow ? linkedNow->length() : 0;
    if (needs.linked > hadLinked) {
        ObjectArray* p = newObjectArray(cid::cActor, needs.linked);
        if (!p) return;
        linkedNow = linked(self);  // re-read after the allocation
        for (jint i = 0; i < hadLinked; ++i) p->data()[i] = linkedNow->data()[i];
        setLinked(self, p);
        logPaddedOnce(self, "linked", hadLinked, needs.linked);
    }
}

}  // namespace game::behaviour
