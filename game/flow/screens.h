// Routines of the menu, dialog, screen-painter and level-flow code that the
// state machine and the loading state call; their definitions live with
// that code (game/flow/screens/).
#pragma once

#include "runtime/array.h"

class String;

namespace game {

// Menus (the menu object is an Object[] built from constant tables).
void openTextBox(ObjectArray* menu);
Object* currentTextBox();
void setMenuCursor(jint cursor);
void updateMenu(ObjectArray* menu);
// The menu's chosen action of this step, -1 none.
jint getMenuActionDelayed();
void resetMenuCursor(ObjectArray* menu);
void paintScreen(ObjectArray* menu);

// Level flow.
void unloadLevel();
void restartLevel();

}  // namespace game
