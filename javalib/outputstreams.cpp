// java.io output streams: base behaviour, DataOutputStream encoders,
// ByteArrayOutputStream, PrintStream and the discarding console.
#include "javalib/outputstreams.h"

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

// --- java_io_OutputStream --------------------------------------------------

void java_io_OutputStream::close() {}
void java_io_OutputStream::flush() {}
void java_io_OutputStream::write(jint) {}

void java_io_OutputStream::write(ByteArray* b, jint off, jint len) {
    if (!checkRange(b, off, len)) return;
    for (jint i = 0; i < len; ++i) {
        write(static_cast<jint>(b->data()[off + i]));  // re-read: write may allocate
        if (pending()) return;
    }
}

void java_io_OutputStream::write(ByteArray* b) {
    if (!b) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    write(b, 0, b->length());
}

// --- java_io_DataOutputStream ----------------------------------------------

java_io_DataOutputStream::java_io_DataOutputStream(java_io_OutputStream* out)
    : java_io_OutputStream(cid::java_io_DataOutputStream) {
    m_out = out;
    StaticClass::setRefFieldOffsets(this, {&m_out});
}

namespace {
java_io_OutputStream* sink(java_io_OutputStream* out) {
    if (!out) rt::throwNewDefault(cid::java_lang_NullPointerException);
    return out;
}
}  // namespace

void java_io_DataOutputStream::close() {
    if (auto* out = sink(m_out)) out->close();
}
void java_io_DataOutputStream::flush() {
    if (auto* out = sink(m_out)) out->flush();
}
void java_io_DataOutputStream::write(jint b) {
    if (auto* out = sink(m_out)) out->write(b);
}
void java_io_DataOutputStream::write(ByteArray* b, jint off, jint len) {
    if (auto* out = sink(m_out)) out->write(b, off, len);
}
void java_io_DataOutputStream::write(ByteArray* b) {
    auto* out = sink(m_out);
    if (!out) return;
    if (!b) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    out->write(b, 0, b->length());
}

void java_io_DataOutputStream::writeBoolean(jboolean v) { write(v ? 1 : 0); }
void java_io_DataOutputStream::writeByte(jint v) { write(v & 0xFF); }

void java_io_DataOutputStream::writeShort(jint v) {
    write((v >> 8) & 0xFF);
    if (pending()) return;
    write(v & 0xFF);
}

void java_io_DataOutputStream::writeChar(jint v) { writeShort(v); }

void java_io_DataOutputStream::writeInt(jint v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        write((v >> shift) & 0xFF);
        if (pending()) return;
    }
}

void java_io_DataOutputStream::writeLong(jlong v) {
    writeInt(static_cast<jint>(static_cast<uint64_t>(v) >> 32));
    if (pending()) return;
    writeInt(java::l2i(v));
}

void java_io_DataOutputStream::writeChars(String* s) {
    if (!s) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    const std::u16string text = s->toUtf16();
    for (char16_t c : text) {
        writeChar(c);
        if (pending()) return;
    }
}

void java_io_DataOutputStream::writeUTF(String* s) {
    if (!s) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    const std::u16string text = s->toUtf16();  // copied before any allocation
    size_t n = 0;
    for (char16_t c : text) n += (c >= 1 && c <= 127) ? 1 : (c > 2047 ? 3 : 2);
    if (n > 65535) {
        rt::throwNewDefault(cid::java_io_UTFDataFormatException);
        return;
    }
    ByteArray* bytes = newByteArray(static_cast<jint>(n + 2));
    auto* p = reinterpret_cast<uint8_t*>(bytes->data());
    *p++ = static_cast<uint8_t>(n >> 8);
    *p++ = static_cast<uint8_t>(n);
    for (char16_t c : text) {
        if (c >= 1 && c <= 127) {
            *p++ = static_cast<uint8_t>(c);
        } else if (c > 2047) {
            *p++ = static_cast<uint8_t>(0xE0 | (c >> 12));
            *p++ = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<uint8_t>(0xC0 | ((c >> 6) & 0x1F));
            *p++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
        }
    }
    write(bytes);
}

// --- java_io_ByteArrayOutputStream -----------------------------------------

void java_io_ByteArrayOutputStream::init(jint size) {
    StaticClass::setRefFieldOffsets(this, {&m_buf});
    m_count = 0;
    m_closed = 0;
    m_buf = newByteArray(std::max(size, 0));
}

java_io_ByteArrayOutputStream::java_io_ByteArrayOutputStream() : java_io_OutputStream(cid::java_io_ByteArrayOutputStream) {
    init(32);
}

java_io_ByteArrayOutputStream::java_io_ByteArrayOutputStream(jint size)
    : java_io_OutputStream(cid::java_io_ByteArrayOutputStream) {
    init(size);
    if (size < 0) rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
}

bool java_io_ByteArrayOutputStream::ensure(jlong n) {
    const jint capacity = m_buf ? m_buf->length() : 0;
    if (n <= capacity) return true;
    const jlong wanted = std::max(2 * static_cast<jlong>(capacity), n);
    ByteArray* grown = wanted <= java::kIntMax ? newByteArray(static_cast<jint>(wanted)) : nullptr;
    if (!grown || grown->length() < n) {
        rt::throwNewDefault(cid::java_lang_OutOfMemoryError);
        return false;
    }
    if (m_count > 0) std::memcpy(grown->data(), m_buf->data(), static_cast<size_t>(m_count));
    m_buf = grown;
    return true;
}

void java_io_ByteArrayOutputStream::write(jint b) {
    JavaMonitorScope lock(this);
    if (!ensure(static_cast<jlong>(m_count) + 1)) return;
    m_buf->data()[m_count++] = java::i2b(b);
}

void java_io_ByteArrayOutputStream::write(ByteArray* b, jint off, jint len) {
    JavaMonitorScope lock(this);
    if (!checkRange(b, off, len)) return;
    if (len == 0) return;
    if (!ensure(static_cast<jlong>(m_count) + len)) return;
    std::memmove(m_buf->data() + m_count, b->data() + off, static_cast<size_t>(len));
    m_count += len;
}

void java_io_ByteArrayOutputStream::reset() {
    JavaMonitorScope lock(this);
    m_count = 0;
}

jint java_io_ByteArrayOutputStream::size() { return m_count; }

void java_io_ByteArrayOutputStream::close() {
    JavaMonitorScope lock(this);
    m_closed = 1;
}

ByteArray* java_io_ByteArrayOutputStream::toByteArray() {
    JavaMonitorScope lock(this);
    if (m_closed && m_buf->length() == m_count) return m_buf;
    ByteArray* copy = newByteArray(m_count);
    if (m_count > 0) std::memcpy(copy->data(), m_buf->data(), static_cast<size_t>(m_count));
    return copy;
}

String* java_io_ByteArrayOutputStream::toString() {
    JavaMonitorScope lock(this);
    std::string bytes(reinterpret_cast<const char*>(m_buf->data()), static_cast<size_t>(m_count));
    return String::fromLatin1(bytes);
}

// --- java_io_PrintStream ----------------------------------------------------

namespace {

// catch (IOException e) {} around one call to the wrapped stream.
void dropIOException() {
    if (!Application::checkException(1)) return;
    static const jint kHandlers[] = {cid::java_io_IOException, 1, 2, 0, 0, 0};
    Application::findHandler(kHandlers);
}

ByteArray* lowBytes(String* s) {
    std::string bytes = s ? s->toLatin1() : std::string("null");
    ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
    if (!bytes.empty()) std::memcpy(a->data(), bytes.data(), bytes.size());
    return a;
}

}  // namespace

java_io_PrintStream::java_io_PrintStream(java_io_OutputStream* out) : java_io_OutputStream(cid::java_io_PrintStream) {
    m_out = out;
    StaticClass::setRefFieldOffsets(this, {&m_out});
}

void java_io_PrintStream::close() {
    if (auto* out = sink(m_out)) out->close();
    dropIOException();
}
void java_io_PrintStream::flush() {
    if (auto* out = sink(m_out)) out->flush();
    dropIOException();
}
void java_io_PrintStream::write(jint b) {
    if (auto* out = sink(m_out)) out->write(b);
    dropIOException();
}
void java_io_PrintStream::write(ByteArray* b, jint off, jint len) {
    if (auto* out = sink(m_out)) out->write(b, off, len);
    dropIOException();
}

void java_io_PrintStream::newline() { write(10); }

void java_io_PrintStream::print(String* s) {
    auto* out = sink(m_out);
    if (!out) return;
    out->write(lowBytes(s));
    dropIOException();
}

void java_io_PrintStream::print(jchar c) { write(static_cast<jint>(c)); }

void java_io_PrintStream::print(CharArray* s) {
    if (!s) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    for (jint i = 0; i < s->length(); ++i) {
        write(static_cast<jint>(s->data()[i]));
        if (pending()) return;  // only non-IO exceptions are left pending
    }
}

void java_io_PrintStream::print(jboolean b) { print(StaticClass::getStringConstant(b ? 198 : 199)); }
void java_io_PrintStream::print(jint i) { print(String::fromLatin1(std::to_string(i))); }
void java_io_PrintStream::print(jlong l) { print(String::fromLatin1(std::to_string(l))); }

void java_io_PrintStream::print(Object* o) {
    String* text = o ? o->toString() : nullptr;
    if (pending()) return;
    print(text);
}

void java_io_PrintStream::println() { newline(); }

#define PRINTLN(T)                               \
    void java_io_PrintStream::println(T v) {     \
        print(v);                                \
        if (pending()) return;                   \
        newline();                               \
    }
PRINTLN(String*)
PRINTLN(Object*)
PRINTLN(jboolean)
PRINTLN(jint)
PRINTLN(jchar)
#undef PRINTLN

// --- java_io_ConsoleOutputStream ---------------------------------------------

void java_io_ConsoleOutputStream::write(jint) {}

void java_io_ConsoleOutputStream::write(ByteArray* b, jint off, jint len) { checkRange(b, off, len); }

void java_io_ConsoleOutputStream::write(ByteArray* b) {
    if (!b) rt::throwNewDefault(cid::java_lang_NullPointerException);
}
