// The lcdui classes as runtime objects (Image, Graphics, Font, Display,
// Displayable, Canvas, Command, GameCanvas) and their static fields.
//
// A program (or test) calls lcdui::registerStatics() once before
// Application::init. The class initialiser then routes the display core's
// log lines to the runtime log ("<id> text") and its argument faults to
// the runtime's stack trace, and the font cache and default font start
// empty in each application.
#pragma once

#include "display/lcdui/display.h"
#include "display/lcdui/font.h"
#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "runtime/statics.h"

class java_util_Hashtable;

namespace lcdui {

// Static fields of the lcdui classes (one block in the statics block).
struct Statics {
    javax_microedition_lcdui_Font* defaultFont;  // Font: made on first use
    java_util_Hashtable* fontCache;              // Font: Integer(face | style | size) -> Font
};

// Registers the static fields (idempotent). Before Application::init.
void registerStatics();
// The contribution itself, for applications built with an explicit list.
const StaticsContribution* staticsContribution();
// The fields in the current application, or null (logged) when this
// application was built without them.
Statics* statics();

// Routes the display core's log lines and fault stack traces into the
// runtime log (done by the class initialiser; callable directly).
void installLogging();

}  // namespace lcdui
