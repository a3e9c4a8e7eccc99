// Byte writer and reader, modified UTF-8, whole-file helpers.
#include "tools/kit/bytes.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include "platform/text/utf.h"

namespace kit {

int64_t parseNumber(std::string_view text, std::string_view what, int64_t lo, int64_t hi) {
    const std::string s(text);
    auto refuse = [&](const std::string& tail) {
        throw KitError("expected " + std::string(what) + ", got \"" + s + "\"" + tail);
    };
    // Only digits after an optional sign (strtoll would also take spaces and '+').
    size_t at = s.size() > 1 && s[0] == '-' ? 1 : 0;
    const bool hex = s.size() > at + 2 && s[at] == '0' && (s[at + 1] == 'x' || s[at + 1] == 'X');
    if (hex) at += 2;
    if (at >= s.size()) refuse("");
    for (size_t i = at; i < s.size(); ++i)
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(s[i])) : std::isdigit(static_cast<unsigned char>(s[i]))))
            refuse("");
    errno = 0;
    const long long v = std::strtoll(s.c_str(), nullptr, hex ? 16 : 10);
    if (errno == ERANGE || v < lo || v > hi) refuse(" (outside " + std::to_string(lo) + ".." + std::to_string(hi) + ")");
    return v;
}

// --- Text --------------------------------------------------------------

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    size_t i = 0;
    auto bad = [&]() { throw KitError("invalid UTF-8 at byte " + std::to_string(i) + " of \"" + std::string(s) + "\""); };
    while (i < s.size()) {
        uint32_t c = static_cast<uint8_t>(s[i]);
        uint32_t cp = 0;
        size_t n = 1;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 4; }
        else bad();
        if (i + n > s.size()) bad();
        for (size_t k = 1; k < n; ++k) {
            uint32_t b = static_cast<uint8_t>(s[i + k]);
            if ((b & 0xC0) != 0x80) bad();
            cp = (cp << 6) | (b & 0x3F);
        }
        static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) bad();
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s) { return text::utf8FromUtf16(s); }

Bytes encodeModifiedUtf8(std::u16string_view text) {
    Bytes out;
    out.reserve(text.size());
    for (char16_t ch : text) {
        uint32_t c = ch;
        if (c >= 0x0001 && c <= 0x007F) {
            out.push_back(static_cast<uint8_t>(c));
        } else if (c <= 0x07FF) {
            out.push_back(static_cast<uint8_t>(0xC0 | (c >> 6)));
            out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<uint8_t>(0xE0 | (c >> 12)));
            out.push_back(static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::optional<std::u16string> decodeModifiedUtf8(ByteSpan b) {
    std::u16string out;
    size_t i = 0;
    const size_t n = b.size();
    while (i < n) {
        uint32_t c = b[i];
        switch (c >> 4) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
            out.push_back(static_cast<char16_t>(c));
            i += 1;
            break;
        case 12: case 13: {
            i += 2;
            if (i > n) return std::nullopt;
            uint32_t b2 = b[i - 1];
            if ((b2 & 0xC0) != 0x80) return std::nullopt;
            out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (b2 & 0x3F)));
            break;
        }
        case 14: {
            i += 3;
            if (i > n) return std::nullopt;
            uint32_t b2 = b[i - 2], b3 = b[i - 1];
            if ((b2 & 0xC0) != 0x80 || (b3 & 0xC0) != 0x80) return std::nullopt;
            out.push_back(static_cast<char16_t>(((c & 0x0F) << 12) | ((b2 & 0x3F) << 6) | (b3 & 0x3F)));
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

// --- Writer ------------------------------------------------------------

void ByteWriter::be16(uint32_t v) {
    u8(v >> 8);
    u8(v);
}

void ByteWriter::be32(uint32_t v) {
    u8(v >> 24);
    u8(v >> 16);
    u8(v >> 8);
    u8(v);
}

void ByteWriter::be64(uint64_t v) {
    be32(static_cast<uint32_t>(v >> 32));
    be32(static_cast<uint32_t>(v));
}

void ByteWriter::le16(uint32_t v) {
    u8(v);
    u8(v >> 8);
}

void ByteWriter::le32(uint32_t v) {
    u8(v);
    u8(v >> 8);
    u8(v >> 16);
    u8(v >> 24);
}

void ByteWriter::patchBe32(size_t pos, uint32_t v) {
    if (pos + 4 > buf_.size()) throw KitError("patch outside the written bytes");
    buf_[pos] = static_cast<uint8_t>(v >> 24);
    buf_[pos + 1] = static_cast<uint8_t>(v >> 16);
    buf_[pos + 2] = static_cast<uint8_t>(v >> 8);
    buf_[pos + 3] = static_cast<uint8_t>(v);
}

void ByteWriter::patchLe16(size_t pos, uint32_t v) {
    if (pos + 2 > buf_.size()) throw KitError("patch outside the written bytes");
    buf_[pos] = static_cast<uint8_t>(v);
    buf_[pos + 1] = static_cast<uint8_t>(v >> 8);
}

void ByteWriter::patchLe32(size_t pos, uint32_t v) {
    if (pos + 4 > buf_.size()) throw KitError("patch outside the written bytes");
    buf_[pos] = static_cast<uint8_t>(v);
    buf_[pos + 1] = static_cast<uint8_t>(v >> 8);
    buf_[pos + 2] = static_cast<uint8_t>(v >> 16);
    buf_[pos + 3] = static_cast<uint8_t>(v >> 24);
}

void ByteWriter::writeUTF(std::u16string_view text) {
    Bytes enc = encodeModifiedUtf8(text);
    if (enc.size() > 0xFFFF)
        throw KitError("string too long for writeUTF: " + std::to_string(enc.size()) + " bytes (at most 65535)");
    be16(static_cast<uint32_t>(enc.size()));
    raw(enc);
}

// --- Reader ------------------------------------------------------------

void ByteReader::need(size_t n) const {
    if (pos_ > data_.size() || data_.size() - pos_ < n)
        throw KitError("unexpected end of data: need " + std::to_string(n) + " bytes at offset " +
                       std::to_string(pos_) + " of " + std::to_string(data_.size()));
}

void ByteReader::seek(size_t pos) {
    if (pos > data_.size())
        throw KitError("seek to " + std::to_string(pos) + " past the end (" + std::to_string(data_.size()) + ")");
    pos_ = pos;
}

void ByteReader::skip(size_t n) {
    need(n);
    pos_ += n;
}

uint8_t ByteReader::u8() {
    need(1);
    return data_[pos_++];
}

ByteSpan ByteReader::take(size_t n) {
    need(n);
    ByteSpan s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
}

uint16_t ByteReader::be16() {
    need(2);
    uint16_t v = static_cast<uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
    pos_ += 2;
    return v;
}

uint32_t ByteReader::be32() {
    need(4);
    uint32_t v = (uint32_t{data_[pos_]} << 24) | (uint32_t{data_[pos_ + 1]} << 16) |
                 (uint32_t{data_[pos_ + 2]} << 8) | data_[pos_ + 3];
    pos_ += 4;
    return v;
}

uint16_t ByteReader::le16() {
    need(2);
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t ByteReader::le32() {
    need(4);
    uint32_t v = data_[pos_] | (uint32_t{data_[pos_ + 1]} << 8) | (uint32_t{data_[pos_ + 2]} << 16) |
                 (uint32_t{data_[pos_ + 3]} << 24);
    pos_ += 4;
    return v;
}

std::u16string ByteReader::readUTF() {
    size_t start = pos_;
    uint16_t n = be16();
    if (remaining() < n) {
        pos_ = start;
        need(size_t{2} + n);
    }
    auto text = decodeModifiedUtf8(data_.subspan(pos_, n));
    if (!text) {
        pos_ = start;
        throw KitError("malformed modified UTF-8 string at offset " + std::to_string(start));
    }
    pos_ += n;
    return *text;
}

// --- Files -------------------------------------------------------------

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw KitError("cannot open " + path);
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw KitError("cannot read " + path);
    return data;
}

void writeFile(const std::string& path, ByteSpan data) {
    namespace fs = std::filesystem;
    fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) throw KitError("cannot create folder " + target.parent_path().string() + ": " + ec.message());
    }
    fs::path tmp = target;
    tmp += ".kit-tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw KitError("cannot create " + tmp.string());
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(tmp, ec);
            throw KitError("cannot write " + tmp.string());
        }
    }
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        throw KitError("cannot rename onto " + path);
    }
}

}  // namespace kit
