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

jint touchedListRow() { return isCursorRowTapped() ? cg().menuCursor : -1; }

bool isSoundOn() { return cg().soundOn != 0; }
void setSoundOn(bool on) { cg().soundOn = on; }

IntArray* padZone(jint i) {
    if (!cg().padZones) buildPadZones();
    ObjectArray* z = cg().padZones;
    return z && i >= 0 && i < z->length() ? static_cast<IntArray*>(z->data()[i]) : nullptr;
}

jint& buttonBits() { return cg().buttonBits; }
jint stateTicks() { return cg().stateTicks; }
jint& stateParam() { return cg().stateParam; }
jint pendingState() { return cg().statePending ? cg().pendingState : -1; }
bool isConfirmTouched() { return isScreenTapped(); }

IntArray* loadRequest() {
    if (!cg().loadRequest) cg().loadRequest = newIntArray(4);
    return cg().loadRequest;
}

jint stepDelta() { return cg().stepDelta; }
void setReuseLoadPlan() { cg().reuseLoadPlan = true; }
jint& requestFlags() { return cg().flags; }
void markAllVariablesChanged() { cg().variableChangedMask = -1; }
void setInLevel(bool on) { cg().inLevel = on ? 1 : 0; }
bool inLevel() { return cg().inLevel != 0; }
String* appProperty(String* name) {
    javax_microedition_midlet_MIDlet* midlet = cg().midlet;
    if (!midlet || !name) return nullptr;
    String* value = midlet->getAppProperty(name);
    Application::clearPendingException();
    return value;
}
void stopChannelSound(jint channel) { queueStop(channel); }

}  // namespace game
