// The media manager: which player a stream and a content type get, which
// interfaces and controls each player answers, the silent player, the
// supported types, and the audio clip played through the installed hooks.
#include "io/audioclip.h"
#include "media/dummy_player.h"
#include "media/manager.h"
#include "media/ogg_player.h"
#include "media/soundpump_player.h"
#include "media/wave_player.h"
#include "tests/media/media_fixture.h"

using namespace mediatest;

namespace {

using Player = javax_microedition_media_Player;

Bytes tagged(const char* tag, std::size_t size = 64) {
    Bytes b(size, 0x11);
    std::memcpy(b.data(), tag, std::min<std::size_t>(std::strlen(tag), size));
    return b;
}

// "dummy", "wave", "ogg" or "server:<type>" for a player, "null" for none.
std::string kindOf(Object* p) {
    if (!p) return "null";
    if (dynamic_cast<SoundPlayerOGG*>(p)) return "ogg";
    if (dynamic_cast<SoundPlayerWAVE*>(p)) return "wave";
    if (dynamic_cast<DummyPlayer*>(p)) return "dummy";
    if (dynamic_cast<SoundPumpPlayer*>(p)) {
        String* type = interfaceOf<Player>(p, media::kPlayerId)->getContentType();
        return "server:" + type->toUtf8();
    }
    return "other";
}

void closePlayer(Object* p) {
    if (auto* player = interfaceOf<Player>(p, media::kPlayerId)) player->close();
}

// A stream whose read fails.
class BrokenStream : public java_io_InputStream {
public:
    jint available() override { return 16; }
    jint read(ByteArray*, jint, jint) override {
        rt::throwNewDefault(cid::java_io_IOException);
        return -1;
    }
};

// A stream that delivers its bytes a few at a time.
class TrickleStream : public java_io_InputStream {
public:
    explicit TrickleStream(const Bytes* bytes) : m_bytes(bytes) {}
    jint available() override { return static_cast<jint>(m_bytes->size() - m_pos); }
    jint read(ByteArray* b, jint off, jint len) override {
        const jint n = std::min<jint>({len, 3, static_cast<jint>(m_bytes->size() - m_pos)});
        if (n <= 0) return -1;
        std::memcpy(b->data() + off, m_bytes->data() + m_pos, static_cast<std::size_t>(n));
        m_pos += static_cast<std::size_t>(n);
        return n;
    }
    const Bytes* m_bytes;
    std::size_t m_pos = 0;
};

}  // namespace

class ManagerTest : public MediaTest {};

TEST_F(ManagerTest, PicksThePlayerByContentTypeThenByFirstBytes) {
    struct Case {
        const char* type;  // null: no type
        Bytes bytes;
        const char* expected;
    };
    const Case cases[] = {
        // A type decides alone, compared whole and without regard to case.
        {"audio/x-wav", wav(1, 8000, 16, 10), "wave"},
        {"AUDIO/X-WAV", tagged("junk"), "wave"},
        {"audio/wav", wav(1, 8000, 16, 10), "dummy"},
        {"audio/ogg", tagged("junk"), "ogg"},
        {"audio/midi", tagged("RIFF"), "server:audio/midi"},
        {"Audio/AMR", tagged("#!AMR\n"), "server:audio/amr"},
        {"audio/mpeg", tagged("MThd"), "dummy"},
        {"audio/x-wa", wav(1, 8000, 16, 10), "dummy"},
        {"", wav(1, 8000, 16, 10), "dummy"},
        // An empty stream is silent whatever the type.
        {"audio/x-wav", {}, "dummy"},
        {nullptr, {}, "dummy"},
        // Without a type, the first four bytes.
        {nullptr, tagged("RIFF"), "wave"},
        {nullptr, tagged("RIFX"), "dummy"},
        {nullptr, tagged("OggS"), "ogg"},
        {nullptr, tagged("MThd"), "server:audio/midi"},
        {nullptr, tagged("RIF", 3), "dummy"},
        {nullptr, tagged("ID3\x03"), "dummy"},
        {nullptr, tagged("#!AMR\n"), "dummy"},
    };
    for (const Case& c : cases) {
        String* type = c.type ? String::fromLatin1(c.type) : nullptr;
        Object* p = javax_microedition_media_Manager::createPlayer(streamOf(c.bytes), type);
        EXPECT_EQ(kindOf(p), c.expected) << "type " << (c.type ? c.type : "(none)") << ", " << c.bytes.size()
                                         << " bytes";
        closePlayer(p);
    }
    EXPECT_EQ(javax_microedition_media_Manager::createPlayer(nullptr, String::fromLatin1("audio/x-wav")), nullptr);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(ManagerTest, ReadsEveryByteOfAStreamThatDeliversFewAtATime) {
    const Bytes sound = wav(1, 8000, 16, 100);
    Object* p = javax_microedition_media_Manager::createPlayer(newObject<TrickleStream>(&sound), nullptr);
    ASSERT_EQ(kindOf(p), "wave");
    auto* wave = static_cast<SoundPlayerWAVE*>(p);
    EXPECT_EQ(wave->parseSoundFileHeader(), 1);  // the whole header arrived
    EXPECT_EQ(wave->getDuration(), (sound.size() / 16) * 1000);
    wave->close();
}

TEST_F(ManagerTest, AStreamErrorPassesThroughAndMakesNoPlayer) {
    EXPECT_EQ(javax_microedition_media_Manager::createPlayer(newObject<BrokenStream>(), nullptr), nullptr);
    EXPECT_EQ(takeException(), cid::java_io_IOException);
}

TEST_F(ManagerTest, EachPlayerAnswersItsInterfacesAndControls) {
    Object* players[] = {
        newObject<DummyPlayer>(),
        newObject<SoundPlayerWAVE>(nullptr, 0),
        newObject<SoundPlayerOGG>(nullptr, 0),
        newObject<SoundPumpPlayer>(nullptr, 0, "audio/midi"),
    };
    const char* names[] = {"dummy", "wave", "ogg", "server"};
    const jint headerIds[] = {0, 102, 102, 102};
    // Interface ids 102, 99, 107, 105, 106 and one that no player has.
    const jint ids[] = {102, 99, 107, 105, 106, 98};
    const bool answers[][6] = {
        {true, true, true, true, true, false},
        {true, true, true, true, true, false},
        {true, true, true, true, true, false},
        {true, true, true, false, false, false},
    };
    const char* controls[] = {"VolumeControl", "volumecontrol", "RateControl", "TEMPOCONTROL",
                              "javax.microedition.media.control.VolumeControl", "Volume", ""};
    const bool controlAnswers[][7] = {
        {true, true, true, true, false, false, false},
        {true, true, true, true, false, false, false},
        {true, true, true, true, false, false, false},
        {true, true, false, false, false, false, false},
    };
    for (int p = 0; p < 4; ++p) {
        SCOPED_TRACE(names[p]);
        Object* player = players[p];
        EXPECT_EQ(player->classId(), headerIds[p]);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(player->getInterface(ids[i]) != nullptr, answers[p][i]) << ids[i];
        auto* face = interfaceOf<Player>(player, media::kPlayerId);
        ASSERT_NE(face, nullptr);
        // Controllable is the Player's own first two slots.
        EXPECT_EQ(player->getInterface(99), static_cast<javax_microedition_media_Controllable*>(face));
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(face->getControl(String::fromLatin1(controls[c])), controlAnswers[p][c] ? player : nullptr)
                << controls[c];
        EXPECT_EQ(face->getControl(nullptr), nullptr);
        EXPECT_EQ(face->getControls(), nullptr);
        face->close();
    }
}

TEST_F(ManagerTest, TheSilentPlayerWalksItsStatesAndAnswersFixedValues) {
    auto* dummy = newObject<DummyPlayer>();
    Player* p = interfaceOf<Player>(dummy, media::kPlayerId);
    EXPECT_EQ(p->getState(), 100);
    EXPECT_EQ(p->getContentType()->toUtf8(), "audio/dummy");
    p->start();
    EXPECT_EQ(p->getState(), 400);
    p->stop();
    EXPECT_EQ(p->getState(), 300);
    p->deallocate();
    EXPECT_EQ(p->getState(), 200);
    p->prefetch();
    EXPECT_EQ(p->getState(), 300);
    p->close();
    EXPECT_EQ(p->getState(), 0);
    p->realize();
    EXPECT_EQ(p->getState(), 200);
    EXPECT_EQ(p->getContentType()->toUtf8(), "audio/dummy");
    EXPECT_EQ(p->setMediaTime(5), -1);
    EXPECT_EQ(p->getMediaTime(), -1);
    EXPECT_EQ(p->getDuration(), -1);

    auto* volume = interfaceOf<javax_microedition_media_control_VolumeControl>(dummy, media::kVolumeControlId);
    EXPECT_EQ(volume->getLevel(), -1);
    EXPECT_EQ(volume->setLevel(50), 0);
    volume->setMute(1);
    EXPECT_FALSE(volume->isMuted());
    auto* rate = interfaceOf<javax_microedition_media_control_RateControl>(dummy, media::kRateControlId);
    EXPECT_EQ(rate->getRate(), 0);
    EXPECT_EQ(rate->setRate(200000), 0);
    EXPECT_EQ(rate->getMinRate(), 0);
    EXPECT_EQ(rate->getMaxRate(), 0);
    auto* tempo = interfaceOf<javax_microedition_media_control_TempoControl>(
        p->getControl(String::fromLatin1("TempoControl")), media::kTempoControlId);
    ASSERT_NE(tempo, nullptr);
    EXPECT_EQ(tempo->getTempo(), -1);
    EXPECT_EQ(tempo->setTempo(100000), -1);
    EXPECT_EQ(tempo->getRate(), 0);
    EXPECT_EQ(takeException(), 0);
}

TEST_F(ManagerTest, SupportedTypesAndProtocols) {
    ObjectArray* types = javax_microedition_media_Manager::getSupportedContentTypes(nullptr);
    ASSERT_EQ(types->length(), 4);
    const char* expected[] = {"audio/x-wav", "audio/ogg", "audio/midi", "audio/amr"};
    for (jint i = 0; i < 4; ++i) EXPECT_EQ(static_cast<String*>(ObjectArray::at(types, i))->toUtf8(), expected[i]);
    ObjectArray* protocols = javax_microedition_media_Manager::getSupportedProtocols(String::fromLatin1("audio/ogg"));
    ASSERT_EQ(protocols->length(), 1);
    EXPECT_EQ(static_cast<String*>(ObjectArray::at(protocols, 0))->toUtf8(), "file");
}

TEST_F(ManagerTest, AnAudioClipPlaysThroughTheInstalledHooks) {
    platform::audio::Mixer& mixer = useMixer(8000);
    media::registerMediaHooks();
    const Bytes sound = wav(1, 8000, 16, 400);
    Bytes framed(5, 0);  // the clip copies its range out of a larger array
    framed.insert(framed.end(), sound.begin(), sound.end());
    ByteArray* data = newByteArray(static_cast<jint>(framed.size()));
    std::memcpy(data->data(), framed.data(), framed.size());

    com_samsung_util_AudioClip* clip = bramble::io::newAudioClip(1, data, 5, static_cast<jint>(sound.size()));
    ASSERT_EQ(kindOf(clip->m_player), "wave");  // content type entry 200, "audio/x-wav"
    bramble::io::playAudioClip(clip, 2, 3);     // a loop count above 1 is set first
    EXPECT_EQ(renderUntilIdle(mixer).frames, 2u * 400u);
    auto* player = interfaceOf<Player>(clip->m_player, media::kPlayerId);
    EXPECT_TRUE(eventually([&] { return player->getState() == 300; }));
    clip->stop();
    player->close();
    EXPECT_EQ(takeException(), 0);
}
