// Byte-level building blocks of the content kit: a growable byte writer with
// big-endian (java.io.DataOutputStream) and little-endian (sprite data)
// encoders, a bounds-checked reader for both, and the modified UTF-8 codec
// of readUTF/writeUTF. Everything here is pure: no files, no globals.
// Invariant: a reader never reads past its span; a failed read throws
// KitError and leaves the position unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

using Bytes = std::vector<uint8_t>;
using ByteSpan = std::span<const uint8_t>;

// Every kit failure (bad description, value out of range, unreadable file).
class KitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --- Numbers in text -------------------------------------------------------

// The whole of `text` as a number: decimal, or hexadecimal after "0x", with
// an optional '-'. Anything else, or a value outside lo..hi, throws
// KitError "expected <what>, got \"<text>\"" (or "... outside lo..hi").
int64_t parseNumber(std::string_view text, std::string_view what = "a number", int64_t lo = INT64_MIN,
                    int64_t hi = INT64_MAX);

// --- Text --------------------------------------------------------------

// UTF-8 (ordinary host text) to UTF-16 code units; throws on bad UTF-8.
std::u16string utf8ToUtf16(std::string_view utf8);
// UTF-16 code units to UTF-8; lone surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

// Modified UTF-8 bytes of a UTF-16 string, without the length prefix:
// U+0001-U+007F one byte, U+0000 and U+0080-U+07FF two bytes, the rest three
// (surrogates are encoded one unit at a time, as Java does).
Bytes encodeModifiedUtf8(std::u16string_view text);
// The decoding of DataInputStream.readUTF over exactly these bytes;
// nullopt when they are malformed (a byte 0x80-0xBF or 0xF0-0xFF in lead
// position, a missing or wrong continuation byte).
std::optional<std::u16string> decodeModifiedUtf8(ByteSpan bytes);

// --- Writer ------------------------------------------------------------

class ByteWriter {
public:
    const Bytes& bytes() const { return buf_; }
    Bytes take() { return std::move(buf_); }
    size_t size() const { return buf_.size(); }

    void u8(uint32_t v) { buf_.push_back(static_cast<uint8_t>(v)); }
    void raw(ByteSpan data) { buf_.insert(buf_.end(), data.begin(), data.end()); }
    void raw(std::string_view data) { buf_.insert(buf_.end(), data.begin(), data.end()); }
    void fill(size_t n, uint8_t v) { buf_.insert(buf_.end(), n, v); }

    // Big-endian, most significant byte first.
    void be16(uint32_t v);
    void be32(uint32_t v);
    void be64(uint64_t v);
    // Little-endian, least significant byte first.
    void le16(uint32_t v);
    void le32(uint32_t v);

    // Overwrite already written bytes (for lengths and offsets known later).
    void patchBe32(size_t pos, uint32_t v);
    void patchLe16(size_t pos, uint32_t v);
    void patchLe32(size_t pos, uint32_t v);

    // java.io.DataOutputStream, byte for byte.
    void writeBoolean(bool v) { u8(v ? 1 : 0); }
    void writeByte(int32_t v) { u8(static_cast<uint32_t>(v)); }
    void writeShort(int32_t v) { be16(static_cast<uint32_t>(v)); }
    void writeChar(int32_t v) { be16(static_cast<uint32_t>(v)); }
    void writeInt(int32_t v) { be32(static_cast<uint32_t>(v)); }
    void writeLong(int64_t v) { be64(static_cast<uint64_t>(v)); }
    // Unsigned 16-bit byte count, then the modified UTF-8 bytes; throws when
    // the encoding is longer than 65535 bytes (DataOutputStream's
    // UTFDataFormatException).
    void writeUTF(std::u16string_view text);
    void writeUTF8(std::string_view utf8) { writeUTF(utf8ToUtf16(utf8)); }

private:
    Bytes buf_;
};

// --- Reader ------------------------------------------------------------

class ByteReader {
public:
    explicit ByteReader(ByteSpan data, size_t pos = 0) : data_(data), pos_(pos) {}

    size_t pos() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
    bool atEnd() const { return pos_ >= data_.size(); }
    void seek(size_t pos);
    void skip(size_t n);
    ByteSpan data() const { return data_; }

    uint8_t u8();
    int8_t s8() { return static_cast<int8_t>(u8()); }
    ByteSpan take(size_t n);

    uint16_t be16();
    int16_t bes16() { return static_cast<int16_t>(be16()); }
    uint32_t be32();
    int32_t bes32() { return static_cast<int32_t>(be32()); }
    uint16_t le16();
    int16_t les16() { return static_cast<int16_t>(le16()); }
    uint32_t le32();
    int32_t les32() { return static_cast<int32_t>(le32()); }

    // DataInputStream.readUTF; throws KitError on a short or malformed string.
    std::u16string readUTF();

private:
    void need(size_t n) const;
    ByteSpan data_;
    size_t pos_;
};

// --- Files -------------------------------------------------------------

Bytes readFile(const std::string& path);
// Writes through a temporary file in the same folder and renames it over
// the target, creating missing parent folders.
void writeFile(const std::string& path, ByteSpan data);

}  // namespace kit
