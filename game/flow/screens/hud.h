// The heads-up display: the banner's slide, the tally's time digits, the
// scale tweens and the touch-control pass that turns the touched pad zone
// into hero action bits (hud.cpp); the painters over the play view, the
// loading picture's hints, the soft keys, the stat bars and the small HUD
// state routines (hudpaint.cpp).
#pragma once

#include "runtime/object.h"

class javax_microedition_lcdui_Graphics;

namespace game {

constexpr jint kTweenSlots = 5;
constexpr jint kHudCounters = 4;

// x of the banner at timer t (counting down from 96), and whether it is
// drawn (it blinks for 33 <= t < 64).
jint bannerX(jint t);
bool bannerShown(jint t);
// The ten digit parameters of a time row: hours, then the tens and units
// of minutes (as two digits each in the order h, -, m, m, -, s, s ...):
// [0] value / 3600, [1] tens and [2] units of (value / 60) rem 60, [3]
// tens and [4] units of value rem 60; [5]-[9] the same of second.
void tallyTimeDigits(jint first, jint second, jint out[10]);
// One step of every live tween: scale = ((d - t) * from + t * to) / d in
// 64 bits; a slot whose t reached d (a length of 0 at once) is freed.
void updateTweens();
// The in-game touch-control pass: the first touched pad zone of the order
// 3, 4, 1, 0, 2, 6, 5, 7, 8, 9 sets its hero action bits and button bits.
void handlePanelTouch(bool (*touched)(jint zone));
void handlePanelTouch();

// --- painters (hudpaint.cpp) --------------------------------------------------
// The collect counter's icon (re-animated when the counter changes,
// dropped after its animation unless kept) and its text (pool entry 34).
void updatePanelActor();
// Portrait animation by hero subtype: 46 for 113 and 237, 47 for 242, 45.
jint portraitAnimation(jint heroSubtype);
void paintHeroPortrait();
void paintPanelCaption();
// The four corner buttons from translucent images built once.
void paintSidePanelButtons();
// The pressed look of the action button when its zone is touched (outside
// a full-screen dialog); answers whether it was drawn.
bool paintPanelButton(jint x, jint y);
// Arrow and distance toward a target actor outside the view.
void paintTargetPointer();
void drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
void fillTiledRect(jint x, jint y, jint w, jint h, jint colour, javax_microedition_lcdui_Graphics* g);
void fillRectColour(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint colour);
// The menu screens' background: black for the sound question (menu 5 of
// state 24), else the loading picture.
void paintScreenBackground();
// The fade overlay idles until a step (0-5) is set; then its wipe band
// grows from the canvas's right edge over 95 paints and covers it after.
void startFadeOverlay(jint step);
void paintFadeOverlay();
// The sky gradient at view position (x, y), its two images built once.
void paintSky(jint x, jint y);
// Chooses the loading hint (|r rem (n - 1)| of the game's generator, no
// draw for one hint) and makes its picture's effects.
void pickLoadingHint();
void pickLoadingHintFrom(jint next);
void spawnLoadingHintPicture();
void paintLoadingHints();
void paintInGameSoftKeys();
void paintStatBarA();
void paintStatBarB();
jint selectContextValue();
void clearTarget();
void resetHudCounters();
void toggleSoundOption();

}  // namespace game
