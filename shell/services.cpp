// Wires the media and connection natives into the program: the players
// behind Manager and AudioClip, Connector dispatch, the
// wait animation's screen hook (text drawn straight onto the back buffer and
// presented) and the lock that keeps it and the game's presents apart.
#include "shell/services.h"

#include "display/graphics.h"
#include "display/surface.h"
#include "media/manager.h"
#include "net/natives.h"
#include "net/wait_animation.h"
#include "shell/application_impl.h"
#include "shell/screen_driver.h"

namespace {

void presentUnderScreenLock(void (*present)(void*), void* context) {
    bramble::net::ScreenOverlay::Lock lock;
    present(context);
}

// Runs on the animation thread with the screen lock held.
void drawOverlayText(int x, int y, std::u16string_view text, uint32_t rgb) {
    ApplicationImpl& app = ApplicationImpl::instance();
    ScreenDriver* driver = app.driver();
    uint16_t* pixels = app.backBuffer();
    if (!driver || !pixels) return;
    display::GraphicsState state = display::GraphicsState::forTarget(kScreenWidth, kScreenHeight);
    display::Graphics g(state, display::Surface::wrap16(pixels, kScreenWidth, kScreenHeight, kScreenWidth * 2));
    g.setColor(static_cast<jint>(rgb));
    g.drawString(reinterpret_cast<const jchar*>(text.data()), text.size(), x, y, display::kLeft | display::kTop);
    driver->present();
}

}  // namespace

void installDeviceServices() {
    media::registerMediaHooks();
    bramble::net::installConnectionNatives();
    bramble::net::ScreenOverlay::setDrawText(&drawOverlayText);
    setPresentWrapper(&presentUnderScreenLock);
}
