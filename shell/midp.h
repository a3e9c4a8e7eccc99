// The MIDP classes that the runtime drives: Displayable and Canvas (the screen
// that key, pointer, paint and show/hide calls go to) and MIDlet (the life
// cycle). Converted classes derive from them; the shell calls their virtual
// operations by dispatch slot and provides their natives (repaint,
// notifyDestroyed) through the hooks below, so that code linked below the
// shell (the game) sees only this header.
//
// Dispatch slots continue Object's six:
//   Displayable  6 getWidth, 7 getHeight
//   Canvas       8 (not called by the runtime), 9 keyPressed, 10 keyReleased,
//                11 pointerPressed, 12 pointerReleased, 13 pointerDragged,
//                14 showNotify, 15 hideNotify, 16 paint; a subclass goes on
//                from 17
//   MIDlet       6 getAppProperty, 7 startApp, 8 pauseApp, 9 destroyApp
#pragma once

#include "runtime/object.h"

class String;
class javax_microedition_lcdui_Graphics;

// The screen every displayable covers (the back buffer, top-down RGB565).
inline constexpr jint kScreenWidth = 480;
inline constexpr jint kScreenHeight = 800;

class javax_microedition_lcdui_Displayable : public Object {
public:
    explicit javax_microedition_lcdui_Displayable(uint16_t classId = cid::javax_microedition_lcdui_Displayable)
        : Object(classId) {}

    // Slots 6 and 7: the screen's width and height.
    virtual jint getWidth();
    virtual jint getHeight();
};

class javax_microedition_lcdui_Canvas : public javax_microedition_lcdui_Displayable {
public:
    explicit javax_microedition_lcdui_Canvas(uint16_t classId = cid::javax_microedition_lcdui_Canvas)
        : javax_microedition_lcdui_Displayable(classId) {}

    virtual void reservedSlot8() {}                     // 8
    virtual void keyPressed(jint keyCode) {}            // 9: MIDP key codes
    virtual void keyReleased(jint keyCode) {}           // 10
    virtual void pointerPressed(jint x, jint y) {}      // 11: screen coordinates
    virtual void pointerReleased(jint x, jint y) {}     // 12
    virtual void pointerDragged(jint x, jint y) {}      // 13
    virtual void showNotify() {}                        // 14
    virtual void hideNotify() {}                        // 15
    virtual void paint(javax_microedition_lcdui_Graphics* g) = 0;  // 16

    // Natives. repaint paints and presents synchronously on the calling
    // thread (only the game thread asks); serviceRepaints has nothing left to do.
    static void repaint(javax_microedition_lcdui_Canvas* canvas);
    static void serviceRepaints(javax_microedition_lcdui_Canvas* canvas) {}
};

class javax_microedition_midlet_MIDlet : public Object {
public:
    // Registers the properties field with the collector.
    explicit javax_microedition_midlet_MIDlet(uint16_t classId);

    virtual String* getAppProperty(String* key);                // 6
    virtual void startApp() = 0;                                // 7
    virtual void pauseApp() = 0;                                // 8
    virtual void destroyApp(jboolean unconditional) = 0;        // 9

    // Native: clears the application's running flag; the main loop then
    // ends its pass and tears the application down.
    static void notifyDestroyed(javax_microedition_midlet_MIDlet* midlet);

    // The running MIDlet (a static field of the class; null before start).
    static javax_microedition_midlet_MIDlet* current();
    static void setCurrent(javax_microedition_midlet_MIDlet* midlet);

    Object* m_properties;  // java_util_Hashtable of the descriptor's entries
};

namespace midp {

// Makes the application's MIDlet: allocates it and runs its constructor.
using MidletCreator = javax_microedition_midlet_MIDlet* (*)();
void setMidletCreator(MidletCreator creator);
MidletCreator midletCreator();

// What the natives above do, installed by the shell. Unset hooks do nothing
// (getAppProperty answers null).
struct Hooks {
    void (*repaint)() = nullptr;
    void (*notifyDestroyed)() = nullptr;
    String* (*appProperty)(javax_microedition_midlet_MIDlet* midlet, String* key) = nullptr;
};
void setHooks(const Hooks& hooks);
const Hooks& hooks();

// The static fields of these classes; registered before the application starts.
void registerStatics();

}  // namespace midp
