// The application descriptor "app.jad": lines split at LF (a CR before it
// is dropped); the key is the text before the line's first ':' and the
// value the text after it, both trimmed of characters <= 0x20. A line
// without ':' (a blank line, a stray line) is skipped, never paired with a
// later colon. A repeated key replaces the earlier value. Pure function.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bramble::io {

// At most this many distinct keys are kept; later new keys are dropped (a
// damaged descriptor must not fill the object heap at start-up).
constexpr size_t kMaxJadProperties = 1024;

// The pairs in order (a repeated key keeps its first place and takes the
// later value), as the MIDlet constructor reads them. `dropped`, when
// given, receives the number of lines whose new key was beyond the limit.
std::vector<std::pair<std::u16string, std::u16string>> parseJad(std::u16string_view text, size_t* dropped = nullptr);

}  // namespace bramble::io
