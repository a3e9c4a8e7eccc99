// Static fields of cGame that only the screens name (fireworks, level end
// and tally, dialogs and the sliding panel, the list box, the heads-up
// timers). All start at zero, null or false; fields with a constant-table
// starting value live in game::cg() (game/data/statics.h).
//
//   game::scr()   the screens' cGame fields (ScreensStatics)
//
// registerScreenStatics() adds the contribution (idempotent) before
// Application::init.
#pragma once

#include <array>
#include <vector>

#include "game/data/fields.h"
#include "runtime/array.h"
#include "runtime/statics.h"
#include "runtime/string.h"

class BSprite;
class cActor;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;

namespace game {

constexpr int kClinitScreens = kClinitGame + 7;

// The list box holds this many listed entries at most.
constexpr jint kMenuItemCapacity = 32;
// Capacity of the firework particle array.
constexpr jint kFireworkCapacity = 260;

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
    X(jint, secretsTotal)               \
    X(jint, specialsTotal)              \
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
    X(jint, checkpointTimer)            \
    X(jint, bannerTimer)                \
    X(jint, panelShownCounter)          \
    X(jboolean, resultsRedraw)          \
    X(jint, endingPhase)                \
    X(jboolean, keepMusic)              \
    X(jboolean, skipIntro)              \
    X(jboolean, promoEnabled)           \
    X(jboolean, fillScreenOn)           \
    X(jint, levelTimerHold)             \
    X(jint, effectCountdown)            \
    X(jboolean, skipArmed)              \
    X(jboolean, skipCutscene)           \
    X(jboolean, cutsceneSkippable)      \
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

BRAMBLE_STATICS(ScreensStatics, SCREENS_FIELDS)

extern StaticsContribution g_ScreensStatics;

inline ScreensStatics& scr() { return *statics<ScreensStatics>(g_ScreensStatics); }

void registerScreenStatics();
void appendScreenStatics(std::vector<const StaticsContribution*>& list);

}  // namespace game
