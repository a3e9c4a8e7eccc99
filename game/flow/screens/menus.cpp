// The list box: expansion, opening, input, confirmation, window and the
// small menu routines (menus.h).
#include "game/flow/screens/menus.h"

#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/screens.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"
#include "runtime/system.h"

namespace game {

namespace {

constexpr jint kFirstEntry = 4;
constexpr jint kNextKeysVertical = 0x8000 | 0x100;    // down, '8'
constexpr jint kPrevKeysVertical = 0x4000 | 0x4;      // up, '2'
constexpr jint kNextKeysHorizontal = 0x2000 | 0x40;   // right, '6'
constexpr jint kPrevKeysHorizontal = 0x1000 | 0x10;   // left, '4'
constexpr jint kConfirmTicks = 10;
constexpr jint kMarqueeWait = 30;
constexpr jint kRecordsMenuId = 0x10009;
constexpr jint kFirstRecordRow = 0x10017;
constexpr jint kRecordRows = 11;
constexpr jint kPoolSeparator = 110;

template <typename T>
T* elementAs(ObjectArray* a, jint i) {
    return a && i >= 0 && i < a->length() ? static_cast<T*>(a->data()[i]) : nullptr;
}

jint intAt(IntArray* a, jint i, jint fallback = 0) {
    return a && i >= 0 && i < a->length() ? a->data()[i] : fallback;
}

IntArray* copyInts(IntArray* a) {
    if (!a) return nullptr;
    IntArray* c = newIntArray(a->length());
    java_lang_System::arraycopy(a, 0, c, 0, a->length());
    return c;
}

// A copy of an entry with its own int arrays (the entry int[] and each
// draw element).
ObjectArray* copyEntry(ObjectArray* entry) {
    ObjectArray* c = newObjectArray(cid::IntArray, entry->length());
    for (jint i = 0; i < entry->length(); ++i) {
        IntArray* part = copyInts(static_cast<IntArray*>(entry->data()[i]));
        c->data()[i] = part;
    }
    return c;
}

jint repeatCount(ObjectArray* entry) {
    IntArray* ints = elementAs<IntArray>(entry, 0);
    return ints && ints->length() > kEntryRepeat && ints->data()[kEntryRepeat] > 0 ? ints->data()[kEntryRepeat] : 0;
}

IntArray* stateInts(ObjectArray* menu) { return elementAs<IntArray>(elementAs<ObjectArray>(menu, 1), 0); }

jint listedCount() {
    const jint n = cg().menuMetricA;
    return n < 0 ? 0 : n > kMenuItemCapacity ? kMenuItemCapacity : n;
}

bool cursorValid() {
    const jint c = cg().menuCursor;
    return c >= 0 && c < listedCount() && cg().menuItems;
}

void moveCursor(jint delta) {
    cGameStatics& s = cg();
    const jint count = listedCount();
    if (count == 0) return;
    jint next = cg().menuCursor + delta;
    if (s.menuCyclic) {
        next = java::irem(java::iadd(next, count), count);
    } else if (next < 0 || next >= count) {
        return;
    }
    cg().menuCursor = next;
    s.marqueeOffset = 0;
    cg().menuMetricC = kMarqueeWait;
    playSound(35);
}

}  // namespace

IntArray* menuHeaderInts(ObjectArray* menu) { return elementAs<IntArray>(elementAs<ObjectArray>(menu, 0), 0); }

IntArray* menuEntryInts(ObjectArray* menu, jint entry) {
    return elementAs<IntArray>(elementAs<ObjectArray>(menu, entry), 0);
}

IntArray* listedEntryInts(jint i) {
    if (i < 0 || i >= listedCount()) return nullptr;
    return elementAs<IntArray>(elementAs<ObjectArray>(cg().menuItems, i), 0);
}

bool setEntryListed(ObjectArray* menu, jint id, bool listed) {
    bool found = false;
    for (jint e = kFirstEntry; menu && e < menu->length(); ++e) {
        IntArray* ints = menuEntryInts(menu, e);
        if (ints && ints->length() > kEntryListed && ints->data()[kEntryId] == id) {
            ints->data()[kEntryListed] = listed ? 1 : 0;
            found = true;
        }
    }
    return found;
}

ObjectArray* expandMenu(ObjectArray* menu) {
    resetMenuCursor(menu);
    if (!menu) return nullptr;
    jint extra = 0;
    for (jint e = kFirstEntry; e < menu->length(); ++e) extra += repeatCount(elementAs<ObjectArray>(menu, e));
    if (extra == 0) return menu;
    ObjectArray* out = newObjectArray(cid::ObjectArray, menu->length() + extra);
    jint k = 0;
    for (jint e = 0; e < menu->length(); ++e) {
        auto* entry = static_cast<ObjectArray*>(menu->data()[e]);
        out->data()[k++] = entry;
        if (e < kFirstEntry) continue;
        const jint n = repeatCount(entry);
        if (n == 0) continue;
        elementAs<IntArray>(entry, 0)->data()[kEntryRepeat] = 0;
        jint id = elementAs<IntArray>(entry, 0)->data()[kEntryId];
        for (jint c = 0; c < n; ++c) {
            ObjectArray* copy = copyEntry(entry);
            id = java::iadd(id, 1);
            IntArray* ints = elementAs<IntArray>(copy, 0);
            ints->data()[kEntryId] = id;
            ints->data()[kEntryRepeat] = 0;
            out->data()[k++] = copy;
        }
    }
    return out;
}

void resetMenuCursor(ObjectArray* menu) { setMenuCursorOf(menu, 0); }

void setMenuCursorOf(ObjectArray* menu, jint i) {
    if (IntArray* st = stateInts(menu); st && st->length() > 0) st->data()[0] = i;
    if (menu && menu == cg().textBox) {
        cg().menuCursor = i;
        cg().menuCommittedCursor = i;
    }
}

void setMenuCursor(jint i) { setMenuCursorOf(cg().textBox, i); }

void openTextBox(ObjectArray* menu) {
    cGameStatics& s = cg();
    if (!menu || menu == s.textBox) return;
    if (!s.menuItems) s.menuItems = newObjectArray(cid::ObjectArray, kMenuItemCapacity);
    s.menuHeader = elementAs<ObjectArray>(menu, 0);
    s.menuAttrs = elementAs<IntArray>(s.menuHeader, 0);
    s.menuFlags = intAt(s.menuAttrs, kHeaderFlags);
    s.menuCyclic = (s.menuFlags & kMenuCyclic) != 0;
    s.menuCursorLayout = elementAs<ObjectArray>(menu, 1);
    s.menuState = elementAs<IntArray>(s.menuCursorLayout, 0);
    s.menuEntryLayout = elementAs<ObjectArray>(menu, 2);
    s.menuExtra = elementAs<Object>(menu, 3);
    jint count = 0, dropped = 0;
    for (jint e = kFirstEntry; e < menu->length(); ++e) {
        auto* entry = elementAs<ObjectArray>(menu, e);
        if (intAt(elementAs<IntArray>(entry, 0), kEntryListed) != 1) continue;
        if (count < kMenuItemCapacity) {
            cg().menuItems->data()[count++] = entry;
        } else {
            ++dropped;
        }
    }
    for (jint i = count; i < kMenuItemCapacity; ++i) cg().menuItems->data()[i] = nullptr;
    if (dropped > 0)
        logPrintf("menu %d: %d listed entries past the %d a list holds are left out", intAt(s.menuAttrs, kHeaderId),
                  dropped, kMenuItemCapacity);
    cg().menuMetricA = count;
    s.textBox = menu;
    cg().menuCursor = s.menuCommittedCursor = intAt(s.menuState, 0);
    // The touch list: the rows the painter shows (one page for the text
    // box), the window at the top and the menu's own cursor.
    cg().listWindowRows = menu == cg().textBoxMenu ? 1 : intAt(s.menuAttrs, kHeaderVisible);
    resetTouchList(cg().menuCursor);
    setInTransitionFlag();
    // The default layouts back at their first frames.
    if (IntArray* e1 = elementAs<IntArray>(cg().screenLayoutD, 1); e1 && e1->length() > 0) e1->data()[0] = 1;
    if (IntArray* e2 = elementAs<IntArray>(cg().screenLayoutD, 2); e2 && e2->length() > 0) e2->data()[0] = 0;
    if (IntArray* c1 = elementAs<IntArray>(cg().screenLayoutB, 1); c1 && c1->length() > 0) c1->data()[0] = 1;
    if (IntArray* c2 = elementAs<IntArray>(cg().screenLayoutB, 2); c2 && c2->length() > 0) c2->data()[0] = 0;
    if (IntArray* t = elementAs<IntArray>(cg().screenLayoutC, 1); t && t->length() > 7) t->data()[7] = 0x40301;
}

void updateMenu(ObjectArray* menu) {
    cGameStatics& s = cg();
    if (menu != s.textBox) openTextBox(menu);
    s.backFired = false;
    if (!menu || (s.menuFlags & kMenuPassive)) return;
    s.menuCommittedCursor = cg().menuCursor;
    if (s.menuState && s.menuState->length() >= 2) {
        s.menuState->data()[0] = cg().menuCursor;
        s.menuState->data()[1] = intAt(listedEntryInts(cg().menuCursor), kEntryId, -1);
    }
    const bool horizontal = (s.menuFlags & kMenuHorizontal) != 0;
    if (isKeyPressed(horizontal ? kNextKeysHorizontal : kNextKeysVertical)) {
        moveCursor(1);
    } else if (isKeyPressed(horizontal ? kPrevKeysHorizontal : kPrevKeysVertical)) {
        moveCursor(-1);
    }
    s.backFired = intAt(s.menuAttrs, kHeaderBack, -1) != -1 && isBackTouched();
    if (s.backFired) playSound(36);
    const jint action = getMenuAction();
    if (action != -1 && intAt(s.menuAttrs, kHeaderConfirm, -1) != -1) {
        const jint state = cg().gameState;
        if (!(action == 9 && (state == 31 || state == 20))) playSound(34);
    }
}

namespace {
// The cursor entry's id when the cursor is stable and the entry selectable.
jint stableSelectableId() {
    cGameStatics& s = cg();
    if (cg().menuCursor != s.menuCommittedCursor || !cursorValid()) return -1;
    IntArray* ints = listedEntryInts(cg().menuCursor);
    if (intAt(ints, kEntrySelectable) != 1) return -1;
    return intAt(ints, kEntryId, -1);
}
bool confirmInput() { return isKeyPressed(kConfirmKeys) || touchedListRow() == cg().menuCursor; }
}  // namespace

jint getMenuAction() {
    const jint id = stableSelectableId();
    return id != -1 && confirmInput() ? id : -1;
}

jint getMenuActionDelayed() {
    const jint id = stableSelectableId();
    if (id == -1) return -1;
    jint& ticks = cg().menuAnimTicks;
    if (confirmInput() || ticks < kConfirmTicks) {
        ticks -= 1;
        if (ticks <= 0) {
            ticks = kConfirmTicks;
            return id;
        }
    }
    return -1;
}

bool isBackTouched() {
    cGameStatics& s = cg();
    if (cg().menuCursor != s.menuCommittedCursor) return false;
    IntArray* zone = cg().touchRect3;
    if (isTouchInRect(zone)) {
        s.backHeld = true;
        s.backHeldTicks += 1;
    } else {
        s.backHeld = false;
        s.backHeldTicks = 0;
    }
    if (isTouchReleasedIn(zone)) {
        s.backHeld = false;
        s.backHeldTicks = 0;
        return true;
    }
    return false;
}

ListGeometry currentListGeometry() {
    IntArray* attrs = cg().menuAttrs;
    ListGeometry l{intAt(attrs, kHeaderX), intAt(attrs, kHeaderY), intAt(attrs, kHeaderRowHeight),
                   cg().listWindowRows};
    const jint count = listedCount();
    const jint length = java::imul(count < l.rows ? count : l.rows, l.step);
    const jint align = intAt(attrs, kHeaderAlign);
    if (align & 1) l.x = java::isub(l.x, length / 2);
    if (align & 8) l.x = java::isub(l.x, length);
    if (align & 2) l.y = java::isub(l.y, length / 2);
    return l;
}

void setTouchMenuFromHeader() {
    const ListGeometry l = currentListGeometry();
    const jint count = listedCount();
    const jint n = count < l.rows ? count : l.rows;
    // The painter places its rows from y on, one step each.
    setTouchMenu(count, l.step, l.x, java::iadd(l.y, java::imul(n, l.step) / 2));
}

jint paintedFirstEntry() {
    return menuWindow(cg().menuCursor, cg().listWindowRows, listedCount(), cg().menuCyclic).first;
}

jint listEntryAt(jint index) {
    const jint count = listedCount();
    if (!cg().menuCyclic || count <= 0) return index;
    return java::irem(java::iadd(java::irem(index, count), count), count);
}

jint getMenuSelectedId(ObjectArray* menu) { return intAt(stateInts(menu), 1, -1); }

bool isEntrySelectable() { return cursorValid() && intAt(listedEntryInts(cg().menuCursor), kEntrySelectable) == 1; }

MenuWindow menuWindow(jint cursor, jint visible, jint count, bool cyclic) {
    MenuWindow w{cursor - visible / 2, cursor + visible / 2};
    if (count <= 0) return {0, -1};
    if (cyclic) return {w.first - 1, w.last + 1};
    if (w.first < 0) {
        w.first = 0;
        w.last = visible - 1 < count - 1 ? visible - 1 : count - 1;
    }
    if (w.last >= count) {
        w.last = count - 1;
        w.first = w.last - visible + 1 > 0 ? w.last - visible + 1 : 0;
    }
    return w;
}

String* replaceText(String* text, String* pattern, String* replacement) {
    if (!text || !pattern || pattern->length() <= 1) return text;
    const jint plen = pattern->length() - 1;
    const jint rlen = replacement ? replacement->length() - 1 : 0;
    std::u16string out;
    const std::u16string t = text->toUtf16();
    const std::u16string p = pattern->toUtf16().substr(0, plen);
    const std::u16string r = rlen > 0 ? replacement->toUtf16().substr(0, rlen) : std::u16string();
    size_t i = 0;
    bool changed = false;
    while (i < t.size()) {
        if (t.compare(i, p.size(), p) == 0) {
            out += r;
            i += p.size();
            changed = true;
        } else {
            out += t[i++];
        }
    }
    return changed ? String::fromUtf16(out) : text;
}

String* getMenuItemText(jint id) {
    String* label = getString(id);
    if (id != 9 && id != 0x10085) return label;
    const bool on = id == 9 ? isSoundOn() : cg().vibrationOn != 0;
    String* state = getString(on ? 11 : 12);
    StringBuffer* b = StringBuffer::make(32);
    auto withoutTerminator = [&](String* s) {
        if (s && s->length() > 1) StringBuffer::append(b, String::substring(s, 0, s->length() - 1));
    };
    withoutTerminator(label);
    withoutTerminator(StaticClass::getStringConstant(kPoolSeparator));
    if (state) StringBuffer::append(b, state);
    return b->toString();
}

String* getMenuValueText(jint menuId, jint entryId) {
    if (menuId != kRecordsMenuId) return nullptr;
    jint value = cg().levelScore;
    const jint row = entryId - kFirstRecordRow;
    if (row >= 0 && row < kRecordRows) {
        IntArray* order = cg().stageOrder;
        const jint stage = intAt(order, row, -1);
        const jint difficulty = cg().difficulty;
        if (stage < 0 || difficulty < 1 || difficulty > 3) {
            logPrintf("records row %d: stage or difficulty out of range, shown as 0", row);
            value = 0;
        } else {
            value = readSaveInt((difficulty - 1) * kSlotBytes + 12 + 5 * stage);
        }
    }
    return formatNumberSep(value, 0);
}

namespace {
IntArray* timer(jint i) { return elementAs<IntArray>(cg().timers, i); }
}  // namespace

void setTimer(jint i, jint steps) {
    if (IntArray* t = timer(i); t && t->length() >= 2) {
        t->data()[0] = steps;
        t->data()[1] = 0;
    }
}

void tickTimer(jint i) {
    if (IntArray* t = timer(i); t && t->length() >= 2 && t->data()[0] > 0) t->data()[1] += 1;
}

void tickTimers() {
    for (jint i = 0; i < 16; ++i) tickTimer(i);
}

void finishTimer(jint i) {
    if (IntArray* t = timer(i); t && t->length() >= 2) t->data()[1] = t->data()[0];
}

bool isTimerDone(jint i) {
    IntArray* t = timer(i);
    return t && t->length() >= 2 && t->data()[1] >= t->data()[0];
}

}  // namespace game

namespace game {

Object* currentTextBox() { return cg().textBox; }

}  // namespace game
