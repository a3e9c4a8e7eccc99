// Routines of the game flow core that the screens call: the game's own
// random generator and whole-degree sine.
#pragma once

#include "runtime/object.h"

namespace game {

// 0 when n is 0 (the seed untouched); else steps the seed and returns
// |seed rem n|.
jint random(jint n);
// a when b == a (the seed untouched); else a + |seed rem (b - a)| after a step.
jint randomRange(jint a, jint b);
// Sine of a whole-degree angle scaled by 16384.
jint fixedSin(jint degrees);

}  // namespace game

class BSprite;
class IntArray;
class String;

namespace game {

// Game keys (bit masks of the key state): newly pressed, held.
bool isKeyPressed(jint mask);
bool isKeyHeld(jint mask);
// Clears the key and touch masks.
void resetKeys();
// The touch point lies in the zone {x, y, w, h}.
bool isTouchInRect(IntArray* zone);
// A touch was released inside the zone.
bool isTouchReleasedIn(IntArray* zone);
// Requests a sound by id.
void playSound(jint id);
// Game font i (cGame.fonts), or null.
BSprite* gameFont(jint i);
// The hero takes input (no script holds it).
bool isHeroInputFree();
// Prints a line on the standard output stream.
void printLine(String* text);

}  // namespace game

namespace game {

// The list row touched this step (list touch tracking), or -1.
jint touchedListRow();
// Clears the touch-scroll state of the list and sets its drag mode.
void resetTouchList(jint dragRows);
// Sets flag value 1 (in-transition) of the current state's table entry.
void setInTransitionFlag();
// The sound option is on.
bool isSoundOn();
// n with the language's thousands separator.
String* formatNumberSep(jint n, jint language);

}  // namespace game

namespace game {

// Marks resource `entry` of loading group `group` needed by the level.
void requireResource(jint entry, jint group);

}  // namespace game

namespace game {

// Pad zone i of the in-game touch controls ({x, y, w, h}), built on first
// use; null when it has none.
IntArray* padZone(jint i);
// The partner-action zone is touched.
bool isPartnerZoneTouched();
// The touch-control button bits of this step (cGame.buttonBits).
jint& buttonBits();

}  // namespace game

namespace game {

// Deferred state requests and the state stack.
void requestSetState(jint s);
void requestPushState(jint s);
void requestPopState();
// The topmost covered state when s is current, the entry below s when s
// is covered, -1 otherwise.
jint getStateBelow(jint s);
// Logic steps since the current state became current.
jint stateTicks();
// The value that belongs to the current state (saved across push and pop).
jint& stateParam();
// The target of the pending request, -1 when none waits.
jint pendingState();
// The confirm touch zone was hit this step.
bool isConfirmTouched();
bool isAnyKeyPressed();
// Stops a sound channel (-1 both).
void stopSound(jint channel);
// The load request {kind, stage, sub-mode, next state}, zeroed.
void clearLoadRequest();
IntArray* loadRequest();
// Sets bit (1 << difficulty) of progress byte 198 + stage.
void setLevelFlag(jint stage, jint difficulty);
// Bit of a difficulty in progress byte 192.
void setRecordFlag(jint difficulty);
// Milliseconds between the last two logic steps.
jint stepDelta();

}  // namespace game

namespace game {

// Picks the hint of the next loading screen.
void pickLoadingHint();
// Plans the next load by the previous plan again (cGame.reuseLoadPlan).
void setReuseLoadPlan();
// Zeroes the level's tile attribute tables.
void clearTileAttributes();
// The two map-region tables and their sizes forgotten.
void clearMapRegions();
// The level's record tables, script tables and camera target forgotten.
void forgetLevelTables();

}  // namespace game

namespace game {

// Shows menu menuId in the question-menu state (24), cursor at param.
void pushQuestionMenu(jint menuId, jint param);
// Back to the main menu: through a menu-data load after a level, else
// directly.
void returnToMainMenu();

}  // namespace game

namespace game {

// The request bits of cGame.flags (scripts, key sequences).
jint& requestFlags();
// Matches the key sequences of the main menu (sets request bits).
void matchKeySequence();
// Some progress has been stored.
bool hasProgress();
// Sound switched off and every channel stopped; all sounds stopped.
void stopAllSoundsAndDisable();
void stopAllSounds();
void setSoundOn(bool on);
// The device vibrates for ms milliseconds.
void vibrate(jint ms);
// The game variables all marked changed, the key masks cleared.
void markAllVariablesChanged();
// Starts a new game on the difficulty (byte 191, stage 0).
void setInLevel(bool on);
bool inLevel();

}  // namespace game

namespace game {

// The application property of that name, or null.
String* appProperty(String* name);

}  // namespace game
