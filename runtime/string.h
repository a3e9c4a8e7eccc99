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

class CharArray;

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
