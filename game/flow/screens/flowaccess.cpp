// Small accessors the screens use over the flow core's fields and
// routines (flowseams.h).
#include <cstdio>

#include "game/data/statics.h"
#include "game/flow/canvas.h"
#include "game/flow/screens/flowseams.h"
#include "game/sprite/sprite.h"
#include "io/midlet.h"
#include "runtime/application.h"
#include "runtime/string.h"

namespace game {

bool isTouchReleasedIn(IntArray* zone) { return isInRect(zone); }

BSprite* gameFont(jint i) { return fontAt(i); }

void printLine(String* text) {
    if (!text) return;
    const std::string s = text->toUtf8();
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fputc('\n', stdout);
}

jint touchedListRow() { return isCursorRowTapped() ? fl().menuCursor : -1; }

bool isSoundOn() { return fl().soundOn != 0; }
void setSoundOn(bool on) { fl().soundOn = on; }

IntArray* padZone(jint i) {
    if (!fl().padZones) buildPadZones();
    ObjectArray* z = fl().padZones;
    return z && i >= 0 && i < z->length() ? static_cast<IntArray*>(z->data()[i]) : nullptr;
}

jint& buttonBits() { return fl().buttonBits; }
jint stateTicks() { return fl().stateTicks; }
jint& stateParam() { return fl().stateParam; }
jint pendingState() { return fl().statePending ? fl().pendingState : -1; }
bool isConfirmTouched() { return isScreenTapped(); }

IntArray* loadRequest() {
    if (!fl().loadRequest) fl().loadRequest = newIntArray(4);
    return fl().loadRequest;
}

jint stepDelta() { return fl().stepDelta; }
void setReuseLoadPlan() { fl().reuseLoadPlan = true; }
jint& requestFlags() { return fl().flags; }
void markAllVariablesChanged() { cg().variableChangedMask = -1; }
void setInLevel(bool on) { fl().inLevel = on ? 1 : 0; }
bool inLevel() { return fl().inLevel != 0; }
String* appProperty(String* name) {
    javax_microedition_midlet_MIDlet* midlet = fl().midlet;
    if (!midlet || !name) return nullptr;
    String* value = midlet->getAppProperty(name);
    Application::clearPendingException();
    return value;
}
void stopChannelSound(jint channel) { queueStop(channel); }

}  // namespace game
