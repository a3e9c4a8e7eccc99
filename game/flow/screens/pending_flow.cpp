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
