// The WAVE player on an offline mixer: its states against the device's done
// callback, what it writes (loops times the sound, level 50 at half the
// amplitude from the first play, silence when muted, half the length at
// rate 2.0), the header rules (duration formula, RIFX, data size cut to
// the bytes present) and its clean-up on close and collection.
#include "media/wave_player.h"
#include "tests/media/media_fixture.h"

#include <atomic>

using namespace mediatest;

namespace {

struct WavePlayerTest : MediaTest {
    static SoundPlayerWAVE* wave(const Bytes& b) { return newObject<SoundPlayerWAVE>(b.data(), b.size()); }
    static bool silent(const Rendered& r) {
        return std::all_of(r.left.begin(), r.left.end(), [](std::int16_t s) { return s == 0; });
    }
};

}  // namespace

TEST_F(WavePlayerTest, StatesFollowTheOperationsAndTheDevice) {
    platform::audio::Mixer& mixer = useMixer(8000);
    SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 800));
    EXPECT_EQ(p->getState(), 100);
    EXPECT_EQ(p->getContentType(), nullptr);
    EXPECT_EQ(takeException(), cid::java_lang_IllegalStateException);
    p->realize();
    EXPECT_EQ(p->getState(), 200);
    EXPECT_EQ(p->getContentType()->toUtf8(), "audio/x-wav");
    p->prefetch();
    EXPECT_EQ(p->getState(), 300);
    p->start();
    EXPECT_EQ(p->getState(), 400);
    EXPECT_EQ(renderUntilIdle(mixer).frames, 800u);
    EXPECT_TRUE(eventually([&] { return p->getState() == 300; }));  // the done callback

    p->start();  // the same prepared buffer again
    EXPECT_EQ(p->getState(), 400);
    p->stop();   // the reset calls the buffer back before it returns
    EXPECT_EQ(p->getState(), 300);
    EXPECT_FALSE(mixer.busy());
    p->deallocate();
    EXPECT_EQ(p->getState(), 200);
    p->start();  // prefetches again
    EXPECT_EQ(p->getState(), 400);
    p->close();
    EXPECT_EQ(p->getState(), 0);
    EXPECT_EQ(mixer.voiceCount(), 0u);
    EXPECT_EQ(p->getDuration(), 0);
    EXPECT_EQ(takeException(), cid::java_lang_IllegalStateException);
    p->getMediaTime();
    EXPECT_EQ(takeException(), cid::java_lang_IllegalStateException);
    p->getContentType();
    EXPECT_EQ(takeException(), cid::java_lang_IllegalStateException);
    p->close();
    p->start();
    EXPECT_EQ(p->getState(), 0);
}

TEST_F(WavePlayerTest, TheLoopCountTakesEffectAtRealize) {
    useMixer(8000);
    const Bytes sound = wav(1, 8000, 16, 100);
    struct Case {
        bool set;
        jint count;
        std::uint32_t header;
    } cases[] = {{false, 0, 0}, {true, -1, 0x7FFFFFFF}, {true, 0, 1}, {true, 1, 1}, {true, 3, 3}};
    for (const Case& c : cases) {
        SoundPlayerWAVE* p = wave(sound);
        if (c.set) p->setLoopCount(c.count);
        p->realize();
        EXPECT_EQ(p->headerLoopCount(), c.header) << c.count;
        EXPECT_EQ(p->storedLoopCount(), 1);
        p->setLoopCount(7);  // too late: changes nothing until the player is made anew
        p->start();
        EXPECT_EQ(p->headerLoopCount(), c.header);
        p->close();
    }
}

TEST_F(WavePlayerTest, WrittenAudioIsLoopsTimesTheSound) {
    platform::audio::Mixer& mixer = useMixer(8000);
    for (jint loops : {1, 3}) {
        SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 500));
        p->setLoopCount(loops);
        p->start();
        const Rendered r = renderUntilIdle(mixer);
        EXPECT_EQ(r.frames, 500u * static_cast<std::size_t>(loops));
        EXPECT_EQ(r.peak, 8000);
        EXPECT_TRUE(eventually([&] { return p->getState() == 300; }));
        p->close();
    }
    // 8-bit stereo: the length counts frames, the level is the sample's.
    SoundPlayerWAVE* p = wave(wav(2, 8000, 8, 300, 64));
    p->start();
    const Rendered r = renderUntilIdle(mixer);
    EXPECT_EQ(r.frames, 300u);
    EXPECT_EQ(r.peak, 16384);
    p->close();
}

TEST_F(WavePlayerTest, TheFirstPlayUsesTheRequestedLevelAndFiftyHalvesTheAmplitude) {
    platform::audio::Mixer& mixer = useMixer(8000);
    const Bytes sound = wav(1, 8000, 16, 200, 12000);

    SoundPlayerWAVE* full = wave(sound);
    full->start();
    const int fullPeak = renderUntilIdle(mixer).peak;
    EXPECT_EQ(fullPeak, 12000);
    full->close();

    // The game sets the level on a new player, then starts it.
    SoundPlayerWAVE* half = wave(sound);
    EXPECT_EQ(half->setLevel(50), 100);
    half->start();
    EXPECT_EQ(half->getLevel(), 50);
    EXPECT_NEAR(renderUntilIdle(mixer).peak, fullPeak / 2, 1);

    // While it plays, a new level applies at once.
    EXPECT_TRUE(eventually([&] { return half->getState() == 300; }));
    half->setLevel(25);
    half->start();
    EXPECT_NEAR(renderUntilIdle(mixer).peak, fullPeak / 4, 1);
    EXPECT_EQ(half->setLevel(150), 25);
    EXPECT_EQ(half->getLevel(), 100);
    EXPECT_EQ(half->setLevel(-5), 100);
    EXPECT_EQ(half->getLevel(), 0);
    half->close();
}

TEST_F(WavePlayerTest, MutedStartsWriteSilence) {
    platform::audio::Mixer& mixer = useMixer(8000);
    SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 300));
    p->setMute(1);
    EXPECT_TRUE(p->isMuted());
    p->start();
    EXPECT_EQ(p->getState(), 300);
    EXPECT_FALSE(mixer.busy());
    Rendered quiet;
    std::int16_t frame[2];
    for (int i = 0; i < 300; ++i) {
        mixer.render(frame, 1);
        quiet.left.push_back(frame[0]);
    }
    EXPECT_TRUE(silent(quiet));

    p->setMute(0);
    p->start();
    EXPECT_EQ(p->getState(), 400);
    EXPECT_EQ(renderUntilIdle(mixer).frames, 300u);
    p->close();
}

TEST_F(WavePlayerTest, RateTwoHalvesTheLength) {
    platform::audio::Mixer& mixer = useMixer(8000);
    SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 800));
    EXPECT_EQ(p->getRate(), -1);  // no voice yet
    EXPECT_EQ(p->setRate(200000), -1);
    EXPECT_EQ(p->getMinRate(), 50000);
    EXPECT_EQ(p->getMaxRate(), 200000);
    p->realize();
    EXPECT_EQ(p->getRate(), 100000);
    EXPECT_EQ(p->setRate(-1), -1);
    EXPECT_EQ(p->setRate(300000), 100000);  // clamped to 2.0; the rate before is answered
    EXPECT_EQ(p->getRate(), 200000);
    EXPECT_EQ(p->getTempo(), 200000);
    p->start();
    EXPECT_EQ(renderUntilIdle(mixer).frames, 400u);
    EXPECT_TRUE(eventually([&] { return p->getState() == 300; }));

    EXPECT_EQ(p->setTempo(10000), 200000);  // clamped to 0.5
    EXPECT_EQ(p->getRate(), 50000);
    p->start();
    EXPECT_EQ(renderUntilIdle(mixer).frames, 1600u);
    p->close();
}

TEST_F(WavePlayerTest, DurationFollowsTheFileLengthFormula) {
    struct Case {
        Bytes file;
        jlong duration;
    } cases[] = {
        // 16-bit mono at 22050 Hz, 44,100 bytes in all: 44100 / 44 = 1002 ms.
        {wav(1, 22050, 16, (44100 - 44) / 2), 1002000},
        // 8-bit at 8000 Hz: 8 bytes a millisecond over the whole file.
        {wav(1, 8000, 8, 956), 125000},
        // The channel count does not enter.
        {wav(2, 44100, 16, 1000), (4044 / 88) * 1000},
        // Below 1000 samples per second the formula has no divisor.
        {wav(1, 999, 16, 100), 0},
    };
    for (const Case& c : cases) {
        SoundPlayerWAVE* p = wave(c.file);
        EXPECT_EQ(p->parseSoundFileHeader(), 1);
        EXPECT_EQ(p->getDuration(), c.duration) << c.file.size() << " bytes";
        p->close();
    }
}

TEST_F(WavePlayerTest, DamagedHeadersLeaveASilentPlayer) {
    platform::audio::Mixer& mixer = useMixer(8000);
    Bytes rifx = wav(1, 8000, 16, 100);
    rifx[3] = 'X';
    Bytes noData = wav(1, 8000, 16, 100);
    noData[40] = noData[41] = noData[42] = noData[43] = 0;
    Bytes noChannels = wav(1, 8000, 16, 100);
    noChannels[22] = 0;
    Bytes twelveBits = wav(1, 8000, 16, 100);
    twelveBits[34] = 12;
    Bytes shortFile = wav(1, 8000, 16, 100);
    shortFile.resize(43);
    for (const Bytes* b : {&rifx, &noData, &noChannels, &twelveBits, &shortFile}) {
        SoundPlayerWAVE* p = wave(*b);
        p->start();
        EXPECT_EQ(p->getState(), 100);
        EXPECT_FALSE(mixer.busy());
        p->start();  // the file's copy is gone or unusable: still nothing
        EXPECT_EQ(p->getState(), 100);
        p->close();
    }
    EXPECT_TRUE(m_log.contains("m_pcmDataLength <= 0"));
    EXPECT_TRUE(m_log.contains("readSoundFilePcmData returned -1"));
    EXPECT_TRUE(m_log.contains("refused the sound"));
    EXPECT_EQ(mixer.voiceCount(), 0u);
}

TEST_F(WavePlayerTest, TheDataSizeIsCutToTheBytesPresent) {
    platform::audio::Mixer& mixer = useMixer(8000);
    Bytes file = wav(1, 8000, 16, 50);  // 100 bytes of data
    file[40] = 0x40;                     // the header claims 1,000,000 and more
    file[41] = 0x42;
    file[42] = 0x0F;
    file[43] = 0x00;
    SoundPlayerWAVE* p = wave(file);
    p->start();
    EXPECT_EQ(p->getState(), 400);
    EXPECT_EQ(renderUntilIdle(mixer).frames, 50u);
    p->close();
}

TEST_F(WavePlayerTest, TheDoneCallbackNeverLeavesAFinishedSoundStarted) {
    // The device renders without pause on its own thread while the game
    // thread starts and stops a sound so short that its done callback races
    // every write.
    platform::audio::Mixer& mixer = useMixer(8000);
    SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 2));
    std::atomic<bool> running{true};
    std::thread device([&] {
        std::int16_t block[2 * 16];
        while (running) mixer.render(block, 16);
    });
    for (int i = 0; i < 3000; ++i) {
        p->start();
        if (i % 3 == 0) p->stop();
    }
    EXPECT_TRUE(eventually([&] { return !mixer.busy() && p->getState() == 300; })) << p->getState();
    running = false;
    device.join();
    EXPECT_FALSE(m_log.contains("did not take the buffer"));
    p->close();
}

TEST_F(WavePlayerTest, CloseEndsAPlayingVoiceBeforeItsDataGoes) {
    platform::audio::Mixer& mixer = useMixer(8000);
    SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 4000));
    p->setLoopCount(-1);
    p->start();
    std::int16_t block[2 * 100];
    mixer.render(block, 100);
    EXPECT_TRUE(mixer.busy());
    p->close();
    EXPECT_EQ(p->getState(), 0);
    EXPECT_EQ(mixer.voiceCount(), 0u);
    mixer.render(block, 100);  // nothing of the player is read any more
    EXPECT_EQ(block[0], 0);
}

TEST_F(WavePlayerTest, CollectedPlayersCloseTheirVoices) {
    platform::audio::Mixer& mixer = useMixer(8000);
    static const Bytes sound = wav(1, 8000, 16, 4000);
    runOnJavaThread([](void*) {
        for (int i = 0; i < 8; ++i) {
            auto* p = newObject<SoundPlayerWAVE>(sound.data(), sound.size());
            p->setLoopCount(-1);
            p->start();
        }
    });
    EXPECT_EQ(mixer.voiceCount(), 8u);
    scrubStack();
    Application::instance()->objects().gc(ObjectManager::kForced);
    EXPECT_LE(mixer.voiceCount(), 2u);  // a stale stack word may keep the odd player
}

TEST_F(WavePlayerTest, MediaTimeIsThePositionOfTheVoice) {
    platform::audio::Mixer& mixer = useMixer(8000);
    SoundPlayerWAVE* p = wave(wav(1, 8000, 16, 8000));
    EXPECT_EQ(p->getMediaTime(), -1);  // no voice yet
    p->start();
    std::int16_t block[2 * 400];
    for (int i = 0; i < 10; ++i) mixer.render(block, 400);
    EXPECT_EQ(p->getMediaTime(), 500000);
    EXPECT_EQ(p->setMediaTime(5), 5);
    EXPECT_TRUE(m_log.contains("WARNING: setMediaTime(long64 now) not implemented for now > 0"));
    EXPECT_EQ(p->setMediaTime(0), 0);
    EXPECT_EQ(p->getState(), 400);
    p->close();
}
