// The application descriptor "app.jad": "Key: Value" lines, one character
// per byte (Latin-1). The writer refuses what the runtime's parser would
// not give back unchanged (a ':' or line break in a key, a line break in a
// value, white space at either end, characters above U+00FF).
#pragma once

#include "tools/kit/bytes.h"

#include <string>
#include <utility>
#include <vector>

namespace kit {

using JadProperties = std::vector<std::pair<std::string, std::string>>;  // UTF-8 key, value; in order

Bytes encodeJad(const JadProperties& props, std::string_view lineEnd = "\r\n");
// The runtime's reading: lines split at LF, a CR before it dropped, the
// key before the first ':', the value after it, both trimmed of characters
// <= 0x20; a line without ':' (a blank line, say) is skipped; a repeated key
// replaces the earlier value in place.
JadProperties parseJad(ByteSpan bytes);

}  // namespace kit
