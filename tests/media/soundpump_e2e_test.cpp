// The sound-server client against the real SoundPump program (its audio
// going to a fake sink): the test stands in for the game's window, starts
// the server, waits for its window as the game does, and drives a MIDI
// player through the game's play sequence, reading the server's states.
#include "media/manager.h"
#include "media/soundpump_player.h"
#include "platform/ipc/window_registry.h"
#include "tests/media/media_fixture.h"
#include "tests/platform/audio/sound_fixtures.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace mediatest;
using namespace std::chrono_literals;
namespace ipc = platform::ipc;

class SoundPumpEndToEnd : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        // The server serves only while the game's window exists.
        m_game = ipc::RegisteredWindow::create("TindrellClass", "Tindrell - Bramble Hollow Saga",
                                               [](const ipc::Message&) { return 0; });
        ASSERT_TRUE(m_game);
        char* argv[] = {const_cast<char*>("SoundPump.bin"), nullptr};
        ASSERT_EQ(posix_spawn(&m_server, SOUNDPUMP_BIN, nullptr, nullptr, argv, environ), 0);
    }
    void TearDown() override {
        if (m_server > 0) {
            ipc::sendMessage(media::kSoundServerWindow, media::kSoundServerWindow, ipc::Message::close());
            int status = 0;
            bool ended = false;
            for (int i = 0; i < 2000 && !ended; ++i) {
                ended = ::waitpid(m_server, &status, WNOHANG) == m_server;
                if (!ended) std::this_thread::sleep_for(5ms);
            }
            if (!ended) {
                ::kill(m_server, SIGKILL);
                ::waitpid(m_server, &status, 0);
            }
            EXPECT_TRUE(ended) << "the server did not end on close";
        }
        MediaTest::TearDown();
    }
    pid_t m_server = -1;
    std::unique_ptr<ipc::RegisteredWindow> m_game;
};

TEST_F(SoundPumpEndToEnd, AMidiPlayerPlaysThroughTheServer) {
    ASSERT_TRUE(media::waitForSoundServer(20s));
    SoundPumpPlayer::setNextIdForTesting(0);
    Object* object = javax_microedition_media_Manager::createPlayer(streamOf(fixtures::midi(96)), nullptr);
    auto* player = interfaceOf<javax_microedition_media_Player>(object, media::kPlayerId);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->getContentType()->toUtf8(), "audio/midi");
    EXPECT_TRUE(std::filesystem::exists(deviceRoot() + "/temp/sound1.mid"));

    // The server answers 600 (stopped) once its graph for the file is ready;
    // a busy machine may take a while over the sound font.
    jint ready = 0;
    for (int i = 0; i < 2000 && (ready = player->getState()) != 600; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(ready, 600);

    // The game's sequence for one play.
    player->setLoopCount(2);
    EXPECT_TRUE(m_log.contains("loopcount sent, 2"));
    auto* volume = interfaceOf<javax_microedition_media_control_VolumeControl>(
        player->getControl(String::fromLatin1("VolumeControl")), media::kVolumeControlId);
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->setLevel(80), 0);
    EXPECT_EQ(player->setMediaTime(0), 0);  // the server rewinds
    player->start();
    EXPECT_EQ(player->getState(), 400);

    player->stop();
    EXPECT_EQ(player->getState(), 600);
    player->start();
    EXPECT_EQ(player->getState(), 400);
    static_cast<SoundPumpPlayer*>(object)->pause();
    EXPECT_EQ(player->getState(), 500);
    EXPECT_EQ(player->getDuration(), 0);  // the server keeps no duration
    EXPECT_FALSE(volume->isMuted());      // nor a volume

    player->close();
    EXPECT_EQ(player->getState(), 0);
    EXPECT_FALSE(std::filesystem::exists(deviceRoot() + "/temp/sound1.mid"));
    // The server has closed the sound: it refuses further commands for it.
    EXPECT_EQ(ipc::sendMessage(media::kSoundServerWindow, media::kSoundServerWindow,
                               ipc::Message::user(0, media::kMsgGetState), 20s)
                  .result,
              -1);
    EXPECT_FALSE(m_log.contains("ERROR"));
}
