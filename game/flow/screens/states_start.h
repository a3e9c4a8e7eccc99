// The start chain and the loading screen: the logo (1, 49 steps), the
// second logo (2, 25 steps) and the loading state (11), which runs one
// loading-table record a step and leaves to the state the load request
// names: 1 -> 11 (kind 2) -> 2 -> 11 (kind 4) -> 4. installScreenStates
// puts every screen handler into the state table.
#pragma once

#include "runtime/object.h"

class javax_microedition_lcdui_Graphics;

namespace game {

constexpr jint kLogoSteps = 49;
constexpr jint kSecondLogoSteps = 24;  // leaves when its step count exceeds this

void stateSplash(jint message);
void state2(jint message);
void state11(jint message);
// Composes the loading picture for the request's kind (kind 2: white
// with the first logo; otherwise the menu background).
void prepareLoadingScreen();
// The 540 x 864 loading picture and its Graphics, made when missing.
javax_microedition_lcdui_Graphics* ensureLoadingPicture();
// The menu-data load's progress bar (kind 4, sub-mode 3) on the canvas.
void paintMenuLoadBar(javax_microedition_lcdui_Graphics* g, jint done, jint total);
void installScreenStates();

}  // namespace game
