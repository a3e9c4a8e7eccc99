// The Showcase behind the game's ShowcaseHooks: installShowcase() adds the
// statics and installs the hooks; the game flow then reaches the screen only
// through showcaseHooks().
#include "display/lcdui/display.h"
#include "game/data/hooks.h"
#include "game/showcase/install.h"
#include "game/showcase/internal.h"

namespace game {

namespace {

class ShowcaseLibrary final : public ShowcaseHooks {
public:
    void setup(javax_microedition_midlet_MIDlet* midlet, javax_microedition_lcdui_Display* display, jint width,
               jint height, javax_microedition_lcdui_Canvas* canvas) override {
        Showcase::setup(midlet, static_cast<Object*>(display), width, height, static_cast<Object*>(canvas));
    }
    void open(String* text, jint arg) override { Showcase::open(text, arg); }
    void enter(String* text, jint language) override { Showcase::enter(text, language); }
    bool doAction(jint key) override { return Showcase::doAction(key); }
    bool buildLink() override { return Showcase::buildLink(); }
    jint getEntryCount() override { return Showcase::getEntryCount(); }
    jint getFirstEntry() override { return Showcase::getFirstEntry(); }
    bool hasEntries() override { return Showcase::hasEntries(); }
    jint hitTest(jint x, jint y) override { return Showcase::hitTest(x, y); }
    void paint(javax_microedition_lcdui_Graphics* g) override { Showcase::paint(g); }
    void requestLink() override { Showcase::requestLink(); }
    void setDisplayFlags() override {
        showcaseStatics()->displayFlagA = 1;
        showcaseStatics()->displayFlagB = 1;
    }
    void pointerPressed(jint x, jint y) override { Showcase::pointerPressed(x, y); }
    void pointerDragged(jint x, jint y) override { Showcase::pointerDragged(x, y); }
    void pointerReleased(jint x, jint y) override { Showcase::pointerReleased(x, y); }
    void setHighlightAction(jint action) override { showcaseStatics()->pressedAction = action; }
    void setPendingAction(jint action) override {
        showcaseStatics()->swallowAction = 1;
        showcaseStatics()->lastAction = action;
    }
    bool listScrolling() override { return showcaseStatics()->listMode != 0; }
    void setPressPosition(jint, jint) override { showcaseStatics()->pressedRow = showcaseStatics()->listSelection; }
};

ShowcaseLibrary g_library;

}  // namespace

void installShowcase() {
    registerShowcaseStatics();
    setShowcaseHooks(&g_library);
}

}  // namespace game
