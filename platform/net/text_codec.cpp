// UTF-16 / Latin-1 / UTF-8 conversions of the network layer.
#include "platform/net/text_codec.h"

#include <cstdint>

namespace bramble::platform::net {

std::string latin1FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

std::u16string utf16FromLatin1(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(b)));
    return out;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string escapeRequestTargetBytes(std::string_view target) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (char ch : target) {
        auto b = static_cast<unsigned char>(ch);
        if (b <= 0x20 || b >= 0x7F) {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0xF]);
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

std::string escapeRequestTarget(std::u16string_view target) {
    return escapeRequestTargetBytes(utf8FromUtf16(target));
}

}  // namespace bramble::platform::net
