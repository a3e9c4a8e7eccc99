// Resource packs: the stream primitives, the header and offset tables, entry
// selection with forward-only seeking, the entry loader with its LZMA
// header, and the sound content-type table (see pack.h for the invariants).
#include "game/data/pack.h"

#include <lzma.h>

#include <cstring>
#include <vector>

#include "game/data/statics.h"
#include "io/resource.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"

namespace game {
namespace {

ResourceOpener& opener() {
    static ResourceOpener o;
    return o;
}

// One stream call's exception, caught.
bool failed() { return catchException(); }

// Pool text n ("" when the pool lacks it).
String* pool(jint n) {
    String* s = StaticClass::getStringConstant(n);
    return s ? s : String::empty();
}

std::string printable(String* s) { return s ? toUtf8(s) : std::string("(null)"); }

jint streamLength(java_io_InputStream* s) {
    jint n = s->available();
    if (failed() || n < 0) return 0;
    return n;
}

// Opens file name as the pack stream (position 0); false when missing.
bool openPackFile(String* name) {
    cGameStatics& g = cg();
    java_io_InputStream* s = openResource(name);
    cg().packStream = s;
    cg().packPosition = 0;
    if (!s) {
        logPrintf("pack: missing file %s", printable(name).c_str());
        return false;
    }
    g.packOpens++;
    cg().packFileLength = streamLength(s);
    return true;
}

// The name of sub-pack file k of the open pack.
String* subPackName(jint k) {
    StringBuffer* b = StringBuffer::make(32);
    StringBuffer::append(b, cg().packName);
    StringBuffer::append(b, pool(133));
    StringBuffer::appendInt(b, k);
    return b->toString();
}

// Reads n little-endian u32/u16/s16 values from the pack stream into out;
// false when the stream ends first. Counts into packPosition.
bool readPackLE(std::vector<int64_t>& out, jint n, int width, bool isSigned) {
    out.clear();
    if (n <= 0) return true;
    const jint bytes = n * width;
    ByteArray* buf = newByteArray(bytes);
    jint got = readAvailable(cg().packStream, buf, 0, bytes);
    cg().packPosition += got;
    if (got != bytes) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(buf->data());
    out.reserve(static_cast<size_t>(n));
    for (jint i = 0; i < n; ++i, p += width) {
        uint32_t v = 0;
        for (int b = width - 1; b >= 0; --b) v = (v << 8) | p[b];
        int64_t x = v;
        if (isSigned && width == 2) x = static_cast<int16_t>(v);
        out.push_back(x);
    }
    return true;
}

// Reads and checks the offset table of sub-pack k (n = its entry count);
// stores it as cGame.packOffsets. False (logged) when it is short or bad.
bool readOffsetTable(jint k) {
    cGameStatics& g = cg();
    const jint first = g.subPackFirstIds->data()[k];
    const jint n = k == g.subPackCount - 1 ? g.packEntryCount - first : g.subPackFirstIds->data()[k + 1] - first;
    std::vector<int64_t> offsets;
    if (!readPackLE(offsets, n + 1, 4, false)) {
        logPrintf("pack: %s sub-pack %d: offset table cut short", printable(g.packName).c_str(), k);
        return false;
    }
    const int64_t tableEnd = cg().packPosition;
    const int64_t fileLength = cg().packFileLength;
    for (jint i = 0; i <= n; ++i) {
        const int64_t o = offsets[static_cast<size_t>(i)];
        if ((i == 0 && o < tableEnd) || (i > 0 && o < offsets[static_cast<size_t>(i - 1)]) || o > fileLength) {
            logPrintf("pack: %s sub-pack %d: offset %d (%lld) out of order or past the file (%lld bytes)",
                      printable(cg().packName).c_str(), k, i, static_cast<long long>(o),
                      static_cast<long long>(fileLength));
            return false;
        }
    }
    IntArray* table = newIntArray(n + 1);
    for (jint i = 0; i <= n; ++i) table->data()[i] = static_cast<jint>(offsets[static_cast<size_t>(i)]);
    cg().packOffsets = table;
    return true;
}

// Forgets the open pack after a failure: closed, no header, no tables.
void forgetPack() {
    closePackStream();
    cGameStatics& g = cg();
    g.packName = nullptr;
    g.packEntryCount = 0;
    g.subPackCount = 0;
    g.subPackFirstIds = nullptr;
    g.packOffsets = nullptr;
    g.currentSubPack = -1;
}

// Opens the file of sub-pack k; for k = 0 the header is read again.
bool reopenSubPack(jint k) {
    if (k == 0) {
        String* name = cg().packName;
        cg().packName = nullptr;
        return readPackHeader(name);
    }
    return openPackFile(subPackName(k));
}

// A liblzma raw LZMA1 decode of in into exactly outSize bytes.
bool lzmaRaw(const uint8_t* in, size_t inSize, uint32_t lc, uint32_t lp, uint32_t pb, uint8_t* out, size_t outSize,
             const char** why) {
    lzma_options_lzma opt{};
    if (lzma_lzma_preset(&opt, 0)) {
        *why = "no decoder options";
        return false;
    }
    opt.lc = lc;
    opt.lp = lp;
    opt.pb = pb;
    opt.dict_size = outSize < LZMA_DICT_SIZE_MIN ? LZMA_DICT_SIZE_MIN : static_cast<uint32_t>(outSize);
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &opt}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream strm = LZMA_STREAM_INIT;
    if (lzma_raw_decoder(&strm, filters) != LZMA_OK) {
        *why = "properties not accepted";
        return false;
    }
    strm.next_in = in;
    strm.avail_in = inSize;
    strm.next_out = out;
    bool ok = false;
    size_t done = 0;
    constexpr size_t kChunk = 1 << 20;
    for (;;) {
        const size_t chunk = std::min(kChunk, outSize - done);
        strm.avail_out = chunk;
        lzma_ret r = lzma_code(&strm, strm.avail_in ? LZMA_RUN : LZMA_FINISH);
        done += chunk - strm.avail_out;
        if (done == outSize) {
            ok = true;
            break;
        }
        if (r == LZMA_STREAM_END || (r == LZMA_OK && strm.avail_in == 0 && chunk == strm.avail_out)) {
            *why = "data ends before the stated size";
            break;
        }
        if (r != LZMA_OK) {
            *why = r == LZMA_BUF_ERROR ? "data ends before the stated size" : "damaged data";
            break;
        }
        safepoint();
    }
    lzma_end(&strm);
    return ok;
}

}  // namespace

void setResourceOpener(ResourceOpener o) { opener() = std::move(o); }

java_io_InputStream* openResource(String* name) {
    if (!name) return nullptr;
    java_io_InputStream* s = opener() ? opener()(name) : bramble::io::getResourceAsStream(name);
    if (failed()) return nullptr;
    return s;
}

bool catchException() {
    if (!Application::checkException(1)) return false;
    static const jint kHandlers[] = {cid::java_lang_Exception, 1, 2, 0, 0, 0};
    return Application::findHandler(kHandlers) == 0;
}

// --- the pack stream ----------------------------------------------------

void closePackStream() {
    java_io_InputStream* s = cg().packStream;
    if (s) {
        s->close();
        failed();
    }
    cg().packStream = nullptr;
    cg().packPosition = 0;
}

void closePack() {
    closePackStream();
    java_lang_System::gc();
}

jint readPackByte() {
    cGameStatics& g = cg();
    g.packPosition++;
    if (!g.packStream) return -1;
    jint v = g.packStream->read();
    if (failed()) return 0;
    return v;
}

jint readPackU16() {
    jint a = readPackByte() & 0xFF;
    jint b = readPackByte() & 0xFF;
    return a | (b << 8);
}

jint readPackInt32() {
    jint v = 0;
    for (int i = 0; i < 4; ++i) v |= (readPackByte() & 0xFF) << (8 * i);
    return v;
}

jint readPackBytes(ByteArray* buf, jint off, jint len) {
    if (cg().packStream) readAvailable(cg().packStream, buf, off, len);
    cg().packPosition += len;
    return len;
}

void skipPack(jint n) {
    if (n <= 0) return;
    if (!cg().skipBuffer) cg().skipBuffer = newByteArray(256);
    while (n > 0) {
        const jint chunk = n > 256 ? 256 : n;
        readPackBytes(cg().skipBuffer, 0, chunk);
        n -= chunk;
    }
}

// --- any stream -----------------------------------------------------------

namespace {
// How many of n bytes the stream limit still allows.
jint allowed(jint n) {
    const jint limit = cg().streamLimit;
    if (limit < 0) return n;
    const jint left = limit - cg().streamBytesRead;
    return left <= 0 ? 0 : (n < left ? n : left);
}
}  // namespace

jint readAvailable(java_io_InputStream* s, ByteArray* buf, jint off, jint len) {
    len = allowed(len);
    if (!s || !buf || len <= 0) return 0;
    jint got = 0;
    while (got < len) {
        jint r = s->read(buf, off + got, len - got);
        if (failed() || r <= 0) break;
        got += r;
    }
    return got;
}

jint readStreamByte(java_io_InputStream* s) {
    if (!s || allowed(1) < 1) return -1;
    jint v = s->read();
    if (failed()) return -1;
    if (v >= 0) cg().streamBytesRead++;
    return v;
}

jint readStreamU16(java_io_InputStream* s) {
    jint a = readStreamByte(s) & 0xFF;
    jint b = readStreamByte(s) & 0xFF;
    return a | (b << 8);
}

jint readStreamInt32(java_io_InputStream* s) {
    jint v = 0;
    for (int i = 0; i < 4; ++i) v |= (readStreamByte(s) & 0xFF) << (8 * i);
    return v;
}

jint readStreamFully(java_io_InputStream* s, ByteArray* buf, jint off, jint len) {
    readAvailable(s, buf, off, len);
    cg().streamBytesRead += len;
    return len;
}

jint readStreamChunk(java_io_InputStream* s, ByteArray* buf, jint off, jint len) {
    if (!s) return -1;
    jint r = s->read(buf, off, allowed(len));
    if (failed()) return -1;
    return r;
}

// --- packs --------------------------------------------------------------

String* packNameOf(jint n) {
    StringBuffer* b = StringBuffer::make(16);
    StringBuffer::append(b, pool(76));
    StringBuffer::appendInt(b, n);
    return b->toString();
}

bool readPackHeader(String* name) {
    cGameStatics& g = cg();
    if (g.packName && name && String::equals(g.packName, name)) return true;
    closePack();
    forgetPack();
    cg().packName = name;
    if (!openPackFile(name)) {
        forgetPack();
        return false;
    }
    std::vector<int64_t> head;
    if (!readPackLE(head, 2, 2, false)) {
        logPrintf("pack: %s: header cut short", printable(name).c_str());
        forgetPack();
        return false;
    }
    const jint n = static_cast<jint>(head[0]);
    const jint subs = static_cast<jint>(static_cast<int16_t>(head[1]));
    std::vector<int64_t> firsts;
    bool ok = subs >= 1 && subs <= (n > 0 ? n : 1);
    if (!ok) {
        logPrintf("pack: %s: sub-pack count %d outside 1..%d", printable(name).c_str(), subs, n);
    } else if (!readPackLE(firsts, subs, 2, false)) {
        logPrintf("pack: %s: header cut short", printable(name).c_str());
        ok = false;
    } else {
        for (jint k = 0; k < subs && ok; ++k) {
            const int64_t f = firsts[static_cast<size_t>(k)];
            if (f > n || (k > 0 && f <= firsts[static_cast<size_t>(k - 1)])) {
                logPrintf("pack: %s: first entry %lld of sub-pack %d not ascending or past %d", printable(name).c_str(),
                          static_cast<long long>(f), k, n);
                ok = false;
            }
        }
    }
    if (!ok) {
        forgetPack();
        return false;
    }
    ShortArray* ids = newShortArray(subs);
    for (jint k = 0; k < subs; ++k) ids->data()[k] = static_cast<jshort>(firsts[static_cast<size_t>(k)]);
    cGameStatics& h = cg();
    h.packEntryCount = n;
    h.subPackCount = static_cast<jshort>(subs);
    h.subPackFirstIds = ids;
    h.currentSubPack = 0;
    if (!readOffsetTable(0)) {
        forgetPack();
        return false;
    }
    return true;
}

bool seekPack(jint p) {
    cGameStatics& g = cg();
    if (g.packStream && g.packPosition == p) return true;
    if (!g.packStream || p < g.packPosition) {
        const jint k = g.currentSubPack;
        closePackStream();
        if (k == 0) {
            if (!openPackFile(cg().packName)) return false;
        } else if (!openPackFile(subPackName(k))) {
            return false;
        }
    }
    skipPack(p - cg().packPosition);
    return true;
}

jint selectPack(jint r) {
    cGameStatics& g = cg();
    if (!g.subPackFirstIds || !g.packName) {
        logPrintf("pack: entry %d selected with no pack open", r);
        return -1;
    }
    const jint subs = g.subPackCount;
    if (r < g.subPackFirstIds->data()[0] || r >= g.packEntryCount) {
        logPrintf("pack: %s: entry %d outside [%d, %d)", printable(g.packName).c_str(), r,
                  g.subPackFirstIds->data()[0], g.packEntryCount);
        return -1;
    }
    jint k = subs - 1;
    while (k > 0 && g.subPackFirstIds->data()[k] > r) --k;
    if (k != g.currentSubPack) {
        cg().currentSubPack = k;
        closePack();
        if (k == 0) {
            if (!reopenSubPack(0)) return -1;
        } else if (!openPackFile(subPackName(k)) || !readOffsetTable(k)) {
            closePackStream();
            cg().currentSubPack = -1;
            return -1;
        }
    } else if (!g.packStream) {
        if (!reopenSubPack(k)) {
            cg().currentSubPack = k == 0 ? -1 : k;
            return -1;
        }
    }
    cGameStatics& h = cg();
    if (!h.packOffsets || !h.subPackFirstIds) return -1;
    const jint i = r - h.subPackFirstIds->data()[k];
    const jint start = h.packOffsets->data()[i];
    const jint length = h.packOffsets->data()[i + 1] - start;
    if (!seekPack(start)) return -1;
    cg().entryCompressed = 0;
    if (length < 1) return length;
    const jint t = readPackByte() & 0xFF;
    if (t > 126) {
        cg().entryType = static_cast<jshort>(t - 127);
        cg().entryCompressed = 1;
    } else {
        cg().entryType = static_cast<jshort>(t);
    }
    return length - 1;
}

ByteArray* loadResource(jint r) {
    const jint size = selectPack(r);
    if (size < 0) return nullptr;
    if (!cg().entryCompressed) {
        ByteArray* data = newByteArray(size);
        readPackBytes(data, 0, size);
        return data;
    }
    if (!lzmaDecode(cg().packStream, size)) {
        // The stream's position is no longer known: the next selection
        // opens the file again.
        closePackStream();
        return nullptr;
    }
    ByteArray* out = cg().lzmaOutput;
    cg().packPosition += size;
    cg().lzmaOutput = nullptr;
    return out;
}

bool lzmaDecode(java_io_InputStream* s, jint size) {
    cg().lzmaOutput = nullptr;
    if (size < 13) {
        logPrintf("lzma: payload of %d bytes has no full header", size);
        if (size > 0) {
            ByteArray* skip = newByteArray(size);
            readStreamFully(s, skip, 0, size);
        }
        return false;
    }
    ByteArray* in = newByteArray(size + 1);
    const jint saved = cg().streamLimit;
    cg().streamLimit = -1;
    const jint before = cg().streamBytesRead;
    const jint got = readAvailable(s, in, 0, size);
    cg().streamBytesRead = before + size;
    cg().streamLimit = saved;
    const auto* p = reinterpret_cast<const uint8_t*>(in->data());
    const uint32_t props = p[0];
    const uint32_t u = static_cast<uint32_t>(p[5]) | (static_cast<uint32_t>(p[6]) << 8) |
                       (static_cast<uint32_t>(p[7]) << 16) | (static_cast<uint32_t>(p[8]) << 24);
    if (got < size) {
        logPrintf("lzma: payload cut short (%d of %d bytes)", got, size);
        return false;
    }
    if (props >= 225) {
        logPrintf("lzma: properties byte %u out of range", props);
        return false;
    }
    if (u > static_cast<uint32_t>(kMaxLzmaOutput)) {
        logPrintf("lzma: stated size %u above the limit of %d bytes", u, kMaxLzmaOutput);
        return false;
    }
    std::vector<uint8_t> input(p + 13, p + size);
    std::vector<uint8_t> output(u);
    const char* why = "";
    if (u > 0 && !lzmaRaw(input.data(), input.size(), props % 9, (props / 9) % 5, props / 45, output.data(), u, &why)) {
        logPrintf("lzma: %s (stated size %u, %d bytes in)", why, u, size);
        java_lang_System::gc();
        return false;
    }
    ByteArray* out = newByteArray(static_cast<jint>(u));
    if (u) std::memcpy(out->data(), output.data(), u);
    cg().lzmaOutput = out;
    java_lang_System::gc();
    return true;
}

// --- sound content types --------------------------------------------------

void loadContentTypes(String* name) {
    if (cg().contentTypes) return;
    java_io_InputStream* aside = cg().packStream;
    const jint asidePosition = cg().packPosition;
    const jint asideLength = cg().packFileLength;
    ObjectArray* table = nullptr;
    java_io_InputStream* s = openResource(name);
    cg().packStream = s;
    if (!s) {
        logPrintf("content types: missing resource %s", printable(name).c_str());
    } else {
        ByteArray* buf = newByteArray(256);
        bool ok = readAvailable(s, buf, 0, 1) == 1;
        const jint c = ok ? (buf->data()[0] & 0xFF) : 0;
        table = newObjectArray(cid::ByteArray, c);
        for (jint i = 0; ok && i < c; ++i) {
            ok = readAvailable(s, buf, 0, 1) == 1;
            const jint len = ok ? (buf->data()[0] & 0xFF) : 0;
            ByteArray* rec = newByteArray(len);
            ok = ok && readAvailable(s, rec, 0, len) == len;
            ObjectArray::set(table, i, rec);
        }
        if (!ok) {
            logPrintf("content types: %s cut short", printable(name).c_str());
            table = nullptr;
        }
        s->close();
        failed();
    }
    cGameStatics& g = cg();
    g.contentTypes = table;
    g.packStream = aside;
    g.packPosition = asidePosition;
    g.packFileLength = asideLength;
}

String* getSoundContentType(jint i) {
    ObjectArray* t = cg().contentTypes;
    if (!t || i < 0 || i >= t->length() || !t->data()[i]) return StaticClass::getStringConstant(1);
    ByteArray* rec = static_cast<ByteArray*>(t->data()[i]);
    String* s = newObject<String>();
    String::initBytesEncoding(s, rec, 0, rec->length(), StaticClass::getStringConstant(48));
    return s;
}

}  // namespace game
