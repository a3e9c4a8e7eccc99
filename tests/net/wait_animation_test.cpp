// The wait animation against a fake screen: its frames, colours and place,
// a prompt end with nothing drawn afterwards, and no frame ever drawn while
// the game presents.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/wait_animation.h"

using namespace bramble::net;
using namespace std::chrono_literals;

namespace {

struct Frame {
    int x, y;
    std::u16string text;
    uint32_t rgb;
};

// Records what the animation draws; flags a draw that overlaps a present.
class FakeScreen {
public:
    FakeScreen() {
        ScreenOverlay::setDrawText([this](int x, int y, std::u16string_view text, uint32_t rgb) {
            if (m_presenting.load()) m_overlaps++;
            m_drawing = true;
            {
                std::lock_guard lock(m_mutex);
                m_frames.push_back({x, y, std::u16string(text), rgb});
            }
            std::this_thread::sleep_for(200us);
            m_drawing = false;
        });
    }
    ~FakeScreen() { ScreenOverlay::setDrawText(nullptr); }

    std::vector<Frame> frames() {
        std::lock_guard lock(m_mutex);
        return m_frames;
    }
    size_t count() {
        std::lock_guard lock(m_mutex);
        return m_frames.size();
    }

    // The game's present: under the screen lock.
    void present() {
        ScreenOverlay::Lock lock;
        m_presenting = true;
        if (m_drawing.load()) m_overlaps++;
        std::this_thread::sleep_for(300us);
        m_presenting = false;
    }

    std::atomic<int> m_overlaps{0};

private:
    std::atomic<bool> m_presenting{false};
    std::atomic<bool> m_drawing{false};
    std::mutex m_mutex;
    std::vector<Frame> m_frames;
};

// Waits for a condition; 60 s is only the hang guard.
bool waitUntil(const std::function<bool()>& pred) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(WaitAnimation, DrawsTheDotRowsInOrder) {
    FakeScreen screen;
    WaitAnimation animation(1ms);
    animation.start();
    ASSERT_TRUE(waitUntil([&] { return screen.count() >= 11; }));
    animation.stop();
    std::vector<Frame> frames = screen.frames();
    const std::u16string expected[5] = {u"    . . . . . . .    ", u"          .          ", u"        . . .        ",
                                        u"      . . . . .      ", u"    . . . . . . .    "};
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(frames[i].x, 75);
        EXPECT_EQ(frames[i].y, 240);
        EXPECT_EQ(frames[i].text, expected[i % 5]);
        EXPECT_EQ(frames[i].text.size(), 21u);
        EXPECT_EQ(frames[i].rgb, i % 5 == 0 ? 0xFFFFFFu : 0xFF0000u);  // white wipes, red dots
    }
}

TEST(WaitAnimation, StopEndsAtOnceAndNothingIsDrawnAfterwards) {
    FakeScreen screen;
    for (int round = 0; round < 3; ++round) {
        // An hour between frames: a stop that waited for the next frame
        // would outlast the hang guard by far.
        WaitAnimation animation(std::chrono::hours(1));
        animation.start(10, 20);
        ASSERT_TRUE(waitUntil([&] { return screen.count() >= size_t(round + 1); }));
        auto before = std::chrono::steady_clock::now();
        animation.stop();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 30s);  // hang guard
        EXPECT_FALSE(animation.running());
    }
    size_t drawn = screen.count();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(screen.count(), drawn);
    EXPECT_EQ(drawn, 3u);  // only each first frame, at its own place
    EXPECT_EQ(screen.frames()[0].x, 10);
    EXPECT_EQ(screen.frames()[0].y, 20);
}

TEST(WaitAnimation, FramesNeverOverlapTheGamesPresent) {
    FakeScreen screen;
    std::atomic<bool> done{false};
    std::thread game([&] {
        while (!done) screen.present();
    });
    WaitAnimation animation(0ms);
    animation.start();
    ASSERT_TRUE(waitUntil([&] { return screen.count() >= 200; }));
    animation.stop();
    done = true;
    game.join();
    EXPECT_EQ(screen.m_overlaps.load(), 0);
}

TEST(WaitAnimation, WithoutAScreenNothingIsDrawn) {
    FakeScreen screen;
    ScreenOverlay::setDrawText(nullptr);  // the screen went away
    {
        WaitAnimation animation(1ms);
        animation.start();
        EXPECT_TRUE(animation.running());
        std::this_thread::sleep_for(20ms);  // many frames are due meanwhile
        animation.stop();
        EXPECT_FALSE(animation.running());
        animation.stop();  // twice is harmless
    }
    WaitAnimation never;
    never.stop();  // never started
    EXPECT_FALSE(never.running());
    EXPECT_EQ(screen.count(), 0u);
}

}  // namespace
