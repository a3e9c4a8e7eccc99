// The main window's procedure: focus and activation into MIDlet pause and
// resume, the display orientation kept, keys mapped to MIDP key codes, the
// volume keys, pointer strokes scaled to the canvas; and the power and
// orientation services it uses.
#pragma once

#include <cstdint>

namespace platform {
class Window;
}

intptr_t mainWindowProc(platform::Window& window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The display orientation (0: the native portrait one) and setting it.
uint32_t getOrientation();
void setOrientation(uint32_t orientation);

// Power notices are listened for only while the window has the focus.
void startPowerNotifications();
void stopPowerNotifications();

// Calls into Java code from the window thread while it may be inside a
// blocking region (a message served during the main loop's sleep): leaves
// every region for the scope and enters them again at its end.
class JavaCallScope {
public:
    JavaCallScope();
    ~JavaCallScope();
    JavaCallScope(const JavaCallScope&) = delete;
    JavaCallScope& operator=(const JavaCallScope&) = delete;

private:
    int m_depth = 0;
};
