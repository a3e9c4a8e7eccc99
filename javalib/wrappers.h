// The value classes of java.lang (Integer, Double, Boolean, Long, Float,
// Byte, Character) and the Latin-1 case classification of
// com_sun_cldc_i18n_uclc_DefaultCaseConverter.
//
// Each wrapper holds one value field after the header; a zero-filled
// instance (the factory's) holds 0. Parsing and printing are the runtime's
// number natives (runtime/numbers.h): they never raise; only
// java_lang_Byte::parseByte throws (java_lang_NumberFormatException).
// Results the converted classes pin are kept: Double's equals is identity,
// Double's longValue does not widen past 32 bits, Boolean's hashCode is 1
// or 0, Float's toString is string-pool entry 192.
#pragma once

#include "runtime/object.h"

class java_lang_Integer : public Object {
public:
    explicit java_lang_Integer(jint value = 0) : Object(cid::java_lang_Integer), m_value(value) {}

    // Slot 1: o is an Integer (instanceOf 41) whose intValue equals ours.
    jboolean equals(Object* o) override;
    // Slot 3: decimal.
    String* toString() override;
    // Slot 4: the value.
    jint hashCode() override { return m_value; }
    virtual jbyte byteValue() { return java::i2b(m_value); }    // slot 6
    virtual jshort shortValue() { return java::i2s(m_value); }  // slot 7
    virtual jint intValue() { return m_value; }                  // slot 8
    virtual jlong longValue() { return m_value; }                // slot 9

    // --- natives ----------------------------------------------------------------
    static jint parseInt(String* s);                  // leading decimal digits, 0 for none
    static jint parseIntRadix(String* s, jint radix); // logs "base == 10" for radix != 10
    // A new Integer of parseInt(s); null logs and holds 0.
    static java_lang_Integer* valueOfString(String* s);
    static String* toString(jint i);
    static String* toHexString(jint i);
    static String* toBinaryString(jint i);

    jint m_value;
};

class java_lang_Double : public Object {
public:
    explicit java_lang_Double(jdouble value = 0) : Object(cid::java_lang_Double), m_value(value) {}

    // Slot 3: "%f". equals and hashCode stay Object's (identity, address).
    String* toString() override;
    // Truncation toward zero (NaN 0, saturating outside the int range);
    // byte and short take that int's low bits; long is that int widened.
    virtual jbyte byteValue() { return java::i2b(intValue()); }    // slot 6
    virtual jshort shortValue() { return java::i2s(intValue()); }  // slot 7
    virtual jint intValue() { return java::d2i(m_value); }         // slot 8
    virtual jlong longValue() { return intValue(); }               // slot 9
    virtual jfloat floatValue() { return static_cast<jfloat>(m_value); }  // slot 10
    jdouble doubleValue() const { return m_value; }
    jboolean isNaN() const { return isNaN(m_value); }
    jboolean isInfinite() const { return isInfinite(m_value); }

    // --- natives ----------------------------------------------------------------
    // A new Double of parseDouble(s); null logs and holds 0.0.
    static java_lang_Double* valueOf(String* s);
    static jdouble parseDouble(String* s);
    static jboolean isNaN(jdouble d);
    static jboolean isInfinite(jdouble d);

    jdouble m_value;
};

class java_lang_Boolean : public Object {
public:
    explicit java_lang_Boolean(jboolean b = 0) : Object(cid::java_lang_Boolean), m_value(b ? 1 : 0) {}

    jboolean booleanValue() const { return m_value; }
    jboolean equals(Object* o) override;  // slot 1
    String* toString() override;          // slot 3: pool entry 198 (true) or 199 (false)
    jint hashCode() override { return m_value == 1 ? 1 : 0; }  // slot 4

    // The two constants made by the class initialiser.
    static java_lang_Boolean* valueTrue();
    static java_lang_Boolean* valueFalse();

    jboolean m_value;
};

// Never instantiated by the program; kept whole.
class java_lang_Long : public Object {
public:
    explicit java_lang_Long(jlong value = 0) : Object(cid::java_lang_Long), m_value(value) {}
    jlong longValue() const { return m_value; }
    jboolean equals(Object* o) override;
    String* toString() override;  // the low 32 bits in decimal
    jint hashCode() override { return java::l2i(m_value); }

    static jlong parseLong(String* s);                  // 32-bit parse, sign-extended
    static jlong parseLongRadix(String* s, jint radix);  // "base == 10" for radix != 10
    static String* toString(jlong l);                    // the low 32 bits in decimal

    jlong m_value;
};

class java_lang_Float : public Object {
public:
    explicit java_lang_Float(jfloat value = 0) : Object(cid::java_lang_Float), m_value(value) {}
    jint intValue() const { return java::f2i(m_value); }
    jboolean equals(Object* o) override;  // a Float of the same bits
    String* toString() override;          // string-pool entry 192

    jfloat m_value;
};

class java_lang_Byte : public Object {
public:
    explicit java_lang_Byte(jbyte value = 0) : Object(cid::java_lang_Byte), m_value(value) {}
    jbyte byteValue() const { return m_value; }
    jboolean equals(Object* o) override;
    String* toString() override;
    jint hashCode() override { return m_value; }

    // parseIntRadix(s, radix) when it fits -128..127; otherwise throws
    // java_lang_NumberFormatException and answers 0.
    static jbyte parseByte(String* s, jint radix);
    static jbyte parseByte(String* s) { return parseByte(s, 10); }

    jbyte m_value;
};

class java_lang_Character : public Object {
public:
    explicit java_lang_Character(jchar value = 0) : Object(cid::java_lang_Character), m_value(value) {}
    jchar charValue() const { return m_value; }
    jboolean equals(Object* o) override;
    // A one-character String through a one-element CharArray: "" for 0.
    String* toString() override;
    jint hashCode() override { return m_value; }

    // DefaultCaseConverter's answers.
    static jboolean isLowerCase(jchar c);
    static jboolean isUpperCase(jchar c);
    static jboolean isDigit(jchar c);
    static jchar toLowerCase(jchar c);
    static jchar toUpperCase(jchar c);
    static jint digit(jchar c, jint radix);

    jchar m_value;
};

// Latin-1 only: 223 (sharp s) and 255 count as lower case, so toUpperCase
// maps them to 191 and 223; 215 and 247 are neither case.
class com_sun_cldc_i18n_uclc_DefaultCaseConverter {
public:
    static jboolean isLowerCase(jchar c) { return (c >= 97 && c <= 122) || (c >= 223 && c <= 246) || (c >= 248 && c <= 255); }
    static jboolean isUpperCase(jchar c) { return (c >= 65 && c <= 90) || (c >= 192 && c <= 214) || (c >= 216 && c <= 222); }
    static jboolean isDigit(jchar c) { return c >= 48 && c <= 57; }
    static jchar toLowerCase(jchar c) { return isUpperCase(c) ? static_cast<jchar>(c + 32) : c; }
    static jchar toUpperCase(jchar c) { return isLowerCase(c) ? static_cast<jchar>(c - 32) : c; }
    // Digits 0-9, letters (c & 31) + 9 (Latin-1 letters included); -1 when
    // the value is not below radix or radix is outside 2..36.
    static jint digit(jchar c, jint radix);
};

// Statics of java_lang_Boolean (TRUE and FALSE) and the factory rows of the
// wrappers; called once before the application starts.
void registerWrapperStatics();
