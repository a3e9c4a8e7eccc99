// The painters of the screens that are not menus: title, notices, message,
// level intro, results with their tally rows, game over, the ending's
// scrolling text and the blinking prompt they share.
#pragma once

#include "runtime/object.h"

class BSprite;

namespace game {

// Text textId in font at (x, y), shown in the second half of every
// 2 x period steps of the state's frame counter.
void drawBlinkingText(jint textId, jint font, jint palette, jint x, jint y, jint anchor, jint period);
// One tally row: count of total, points a unit, points (times as h:mm:ss).
void paintTallyRow(jint font, jint x, jint y, jint first, jint second, jint third, jint fourth, bool asTime);

// Soft-key labels (text ids, -1 none) over frames 12 and 13 of sprite 107.
void paintSoftKeys(jint leftTextId, jint rightTextId);

void paintTitle();
void paintNotice(jint textId, jint y);
// State 5: the notice over black (cleared on a full redraw) and the logo
// actor.
void paintLogoNotice();
void paintMessage();
void paintResults();
// State 19: the text and, for a hero of type 0, its animation 51 (52 for
// subtype 3010) over the effects of layer 11.
void paintGameOver();
// State 17: the next difficulty is open (texts 47, 49 and 48, the prompt).
void paintDifficultyNotice();
void paintEnding();
void paintIntro();
// The level's special-item sprite (the intro shows its animation 0), or
// null; one step of that animation (state 33's update).
BSprite* specialItemSprite();
void stepIntroAnimation();
// The play view painted into the loading picture and darkened (0xAF000000);
// clears cGame.levelFinished.
void capturePlayView(jint arg);
// The menus' background in the loading picture: the play view when in a
// level (else black), frame 0 of sprite 117, a 0x5F000000 veil.
void preparePanelBackground();
// State 20: the play view captured once, then the pause menu.
void paintPauseView();
// State 32: title, the bonus sprite's animation, the item, text, prompt.
void paintBonus();
// State 35: the text clipped to its column, the scroll arrows, soft keys.
void paintScrollingText();

}  // namespace game
