// The wave-out device on SDL's dummy audio driver: a handle opens the
// device, written buffers are called back once in real time, the master
// volume stays apart from a handle's volume, and closing the last handle
// closes the device.
#include "platform/audio/wave_out.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace platform::audio;
using namespace std::chrono_literals;

TEST(WaveOutDevice, PlaysOnTheDummyDriver) {
    ASSERT_EQ(deviceCount(), 1u);
    EXPECT_TRUE(deviceSupportsVolume());

    std::atomic<int> done{0};
    std::unique_ptr<WaveOut> out;
    ASSERT_EQ(WaveOut::open(WaveFormat::pcm(1, 22050, 16), [&](WaveBuffer&) { ++done; }, &out), WaveResult::Ok);
    std::vector<std::uint8_t> data(2 * 2205, 0x10);  // 100 ms
    WaveBuffer b;
    b.data = data.data();
    b.length = static_cast<std::uint32_t>(data.size());
    b.loops = 2;
    ASSERT_EQ(out->prepare(b), WaveResult::Ok);
    ASSERT_EQ(out->write(b), WaveResult::Ok);
    for (int i = 0; i < 2000 && done == 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(done.load(), 1);
    std::uint32_t ms = 0;
    ASSERT_EQ(out->getPositionMs(&ms), WaveResult::Ok);
    EXPECT_EQ(ms, 200u);
    EXPECT_EQ(out->unprepare(b), WaveResult::Ok);
    EXPECT_EQ(out->close(), WaveResult::Ok);
    EXPECT_EQ(done.load(), 1);
}

TEST(WaveOutDevice, MasterVolumeIsSeparateFromHandles) {
    const std::uint32_t saved = masterVolume();
    setMasterVolume(0x80004000);
    std::unique_ptr<WaveOut> out;
    ASSERT_EQ(WaveOut::open(WaveFormat::pcm(2, 44100, 16), nullptr, &out), WaveResult::Ok);
    std::uint32_t v = 0;
    out->getVolume(&v);
    EXPECT_EQ(v, 0xFFFFFFFFu);
    out->setVolume(0x1234);
    EXPECT_EQ(masterVolume(), 0x80004000u);
    out.reset();
    setMasterVolume(saved);
}

TEST(WaveOutDevice, ResetStopsAQueuedBufferAtOnce) {
    std::atomic<int> done{0};
    std::unique_ptr<WaveOut> out;
    ASSERT_EQ(WaveOut::open(WaveFormat::pcm(1, 8000, 8), [&](WaveBuffer&) { ++done; }, &out), WaveResult::Ok);
    std::vector<std::uint8_t> data(8000 * 10, 0x90);  // ten seconds
    WaveBuffer b;
    b.data = data.data();
    b.length = static_cast<std::uint32_t>(data.size());
    out->prepare(b);
    out->write(b);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(out->reset(), WaveResult::Ok);
    EXPECT_EQ(done.load(), 1);
    EXPECT_EQ(b.flags.load() & buffer_flag::InQueue, 0u);
    // The same buffer plays again after a reset.
    EXPECT_EQ(out->write(b), WaveResult::Ok);
    out->close();
    EXPECT_EQ(done.load(), 2);
}
