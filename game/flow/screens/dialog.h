// In-play dialogs (a text shown page by page in one of four styles) and the
// sliding or fading panel (black bars along the canvas's long edges).
// Invariants: dialogText is null exactly when no dialog is open;
// dialogMode is 0-3 while one is open and -1 after it closed; a page shows
// at least one line, so every style advances; the mode-3 scroll never goes
// above its start (dialogScroll <= 0).
#pragma once

#include "runtime/object.h"

class javax_microedition_lcdui_Graphics;

namespace game {

constexpr jint kDialogModes = 4;
constexpr jint kSpeakers = 14;
constexpr jint kFadeTileWidth = 200;
constexpr jint kFadeTileHeight = 60;

// Style record fields (cg().panelButtons rows).
enum DialogStyle : jint {
    kStyleFont = 0,
    kStylePalette = 1,
    kStyleX = 3,
    kStyleY = 4,
    kStyleWidth = 5,
    kStyleLines = 7,
    kStyleAnchor = 8,
};

void openDialog(jint textId, jint param, jint hold, jint mode);
void nextDialogPage();
// One step of input; true while a dialog is open and holds the game.
bool updateDialog();
void closeDialog();
bool isDialogActive();
// Lines the next page shows: at most a page, one fewer when exactly one
// would be left after it, never fewer than one.
jint dialogPageSize();
// Field i of the style record of the open dialog's mode; 0 when missing.
jint dialogStyle(jint field);

void setPanelOffset(jint v);
void updatePanel();
bool isPanelSliding();
bool hasPanelOffset();
// Makes the fade tile on first use; step 0 clears it; every pixel's alpha
// becomes 255 - step * 255 / steps.
void fadeTileStep(jint step, jint steps);

}  // namespace game
