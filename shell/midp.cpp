// Displayable, Canvas and MIDlet natives over the shell's hooks, and the
// MIDlet class's static field.
#include "shell/midp.h"

#include <atomic>
#include <cstddef>

#include "runtime/statics.h"

namespace {

struct MidletStatics {
    javax_microedition_midlet_MIDlet* running;
};

StaticsContribution g_midletStatics = StaticsContribution::of<MidletStatics>(
    "javax_microedition_midlet_MIDlet", kClinitLibrary, nullptr, {offsetof(MidletStatics, running)});

std::atomic<midp::MidletCreator> g_creator{nullptr};
midp::Hooks g_hooks;

}  // namespace

jint javax_microedition_lcdui_Displayable::getWidth() { return kScreenWidth; }
jint javax_microedition_lcdui_Displayable::getHeight() { return kScreenHeight; }

void javax_microedition_lcdui_Canvas::repaint(javax_microedition_lcdui_Canvas*) {
    if (g_hooks.repaint) g_hooks.repaint();
}

javax_microedition_midlet_MIDlet::javax_microedition_midlet_MIDlet(uint16_t classId) : Object(classId) {
    StaticClass::setRefFieldOffsets(this, {&m_properties});
}

String* javax_microedition_midlet_MIDlet::getAppProperty(String* key) {
    return g_hooks.appProperty ? g_hooks.appProperty(this, key) : nullptr;
}

void javax_microedition_midlet_MIDlet::notifyDestroyed(javax_microedition_midlet_MIDlet*) {
    if (g_hooks.notifyDestroyed) g_hooks.notifyDestroyed();
}

javax_microedition_midlet_MIDlet* javax_microedition_midlet_MIDlet::current() {
    return StaticClass::instance() ? statics<MidletStatics>(g_midletStatics)->running : nullptr;
}

void javax_microedition_midlet_MIDlet::setCurrent(javax_microedition_midlet_MIDlet* midlet) {
    if (StaticClass::instance()) statics<MidletStatics>(g_midletStatics)->running = midlet;
}

namespace midp {

void setMidletCreator(MidletCreator creator) { g_creator.store(creator); }
MidletCreator midletCreator() { return g_creator.load(); }

void setHooks(const Hooks& hooks) { g_hooks = hooks; }
const Hooks& hooks() { return g_hooks; }

void registerStatics() { StaticClass::contribute(&g_midletStatics); }

}  // namespace midp
