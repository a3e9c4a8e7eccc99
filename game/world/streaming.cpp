// Level set-up, level-object streaming and the in-game actor passes (see
// streaming.h).
#include "game/world/streaming.h"

#include <algorithm>
#include <array>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/flow/variables.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/tables.h"
#include "runtime/log.h"

namespace game::world {

namespace {

jint u8(ByteArray* b, jint i) { return static_cast<uint8_t>(b->data()[i]); }
jint s16(ByteArray* b, jint i) { return static_cast<int16_t>(u8(b, i) | u8(b, i + 1) << 8); }

bool heroMissing() {
    if (hero()) return false;
    if (!cg().heroMissingLogged) logPrintf("level without a hero: hero update, camera and streaming stay idle");
    cg().heroMissingLogged = 1;
    return true;
}

jint sub(jint type, jint k) { return cActor::getSubtypeParam(type, k); }

// A chain's links (type 52) are 21 px long; a box around a chain that has
// not laid out its links yet reaches at most this far from its anchor.
constexpr jint kLinkLength = 21;
constexpr jint kMaxReach = 1 << 24;

// The pass looks up every record's live actor by unique id: an index from
// id to pool slot, rebuilt at the start of a pass and after the pass adds
// or removes an actor (the pool swaps the last actor into a freed slot).
// Character slots are asked first, as the plain look-up does.
class LiveIndex {
public:
    void rebuild() {
        for (jint id : used_) slotOf_[static_cast<size_t>(id)] = -1;
        used_.clear();
        for (jint i = 0; i < cg().actorCount; ++i) {
            cActor* a = poolActor(i);
            if (!a || a->uniqueId < 0 || a->uniqueId >= kIds) continue;
            if (slotOf_[static_cast<size_t>(a->uniqueId)] < 0) {
                slotOf_[static_cast<size_t>(a->uniqueId)] = static_cast<int16_t>(i);
                used_.push_back(a->uniqueId);
            }
        }
    }
    cActor* find(jint id) const {
        if (id < 0 || id >= kIds) return getActorById(id);
        if (cActor* c = getActorSlotById(id)) return c;
        const int16_t slot = slotOf_[static_cast<size_t>(id)];
        cActor* a = slot >= 0 ? poolActor(slot) : nullptr;
        return a && a->uniqueId == id ? a : nullptr;
    }
    LiveIndex() {
        slotOf_.fill(-1);
        used_.reserve(static_cast<size_t>(kActorPoolSize));
    }

private:
    static constexpr jint kIds = 32768;
    std::array<int16_t, kIds> slotOf_;
    std::vector<jint> used_;
};

LiveIndex& liveIndex() {
    static LiveIndex index;
    return index;
}

}  // namespace

// --- set-up ------------------------------------------------------------------------

void setupLevelMap() {
    cGameStatics& g = cg();
    cActorStatics& s = ca();
    s.rectCount = s.itemCount = s.linkCount = 0;
    g.itemsTotal = g.secretsTotal = g.specialsTotal = g.levelTally4 = 0;
    g.heroMissingLogged = 0;
    ByteArray* data = g.levelObjectData;
    ObjectListShape shape;
    std::string error;
    jint length = 0;
    if (data) {
        ByteView view(reinterpret_cast<const uint8_t*>(data->data()), static_cast<size_t>(data->length()));
        if (checkLevelObjects(view, &shape, &error)) length = data->length();
        else logPrintf("level objects: list refused (%s); the level has no objects", error.c_str());
    }
    const jint bit = 1 << ((g.difficulty - 1) & 31);
    // First pass: settings records to the level tables, collectibles counted.
    for (jint pos = 0; pos < length;) {
        const jint c = static_cast<int8_t>(u8(data, pos));
        jint v[kMaxRecordValues + 2] = {};
        for (jint k = 0; k < c; ++k) v[k] = s16(data, pos + 1 + 2 * k);
        pos += 1 + 2 * c;
        switch (v[0]) {
        case 2000: addLevelRect(v[2], v[3], v[4], v[5], v[1]); break;
        case 2001: addLevelLink(v + 2, v[1]); break;
        case 2002: addLevelItem(v + 2, v[1]); break;
        default:
            if (v[4] & bit) {
                if (v[0] == 6) ++cg().specialsTotal;
                else if (v[0] == 19) ++cg().secretsTotal;
                else if (v[0] == 2) cg().itemsTotal += v[8] == 8 ? 10 : v[8] == 4 ? 0 : 1;
            }
            break;
        }
    }
    const jint n = shape.objectRecords;
    if (length == 0) shape = ObjectListShape{};
    const jint records = length ? n : 0;
    cg().recordStarts = newShortArray(records + 1);
    cg().recordValues = newShortArray(length ? shape.objectValues : 0);
    cg().recordIds = newShortArray(records);
    cg().recordPendingFlags = newByteArray(records);
    cg().tileAttributesAlt = newByteArray(records);
    Long64Array* masks = newLong64Array(records);
    cg().levelObjectMarks = masks;
    for (jint i = 0; i < records; ++i) masks->data()[i] = -1;
    cg().tileAttributes = newByteArray(std::max(records, ca().itemCount));
    // Second pass: the object records packed.
    jint k = 0, at = 0;
    for (jint pos = 0; pos < length;) {
        const jint c = static_cast<int8_t>(u8(data, pos));
        const jint type = s16(data, pos + 1);
        if (type < 2000 || type > 2002) {
            cg().recordStarts->data()[k] = static_cast<jshort>(at);
            cg().recordIds->data()[k] = static_cast<jshort>(s16(data, pos + 3));
            for (jint q = 0; q < c; ++q) cg().recordValues->data()[at++] = static_cast<jshort>(s16(data, pos + 1 + 2 * q));
            ++k;
        }
        pos += 1 + 2 * c;
    }
    cg().recordStarts->data()[records] = static_cast<jshort>(at);
    cg().sectorFilterOff = 0;
    if (sectorsOverflow()) {
        cg().sectorFilterOff = 1;
        logPrintf("map of more than 64 sectors: level objects stream without the sector filter");
    }
}

void clearLevelRecords() {
    cGameStatics& g = cg();
    g.recordPendingFlags = nullptr;
    g.recordStarts = nullptr;
    g.recordValues = nullptr;
    g.recordIds = nullptr;
    g.tileAttributesAlt = nullptr;
}

jint recordCount() {
    ShortArray* s = cg().recordStarts;
    return s && s->length() > 0 ? s->length() - 1 : 0;
}
jint recordStart(jint i) { return cg().recordStarts->data()[i]; }
jint recordLength(jint i) { return cg().recordStarts->data()[i + 1] - cg().recordStarts->data()[i]; }

jint recordValue(jint i, jint k) {
    if (i < 0 || i >= recordCount() || k < 0 || k >= recordLength(i)) return 0;
    ShortArray* v = cg().recordValues;
    const jint at = recordStart(i) + k;
    return v && v->inBounds(at) ? v->data()[at] : 0;
}

bool isPinned(cActor* a) {
    if (!a) return false;
    if (a->respawnRecord && a->respawnRecord->length() > 0 && a->respawnRecord->data()[0] >= 0) return true;
    if (a->aiState == 8 && a->timer > 0) return true;
    if (a->flags & 0x10000000) return true;
    return a == ca().grabbedActor || a == ca().partnerActor;
}

// --- boxes ------------------------------------------------------------------------------

// A record's size from its sprite's frame: types 2, 82, 83 and 84 name
// their sprite in the level's sprite table (83 and 84 by a plain frame,
// the others by the first frame of animation r[5]); every other type has
// its template's sprite with animation r[5]. No sprite, or an empty
// frame: 0 x 0. The lookups stay quiet, as a record far off is rated every
// step.
template <typename Value>
void frameSize(jint type, Value r, jint& w, jint& h) {
    BSprite* sprite = nullptr;
    if (type == 2 || type == 82 || type == 83 || type == 84) {
        const jint n = type == 2 ? r(9) : type == 82 ? r(14) : r(7);
        if (n >= 0) sprite = getSpriteByNumber(n);
    } else {
        const jint id = type == 15 ? 13 : sub(type, 2), group = sub(type, 3);
        // An index entry of 0 names no sprite.
        if (id >= 0 && (getSpriteRefLow(id, group) != 0 || getSpriteRefHigh(id, group) != 0))
            sprite = getSpriteByNumber(getSpriteRefLow(id, group));
    }
    IntArray* rect = cg().frameRect;
    if (!sprite || !rect || rect->length() < 4) return;
    if (type == 83 || type == 84) sprite->getFrameRect(rect, r(5), 0, 0, 0);
    else sprite->getAFrameRect(rect, r(5), 0, 0, 0, 0);
    const jint* v = rect->data();
    if (v[2] < v[0] || v[3] < v[1]) return;
    w = java::isub(v[2], v[0]), h = java::isub(v[3], v[1]);
}

void recordBox(jint i, jint out[4]) {
    auto r = [&](jint k) { return recordValue(i, k); };
    const jint type = r(0);
    const jint x = r(2), y = r(3);
    const jint W = sub(type, 6), H = sub(type, 7), kind = sub(type, 5);
    jint w = 0, h = 0;
    if (W >= 0 && H >= 0) {
        w = W, h = H;
        switch (type) {
        case 57: w = r(9) * W; break;
        case 66: w = r(10) * W; break;
        case 167: case 200: case 233: case 175: w = r(7) * W; break;
        case 165: h = r(7) * H; break;
        case 182: w = r(7) * W, h = r(9) * H; break;
        case 134: w = r(7) * W, h = r(8) * H; break;
        default: break;
        }
    } else {
        switch (type) {
        case 116: h = r(7) * 10 + 72, w = h * 3 / 2; break;
        case 158: case 161: case 17: w = 21, h = 21 * r(7); break;
        case 117: w = h = (r(7) + 30) * 2; break;
        default: frameSize(type, r, w, h); break;
        }
    }
    jint cx = x, base = y;
    if (type == 57 || type == 66 || type == 167 || type == 200 || type == 175 || type == 182) cx += w / 2;
    if (type == 116 || type == 158 || type == 165 || type == 182) base += h;
    if (type == 117) base += h / 2;
    out[0] = cx - w / 2, out[1] = base - h, out[2] = cx + w / 2, out[3] = base;
    switch (kind) {
    case 10: out[0] = cx, out[1] = base, out[2] = cx + r(7), out[3] = base + r(8); break;
    case 6: case 37: {
        buildLinkChain(r(7), cx, base);
        ShortArray* b = cg().boxScratch;
        if (b && b->length() >= 4) {
            out[0] = b->data()[0] + r(10), out[1] = b->data()[1] + r(11);
            out[2] = b->data()[2] + r(8) + r(10), out[3] = b->data()[3] + r(9) + r(11);
        }
        break;
    }
    case 47:
        out[0] = cx + r(9), out[1] = base + r(10), out[2] = out[0] + r(7), out[3] = out[1] + r(8);
        break;
    case 8:
        if (ShortArray* b = cg().boxScratch; b && b->length() >= 4) {
            cActor::getRecordBox(cg().recordValues, recordStart(i), b, nullptr, type);
            for (int k = 0; k < 4; ++k) out[k] = b->data()[k];
        }
        break;
    case 4: {
        if (w <= 0 || h <= 0) break;
        const jint half = (r(10) * w) / 2, c = half + (cx / w) * w, row = (base - h / 2) / h;
        out[0] = c - half, out[1] = row * h, out[2] = c + half, out[3] = (r(11) + row) * h;
        if (type == 82) out[1] -= 108;
        if (type == 151) out[1] -= 36;
        break;
    }
    default: break;
    }
}

void liveActorBox(cActor* a, jint out[4]) {
    const jshort* b = a->box && a->box->length() >= 4 ? a->box->data() : nullptr;
    out[0] = b ? b[0] : a->posX, out[1] = b ? b[1] : a->posY, out[2] = b ? b[2] : a->posX, out[3] = b ? b[3] : a->posY;
    auto p = [&](jint k) { return a->params && a->params->inBounds(k) ? a->params->data()[k] : 0; };
    const jint rec = a->recordIndex & 0xFFFFFF;
    auto r = [&](jint k) { return recordValue(rec, k); };
    const jint W = a->getTypeParam(6), H = a->getTypeParam(7), x = a->posX, y = a->posY;
    switch (a->type) {
    case 6: {
        buildLinkChain(p(0), x, y);
        ShortArray* s = cg().boxScratch;
        if (s && s->length() >= 4)
            out[0] = s->data()[0] + p(3), out[1] = s->data()[1] + p(4), out[2] = s->data()[2] + p(1) + p(3),
            out[3] = s->data()[3] + p(2) + p(4);
        return;
    }
    case 47:
        if (a->attackBox && a->attackBox->length() >= 4)
            for (int k = 0; k < 4; ++k) out[k] = a->attackBox->data()[k];
        return;
    case 8:
        if (ShortArray* b = cg().boxScratch; b && b->length() >= 4) {
            cActor::getRecordBox(cg().recordValues, 0, b, a, a->subtype);
            for (int k = 0; k < 4; ++k) out[k] = b->data()[k];
        }
        return;
    case 30: {
        const jint size = p(0) * 10 + 72, half = (size * 3 / 2) / 2;
        out[0] = x - half, out[1] = y, out[2] = x + half, out[3] = y + size;
        return;
    }
    case 31:
        out[0] = x - p(0) - 30, out[1] = y - p(0) - 30, out[2] = x + p(0) + 30, out[3] = y + p(0) + 30;
        return;
    case 52: {
        // No box of its own: a box enclosing the chain's links. The links are
        // points in the parts (x, y offsets in 1/256 px from the anchor), each
        // 21 px long; before the chain's first update the parts are not made
        // yet, and any of its n links may reach n x 21 px from the anchor.
        jint n = p(0);
        if (n < 0) n = 0;
        IntArray* parts = a->parts;
        const jint made = parts ? (parts->length() - 2) / 3 : 0;
        if (n > 0 && made >= n) {
            out[0] = out[2] = x, out[1] = out[3] = y;
            for (jint i = 0; i < n; ++i) {
                const jint lx = java::iadd(x, java::ishr(parts->data()[3 * i + 2], 8));
                const jint ly = java::iadd(y, java::ishr(parts->data()[3 * i + 3], 8));
                out[0] = std::min(out[0], java::isub(lx, kLinkLength));
                out[1] = std::min(out[1], java::isub(ly, kLinkLength));
                out[2] = std::max(out[2], java::iadd(lx, kLinkLength));
                out[3] = std::max(out[3], java::iadd(ly, kLinkLength));
            }
        } else {
            const jint reach = static_cast<jint>(std::min<jlong>(jlong{n} * kLinkLength, kMaxReach));
            out[0] = java::isub(x, reach), out[1] = java::isub(y, reach);
            out[2] = java::iadd(x, reach), out[3] = java::iadd(y, reach);
        }
        return;
    }
    default: break;
    }
    switch (a->subtype) {
    case 57: out[0] = x - W / 2, out[1] = y - H, out[2] = x - W / 2 + r(9) * W, out[3] = y; break;
    case 66: out[0] = x, out[1] = y - H, out[2] = x + r(10) * W, out[3] = y; break;
    case 167: case 200: case 233: case 210: out[0] = x, out[1] = y - H, out[2] = x + r(7) * W, out[3] = y; break;
    case 175: out[0] = x - W / 2, out[1] = y - H, out[2] = x - W / 2 + r(7) * W, out[3] = y; break;
    case 165: out[0] = x - W / 2, out[1] = y - H, out[2] = x + W / 2, out[3] = y - H + r(7) * H; break;
    case 182: out[0] = x - W / 2, out[1] = y - H, out[2] = x - W / 2 + r(7) * W, out[3] = y - H + r(9) * H; break;
    default: break;  // the body box
    }
}

// --- the passes ------------------------------------------------------------------------

void updateLevelObjects() {
    if (heroMissing()) return;
    cGameStatics& g = cg();
    const jint n = recordCount();
    if (n == 0) return;
    const jlong area = setActivationArea();
    const bool noFilter = cg().sectorFilterOff != 0;
    const bool firstFrame = getFirstActiveScript() == 0;
    ShortArray* box = g.boxScratch;
    if (!box || box->length() < 4) box = cg().boxScratch = newShortArray(4);
    LiveIndex& live = liveIndex();
    live.rebuild();
    for (jint i = 0; i < n && i < recordCount(); ++i) {
        const jint id = cg().recordIds->data()[i];
        const jint type = recordValue(i, 0);
        const bool special = cg().stage == 3 && id == 315;
        cActor* a = live.find(id);
        jint b[4], flags, layer, subtype;
        if (a) {
            liveActorBox(a, b);
            flags = a->flags, layer = a->layer, subtype = a->subtype;
        } else {
            Long64Array* masks = cg().levelObjectMarks;
            const jlong mask = masks && masks->inBounds(i) ? masks->data()[i] : -1;
            if (mask != -1 && !(mask & area) && !noFilter && !firstFrame && !special) continue;
            if (sub(type, 5) == 0 || !game::isRecordAvailable(cg().tileAttributesAlt, i, recordValue(i, 4))) continue;
            recordBox(i, b);
            ByteArray* pending = cg().recordPendingFlags;
            const jint pb = pending && pending->inBounds(i) ? pending->data()[i] & 0xFF : 0;
            flags = ((sub(type, 8) | (recordValue(i, 6) & 0xFFFF) | ((pb & 15) << 4)) & ~(pb & 0xF0));
            layer = sub(type, 9), subtype = type;
            if (mask == -1 && masks && masks->inBounds(i)) {
                cActor::setBox(cg().boxScratch, b[0], b[1], b[2], b[3]);
                masks->data()[i] = regionSectorMask(cg().boxScratch);
            }
        }
        cActor::setBox(cg().boxScratch, b[0], b[1], b[2], b[3]);
        jint rating = 3;
        if (flags & (0x20 | 0x80)) {
            rating = cActor::isRecordInView(subtype, cg().boxScratch, flags, layer);
            if (rating >= 1 && (flags & 0x20010)) rating = 1;
        }
        bool store = rating <= 2;
        if (!store) {
            if (isScriptRunning() && isScriptTargetId(id)) {
                rating = std::min(cActor::isRecordInView(subtype, cg().boxScratch, flags, layer), 2);
                store = true;
            } else if (special) {
                store = true;
            }
        }
        if (store) {
            if (a) {
                a->viewRating = rating;
            } else if ((a = spawnActor(cg().recordValues, recordLength(i), recordStart(i)))) {
                a->flags = flags;
                a->recordIndex = (i & 0xFFFFFF) | 0x1000000;
                a->viewRating = rating;
                live.rebuild();
            }
        } else if (a) {
            if ((a->flags & 0x80000) || isPinned(a)) {
                a->viewRating = rating;
            } else {
                removeActorAt(a->poolSlot);
                live.rebuild();
            }
        }
    }
}

void updateAllActors() {
    cGameStatics& st = cg();
    if (!st.activeActors) st.activeActors = newObjectArray(cid::cActor, kActorPoolSize);
    cg().activeActorCount = 0;
    cActor* h = hero();
    for (jint i = 0; i < cg().actorCount; ++i) {
        cActor* a = poolActor(i);
        if (!a) continue;
        cActor::updateRespawn(a);
        cActor::updateStateTimer(a);
        a->paintFlags = (a->paintFlags & ~1) | (a->facing ? 1 : 0);
        if (a != h) syncAttachedChain(a, a->viewRating);
        if (a->uniqueId < 9999) {
            if (a->viewRating < 2) addActiveActor(a);
        } else {
            cActor::updateScreenBox(a);
            if (((a->flags & 0x20) && (a->viewRating < 2 || (a->flags & 0x20010))) ||
                (isScriptRunning() && isActorScriptTarget(a)))
                addActiveActor(a);
        }
    }
}

void updateHeroFrame() {
    ca().partnerActor = nullptr;
    ca().partnerMode = 10;
    cActor* before = hero();
    updateActiveActors();
    if (heroMissing()) return;
    cActor* h = hero();
    cActor::updateRespawn(h);
    cActor::updateStateTimer(h);
    h->paintFlags = (h->paintFlags & ~1) | (h->facing ? 1 : 0);
    // An actor's update switched the hero: the new one's effects come along.
    if (h != before) syncAttachedChain(h, h->viewRating);
    cActor::updateScreenBox(h);
    h->update();
}

}  // namespace game::world
