// UTF-16 / Latin-1 / UTF-8 conversions of the network layer.
#include "platform/net/text_codec.h"

#include <cstdint>
#include "platform/text/utf.h"

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

std::string utf8FromUtf16(std::u16string_view text) { return text::utf8FromUtf16(text); }

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
