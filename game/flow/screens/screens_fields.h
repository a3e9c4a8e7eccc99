// cGame fields that the screens name (fireworks, level end and tally,
// dialogs and the sliding panel, the list box, the heads-up timers). All
// start at zero, null or false. The lists are part of cGame's one statics
// block (cGameStatics, game::cg(), game/data/statics.h).
#pragma once

#include "game/data/fields.h"
#include "runtime/array.h"
#include "runtime/string.h"

class BSprite;
class cActor;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

#define SCREENS_FIREWORK_FIELDS(X)      \
    X(jboolean, fireworksOn)            \
    X(jint, fireworkPhase)              \
    X(ObjectArray*, fireworks)          \
    X(jint, fireworkCount)              \
    X(jint, fireworksAlive)             \
    X(jboolean, fireworkFlash)          \
    X(BSprite*, fireworkSpriteNow)

#define SCREENS_LEVEL_END_FIELDS(X)     \
    X(jint, tallyLine)                  \
    X(jint, tallyTarget)                \
    X(jboolean, tallyDone)              \
    X(jint, endPhase)                   \
    X(jint, irisRadius)                 \
    X(jint, endTimer)                   \
    X(jboolean, gameFinished)           \
    X(cActor*, endEffect)               \
    X(jint, endingScroll)

#define SCREENS_DIALOG_FIELDS(X)        \
    X(String*, dialogText)              \
    X(jint, dialogStep)                 \
    X(jint, dialogTextId)               \
    X(jint, dialogHold)                 \
    X(jint, dialogParam)                \
    X(jint, dialogFirstLine)            \
    X(jint, dialogLineCount)            \
    X(jint, dialogPageLines)            \
    X(jint, dialogScroll)               \
    X(jint, dialogScrollSpeed)          \
    X(jint, panelPainted)               \
    X(jint, panelFadeMode)              \
    X(jint, panelFadeStep)              \
    X(IntArray*, fadeTile)              \
    X(jboolean, skipHintPending)

#define SCREENS_MENU_FIELDS(X)          \
    X(ObjectArray*, textBox)            \
    X(ObjectArray*, menuHeader)         \
    X(IntArray*, menuAttrs)             \
    X(jint, menuFlags)                  \
    X(jboolean, menuCyclic)             \
    X(ObjectArray*, menuCursorLayout)   \
    X(IntArray*, menuState)             \
    X(ObjectArray*, menuEntryLayout)    \
    X(Object*, menuExtra)               \
    X(ObjectArray*, menuItems)          \
    X(jint, menuCommittedCursor)        \
    X(jint, menuEntryTextId)            \
    X(jboolean, menuEntryIsCursor)      \
    X(jboolean, menuEntrySelectable)    \
    X(jint, marqueeOffset)              \
    X(jboolean, backHeld)               \
    X(jint, backHeldTicks)              \
    X(jboolean, backFired)              \
    X(jboolean, restoreMenuPosition)    \
    X(jint, promptFont)                 \
    X(jint, introAnimFrame)             \
    X(jint, introAnimTicks)             \
    X(jint, bonusAnimFrame)             \
    X(jint, bonusAnimTicks)             \
    X(jint, optionsReturnRow)           \
    X(jboolean, continueChosen)         \
    X(jint, textScroll)                 \
    X(String*, scrollText)              \
    X(jint, scrollTextLines)

#define SCREENS_HUD_FIELDS(X)           \
    X(jint, bannerTimer)                \
    X(jint, panelShownCounter)          \
    X(jboolean, resultsRedraw)          \
    X(jint, endingPhase)                \
    X(jboolean, keepMusic)              \
    X(jboolean, skipIntro)              \
    X(jboolean, promoEnabled)           \
    X(jboolean, fillScreenOn)           \
    X(jint, effectCountdown)            \
    X(jboolean, skipArmed)              \
    X(ObjectArray*, buttonImages)       \
    X(ObjectArray*, buttonPixels)       \
    X(jint, fadeStep)                   \
    X(jint, fadeWipe)                   \
    X(jboolean, fadeOn)                 \
    X(ObjectArray*, skyImages)          \
    X(IntArray*, hudCounters)           \
    X(jint, displayedCounter)           \
    X(javax_microedition_lcdui_Image*, promoImage) \
    X(javax_microedition_lcdui_Graphics*, promoGraphics) \
    X(String*, captionText)

#define SCREENS_FIELDS(X)                                                             \
    SCREENS_FIREWORK_FIELDS(X) SCREENS_LEVEL_END_FIELDS(X) SCREENS_DIALOG_FIELDS(X) \
        SCREENS_MENU_FIELDS(X) SCREENS_HUD_FIELDS(X)
