// The string-literal pool "/constants.bin": a big-endian signed 32-bit
// count followed by that many readUTF strings. Also the kit's text form of
// a pool: one entry per line (UTF-8), with backslash escapes for what a
// line cannot hold.
#pragma once

#include "tools/kit/bytes.h"

#include <string>
#include <vector>

namespace kit {

using StringPool = std::vector<std::u16string>;

Bytes encodeStringPool(const StringPool& pool);
// Strict: a negative count, a short or malformed string, or bytes left over
// after the last string throw KitError.
StringPool decodeStringPool(ByteSpan bytes);

// Text form. Every line is one entry (an empty line is an empty entry); a
// final line break ends the last entry rather than starting a new one; a CR
// before the LF is dropped. Escapes: \\ \n \r \t \0, \xHH (one unit
// 0-255), \uHHHH (one UTF-16 unit). Anything else after '\' is an error.
StringPool parsePoolText(std::string_view text);
// The inverse: escapes control characters, backslash and lone surrogates.
std::string formatPoolText(const StringPool& pool);

// Sets entry index, growing the pool with empty entries as needed.
void setPoolEntry(StringPool& pool, size_t index, std::string_view utf8);

}  // namespace kit
