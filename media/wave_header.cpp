// The WAVE header reader (see wave_header.h).
#include "media/wave_header.h"

#include <algorithm>

namespace media {

namespace {

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

bool parseWaveHeader(const std::uint8_t* file, std::size_t length, WaveHeader* out) {
    if (!file || !out || length < kWaveHeaderBytes) return false;
    if (file[0] != 'R' || file[1] != 'I' || file[2] != 'F' || file[3] != 'F') return false;
    WaveHeader h;
    h.formatTag = le16(file + 20);
    h.channels = le16(file + 22);
    h.samplesPerSec = le32(file + 24);
    h.avgBytesPerSec = le32(file + 28);
    h.blockAlign = le16(file + 32);
    h.bitsPerSample = le16(file + 34);
    h.declaredDataLength = le32(file + 40);
    const std::uint64_t present = length - kWaveHeaderBytes;
    h.pcmDataLength = static_cast<std::uint32_t>(std::min<std::uint64_t>(h.declaredDataLength, present));
    const std::uint64_t bytesPerMs = static_cast<std::uint64_t>(h.samplesPerSec / 1000) * h.bitsPerSample / 8;
    if (bytesPerMs != 0) h.durationUs = static_cast<std::int64_t>(length / bytesPerMs) * 1000;
    *out = h;
    return true;
}

}  // namespace media
