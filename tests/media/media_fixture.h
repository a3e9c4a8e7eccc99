// Shared fixture of the media tests: a fresh application per test with a
// small string pool, streams over bytes, sound files made at test time
// (WAVE synthesised, Ogg Vorbis encoded by GStreamer's Vorbis encoder), and
// an offline mixer that renders a player's voice frame by frame.
#pragma once

#include "javalib/inputstreams.h"
#include "media/voice_device.h"
#include "platform/audio/mixer.h"
#include "runtime/runtime.h"
#include "tests/runtime/fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace mediatest {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
inline void put32(Bytes& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A canonical 44-byte-header WAVE file of `frames` frames, every sample at
// `level` (16-bit signed, or 8-bit unsigned around 128).
inline Bytes wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint32_t frames,
                 int level = 8000) {
    const std::uint32_t align = channels * bits / 8;
    const std::uint32_t data = frames * align;
    Bytes v = {'R', 'I', 'F', 'F'};
    put32(v, 36 + data);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(v, 16);
    put16(v, 1);
    put16(v, channels);
    put32(v, rate);
    put32(v, rate * align);
    put16(v, align);
    put16(v, bits);
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    put32(v, data);
    for (std::uint32_t i = 0; i < frames * channels; ++i) {
        if (bits == 8)
            v.push_back(static_cast<std::uint8_t>(128 + level));
        else
            put16(v, static_cast<std::uint16_t>(static_cast<std::int16_t>(level)));
    }
    return v;
}

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Ogg Vorbis of a sine tone, `frames` frames exactly, encoded by GStreamer's
// Vorbis encoder; empty when the encoder is missing.
inline Bytes encodeOgg(std::uint16_t channels, std::uint32_t rate, std::uint32_t framesPerBuffer, int buffers) {
    const std::string path = ::testing::TempDir() + "media-" + std::to_string(::getpid()) + "-" +
                             std::to_string(channels) + "-" + std::to_string(rate) + "-" +
                             std::to_string(framesPerBuffer * buffers) + ".ogg";
    const std::string cmd = "gst-launch-1.0 -q audiotestsrc wave=sine volume=0.5 num-buffers=" + std::to_string(buffers) +
                            " samplesperbuffer=" + std::to_string(framesPerBuffer) + " ! audio/x-raw,rate=" +
                            std::to_string(rate) + ",channels=" + std::to_string(channels) +
                            " ! audioconvert ! vorbisenc ! oggmux ! filesink location='" + path + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return {};
    Bytes bytes = readFile(path);
    std::remove(path.c_str());
    return bytes;
}

// The device folder of this test program (BRAMBLE_DEVICE_ROOT).
inline std::string deviceRoot() {
    const char* root = std::getenv("BRAMBLE_DEVICE_ROOT");
    return root ? root : "";
}

// Names in the device's "\temp" folder.
inline std::vector<std::string> tempFiles() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(deviceRoot() + "/temp", ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Polls `pred` for up to about five seconds.
template <typename P>
bool eventually(P pred) {
    for (int i = 0; i < 5000; ++i) {
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
}

// Overwrites stack below the caller, so that stale words of earlier calls
// do not keep garbage alive for the conservative stack scan.
[[gnu::noinline]] inline void scrubStack() {
    volatile char junk[16384];
    for (std::size_t i = 0; i < sizeof junk; ++i) junk[i] = 0;
}

// What a voice played: frames rendered while the mixer was busy, and the
// left channel's samples.
struct Rendered {
    std::size_t frames = 0;
    int peak = 0;
    std::vector<std::int16_t> left;
};

// Renders one frame at a time until nothing is queued (at most `limit`).
inline Rendered renderUntilIdle(platform::audio::Mixer& mixer, std::size_t limit = 4000000) {
    Rendered r;
    std::int16_t frame[2];
    while (mixer.busy() && r.frames < limit) {
        mixer.render(frame, 1);
        ++r.frames;
        r.left.push_back(frame[0]);
        r.peak = std::max(r.peak, std::abs(static_cast<int>(frame[0])));
    }
    return r;
}

class MediaTest : public testing::Test {
protected:
    void SetUp() override {
        Application::Config config;
        config.objectHeapSize = 1 << 20;
        config.dataHeapSize = 8 << 20;
        config.statics = &m_noStatics;
        config.loadConstants = [](StaticClass& statics) {
            // Entry 73 names the volume control; 200 is the audio clip's content type.
            ObjectArray* pool = newObjectArray(cid::String, 206);
            statics.m_stringPool = pool;
            for (jint i = 0; i < pool->length(); ++i)
                ObjectArray::set(pool, i, i == 73 ? String::fromLatin1("VolumeControl")
                                          : i == 200 ? String::fromLatin1("audio/x-wav")
                                                     : String::empty());
        };
        Application::init(config);
    }
    void TearDown() override {
        media::useMixerForVoices(nullptr);
        Application::clearPendingException();
        if (Application::instance()) Application::instance()->close();
    }

    // A byte-array stream over the bytes.
    static java_io_ByteArrayInputStream* streamOf(const Bytes& bytes) {
        ByteArray* a = newByteArray(static_cast<jint>(bytes.size()));
        if (!bytes.empty()) std::memcpy(a->data(), bytes.data(), bytes.size());
        return newObject<java_io_ByteArrayInputStream>(a);
    }

    // The pending exception's class id (0 for none), cleared.
    static jint takeException() {
        Object* e = Application::pendingException();
        Application::clearPendingException();
        return e ? e->classId() : 0;
    }

    // Voices of players realized from here on open on an offline mixer of
    // this output rate (kept until after the application has closed).
    platform::audio::Mixer& useMixer(std::uint32_t rate) {
        m_mixer = std::make_unique<platform::audio::Mixer>(rate);
        media::useMixerForVoices(m_mixer.get());
        return *m_mixer;
    }

    LogCapture m_log;
    std::vector<const StaticsContribution*> m_noStatics;
    std::unique_ptr<platform::audio::Mixer> m_mixer;
};

}  // namespace mediatest
