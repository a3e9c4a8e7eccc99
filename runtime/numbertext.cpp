// Number text: locale-free parsing that never overflows, and the C formats.
// Pure functions (no Java objects), also built into the fuzz target.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "runtime/numbers.h"

namespace rt::num {

namespace {

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading white space and one sign; answers true for '-'.
bool skipSpaceAndSign(std::string_view text, size_t* i) {
    while (*i < text.size() && isCSpace(text[*i])) ++*i;
    if (*i < text.size() && (text[*i] == '+' || text[*i] == '-')) return text[(*i)++] == '-';
    return false;
}

// For a decimal number that does not fit a double: true when its magnitude
// is too large (overflow), false when too small (underflow). text starts at
// the first digit or point of the number.
bool decimalOverflows(std::string_view text) {
    size_t i = 0;
    int64_t intDigits = 0;     // significant digits before the point
    int64_t leadingZeros = 0;  // zeros right after the point before a significant digit
    bool significant = false;
    while (i < text.size() && isDigit(text[i])) {
        if (text[i] != '0' || significant) {
            significant = true;
            ++intDigits;
        }
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            if (!significant && text[i] == '0') ++leadingZeros;
            else significant = true;
            ++i;
        }
    }
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        while (i < text.size() && isDigit(text[i])) {
            if (exponent < 100000000) exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negative) exponent = -exponent;
    }
    const int64_t magnitude = intDigits > 0 ? intDigits - 1 + exponent : -(leadingZeros + 1) + exponent;
    return magnitude > 0;
}

}  // namespace

jint parseInt(std::string_view text) {
    size_t i = 0;
    const bool negative = skipSpaceAndSign(text, &i);
    const int64_t limit = negative ? int64_t(1) << 31 : (int64_t(1) << 31) - 1;
    int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;  // saturate; keeps value small enough to never overflow
    }
    return static_cast<jint>(negative ? -value : value);
}

jdouble parseDouble(std::string_view text) {
    size_t i = 0;
    const bool negative = skipSpaceAndSign(text, &i);
    const std::string_view rest = text.substr(i);
    if (rest.empty() || rest[0] == '+' || rest[0] == '-') return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = decimalOverflows(rest) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string formatInt(jint value) { return std::to_string(value); }

std::string formatLong(jlong value) { return formatInt(java::l2i(value)); }

std::string formatHex(jint value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

std::string formatBinary(jint value) {
    std::string bits;
    uint32_t v = static_cast<uint32_t>(value);
    for (int bit = 31; bit >= 0; --bit) {
        const bool one = (v >> bit) & 1;
        if (one || !bits.empty()) bits.push_back(one ? '1' : '0');
    }
    return bits;
}

std::string formatDouble(jdouble value) {
    // The widest "%f" text (the largest double) is 316 characters.
    char text[400];
    const int n = std::snprintf(text, sizeof text, "%f", value);
    return std::string(text, n > 0 ? static_cast<size_t>(n) < sizeof text ? static_cast<size_t>(n) : sizeof text - 1 : 0);
}

}  // namespace rt::num
