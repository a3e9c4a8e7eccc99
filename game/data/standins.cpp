// Simple definitions of routines that later parts of the game code own
// (see routines.h and game/flow/screens.h): each stays here only until its
// real definition is added to the library, and is then deleted from this
// file.
#include "game/data/routines.h"

#include "game/data/statics.h"
#include "game/flow/screens.h"

namespace game {

jint computeLevelScore() { return 0; }

void resetLevelStats() {
    IntArray* s = cg().levelStats;
    for (jint i = 7; s && i <= 11 && i < s->length(); ++i) s->data()[i] = 0;
}

// Menus: no menu is ever current; no action is chosen.
void openTextBox(ObjectArray*) {}
Object* currentTextBox() { return nullptr; }
void setMenuCursor(jint) {}
void updateMenu(ObjectArray*) {}
jint getMenuActionDelayed() { return -1; }
void resetMenuCursor(ObjectArray*) {}
void paintScreen(ObjectArray*) {}

// Level flow.
void unloadLevel() {}
void restartLevel() {}

}  // namespace game
