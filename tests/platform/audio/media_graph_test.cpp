// Media graphs on GStreamer with a file sink: a WAVE file decodes to the
// expected bytes, runs to its end of stream, stops back at the start and
// plays again after a rewind; MIDI plays through the synthesizer with the
// sound font, AMR through its decoder; bad files fail to open with a reason.
#include "platform/audio/media_graph.h"
#include "tests/platform/audio/sound_fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using namespace platform::media;
using namespace std::chrono_literals;

namespace {

std::string soundFont() {
    const char* env = std::getenv("BRAMBLE_SOUNDFONT");
    return env && *env ? env : "/usr/share/sounds/sf2/FluidR3_GM.sf2";
}

// A sink that appends to a file through an inherited descriptor: a file
// sink would truncate its file on every flushing seek.
GraphOptions toFile(const std::string& out) {
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    EXPECT_GE(fd, 0);
    GraphOptions o;
    o.sink = "audio/x-raw,format=S16LE,channels=1,rate=8000 ! fdsink fd=" + std::to_string(fd);
    o.soundFont = soundFont();
    return o;
}

// Runs the graph and waits for the end of stream (or an error, or 20 s).
GraphEvent runToEnd(MediaGraph& g) {
    std::mutex m;
    std::condition_variable cv;
    bool ready = false;
    g.setEventNotify([&] {
        std::lock_guard<std::mutex> lock(m);
        ready = true;
        cv.notify_all();
    });
    EXPECT_TRUE(g.run());
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    GraphEvent result = GraphEvent::Error;
    for (bool got = false; !got;) {
        {
            std::unique_lock<std::mutex> lock(m);
            cv.wait_until(lock, deadline, [&] { return ready; });
            ready = false;
        }
        auto events = g.takeEvents();
        if (!events.empty()) {
            result = events.front();
            got = true;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            ADD_FAILURE() << "no end of stream";
            got = true;
        }
    }
    g.setEventNotify(nullptr);
    return result;
}

}  // namespace

TEST(MediaGraph, WaveRunsToItsEndStopsAndPlaysAgain) {
    fixtures::writeFile("tone.wav", fixtures::wav(8000, 4000));
    auto g = MediaGraph::open("tone.wav", toFile("tone.raw"), nullptr);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->state(), GraphState::Paused);
    EXPECT_EQ(g->durationNs(), 500000000);
    EXPECT_EQ(runToEnd(*g), GraphEvent::EndOfStream);
    EXPECT_EQ(g->state(), GraphState::Running);  // a graph stays running at its end
    EXPECT_EQ(fixtures::fileSize("tone.raw"), 8000u);

    // Rewinding a running graph at its end plays the sound once more.
    ASSERT_TRUE(g->seek(0));
    for (int i = 0; i < 4000 && fixtures::fileSize("tone.raw") < 16000; ++i) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(fixtures::fileSize("tone.raw"), 16000u);

    ASSERT_TRUE(g->stop());
    for (int i = 0; i < 4000 && g->state() != GraphState::Paused; ++i) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(g->state(), GraphState::Paused);
    g->takeEvents();
    EXPECT_EQ(runToEnd(*g), GraphEvent::EndOfStream);
    EXPECT_EQ(fixtures::fileSize("tone.raw"), 24000u);
}

TEST(MediaGraph, MidiPlaysThroughTheSynthesizer) {
    ASSERT_TRUE(std::filesystem::exists(soundFont())) << soundFont();
    fixtures::writeFile("note.mid", fixtures::midi(48));
    auto g = MediaGraph::open("note.mid", toFile("note.raw"), nullptr);
    ASSERT_TRUE(g);
    EXPECT_EQ(runToEnd(*g), GraphEvent::EndOfStream);
    // A quarter-second note at 8000 frames per second, 2 bytes a frame.
    EXPECT_GE(fixtures::fileSize("note.raw"), 4000u);
}

TEST(MediaGraph, AGraphStillPreparingAfterTheWaitPlaysWhenReady) {
    fixtures::writeFile("slow.mid", fixtures::midi(24));
    GraphOptions hasty = toFile("slow.raw");
    hasty.openTimeout = 1ms;  // the synthesizer is still loading its sound font
    auto g = MediaGraph::open("slow.mid", hasty, nullptr);
    ASSERT_TRUE(g);
    EXPECT_EQ(runToEnd(*g), GraphEvent::EndOfStream);
    EXPECT_GE(fixtures::fileSize("slow.raw"), 2000u);
}

TEST(MediaGraph, AmrPlaysThroughItsDecoder) {
    if (!fixtures::makeAmr("tone.amr")) GTEST_SKIP() << "no AMR-NB encoder to make a fixture";
    auto g = MediaGraph::open("tone.amr", toFile("amr.raw"), nullptr);
    ASSERT_TRUE(g);
    EXPECT_EQ(runToEnd(*g), GraphEvent::EndOfStream);
    EXPECT_EQ(fixtures::fileSize("amr.raw"), 32000u);  // 2 s at 8000 frames per second
}

TEST(MediaGraph, BadFilesFailWithAReason) {
    fixtures::writeFile("words.txt", std::vector<std::uint8_t>(300, 'x'));
    fixtures::writeFile("empty.wav", {});
    auto badWave = fixtures::wav(8000, 100);
    badWave[20] = 0x55;  // an unknown format tag
    fixtures::writeFile("bad.wav", badWave);
    std::filesystem::create_directories("folder.wav");
    // Each fails on its own error, long before the open's wait would end.
    GraphOptions patient = toFile("bad.raw");
    patient.openTimeout = 60s;
    for (const char* path : {"missing.mid", "words.txt", "empty.wav", "bad.wav", "folder.wav", ""}) {
        SCOPED_TRACE(path);
        std::string why;
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_FALSE(MediaGraph::open(path, patient, &why));
        EXPECT_FALSE(why.empty());
        EXPECT_LT(std::chrono::steady_clock::now() - t0, 30s);
    }
    GraphOptions broken;
    broken.sink = "nosuchsinkelement";
    fixtures::writeFile("ok.wav", fixtures::wav(8000, 100));
    std::string why;
    EXPECT_FALSE(MediaGraph::open("ok.wav", broken, &why));
    EXPECT_FALSE(why.empty());
}
