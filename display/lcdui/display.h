// The displayable side of lcdui as runtime objects: Displayable and Canvas
// (the callbacks the shell calls on the current displayable, in their
// dispatch-slot order), Display (getDisplay, setCurrent), Command with its
// argument checks, and GameCanvas with its off-screen buffer.
//
// Canvas.repaint is synchronous paint-and-present on the calling thread;
// the shell installs the routine that does it (setRepaintHandler) and
// paintCurrent() is the paint half it calls.
#pragma once

#include "runtime/object.h"
#include "runtime/string.h"

class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

class javax_microedition_lcdui_Displayable : public Object {
public:
    explicit javax_microedition_lcdui_Displayable(uint16_t classId = cid::javax_microedition_lcdui_Displayable)
        : Object(classId) {}

    // 6, 7: the screen image's size (480 x 800 without one).
    virtual jint getWidth();
    virtual jint getHeight();
    // 8: size notification; nothing by default.
    virtual void sizeChanged(jint width, jint height) {}
};

class javax_microedition_lcdui_Canvas : public javax_microedition_lcdui_Displayable {
public:
    explicit javax_microedition_lcdui_Canvas(uint16_t classId = cid::javax_microedition_lcdui_Canvas)
        : javax_microedition_lcdui_Displayable(classId) {}

    // 9-16: input, visibility and paint callbacks; nothing by default.
    virtual void keyPressed(jint keyCode) {}
    virtual void keyReleased(jint keyCode) {}
    virtual void pointerPressed(jint x, jint y) {}
    virtual void pointerReleased(jint x, jint y) {}
    virtual void pointerDragged(jint x, jint y) {}
    virtual void showNotify() {}
    virtual void hideNotify() {}
    virtual void paint(javax_microedition_lcdui_Graphics* g) {}

    // Synchronous repaint through the installed handler (nothing without
    // one); serviceRepaints does nothing (repaint has already happened).
    static void repaint(javax_microedition_lcdui_Canvas* canvas);
    static void serviceRepaints(javax_microedition_lcdui_Canvas* canvas) {}

    using RepaintHandler = void (*)(javax_microedition_lcdui_Canvas* canvas);
    static void setRepaintHandler(RepaintHandler handler);

    // The paint half of a repaint: when there is a current displayable and
    // a screen Graphics, resets the screen Graphics (translation 0, whole
    // clip, white), calls the displayable's paint with it, drains what it
    // left pending and gives the collector its chance (forced when the
    // application's collection-requested flag is set, which it clears);
    // the clip is set to the whole screen again in every case. True when
    // paint was called.
    static bool paintCurrent();
};

class javax_microedition_lcdui_Display : public Object {
public:
    javax_microedition_lcdui_Display() : Object(cid::javax_microedition_lcdui_Display) {}

    // A new, field-less Display on every call; the MIDlet is not used.
    static javax_microedition_lcdui_Display* getDisplay(Object* midlet);
    // Makes d the application's current displayable (key, pointer, paint,
    // show and hide callbacks go to it).
    void setCurrent(javax_microedition_lcdui_Displayable* d);
    javax_microedition_lcdui_Displayable* getCurrent();
    // The device does not vibrate: false.
    jboolean vibrate(jint ms) { return false; }
};

class javax_microedition_lcdui_Command : public Object {
public:
    static constexpr jint SCREEN = 1, BACK = 2, CANCEL = 3, OK = 4, HELP = 5, STOP = 6, EXIT = 7, ITEM = 8;

    // A type outside 1..8 raises java_lang_IllegalArgumentException; a null
    // label java_lang_NullPointerException (type and priority stored first).
    // Both are left pending on the calling thread.
    javax_microedition_lcdui_Command(String* label, jint commandType, jint priority);
    javax_microedition_lcdui_Command(String* shortLabel, String* longLabel, jint commandType, jint priority);

    virtual jint getPriority() { return m_priority; }  // 6

    String* getLabel() const { return m_shortLabel; }
    String* getLongLabel() const { return m_longLabel; }
    jint getCommandType() const { return m_commandType; }
    jint getTag() const { return m_tag; }
    void setTag(jint tag) { m_tag = tag; }

    String* m_shortLabel;
    String* m_longLabel;
    jint m_commandType;
    jint m_priority;
    jint m_tag;

private:
    void construct(String* shortLabel, String* longLabel, jint commandType, jint priority);
};

class javax_microedition_lcdui_game_GameCanvas : public javax_microedition_lcdui_Canvas {
public:
    // buffer = a new mutable image of getWidth() x getHeight() (the
    // Displayable's: called from the constructor, no override is seen). A subclass
    // with reference fields of its own registers them all, m_buffer included
    // (the collector keeps one list per class).
    explicit javax_microedition_lcdui_game_GameCanvas(
        uint16_t classId = cid::javax_microedition_lcdui_game_GameCanvas);

    // A new Graphics on the buffer each call.
    javax_microedition_lcdui_Graphics* getGraphics();
    // Draws the buffer at (0, 0), anchor 0.
    void paint(javax_microedition_lcdui_Graphics* g) override;
    // The buffer through the screen Graphics at (0, 0), clipped to the
    // rectangle (the whole canvas for the first form); the screen clip is
    // restored afterwards. Nothing is presented.
    void flushGraphics();
    void flushGraphics(jint x, jint y, jint width, jint height);

    javax_microedition_lcdui_Image* m_buffer;
};
