// Byte encodings of Java text, as plain functions over native buffers (no
// Java objects, no allocation): the decoders behind String's byte
// constructors (ISO-8859-1, the runtime's UTF-8, the "SJIS" byte pairing),
// the modified UTF-8 of readUTF and the string pool, and the UTF-8 encoder
// of String::getBytesEnc.
//
// Invariants: no decoder reads past in + n; every decoder writes at most n
// units (one byte never yields more than one unit), so an output buffer of
// n units is always enough.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/jint.h"

namespace rt::text {

using java::jchar;

// Each byte zero-extended.
size_t decodeLatin1(const uint8_t* in, size_t n, jchar* out);

// The runtime's UTF-8 reading: a byte below 0xB0 is a unit of its own; a
// lead byte 0xC0-0xDF takes one more byte, 0xE0-0xEF two more (the
// continuation bytes are not checked: their low six bits are used). A
// sequence cut short by the end of the input ends the text. Any other
// lead byte (0xB0-0xBF, 0xF0-0xFF) gives U+FFFD and advances one byte.
size_t decodeUtf8(const uint8_t* in, size_t n, jchar* out);

// "SJIS": a byte 0x80-0x9F or 0xE0-0xFF forms one unit with the byte after
// it, (b << 8) | next (the raw double-byte code); any other byte is one
// unit. A lead byte without a second byte ends the text.
size_t decodeSjis(const uint8_t* in, size_t n, jchar* out);

// Modified UTF-8 (readUTF): 1-, 2- and 3-byte forms with checked
// continuation bytes; overlong forms (0xC0 0x80 for zero) decode normally.
// False for malformed input (bytes 0x80-0xBF or 0xF0-0xFF as lead, a bad
// continuation byte, a sequence past the end); *units then holds the count
// decoded before the fault.
bool decodeModifiedUtf8(const uint8_t* in, size_t n, jchar* out, size_t* units);

// UTF-8 as String::getBytesEnc writes it: 1 byte for 1-127, 2 bytes for 0
// and 128-2047 (so zero is 0xC0 0x80), 3 bytes otherwise.
size_t utf8EncodedLength(const jchar* in, size_t n);
// Writes utf8EncodedLength(in, n) bytes; answers that count.
size_t encodeUtf8(const jchar* in, size_t n, uint8_t* out);

}  // namespace rt::text
