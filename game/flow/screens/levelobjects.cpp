// The level-object list scan and the resource requests of the level's
// object types (levelobjects.h).
#include "game/flow/screens/levelobjects.h"

#include "game/actor/actor.h"
#include "game/actor/screencalls.h"
#include "game/data/statics.h"
#include "game/flow/screens/flowseams.h"
#include "runtime/log.h"

namespace game {

namespace {

constexpr jint kSettingsFirst = 2000;
constexpr jint kSettingsLast = 2002;
constexpr jint kFirstRangeGroup = 17;

jint valueAt(ByteArray* list, jint at, jint i) {
    const jbyte* b = list->data() + at + 2 * i;
    return static_cast<jshort>(static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | (static_cast<uint8_t>(b[1]) << 8)));
}

using Require = void (*)(jint, jint);

void requireFromTable(jint entry, jint group) { requireResource(entry, group); }

bool requestAssets(ByteArray* list, jint at, jint count, void* ctx) {
    const Require requireResource = reinterpret_cast<Require>(ctx);
    const jint type = valueAt(list, at, 0);
    if (type >= kSettingsFirst && type <= kSettingsLast) return true;
    if (type == 15) {
        requireResource(13, subtypeParamOrNone(type, 3));
    } else if (type != 2 && type != 82 && type != 83 && type != 84) {
        const jint sprite = subtypeParamOrNone(type, 2);
        if (sprite >= 0) requireResource(sprite, subtypeParamOrNone(type, 3));
    }
    // Value 7 + k: a record without it (a record of 7 values has no
    // parameters) asks for nothing more, and the scan goes on.
    const jint k = type == 82 ? 7 : type == 2 ? 2 : 0;
    if (7 + k >= count) return true;
    const jint v = valueAt(list, at, 7 + k);
    if (type == 2) (valueAt(list, at, 6 + k) == 4 ? ca().item4Id : ca().itemId) = v;
    if (v < 0) return true;
    IntArray* ranges = cg().resourceRanges;
    for (jint r = 0; ranges && r < ranges->length(); ++r) {
        const jint bound = ranges->data()[r];
        if (v < bound) {
            requireResource(v - (r > 0 ? ranges->data()[r - 1] : 0), r + kFirstRangeGroup);
            break;
        }
    }
    return true;
}

}  // namespace

bool scanLevelObjects(ByteArray* list, jint length, bool (*visit)(ByteArray*, jint, jint, void*), void* ctx) {
    if (!list) return true;
    if (length > list->length() || length < 0) length = list->length();
    jint pos = 0;
    while (pos < length) {
        const jint count = static_cast<uint8_t>(list->data()[pos]);
        if (count == 0 || count > kMaxRecordValues) {
            logPrintf("level objects: record at byte %d has %d values (1-%d allowed); scan stopped", pos, count,
                      kMaxRecordValues);
            return false;
        }
        if (pos + 1 + 2 * count > length) {
            logPrintf("level objects: record at byte %d is cut short; scan stopped", pos);
            return false;
        }
        if (!visit(list, pos + 1, count, ctx)) return false;
        pos += 1 + 2 * count;
    }
    return true;
}

void loadLevelObjectAssets(ByteArray* list, void (*require)(jint entry, jint group)) {
    if (!list) {
        logPrintf("level objects: no object list");
        return;
    }
    scanLevelObjects(list, list->length(), &requestAssets, reinterpret_cast<void*>(require ? require : &requireFromTable));
}

}  // namespace game
