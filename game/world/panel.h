// The in-game side panel's frame (the hero portrait, the collect counter's
// icon and text, the health bar, the caption, the corner touch buttons), the level counters' reset,
// the reward counter overlay and the two-colour gradient the core asks for.
//
// Invariants: the panel paint leaves the clip at the full 480x800 screen;
// the overlay draws nothing once its countdown is spent and gives the
// extra life only in the paint where the countdown goes from 2 to 1.
#pragma once

#include "runtime/array.h"

namespace game::world {

void paintSidePanel();
void paintHeroPortrait();
void updatePanelActor();
void paintPanelCaption();
void resetLevelCounters();
void paintOverlayMessage();
// top to bottom over a w x h block of pixels starting at offset (rows scan
// apart); nothing for a null buffer or a scan of 0 or less.
void fillTwoColourGradient(IntArray* pixels, jint offset, jint scan, jint w, jint h, jint top, jint bottom);

}  // namespace game::world
