// Conversions between the UTF-16 texts of the callers and the bytes that go
// over the wire or into files. Used by the network layer and the connection classes above it.
#pragma once

#include <string>
#include <string_view>

namespace bramble::platform::net {

// One byte per character; characters above 0xFF become '?'.
std::string latin1FromUtf16(std::u16string_view text);

// One character per byte.
std::u16string utf16FromLatin1(std::string_view bytes);

// UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

// %-escapes every byte of the UTF-8 form that is not printable ASCII
// (controls, space, DEL and everything above 0x7F); the rest stays as is.
std::string escapeRequestTarget(std::u16string_view target);

// Same for a target that is already bytes.
std::string escapeRequestTargetBytes(std::string_view target);

}  // namespace bramble::platform::net
