// Static fields of the lcdui classes and the routing of the display core's
// log into the runtime log.
#include "display/lcdui/lcdui.h"

#include <cstddef>

#include "display/lcdui/display.h"
#include "display/lcdui/font.h"
#include "display/lcdui/image.h"
#include "display/log.h"
#include "runtime/application.h"
#include "runtime/factory.h"
#include "runtime/log.h"

namespace lcdui {
namespace {

// The statics block whose class initialiser ran (the fields are placed
// only in applications built with this contribution).
StaticClass* g_placedIn = nullptr;

void toRuntimeLog(const char* message) { logPrintf("%s", message); }

void stackTraceOfCaller() {
    if (Application::instance()) Application::logStackTrace();
}

void clinit() {
    installLogging();
    g_placedIn = StaticClass::instance();
}

StaticsContribution g_statics = StaticsContribution::of<Statics>(
    "javax_microedition_lcdui", kClinitLibrary, &clinit,
    {offsetof(Statics, defaultFont), offsetof(Statics, fontCache)});

}  // namespace

void installLogging() {
    display::setLogSink(&toRuntimeLog);
    display::setStackTraceHook(&stackTraceOfCaller);
}

void registerStatics() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    StaticClass::contribute(&g_statics);
    // A command needs a label and a valid type: an empty SCREEN command.
    NewInstanceFactory::registerCreator(cid::javax_microedition_lcdui_Command, []() -> Object* {
        return newObject<javax_microedition_lcdui_Command>(String::empty(), javax_microedition_lcdui_Command::SCREEN, 0);
    });
    NewInstanceFactory::registerCreator(cid::javax_microedition_lcdui_Display,
                                        &rt::plainInstance<javax_microedition_lcdui_Display>);
    NewInstanceFactory::registerCreator(cid::javax_microedition_lcdui_Font,
                                        &rt::plainInstance<javax_microedition_lcdui_Font, 0, 0, 0>);
    NewInstanceFactory::registerCreator(cid::javax_microedition_lcdui_Image,
                                        &rt::plainInstance<javax_microedition_lcdui_Image>);
}

const StaticsContribution* staticsContribution() { return &g_statics; }

Statics* statics() {
    StaticClass* block = StaticClass::instance();
    // The initialiser ran in this block and the block holds our root slots
    // (a later block at the same address may have been built without them).
    if (block && block == g_placedIn) {
        Statics* fields = ::statics<Statics>(g_statics);
        auto* slot = reinterpret_cast<Object**>(&fields->defaultFont);
        for (Object** root : block->rootSlots())
            if (root == slot) return fields;
    }
    logPrintf("lcdui: static fields missing (lcdui::registerStatics before Application::init)");
    return nullptr;
}

}  // namespace lcdui
