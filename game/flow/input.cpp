// Key input and touch input (input.h). The main thread's callbacks and the
// game thread's fold, frame end and zone tests all take inputLock, so the
// masks and points are always seen whole.
#include "game/flow/input.h"

#include <cstdlib>

#include "game/actor/screencalls.h"
#include "game/data/statics.h"
#include "game/showcase/showcase.h"
#include "game/flow/flow_statics.h"
#include "game/flow/screens/menus.h"
#include "javalib/hashtable.h"
#include "javalib/wrappers.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game {

std::recursive_mutex& inputLock() {
    static std::recursive_mutex lock;
    return lock;
}

namespace {
using Guard = std::lock_guard<std::recursive_mutex>;
constexpr jint kOrdinaryKeys = 0x1FFFF;
}  // namespace

jint keyCodeToGameKey(jint code) {
    if (code >= '0' && code <= '9') return 1 << (code - '0');
    switch (code) {
    case '#': return 0x400;
    case '*': return 0x800;
    case -3: case 3: return 0x1000;
    case -4: case 4: return 0x2000;
    case -1: case 1: return 0x4000;
    case -2: case 2: return 0x8000;
    case -5: case 5: return 0x10000;
    case -7: return 0x20000;
    case -6: return 0x40000;
    default: return 0;
    }
}

namespace {
// Clears released bits from the masks and records them as released.
void applyRelease(cGameStatics& f, jint r) {
    f.keysCurrent &= ~r;
    f.keysPressed &= ~r;
    f.keysHeld &= ~r;
    f.keysReleased |= r;
    f.releasesUnseen |= r;
}
}  // namespace

// A press no logic step has seen yet keeps its bit pressed and held: its
// release waits until a step has seen the press (releasesDeferred), so a
// tap shorter than a step still counts as one press.
void keyReleased(jint code) {
    Guard guard(inputLock());
    cGameStatics& f = cg();
    const jint bit = keyCodeToGameKey(code);
    const jint deferred = bit & f.keysUnseen;
    f.releasesDeferred |= deferred;
    applyRelease(f, bit & ~deferred);
    cg().lastKeyCode = -1;
}

void keyPressed(jint code) {
    Guard guard(inputLock());
    if (cg().lastKeyCode != -1) keyReleased(cg().lastKeyCode);
    cGameStatics& f = cg();
    const jint b = keyCodeToGameKey(code);
    const jint p = f.keysPressed | b;
    f.keysHeld |= p;
    f.keysCurrent |= p;
    f.keysPressed = p;
    f.keysUnseen |= b;
    f.releasesDeferred &= ~b;
    cg().lastKeyCode = code;
}

namespace {
void foldKeys(cGameStatics& f) {
    if (f.keysPressed != 0) {
        f.lastPressedKeys = f.keysPressed;
        f.ticksSincePress = 0;
    }
    f.ticksSincePress += 1;
    // The callbacks change keysHeld and keysCurrent together, so a change
    // is seen against the mask of the previous fold: -1 at the change, then
    // one more per fold while the same keys stay down.
    if (f.foldHeld != f.keysCurrent)
        f.keyHoldTicks = -1;
    else if (f.keysCurrent != 0)
        f.keyHoldTicks += 1;
    f.keysHeld = f.keysCurrent;
    f.foldHeld = f.keysCurrent;
    // What no logic step has seen yet stays for the next one.
    f.keysReleased = f.releasesUnseen;
    f.keysPressed = f.keysUnseen;
}
}  // namespace

void updateKeys() {
    Guard guard(inputLock());
    cGameStatics& f = cg();
    // A logic step has just seen every press and release so far.
    f.keysUnseen = 0;
    f.releasesUnseen = 0;
    foldKeys(f);
    // Releases that waited for their press to be seen come now.
    const jint deferred = f.releasesDeferred;
    f.releasesDeferred = 0;
    if (deferred != 0) applyRelease(f, deferred);
}

void refoldKeys() {
    Guard guard(inputLock());
    foldKeys(cg());
}

void resetKeys() {
    Guard guard(inputLock());
    cGameStatics& f = cg();
    f.keysPressed = f.keysReleased = f.keysHeld = f.keysCurrent = 0;
    f.keysUnseen = f.releasesUnseen = f.releasesDeferred = 0;
}

bool isKeyHeld(jint mask) { Guard g(inputLock()); return (cg().keysHeld & mask) != 0; }
bool isKeyPressed(jint mask) { Guard g(inputLock()); return (cg().keysPressed & mask) != 0; }
bool isKeyReleased(jint mask) { Guard g(inputLock()); return (cg().keysReleased & mask) != 0; }
bool isAnyKeyHeld() { Guard g(inputLock()); return (cg().keysHeld & kOrdinaryKeys) != 0; }
bool isAnyKeyPressed() { Guard g(inputLock()); return cg().keysPressed != 0; }

namespace {
jint sequenceBit(jint index, jint step) {
    ObjectArray* seqs = cg().keySequences;
    if (!seqs || !seqs->inBounds(index)) return 0;
    auto* row = static_cast<IntArray*>(seqs->data()[index]);
    return row && row->inBounds(step) ? row->data()[step] : 0;
}
jint sequenceLength(jint index) {
    ObjectArray* seqs = cg().keySequences;
    if (!seqs || !seqs->inBounds(index)) return 0;
    auto* row = static_cast<IntArray*>(seqs->data()[index]);
    return row ? row->length() : 0;
}
}  // namespace

void matchKeySequence() {
    Guard guard(inputLock());
    cGameStatics& g = cg();
    const jint pressed = g.keysPressed;
    if (pressed == 0) return;
    if (g.sequenceIndex == -1) {
        const jint n = g.keySequences ? g.keySequences->length() : 0;
        for (jint k = 0; k < n; ++k) {
            if (sequenceBit(k, 0) & pressed) {
                g.sequenceIndex = k;
                g.sequenceStep += 1;
                return;
            }
        }
        return;
    }
    if (sequenceBit(g.sequenceIndex, g.sequenceStep) & pressed) {
        g.sequenceStep += 1;
        if (g.sequenceStep >= sequenceLength(g.sequenceIndex)) applyKeySequence();
    } else {
        g.sequenceIndex = -1;
        g.sequenceStep = 0;
    }
}

void applyKeySequence() {
    cGameStatics& g = cg();
    const jint k = g.sequenceIndex;
    if (k == 0) {
        g.flags ^= 1;
        IntArray::set(g.heroStatus, 6, (g.flags & 1) ? -1 : 0);
    } else if (k >= 1 && k <= 7) {
        g.flags |= 1 << k;
    }
    g.sequenceStep = 0;
    g.sequenceIndex = -1;
}

jint getShowcaseKey() {
    Guard guard(inputLock());
    const jint p = cg().keysPressed;
    if (p & 0x20000) return 26;
    if (p & 0x50020) return 25;
    if (p & 0x4004) return 21;
    if (p & 0x8100) return 32;
    if (p & 0x1010) return 23;
    if (p & 0x2040) return 24;
    return 0;
}

void createKeyMaps() {
    cg().keyMapA = newObject<java_util_Hashtable>(11);
    cg().keyMapB = newObject<java_util_Hashtable>(11);
}

void buildKeyMaps() {
    if (!cg().keyMapA || !cg().keyMapB) createKeyMaps();
    static const jint kMapB[][2] = {{'0', 6}, {'1', 7}, {'2', 1},  {'3', 9},  {'4', 3},  {'5', 5},  {'6', 4},
                                    {'7', 13}, {'8', 2}, {'9', 15}, {'#', 17}, {'*', 16}, {-6, 18}, {-7, 19}};
    static const jint kMapA[][2] = {{-5, 5}, {-1, 1}, {-2, 2}, {-3, 3}, {-4, 4}};
    for (const auto& e : kMapB)
        cg().keyMapB->put(newObject<java_lang_Integer>(e[0]), newObject<java_lang_Integer>(e[1]));
    for (const auto& e : kMapA)
        cg().keyMapA->put(newObject<java_lang_Integer>(e[0]), newObject<java_lang_Integer>(e[1]));
}

// --- queued events ----------------------------------------------------------------

namespace {
struct QueuedEvent {
    InputEventKind kind;
    jint a, b;
};
// A ring of events not applied yet. It only fills while no step runs (the
// game hidden or not started); a full ring applies its oldest event at once.
constexpr int kQueuedEvents = 256;
QueuedEvent g_queue[kQueuedEvents];
int g_queueHead = 0, g_queueCount = 0;

void applyEvent(const QueuedEvent& e) {
    switch (e.kind) {
    case InputEventKind::KeyPressed: keyPressed(e.a); break;
    case InputEventKind::KeyReleased: keyReleased(e.a); break;
    case InputEventKind::PointerPressed: pointerPressed(e.a, e.b); break;
    case InputEventKind::PointerDragged: pointerDragged(e.a, e.b); break;
    case InputEventKind::PointerReleased: pointerReleased(e.a, e.b); break;
    }
}
}  // namespace

void queueInputEvent(InputEventKind kind, jint a, jint b) {
    Guard guard(inputLock());
    if (g_queueCount == kQueuedEvents) {
        applyEvent(g_queue[g_queueHead]);
        g_queueHead = (g_queueHead + 1) % kQueuedEvents;
        g_queueCount -= 1;
    }
    g_queue[(g_queueHead + g_queueCount) % kQueuedEvents] = {kind, a, b};
    g_queueCount += 1;
}

void applyQueuedInput() {
    Guard guard(inputLock());
    while (g_queueCount > 0) {
        const QueuedEvent e = g_queue[g_queueHead];
        g_queueHead = (g_queueHead + 1) % kQueuedEvents;
        g_queueCount -= 1;
        applyEvent(e);
    }
}

void discardQueuedInput() {
    Guard guard(inputLock());
    g_queueHead = g_queueCount = 0;
}

// --- touch ---------------------------------------------------------------------

namespace {
constexpr jint kShowcaseState = 9;
bool inShowcase() { return cg().gameState == kShowcaseState; }
}  // namespace

void pointerPressed(jint x, jint y) {
    Guard guard(inputLock());
    cGameStatics& g = cg();
    g.pressX = g.touchX = x;
    g.pressY = g.touchY = y;
    cg().touchPressed = 1;
    if (inShowcase()) {
        const jint rx = y, ry = 480 - x;
        g.pressX = g.touchX = rx;
        g.pressY = g.touchY = ry;
        ShowcaseStatics* s = showcaseStatics();
        if (s->listMode != 0) s->pressedRow = s->listSelection;
        const jint a = Showcase::hitTest(rx, ry);
        if (a != 0) s->pressedAction = a;
    }
}

void pointerDragged(jint x, jint y) {
    Guard guard(inputLock());
    cGameStatics& g = cg();
    g.touchX = x;
    g.touchY = y;
    if (!g.touchDragging && (std::abs(g.pressX - x) >= 6 || std::abs(g.pressY - y) >= 6)) g.touchDragging = 1;
    if (inShowcase()) {
        g.touchX = y;
        g.touchY = 480 - x;
        ShowcaseStatics* s = showcaseStatics();
        s->pressedAction = 0;
        const jint a = Showcase::hitTest(y, 480 - x);
        if (a != 0) s->pressedAction = a;
    }
}

void pointerReleased(jint x, jint y) {
    Guard guard(inputLock());
    cGameStatics& g = cg();
    cg().touchDragging = 0;
    g.releaseX = x;
    g.releaseY = y;
    cg().touchActive = 1;
    if (inShowcase()) {
        g.releaseX = y;
        g.releaseY = 480 - x;
        ShowcaseStatics* s = showcaseStatics();
        const jint a = Showcase::hitTest(y, 480 - x);
        if (a != 0) {
            s->swallowAction = 1;
            s->lastAction = a;
        }
        s->pressedAction = 0;
    }
}

void endTouchFrame() {
    Guard guard(inputLock());
    cGameStatics& g = cg();
    if (g.touchActive || g.suspendedBySystem) {
        g.touchX = g.touchY = -1;
        g.pressX = g.pressY = -1;
        g.touchPressed = 0;
        g.touchActive = 0;
        g.suspendedBySystem = 0;
    }
    g.tapX = g.releaseX;
    g.tapY = g.releaseY;
    g.releaseX = g.releaseY = -1;
}

void dropReleasedTouch() {
    Guard guard(inputLock());
    cGameStatics& g = cg();
    if (g.touchActive) {
        g.touchX = g.touchY = -1;
        g.pressX = g.pressY = -1;
        g.touchPressed = 0;
        g.touchActive = 0;
    }
    g.tapX = g.tapY = -1;
    g.releaseX = g.releaseY = -1;
}

bool pointInZone(jint px, jint py, jint x, jint y, jint w, jint h) {
    return x <= px && px <= x + w && y <= py && py <= y + h;
}

bool tapInRect(jint x, jint y, jint w, jint h) {
    Guard guard(inputLock());
    return pointInZone(cg().tapX, cg().tapY, x, y, w, h);
}

bool touchInRect(jint x, jint y, jint w, jint h) {
    Guard guard(inputLock());
    return pointInZone(cg().touchX, cg().touchY, x, y, w, h);
}

namespace {
bool zoneValues(IntArray* zone, jint out[4]) {
    if (!zone || zone->length() < 4) return false;
    for (int i = 0; i < 4; ++i) out[i] = zone->data()[i];
    return true;
}
IntArray* zoneAt(ObjectArray* zones, jint i) {
    return zones && zones->inBounds(i) ? static_cast<IntArray*>(zones->data()[i]) : nullptr;
}
}  // namespace

bool isInRect(IntArray* zone) {
    jint z[4];
    return zoneValues(zone, z) && tapInRect(z[0], z[1], z[2], z[3]);
}

bool isTouchInRect(IntArray* zone) {
    jint z[4];
    return zoneValues(zone, z) && touchInRect(z[0], z[1], z[2], z[3]);
}

bool takeScreenTouch() {
    Guard guard(inputLock());
    if (isTouchInRect(cg().touchRect1) && !isTouchInRect(cg().touchRect3)) {
        cg().tapX = -1;
        cg().touchPressed = 0;
        return true;
    }
    return false;
}

bool isScreenTapped() { return isInRect(cg().touchRect1) && !isInRect(cg().touchRect3); }

void takeScreenTap() {
    Guard guard(inputLock());
    cg().tapX = -1;
    cg().touchPressed = 0;
}

namespace {
bool takeCornerTap(IntArray* zone, jint& ticks) {
    Guard guard(inputLock());
    ticks = isTouchInRect(zone) ? ticks + 1 : 0;
    if (isInRect(zone)) {
        cg().tapX = -1;
        cg().touchPressed = 0;
        return true;
    }
    return false;
}
}  // namespace

bool takeRect3Tap() { return takeCornerTap(cg().touchRect3, cg().touchRect3Ticks); }
bool takeRect2Tap() { return takeCornerTap(cg().touchRect2, cg().touchRect2Ticks); }

bool takeRect3Touch() {
    Guard guard(inputLock());
    if (!isTouchInRect(cg().touchRect3)) return false;
    cg().touchPressed = 0;
    return true;
}

void setDialogKind(jint kind) { cg().dialogMode = kind; }

bool takeActionButton() {
    Guard guard(inputLock());
    if (!isTouchInRect(cg().touchRect4) || cg().dialogMode == 3) return false;
    cg().buttonBits |= 0x800;
    cg().touchPressed = 0;
    return true;
}

bool isCornerTouched() { return isTouchInRect(cg().touchRect6); }

bool isPartnerZoneTouched() {
    if (!isTouchInRect(cg().touchRect5)) return false;
    const PartnerView v = heroPartnerView();
    if (!v.present) return false;
    return (v.partnerX < v.heroX && v.heroFacing == 1) || (v.partnerX > v.heroX && v.heroFacing == 0);
}

bool isCursorRowTapped() {
    Guard guard(inputLock());
    IntArray* zone = zoneAt(cg().listRowZones, cg().menuCursor - cg().listFirstShown);
    if (!zone || !isInRect(zone)) return false;
    cg().touchPressed = 0;
    return true;
}

bool isNextArrowTouched() { return isTouchInRect(zoneAt(cg().listArrowZones, 0)); }
bool isPrevArrowTouched() { return isTouchInRect(zoneAt(cg().listArrowZones, 1)); }
bool isNextArrowTapped() { return isInRect(zoneAt(cg().listArrowZones, 0)); }
bool isPrevArrowTapped() { return isInRect(zoneAt(cg().listArrowZones, 1)); }

void consumeScreenTouch() { takeScreenTouch(); }

void setTouchMenu(jint entries, jint rowHeight, jint centreX, jint centreY) {
    cGameStatics& f = cg();
    f.menuEntryCount = entries;
    f.menuRowHeight = rowHeight;
    f.menuCentreX = centreX;
    f.menuCentreY = centreY;
}

void resetTouchList(jint cursor) {
    cGameStatics& f = cg();
    cg().listScrollDown = 1;
    f.listFirstRow = 0;
    f.listLastCursor = f.listCursor = cursor;
    f.menuCursor = cursor;
}

// The zones of the rows the list painter shows. The menu's header gives
// the list in the landscape view (800 x 480): n = min(window rows,
// entries) rows of height h around the centre (cx, cy), row k (counted
// from the top, entry listFirstShown + k) over view y top + k h .. top +
// (k + 1) h, 600 view pixels wide around cx. Touch points are canvas
// points (480 x 800), and the view lies turned a quarter on the canvas,
// view (x, y) at canvas (480 - y, x); so each row's band is turned the
// same way before it becomes a zone: {480 - top - (k + 1) h, cx - 300, h,
// 600}. Counted in the canvas's x, the zones run from the lowest view row
// (canvas x smallest) up, which is why the header's numbers name zone 0
// the lowest: zone k here is the painted row k all the same.
void buildListRowZones() {
    cGameStatics& f = cg();
    const jint window = f.listWindowRows > 0 ? f.listWindowRows : 4;
    const jint n = f.menuEntryCount < window ? f.menuEntryCount : window;
    if (n <= 0) {
        f.listRowZones = nullptr;
        return;
    }
    const jint h = f.menuRowHeight, cx = f.menuCentreX;
    const jint top = java::isub(f.menuCentreY, java::idiv(java::imul(n, h), 2));
    ObjectArray* zones = newObjectArray(cid::IntArray, n);
    cg().listRowZones = zones;
    for (jint k = 0; k < n; ++k) {
        const jint canvasX = java::isub(480, java::iadd(top, java::imul(k + 1, h)));
        IntArray* z = IntArray::fill(newIntArray(4), {canvasX, java::isub(cx, 300), h, 600});
        cg().listRowZones->data()[k] = z;
    }
}

void scrollListTo(jint c) {
    cGameStatics& f = cg();
    f.listCursor = c;
    if (c > f.listLastCursor) {
        cg().listScrollDown = 1;
        if (c - f.listFirstRow > f.listWindowRows - 1) f.listFirstRow += 1;
    } else if (c < f.listLastCursor) {
        cg().listScrollDown = 0;
        if (f.listFirstRow - c > 0) f.listFirstRow -= 1;
    }
    f.listLastCursor = c;
}

jint getListRow(jint index, jint mode) {
    if (mode == 0) return index - cg().listFirstShown;
    if (mode == 1) {
        scrollListTo(index);
        return cg().listFirstRow;
    }
    return -1;
}

void updateListArrows() {
    cGameStatics& f = cg();
    f.listArrowHeld = -1;
    scrollListTo(f.menuCursor);
    f.listFirstShown = f.listFirstRow;
    if (f.listArrowZones && f.menuEntryCount >= 5) {
        if (isPrevArrowTapped() && f.menuCursor > 0) {
            f.menuCursor -= 1;
            scrollListTo(f.menuCursor);
            f.listFirstShown = f.listFirstRow;
        }
        if (isNextArrowTapped() && f.menuCursor < f.menuEntryCount - 1) {
            f.menuCursor += 1;
            scrollListTo(f.menuCursor);
            f.listFirstShown = f.listFirstRow;
        }
    }
    if (isNextArrowTouched()) f.listArrowHeld = 0;
    if (isPrevArrowTouched()) f.listArrowHeld = 1;
}

void updateListTouch() {
    setTouchMenuFromHeader();
    buildListRowZones();
    cGameStatics& f = cg();
    f.listTouchedRow = 0;
    updateListArrows();
    // The rows shown are the painter's window around the cursor.
    f.listFirstShown = paintedFirstEntry();
    const jint n = f.listRowZones ? f.listRowZones->length() : 0;
    for (jint i = 0; i < n; ++i) {
        if (isTouchInRect(zoneAt(cg().listRowZones, i))) {
            f.listTouchedRow = i;
            f.menuCursor = listEntryAt(f.listFirstShown + i);
        }
    }
}

namespace {
void arrowFrameSize(jint& w, jint& h);
void ensureArrowZones() {
    if (cg().listArrowZones) return;
    ObjectArray* zones = newObjectArray(cid::IntArray, 2);
    cg().listArrowZones = zones;
    for (jint i = 0; i < 2; ++i) {
        IntArray* z = newIntArray(4);
        cg().listArrowZones->data()[i] = z;
    }
}
void setZone(jint i, jint x, jint y, jint w, jint h) {
    IntArray* z = zoneAt(cg().listArrowZones, i);
    if (z) IntArray::fill(z, {x, y, w, h});
}
}  // namespace

}  // namespace game

#include "game/flow/screen.h"
#include "game/sprite/sprite.h"

namespace game {
namespace {
void arrowFrameSize(jint& w, jint& h) {
    w = h = 0;
    if (BSprite* s = spriteAt(107)) {
        w = s->getFrameWidth(0);
        h = s->getFrameHeight(0);
    }
}
}  // namespace

void setListArrowZones(jint x1, jint y1, jint x2, jint y2) {
    jint w, h;
    arrowFrameSize(w, h);
    ensureArrowZones();
    setZone(0, y1 - h, x1 - (w >> 2), h, w >> 1);
    setZone(1, y2 - (h >> 2), x2 - (w >> 2), h, w >> 1);
}

void setPageArrowZones(jint x1, jint y1, jint x2, jint y2) {
    jint w, h;
    arrowFrameSize(w, h);
    ensureArrowZones();
    setZone(0, 480 - (w >> 2) - y1, x1 - h, w >> 1, h);
    setZone(1, 480 - (w >> 2) - y2, x2 - (h >> 1), w >> 1, h);
}

void resetListZones() {
    cg().listTouchedRow = 0;
    cg().listFirstShown = 0;
    cg().listArrowZones = nullptr;
}

void buildPadZones() {
    if (cg().padZones) return;
    ObjectArray* zones = newObjectArray(cid::IntArray, 10);
    cg().padZones = zones;
    for (jint i = 0; i < 9; ++i) {
        if (i == 4) continue;
        const jint j = i < 4 ? i : i - 1;
        IntArray* z = IntArray::fill(newIntArray(4), {(2 - i / 3) * 87, (i % 3) * 87, 87, 87});
        cg().padZones->data()[j] = z;
    }
    auto zone = [](jint j) { return static_cast<IntArray*>(cg().padZones->data()[j]); };
    zone(1)->data()[2] = 137;
    zone(4)->data()[3] = 137;
    zone(2)->data()[2] = 107;
    zone(2)->data()[3] = 107;
    IntArray* z8 = IntArray::fill(newIntArray(4), {24, 566, 120, 120});
    cg().padZones->data()[8] = z8;
    IntArray* z9 = IntArray::fill(newIntArray(4), {114, 666, 120, 120});
    cg().padZones->data()[9] = z9;
}

void enableSound() { cg().soundOn = 1; }
void toggleOptionFlag() { cg().optionFlag = !cg().optionFlag; }

}  // namespace game
