// The screen hook and lock, and the wait-animation thread.
#include "net/wait_animation.h"

#include <system_error>
#include <utility>

#include "runtime/threads.h"

namespace bramble::net {

namespace {

std::mutex g_screen;                 // the screen lock
ScreenOverlay::DrawText g_drawText;  // guarded by g_screen

}  // namespace

const std::u16string_view WaitAnimation::kFrames[5] = {
    u"    . . . . . . .    ",
    u"          .          ",
    u"        . . .        ",
    u"      . . . . .      ",
    u"    . . . . . . .    ",
};

ScreenOverlay::Lock::Lock() { rt::lockAtSafePoint(g_screen); }

ScreenOverlay::Lock::~Lock() { g_screen.unlock(); }

void ScreenOverlay::setDrawText(DrawText drawText) {
    DrawText old;
    {
        Lock lock;
        old = std::exchange(g_drawText, std::move(drawText));
    }
    // `old` is destroyed outside the lock: its captures may be anything.
}

void ScreenOverlay::drawLocked(int x, int y, std::u16string_view text, uint32_t rgb) {
    if (g_drawText) g_drawText(x, y, text, rgb);
}

void WaitAnimation::start(int x, int y) {
    std::lock_guard lock(m_mutex);
    if (m_running || m_thread.joinable()) return;
    m_running = true;
    try {
        m_thread = std::thread([this, x, y] { run(x, y); });
    } catch (const std::system_error&) {
        m_running = false;  // no thread to spare: the request goes on without dots
    }
}

void WaitAnimation::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_running = false;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        BlockingRegion blocking;
        m_thread.join();
    }
}

bool WaitAnimation::running() const {
    std::lock_guard lock(m_mutex);
    return m_running;
}

void WaitAnimation::run(int x, int y) {
    for (uint64_t frame = 0;; ++frame) {
        {
            ScreenOverlay::Lock screen;
            // Checked under the screen lock: once stop() has cleared the
            // flag, no frame starts any more.
            {
                std::lock_guard lock(m_mutex);
                if (!m_running) return;
            }
            size_t step = frame % 5;
            ScreenOverlay::drawLocked(x, y, kFrames[step], step == 0 ? kWhite : kRed);
        }
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, m_interval, [this] { return !m_running; })) return;
    }
}

}  // namespace bramble::net
