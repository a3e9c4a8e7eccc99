// The WAVE file header as the WAVE player reads it: the canonical 44-byte
// layout ("RIFF", the format fields at bytes 20-35, the data size at bytes
// 40-43), no chunk walk. Pure functions over bytes, no runtime: shared by the
// player and the fuzz target.
// Invariants: nothing outside [file, file + length) is read; the PCM length
// never exceeds the bytes that follow the header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace media {

inline constexpr std::size_t kWaveHeaderBytes = 44;

struct WaveHeader {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint32_t declaredDataLength = 0;  // bytes 40-43 as the file states them
    std::uint32_t pcmDataLength = 0;       // the same, cut to the bytes present after the header
    std::int64_t durationUs = 0;
};

// Parses the header of a whole sound file of `length` bytes. False (and
// `out` untouched) for fewer than 44 bytes or a file not starting "RIFF".
// The duration follows the player's formula: b = (rate / 1000) x bits / 8
// and, when b is not 0, (file length / b) x 1000 microseconds (the whole
// file, header included; the channel count does not enter).
bool parseWaveHeader(const std::uint8_t* file, std::size_t length, WaveHeader* out);

}  // namespace media
