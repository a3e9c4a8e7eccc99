// The software mixer without any audio API: rendered lengths for loops,
// rates and resampling, volumes, format conversion, positions, and the done
// callback contract (once per buffer, synchronous on reset, never after
// close, never under the device lock).
#include "platform/audio/mixer.h"
#include "platform/audio/wave_out.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform::audio;
using namespace std::chrono_literals;

namespace {

constexpr std::uint32_t kRate = 8000;

std::vector<std::uint8_t> pcm16(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> out;
    for (std::int16_t s : samples) {
        out.push_back(static_cast<std::uint8_t>(s & 0xFF));
        out.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    }
    return out;
}

// Renders until nothing is queued (or a bound), returning the stereo frames.
std::vector<std::int16_t> renderAll(Mixer& mixer, std::size_t maxFrames = 200000) {
    std::vector<std::int16_t> out;
    std::vector<std::int16_t> block(2 * 256);
    while (mixer.busy() && out.size() / 2 < maxFrames) {
        mixer.render(block.data(), 256);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

// Frames whose left sample is not silent.
std::size_t soundingFrames(const std::vector<std::int16_t>& stereo) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < stereo.size(); i += 2)
        if (stereo[i] != 0) ++n;
    return n;
}

struct Recorder {
    std::mutex m;
    std::vector<WaveBuffer*> done;
    std::vector<std::thread::id> threads;
    DoneCallback callback() {
        return [this](WaveBuffer& b) {
            std::lock_guard<std::mutex> lock(m);
            done.push_back(&b);
            threads.push_back(std::this_thread::get_id());
        };
    }
    std::size_t count() {
        std::lock_guard<std::mutex> lock(m);
        return done.size();
    }
    bool waitFor(std::size_t n) {
        for (int i = 0; i < 4000 && count() < n; ++i) std::this_thread::sleep_for(5ms);
        return count() >= n;
    }
};

}  // namespace

TEST(Mixer, RenderedLengthFollowsLoopsRateAndResampling) {
    struct Case {
        const char* what;
        WaveFormat format;
        std::uint32_t bytes;
        std::uint32_t loops;
        std::uint32_t rate;
        std::size_t expectFrames;
    };
    const Case cases[] = {
        {"mono 16-bit once", WaveFormat::pcm(1, kRate, 16), 2 * 400, 1, Mixer::kUnityRate, 400},
        {"loop count counts plays in all", WaveFormat::pcm(1, kRate, 16), 2 * 400, 3, Mixer::kUnityRate, 1200},
        {"loop count 0 plays once", WaveFormat::pcm(1, kRate, 16), 2 * 400, 0, Mixer::kUnityRate, 400},
        {"rate 2.0 halves the length", WaveFormat::pcm(1, kRate, 16), 2 * 400, 1, 0x20000, 200},
        {"rate 0.5 doubles the length", WaveFormat::pcm(1, kRate, 16), 2 * 400, 1, 0x8000, 800},
        {"half the device rate doubles it", WaveFormat::pcm(1, kRate / 2, 16), 2 * 400, 1, Mixer::kUnityRate, 800},
        {"stereo 8-bit", WaveFormat::pcm(2, kRate, 8), 2 * 300, 2, Mixer::kUnityRate, 600},
        {"a partial trailing frame is not played", WaveFormat::pcm(2, kRate, 16), 4 * 100 + 3, 1, Mixer::kUnityRate, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Mixer mixer(kRate);
        Recorder rec;
        Mixer::VoiceId id = 0;
        ASSERT_EQ(mixer.open(c.format, rec.callback(), &id), WaveResult::Ok);
        // Loud data with no zero samples in either format.
        std::vector<std::uint8_t> data(c.bytes, c.format.bitsPerSample == 8 ? 0xF0 : 0x30);
        WaveBuffer b;
        b.data = data.data();
        b.length = c.bytes;
        b.loops = c.loops;
        ASSERT_EQ(mixer.setPlaybackRate(id, c.rate), WaveResult::Ok);
        ASSERT_EQ(mixer.prepare(id, b), WaveResult::Ok);
        ASSERT_EQ(mixer.write(id, b), WaveResult::Ok);
        auto out = renderAll(mixer);
        EXPECT_EQ(soundingFrames(out), c.expectFrames);
        ASSERT_TRUE(rec.waitFor(1));
        EXPECT_EQ(b.flags.load() & (buffer_flag::Done | buffer_flag::InQueue), buffer_flag::Done);
        EXPECT_EQ(mixer.close(id), WaveResult::Ok);
        EXPECT_EQ(rec.count(), 1u);
    }
}

TEST(Mixer, ConvertsFormatsAndAppliesVolumes) {
    struct Case {
        const char* what;
        WaveFormat format;
        std::vector<std::uint8_t> frame;  // one frame, repeated
        std::uint32_t voiceVolume;
        std::uint32_t master;
        std::int16_t left, right;
    };
    const Case cases[] = {
        {"16-bit mono to both sides", WaveFormat::pcm(1, kRate, 16), pcm16({16000}), Mixer::kFullVolume, Mixer::kFullVolume, 16000, 16000},
        {"16-bit stereo keeps its sides", WaveFormat::pcm(2, kRate, 16), pcm16({16000, -8000}), Mixer::kFullVolume, Mixer::kFullVolume, 16000, -8000},
        {"8-bit unsigned is centred on 128", WaveFormat::pcm(2, kRate, 8), {192, 64}, Mixer::kFullVolume, Mixer::kFullVolume, 16384, -16384},
        {"a level of 50 halves the amplitude", WaveFormat::pcm(1, kRate, 16), pcm16({16000}), 65535 * 50 / 100, Mixer::kFullVolume, 8000, 8000},
        {"the voice's low word drives every channel", WaveFormat::pcm(2, kRate, 16), pcm16({16000, 16000}), 0x0000FFFF, Mixer::kFullVolume, 16000, 16000},
        {"a silent voice", WaveFormat::pcm(1, kRate, 16), pcm16({16000}), 0, Mixer::kFullVolume, 0, 0},
        {"master volume per side", WaveFormat::pcm(1, kRate, 16), pcm16({16000}), Mixer::kFullVolume, 0x0000FFFF, 16000, 0},
        {"four channels fold to two", WaveFormat::pcm(4, kRate, 16), pcm16({1000, 2000, 3000, 4000}), Mixer::kFullVolume, Mixer::kFullVolume, 2000, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Mixer mixer(kRate);
        mixer.setMasterVolume(c.master);
        Mixer::VoiceId id = 0;
        ASSERT_EQ(mixer.open(c.format, nullptr, &id), WaveResult::Ok);
        ASSERT_EQ(mixer.setVolume(id, c.voiceVolume), WaveResult::Ok);
        std::vector<std::uint8_t> data;
        for (int i = 0; i < 64; ++i) data.insert(data.end(), c.frame.begin(), c.frame.end());
        WaveBuffer b;
        b.data = data.data();
        b.length = static_cast<std::uint32_t>(data.size());
        mixer.prepare(id, b);
        mixer.write(id, b);
        std::int16_t out[2 * 16];
        mixer.render(out, 16);
        EXPECT_NEAR(out[0], c.left, 1);
        EXPECT_NEAR(out[1], c.right, 1);
        std::uint32_t v = 0;
        mixer.getVolume(id, &v);
        EXPECT_EQ(v, c.voiceVolume);
        mixer.close(id);
    }
}

TEST(Mixer, VoicesMixAndClip) {
    Mixer mixer(kRate);
    auto loud = pcm16(std::vector<std::int16_t>(100, 30000));
    WaveBuffer a, b;
    Mixer::VoiceId va = 0, vb = 0;
    mixer.open(WaveFormat::pcm(1, kRate, 16), nullptr, &va);
    mixer.open(WaveFormat::pcm(1, kRate, 16), nullptr, &vb);
    for (auto [v, buf] : {std::pair{va, &a}, std::pair{vb, &b}}) {
        buf->data = loud.data();
        buf->length = static_cast<std::uint32_t>(loud.size());
        mixer.prepare(v, *buf);
        mixer.write(v, *buf);
    }
    std::int16_t out[2 * 8];
    mixer.render(out, 8);
    EXPECT_EQ(out[0], 32767);
    mixer.close(va);
    mixer.close(vb);
}

TEST(Mixer, PositionPauseAndRestart) {
    Mixer mixer(kRate);
    Mixer::VoiceId id = 0;
    ASSERT_EQ(mixer.open(WaveFormat::pcm(1, kRate, 16), nullptr, &id), WaveResult::Ok);
    std::vector<std::uint8_t> data(2 * kRate, 0x11);  // one second
    WaveBuffer b;
    b.data = data.data();
    b.length = static_cast<std::uint32_t>(data.size());
    b.loops = 2;
    mixer.prepare(id, b);
    mixer.write(id, b);
    std::vector<std::int16_t> out(2 * 800);
    mixer.render(out.data(), 800);  // 100 ms
    std::uint32_t ms = 0;
    ASSERT_EQ(mixer.getPositionMs(id, &ms), WaveResult::Ok);
    EXPECT_EQ(ms, 100u);
    mixer.pause(id);
    mixer.render(out.data(), 800);
    EXPECT_EQ(soundingFrames(out), 0u);
    mixer.getPositionMs(id, &ms);
    EXPECT_EQ(ms, 100u);
    mixer.restart(id);
    for (int i = 0; i < 12; ++i) mixer.render(out.data(), 800);  // through the first play into the loop
    mixer.getPositionMs(id, &ms);
    EXPECT_EQ(ms, 1300u);  // positions go on counting across loops
    mixer.reset(id);
    mixer.getPositionMs(id, &ms);
    EXPECT_EQ(ms, 0u);
    mixer.close(id);
}

TEST(Mixer, RefusesBadFormatsBuffersAndRates) {
    Mixer mixer(kRate);
    Mixer::VoiceId id = 0;
    WaveFormat f = WaveFormat::pcm(1, kRate, 16);
    WaveFormat bad[5] = {f, f, f, f, f};
    bad[0].formatTag = 3;
    bad[1].bitsPerSample = 24;
    bad[2].channels = 0;
    bad[3].blockAlign = 3;
    bad[4].samplesPerSec = 0;
    for (const WaveFormat& b : bad) EXPECT_EQ(mixer.open(b, nullptr, &id), WaveResult::BadFormat);

    ASSERT_EQ(mixer.open(f, nullptr, &id), WaveResult::Ok);
    WaveBuffer nullData;
    nullData.length = 10;
    EXPECT_EQ(mixer.prepare(id, nullData), WaveResult::InvalidParam);
    std::vector<std::uint8_t> data(100, 1);
    WaveBuffer b;
    b.data = data.data();
    b.length = 100;
    EXPECT_EQ(mixer.write(id, b), WaveResult::Unprepared);
    mixer.prepare(id, b);
    EXPECT_EQ(mixer.write(id, b), WaveResult::Ok);
    EXPECT_EQ(mixer.write(id, b), WaveResult::StillPlaying);
    EXPECT_EQ(mixer.unprepare(id, b), WaveResult::StillPlaying);
    EXPECT_EQ(mixer.setPlaybackRate(id, 0), WaveResult::InvalidParam);
    EXPECT_EQ(mixer.setPlaybackRate(id, Mixer::kMaxRate + 1), WaveResult::InvalidParam);
    mixer.reset(id);
    EXPECT_EQ(mixer.unprepare(id, b), WaveResult::Ok);
    EXPECT_EQ(mixer.close(id), WaveResult::Ok);
    EXPECT_EQ(mixer.close(id), WaveResult::InvalidHandle);
    EXPECT_EQ(mixer.write(id, b), WaveResult::InvalidHandle);
}

TEST(Mixer, ResetAndCloseCallBackSynchronouslyExactlyOnce) {
    Mixer mixer(kRate);
    Recorder rec;
    Mixer::VoiceId id = 0;
    mixer.open(WaveFormat::pcm(1, kRate, 16), rec.callback(), &id);
    std::vector<std::uint8_t> data(2000, 0x22);
    WaveBuffer b[3];
    for (WaveBuffer& x : b) {
        x.data = data.data();
        x.length = 2000;
        mixer.prepare(id, x);
        mixer.write(id, x);
    }
    // The first finishes in the mixer, the other two are still queued.
    std::vector<std::int16_t> out(2 * 1000);
    mixer.render(out.data(), 1000);
    ASSERT_TRUE(rec.waitFor(1));
    ASSERT_EQ(mixer.reset(id), WaveResult::Ok);
    ASSERT_EQ(rec.count(), 3u);  // before reset returned
    EXPECT_EQ(rec.done[0], &b[0]);
    EXPECT_EQ(rec.done[1], &b[1]);
    EXPECT_EQ(rec.done[2], &b[2]);
    EXPECT_EQ(rec.threads[1], std::this_thread::get_id());
    EXPECT_NE(rec.threads[0], std::this_thread::get_id());

    // Written again and closed while queued: called back inside close, then never.
    mixer.write(id, b[0]);
    mixer.write(id, b[1]);
    mixer.render(out.data(), 1000);  // b[0] done, possibly not yet called back
    ASSERT_EQ(mixer.close(id), WaveResult::Ok);
    EXPECT_EQ(rec.count(), 5u);
    mixer.render(out.data(), 1000);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(rec.count(), 5u);
}

TEST(Mixer, CallbacksRunOutsideTheDeviceLock) {
    // A callback that uses the mixer (another voice, and a render) would
    // deadlock if it ran under the lock.
    Mixer mixer(kRate);
    Mixer::VoiceId first = 0, second = 0;
    std::vector<std::uint8_t> data(200, 0x33);
    WaveBuffer next;
    next.data = data.data();
    next.length = 200;
    std::atomic<int> chained{0};
    mixer.open(WaveFormat::pcm(1, kRate, 16), nullptr, &second);
    mixer.prepare(second, next);
    mixer.open(WaveFormat::pcm(1, kRate, 16), [&](WaveBuffer&) {
        std::uint32_t ms;
        mixer.getPositionMs(second, &ms);
        if (mixer.write(second, next) == WaveResult::Ok) ++chained;
    }, &first);
    WaveBuffer b;
    b.data = data.data();
    b.length = 200;
    mixer.prepare(first, b);
    mixer.write(first, b);
    std::vector<std::int16_t> out(2 * 200);
    mixer.render(out.data(), 200);
    for (int i = 0; i < 4000 && chained == 0; ++i) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(chained.load(), 1);
    mixer.close(first);
    mixer.close(second);
}

TEST(Mixer, CloseWaitsForACallbackInProgress) {
    Mixer mixer(kRate);
    std::atomic<bool> inside{false}, finished{false};
    Mixer::VoiceId id = 0;
    mixer.open(WaveFormat::pcm(1, kRate, 16), [&](WaveBuffer&) {
        inside = true;
        std::this_thread::sleep_for(100ms);
        finished = true;
    }, &id);
    std::vector<std::uint8_t> data(20, 0x44);
    WaveBuffer b;
    b.data = data.data();
    b.length = 20;
    mixer.prepare(id, b);
    mixer.write(id, b);
    std::int16_t out[2 * 32];
    mixer.render(out, 32);
    while (!inside) std::this_thread::yield();
    mixer.close(id);
    EXPECT_TRUE(finished.load());
}

TEST(WaveOutHandle, WorksOnAGivenMixerAndAnswersInvalidHandleAfterClose) {
    Mixer mixer(kRate);
    Recorder rec;
    std::unique_ptr<WaveOut> out;
    ASSERT_EQ(WaveOut::open(mixer, WaveFormat::pcm(1, kRate, 16), rec.callback(), &out), WaveResult::Ok);
    std::vector<std::uint8_t> data(200, 0x55);
    WaveBuffer b;
    b.data = data.data();
    b.length = 200;
    EXPECT_EQ(out->prepare(b), WaveResult::Ok);
    EXPECT_EQ(out->write(b), WaveResult::Ok);
    EXPECT_EQ(out->setPlaybackRate(0x20000), WaveResult::Ok);
    std::uint32_t rate = 0;
    EXPECT_EQ(out->getPlaybackRate(&rate), WaveResult::Ok);
    EXPECT_EQ(rate, 0x20000u);
    EXPECT_EQ(out->close(), WaveResult::Ok);
    EXPECT_EQ(rec.count(), 1u);
    EXPECT_EQ(out->write(b), WaveResult::InvalidHandle);
    EXPECT_EQ(out->close(), WaveResult::InvalidHandle);
    EXPECT_EQ(mixer.voiceCount(), 0u);
}
