// Region table loading, region states, the sector mask (see regions.h).
#include "game/world/regions.h"

#include "game/data/statics.h"
#include "game/world/tables.h"
#include "runtime/log.h"

namespace game::world {

namespace {

void makeEmpty() {
    cGameStatics& g = cg();
    g.regionStates = newByteArray(0);
    g.regionRects = newObjectArray(cid::ShortArray, 0);
    g.regionSizes = newObjectArray(cid::ShortArray, 0);
    g.regionCells = newObjectArray(cid::ShortArray, 0);
}

}  // namespace

void clearMapRegions() {
    cGameStatics& g = cg();
    g.regionStates = nullptr;
    g.regionRects = g.regionSizes = g.regionCells = nullptr;
}

void loadMapRegions(ByteArray* bytes) {
    std::string error;
    int n = 0;
    const jint length = bytes ? bytes->length() : 0;
    {
        ByteView view(reinterpret_cast<const uint8_t*>(bytes ? bytes->data() : nullptr), static_cast<size_t>(length));
        if (!bytes || !checkRegionTable(view, &n, &error)) {
            logPrintf("map regions: table refused (%s)", bytes ? error.c_str() : "missing");
            makeEmpty();
            return;
        }
    }
    cGameStatics& g = cg();
    g.regionStates = newByteArray(n);
    g.regionRects = newObjectArray(cid::ShortArray, n);
    g.regionSizes = newObjectArray(cid::ShortArray, n);
    g.regionCells = newObjectArray(cid::ShortArray, n);
    jint pos = 1;
    for (jint i = 0; i < n; ++i) {
        auto u8 = [&](jint at) { return static_cast<jint>(static_cast<uint8_t>(bytes->data()[at])); };
        jint x = u8(pos) << 8 | u8(pos + 1), y = u8(pos + 2) << 8 | u8(pos + 3);
        jint w = u8(pos + 4), h = u8(pos + 5), cols = u8(pos + 6), rows = u8(pos + 7);
        ShortArray* rect = newShortArray(4);
        ObjectArray::set(cg().regionRects, i, rect);
        ShortArray::fill(rect, {static_cast<jshort>(x * 36), static_cast<jshort>(y * 36),
                                static_cast<jshort>((x + w) * 36 - 36), static_cast<jshort>((y + h) * 36 - 36)});
        ShortArray* size = newShortArray(2);
        ObjectArray::set(cg().regionSizes, i, size);
        ShortArray::fill(size, {static_cast<jshort>(cols), static_cast<jshort>(rows)});
        ShortArray* cells = newShortArray(cols * rows);
        ObjectArray::set(cg().regionCells, i, cells);
        pos += 8;
        for (jint k = 0; k < cols * rows; ++k, pos += 2)
            cells->data()[k] = static_cast<jshort>(u8(pos) << 8 | u8(pos + 1));  // 65535 reads -1
    }
}

jint regionCount() {
    ByteArray* s = cg().regionStates;
    return s ? s->length() : 0;
}

bool rectsIntersect(jint l1, jint t1, jint r1, jint b1, jint l2, jint t2, jint r2, jint b2) {
    return l1 <= r2 && l2 <= r1 && t1 <= b2 && t2 <= b1;
}

void setRegionStateInRect(jint state, jint left, jint top, jint right, jint bottom) {
    cGameStatics& g = cg();
    if (!g.regionStates || !g.regionRects) return;
    for (jint i = 0; i < g.regionStates->length() && i < g.regionRects->length(); ++i) {
        ShortArray* r = static_cast<ShortArray*>(g.regionRects->data()[i]);
        if (!r || r->length() < 4) continue;
        const jshort* q = r->data();
        if (rectsIntersect(q[0], q[1], q[2], q[3], left, top, right, bottom))
            g.regionStates->data()[i] = static_cast<jbyte>(state);
    }
}

void setRegionStateInRect(jint state, ShortArray* rect) {
    if (!rect || rect->length() < 4) return;
    const jshort* q = rect->data();
    setRegionStateInRect(state, q[0], q[1], q[2], q[3]);
}

bool isRegionFlagSet(jint level) {
    IntArray* f = cg().regionFlags;
    return f && f->inBounds(level) && f->data()[level] == 1;
}

jint sectorColumns() {
    jint w = cg().mapPixelWidth;
    return (w - 1) / kSectorWidth + 1;
}

bool sectorsOverflow() {
    const cGameStatics& g = cg();
    jint rows = isRegionFlagSet(g.stage) ? 1 : g.mapPixelHeight / kSectorHeight + 1;
    return static_cast<jlong>(sectorColumns()) * rows > 64;
}

jlong regionSectorMask(ShortArray* rect) {
    if (!rect || rect->length() < 4) return 0;
    const cGameStatics& g = cg();
    jshort* q = rect->data();
    if (q[0] < 0) q[0] = 0;
    if (q[1] < 0) q[1] = 0;
    if (q[2] > g.mapPixelWidth) q[2] = static_cast<jshort>(g.mapPixelWidth);
    if (q[3] > g.mapPixelHeight) q[3] = static_cast<jshort>(g.mapPixelHeight);
    const jint perRow = sectorColumns();
    const jint x0 = q[0] / kSectorWidth, x1 = q[2] / kSectorWidth;
    jint y0 = q[1] / kSectorHeight, y1 = q[3] / kSectorHeight;
    if (isRegionFlagSet(g.stage)) y0 = y1 = 0;
    if (y0 > y1) return 0;
    uint64_t mask = 0;
    for (jint y = y0; y <= y1; ++y)
        for (jint x = x0; x <= x1; ++x) {
            jlong bit = static_cast<jlong>(y) * perRow + x;
            if (bit >= 0 && bit < 64) mask |= uint64_t{1} << bit;  // bits beyond 63 are lost
        }
    return static_cast<jlong>(mask);
}

jlong setActivationArea() {
    cGameStatics& g = cg();
    if (!g.activationArea) g.activationArea = newShortArray(4);
    auto clampShort = [](jint v) { return static_cast<jshort>(v < -32768 ? -32768 : v > 32767 ? 32767 : v); };
    ShortArray::fill(cg().activationArea, {clampShort(g.cameraX - 1200), clampShort(g.cameraY - 480),
                                           clampShort(g.cameraX + 1200), clampShort(g.cameraY + 480)});
    return regionSectorMask(cg().activationArea);
}

}  // namespace game::world
