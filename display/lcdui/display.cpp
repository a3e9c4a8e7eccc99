// Displayable, Canvas, Display, Command and GameCanvas.
#include "display/lcdui/display.h"

#include <atomic>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/log.h"
#include "runtime/objectmanager.h"
#include "runtime/statics.h"

namespace {

constexpr jint kScreenWidth = 480;
constexpr jint kScreenHeight = 800;

std::atomic<javax_microedition_lcdui_Canvas::RepaintHandler> g_repaint{nullptr};

javax_microedition_lcdui_Image* screenImage() {
    Application* app = Application::instance();
    return app ? static_cast<javax_microedition_lcdui_Image*>(app->root(Application::kScreenImage)) : nullptr;
}

javax_microedition_lcdui_Graphics* screenGraphics() {
    Application* app = Application::instance();
    return app ? static_cast<javax_microedition_lcdui_Graphics*>(app->root(Application::kScreenGraphics)) : nullptr;
}

}  // namespace

// --- Displayable and Canvas ---------------------------------------------------------

jint javax_microedition_lcdui_Displayable::getWidth() {
    javax_microedition_lcdui_Image* screen = screenImage();
    return screen ? screen->getWidth() : kScreenWidth;
}

jint javax_microedition_lcdui_Displayable::getHeight() {
    javax_microedition_lcdui_Image* screen = screenImage();
    return screen ? screen->getHeight() : kScreenHeight;
}

void javax_microedition_lcdui_Canvas::setRepaintHandler(RepaintHandler handler) { g_repaint.store(handler); }

void javax_microedition_lcdui_Canvas::repaint(javax_microedition_lcdui_Canvas* canvas) {
    if (!canvas) {
        rt::logNullPointer();
        return;
    }
    if (RepaintHandler handler = g_repaint.load()) handler(canvas);
}

bool javax_microedition_lcdui_Canvas::paintCurrent() {
    Application* app = Application::instance();
    javax_microedition_lcdui_Graphics* g = screenGraphics();
    if (!app || !g) return false;
    bool painted = false;
    if (auto* current = static_cast<javax_microedition_lcdui_Displayable*>(app->root(Application::kCurrentDisplayable));
        current && instanceOf(current, cid::javax_microedition_lcdui_Canvas)) {
        g->resetForPaint();
        static_cast<javax_microedition_lcdui_Canvas*>(current)->paint(g);
        Application::drainPendingException("Canvas::paint");
        painted = true;
        // The collector's chance: forced when the application asked for it,
        // else throttled.
        const bool requested = app->collectionRequested != 0;
        app->collectionRequested = 0;
        app->objects().gc(requested ? ObjectManager::kRequested : ObjectManager::kThrottled);
    }
    javax_microedition_lcdui_Image* target = g->getTarget();
    g->m_state.clipX1 = 0;
    g->m_state.clipY1 = 0;
    g->m_state.clipX2 = target ? target->getWidth() : 0;
    g->m_state.clipY2 = target ? target->getHeight() : 0;
    return painted;
}

// --- Display -----------------------------------------------------------------------

javax_microedition_lcdui_Display* javax_microedition_lcdui_Display::getDisplay(Object* midlet) {
    return newObject<javax_microedition_lcdui_Display>();
}

void javax_microedition_lcdui_Display::setCurrent(javax_microedition_lcdui_Displayable* d) {
    if (Application* app = Application::instance()) app->setRoot(Application::kCurrentDisplayable, d);
}

javax_microedition_lcdui_Displayable* javax_microedition_lcdui_Display::getCurrent() {
    Application* app = Application::instance();
    return app ? static_cast<javax_microedition_lcdui_Displayable*>(app->root(Application::kCurrentDisplayable))
               : nullptr;
}

// --- Command ------------------------------------------------------------------------

javax_microedition_lcdui_Command::javax_microedition_lcdui_Command(String* label, jint commandType, jint priority)
    : Object(cid::javax_microedition_lcdui_Command) {
    construct(label, nullptr, commandType, priority);
}

javax_microedition_lcdui_Command::javax_microedition_lcdui_Command(String* shortLabel, String* longLabel,
                                                                   jint commandType, jint priority)
    : Object(cid::javax_microedition_lcdui_Command) {
    construct(shortLabel, longLabel, commandType, priority);
}

void javax_microedition_lcdui_Command::construct(String* shortLabel, String* longLabel, jint commandType,
                                                 jint priority) {
    StaticClass::setRefFieldOffsets(this, {&m_shortLabel, &m_longLabel});
    m_shortLabel = nullptr;
    m_longLabel = nullptr;
    m_commandType = 0;
    m_priority = 0;
    m_tag = 0;
    if (commandType < SCREEN || commandType > ITEM) {
        rt::throwNewDefault(cid::java_lang_IllegalArgumentException);
        return;
    }
    m_commandType = commandType;
    m_priority = priority;
    if (!shortLabel) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
        return;
    }
    m_shortLabel = shortLabel;
    m_longLabel = longLabel;
}

// --- GameCanvas ---------------------------------------------------------------------

javax_microedition_lcdui_game_GameCanvas::javax_microedition_lcdui_game_GameCanvas(uint16_t classId)
    : javax_microedition_lcdui_Canvas(classId) {
    if (classId == cid::javax_microedition_lcdui_game_GameCanvas) StaticClass::setRefFieldOffsets(this, {&m_buffer});
    m_buffer = javax_microedition_lcdui_Image::createImage(getWidth(), getHeight());
    // nativeInit: nothing to do.
}

javax_microedition_lcdui_Graphics* javax_microedition_lcdui_game_GameCanvas::getGraphics() {
    if (!m_buffer) {
        rt::logNullPointer();
        return nullptr;
    }
    return m_buffer->getGraphics();
}

void javax_microedition_lcdui_game_GameCanvas::paint(javax_microedition_lcdui_Graphics* g) {
    if (!g) {
        rt::logNullPointer();
        return;
    }
    g->drawImage(m_buffer, 0, 0, 0);
}

void javax_microedition_lcdui_game_GameCanvas::flushGraphics() { flushGraphics(0, 0, getWidth(), getHeight()); }

void javax_microedition_lcdui_game_GameCanvas::flushGraphics(jint x, jint y, jint width, jint height) {
    javax_microedition_lcdui_Graphics* g = screenGraphics();
    if (!g) return;
    const display::GraphicsState saved = g->m_state;
    g->setClip(x, y, width, height);
    g->drawImage(m_buffer, 0, 0, 0);
    g->m_state.clipX1 = saved.clipX1;
    g->m_state.clipY1 = saved.clipY1;
    g->m_state.clipX2 = saved.clipX2;
    g->m_state.clipY2 = saved.clipY2;
}
