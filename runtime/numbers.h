// Number parsing and printing behind the Integer, Long and Double natives
// and String.valueOf / StringBuffer.append.
//
// Parsing reads text the way the device's C runtime did (atoi / atof on
// the String's 8-bit C form: each unit's low byte, up to the first zero):
// leading white space, an optional sign, then the longest number there;
// text without a number reads as 0; nothing ever raises. Unlike atoi, an
// out-of-range integer saturates at the type's bounds instead of being
// undefined, and a double too large for the type reads as an infinity.
//
// Printing follows the C formats the natives use: "%d", "%x", "%f".
#pragma once

#include <string>
#include <string_view>

#include "runtime/object.h"

namespace rt::num {

// --- pure text functions (no Java objects) ---------------------------------
jint parseInt(std::string_view text);
jdouble parseDouble(std::string_view text);

std::string formatInt(jint value);              // "%d"
std::string formatLong(jlong value);            // "%d" of the low 32 bits
std::string formatHex(jint value);              // "%x", no leading zeros
std::string formatBinary(jint value);           // unsigned bits, no leading zeros; 0 gives ""
std::string formatDouble(jdouble value);        // "%f"

// --- on Strings -------------------------------------------------------------
// The String's 8-bit C form: low bytes up to the first zero unit.
std::string cText(const String* s);
// Null logs "NullPointer" and answers 0.
jint parseInt(const String* s);
jdouble parseDouble(const String* s);
// A radix other than 10 logs "base == 10" with the stack trace; the text is
// read as decimal anyway.
jint parseIntRadix(const String* s, jint radix);

}  // namespace rt::num
