// The list box: a menu is an Object[] {header, cursor layout, entry layout,
// extra, entries...}; the header's element 0 is the header int[] (flags,
// id, ..., [6] visible rows, [8] margin, [9] confirm flag, [10] back flag),
// each entry's element 0 its int[] (id, offset, type, selectable, listed,
// repeat count). The current menu (textBox) lists its entries with
// [4] = 1 into menuItems, at most 32 of them; the cursor is an index into
// that list, kept in the menu's own state int[] so a menu shown again keeps
// it. Invariants: with no listed entry no move happens and no action is
// returned; the cursor is used only when it names a listed entry.
#pragma once

#include "runtime/array.h"

namespace game {

// Header int[] fields.
enum MenuHeader : jint {
    kHeaderFlags = 0,
    kHeaderId = 1,
    kHeaderX = 3,
    kHeaderY = 4,
    kHeaderRowHeight = 5,
    kHeaderVisible = 6,
    kHeaderAlign = 7,
    kHeaderMargin = 8,
    kHeaderConfirm = 9,
    kHeaderBack = 10,
};
// Entry int[] fields.
enum MenuEntry : jint {
    kEntryId = 0,
    kEntryOffset = 1,
    kEntryType = 2,
    kEntrySelectable = 3,
    kEntryListed = 4,
    kEntryRepeat = 5,
};
constexpr jint kMenuCyclic = 16;
constexpr jint kMenuHorizontal = 32;
constexpr jint kMenuPassive = 64;
constexpr jint kConfirmKeys = 0x50020;

// The menu with every repeated entry followed by its copies (ids counting
// up); the menu itself when it has none. Resets the menu's cursor.
ObjectArray* expandMenu(ObjectArray* menu);
void resetMenuCursor(ObjectArray* menu);
void setMenuCursorOf(ObjectArray* menu, jint i);
void setMenuCursor(jint i);
void openTextBox(ObjectArray* menu);
void updateMenu(ObjectArray* menu);
jint getMenuAction();
jint getMenuActionDelayed();
bool isBackTouched();
jint getMenuSelectedId(ObjectArray* menu);
bool isEntrySelectable();
// The menu shown (compared by identity), or null.
Object* currentTextBox();

// The header int[] and entry int[] of a menu, or null.
IntArray* menuHeaderInts(ObjectArray* menu);
IntArray* menuEntryInts(ObjectArray* menu, jint entry);
// The entry int[] of listed entry i of the current menu, or null.
IntArray* listedEntryInts(jint i);
// Sets field [4] (listed) of the entry with that id; false when none has it.
bool setEntryListed(ObjectArray* menu, jint id, bool listed);

// The entries a list of count entries shows around the cursor: first..last
// (a cyclic list one more on each side, indices taken modulo count).
struct MenuWindow {
    jint first;
    jint last;
};
MenuWindow menuWindow(jint cursor, jint visible, jint count, bool cyclic);

// The current menu's list as the screen painter lays it out: the aligned
// x and y it is painted from, the row step and the window rows.
struct ListGeometry {
    jint x;
    jint y;
    jint step;
    jint rows;
};
ListGeometry currentListGeometry();
// Hands the current list's geometry to the touch list (setTouchMenu): its
// entry count, row height, and the centre of the rows painted.
void setTouchMenuFromHeader();
// The entry shown in the painter's first row for the current cursor, and
// an entry index taken into the list (modulo the count when cyclic).
jint paintedFirstEntry();
jint listEntryAt(jint index);

// Label and value texts, and the text with every pattern replaced (the
// terminator of pattern and replacement left out).
String* getMenuItemText(jint id);
String* getMenuValueText(jint menuId, jint entryId);
String* replaceText(String* text, String* pattern, String* replacement);

// Painting: the draw elements 1.. of a layout at (x, y); the window of
// listed entries (entry layout, cursor layout, each entry's elements); the
// transition counters of the menu screens.
void paintMenuList(ObjectArray* elements, jint x, jint y, bool clip);
void paintMenu(jint x, jint y, jint step, jint visible);
void updateInTransition();
void updateOutTransition();

// Step timers {duration, elapsed}.
void setTimer(jint i, jint steps);
void tickTimer(jint i);
void tickTimers();
void finishTimer(jint i);
bool isTimerDone(jint i);

}  // namespace game
