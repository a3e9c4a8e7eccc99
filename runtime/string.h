// java.lang.String (class id 2): immutable UTF-16 text. count = length + 1
// and the unit at count - 1 is always 0. Up to 14 units live in the inline
// buffer; longer texts in a data-heap block whose owner slot is m_chars (or
// a C-heap block, never moved, when the data heap is full).
//
// This is the core of String: layout, creation, reading back, and the
// Object slots (equals, hashCode, toString, finalize). The String and
// StringBuffer operations build on it. chars() is valid only until the next
// allocation or safe point.
#pragma once

#include <string>
#include <string_view>

#include "runtime/object.h"

class ByteArray;
class CharArray;
class StringBuffer;

class String final : public Object {
public:
    static constexpr jint kInlineUnits = 16;

    String() : Object(cid::String) {}

    // --- creation -------------------------------------------------------------
    // units must not point into a Java object's storage (it may move while
    // the String is allocated); use fromCharArray/copyOf for those.
    static String* fromUnits(const jchar* units, jint length);
    static String* fromUtf16(std::u16string_view text);
    // Zero-terminated UTF-16.
    static String* fromWideString(const jchar* text);
    // Each byte one unit (ISO-8859-1).
    static String* fromLatin1(std::string_view bytes);
    // Zero-terminated 8-bit C text, each byte one unit.
    static String* fromCString(const char* text);
    // Standard UTF-8; malformed sequences become U+FFFD, code points above
    // U+FFFF surrogate pairs.
    static String* fromUtf8(std::string_view text);
    static String* fromCharArray(CharArray* array, jint offset, jint count);
    static String* copyOf(String* other);
    static String* empty() { return fromUnits(nullptr, 0); }

    // --- reading ----------------------------------------------------------------
    jint length() const { return m_count - 1; }
    jint count() const { return m_count; }
    const jchar* chars() const { return m_chars; }
    jchar charAt(jint index) const { return index >= 0 && index < length() ? m_chars[index] : 0; }
    std::u16string toUtf16() const;
    std::string toUtf8() const;
    // Each unit's low byte.
    std::string toLatin1() const;

    // --- comparisons ----------------------------------------------------------
    // First differing unit (terminator included), else the count difference.
    jint compareTo(const String* other) const;
    // Prefix test against 8-bit text (bytes read as signed, so 128-255 never
    // match); an empty String matches anything.
    bool equalsC(const char* text) const;

    // --- Object slots ---------------------------------------------------------
    void finalize() override;
    jboolean equals(Object* other) override;
    String* toString() override { return this; }
    // 31 * h + unit over every unit, the terminator included.
    jint hashCode() override;

    // --- Java constructors and operations (runtime/string_ops.cpp) ---------------
    // Constructors fill a String whose header is built (newObject<String>()).
    // Null arrays log "NullPointer"; a range outside an array is logged; both
    // leave the empty String. Operations on a null String log "NullPointer"
    // and answer a default; index arguments outside the text are logged and
    // clamped, never read past the characters.
    static void initChars(String* s, CharArray* chars, jint offset, jint count);
    static void initCharArray(String* s, CharArray* chars);
    static void initUnits(String* s, const jchar* units, jint count);  // native memory only
    static void initWide(String* s, const jchar* text);                 // zero-terminated
    static void initStringBuffer(String* s, StringBuffer* buffer);
    static void initString(String* s, String* other);
    static void initBytesLatin1(String* s, ByteArray* bytes, jint offset, jint length);
    static void initBytes(String* s, ByteArray* bytes);
    static void initCString(String* s, const char* text);
    static void initEmpty(String* s);
    // null: ISO-8859-1; a name passing equalsIgnoreCaseC against "UTF-8" or
    // "UTF8": UTF-8; else passing equalsC against "ISO-8859-1": ISO-8859-1,
    // against "SJIS": the double-byte pairing. Any other name is logged and
    // leaves the empty String.
    static void initBytesEncoding(String* s, ByteArray* bytes, jint offset, jint length, String* encoding);
    static void initBytesEnc(String* s, ByteArray* bytes, String* encoding);
    // The range read as an 8-bit C string: up to its first zero byte.
    static void initBytesCString(String* s, ByteArray* bytes, jint offset, jint length);

    static String* valueOfInt(jint value);        // "%d"
    static String* valueOfLong(jlong value);      // "%d" of the low 32 bits
    static String* valueOfFloat(jfloat value);    // "%f"
    static String* valueOfDouble(jdouble value);  // "%f"
    static String* valueOfBoolean(jboolean value);
    static String* valueOfChar(jchar c);          // the zero character gives ""
    static String* valueOfObject(Object* object); // its toString(); "null" for null

    static jboolean equals(String* s, Object* other);
    static jint compareTo(String* s, String* other);
    static jint hashCode(String* s);
    static jboolean equalsC(String* s, const char* text);
    // Prefix tests over s's length with Latin-1 lower-case folding of the low
    // bytes; an empty s answers true; the other side's zero ends with false.
    static jboolean equalsIgnoreCaseC(String* s, const char* text);
    static jboolean equalsIgnoreCase(String* s, String* other);
    static jboolean regionMatches(String* s, jboolean ignoreCase, jint toffset, String* other, jint ooffset, jint len);
    static jboolean startsWithOffset(String* s, String* prefix, jint toffset);
    static jboolean startsWith(String* s, String* prefix);
    static jboolean endsWith(String* s, String* suffix);
    static jint indexOfChar(String* s, jint ch, jint from);
    // Scans down from min(from, length): the terminator's index is included.
    static jint lastIndexOfChar(String* s, jint ch, jint from);
    static jint lastIndexOf(String* s, jint ch);
    static jint indexOfFrom(String* s, String* str, jint from);
    static jint indexOf(String* s, String* str);
    static String* substring(String* s, jint begin, jint end);
    static String* substringFrom(String* s, jint begin);
    static String* concat(String* s, String* other);
    static String* replace(String* s, jchar oldChar, jchar newChar);
    // Each unit reduced to its low byte, then Latin-1 folded.
    static String* toLowerCase(String* s);
    static String* toUpperCase(String* s);
    static String* trim(String* s);
    static void getChars(String* s, jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin);
    static CharArray* toCharArray(String* s);
    static ByteArray* getBytes(String* s);
    // UTF-8 bytes for "UTF8"/"UTF-8" (equalsIgnoreCaseC), else null.
    static ByteArray* getBytesEnc(String* s, String* encoding);
    // Low bytes and a terminator in a new, unreferenced ByteArray: valid only
    // until the caller next allocates (natives copy it at once).
    static const char* toCString(String* s);

    // Storage for length units (inline or a data block), terminated; the
    // caller fills units [0, length) before its next allocation. False (and
    // an empty String) when no storage could be had.
    bool initStorage(jint length);
    jchar* mutableChars() { return m_chars; }

    jchar m_inline[kInlineUnits];
    jchar* m_chars;
    jint m_count;
};

// Convenience for natives: the String's text as UTF-8 ("" for null).
std::string toUtf8(const String* s);
