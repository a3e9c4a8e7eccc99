// String-literal pool encoder, decoder and text form.
#include "tools/kit/stringpool.h"

#include <cstdio>

namespace kit {

Bytes encodeStringPool(const StringPool& pool) {
    if (pool.size() > 0x7FFFFFFF) throw KitError("string pool too large");
    ByteWriter w;
    w.writeInt(static_cast<int32_t>(pool.size()));
    for (size_t i = 0; i < pool.size(); ++i) {
        try {
            w.writeUTF(pool[i]);
        } catch (const KitError& e) {
            throw KitError("string pool entry " + std::to_string(i) + ": " + e.what());
        }
    }
    return w.take();
}

StringPool decodeStringPool(ByteSpan bytes) {
    ByteReader r(bytes);
    int32_t count = r.bes32();
    if (count < 0) throw KitError("string pool count is negative (" + std::to_string(count) + ")");
    // Each string takes at least its two length bytes.
    if (static_cast<uint64_t>(count) * 2 > r.remaining())
        throw KitError("string pool count " + std::to_string(count) + " exceeds the file");
    StringPool pool;
    pool.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        try {
            pool.push_back(r.readUTF());
        } catch (const KitError& e) {
            throw KitError("string pool entry " + std::to_string(i) + ": " + e.what());
        }
    }
    if (!r.atEnd()) throw KitError(std::to_string(r.remaining()) + " bytes after the last pool string");
    return pool;
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::u16string parseLine(std::string_view line, int lineNo) {
    std::u16string out;
    std::string plain;
    auto flush = [&]() {
        out += utf8ToUtf16(plain);
        plain.clear();
    };
    auto fail = [&](const std::string& what) {
        throw KitError("pool text line " + std::to_string(lineNo) + ": " + what);
    };
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c != '\\') {
            plain.push_back(c);
            continue;
        }
        if (i + 1 >= line.size()) fail("'\\' at the end of the line");
        char e = line[++i];
        flush();
        switch (e) {
        case '\\': out.push_back(u'\\'); break;
        case 'n': out.push_back(u'\n'); break;
        case 'r': out.push_back(u'\r'); break;
        case 't': out.push_back(u'\t'); break;
        case '0': out.push_back(u'\0'); break;
        case 'x':
        case 'u': {
            size_t digits = e == 'x' ? 2 : 4;
            uint32_t v = 0;
            for (size_t k = 1; k <= digits; ++k) {
                int h = i + k < line.size() ? hexValue(line[i + k]) : -1;
                if (h < 0) fail("bad \\" + std::string(1, e) + " escape");
                v = v * 16 + static_cast<uint32_t>(h);
            }
            out.push_back(static_cast<char16_t>(v));
            i += digits;
            break;
        }
        default:
            fail(std::string("unknown escape \\") + e);
        }
    }
    flush();
    return out;
}

}  // namespace

StringPool parsePoolText(std::string_view text) {
    StringPool pool;
    size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pool.push_back(parseLine(line, ++lineNo));
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    return pool;
}

std::string formatPoolText(const StringPool& pool) {
    std::string out;
    for (const std::u16string& s : pool) {
        std::u16string plain;
        auto flush = [&]() {
            out += utf16ToUtf8(plain);
            plain.clear();
        };
        for (size_t i = 0; i < s.size(); ++i) {
            char16_t c = s[i];
            bool hi = c >= 0xD800 && c <= 0xDBFF, lo = c >= 0xDC00 && c <= 0xDFFF;
            if (hi && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                plain.push_back(c);
                plain.push_back(s[++i]);
                continue;
            }
            const char* esc = nullptr;
            switch (c) {
            case u'\\': esc = "\\\\"; break;
            case u'\n': esc = "\\n"; break;
            case u'\r': esc = "\\r"; break;
            case u'\t': esc = "\\t"; break;
            case u'\0': esc = "\\0"; break;
            default: break;
            }
            if (esc) {
                flush();
                out += esc;
            } else if (c < 0x20 || c == 0x7F || hi || lo) {
                flush();
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
                out += buf;
            } else {
                plain.push_back(c);
            }
        }
        flush();
        out += '\n';
    }
    return out;
}

void setPoolEntry(StringPool& pool, size_t index, std::string_view utf8) {
    if (pool.size() <= index) pool.resize(index + 1);
    pool[index] = utf8ToUtf16(utf8);
}

}  // namespace kit
