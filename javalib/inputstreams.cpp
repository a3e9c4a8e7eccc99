// java.io input streams: base behaviour, DataInputStream decoders and
// ByteArrayInputStream.
#include "javalib/inputstreams.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "javalib/io_support.h"
#include "javalib/synchronized.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/statics.h"
#include "runtime/string.h"

using javaio::checkRange;
using javaio::pending;

// --- java_io_InputStream ---------------------------------------------------

jint java_io_InputStream::read(ByteArray* b, jint off, jint len) {
    if (!checkRange(b, off, len)) return 0;
    for (jint i = 0; i < len; ++i) {
        const jint c = read();
        if (pending()) return 0;
        if (c == -1) return i;
        b->data()[off + i] = java::i2b(c);  // re-read: read() may have allocated
    }
    return len;
}

jint java_io_InputStream::read(ByteArray* b) {
    if (!b) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return 0;
    }
    const jint n = read(b, 0, b->length());
    return pending() ? 0 : n;
}

jint java_io_InputStream::read() { return 0; }

jlong java_io_InputStream::skip(jlong n) {
    if (n <= 0) return n;
    for (jlong i = 0; i < n; ++i) {
        read();
        if (pending()) return 0;
    }
    return n;
}

jint java_io_InputStream::available() { return 0; }
void java_io_InputStream::close() {}
void java_io_InputStream::mark(jint) { JavaMonitorScope lock(this); }
void java_io_InputStream::reset() { JavaMonitorScope lock(this); }
jboolean java_io_InputStream::markSupported() { return 0; }

// --- java_io_DataInputStream -----------------------------------------------

java_io_DataInputStream::java_io_DataInputStream(java_io_InputStream* in) : java_io_InputStream(cid::java_io_DataInputStream) {
    m_in = in;
    StaticClass::setRefFieldOffsets(this, {&m_in});
}

namespace {
// The wrapped stream, or null after a NullPointerException was raised.
java_io_InputStream* wrapped(java_io_InputStream* in) {
    if (!in) rt::throwNewDefault(cid::java_lang_NullPointerException);
    return in;
}
}  // namespace

jint java_io_DataInputStream::read(ByteArray* b, jint off, jint len) {
    java_io_InputStream* in = wrapped(m_in);
    if (!in) return 0;
    const jint n = in->read(b, off, len);
    return pending() ? 0 : n;
}

jint java_io_DataInputStream::read(ByteArray* b) {
    java_io_InputStream* in = wrapped(m_in);
    if (!in) return 0;
    if (!b) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return 0;
    }
    const jint n = in->read(b, 0, b->length());
    return pending() ? 0 : n;
}

jint java_io_DataInputStream::read() {
    java_io_InputStream* in = wrapped(m_in);
    if (!in) return 0;
    const jint c = in->read();
    return pending() ? 0 : c;
}

jlong java_io_DataInputStream::skip(jlong n) {
    java_io_InputStream* in = wrapped(m_in);
    if (!in) return 0;
    const jlong k = in->skip(n);
    return pending() ? 0 : k;
}

jint java_io_DataInputStream::available() {
    java_io_InputStream* in = wrapped(m_in);
    if (!in) return 0;
    const jint n = in->available();
    return pending() ? 0 : n;
}

void java_io_DataInputStream::close() {
    if (java_io_InputStream* in = wrapped(m_in)) in->close();
}

void java_io_DataInputStream::mark(jint readlimit) {
    JavaMonitorScope lock(this);
    if (java_io_InputStream* in = wrapped(m_in)) in->mark(readlimit);
}

void java_io_DataInputStream::reset() {
    JavaMonitorScope lock(this);
    if (java_io_InputStream* in = wrapped(m_in)) in->reset();
}

jboolean java_io_DataInputStream::markSupported() {
    java_io_InputStream* in = wrapped(m_in);
    if (!in) return 0;
    const jboolean r = in->markSupported();
    return pending() ? 0 : r;
}

namespace {

// Reads count bytes one at a time through the stream's slot 8. False with an
// exception pending when the stream failed or ended (EOFException).
bool readBytes(java_io_DataInputStream* s, jint* out, int count) {
    bool ended = false;
    for (int i = 0; i < count; ++i) {
        out[i] = s->read();
        if (pending()) return false;
        if (out[i] < 0) ended = true;
    }
    if (ended) {
        rt::throwNewDefault(cid::java_io_EOFException);
        return false;
    }
    return true;
}

}  // namespace

jboolean java_io_DataInputStream::readBoolean() {
    jint b;
    if (!readBytes(this, &b, 1)) return 0;
    return b != 0 ? 1 : 0;
}

jbyte java_io_DataInputStream::readByte() {
    jint b;
    if (!readBytes(this, &b, 1)) return 0;
    return java::i2b(b);
}

jint java_io_DataInputStream::readUnsignedByte() {
    jint b;
    if (!readBytes(this, &b, 1)) return 0;
    return b & 0xFF;
}

jint java_io_DataInputStream::readUnsignedShort() {
    jint b[2];
    if (!readBytes(this, b, 2)) return 0;
    return ((b[0] & 0xFF) << 8) | (b[1] & 0xFF);
}

jshort java_io_DataInputStream::readShort() { return java::i2s(readUnsignedShort()); }

jchar java_io_DataInputStream::readChar() { return java::i2c(readUnsignedShort()); }

jint java_io_DataInputStream::readInt() {
    jint b[4];
    if (!readBytes(this, b, 4)) return 0;
    const uint32_t v = (uint32_t(b[0] & 0xFF) << 24) | (uint32_t(b[1] & 0xFF) << 16) | (uint32_t(b[2] & 0xFF) << 8) |
                       uint32_t(b[3] & 0xFF);
    return static_cast<jint>(v);
}

jlong java_io_DataInputStream::readLong() {
    const jint high = readInt();
    if (pending()) return 0;
    const jint low = readInt();
    if (pending()) return 0;
    return static_cast<jlong>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | static_cast<uint32_t>(low));
}

void java_io_DataInputStream::readFully(ByteArray* b) {
    if (!b) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    readFully(b, 0, b->length());
}

void java_io_DataInputStream::readFully(ByteArray* b, jint off, jint len) {
    if (!checkRange(b, off, len)) return;
    jint done = 0;
    while (done < len) {
        const jint k = read(b, off + done, len - done);
        if (pending()) return;
        // A stream that answers -1 (or stops delivering) ends early.
        if (k <= 0) {
            rt::throwNewDefault(cid::java_io_EOFException);
            return;
        }
        done += std::min(k, len - done);
    }
}

jint java_io_DataInputStream::skipBytes(jint n) {
    jint total = 0;
    while (total < n) {
        const jint k = java::l2i(skip(static_cast<jlong>(n - total)));
        if (pending()) return 0;
        if (k <= 0) break;
        total += std::min(k, n - total);
    }
    return total;
}

namespace {

// The readUTF decoding of bytes[0, n); false when they are malformed.
bool decodeModifiedUtf8(const jbyte* bytes, jint n, std::u16string& out) {
    out.clear();
    out.reserve(static_cast<size_t>(n));
    jint i = 0;
    while (i < n) {
        const uint32_t c = static_cast<uint8_t>(bytes[i]);
        switch (c >> 4) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
            out.push_back(static_cast<char16_t>(c));
            i += 1;
            break;
        case 12: case 13: {
            i += 2;
            if (i > n) return false;
            const uint32_t b2 = static_cast<uint8_t>(bytes[i - 1]);
            if ((b2 & 0xC0) != 0x80) return false;
            out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (b2 & 0x3F)));
            break;
        }
        case 14: {
            i += 3;
            if (i > n) return false;
            const uint32_t b2 = static_cast<uint8_t>(bytes[i - 2]);
            const uint32_t b3 = static_cast<uint8_t>(bytes[i - 1]);
            if ((b2 & 0xC0) != 0x80 || (b3 & 0xC0) != 0x80) return false;
            out.push_back(static_cast<char16_t>(((c & 0x0F) << 12) | ((b2 & 0x3F) << 6) | (b3 & 0x3F)));
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

}  // namespace

String* java_io_DataInputStream::readUTF() {
    const jint n = readUnsignedShort();
    if (pending()) return nullptr;
    ByteArray* bytes = newByteArray(n);
    readFully(bytes, 0, n);
    if (pending()) return nullptr;
    std::u16string text;
    if (!decodeModifiedUtf8(bytes->data(), n, text)) {
        rt::throwNewDefault(cid::java_io_UTFDataFormatException);
        return nullptr;
    }
    return String::fromUtf16(text);
}

// --- java_io_ByteArrayInputStream -----------------------------------------

void java_io_ByteArrayInputStream::registerFields() { StaticClass::setRefFieldOffsets(this, {&m_buf}); }

java_io_ByteArrayInputStream::java_io_ByteArrayInputStream(ByteArray* buf)
    : java_io_InputStream(cid::java_io_ByteArrayInputStream) {
    registerFields();
    m_buf = buf;
    m_pos = 0;
    m_mark = 0;
    m_count = 0;
    if (!buf) {
        rt::logNullPointer();
        return;
    }
    m_count = buf->length();
}

java_io_ByteArrayInputStream::java_io_ByteArrayInputStream(ByteArray* buf, jint offset, jint length)
    : java_io_InputStream(cid::java_io_ByteArrayInputStream) {
    registerFields();
    m_buf = buf;
    m_pos = 0;
    m_mark = 0;
    m_count = 0;
    if (!buf) {
        rt::logNullPointer();
        return;
    }
    const jint size = buf->length();
    const jint start = std::clamp(offset, 0, size);
    const jlong end = std::clamp(static_cast<jlong>(offset) + length, static_cast<jlong>(start), static_cast<jlong>(size));
    m_pos = start;
    m_mark = start;
    m_count = static_cast<jint>(end);
}

jint java_io_ByteArrayInputStream::read() {
    JavaMonitorScope lock(this);
    if (m_pos >= m_count) return -1;
    return static_cast<uint8_t>(m_buf->data()[m_pos++]);
}

jint java_io_ByteArrayInputStream::read(ByteArray* b, jint off, jint len) {
    JavaMonitorScope lock(this);
    if (!checkRange(b, off, len)) return 0;
    if (m_pos >= m_count) return -1;
    const jint k = std::min(len, m_count - m_pos);
    if (k <= 0) return 0;
    std::memmove(b->data() + off, m_buf->data() + m_pos, static_cast<size_t>(k));
    m_pos += k;
    return k;
}

jlong java_io_ByteArrayInputStream::skip(jlong n) {
    JavaMonitorScope lock(this);
    if (n > static_cast<jlong>(m_count - m_pos)) n = m_count - m_pos;
    if (n < 0) return 0;
    m_pos += static_cast<jint>(n);
    return n;
}

jint java_io_ByteArrayInputStream::available() {
    JavaMonitorScope lock(this);
    return m_count - m_pos;
}

void java_io_ByteArrayInputStream::close() { JavaMonitorScope lock(this); }

void java_io_ByteArrayInputStream::mark(jint) { m_mark = m_pos; }

void java_io_ByteArrayInputStream::reset() {
    JavaMonitorScope lock(this);
    m_pos = m_mark;
}
