// Byte encodings of Java text: bounded decoders and the UTF-8 encoder.
#include "runtime/textcodec.h"

namespace rt::text {

size_t decodeLatin1(const uint8_t* in, size_t n, jchar* out) {
    for (size_t i = 0; i < n; ++i) out[i] = in[i];
    return n;
}

size_t decodeUtf8(const uint8_t* in, size_t n, jchar* out) {
    size_t i = 0;
    size_t m = 0;
    while (i < n) {
        const uint32_t b = in[i];
        const uint32_t nibble = b >> 4;
        if (b < 0xB0) {
            out[m++] = static_cast<jchar>(b);
            i += 1;
        } else if (nibble == 12 || nibble == 13) {
            if (n - i < 2) break;  // truncated: the text ends here
            out[m++] = static_cast<jchar>(((b & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
        } else if (nibble == 14) {
            if (n - i < 3) break;
            out[m++] = static_cast<jchar>(((b & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
            i += 3;
        } else {
            out[m++] = 0xFFFD;
            i += 1;
        }
    }
    return m;
}

size_t decodeSjis(const uint8_t* in, size_t n, jchar* out) {
    size_t i = 0;
    size_t m = 0;
    while (i < n) {
        const uint32_t b = in[i];
        if (b >= 0x80 && (b < 0xA0 || b >= 0xE0)) {
            if (n - i < 2) break;
            out[m++] = static_cast<jchar>((b << 8) | in[i + 1]);
            i += 2;
        } else {
            out[m++] = static_cast<jchar>(b);
            i += 1;
        }
    }
    return m;
}

bool decodeModifiedUtf8(const uint8_t* in, size_t n, jchar* out, size_t* units) {
    size_t i = 0;
    size_t m = 0;
    bool ok = true;
    while (i < n) {
        const uint32_t c = in[i];
        switch (c >> 4) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
            out[m++] = static_cast<jchar>(c);
            i += 1;
            continue;
        case 12: case 13:
            if (n - i < 2 || (in[i + 1] & 0xC0) != 0x80) break;
            out[m++] = static_cast<jchar>(((c & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
            continue;
        case 14:
            if (n - i < 3 || (in[i + 1] & 0xC0) != 0x80 || (in[i + 2] & 0xC0) != 0x80) break;
            out[m++] = static_cast<jchar>(((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
            i += 3;
            continue;
        default:
            break;
        }
        ok = false;
        break;
    }
    if (units) *units = m;
    return ok;
}

size_t utf8EncodedLength(const jchar* in, size_t n) {
    size_t bytes = 0;
    for (size_t i = 0; i < n; ++i) {
        const jchar u = in[i];
        bytes += (u >= 1 && u <= 0x7F) ? 1 : (u <= 0x7FF ? 2 : 3);
    }
    return bytes;
}

size_t encodeUtf8(const jchar* in, size_t n, uint8_t* out) {
    size_t k = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t u = in[i];
        if (u >= 1 && u <= 0x7F) {
            out[k++] = static_cast<uint8_t>(u);
        } else if (u <= 0x7FF) {
            out[k++] = static_cast<uint8_t>(0xC0 | ((u >> 6) & 0x1F));
            out[k++] = static_cast<uint8_t>(0x80 | (u & 0x3F));
        } else {
            out[k++] = static_cast<uint8_t>(0xE0 | (u >> 12));
            out[k++] = static_cast<uint8_t>(0x80 | ((u >> 6) & 0x3F));
            out[k++] = static_cast<uint8_t>(0x80 | (u & 0x3F));
        }
    }
    return k;
}

}  // namespace rt::text
