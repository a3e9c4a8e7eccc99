// Segment objects: the three sloped stretches (cActor's segment records,
// int[9] each) that type-43 actors own, the projection of a point onto one
// of them, and the once-a-step pass that projects the camera centre.
//
// Invariants: a record is only written by its owner (entry 0 = the owner's
// unique id) and by the pass (entries 1-3 and 8); a vertical segment
// (x2 = x1) projects to {0, 0, 0} and never divides; nothing here reads
// outside the three records or the link table.
#include "game/actor/actor.h"
#include "game/actor/levels.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/hazards.h"
#include "game/data/statics.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

constexpr jint kSegmentRecords = 3;
constexpr jint kSegmentLength = 9;

IntArray* segmentRecord(jint i) {
    ObjectArray* segs = ca().segments;
    if (!segs || i < 0 || i >= segs->length() || i >= kSegmentRecords) return nullptr;
    auto* r = static_cast<IntArray*>(segs->data()[i]);
    return r && r->length() >= kSegmentLength ? r : nullptr;
}

// The record whose x range [4, 6] holds x, or null.
IntArray* recordForX(jint x) {
    for (jint i = 0; i < kSegmentRecords; ++i) {
        IntArray* r = segmentRecord(i);
        if (r && r->data()[0] != 0 && r->data()[4] <= x && x <= r->data()[6]) return r;
    }
    return nullptr;
}

}  // namespace

// The answer lives in one scratch array of the behaviour statics, made on
// first use and overwritten by the next call: callers read it at once.
IntArray* projectOntoSegment(IntArray* record, jint px, jint py) {
    if (!ca().projectionScratch) {
        IntArray* scratch = newIntArray(3);
        ca().projectionScratch = scratch;
    }
    IntArray* out = ca().projectionScratch;
    out->data()[0] = out->data()[1] = out->data()[2] = 0;
    if (!record || record->length() < kSegmentLength) return out;
    const jint* e = record->data();
    const jint x1 = e[4], y1 = e[5], x2 = e[6], y2 = e[7];
    if (x2 == x1) return out;
    const jint span = java::isub(x2, x1);
    jint cx = px;
    if (px < x1) cx = x1;
    else if (px > x2) cx = x2;
    const jint along = java::isub(cx, x1);
    const jint sy = java::iadd(y1, java::idiv(java::imul(java::isub(y2, y1), along), span));
    const jlong scaled = (static_cast<jlong>(along) * 256 * static_cast<jlong>(segmentProjectionScale())) >> 8;
    const jint a = static_cast<jint>(scaled / span);
    jint* o = out->data();
    o[0] = a;
    o[1] = java::isub(cx, px);
    o[2] = java::isub(sy, py);
    return out;
}

// Slot 0-2 names a record; any other slot (the framework passes -1) takes
// the record whose x range holds px. Without such a record the answer is
// {0, 0, 0}.
IntArray* pointOnSegment(jint slot, jint px, jint py) {
    IntArray* record = slot >= 0 && slot < kSegmentRecords ? segmentRecord(slot) : recordForX(px);
    return projectOntoSegment(record, px, py);
}

void updateSegmentObjects() {
    for (jint i = 0; i < kSegmentRecords; ++i) {
        IntArray* r = segmentRecord(i);
        if (!r || r->data()[0] == 0) continue;
        IntArray* p = projectOntoSegment(r, cg().cameraX, cg().cameraY);
        r = segmentRecord(i);  // the projection may have made its scratch array
        if (!r) continue;
        const jint a = p->data()[0], b = p->data()[1], c = p->data()[2];
        jint* e = r->data();
        e[1] = a;
        e[2] = b;
        const jint k = java::idiv(java::imul(kOrbitFactor, ca().orbitScale), 14);
        const jlong prod = (static_cast<jlong>(a) * k) >> 8;
        const jint d = static_cast<jint>(prod / 360) >> 8;
        e[3] = java::isub(c, d);
        e[8] = c;
    }
}

// The record this owner holds (entry 0 = its id), else the first free one;
// null when all three are taken by others.
IntArray* findSegmentSlot(jint id) {
    for (jint i = 0; i < kSegmentRecords; ++i) {
        IntArray* r = segmentRecord(i);
        if (r && r->data()[0] == id) return r;
    }
    for (jint i = 0; i < kSegmentRecords; ++i) {
        IntArray* r = segmentRecord(i);
        if (r && r->data()[0] == 0) return r;
    }
    return nullptr;
}

void updateType43(cActor* self) {
    if (!self || self->uniqueId == 0) return;
    const jint first = findTableIndex(self->getParamOr(0));
    if (!isLinkIndexValid(first)) {
        logSegmentOnce(self, "link id names no link point");
        return;
    }
    loadLinkRow(first);
    const jint x1 = ca().linkRow->data()[0], y1 = ca().linkRow->data()[1];
    const jint second = findTableIndex(ca().linkRow->data()[2]);
    if (!isLinkIndexValid(second)) {
        logSegmentOnce(self, "first link point has no next point");
        return;
    }
    loadLinkRow(second);
    const jint x2 = ca().linkRow->data()[0], y2 = ca().linkRow->data()[1];
    IntArray* r = findSegmentSlot(self->uniqueId);
    if (!r) return;
    jint* e = r->data();
    e[0] = self->uniqueId;
    e[4] = x1;
    e[5] = y1;
    e[6] = x2;
    e[7] = y2;
}

}  // namespace game::behaviour
