// Painting play: the play view and its overlays, the dialog and the
// sliding panel.
#pragma once

#include "runtime/object.h"

namespace game {

void paintGameplay();
void paintCaption();
void paintBanner();
void paintDialog();
// Draws the open dialog's page; answers the lines drawn.
jint paintDialogText();
// Covers the canvas box with the fade tile in 200 x 60 blocks, drawn with
// their alpha (nothing before the tile exists); the clip is the whole
// screen after.
void paintFadeTiles(jint x, jint y, jint w, jint h);
void paintPanel();

}  // namespace game
