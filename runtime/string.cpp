// String core: storage, creation from native text, reading back, slots.
#include "runtime/string.h"

#include <cstring>

#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "platform/text/utf.h"

bool String::initStorage(jint length) {
    if (length < 0) length = 0;
    m_count = length + 1;
    if (m_count <= kInlineUnits - 1) {
        m_chars = m_inline;
        m_inline[length] = 0;
        return true;
    }
    size_t bytes = 0;
    if (!java::checkedMul(static_cast<size_t>(m_count), sizeof(jchar), &bytes) || bytes > (size_t(256) << 20)) {
        rt::logWithStackTrace("String: text too long");
        m_count = 1;
        m_chars = m_inline;
        m_inline[0] = 0;
        return false;
    }
    m_chars = static_cast<jchar*>(rt::allocDataBuffer(bytes));
    rt::registerOwner(reinterpret_cast<void**>(&m_chars));
    m_chars[length] = 0;
    return true;
}

String* String::fromUnits(const jchar* units, jint length) {
    String* s = newObject<String>();
    if (s->initStorage(length) && length > 0 && units) std::memcpy(s->m_chars, units, sizeof(jchar) * length);
    return s;
}

String* String::fromUtf16(std::u16string_view text) {
    return fromUnits(reinterpret_cast<const jchar*>(text.data()), static_cast<jint>(text.size()));
}

String* String::fromWideString(const jchar* text) {
    if (!text) {
        rt::logNullPointer();
        return nullptr;
    }
    jint n = 0;
    while (text[n]) ++n;
    return fromUnits(text, n);
}

String* String::fromLatin1(std::string_view bytes) {
    String* s = newObject<String>();
    const jint n = static_cast<jint>(bytes.size());
    if (s->initStorage(n)) {
        for (jint i = 0; i < n; ++i) s->m_chars[i] = static_cast<unsigned char>(bytes[i]);
    }
    return s;
}

String* String::fromCString(const char* text) {
    if (!text) {
        rt::logNullPointer();
        return nullptr;
    }
    return fromLatin1(text);
}

String* String::fromUtf8(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < n) {
        unsigned char b = byte(i);
        uint32_t cp;
        size_t len;
        if (b < 0x80) { cp = b; len = 1; }
        else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; len = 2; }
        else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; len = 3; }
        else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; len = 4; }
        else { units.push_back(0xFFFD); ++i; continue; }
        if (i + len > n) { units.push_back(0xFFFD); break; }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char c = byte(i + k);
            if ((c & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) { units.push_back(0xFFFD); ++i; continue; }
        i += len;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else if (cp > 0x10FFFF) {
            units.push_back(0xFFFD);
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    return fromUtf16(units);
}

String* String::fromCharArray(CharArray* array, jint offset, jint count) {
    if (!array) {
        rt::logNullPointer();
        return nullptr;
    }
    if (offset < 0 || count < 0 || offset > array->length() - count) {
        rt::logWithStackTrace("String: char range outside the array");
        return empty();
    }
    String* s = newObject<String>();
    if (s->initStorage(count) && count > 0)  // the array's elements are read after the allocation
        std::memcpy(s->m_chars, array->data() + offset, sizeof(jchar) * count);
    return s;
}

String* String::copyOf(String* other) {
    if (!other) {
        rt::logNullPointer();
        return nullptr;
    }
    String* s = newObject<String>();
    const jint n = other->length();
    if (s->initStorage(n) && n > 0) std::memcpy(s->m_chars, other->m_chars, sizeof(jchar) * n);
    return s;
}

std::u16string String::toUtf16() const {
    return std::u16string(reinterpret_cast<const char16_t*>(m_chars), static_cast<size_t>(length()));
}

std::string String::toUtf8() const {
    return text::utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(m_chars), static_cast<size_t>(length())));
}

std::string String::toLatin1() const {
    std::string out(static_cast<size_t>(length()), '\0');
    for (jint i = 0; i < length(); ++i) out[static_cast<size_t>(i)] = static_cast<char>(m_chars[i] & 0xFF);
    return out;
}

jint String::compareTo(const String* other) const {
    if (!other) {
        rt::logNullPointer();
        return 0;
    }
    const jint n = m_count < other->m_count ? m_count : other->m_count;
    for (jint i = 0; i < n; ++i)
        if (m_chars[i] != other->m_chars[i]) return static_cast<jint>(m_chars[i]) - static_cast<jint>(other->m_chars[i]);
    return m_count - other->m_count;
}

bool String::equalsC(const char* text) const {
    if (!text) return length() == 0;
    for (jint i = 0; i < length(); ++i) {
        const jbyte b = static_cast<jbyte>(text[i]);
        if (b == 0 || m_chars[i] != static_cast<jchar>(static_cast<jint>(b))) return false;
    }
    return true;
}

void String::finalize() {
    if (m_chars && m_chars != m_inline) rt::freeDataBuffer(m_chars);
    m_chars = nullptr;
    Object::finalize();
}

jboolean String::equals(Object* other) {
    if (!other || other->classId() != cid::String) return 0;
    if (other == this) return 1;
    return compareTo(static_cast<String*>(other)) == 0 ? 1 : 0;
}

jint String::hashCode() {
    jint h = 0;
    for (jint i = 0; i < m_count; ++i) h = java::iadd(java::imul(31, h), m_chars[i]);
    return h;
}

std::string toUtf8(const String* s) { return s ? s->toUtf8() : std::string(); }
