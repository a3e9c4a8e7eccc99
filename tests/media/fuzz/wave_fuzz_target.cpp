// The WAVE header fuzz target and seeds (see wave_fuzz_target.h).
#include "tests/media/fuzz/wave_fuzz_target.h"

#include "media/wave_header.h"
#include "platform/audio/mixer.h"

#include <cstdlib>
#include <cstring>

namespace mediafuzz {

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(Bytes& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}
void set16(Bytes& v, std::size_t at, std::uint32_t x) {
    v[at] = static_cast<std::uint8_t>(x);
    v[at + 1] = static_cast<std::uint8_t>(x >> 8);
}
void set32(Bytes& v, std::size_t at, std::uint32_t x) {
    set16(v, at, x & 0xFFFF);
    set16(v, at + 2, x >> 16);
}

Bytes wave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint32_t frames) {
    const std::uint32_t align = channels * bits / 8;
    Bytes v = {'R', 'I', 'F', 'F'};
    put32(v, 36 + frames * align);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(v, 16);
    put16(v, 1);
    put16(v, channels);
    put32(v, rate);
    put32(v, rate * align);
    put16(v, align);
    put16(v, bits);
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    put32(v, frames * align);
    for (std::uint32_t i = 0; i < frames * align; ++i) v.push_back(static_cast<std::uint8_t>(i * 37));
    return v;
}

}  // namespace

void waveHeaderTarget(const std::uint8_t* data, std::size_t size) {
    media::WaveHeader h;
    const bool parsed = media::parseWaveHeader(data, size, &h);
    const bool riff = size >= media::kWaveHeaderBytes && std::memcmp(data, "RIFF", 4) == 0;
    check(parsed == riff);
    if (!parsed) return;
    check(h.pcmDataLength <= size - media::kWaveHeaderBytes);
    check(h.pcmDataLength <= h.declaredDataLength);
    check(h.durationUs >= 0);

    // The player's extraction: a buffer of the PCM length, filled from the
    // bytes after the header.
    std::vector<std::uint8_t> pcm(h.pcmDataLength);
    if (!pcm.empty()) std::memcpy(pcm.data(), data + media::kWaveHeaderBytes, pcm.size());

    // A little of it on the mixer, with the header's format as it stands.
    static platform::audio::Mixer mixer(44100);
    platform::audio::WaveFormat f;
    f.formatTag = h.formatTag;
    f.channels = h.channels;
    f.samplesPerSec = h.samplesPerSec;
    f.avgBytesPerSec = h.avgBytesPerSec;
    f.blockAlign = h.blockAlign;
    f.bitsPerSample = h.bitsPerSample;
    platform::audio::Mixer::VoiceId id = 0;
    if (mixer.open(f, {}, &id) != platform::audio::WaveResult::Ok) return;
    platform::audio::WaveBuffer b;
    b.data = pcm.data();
    b.length = static_cast<std::uint32_t>(pcm.size());
    b.loops = 2;
    mixer.prepare(id, b);
    mixer.write(id, b);
    std::int16_t out[2 * 64];
    for (int i = 0; i < 4; ++i) mixer.render(out, 64);
    mixer.setPlaybackRate(id, platform::audio::Mixer::kMaxRate);
    mixer.render(out, 64);
    mixer.close(id);
}

std::vector<Bytes> waveSeeds() {
    std::vector<Bytes> seeds = {wave(1, 8000, 16, 10), wave(2, 44100, 16, 5), wave(1, 22050, 8, 7),
                                wave(8, 48000, 16, 3), wave(1, 1000, 16, 4)};
    const Bytes small = wave(1, 8000, 16, 4);
    for (std::size_t n = 0; n <= small.size(); ++n) seeds.emplace_back(small.begin(), small.begin() + n);

    Bytes rifx = small;
    rifx[3] = 'X';
    seeds.push_back(rifx);
    Bytes zeros = {'R', 'I', 'F', 'F'};
    zeros.resize(44, 0);
    seeds.push_back(zeros);
    Bytes huge = small;
    set32(huge, 40, 0xFFFFFFFFu);  // the data size claims far more than is there
    seeds.push_back(huge);
    Bytes extremes = small;
    set16(extremes, 22, 0xFFFF);
    set32(extremes, 24, 0xFFFFFFFFu);
    set16(extremes, 32, 0);
    set16(extremes, 34, 0xFFFF);
    seeds.push_back(extremes);
    Bytes fast = small;
    set32(fast, 24, 768000);
    seeds.push_back(fast);

    std::uint32_t state = 0x2545F491u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const Bytes base = wave(2, 22050, 16, 6);
    for (int i = 0; i < 32; ++i) {
        Bytes m = base;
        for (int k = 0; k < 4; ++k) m[4 + next() % (m.size() - 4)] = static_cast<std::uint8_t>(next());
        seeds.push_back(m);
    }
    return seeds;
}

}  // namespace mediafuzz
