// The painters of the screens that are not menus: title, notices, message,
// level intro, results with their tally rows, game over, the ending's
// scrolling text and the blinking prompt they share.
#pragma once

#include "runtime/object.h"

namespace game {

// Text textId in font at (x, y), shown in the second half of every
// 2 x period steps of the state's frame counter.
void drawBlinkingText(jint textId, jint font, jint palette, jint x, jint y, jint anchor, jint period);
// One tally row: count of total, points a unit, points (times as h:mm:ss).
void paintTallyRow(jint font, jint x, jint y, jint first, jint second, jint third, jint fourth, bool asTime);

void paintTitle();
void paintNotice(jint textId, jint y);
void paintMessage();
void paintResults();
void paintGameOver();
void paintEnding();
void paintIntro();

}  // namespace game
