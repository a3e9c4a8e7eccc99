// Data nodes and the nested-table editors (see datanode.h).
#include "game/data/datanode.h"

#include "game/data/pack.h"
#include "game/data/statics.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"

namespace game {
namespace {

// Reads exactly n bytes (counted); null when the stream or its limit ends.
ByteArray* take(java_io_InputStream* s, jint n) {
    ByteArray* b = newByteArray(n);
    const jint got = readAvailable(s, b, 0, n);
    cg().streamBytesRead += got;
    return got == n ? b : nullptr;
}

bool failNode(const char* why, jint tag) {
    logPrintf("data node: %s (tag 0x%02X)", why, tag);
    return false;
}

Object* readNode(java_io_InputStream* s, int depth, bool* ok) {
    const jint tag = readStreamByte(s);
    if (tag < 0) {
        *ok = failNode("cut short before its tag", 0);
        return nullptr;
    }
    if (depth > kMaxNodeDepth) {
        *ok = failNode("nested too deep", tag);
        return nullptr;
    }
    ByteArray* countBytes = take(s, (tag & 8) ? 2 : 1);
    if (!countBytes) {
        *ok = failNode("cut short in its count", tag);
        return nullptr;
    }
    const auto* c = reinterpret_cast<const uint8_t*>(countBytes->data());
    const jint count = (tag & 8) ? (c[0] | (c[1] << 8)) : c[0];
    const jint kind = tag & 7, w = tag >> 4;
    if (kind >= 3) {
        ObjectArray* out = newObjectArray(cid::Object, count);
        for (jint i = 0; i < count; ++i) {
            Object* e = readNode(s, depth + 1, ok);
            if (!*ok) return nullptr;
            ObjectArray::set(out, i, e);
        }
        return out;
    }
    const jint width = kind == 0 || w == 0 ? 1 : (kind == 1 || w == 1 ? 2 : 4);
    ByteArray* raw = take(s, count * width);
    if (!raw) {
        *ok = failNode("elements cut short", tag);
        return nullptr;
    }
    if (kind == 0) return raw;
    auto element = [&](jint i) -> jint {
        const auto* p = reinterpret_cast<const uint8_t*>(raw->data()) + i * width;
        if (width == 1) return static_cast<jbyte>(p[0]);
        if (width == 2) return static_cast<jshort>(p[0] | (p[1] << 8));
        return static_cast<jint>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
    };
    if (kind == 1) {
        ShortArray* out = newShortArray(count);
        for (jint i = 0; i < count; ++i) out->data()[i] = static_cast<jshort>(element(i));
        return out;
    }
    IntArray* out = newIntArray(count);
    for (jint i = 0; i < count; ++i) out->data()[i] = element(i);
    return out;
}

// Stores v at element i of an int, short or byte array.
void store(Object* array, jint i, jint v, const char* what) {
    if (array) {
        switch (array->classId()) {
        case cid::IntArray: {
            auto* a = static_cast<IntArray*>(array);
            if (a->inBounds(i)) return void(a->data()[i] = v);
            break;
        }
        case cid::ShortArray: {
            auto* a = static_cast<ShortArray*>(array);
            if (a->inBounds(i)) return void(a->data()[i] = static_cast<jshort>(v));
            break;
        }
        case cid::ByteArray: {
            auto* a = static_cast<ByteArray*>(array);
            if (a->inBounds(i)) return void(a->data()[i] = static_cast<jbyte>(v));
            break;
        }
        default: break;
        }
    }
    logPrintf("table: %s: slot %d outside its table", what, i);
}

// Element i of an Object[] (null when outside or not an Object[]).
Object* elementOf(Object* array, jint i) {
    if (!array || array->classId() != cid::ObjectArray) return nullptr;
    auto* a = static_cast<ObjectArray*>(array);
    return a->inBounds(i) ? a->data()[i] : nullptr;
}

// The key array (element 0) of a row.
IntArray* keyOf(Object* row) {
    Object* k = elementOf(row, 0);
    return k && k->classId() == cid::IntArray ? static_cast<IntArray*>(k) : nullptr;
}

// The first row (from index 4) whose key is key, or null.
Object* rowWithKey(ObjectArray* table, jint key) {
    if (!table) return nullptr;
    for (jint r = 4; r < table->length(); ++r) {
        IntArray* k = keyOf(table->data()[r]);
        if (k && k->length() > 0 && k->data()[0] == key) return table->data()[r];
    }
    return nullptr;
}

}  // namespace

Object* readDataNode(java_io_InputStream* s) {
    bool ok = true;
    Object* node = readNode(s, 1, &ok);
    return ok ? node : nullptr;
}

Object* loadDataNode(jint r) {
    const jint size = selectPack(r);
    if (size < 0) return nullptr;
    cGameStatics& g = cg();
    g.streamBytesRead = 0;
    if (g.entryCompressed) {
        ByteArray* bytes = loadResource(r);
        if (!bytes) return nullptr;
        cg().streamBytesRead = 0;
        return readDataNode(newObject<java_io_ByteArrayInputStream>(bytes));
    }
    g.streamLimit = size;
    Object* node = readDataNode(g.packStream);
    g.streamLimit = -1;
    g.packPosition += g.streamBytesRead;
    return node;
}

void setTableRowValue(ObjectArray* table, jint key, jint field, jint value) {
    Object* row = rowWithKey(table, key);
    if (row) store(keyOf(row), field, value, "row value");
}

void setTableRowSubValue(ObjectArray* table, jint key, jint sub, jint idx, jint value) {
    Object* row = rowWithKey(table, key);
    if (!row) return;
    Object* target = elementOf(row, sub + 1);
    if (!target) {
        logPrintf("table: row element %d outside its row", sub + 1);
        return;
    }
    store(target, idx, value, "row sub-value");
}

void setTableRowAttr(ObjectArray* table, jint r, jint value) {
    IntArray* key = keyOf(elementOf(table, r + 4));
    if (!key) {
        logPrintf("table: row %d outside its table", r);
        return;
    }
    store(key, 3, value, "row attribute");
}

ObjectArray* copyIntTable(ObjectArray* table) {
    if (!table) return nullptr;
    ObjectArray* out = newObjectArray(cid::IntArray, table->length());
    for (jint i = 0; i < table->length(); ++i) {
        auto* row = static_cast<IntArray*>(table->data()[i]);
        if (!row) continue;
        IntArray* copy = newIntArray(row->length());
        java_lang_System::arraycopy(table->data()[i], 0, copy, 0, copy->length());
        ObjectArray::set(out, i, copy);
    }
    return out;
}

}  // namespace game
