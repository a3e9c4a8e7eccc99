// The WAVE player on the real wave-out device, SDL's disk audio driver
// standing in for the sound card: the file it writes is what was heard.
// Loops times the sound's length, a level of 50 at half the amplitude, a
// muted start writes silence, rate 2.0 halves the length.
#include "media/wave_player.h"
#include "tests/media/media_fixture.h"

using namespace mediatest;

namespace {

struct Heard {
    std::size_t frames = 0;  // frames whose left sample is not silent
    int peak = 0;
};

enum class Setting { Plain, ThreeLoops, HalfLevel, Muted, DoubleRate };

}  // namespace

class WaveDiskTest : public MediaTest {
protected:
    // Plays the sound on a fresh device and measures the device's file.
    Heard play(Setting setting) {
        const char* file = std::getenv("SDL_DISKAUDIOFILE");
        EXPECT_NE(file, nullptr);
        if (!file) return {};
        std::remove(file);
        const Bytes sound = wav(1, 44100, 16, 4410, 12000);  // 100 ms at the device's rate
        auto* p = newObject<SoundPlayerWAVE>(sound.data(), sound.size());
        switch (setting) {
        case Setting::Plain: break;
        case Setting::ThreeLoops: p->setLoopCount(3); break;
        case Setting::HalfLevel: p->setLevel(50); break;
        case Setting::Muted: p->setMute(1); break;
        case Setting::DoubleRate:
            p->realize();
            p->setRate(200000);
            break;
        }
        p->start();
        EXPECT_EQ(p->getState(), setting == Setting::Muted ? 300 : 400);
        EXPECT_TRUE(eventually([&] { return p->getState() == 300; }));
        p->close();  // the last voice closes the device, which ends its file
        const Bytes bytes = readFile(file);
        Heard h;
        for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
            const auto left = static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8));
            if (left != 0) ++h.frames;
            h.peak = std::max(h.peak, std::abs(static_cast<int>(left)));
        }
        return h;
    }
};

TEST_F(WaveDiskTest, TheDeviceWritesWhatThePlayerAsksFor) {
    const Heard plain = play(Setting::Plain);
    EXPECT_EQ(plain.frames, 4410u);
    EXPECT_EQ(plain.peak, 12000);
    EXPECT_EQ(play(Setting::ThreeLoops).frames, 3u * 4410u);
    const Heard half = play(Setting::HalfLevel);
    EXPECT_EQ(half.frames, 4410u);
    EXPECT_NEAR(half.peak, 6000, 1);
    EXPECT_EQ(play(Setting::Muted).frames, 0u);
    EXPECT_NEAR(static_cast<double>(play(Setting::DoubleRate).frames), 2205.0, 1.0);
}
