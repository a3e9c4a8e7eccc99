// The WAVE header fuzz target replayed over its seeds in every build, and
// what the parser makes of the seeds that matter most.
#include "media/wave_header.h"
#include "tests/media/fuzz/wave_fuzz_target.h"

#include <gtest/gtest.h>

TEST(WaveHeaderFuzzReplay, EverySeedKeepsThePromises) {
    const auto seeds = mediafuzz::waveSeeds();
    ASSERT_GT(seeds.size(), 50u);
    for (const auto& seed : seeds) mediafuzz::waveHeaderTarget(seed.data(), seed.size());
}

TEST(WaveHeaderFuzzReplay, TheDataSizeIsCutToTheBytesPresent) {
    std::vector<std::uint8_t> file = mediafuzz::waveSeeds().front();  // 10 frames of 16-bit mono
    file[40] = file[41] = file[42] = file[43] = 0xFF;
    media::WaveHeader h;
    ASSERT_TRUE(media::parseWaveHeader(file.data(), file.size(), &h));
    EXPECT_EQ(h.declaredDataLength, 0xFFFFFFFFu);
    EXPECT_EQ(h.pcmDataLength, 20u);
    EXPECT_FALSE(media::parseWaveHeader(file.data(), 43, &h));
    EXPECT_FALSE(media::parseWaveHeader(nullptr, 100, &h));
}
