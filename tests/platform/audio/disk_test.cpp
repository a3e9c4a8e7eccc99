// The wave-out device on SDL's disk audio driver: what the device writes is
// the mixed sound, so its length and level can be measured: loops times the
// sound's length, rate 2.0 halves it, a level of 50 halves the amplitude.
#include "platform/audio/wave_out.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

using namespace platform::audio;
using namespace std::chrono_literals;

namespace {

struct Capture {
    std::size_t frames = 0;  // frames whose left sample is not silent
    int peak = 0;
};

// Plays one buffer from a fresh device and measures the device's output file.
Capture play(const WaveFormat& format, const std::vector<std::uint8_t>& data, std::uint32_t loops,
             std::uint32_t volume, std::uint32_t rate) {
    const char* file = std::getenv("SDL_DISKAUDIOFILE");
    EXPECT_NE(file, nullptr);
    std::remove(file);
    std::atomic<int> done{0};
    {
        std::unique_ptr<WaveOut> out;
        EXPECT_EQ(WaveOut::open(format, [&](WaveBuffer&) { ++done; }, &out), WaveResult::Ok);
        if (!out) return {};
        WaveBuffer b;
        b.data = data.data();
        b.length = static_cast<std::uint32_t>(data.size());
        b.loops = loops;
        out->setVolume(volume);
        out->setPlaybackRate(rate);
        out->prepare(b);
        out->write(b);
        for (int i = 0; i < 4000 && done == 0; ++i) std::this_thread::sleep_for(5ms);
        EXPECT_EQ(done.load(), 1);
    }  // the last handle closes the device, which flushes the file
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Capture c;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::int16_t l;
        std::memcpy(&l, &bytes[i], 2);
        if (l != 0) ++c.frames;
        c.peak = std::max(c.peak, std::abs(static_cast<int>(l)));
    }
    return c;
}

std::vector<std::uint8_t> constant16(std::size_t frames, std::int16_t value) {
    std::vector<std::uint8_t> d(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) std::memcpy(&d[2 * i], &value, 2);
    return d;
}

}  // namespace

TEST(WaveOutDisk, WrittenAudioFollowsLoopsRateAndVolume) {
    const WaveFormat mono = WaveFormat::pcm(1, 44100, 16);
    const auto sound = constant16(4410, 12000);  // 100 ms at the device rate

    Capture once = play(mono, sound, 1, 0xFFFFFFFF, 0x10000);
    EXPECT_EQ(once.frames, 4410u);
    EXPECT_EQ(once.peak, 12000);

    EXPECT_EQ(play(mono, sound, 3, 0xFFFFFFFF, 0x10000).frames, 3u * 4410u);
    EXPECT_EQ(play(mono, sound, 1, 0xFFFFFFFF, 0x20000).frames, 2205u);

    Capture half = play(mono, sound, 1, 65535 * 50 / 100, 0x10000);
    EXPECT_NEAR(half.peak, 6000, 1);

    // 8-bit at a quarter of the device rate: four device frames per sound frame.
    EXPECT_EQ(play(WaveFormat::pcm(1, 11025, 8), std::vector<std::uint8_t>(1000, 200), 1, 0xFFFFFFFF, 0x10000).frames,
              4000u);
}

TEST(WaveOutDisk, MutedMasterWritesSilence) {
    setMasterVolume(0);
    EXPECT_EQ(play(WaveFormat::pcm(1, 44100, 16), constant16(2000, 12000), 1, 0xFFFFFFFF, 0x10000).frames, 0u);
    setMasterVolume(0xFFFFFFFF);
}
