// The wait animation of an HTTP request: a row of dots drawn onto the visible
// screen from a thread of its own while the requesting thread waits, and the
// screen hook it draws through.
//
// The screen belongs to the shell, which fills the hook: it draws one line of
// text straight onto what the user sees. Every animation frame is drawn while
// holding the screen lock, and the shell holds the same lock around each
// present of a game frame (ScreenOverlay::Lock), so an animation frame never
// lands in the middle of a present. Without a hook the animation draws
// nothing.
//
// The animation thread is a plain native thread: it touches no Java object
// and is never waited for by the collector. A hook that needs Java objects
// wraps that use in an AttachScope of its own. Taking the lock from a Java
// thread parks that thread while it waits, so a collection never waits for a
// thread that waits for the screen.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

namespace bramble::net {

class ScreenOverlay {
public:
    // Draws `text` at screen pixel (x, y) (top-left of the text), colour
    // 0xRRGGBB, with a transparent background, and shows it at once. Called
    // with the screen lock held, on the animation thread.
    using DrawText = std::function<void(int x, int y, std::u16string_view text, uint32_t rgb)>;

    // An empty hook turns drawing off. Safe from any thread; waits for a
    // frame being drawn.
    static void setDrawText(DrawText drawText);

    // The screen lock (not recursive). A Java thread waiting for it is inside
    // a blocking region.
    class Lock {
    public:
        Lock();
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
    };

    // With the screen lock held: draws through the hook (nothing without one).
    static void drawLocked(int x, int y, std::u16string_view text, uint32_t rgb);
};

class WaitAnimation {
public:
    static constexpr int kX = 75;
    static constexpr int kY = 240;
    static constexpr std::chrono::milliseconds kFrameInterval{300};
    static constexpr uint32_t kRed = 0xFF0000;
    static constexpr uint32_t kWhite = 0xFFFFFF;
    // Frame i draws kFrames[i % 5]: frame 0 in white (it wipes the dots of
    // the frame before), the others in red. Each is 21 characters.
    static const std::u16string_view kFrames[5];

    explicit WaitAnimation(std::chrono::milliseconds interval = kFrameInterval) : m_interval(interval) {}
    ~WaitAnimation() { stop(); }
    WaitAnimation(const WaitAnimation&) = delete;
    WaitAnimation& operator=(const WaitAnimation&) = delete;

    // Starts the thread (once); its first frame is drawn at once.
    void start(int x = kX, int y = kY);
    // Clears the running flag, wakes the thread and waits until it has
    // ended; no frame is drawn after stop returns. The wait is a blocking
    // region for a Java caller.
    void stop();
    bool running() const;

private:
    void run(int x, int y);

    std::chrono::milliseconds m_interval;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;
    std::thread m_thread;
};

}  // namespace bramble::net
