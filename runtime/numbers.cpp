// Number natives on Strings: the 8-bit C form and null handling.
#include "runtime/numbers.h"

#include "runtime/log.h"
#include "runtime/string.h"

namespace rt::num {

std::string cText(const String* s) {
    std::string out;
    if (!s) return out;
    const jint n = s->length();
    const jchar* units = s->chars();
    out.reserve(static_cast<size_t>(n));
    for (jint i = 0; i < n; ++i) {
        const char c = static_cast<char>(units[i] & 0xFF);
        if (c == 0) break;
        out.push_back(c);
    }
    return out;
}

jint parseInt(const String* s) {
    if (!s) {
        rt::logNullPointer();
        return 0;
    }
    return parseInt(cText(s));
}

jdouble parseDouble(const String* s) {
    if (!s) {
        rt::logNullPointer();
        return 0.0;
    }
    return parseDouble(cText(s));
}

jint parseIntRadix(const String* s, jint radix) {
    if (radix != 10) rt::logWithStackTrace("base == 10");
    return parseInt(s);
}

}  // namespace rt::num
