// Definitions of flow-core routines the screens need, kept here only until
// the flow core's own arrive in the library (then this file is deleted).
#include <cmath>

#include "game/flow/screens/flowseams.h"
#include "runtime/jint.h"

namespace game {

jint g_pendingRandomSeed = 0;

namespace {
jint stepSeed() {
    g_pendingRandomSeed = java::irem(java::iadd(java::imul(g_pendingRandomSeed, 59051), 177149), 14348907);
    return g_pendingRandomSeed;
}
jint absolute(jint v) { return v < 0 ? java::ineg(v) : v; }
}  // namespace

jint random(jint n) {
    if (n == 0) return 0;
    return absolute(java::irem(stepSeed(), n));
}

jint randomRange(jint a, jint b) {
    if (a == b) return a;
    return java::iadd(a, absolute(java::irem(stepSeed(), java::isub(b, a))));
}

jint fixedSin(jint degrees) {
    const jint d = java::irem(degrees, 360);
    return static_cast<jint>(std::lround(16384.0 * std::sin(d * 3.14159265358979323846 / 180.0)));
}

}  // namespace game

#include "runtime/string.h"

namespace game {

jint g_pendingKeysPressed = 0;
jint g_pendingKeysHeld = 0;
bool isKeyPressed(jint mask) { return (g_pendingKeysPressed & mask) != 0; }
bool isKeyHeld(jint mask) { return (g_pendingKeysHeld & mask) != 0; }
void resetKeys() {}
bool isTouchInRect(IntArray*) { return false; }
bool isTouchReleasedIn(IntArray*) { return false; }
void playSound(jint) {}
BSprite* gameFont(jint) { return nullptr; }
bool isHeroInputFree() { return true; }
void printLine(String*) {}

}  // namespace game

namespace game {

jint touchedListRow() { return -1; }
void resetTouchList(jint) {}
void setInTransitionFlag() {}
bool isSoundOn() { return true; }
String* formatNumberSep(jint n, jint) { return String::valueOfInt(n); }

}  // namespace game

#include <functional>

namespace game {

std::function<void(jint, jint)> g_pendingRequire;

void requireResource(jint entry, jint group) {
    if (g_pendingRequire) g_pendingRequire(entry, group);
}

}  // namespace game

namespace game {

std::function<bool(jint)> g_pendingPadTouched;
jint g_pendingButtonBits = 0;
IntArray* padZone(jint) { return nullptr; }
bool isPartnerZoneTouched() { return false; }
jint& buttonBits() { return g_pendingButtonBits; }

}  // namespace game

#include <vector>

#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/screens/screens.h"

namespace game {

// The recorded requests: {op, state}, op 0 set, 1 push, 2 pop.
std::vector<std::pair<jint, jint>> g_pendingRequests;
jint g_pendingStateTicks = 0;
jint g_pendingStateParam = 0;
jint g_pendingStateBelow = -1;
bool g_pendingConfirm = false;

void requestSetState(jint s) { g_pendingRequests.emplace_back(0, s); }
void requestPushState(jint s) { g_pendingRequests.emplace_back(1, s); }
void requestPopState() { g_pendingRequests.emplace_back(2, -1); }
jint getStateBelow(jint) { return g_pendingStateBelow; }
jint stateTicks() { return g_pendingStateTicks; }
jint& stateParam() { return g_pendingStateParam; }
jint pendingState() { return g_pendingRequests.empty() ? -1 : g_pendingRequests.back().second; }
bool isConfirmTouched() { return g_pendingConfirm; }
bool isAnyKeyPressed() { return g_pendingKeysPressed != 0; }
void stopSound(jint) {}
void clearLoadRequest() {
    if (!scr().pendingLoadRequest) scr().pendingLoadRequest = newIntArray(4);
    for (jint i = 0; i < 4; ++i) scr().pendingLoadRequest->data()[i] = 0;
}
IntArray* loadRequest() {
    if (!scr().pendingLoadRequest) clearLoadRequest();
    return scr().pendingLoadRequest;
}
void setLevelFlag(jint stage, jint difficulty) {
    ByteArray* p = cg().progress;
    const jint i = 198 + stage;
    if (p && stage >= 0 && stage < 11 && difficulty >= 0 && difficulty < 8)
        p->data()[i] = static_cast<jbyte>(p->data()[i] | (1 << difficulty));
}
void setRecordFlag(jint difficulty) {
    ByteArray* p = cg().progress;
    if (p && difficulty >= 0 && difficulty < 8) p->data()[192] = static_cast<jbyte>(p->data()[192] | (1 << difficulty));
}
jint stepDelta() { return 62; }

}  // namespace game

namespace game {

void pickLoadingHint() {}
void setReuseLoadPlan() {}
void clearTileAttributes() {}
void clearMapRegions() {}
void forgetLevelTables() {}

}  // namespace game

namespace game {

void pushQuestionMenu(jint, jint) { g_pendingRequests.emplace_back(1, 24); }
void returnToMainMenu() { g_pendingRequests.emplace_back(0, 6); }

}  // namespace game

namespace game {

jint g_pendingFlags = 0;
bool g_pendingHasProgress = false;
bool g_pendingInLevel = false;
jint& requestFlags() { return g_pendingFlags; }
void matchKeySequence() {}
bool hasProgress() { return g_pendingHasProgress; }
void stopAllSoundsAndDisable() {}
void stopAllSounds() {}
void setSoundOn(bool) {}
void vibrate(jint) {}
void markAllVariablesChanged() { cg().variableChangedMask = -1; }
void setInLevel(bool on) { g_pendingInLevel = on; }
bool inLevel() { return g_pendingInLevel; }

}  // namespace game

namespace game {

String* appProperty(String*) { return nullptr; }

}  // namespace game
