// Collision map queries and the map writers (see map.h).
#include "game/world/map.h"

#include "game/data/statics.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "runtime/log.h"

namespace game::world {

namespace {

bool insideMap(jint column, jint row) {
    const cGameStatics& g = cg();
    return column >= 0 && column < g.collisionWidth && row >= 0 && row < g.collisionHeight;
}

// Class answered outside the map, or 0x7FFF when (column, row) is inside.
constexpr jint kInside = 0x7FFF;
jint outsideClass(jint column, jint row) {
    const cGameStatics& g = cg();
    if (column < 0 || column >= g.collisionWidth) return kWall;
    if (row < 0) return kVoid;
    if (row >= g.collisionHeight) return row - g.collisionHeight > kRowsBelowMap ? kWall : kVoid;
    return kInside;
}

}  // namespace

jint collisionCell(jint column, jint row) {
    const cGameStatics& g = cg();
    if (!insideMap(column, row)) return -1;
    ShortArray* m = g.collisionMap;
    jlong i = static_cast<jlong>(row) * g.collisionWidth + column;
    if (!m || i >= m->length()) return -1;  // a dropped map reads void
    return m->data()[i];
}

bool testTileFlag(jint column, jint row) {
    if (!insideMap(column, row)) return false;
    jint v = collisionCell(column, row);
    return v >= 1 && (v & 0x2000) != 0;
}

jint getTile(jint column, jint row, jint mode) {
    jint out = outsideClass(column, row);
    if (out != kInside) return out;
    if ((mode & 1) && testTileFlag(column, row)) return kWall;
    jint v = collisionCell(column, row);
    if (v != -1) {
        cg().tileMirrored = (v & 0xC000) ? 1 : 0;
        return v & 0x1FFF;
    }
    return (mode & 2) ? kWall : kVoid;
}

jint classFlags(jint c, bool hero) {
    if (c < 0 || c > 31) return 0;
    jint f = 0;
    if (c == 6 || c == 7 || c == 15 || c == 16 || c == 17) f = 4;
    if (c == 6 || c == 8 || c == 15 || c == 16 || c == 17)
        if (hero || c != 15) f = (c == 8) ? 8 : 12;
    switch (c) {
    case 22: case 30: f |= 0x40000008; break;
    case 29: f |= 0x400000; break;
    case 9: case 10: case 11: case 12: case 13: f |= 0x800000; break;
    case 20: f |= static_cast<jint>(0x80000000u); break;
    case 24: f |= 0x2000000; break;
    case 21: f |= 0x4000000; break;
    case 23: f |= 0x41000008; break;
    default: break;
    }
    return f;
}

namespace {

bool inMask(jint c, jint mask) { return c >= 0 && c < 32 && ((mask >> c) & 1); }

}  // namespace

jint groundY(jint x, jint y, jint* contact) {
    const jint column = x / kCell;
    jint r = (y - 1) / kCell;
    jint c = getTile(column, r, 1);
    jint g;
    if (inMask(c, kGroundClasses)) {
        g = r;
        if (c == 8) {
            jint above = getTile(column, r - 1, 1);
            if (inMask(above, kGroundClasses)) g = r - 1, c = above;
        }
    } else {
        jint f = y - (y / kCell) * kCell;
        if (f >= 2 && f <= 34) return -1;
        g = (y + 1) / kCell;
        c = getTile(column, g, 1);
        if (!inMask(c, kGroundClasses)) return -1;
    }
    const bool mirrored = cg().tileMirrored != 0;
    const jint cx = column * kCell;
    const jint d = mirrored ? cx - x + kCell : x - cx;
    const jint slopeBit = mirrored ? 64 : 128;
    if (inMask(c, kQuarterSlopes)) {
        jint base = c <= 3 ? 0 : 25;
        *contact |= slopeBit;
        return (d + (c - base) * kCell) / 4 + g * kCell;
    }
    if (inMask(c, kHalfSlopes)) {
        jint base = c <= 5 ? 4 : 18;
        *contact |= slopeBit | 0x100;
        return (d + (c - base) * kCell) / 2 + g * kCell;
    }
    if (c == 7) {
        *contact |= slopeBit;
        return g * kCell + 18;
    }
    return g * kCell;  // classes 8 and 24
}

bool hasTileClassAt(jint x, jint y, jint classMask) {
    const jint column = x / kCell, row = y / kCell;
    jint c = getTile(column, row, 1);
    return inMask(c, classMask);
}

ShortArray* layerCells(jint layer) {
    ObjectArray* maps = cg().layerMaps;
    if (layer < 0 || layer > 4 || !maps || !maps->inBounds(layer)) return nullptr;
    Object* o = maps->data()[layer];
    return o && o->classId() == cid::ShortArray ? static_cast<ShortArray*>(o) : nullptr;
}

namespace {

jint layerSize(jint layer, jint k) {
    ObjectArray* sizes = cg().layerSizes;
    if (layer < 0 || layer > 4 || !sizes || !sizes->inBounds(layer)) return 0;
    Object* o = sizes->data()[layer];
    if (!o || o->classId() != cid::ShortArray) return 0;
    ShortArray* s = static_cast<ShortArray*>(o);
    return s->inBounds(k) ? s->data()[k] : 0;
}

}  // namespace

jint layerWidth(jint layer) { return layerSize(layer, 0); }
jint layerHeight(jint layer) { return layerSize(layer, 1); }

void fillTileRect(jint layer, jint value, jint left, jint top, jint right, jint bottom) {
    ShortArray* cells = layerCells(layer);
    if (!cells) return;
    const jint w = layerWidth(layer), h = layerHeight(layer);
    jint x0 = (left + 18) / kCell, y0 = (top + 18) / kCell, x1 = (right + 18) / kCell, y1 = (bottom + 18) / kCell;
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > w) x1 = w;
    if (y1 > h) y1 = h;
    for (jint y = y0; y < y1; ++y)
        for (jint x = x0; x < x1; ++x) {
            jlong i = static_cast<jlong>(y) * w + x;
            if (i < cells->length()) cells->data()[i] = static_cast<jshort>(value);
        }
}

void fillTileRect(jint layer, jint value, ShortArray* box) {
    if (!box || box->length() < 4) return;
    const jshort* b = box->data();
    fillTileRect(layer, value, b[0], b[1], b[2], b[3]);
}

namespace {

jbyte* attributeByte(jint id) {
    const cGameStatics& g = cg();
    ByteArray* table = (id & 0x1000000) ? g.tileAttributesAlt : g.tileAttributes;
    jint index = id & 0xFFFFFF;
    if (!table || !table->inBounds(index)) {
        logPrintf("tile attribute of record %d outside its table: ignored", index);
        return nullptr;
    }
    return &table->data()[index];
}

}  // namespace

jint getTileAttribute(jint id, jint mask) {
    jbyte* b = attributeByte(id);
    if (!b) return 0;
    jint v = *b & mask;
    return mask == 240 ? v >> 4 : v;
}

void setTileAttribute(jint id, jint value, bool both) {
    if (id == 0) return;
    jbyte* b = attributeByte(id);
    if (!b) return;
    if (both) *b = static_cast<jbyte>((value & 15) | ((value << 4) & 240));
    else *b = static_cast<jbyte>((*b & 0xF0) | (value & 15));
}

}  // namespace game::world
