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
void paintPanel();

}  // namespace game
