// The converted lcdui classes: Display (a new object per getDisplay, the
// current displayable), Displayable's size, Command's argument checks in
// their order, the repaint path (the screen Graphics reset around the
// current canvas's paint), and GameCanvas with its off-screen buffer.
#include "tests/display/lcdui_fixture.h"

namespace {

using Canvas = javax_microedition_lcdui_Canvas;
using Command = javax_microedition_lcdui_Command;
using Display = javax_microedition_lcdui_Display;
using GameCanvas = javax_microedition_lcdui_game_GameCanvas;

// A canvas that records what its paint saw and leaves the Graphics changed.
class RecordingCanvas final : public Canvas {
public:
    RecordingCanvas() : Canvas(cid::javax_microedition_lcdui_Canvas) {}
    void paint(Graphics* g) override {
        ++paints;
        seen = g->m_state;
        g->setColor(0x0000FF);
        g->fillRect(0, 0, 2, 2);
        g->translate(10, 10);
        g->setClip(0, 0, 1, 1);
        if (raise) rt::throwNewDefault(cid::java_lang_IllegalStateException);
    }
    int paints = 0;
    bool raise = false;
    display::GraphicsState seen;
};

int g_repaints = 0;
void repaintForTest(Canvas*) {
    ++g_repaints;
    Canvas::paintCurrent();
}

class LcduiClasses : public LcduiTest {
protected:
    // A screen image over a native buffer with its Graphics, as the shell
    // sets them up.
    void makeScreen(jint w, jint h) {
        m_buffer.assign(static_cast<size_t>((w + 1) / 2 * 2 * h), 0);
        Image* screen = Image::createScreenImage(w, h, m_buffer.data());
        m_app->setRoot(Application::kScreenImage, screen);
        m_app->setRoot(Application::kScreenGraphics, Graphics::make(screen));
    }
    Graphics* screenGraphics() { return static_cast<Graphics*>(m_app->root(Application::kScreenGraphics)); }
    uint16_t screenAt(jint x, jint y) { return m_buffer[static_cast<size_t>(y * 480 + x)]; }
    void TearDown() override {
        Canvas::setRepaintHandler(nullptr);
        m_app->setRoot(Application::kScreenImage, nullptr);
        m_app->setRoot(Application::kScreenGraphics, nullptr);
        LcduiTest::TearDown();
    }
    std::vector<uint16_t> m_buffer;
};

TEST_F(LcduiClasses, DisplayAndTheCurrentDisplayable) {
    Display* a = Display::getDisplay(nullptr);
    Display* b = Display::getDisplay(nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->classId(), cid::javax_microedition_lcdui_Display);
    EXPECT_FALSE(a->vibrate(100));

    auto* canvas = newObject<RecordingCanvas>();
    a->setCurrent(canvas);
    EXPECT_EQ(m_app->root(Application::kCurrentDisplayable), canvas);
    EXPECT_EQ(b->getCurrent(), canvas);
    collect();
    EXPECT_TRUE(om().isRegistered(canvas));  // the application slot keeps it

    EXPECT_EQ(canvas->getWidth(), 480);  // no screen image yet
    EXPECT_EQ(canvas->getHeight(), 800);
    makeScreen(240, 320);
    EXPECT_EQ(canvas->getWidth(), 240);
    EXPECT_EQ(canvas->getHeight(), 320);
    a->setCurrent(nullptr);
    EXPECT_EQ(b->getCurrent(), nullptr);
}

TEST_F(LcduiClasses, CommandChecksTheTypeFirstThenTheLabel) {
    auto* ok = newObject<Command>(String::fromUtf8("Ok"), Command::OK, 1);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_EQ(toUtf8(ok->getLabel()), "Ok");
    EXPECT_EQ(ok->getLongLabel(), nullptr);
    EXPECT_EQ(ok->getCommandType(), 4);
    EXPECT_EQ(ok->getPriority(), 1);
    ok->setTag(77);
    EXPECT_EQ(ok->getTag(), 77);
    auto* back = newObject<Command>(String::fromUtf8("Back"), String::fromUtf8("Go back"), Command::BACK, 5);
    EXPECT_EQ(toUtf8(back->getLongLabel()), "Go back");
    auto* shortOnly = newObject<Command>(String::fromUtf8("X"), nullptr, Command::EXIT, 0);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_EQ(shortOnly->getLongLabel(), nullptr);
    collect();
    EXPECT_EQ(toUtf8(back->getLabel()), "Back");  // labels are collector-visible fields

    struct Case {
        String* label;
        jint type;
        uint16_t exception;
        jint storedType, storedPriority;
    };
    const Case cases[] = {
        {String::fromUtf8("Ok"), 9, cid::java_lang_IllegalArgumentException, 0, 0},
        {String::fromUtf8("Ok"), 0, cid::java_lang_IllegalArgumentException, 0, 0},
        {nullptr, 0, cid::java_lang_IllegalArgumentException, 0, 0},  // type checked before the label
        {nullptr, Command::SCREEN, cid::java_lang_NullPointerException, 1, 3},
        {nullptr, Command::ITEM, cid::java_lang_NullPointerException, 8, 3},
    };
    for (const Case& c : cases) {
        auto* cmd = newObject<Command>(c.label, c.type, 3);
        Object* e = Application::pendingException();
        ASSERT_NE(e, nullptr) << "type " << c.type;
        EXPECT_EQ(e->classId(), c.exception) << "type " << c.type;
        Application::clearPendingException();
        EXPECT_EQ(cmd->getCommandType(), c.storedType);
        EXPECT_EQ(cmd->getPriority(), c.storedPriority);
        EXPECT_EQ(cmd->getLabel(), nullptr);
    }
    newObject<Command>(nullptr, String::fromUtf8("long"), Command::HELP, 0);
    ASSERT_NE(Application::pendingException(), nullptr);
    EXPECT_EQ(Application::pendingException()->classId(), cid::java_lang_NullPointerException);
    Application::clearPendingException();
}

TEST_F(LcduiClasses, RepaintResetsTheScreenGraphicsAroundPaint) {
    makeScreen(480, 800);
    auto* canvas = newObject<RecordingCanvas>();
    Display::getDisplay(nullptr)->setCurrent(canvas);
    Graphics* g = screenGraphics();
    g->setColor(0x123456);
    g->translate(-3, 4);
    g->setClip(5, 5, 5, 5);

    Canvas::repaint(canvas);  // no handler installed: nothing
    EXPECT_EQ(canvas->paints, 0);
    Canvas::setRepaintHandler(&repaintForTest);
    g_repaints = 0;
    Canvas::repaint(canvas);
    Canvas::serviceRepaints(canvas);
    EXPECT_EQ(g_repaints, 1);
    ASSERT_EQ(canvas->paints, 1);
    EXPECT_EQ(canvas->seen.translateX, 0);
    EXPECT_EQ(canvas->seen.translateY, 0);
    EXPECT_EQ(canvas->seen.clipX1, 0);
    EXPECT_EQ(canvas->seen.clipY1, 0);
    EXPECT_EQ(canvas->seen.clipX2, 480);
    EXPECT_EQ(canvas->seen.clipY2, 800);
    EXPECT_EQ(canvas->seen.colour, 0xFFFFFFFFu);
    EXPECT_EQ(screenAt(1, 1), 0x001F);  // paint drew into the back buffer
    // After paint the clip is the whole screen again; the translation stays.
    EXPECT_EQ(g->getClipWidth(), 480);
    EXPECT_EQ(g->getClipHeight(), 800);
    EXPECT_EQ(g->m_state.clipX1, 0);
    EXPECT_EQ(g->getTranslateX(), 10);

    // A requested collection runs after paint, and the request is cleared.
    const uint64_t collections = om().collections();
    m_app->collectionRequested = 1;
    Canvas::repaint(canvas);
    EXPECT_GT(om().collections(), collections);
    EXPECT_EQ(m_app->collectionRequested, 0);

    // An exception left pending by paint is logged and cleared.
    canvas->raise = true;
    m_log.clear();
    Canvas::repaint(canvas);
    EXPECT_EQ(Application::pendingException(), nullptr);
    EXPECT_TRUE(logged("uncaught exception java_lang_IllegalStateException"));

    // No current displayable: no paint, the clip still reset.
    m_app->setRoot(Application::kCurrentDisplayable, nullptr);
    g->setClip(1, 1, 1, 1);
    EXPECT_FALSE(Canvas::paintCurrent());
    EXPECT_EQ(g->m_state.clipX2, 480);
    EXPECT_EQ(canvas->paints, 3);
}

TEST_F(LcduiClasses, GameCanvasFlushesItsBufferThroughTheScreenGraphics) {
    makeScreen(480, 800);
    auto* canvas = newObject<GameCanvas>();
    ASSERT_NE(canvas->m_buffer, nullptr);
    EXPECT_EQ(canvas->m_buffer->getWidth(), 480);
    EXPECT_EQ(canvas->m_buffer->getHeight(), 800);
    EXPECT_TRUE(canvas->m_buffer->isMutable());
    collect();
    EXPECT_TRUE(om().isRegistered(canvas->m_buffer));

    Graphics* g1 = canvas->getGraphics();
    Graphics* g2 = canvas->getGraphics();
    EXPECT_NE(g1, g2);
    EXPECT_EQ(g1->getTarget(), canvas->m_buffer);
    g1->setColor(0xFFFFFF);
    g1->fillRect(0, 0, 480, 800);

    Graphics* screen = screenGraphics();
    screen->setClip(0, 0, 100, 700);
    const display::GraphicsState before = screen->m_state;
    canvas->flushGraphics(10, 20, 30, 40);  // only this rectangle reaches the screen
    EXPECT_EQ(screenAt(10, 20), 0xFFFF);
    EXPECT_EQ(screenAt(39, 59), 0xFFFF);
    EXPECT_EQ(screenAt(40, 59), 0);
    EXPECT_EQ(screenAt(39, 60), 0);
    EXPECT_EQ(screenAt(9, 20), 0);
    EXPECT_EQ(screen->m_state.clipX2, before.clipX2);  // the clip is restored
    EXPECT_EQ(screen->m_state.clipY2, before.clipY2);
    canvas->flushGraphics();
    EXPECT_EQ(screenAt(0, 0), 0xFFFF);
    EXPECT_EQ(screenAt(479, 799), 0xFFFF);

    // paint draws the buffer at (0, 0) with the anchor 0, whatever the Graphics.
    Image* small = Image::createImage(4, 4);
    g1->setColor(0x00FF00);
    g1->fillRect(1, 1, 1, 1);
    canvas->paint(small->getGraphics());
    EXPECT_EQ(px(small, 0, 0), 0xFFFF);
    EXPECT_EQ(px(small, 1, 1), 0x07E0);
}

}  // namespace
