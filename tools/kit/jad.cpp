// Application descriptor writer and reader.
#include "tools/kit/jad.h"

namespace kit {

namespace {

std::string toLatin1(std::string_view utf8, const std::string& what) {
    std::string out;
    for (char16_t c : utf8ToUtf16(utf8)) {
        if (c > 0xFF) throw KitError(what + " holds a character above U+00FF");
        out.push_back(static_cast<char>(c));
    }
    return out;
}

std::string fromLatin1(std::string_view bytes) {
    std::u16string u;
    for (char c : bytes) u.push_back(static_cast<char16_t>(static_cast<uint8_t>(c)));
    return utf16ToUtf8(u);
}

std::string_view trimJava(std::string_view s) {
    while (!s.empty() && static_cast<uint8_t>(s.front()) <= 0x20) s.remove_prefix(1);
    while (!s.empty() && static_cast<uint8_t>(s.back()) <= 0x20) s.remove_suffix(1);
    return s;
}

}  // namespace

Bytes encodeJad(const JadProperties& props, std::string_view lineEnd) {
    ByteWriter w;
    for (const auto& [key, value] : props) {
        std::string k = toLatin1(key, "jad key \"" + key + "\"");
        std::string v = toLatin1(value, "jad value of \"" + key + "\"");
        if (k.empty() || trimJava(k) != k || k.find_first_of(":\r\n") != std::string::npos)
            throw KitError("jad key \"" + key + "\" is empty, padded or holds ':' or a line break");
        if (trimJava(v) != v || v.find_first_of("\r\n") != std::string::npos)
            throw KitError("jad value of \"" + key + "\" is padded or holds a line break");
        w.raw(k);
        w.raw(": ");
        w.raw(v);
        w.raw(lineEnd);
    }
    return w.take();
}

JadProperties parseJad(ByteSpan bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    JadProperties props;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        size_t colon = line.find(':');
        if (colon != std::string_view::npos) {
            std::string key = fromLatin1(trimJava(line.substr(0, colon)));
            std::string value = fromLatin1(trimJava(line.substr(colon + 1)));
            bool replaced = false;
            for (auto& kv : props)
                if (kv.first == key) {
                    kv.second = value;
                    replaced = true;
                }
            if (!replaced) props.emplace_back(std::move(key), std::move(value));
        }
        pos = end + 1;
    }
    return props;
}

}  // namespace kit
