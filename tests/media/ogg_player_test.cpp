// The Ogg Vorbis player on an offline mixer, over streams encoded at test
// time by GStreamer's Vorbis encoder: the decoded format and duration, what
// it writes (loops, level, rate), the temporary file named by the count of
// live Ogg players and never left behind, and damaged streams.
#include "media/ogg_player.h"
#include "tests/media/media_fixture.h"

using namespace mediatest;

namespace {

// 2.5 s of stereo at 44100 Hz, and 0.25 s of mono at 8000 Hz.
const Bytes& stereoOgg() {
    static const Bytes b = encodeOgg(2, 44100, 11025, 10);
    return b;
}
const Bytes& monoOgg() {
    static const Bytes b = encodeOgg(1, 8000, 2000, 1);
    return b;
}

struct OggPlayerTest : MediaTest {
    void SetUp() override {
        MediaTest::SetUp();
        if (stereoOgg().empty() || monoOgg().empty()) GTEST_SKIP() << "GStreamer's Vorbis encoder is not installed";
        ASSERT_EQ(SoundPlayerOGG::liveCount(), 0);
    }
    static SoundPlayerOGG* ogg(const Bytes& b) { return newObject<SoundPlayerOGG>(b.data(), b.size()); }
    static void block(const std::string& name) { std::filesystem::create_directories(deviceRoot() + "/temp/" + name); }
    static void unblock(const std::string& name) { std::filesystem::remove(deviceRoot() + "/temp/" + name); }
};

}  // namespace

TEST_F(OggPlayerTest, DecodesToSixteenBitPcmOfTheStreamsFormat) {
    useMixer(44100);
    SoundPlayerOGG* p = ogg(stereoOgg());
    EXPECT_EQ(p->getContentType(), nullptr);
    EXPECT_EQ(takeException(), cid::java_lang_IllegalStateException);
    p->realize();
    ASSERT_EQ(p->getState(), 200);
    const platform::audio::WaveFormat f = p->waveFormat();
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSec, 44100u);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.avgBytesPerSec, 176400u);
    EXPECT_EQ(p->getDuration(), 2500000);
    EXPECT_EQ(p->pcmDataLength(), 110250u * 4u);
    EXPECT_EQ(p->getContentType()->toUtf8(), "audio/ogg");
    EXPECT_EQ(tempFiles(), std::vector<std::string>{});  // decoding is over: no file is left
    p->close();
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 0);
}

TEST_F(OggPlayerTest, WrittenAudioFollowsLoopsLevelAndRate) {
    platform::audio::Mixer& mixer = useMixer(8000);
    auto playOnce = [&](jint loops, jint level, jint rate) {
        SoundPlayerOGG* p = ogg(monoOgg());
        p->setLoopCount(loops);
        p->setLevel(level);
        p->realize();
        if (rate) p->setRate(rate);
        p->start();
        EXPECT_EQ(p->getState(), 400);
        const Rendered r = renderUntilIdle(mixer);
        EXPECT_TRUE(eventually([&] { return p->getState() == 300; }));
        EXPECT_EQ(p->pcmDataLength(), 2000u * 2u);
        p->close();
        return r;
    };
    const Rendered once = playOnce(1, 100, 0);
    EXPECT_EQ(once.frames, 2000u);
    EXPECT_GT(once.peak, 8000);
    EXPECT_EQ(playOnce(3, 100, 0).frames, 3u * 2000u);
    EXPECT_NEAR(playOnce(1, 50, 0).peak, once.peak / 2.0, 1.0);
    EXPECT_NEAR(static_cast<double>(playOnce(1, 100, 200000).frames), 1000.0, 1.0);
}

TEST_F(OggPlayerTest, TheTemporaryFileIsNumberedByTheLiveOggPlayers) {
    useMixer(8000);
    SoundPlayerOGG* first = ogg(monoOgg());
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 1);

    // A file that cannot be written is logged and skipped; realize writes
    // it again later under the number then current.
    block("sound1.ogg");
    first->realize();
    EXPECT_EQ(first->getState(), 100);
    EXPECT_TRUE(m_log.contains("cannot write the temporary file \"\\temp\\sound1.ogg\""));
    unblock("sound1.ogg");
    first->realize();
    EXPECT_EQ(first->getState(), 200);

    SoundPlayerOGG* second = ogg(monoOgg());
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 2);
    block("sound2.ogg");
    second->realize();
    EXPECT_EQ(second->getState(), 100);
    EXPECT_TRUE(m_log.contains("\"\\temp\\sound2.ogg\""));
    unblock("sound2.ogg");

    first->close();
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 1);
    block("sound2.ogg");  // the number is 1 again, so this does not stand in the way
    second->realize();
    EXPECT_EQ(second->getState(), 200);
    unblock("sound2.ogg");
    second->close();
    second->close();
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 0);
    EXPECT_EQ(tempFiles(), std::vector<std::string>{});
}

TEST_F(OggPlayerTest, DamagedStreamsLeaveNoFileAndNoCrash) {
    platform::audio::Mixer& mixer = useMixer(44100);
    Bytes junk = {'O', 'g', 'g', 'S'};
    junk.resize(3000, 0x5A);
    SoundPlayerOGG* p = ogg(junk);
    p->start();
    EXPECT_EQ(p->getState(), 100);
    EXPECT_TRUE(m_log.contains("not an Ogg Vorbis stream"));
    EXPECT_EQ(tempFiles(), std::vector<std::string>{});
    p->close();

    const Bytes& whole = stereoOgg();
    const std::uint32_t fullLength = 110250u * 4u;
    // Cut short: what decodes before the cut plays.
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    p = ogg(cut);
    p->realize();
    if (p->getState() == 200) {
        EXPECT_GT(p->pcmDataLength(), 0u);
        EXPECT_LT(p->pcmDataLength(), fullLength);
        p->start();
        EXPECT_GT(renderUntilIdle(mixer).frames, 0u);
    }
    p->close();
    // Damaged in the middle: decoding ends or skips there, never overruns.
    for (std::size_t at : {whole.size() / 3, whole.size() / 2, whole.size() - 200}) {
        Bytes damaged = whole;
        for (std::size_t i = at; i < at + 64 && i < damaged.size(); ++i) damaged[i] ^= 0xA5;
        p = ogg(damaged);
        p->realize();
        EXPECT_LE(p->pcmDataLength(), fullLength + 4096u);
        p->close();
    }
    EXPECT_EQ(tempFiles(), std::vector<std::string>{});
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 0);
}

TEST_F(OggPlayerTest, CollectedPlayersLeaveTheLiveCount) {
    useMixer(8000);
    runOnJavaThread([](void*) {
        for (int i = 0; i < 6; ++i) {
            auto* p = newObject<SoundPlayerOGG>(monoOgg().data(), monoOgg().size());
            p->realize();
        }
    });
    EXPECT_EQ(SoundPlayerOGG::liveCount(), 6);
    scrubStack();
    Application::instance()->objects().gc(ObjectManager::kForced);
    EXPECT_LE(SoundPlayerOGG::liveCount(), 2);  // a stale stack word may keep the odd player
    EXPECT_EQ(m_mixer->voiceCount(), static_cast<std::size_t>(SoundPlayerOGG::liveCount()));
}
