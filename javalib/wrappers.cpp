// Value wrappers and the Latin-1 case converter.
#include "javalib/wrappers.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/factory.h"
#include "runtime/log.h"
#include "runtime/numbers.h"
#include "runtime/statics.h"
#include "runtime/string.h"

namespace {

struct java_lang_Boolean_Statics {
    java_lang_Boolean* valueTrue;
    java_lang_Boolean* valueFalse;
};

void booleanClinit();

StaticsContribution g_booleanStatics = StaticsContribution::of<java_lang_Boolean_Statics>(
    "java_lang_Boolean", kClinitBoolean, &booleanClinit,
    {offsetof(java_lang_Boolean_Statics, valueTrue), offsetof(java_lang_Boolean_Statics, valueFalse)});

void booleanClinit() {
    auto* s = statics<java_lang_Boolean_Statics>(g_booleanStatics);
    s->valueTrue = newObject<java_lang_Boolean>(1);
    s->valueFalse = newObject<java_lang_Boolean>(0);
}

const char kNullValueOf[] = "java_lang_Double::valueOf(): param0 is NULL, returning 0.0 Double.";

}  // namespace

// --- Integer ----------------------------------------------------------------------

jboolean java_lang_Integer::equals(Object* o) {
    if (!o || !instanceOf(o, cid::java_lang_Integer)) return 0;
    return static_cast<java_lang_Integer*>(o)->intValue() == m_value ? 1 : 0;
}

String* java_lang_Integer::toString() { return toString(m_value); }

jint java_lang_Integer::parseInt(String* s) { return rt::num::parseInt(s); }
jint java_lang_Integer::parseIntRadix(String* s, jint radix) { return rt::num::parseIntRadix(s, radix); }

java_lang_Integer* java_lang_Integer::valueOfString(String* s) {
    if (!s) {
        logPrintf("%s", kNullValueOf);
        return newObject<java_lang_Integer>(0);
    }
    return newObject<java_lang_Integer>(rt::num::parseInt(s));
}

String* java_lang_Integer::toString(jint i) { return String::fromLatin1(rt::num::formatInt(i)); }
String* java_lang_Integer::toHexString(jint i) { return String::fromLatin1(rt::num::formatHex(i)); }
String* java_lang_Integer::toBinaryString(jint i) { return String::fromLatin1(rt::num::formatBinary(i)); }

// --- Double -----------------------------------------------------------------------

String* java_lang_Double::toString() { return String::valueOfDouble(m_value); }

java_lang_Double* java_lang_Double::valueOf(String* s) {
    if (!s) {
        logPrintf("%s", kNullValueOf);
        return newObject<java_lang_Double>(0.0);
    }
    return newObject<java_lang_Double>(rt::num::parseDouble(s));
}

jdouble java_lang_Double::parseDouble(String* s) { return rt::num::parseDouble(s); }
jboolean java_lang_Double::isNaN(jdouble d) { return std::isnan(d) ? 1 : 0; }
jboolean java_lang_Double::isInfinite(jdouble d) { return std::isinf(d) ? 1 : 0; }

// --- Boolean ----------------------------------------------------------------------

jboolean java_lang_Boolean::equals(Object* o) {
    if (!o || !instanceOf(o, cid::java_lang_Boolean)) return 0;
    return static_cast<java_lang_Boolean*>(o)->m_value == m_value ? 1 : 0;
}

String* java_lang_Boolean::toString() { return StaticClass::getStringConstant(m_value == 1 ? 198 : 199); }

java_lang_Boolean* java_lang_Boolean::valueTrue() {
    return StaticClass::instance() ? statics<java_lang_Boolean_Statics>(g_booleanStatics)->valueTrue : nullptr;
}

java_lang_Boolean* java_lang_Boolean::valueFalse() {
    return StaticClass::instance() ? statics<java_lang_Boolean_Statics>(g_booleanStatics)->valueFalse : nullptr;
}

// --- Long, Float, Byte, Character -----------------------------------------------------

jboolean java_lang_Long::equals(Object* o) {
    return o && o->classId() == cid::java_lang_Long && static_cast<java_lang_Long*>(o)->m_value == m_value ? 1 : 0;
}
String* java_lang_Long::toString() { return toString(m_value); }
jlong java_lang_Long::parseLong(String* s) { return rt::num::parseInt(s); }
jlong java_lang_Long::parseLongRadix(String* s, jint radix) { return rt::num::parseIntRadix(s, radix); }
String* java_lang_Long::toString(jlong l) { return String::fromLatin1(rt::num::formatLong(l)); }

jboolean java_lang_Float::equals(Object* o) {
    if (!o || o->classId() != cid::java_lang_Float) return 0;
    const jfloat other = static_cast<java_lang_Float*>(o)->m_value;
    return std::memcmp(&other, &m_value, sizeof other) == 0 ? 1 : 0;
}
String* java_lang_Float::toString() { return StaticClass::getStringConstant(192); }

jboolean java_lang_Byte::equals(Object* o) {
    return o && o->classId() == cid::java_lang_Byte && static_cast<java_lang_Byte*>(o)->m_value == m_value ? 1 : 0;
}
String* java_lang_Byte::toString() { return String::valueOfInt(m_value); }

jbyte java_lang_Byte::parseByte(String* s, jint radix) {
    const jint i = java_lang_Integer::parseIntRadix(s, radix);
    if (i < -128 || i > 127) {
        rt::throwNewDefault(cid::java_lang_NumberFormatException);
        return 0;
    }
    return static_cast<jbyte>(i);
}

jboolean java_lang_Character::equals(Object* o) {
    return o && o->classId() == cid::java_lang_Character && static_cast<java_lang_Character*>(o)->m_value == m_value
               ? 1
               : 0;
}

String* java_lang_Character::toString() {
    CharArray* one = newCharArray(1);
    one->put(0, m_value);
    return one->toString();
}

jboolean java_lang_Character::isLowerCase(jchar c) { return com_sun_cldc_i18n_uclc_DefaultCaseConverter::isLowerCase(c); }
jboolean java_lang_Character::isUpperCase(jchar c) { return com_sun_cldc_i18n_uclc_DefaultCaseConverter::isUpperCase(c); }
jboolean java_lang_Character::isDigit(jchar c) { return com_sun_cldc_i18n_uclc_DefaultCaseConverter::isDigit(c); }
jchar java_lang_Character::toLowerCase(jchar c) { return com_sun_cldc_i18n_uclc_DefaultCaseConverter::toLowerCase(c); }
jchar java_lang_Character::toUpperCase(jchar c) { return com_sun_cldc_i18n_uclc_DefaultCaseConverter::toUpperCase(c); }
jint java_lang_Character::digit(jchar c, jint radix) { return com_sun_cldc_i18n_uclc_DefaultCaseConverter::digit(c, radix); }

jint com_sun_cldc_i18n_uclc_DefaultCaseConverter::digit(jchar c, jint radix) {
    jint r = -1;
    if (radix >= 2 && radix <= 36) {
        if (isDigit(c)) r = c - 48;
        else if (isUpperCase(c) || isLowerCase(c)) r = (c & 31) + 9;
    }
    return r < radix ? r : -1;
}

void registerWrapperStatics() {
    StaticClass::contribute(&g_booleanStatics);
    NewInstanceFactory::registerCreator(cid::java_lang_Integer, []() -> Object* { return newObject<java_lang_Integer>(); });
    NewInstanceFactory::registerCreator(cid::java_lang_Boolean, []() -> Object* { return newObject<java_lang_Boolean>(); });
}
