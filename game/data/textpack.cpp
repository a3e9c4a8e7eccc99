// Text packs and game strings (see textpack.h).
#include "game/data/textpack.h"

#include <vector>

#include "game/data/pack.h"
#include "game/data/statics.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"

namespace game {
namespace {

void ensureTables() {
    cGameStatics& g = cg();
    if (g.textPackSlots) return;
    IntArray* slots = newIntArray(kTextSlots);
    for (jint i = 0; i < kTextSlots; ++i) slots->data()[i] = -1;
    g.textPackSlots = slots;
    g.textPackData = newObjectArray(cid::ByteArray, kTextSlots);
    g.textPackCounts = newIntArray(kTextSlots);
    g.textPackOffsets = newObjectArray(cid::IntArray, kTextSlots);
    g.textPackStrings = newObjectArray(cid::ObjectArray, kTextSlots);
}

// Reads and drops n bytes of s (stops at the end of the stream or limit).
void skipStream(java_io_InputStream* s, int64_t n) {
    ByteArray* buf = newByteArray(256);
    while (n > 0) {
        const jint chunk = n > 256 ? 256 : static_cast<jint>(n);
        const jint got = readAvailable(s, buf, 0, chunk);
        cg().streamBytesRead += got;
        if (got < chunk) return;
        n -= got;
    }
}

// The bytes s can still give: the rest of the pack entry while a stream
// limit is set, otherwise what the stream says it holds (every stream the
// loader is handed answers that exactly).
int64_t bytesLeft(java_io_InputStream* s) {
    const jint limit = cg().streamLimit;
    if (limit >= 0) return int64_t{limit} - cg().streamBytesRead;
    const jint n = s->available();
    return catchException() ? 0 : n;
}

// Reads len bytes into a new array; null when the stream (or its limit)
// ends first. A length past what the stream holds is refused before
// anything is allocated.
ByteArray* readExactly(java_io_InputStream* s, jint len) {
    if (len > bytesLeft(s)) return nullptr;
    ByteArray* buf = newByteArray(len);
    const jint got = readAvailable(s, buf, 0, len);
    cg().streamBytesRead += got;
    return got == len ? buf : nullptr;
}

}  // namespace

String* getString(jint id) {
    cGameStatics& g = cg();
    const jint slot = id >> 16, index = id & 0xFFFF;
    if (slot < 0 || slot >= kTextSlots || !g.textPackCounts) return nullptr;
    if (g.textPackStrings) {
        auto* cached = static_cast<ObjectArray*>(g.textPackStrings->data()[slot]);
        if (cached) return index < cached->length() ? static_cast<String*>(cached->data()[index]) : nullptr;
    }
    auto* offsets = static_cast<IntArray*>(g.textPackOffsets->data()[slot]);
    auto* data = static_cast<ByteArray*>(g.textPackData->data()[slot]);
    if (!offsets || !data || index + 1 >= offsets->length()) return nullptr;
    const jint start = offsets->data()[index], end = offsets->data()[index + 1];
    if (end == start) return nullptr;
    String* s = newObject<String>();
    String::initBytesEncoding(s, data, start, end - start, cg().textEncoding);
    return s;
}

jint loadTextPack(java_io_InputStream* s) {
    const jint slot = readStreamByte(s);
    if (slot < 0) {
        logPrintf("text pack: empty");
        return -1;
    }
    if (slot >= kTextSlots) {
        logPrintf("text pack: slot %d outside 0..%d", slot, kTextSlots - 1);
        return -1;
    }
    ByteArray* head = readExactly(s, 4);
    if (!head) {
        logPrintf("text pack: slot %d: count cut short", slot);
        return -1;
    }
    const auto* h = reinterpret_cast<const uint8_t*>(head->data());
    const jint stated = static_cast<jint>(h[0] | (h[1] << 8) | (h[2] << 16) | (static_cast<uint32_t>(h[3]) << 24));
    if (stated < 0) {
        logPrintf("text pack: slot %d: negative string count %d", slot, stated);
        return -1;
    }
    const jint c = stated > kMaxTexts ? kMaxTexts : stated;
    ByteArray* raw = readExactly(s, c * 4);
    if (!raw) {
        logPrintf("text pack: slot %d: offset table cut short", slot);
        return -1;
    }
    IntArray* offsets = newIntArray(c + 1);
    {
        const auto* p = reinterpret_cast<const uint8_t*>(raw->data());
        jint* o = offsets->data();
        for (jint i = 0; i < c; ++i, p += 4) {
            o[i + 1] = static_cast<jint>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
            if (o[i + 1] < o[i]) {
                logPrintf("text pack: slot %d: end offset %d of string %d below the one before", slot, o[i + 1], i);
                return -1;
            }
        }
    }
    if (stated > c) skipStream(s, static_cast<int64_t>(stated - c) * 4);
    const jint length = offsets->data()[c];
    const int64_t left = bytesLeft(s);
    ByteArray* data = readExactly(s, length);
    if (!data) {
        logPrintf("text pack: slot %d: text data shorter than %d bytes (%lld left)", slot, length,
                  static_cast<long long>(left));
        return -1;
    }
    ensureTables();
    cGameStatics& g = cg();
    g.textPackCounts->data()[slot] = c;
    ObjectArray::set(g.textPackOffsets, slot, offsets);
    ObjectArray::set(g.textPackData, slot, data);
    // New texts replace whatever the slot held, cached strings included.
    ObjectArray::set(g.textPackStrings, slot, nullptr);
    return slot;
}

void cacheTextPack(jint slot) {
    cGameStatics& g = cg();
    if (slot < 0 || slot >= kTextSlots || !g.textPackCounts) return;
    const jint count = g.textPackCounts->data()[slot];
    if (count <= 0 || g.textPackStrings->data()[slot]) return;
    ObjectArray* strings = newObjectArray(cid::String, count);
    for (jint i = 0; i < count; ++i) ObjectArray::set(strings, i, getString((slot << 16) + i));
    ObjectArray::set(cg().textPackStrings, slot, strings);
    ObjectArray::set(cg().textPackOffsets, slot, nullptr);
    ObjectArray::set(cg().textPackData, slot, nullptr);
    java_lang_System::gc();
}

void loadTextPackResource(String* packName, jint r) {
    if (r < 0 || r >= kTextSlots) {
        logPrintf("text pack: pack entry %d outside 0..%d", r, kTextSlots - 1);
        return;
    }
    unloadTextPack(r);
    if (!readPackHeader(packName)) return;
    const jint size = selectPack(r);
    if (size < 0) {
        closePack();
        return;
    }
    ensureTables();
    const bool compressed = cg().entryCompressed;
    java_io_InputStream* s;
    if (compressed) {
        ByteArray* bytes = loadResource(r);
        if (!bytes) {
            closePack();
            return;
        }
        s = newObject<java_io_ByteArrayInputStream>(bytes);
    } else {
        s = cg().packStream;
    }
    cGameStatics& g = cg();
    g.streamBytesRead = 0;
    g.streamLimit = compressed ? -1 : size;
    const jint slot = loadTextPack(s);
    g.streamLimit = -1;
    if (slot >= 0) cg().textPackSlots->data()[r] = slot;
    closePack();
    cacheTextPack(slot);
}

void unloadTextPack(jint r) {
    cGameStatics& g = cg();
    if (!g.textPackSlots || r < 0 || r >= kTextSlots) return;
    const jint slot = g.textPackSlots->data()[r];
    if (slot < 0) return;
    auto* cached = static_cast<ObjectArray*>(g.textPackStrings->data()[slot]);
    if (cached) {
        for (jint i = 0; i < cached->length(); ++i) cached->data()[i] = nullptr;
        ObjectArray::set(g.textPackStrings, slot, nullptr);
    }
    ObjectArray::set(g.textPackOffsets, slot, nullptr);
    ObjectArray::set(g.textPackData, slot, nullptr);
    g.textPackCounts->data()[slot] = 0;
    g.textPackSlots->data()[r] = -1;
}

bool isTextPackLoaded(jint r) {
    IntArray* slots = cg().textPackSlots;
    return slots && r >= 0 && r < kTextSlots && slots->data()[r] >= 0;
}

}  // namespace game
