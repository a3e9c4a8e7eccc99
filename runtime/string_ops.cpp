// String's Java constructors, static factories and operations.
//
// Every new String's storage is allocated before its characters are read
// from another Java object (a String's, an array's or a buffer's block may
// move during that allocation). Byte decoding goes through a buffer of the
// call's own, never one shared between threads.
#include <cstring>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/numbers.h"
#include "runtime/objectmanager.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"
#include "runtime/textcodec.h"

namespace {

// Latin-1 case folding of a unit's low byte.
jchar foldLower(jchar u) {
    const jchar b = u & 0xFF;
    return (b >= 65 && b <= 90) || (b >= 192 && b <= 222) ? static_cast<jchar>(b + 32) : b;
}
jchar foldUpper(jchar u) {
    const jchar b = u & 0xFF;
    return (b >= 97 && b <= 122) || (b >= 224 && b <= 254) ? static_cast<jchar>(b - 32) : b;
}

// Releases whatever storage s holds (a constructor run on a used String).
void dropStorage(String* s) {
    if (s->m_chars && s->m_chars != s->m_inline) rt::freeDataBuffer(s->m_chars);
    s->m_chars = nullptr;
}

// Gives s storage for n units and lets fill write them; fill runs after the
// allocation, so it reads its sources fresh.
template <typename Fill>
void fillString(String* s, jint n, Fill fill) {
    dropStorage(s);
    if (s->initStorage(n) && n > 0) fill(s->mutableChars());
}

template <typename Fill>
String* newString(jint n, Fill fill) {
    String* s = newObject<String>();
    if (s->initStorage(n) && n > 0) fill(s->mutableChars());
    return s;
}

String* newStringFromText(const std::string& text) { return String::fromLatin1(text); }

bool rangeInside(jint offset, jint count, jint length) {
    return offset >= 0 && count >= 0 && static_cast<int64_t>(offset) + count <= length;
}

bool checkString(const String* s) {
    if (s) return true;
    rt::logNullPointer();
    return false;
}

// Clamps [begin, end) to [0, length]; logs when it had to.
bool clampRange(const char* what, jint length, jint* begin, jint* end) {
    if (*begin >= 0 && *end <= length && *begin <= *end) return true;
    char message[96];
    snprintf(message, sizeof message, "%s: range [%d, %d) outside the text of %d", what, *begin, *end, length);
    rt::logWithStackTrace(message);
    if (*begin < 0) *begin = 0;
    if (*end > length) *end = length;
    if (*begin > *end) *begin = *end;
    return false;
}

enum class Encoding { kLatin1, kUtf8, kSjis, kUnknown };

Encoding encodingOf(String* name) {
    if (!name) return Encoding::kLatin1;
    if (String::equalsIgnoreCaseC(name, "UTF-8") || String::equalsIgnoreCaseC(name, "UTF8")) return Encoding::kUtf8;
    if (name->equalsC("ISO-8859-1")) return Encoding::kLatin1;
    if (name->equalsC("SJIS")) return Encoding::kSjis;
    return Encoding::kUnknown;
}

}  // namespace

// --- constructors ---------------------------------------------------------------

void String::initChars(String* s, CharArray* chars, jint offset, jint count) {
    if (!checkString(s)) return;
    if (!chars) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    if (!rangeInside(offset, count, chars->length())) {
        rt::logWithStackTrace("String: char range outside the array");
        initEmpty(s);
        return;
    }
    fillString(s, count, [&](jchar* out) { std::memcpy(out, chars->data() + offset, sizeof(jchar) * count); });
}

void String::initCharArray(String* s, CharArray* chars) {
    initChars(s, chars, 0, chars ? chars->length() : 0);
}

void String::initUnits(String* s, const jchar* units, jint count) {
    if (!checkString(s)) return;
    if (!units || count < 0) count = 0;
    fillString(s, count, [&](jchar* out) { std::memcpy(out, units, sizeof(jchar) * count); });
}

void String::initWide(String* s, const jchar* text) {
    if (!checkString(s)) return;
    if (!text) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    jint n = 0;
    while (text[n]) ++n;
    initUnits(s, text, n);
}

void String::initStringBuffer(String* s, StringBuffer* buffer) {
    if (!checkString(s)) return;
    if (!buffer) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    const jint n = buffer->m_length;
    fillString(s, n, [&](jchar* out) { std::memcpy(out, buffer->m_chars, sizeof(jchar) * n); });
}

void String::initString(String* s, String* other) {
    if (!checkString(s)) return;
    if (!other) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    const jint n = other->length();
    fillString(s, n, [&](jchar* out) { std::memcpy(out, other->chars(), sizeof(jchar) * n); });
}

void String::initBytesLatin1(String* s, ByteArray* bytes, jint offset, jint length) {
    if (!checkString(s)) return;
    if (!bytes) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    if (!rangeInside(offset, length, bytes->length())) {
        rt::logWithStackTrace("String: byte range outside the array");
        initEmpty(s);
        return;
    }
    fillString(s, length, [&](jchar* out) {
        rt::text::decodeLatin1(reinterpret_cast<const uint8_t*>(bytes->data()) + offset, static_cast<size_t>(length), out);
    });
}

void String::initBytes(String* s, ByteArray* bytes) { initBytesLatin1(s, bytes, 0, bytes ? bytes->length() : 0); }

void String::initCString(String* s, const char* text) {
    if (!checkString(s)) return;
    if (!text) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    const jint n = static_cast<jint>(std::strlen(text));
    fillString(s, n, [&](jchar* out) {
        rt::text::decodeLatin1(reinterpret_cast<const uint8_t*>(text), static_cast<size_t>(n), out);
    });
}

void String::initEmpty(String* s) {
    if (!checkString(s)) return;
    fillString(s, 0, [](jchar*) {});
}

void String::initBytesEncoding(String* s, ByteArray* bytes, jint offset, jint length, String* encoding) {
    if (!checkString(s)) return;
    const Encoding kind = encodingOf(encoding);
    if (kind == Encoding::kLatin1) {
        initBytesLatin1(s, bytes, offset, length);
        return;
    }
    if (kind == Encoding::kUnknown) {
        logPrintf("String: unsupported encoding \"%s\"", rt::num::cText(encoding).c_str());
        initEmpty(s);
        return;
    }
    if (!bytes) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    if (!rangeInside(offset, length, bytes->length())) {
        rt::logWithStackTrace("String: byte range outside the array");
        initEmpty(s);
        return;
    }
    // Decode into this call's own buffer (no allocation happens while the
    // array's elements are read), then copy into the String.
    std::vector<jchar> units(static_cast<size_t>(length) + 1);
    const uint8_t* in = reinterpret_cast<const uint8_t*>(bytes->data()) + offset;
    const size_t n = kind == Encoding::kUtf8 ? rt::text::decodeUtf8(in, static_cast<size_t>(length), units.data())
                                             : rt::text::decodeSjis(in, static_cast<size_t>(length), units.data());
    initUnits(s, units.data(), static_cast<jint>(n));
}

void String::initBytesEnc(String* s, ByteArray* bytes, String* encoding) {
    initBytesEncoding(s, bytes, 0, bytes ? bytes->length() : 0, encoding);
}

void String::initBytesCString(String* s, ByteArray* bytes, jint offset, jint length) {
    if (!checkString(s)) return;
    if (!bytes) {
        rt::logNullPointer();
        initEmpty(s);
        return;
    }
    if (!rangeInside(offset, length, bytes->length())) {
        rt::logWithStackTrace("String: byte range outside the array");
        initEmpty(s);
        return;
    }
    const jbyte* in = bytes->data() + offset;
    jint n = 0;
    while (n < length && in[n] != 0) ++n;
    initBytesLatin1(s, bytes, offset, n);
}

// --- factories ----------------------------------------------------------------------

String* String::valueOfInt(jint value) { return newStringFromText(rt::num::formatInt(value)); }
String* String::valueOfLong(jlong value) { return newStringFromText(rt::num::formatLong(value)); }
String* String::valueOfFloat(jfloat value) { return newStringFromText(rt::num::formatDouble(value)); }
String* String::valueOfDouble(jdouble value) { return newStringFromText(rt::num::formatDouble(value)); }
String* String::valueOfBoolean(jboolean value) { return fromLatin1(value ? "true" : "false"); }

String* String::valueOfChar(jchar c) {
    // The character is read as a zero-terminated text: zero gives "".
    return fromUnits(&c, c ? 1 : 0);
}

String* String::valueOfObject(Object* object) {
    if (!object) return fromLatin1("null");
    String* text = object->toString();
    return text ? text : fromLatin1("null");
}

// --- comparisons ------------------------------------------------------------------

jboolean String::equals(String* s, Object* other) {
    if (!checkString(s)) return 0;
    return s->equals(other);
}

jint String::compareTo(String* s, String* other) {
    if (!checkString(s)) return 0;
    return s->compareTo(other);
}

jint String::hashCode(String* s) {
    if (!checkString(s)) return 0;
    return s->hashCode();
}

jboolean String::equalsC(String* s, const char* text) {
    if (!checkString(s)) return 0;
    return s->equalsC(text) ? 1 : 0;
}

jboolean String::equalsIgnoreCaseC(String* s, const char* text) {
    if (!checkString(s)) return 0;
    const jint n = s->length();
    if (n == 0) return 1;
    if (!text) return 0;
    for (jint i = 0; i < n; ++i) {
        const jchar c = static_cast<unsigned char>(text[i]);
        if (c == 0 || foldLower(s->m_chars[i]) != foldLower(c)) return 0;
    }
    return 1;
}

jboolean String::equalsIgnoreCase(String* s, String* other) {
    if (!checkString(s)) return 0;
    const jint n = s->length();
    if (n == 0) return 1;
    if (!other) return 0;
    for (jint i = 0; i < n; ++i) {
        // other's terminator (or any zero unit) ends the test, so the scan
        // never passes other's characters.
        const jchar c = other->m_chars[i];
        if (c == 0 || foldLower(s->m_chars[i]) != foldLower(c)) return 0;
    }
    return 1;
}

jboolean String::regionMatches(String* s, jboolean ignoreCase, jint toffset, String* other, jint ooffset, jint len) {
    if (!checkString(s)) return 0;
    if (!other) {
        rt::logNullPointer();
        return 0;
    }
    if (toffset < 0 || ooffset < 0) return 0;
    if (static_cast<int64_t>(toffset) > static_cast<int64_t>(s->m_count) - len ||
        static_cast<int64_t>(ooffset) > static_cast<int64_t>(other->m_count) - len)
        return 0;
    for (jint i = 0; i < len; ++i) {
        const jchar a = s->m_chars[toffset + i];
        const jchar b = other->m_chars[ooffset + i];
        if (a == b) continue;
        if (ignoreCase && (foldUpper(a) == foldUpper(b) || foldLower(a) == foldLower(b))) continue;
        return 0;
    }
    return 1;
}

jboolean String::startsWithOffset(String* s, String* prefix, jint toffset) {
    if (!checkString(s)) return 0;
    if (toffset < 0 || toffset >= s->m_count || !prefix) return 0;
    const jint n = prefix->length();
    if (n > s->length()) return 0;
    if (n == 0) return 1;
    if (toffset > s->length() - n) return 0;  // the prefix would run past the text
    return std::memcmp(s->m_chars + toffset, prefix->m_chars, sizeof(jchar) * n) == 0 ? 1 : 0;
}

jboolean String::startsWith(String* s, String* prefix) { return startsWithOffset(s, prefix, 0); }

jboolean String::endsWith(String* s, String* suffix) {
    if (!checkString(s)) return 0;
    if (!suffix) return 0;
    return startsWithOffset(s, suffix, s->m_count - suffix->m_count);
}

// --- searching ----------------------------------------------------------------------

jint String::indexOfChar(String* s, jint ch, jint from) {
    if (!checkString(s)) return -1;
    const jint n = s->length();
    if (from < 0) from = 0;
    for (jint i = from; i < n; ++i)
        if (s->m_chars[i] == ch) return i;
    return -1;
}

jint String::lastIndexOfChar(String* s, jint ch, jint from) {
    if (!checkString(s)) return -1;
    const jint start = from < s->length() ? from : s->length();
    for (jint i = start; i >= 0; --i)
        if (s->m_chars[i] == ch) return i;
    return -1;
}

jint String::lastIndexOf(String* s, jint ch) {
    if (!checkString(s)) return -1;
    return lastIndexOfChar(s, ch, s->length());
}

jint String::indexOfFrom(String* s, String* str, jint from) {
    if (!checkString(s)) return -1;
    if (!str) {
        rt::logNullPointer();
        return -1;
    }
    const jint n = str->length();
    if (n == 1) return indexOfChar(s, str->m_chars[0], from);
    if (from < 0) from = 0;
    const jint last = s->m_count - str->m_count;
    for (jint i = from; i <= last; ++i)
        if (std::memcmp(s->m_chars + i, str->m_chars, sizeof(jchar) * n) == 0) return i;
    return -1;
}

jint String::indexOf(String* s, String* str) { return indexOfFrom(s, str, 0); }

// --- new Strings from old ---------------------------------------------------------

String* String::substring(String* s, jint begin, jint end) {
    if (!checkString(s)) return nullptr;
    clampRange("String::substring", s->length(), &begin, &end);
    return newString(end - begin, [&](jchar* out) { std::memcpy(out, s->m_chars + begin, sizeof(jchar) * (end - begin)); });
}

String* String::substringFrom(String* s, jint begin) {
    if (!checkString(s)) return nullptr;
    return substring(s, begin, s->length());
}

String* String::concat(String* s, String* other) {
    if (!checkString(s)) return nullptr;
    if (!other) {
        rt::logNullPointer();
        return s;
    }
    const jint a = s->length();
    const jint b = other->length();
    if (b == 0) return s;
    if (static_cast<int64_t>(a) + b > java::kIntMax - 1) {
        rt::logWithStackTrace("String::concat: text too long");
        return s;
    }
    return newString(a + b, [&](jchar* out) {
        std::memcpy(out, s->m_chars, sizeof(jchar) * a);
        std::memcpy(out + a, other->m_chars, sizeof(jchar) * b);
    });
}

String* String::replace(String* s, jchar oldChar, jchar newChar) {
    if (!checkString(s)) return nullptr;
    if (oldChar == newChar) return s;
    const jint first = indexOfChar(s, oldChar, 0);
    if (first < 0) return s;
    const jint n = s->length();
    return newString(n, [&](jchar* out) {
        std::memcpy(out, s->m_chars, sizeof(jchar) * n);
        for (jint i = first; i < n; ++i)
            if (out[i] == oldChar) out[i] = newChar;
    });
}

String* String::toLowerCase(String* s) {
    if (!checkString(s)) return nullptr;
    const jint n = s->length();
    return newString(n, [&](jchar* out) {
        for (jint i = 0; i < n; ++i) out[i] = foldLower(s->m_chars[i]);
    });
}

String* String::toUpperCase(String* s) {
    if (!checkString(s)) return nullptr;
    const jint n = s->length();
    return newString(n, [&](jchar* out) {
        for (jint i = 0; i < n; ++i) out[i] = foldUpper(s->m_chars[i]);
    });
}

String* String::trim(String* s) {
    if (!checkString(s)) return nullptr;
    jint begin = 0;
    jint end = s->length();
    while (begin < end && s->m_chars[begin] <= 0x20) ++begin;
    while (end > begin && s->m_chars[end - 1] <= 0x20) --end;
    return substring(s, begin, end);
}

// --- conversions --------------------------------------------------------------------

void String::getChars(String* s, jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin) {
    if (!checkString(s)) return;
    if (!dst) {
        rt::logNullPointer();
        return;
    }
    if (srcBegin < 0 || srcEnd > s->length() || srcBegin > srcEnd ||
        !rangeInside(dstBegin, srcEnd - srcBegin, dst->length())) {
        rt::logWithStackTrace("String::getChars: range outside the text or the array");
        return;
    }
    if (srcEnd > srcBegin)
        std::memcpy(dst->data() + dstBegin, s->m_chars + srcBegin, sizeof(jchar) * (srcEnd - srcBegin));
}

CharArray* String::toCharArray(String* s) {
    if (!checkString(s)) return nullptr;
    const jint n = s->length();
    CharArray* a = newCharArray(n);
    if (n > 0 && a->length() == n) std::memcpy(a->data(), s->m_chars, sizeof(jchar) * n);
    return a;
}

ByteArray* String::getBytes(String* s) {
    if (!checkString(s)) return nullptr;
    const jint n = s->length();
    ByteArray* a = newByteArray(n);
    if (a->length() != n) return a;
    for (jint i = 0; i < n; ++i) a->data()[i] = static_cast<jbyte>(s->m_chars[i] & 0xFF);
    return a;
}

ByteArray* String::getBytesEnc(String* s, String* encoding) {
    if (!checkString(s)) return nullptr;
    if (!encoding) {
        rt::logNullPointer();
        return nullptr;
    }
    if (!equalsIgnoreCaseC(encoding, "UTF8") && !equalsIgnoreCaseC(encoding, "UTF-8")) return nullptr;
    const size_t bytes = rt::text::utf8EncodedLength(s->m_chars, static_cast<size_t>(s->length()));
    if (bytes > static_cast<size_t>(java::kIntMax)) {
        rt::logWithStackTrace("String::getBytesEnc: text too long");
        return nullptr;
    }
    ByteArray* a = newByteArray(static_cast<jint>(bytes));
    if (static_cast<size_t>(a->length()) != bytes) return a;
    rt::text::encodeUtf8(s->m_chars, static_cast<size_t>(s->length()), reinterpret_cast<uint8_t*>(a->data()));
    return a;
}

const char* String::toCString(String* s) {
    if (!checkString(s)) return nullptr;
    const jint n = s->m_count;
    ByteArray* a = newByteArray(n);
    if (a->length() != n) return "";
    for (jint i = 0; i < n; ++i) a->data()[i] = static_cast<jbyte>(s->m_chars[i] & 0xFF);
    a->data()[n - 1] = 0;
    return reinterpret_cast<const char*>(a->data());
}
