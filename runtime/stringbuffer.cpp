// StringBuffer: storage, growth and the insert path every append shares.
#include "runtime/stringbuffer.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/numbers.h"
#include "runtime/objectmanager.h"
#include "runtime/string.h"

namespace {

// The largest buffer made (the same byte bound as a String's block).
constexpr int64_t kMaxUnits = (int64_t(256) << 20) / 2;

bool checkBuffer(const StringBuffer* b) {
    if (b) return true;
    rt::logNullPointer();
    return false;
}

void logRange(const char* what, jint a, jint b, jint length) {
    char message[112];
    snprintf(message, sizeof message, "StringBuffer::%s: index %d/%d outside the text of %d", what, a, b, length);
    rt::logWithStackTrace(message);
}

std::u16string widen(const std::string& text) {
    std::u16string units(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); ++i) units[i] = static_cast<unsigned char>(text[i]);
    return units;
}

}  // namespace

bool StringBuffer::grow(StringBuffer* b, int64_t needed) {
    if (needed <= b->m_capacity) return true;
    if (needed > kMaxUnits) {
        rt::logWithStackTrace("StringBuffer: text too long");
        return false;
    }
    int64_t capacity = 2 * static_cast<int64_t>(b->m_capacity);
    if (capacity < needed) capacity = needed;
    if (capacity > kMaxUnits) capacity = kMaxUnits;
    // The allocation may compact the data heap and move the old block: the
    // old units are read through m_chars only afterwards.
    auto* fresh = static_cast<jchar*>(rt::allocDataBuffer(static_cast<size_t>(capacity) * sizeof(jchar)));
    if (!fresh) {
        rt::logWithStackTrace("StringBuffer: out of memory");
        return false;
    }
    if (b->m_chars) {
        std::memcpy(fresh, b->m_chars, sizeof(jchar) * static_cast<size_t>(b->m_capacity));
        rt::freeDataBuffer(b->m_chars);
    }
    b->m_chars = fresh;
    rt::registerOwner(reinterpret_cast<void**>(&b->m_chars));
    b->m_capacity = static_cast<jint>(capacity);
    return true;
}

StringBuffer* StringBuffer::make(jint capacity) {
    auto* b = newObject<StringBuffer>();
    init(b, capacity);
    return b;
}

void StringBuffer::init(StringBuffer* b, jint capacity) {
    if (!checkBuffer(b)) return;
    if (b->m_chars) rt::freeDataBuffer(b->m_chars);
    b->m_chars = nullptr;
    b->m_capacity = 0;
    b->m_length = 0;
    if (capacity < 0) {
        logRange("init", capacity, 0, 0);
        capacity = 0;
    }
    if (capacity > 0) grow(b, capacity);
    setLength(b, 0);
}

void StringBuffer::initString(StringBuffer* b, String* str) {
    if (!checkBuffer(b)) return;
    if (!str) {
        rt::logNullPointer();
        init(b, 16);
        return;
    }
    init(b, str->count());
    append(b, str);
}

void StringBuffer::setLength(StringBuffer* b, jint n) {
    if (!checkBuffer(b)) return;
    if (n < 0) {
        logRange("setLength", n, 0, b->m_length);
        return;
    }
    if (b->m_capacity < n && !grow(b, n)) return;
    // Units uncovered by a longer length read as zero, whatever was there.
    if (n > b->m_length) std::memset(b->m_chars + b->m_length, 0, sizeof(jchar) * static_cast<size_t>(n - b->m_length));
    if (b->m_capacity > n) b->m_chars[n] = 0;
    b->m_length = n;
}

void StringBuffer::ensureCapacity(StringBuffer* b, jint n) {
    if (!checkBuffer(b)) return;
    if (b->m_capacity < n) grow(b, n);
}

jint StringBuffer::length(StringBuffer* b) { return checkBuffer(b) ? b->m_length : 0; }
jint StringBuffer::capacity(StringBuffer* b) { return checkBuffer(b) ? b->m_capacity : 0; }

template <typename Source>
StringBuffer* StringBuffer::insertFrom(StringBuffer* b, jint offset, jint n, Source source) {
    if (!checkBuffer(b)) return b;
    if (offset < 0 || offset > b->m_length) {
        logRange("insert", offset, n, b->m_length);
        return b;
    }
    if (n <= 0) return b;
    const int64_t needed = static_cast<int64_t>(b->m_length) + n + 1;
    if (!grow(b, needed)) return b;
    jchar* chars = b->m_chars;
    const jint length = b->m_length;
    if (offset < length) std::memmove(chars + offset + n, chars + offset, sizeof(jchar) * static_cast<size_t>(length - offset));
    std::memcpy(chars + offset, source(), sizeof(jchar) * static_cast<size_t>(n));
    b->m_length = length + n;
    b->m_chars[b->m_length] = 0;  // grown to length + n + 1 above
    return b;
}

StringBuffer* StringBuffer::insertChars(StringBuffer* b, jint offset, const jchar* units, jint n) {
    if (!units) n = 0;
    return insertFrom(b, offset, n, [units] { return units; });
}

StringBuffer* StringBuffer::insert(StringBuffer* b, jint offset, String* str) {
    if (!str) return insertCString(b, offset, "null");
    // The String's block may move while the buffer grows: read it afterwards.
    return insertFrom(b, offset, str->length(), [str] { return str->chars(); });
}

StringBuffer* StringBuffer::insertObject(StringBuffer* b, jint offset, Object* object) {
    return insert(b, offset, object ? object->toString() : nullptr);
}

StringBuffer* StringBuffer::insertBoolean(StringBuffer* b, jint offset, jboolean value) {
    return insertCString(b, offset, value == 1 ? "true" : "false");
}

StringBuffer* StringBuffer::insertChar(StringBuffer* b, jint offset, jchar c) { return insertChars(b, offset, &c, 1); }

StringBuffer* StringBuffer::insertCString(StringBuffer* b, jint offset, const char* text) {
    if (!text) {
        rt::logNullPointer();
        return b;
    }
    const std::u16string units = widen(text);
    return insertChars(b, offset, reinterpret_cast<const jchar*>(units.data()), static_cast<jint>(units.size()));
}

StringBuffer* StringBuffer::insertInt(StringBuffer* b, jint offset, jint value) {
    return insertCString(b, offset, rt::num::formatInt(value).c_str());
}
StringBuffer* StringBuffer::insertLong(StringBuffer* b, jint offset, jlong value) {
    return insertCString(b, offset, rt::num::formatLong(value).c_str());
}
StringBuffer* StringBuffer::insertFloat(StringBuffer* b, jint offset, jfloat value) {
    return insertCString(b, offset, rt::num::formatDouble(value).c_str());
}
StringBuffer* StringBuffer::insertDouble(StringBuffer* b, jint offset, jdouble value) {
    return insertCString(b, offset, rt::num::formatDouble(value).c_str());
}

StringBuffer* StringBuffer::append(StringBuffer* b, String* str) { return insert(b, length(b), str); }
StringBuffer* StringBuffer::appendObject(StringBuffer* b, Object* o) { return insertObject(b, length(b), o); }
StringBuffer* StringBuffer::appendBoolean(StringBuffer* b, jboolean v) { return insertBoolean(b, length(b), v); }
StringBuffer* StringBuffer::appendChar(StringBuffer* b, jchar c) { return insertChar(b, length(b), c); }
StringBuffer* StringBuffer::appendCString(StringBuffer* b, const char* t) { return insertCString(b, length(b), t); }
StringBuffer* StringBuffer::appendInt(StringBuffer* b, jint v) { return insertInt(b, length(b), v); }
StringBuffer* StringBuffer::appendLong(StringBuffer* b, jlong v) { return insertLong(b, length(b), v); }
StringBuffer* StringBuffer::appendFloat(StringBuffer* b, jfloat v) { return insertFloat(b, length(b), v); }
StringBuffer* StringBuffer::appendDouble(StringBuffer* b, jdouble v) { return insertDouble(b, length(b), v); }

StringBuffer* StringBuffer::deleteRange(StringBuffer* b, jint start, jint end) {
    if (!checkBuffer(b)) return b;
    const jint length = b->m_length;
    if (end > length) end = length;
    if (start < 0 || start > end) {
        logRange("delete", start, end, length);
        return b;
    }
    if (end > start) {
        std::memmove(b->m_chars + start, b->m_chars + end, sizeof(jchar) * static_cast<size_t>(length - end));
        setLength(b, length - (end - start));
    }
    return b;
}

StringBuffer* StringBuffer::deleteCharAt(StringBuffer* b, jint index) {
    if (!checkBuffer(b)) return b;
    if (index < 0) {
        logRange("deleteCharAt", index, index, b->m_length);
        return b;
    }
    if (index >= b->m_length) return b;
    return deleteRange(b, index, index + 1);
}

StringBuffer* StringBuffer::reverse(StringBuffer* b) {
    if (!checkBuffer(b)) return b;
    for (jint i = 0, j = b->m_length - 1; i < j; ++i, --j) {
        const jchar t = b->m_chars[i];
        b->m_chars[i] = b->m_chars[j];
        b->m_chars[j] = t;
    }
    return b;
}

void StringBuffer::getChars(StringBuffer* b, jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin) {
    if (!checkBuffer(b)) return;
    if (!dst) {
        rt::logNullPointer();
        return;
    }
    const int64_t n = static_cast<int64_t>(srcEnd) - srcBegin;
    if (srcBegin < 0 || srcEnd > b->m_length || n < 0 || dstBegin < 0 || dstBegin + n > dst->length()) {
        logRange("getChars", srcBegin, srcEnd, b->m_length);
        return;
    }
    if (n > 0) std::memcpy(dst->data() + dstBegin, b->m_chars + srcBegin, sizeof(jchar) * static_cast<size_t>(n));
}

void StringBuffer::finalize() {
    rt::freeDataBuffer(m_chars);
    m_chars = nullptr;
    Object::finalize();
}

String* StringBuffer::toString() {
    String* s = newObject<String>();
    String::initStringBuffer(s, this);
    return s;
}
