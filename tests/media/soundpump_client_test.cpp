// The sound server's client against a fake server: a window registered as
// "RavitSoundPump" in the window registry that records every message and
// answers as a row asks. The main table holds (operation, state) ->
// (messages sent, new state, answer); further tests cover ids and files,
// the silent fall-back without a server, and the wire format.
#include "media/manager.h"
#include "media/soundpump_player.h"
#include "platform/ipc/window_registry.h"
#include "tests/media/media_fixture.h"

#include <functional>
#include <map>
#include <mutex>

using namespace mediatest;
using namespace std::chrono_literals;
namespace ipc = platform::ipc;

namespace {

std::string describe(const ipc::Message& m) {
    char text[256];
    if (m.kind == ipc::MessageKind::User) {
        std::snprintf(text, sizeof text, "user w=%llu l=%lld", static_cast<unsigned long long>(m.wParam),
                      static_cast<long long>(m.lParam));
        return text;
    }
    if (m.kind != ipc::MessageKind::CopyData) return "other";
    if (m.data.size() != media::kCommandRecordBytes) return "copy of " + std::to_string(m.data.size()) + " bytes";
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(m.data[at] | (m.data[at + 1] << 8) | (m.data[at + 2] << 16) |
                                          (static_cast<std::uint32_t>(m.data[at + 3]) << 24));
    };
    std::string path;
    for (std::size_t i = 8; i + 1 < m.data.size(); i += 2) {
        const unsigned unit = m.data[i] | (m.data[i + 1] << 8);
        if (unit == 0) break;
        path += static_cast<char>(unit);
    }
    std::snprintf(text, sizeof text, "copy w=%llu d=%llu cmd=%u arg=%d path=%s",
                  static_cast<unsigned long long>(m.wParam), static_cast<unsigned long long>(m.dwData), u32(0),
                  static_cast<std::int32_t>(u32(4)), path.c_str());
    return text;
}

// Answers: by user sub-command (lParam) and by copy-data command; 0 otherwise.
struct Answers {
    std::map<std::int64_t, std::int64_t> user;
    std::map<std::uint32_t, std::int64_t> copy;
};

class FakeServer {
public:
    FakeServer() {
        m_window = ipc::RegisteredWindow::create(media::kSoundServerWindow, media::kSoundServerWindow,
                                                 [this](const ipc::Message& m) { return handle(m); });
    }
    bool registered() const { return m_window != nullptr; }
    void answer(Answers a) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_answers = std::move(a);
    }
    std::vector<std::string> take() {
        std::lock_guard<std::mutex> lock(m_lock);
        return std::exchange(m_sent, {});
    }

private:
    std::int64_t handle(const ipc::Message& m) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_sent.push_back(describe(m));
        if (m.kind == ipc::MessageKind::User) {
            auto it = m_answers.user.find(m.lParam);
            return it == m_answers.user.end() ? 0 : it->second;
        }
        if (m.kind == ipc::MessageKind::CopyData && m.data.size() >= 4) {
            auto it = m_answers.copy.find(m.data[0]);
            return it == m_answers.copy.end() ? 0 : it->second;
        }
        return 0;
    }

    std::mutex m_lock;
    Answers m_answers;
    std::vector<std::string> m_sent;
    std::unique_ptr<ipc::RegisteredWindow> m_window;
};

const Bytes kMidi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};

std::string hostPath(const std::string& name) { return deviceRoot() + "/temp/" + name; }

bool exists(const std::string& name) { return std::filesystem::exists(hostPath(name)); }

}  // namespace

class SoundPumpClientTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        SoundPumpPlayer::setNextIdForTesting(0);
    }
    SoundPumpPlayer* newPlayer(const char* type = "audio/midi") {
        return newObject<SoundPumpPlayer>(kMidi.data(), kMidi.size(), type);
    }
};

TEST_F(SoundPumpClientTest, OperationsSendTheMessagesTheirStateCallsFor) {
    FakeServer server;
    ASSERT_TRUE(server.registered());

    enum Setup { New, Realized, Prefetched, Started, Stopped, Closed, Level40 };
    using Op = std::function<jlong(SoundPumpPlayer*)>;
    const Op start = [](SoundPumpPlayer* p) { p->start(); return 0; };
    const Op stop = [](SoundPumpPlayer* p) { p->stop(); return 0; };
    const Op close = [](SoundPumpPlayer* p) { p->close(); return 0; };
    const std::string path = " path=\\temp\\sound1.mid";
    struct Row {
        const char* what;
        Setup setup;
        Answers answers;
        Op op;
        std::vector<std::string> sent;
        jint state;
        jlong answer;
        int fileAfter = -1;  // 1 present, 0 gone, -1 not looked at
    };
    const Row rows[] = {
        {"start a new player", New, {}, start, {"user w=0 l=2"}, 400, 0},
        {"start refused", New, {{{2, -1}}, {}}, start, {"user w=0 l=2"}, 300, 0},
        {"start after stop", Stopped, {}, start, {"user w=0 l=2"}, 400, 0},
        {"start a closed player", Closed, {}, start, {}, 0, 0},
        {"stop a new player", New, {}, stop, {}, 100, 0},
        {"stop a stopped player", Stopped, {}, stop, {}, 600, 0},
        {"stop a prefetched player", Prefetched, {}, stop, {"user w=0 l=4"}, 600, 0},
        {"stop refused", Started, {{{4, -1}}, {}}, stop, {"user w=0 l=4"}, 400, 0},
        {"pause", Started, {}, [](SoundPumpPlayer* p) { p->pause(); return 0; }, {"user w=0 l=3"}, 500, 0},
        {"pause a new player", New, {}, [](SoundPumpPlayer* p) { p->pause(); return 0; }, {}, 100, 0},
        {"realize from any state", Started, {}, [](SoundPumpPlayer* p) { p->realize(); return 0; }, {}, 200, 0},
        {"set position before realize", New, {}, [](SoundPumpPlayer* p) { return p->setMediaTime(0); }, {}, 100, -1},
        {"set position", Realized, {}, [](SoundPumpPlayer* p) { return p->setMediaTime(1234); },
         {"copy w=0 d=1 cmd=7 arg=1234" + path}, 200, 0},
        {"set position, low 32 bits", Realized, {}, [](SoundPumpPlayer* p) { return p->setMediaTime(0x100000005LL); },
         {"copy w=0 d=1 cmd=7 arg=5" + path}, 200, 0},
        {"set position refused", Realized, {{}, {{7, -1}}}, [](SoundPumpPlayer* p) { return p->setMediaTime(0); },
         {"copy w=0 d=1 cmd=7 arg=0" + path}, 200, -1},
        {"position before realize", New, {}, [](SoundPumpPlayer* p) { return p->getMediaTime(); }, {}, 100, 0},
        {"position", Realized, {{{8, 700}}, {}}, [](SoundPumpPlayer* p) { return p->getMediaTime(); },
         {"user w=0 l=8"}, 200, 700},
        {"position refused", Realized, {{{8, -1}}, {}}, [](SoundPumpPlayer* p) { return p->getMediaTime(); },
         {"user w=0 l=8"}, 200, -1},
        {"state asks the server", New, {{{9, 600}}, {}}, [](SoundPumpPlayer* p) { return p->getState(); },
         {"user w=0 l=9"}, 100, 600},
        {"state refused", Started, {{{9, -1}}, {}}, [](SoundPumpPlayer* p) { return p->getState(); },
         {"user w=0 l=9"}, 400, 0},
        {"state of a closed player", Closed, {}, [](SoundPumpPlayer* p) { return p->getState(); }, {}, 0, 0},
        {"duration while the server has no state", Started, {}, [](SoundPumpPlayer* p) { return p->getDuration(); },
         {"user w=0 l=9"}, 400, 0},
        {"duration", New, {{{9, 400}, {10, 2500}}, {}}, [](SoundPumpPlayer* p) { return p->getDuration(); },
         {"user w=0 l=9", "user w=0 l=10"}, 100, 2500},
        {"duration refused", New, {{{9, 400}, {10, -1}}, {}}, [](SoundPumpPlayer* p) { return p->getDuration(); },
         {"user w=0 l=9", "user w=0 l=10"}, 100, 0},
        {"loop count 1", New, {}, [](SoundPumpPlayer* p) { p->setLoopCount(1); return 0; }, {}, 100, 0},
        {"loop count 0", Started, {}, [](SoundPumpPlayer* p) { p->setLoopCount(0); return 0; }, {}, 400, 0},
        {"endless loop", New, {}, [](SoundPumpPlayer* p) { p->setLoopCount(-1); return 0; },
         {"copy w=0 d=100000 cmd=14 arg=0" + path}, 200, 0},
        {"loop count 3", Started, {}, [](SoundPumpPlayer* p) { p->setLoopCount(3); return 0; },
         {"copy w=0 d=3 cmd=14 arg=0" + path}, 200, 0},
        {"level before realize", New, {}, [](SoundPumpPlayer* p) { return p->getLevel(); }, {}, 100, 0},
        {"level", Realized, {{{11, 5000}}, {}}, [](SoundPumpPlayer* p) { return p->getLevel(); },
         {"user w=0 l=11"}, 200, 50},
        {"muted level", Realized, {{{11, -10000}}, {}}, [](SoundPumpPlayer* p) { return p->getLevel(); },
         {"user w=0 l=11"}, 200, -100},
        {"level refused", Realized, {{{11, -5}}, {}}, [](SoundPumpPlayer* p) { return p->getLevel(); },
         {"user w=0 l=11"}, 200, 0},
        {"muted", Realized, {{{11, -10000}}, {}}, [](SoundPumpPlayer* p) { return p->isMuted(); },
         {"user w=0 l=11"}, 200, 1},
        {"not muted (no volume handler)", Realized, {}, [](SoundPumpPlayer* p) { return p->isMuted(); },
         {"user w=0 l=11"}, 200, 0},
        {"muted before realize", New, {}, [](SoundPumpPlayer* p) { return p->isMuted(); }, {}, 100, 0},
        {"set level before realize", New, {}, [](SoundPumpPlayer* p) { return p->setLevel(40); }, {}, 100, -1},
        {"set level", Realized, {}, [](SoundPumpPlayer* p) { return p->setLevel(40); }, {"user w=40 l=12"}, 200, 0},
        {"set level again", Level40, {}, [](SoundPumpPlayer* p) { return p->setLevel(70); }, {"user w=70 l=12"}, 200, 40},
        {"set level refused", Level40, {{{12, -1}}, {}}, [](SoundPumpPlayer* p) { return p->setLevel(70); },
         {"user w=70 l=12"}, 200, 0},
        {"mute", Level40, {}, [](SoundPumpPlayer* p) { p->setMute(1); return 0; }, {"user w=4294957296 l=12"}, 200, 0},
        {"unmute", Level40, {}, [](SoundPumpPlayer* p) { p->setMute(0); return 0; }, {"user w=40 l=12"}, 200, 0},
        {"mute before realize", New, {}, [](SoundPumpPlayer* p) { p->setMute(1); return 0; }, {}, 100, 0},
        {"close", Started, {}, close, {"user w=0 l=6"}, 0, 0, 0},
        {"close twice", Closed, {}, close, {}, 0, 0, 0},
        {"close refused", Started, {{{6, -1}}, {}}, close, {"user w=0 l=6"}, 400, 0, 1},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SoundPumpPlayer::setNextIdForTesting(0);
        server.answer({});
        SoundPumpPlayer* p = newPlayer();
        switch (row.setup) {
        case New: break;
        case Realized: p->realize(); break;
        case Prefetched: p->prefetch(); break;
        case Started: p->start(); break;
        case Stopped: p->start(); p->stop(); break;
        case Closed: p->close(); break;
        case Level40: p->realize(); p->setLevel(40); break;
        }
        server.take();
        m_log.clear();
        server.answer(row.answers);
        EXPECT_EQ(row.op(p), row.answer);
        EXPECT_EQ(server.take(), row.sent);
        EXPECT_EQ(p->localState(), row.state);
        if (row.fileAfter >= 0) {
            EXPECT_EQ(exists("sound1.mid"), row.fileAfter == 1);
        }
        // Every refused message is logged.
        bool refused = false;
        for (const auto& a : row.answers.user) refused |= a.second < 0 && a.second != -10000;
        for (const auto& a : row.answers.copy) refused |= a.second < 0;
        bool logged = false;
        for (const std::string& line : m_log.lines()) logged |= line.find("ERROR - ") != std::string::npos;
        EXPECT_EQ(logged, refused);
        server.answer({});
        p->close();
    }
    EXPECT_EQ(takeException(), 0);
}

TEST_F(SoundPumpClientTest, PlayersTakeIdsInOrderAndWriteTheirFilesBeforeTheOpen) {
    FakeServer server;
    Object* midi = javax_microedition_media_Manager::createPlayer(streamOf(kMidi), nullptr);
    auto* first = dynamic_cast<SoundPumpPlayer*>(midi);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->playerId(), 0u);
    EXPECT_EQ(first->getContentType()->toUtf8(), "audio/midi");
    EXPECT_EQ(readFile(hostPath("sound1.mid")), kMidi);
    EXPECT_EQ(server.take(), std::vector<std::string>{"copy w=0 d=1 cmd=13 arg=0 path=\\temp\\sound1.mid"});

    auto* second = newPlayer("audio/amr");
    EXPECT_EQ(second->playerId(), 1u);
    EXPECT_EQ(second->filePath(), "\\temp\\sound2.amr");
    EXPECT_TRUE(exists("sound2.amr"));
    EXPECT_EQ(server.take(), std::vector<std::string>{"copy w=1 d=1 cmd=13 arg=0 path=\\temp\\sound2.amr"});

    first->close();
    second->close();
    EXPECT_EQ(tempFiles(), std::vector<std::string>{});
    // Ids are never reused.
    EXPECT_EQ(newPlayer()->playerId(), 2u);
}

TEST_F(SoundPumpClientTest, PlayersBeyondTheServersTableSendNothing) {
    FakeServer server;
    SoundPumpPlayer::setNextIdForTesting(34);
    SoundPumpPlayer* last = newPlayer();
    EXPECT_FALSE(last->silent());
    EXPECT_EQ(server.take(), std::vector<std::string>{"copy w=34 d=1 cmd=13 arg=0 path=\\temp\\sound35.mid"});

    SoundPumpPlayer* beyond = newPlayer();
    EXPECT_EQ(beyond->playerId(), 35u);
    EXPECT_TRUE(beyond->silent());
    EXPECT_TRUE(m_log.contains("player 35 is beyond the sound server's 35 sounds"));
    EXPECT_FALSE(exists("sound36.mid"));
    beyond->setLoopCount(3);
    beyond->setMediaTime(0);
    beyond->start();
    EXPECT_EQ(beyond->localState(), 400);  // like a player without a server
    EXPECT_EQ(beyond->getState(), 0);
    beyond->close();
    EXPECT_EQ(beyond->localState(), 0);
    EXPECT_EQ(server.take(), std::vector<std::string>{});
    last->close();
}

TEST_F(SoundPumpClientTest, WithoutAServerEveryMessageAnswersZero) {
    SoundPumpPlayer* p = newPlayer();
    EXPECT_TRUE(exists("sound1.mid"));
    p->setLoopCount(-1);
    EXPECT_EQ(p->setMediaTime(0), 0);
    p->start();
    EXPECT_EQ(p->localState(), 400);
    EXPECT_EQ(p->getState(), 0);
    EXPECT_EQ(p->getDuration(), 0);
    EXPECT_EQ(p->getMediaTime(), 0);
    p->stop();
    EXPECT_EQ(p->localState(), 600);
    p->close();
    EXPECT_EQ(p->localState(), 0);
    EXPECT_FALSE(exists("sound1.mid"));
    EXPECT_FALSE(m_log.contains("ERROR"));
}

TEST_F(SoundPumpClientTest, AFileThatCannotBeWrittenIsLoggedAndTheSoundStaysSilent) {
    FakeServer server;
    std::filesystem::create_directories(hostPath("sound1.mid"));  // the name is taken by a folder
    SoundPumpPlayer* p = newPlayer();
    EXPECT_TRUE(p->silent());
    EXPECT_TRUE(m_log.contains("cannot write the sound file \"\\temp\\sound1.mid\""));
    p->start();
    p->close();
    EXPECT_EQ(server.take(), std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_directory(hostPath("sound1.mid")));
    std::filesystem::remove(hostPath("sound1.mid"));
}

TEST_F(SoundPumpClientTest, CollectedPlayersCloseTheirSoundsAndDeleteTheirFiles) {
    FakeServer server;
    runOnJavaThread([](void*) {
        for (int i = 0; i < 8; ++i) newObject<SoundPumpPlayer>(kMidi.data(), kMidi.size(), "audio/midi");
    });
    EXPECT_EQ(tempFiles().size(), 8u);
    server.take();
    scrubStack();
    Application::instance()->objects().gc(ObjectManager::kForced);
    // The scan is conservative: a stale word may keep the odd player.
    const std::vector<std::string> sent = server.take();
    EXPECT_GE(sent.size(), 6u);
    for (const std::string& m : sent) EXPECT_NE(m.find(" l=6"), std::string::npos) << m;
    EXPECT_EQ(tempFiles().size(), 8u - sent.size());
}

TEST_F(SoundPumpClientTest, WaitsABoundedTimeForTheServersWindow) {
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(media::waitForSoundServer(60ms));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 60ms);

    std::unique_ptr<FakeServer> server;
    std::thread late([&] {
        std::this_thread::sleep_for(100ms);
        server = std::make_unique<FakeServer>();
    });
    EXPECT_TRUE(media::waitForSoundServer(20s));
    late.join();
}

TEST(SoundPumpWire, RecordsAndExtensions) {
    const Bytes r = media::encodeCommand(14, -2, u"\\a");
    ASSERT_EQ(r.size(), 208u);
    const Bytes head = {14, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, '\\', 0, 'a', 0, 0, 0};
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 14), head);
    const Bytes cut = media::encodeCommand(13, 0, std::u16string(150, u'x'));
    EXPECT_EQ(cut[8 + 2 * 98], 'x');
    EXPECT_EQ(cut[8 + 2 * 99], 0);  // 99 units and the terminator

    const std::pair<const char*, const char*> extensions[] = {
        {"audio/x-wav", "wav"}, {"audio/MIDI", "mid"}, {"audio/amr", "amr"}, {"audio/mpeg", "mp3"},
        {"audio/aac", "aac"},   {"audio/ogg", "NULL"}, {"midi", "mid"},      {"", "NULL"},
    };
    for (const auto& [type, ext] : extensions) EXPECT_STREQ(media::extensionForType(type), ext) << type;
    EXPECT_TRUE(SoundPumpPlayer::canChangeState(300, 600));
    EXPECT_TRUE(SoundPumpPlayer::canChangeState(400, 500));
    EXPECT_TRUE(SoundPumpPlayer::canChangeState(200, 300));
    EXPECT_TRUE(SoundPumpPlayer::canChangeState(300, 400));
    EXPECT_FALSE(SoundPumpPlayer::canChangeState(200, 600));
    EXPECT_FALSE(SoundPumpPlayer::canChangeState(100, 400));
}
