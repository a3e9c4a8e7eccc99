// The WAVE header fuzz target and its seed corpus. The target parses the
// bytes as the WAVE player does, checks the parser's promises (a PCM length
// within the bytes present, a duration that is not negative), extracts the
// PCM data and plays a little of it on an offline mixer with the format the
// header states, so that no header value can make either read out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mediafuzz {

// Aborts when a promise is broken; otherwise returns.
void waveHeaderTarget(const std::uint8_t* data, std::size_t size);

// Valid files of several formats, every truncation of a small one, extreme
// field values and seeded mutations.
std::vector<std::vector<std::uint8_t>> waveSeeds();

}  // namespace mediafuzz
