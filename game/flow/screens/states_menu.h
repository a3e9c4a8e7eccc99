// The menu and screen states: title (3), notices (4, 5), main menu (6),
// game menu (7), records (8), promotion screen (9), next-difficulty notice
// (17), pause menu (20), message (25), text screen (26), stage choice
// (28), difficulty choice (29), options (31), bonus result (32), level
// intro (33), promotion teaser (34) and scrolling text (35). Each handler
// takes the state machine's messages; rows act through their text ids.
#pragma once

#include "runtime/array.h"

namespace game {

void state3(jint message);
void state4(jint message);
void state5(jint message);
void state6(jint message);
void state7(jint message);
void state8(jint message);
void state9(jint message);
// State 9's paint: the Showcase on its 800 x 480 image, drawn turned
// (transform 5) onto the canvas.
void paintPromotion();
void state17(jint message);
void state20(jint message);
void state25(jint message);
void state26(jint message);
void state28(jint message);
void state29(jint message);
void state31(jint message);
void state32(jint message);
void state33(jint message);
void state34(jint message);
void state35(jint message);

// The records screen's back key: the left soft key when the end-of-game
// state lies below on the stack, else the right one.
jint recordsBackKey();
jint backKeyOver(jint state);
// Main-menu rows shown by progress, promotion entries and link.
void applyMainMenuVisibility(ObjectArray* menu, bool progress, bool promo, jint promoEntries, bool link);
// The unlock requests of the main menu's key sequences (bits 8, 16).
void applyUnlockRequests();
// Continue: the last difficulty played, its stored stage, else 0.
void continueGame();
void startNewGame();

}  // namespace game
