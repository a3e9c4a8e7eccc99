// Key input and touch input. The canvas callbacks (main thread) queue their
// events; the game thread applies them before a logic step (key bits and
// pointer points), folds the key masks once per logic step and closes a
// touch frame after it, and game code asks with bit masks and touch zones.
// Writers on both threads and the fold take one small lock (inputLock), so
// a key or pointer event is never half applied, and none arrives between a
// step's reads and the fold that follows them. A press stays pressed until
// a logic step that takes input has seen it (its release comes after), and
// a touch's frame stays open while a screen comes in, so no quick tap is
// lost.
//
// Game-key bits: '0'-'9' 0x1-0x200, '#' 0x400, '*' 0x800, left 0x1000,
// right 0x2000, up 0x4000, down 0x8000, fire 0x10000, right soft 0x20000,
// left soft 0x40000. A touch zone is int[4] {x, y, w, h} with its right and
// bottom edges inside.
#pragma once

#include <mutex>

#include "runtime/array.h"

namespace game {

std::recursive_mutex& inputLock();

// --- keys ------------------------------------------------------------------
jint keyCodeToGameKey(jint code);
void keyPressed(jint code);
void keyReleased(jint code);
// The fold of a logic step: presses and releases so far count as seen.
void updateKeys();
// The second fold of a pass, before the repaint: what no logic step has
// seen yet (a press, a release) is kept for the next step.
void refoldKeys();
void resetKeys();
bool isKeyHeld(jint mask);
bool isKeyPressed(jint mask);
bool isKeyReleased(jint mask);
bool isAnyKeyHeld();
bool isAnyKeyPressed();
void matchKeySequence();
void applyKeySequence();
jint getShowcaseKey();
// cGame.createKeyMaps and cGame.buildKeyMaps (two Hashtables, never read).
void createKeyMaps();
void buildKeyMaps();

// --- events from the canvas callbacks -------------------------------------
// The callbacks run on the main thread while the game thread steps; an event
// applied in the middle of a step could be folded away after it before any
// step read it (a press between the step's read and the fold, a release
// between the pause check and the touch frame's end). The canvas queues its
// events here instead, and the game thread applies them, in order, right
// before each logic step, so every event is seen whole by the next step.
enum class InputEventKind { KeyPressed, KeyReleased, PointerPressed, PointerDragged, PointerReleased };
void queueInputEvent(InputEventKind kind, jint a, jint b = 0);
// Applies the queued events in arrival order (either thread; takes inputLock).
void applyQueuedInput();
// Forgets the queued events (a new canvas starts with none).
void discardQueuedInput();

// --- touch -----------------------------------------------------------------
void pointerPressed(jint x, jint y);
void pointerDragged(jint x, jint y);
void pointerReleased(jint x, jint y);
void endTouchFrame();
// Forgets a touch released but not yet used (its release and tap points;
// with a release, the press too); a finger still down stays.
void dropReleasedTouch();

bool pointInZone(jint px, jint py, jint x, jint y, jint w, jint h);
bool tapInRect(jint x, jint y, jint w, jint h);
bool isInRect(IntArray* zone);
bool touchInRect(jint x, jint y, jint w, jint h);
bool isTouchInRect(IntArray* zone);

bool takeScreenTouch();
bool isScreenTapped();
// Uses up this frame's tap (the tap point's x becomes -1).
void takeScreenTap();
bool takeRect3Tap();
bool takeRect2Tap();
bool takeRect3Touch();
bool takeActionButton();
bool isCornerTouched();
bool isPartnerZoneTouched();
bool isCursorRowTapped();
bool isNextArrowTouched();
bool isPrevArrowTouched();
bool isNextArrowTapped();
bool isPrevArrowTapped();
void consumeScreenTouch();

// The current menu as the touch list sees it (the menu code sets it):
// entry count, row height and centre from the menu's header, its cursor.
void setTouchMenu(jint entries, jint rowHeight, jint centreX, jint centreY);
void resetTouchList(jint cursor);
void buildListRowZones();
void scrollListTo(jint cursor);
jint getListRow(jint index, jint mode);
void updateListArrows();
void updateListTouch();
void setListArrowZones(jint x1, jint y1, jint x2, jint y2);
void setPageArrowZones(jint x1, jint y1, jint x2, jint y2);
void resetListZones();
void buildPadZones();
void enableSound();
void toggleOptionFlag();

// The partner test's view of the hero and its partner (heroPartnerView,
// game/actor/screencalls.h): the partner's presence and facing.
struct PartnerView {
    bool present = false;  // partner actor set and in a mode that counts
    jint partnerX = 0;
    jint heroX = 0;
    jint heroFacing = 0;
};
// The dialog kind (3 blocks the action button); the dialog code sets it.
void setDialogKind(jint kind);

}  // namespace game
