// Menu and screen states (states_menu.h): enter, update and row actions.
#include "game/flow/screens/states_menu.h"

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/actor/actor.h"
#include "game/actor/screencalls.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/showcase/showcase.h"
#include "game/data/textpack.h"
#include "game/flow/screens.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/levelend.h"
#include "game/flow/screens/levelstart.h"
#include "game/flow/screens/menus.h"
#include "game/flow/screens/progressrules.h"
#include "game/flow/screens/screenpaint.h"
#include "game/flow/screens/screens.h"
#include "game/flow/screens/states_levelend.h"
#include "game/flow/screens/states_start.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"

namespace game {

namespace {

constexpr jint kStartKeys = 0x10020;
constexpr jint kRightSoft = 0x20000;
constexpr jint kLeftSoft = 0x40000;
constexpr jint kNoticeSteps = 96;
constexpr jint kPoolAppProperty = 88;
constexpr jint kPoolMarker = 98;
constexpr jint kPoolLogoPack = 99;

bool backPressed(jint key = kRightSoft) { return isKeyPressed(key) || cg().backFired; }

// Polls the open menu: the chosen row after its delay, or -1.
jint pollMenu(ObjectArray* menu) {
    updateMenu(menu);
    return getMenuActionDelayed();
}

// The same for the menus that answer touches: the row under the finger
// becomes the cursor first (the zones follow the menu's header).
jint pollTouchMenu(ObjectArray* menu) {
    updateListTouch();
    return pollMenu(menu);
}

ObjectArray* build(ObjectArray*& menu) {
    menu = expandMenu(menu);
    return menu;
}

void setRowValue(ObjectArray* menu, jint id, jint field, jint value) {
    for (jint e = 4; menu && e < menu->length(); ++e) {
        IntArray* ints = menuEntryInts(menu, e);
        if (ints && ints->length() > field && ints->data()[kEntryId] == id) ints->data()[field] = value;
    }
}

// The rows every menu of the main menu, the pause menu and the options
// menu share.
bool commonRow(jint id) {
    switch (id) {
    case 0x10003: pushQuestionMenu(4, 1); return true;
    case 9:
        if (isSoundOn()) {
            stopAllSoundsAndDisable();
        } else {
            setSoundOn(true);
            playSound(34);
        }
        return true;
    case 0x1000A: requestPushState(26); return true;
    default: return false;
    }
}

}  // namespace

jint backKeyOver(jint state) {
    // Anywhere on the stack below the screen.
    for (jint s = getStateBelow(state), guard = 0; s > 0 && guard < 8; s = getStateBelow(s), ++guard)
        if (s == 18) return kLeftSoft;
    return kRightSoft;
}

jint recordsBackKey() { return backKeyOver(8); }

void applyMainMenuVisibility(ObjectArray* menu, bool progress, bool promo, jint promoEntries, bool link) {
    setEntryListed(menu, 0x10004, progress);
    setEntryListed(menu, 0x10008, progress);
    setEntryListed(menu, 0x10001, !progress);
    setEntryListed(menu, 0x1000F, promo && promoEntries > 0);
    setRowValue(menu, 0x1000F, kEntryRepeat, progressByte(0) != 0 ? 1 : 0);
    setEntryListed(menu, 0x1000E, link);
}

void applyUnlockRequests() {
    jint& flags = requestFlags();
    if (flags & 8) {
        flags &= ~8;
        unlockAllStagesForLastDifficulty();
    }
    if (flags & 16) {
        flags &= ~16;
        unlockEverything();
    }
}

void continueGame() {
    cg().continueChosen = true;
    const jint d = storedDifficulty();
    cg().difficulty = d;
    jint stage = currentStage(d);
    if (stage > 10) {
        // Nothing stored: the furthest open stage, else 0.
        stage = 0;
        for (jint s = 0; s < kStages; ++s)
            if (isStageOpen(s, d)) stage = s;
        setCurrentStage(d, stage);
    }
    startLevel(stage);
}

void startNewGame() {
    setProgressByte(kByteLastDifficulty, checkedDifficulty(cg().difficulty, "new game"));
    startLevel(0);
}

void state3(jint message) {
    switch (message) {
    case 2:
        cg().endTimer = 0;
        playSound(0);
        break;
    case 0:
        if (isKeyPressed(kStartKeys) || isConfirmTouched()) returnToMainMenu();
        break;
    case 1: paintTitle(); break;
    default: break;
    }
}

void state4(jint message) {
    switch (message) {
    case 2: cg().endTimer = kNoticeSteps; break;
    case 0:
        cg().endTimer -= 1;
        if (cg().endTimer < 0) pushQuestionMenu(5, 1);
        break;
    case 1: paintNotice(0x1005E, 240); break;
    default: break;
    }
}

void state5(jint message) {
    switch (message) {
    case 2: {
        // The logo from entry 2 of the pack named by pool entry 99.
        BSprite* logo = nullptr;
        if (readPackHeader(StaticClass::getStringConstant(kPoolLogoPack))) logo = createSprite(2, true, false, 0);
        closePack();
        setActorLook(cg().logoActor, logo, 0, 400, 450);
        cg().endTimer = kNoticeSteps;
        break;
    }
    case 0:
        if (cActor* logo = cg().logoActor) logo->updateAnimation();
        cg().endTimer -= 1;
        // State 0 has no handler: the notice leads to the title.
        if (cg().endTimer < 0) requestSetState(3);
        break;
    case 1: paintLogoNotice(); break;
    default: break;
    }
}

void state6(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        g.skipIntro = false;
        build(g.mainMenu);
        preparePanelBackground();
        break;
    case 9: {
        g.skipIntro = false;
        // The screen is offered when its pack is usable and lists entries.
        g.promoEnabled = Showcase::hasEntries();
        applyMainMenuVisibility(g.mainMenu, hasProgress(), g.promoEnabled, Showcase::getEntryCount(),
                                Showcase::buildLink());
        g.textBox = nullptr;
        openTextBox(g.mainMenu);
        if (g.restoreMenuPosition) {
            setMenuCursor(hasProgress() ? 2 : 1);
            g.restoreMenuPosition = false;
        }
        break;
    }
    case 0: {
        const jint flagsBefore = requestFlags();
        const jint id = pollTouchMenu(g.mainMenu);
        matchKeySequence();
        consumeScreenTouch();
        if (requestFlags() != flagsBefore) applyUnlockRequests();
        switch (id) {
        case 0x10001:
        case 0x10008: requestPushState(7); break;
        case 0x10002:
            g.optionsReturnRow = g.menuCommittedCursor;
            requestPushState(31);
            break;
        case 0x10004:
            g.skipIntro = true;
            g.difficulty = 2;
            setProgressByte(72, 0);
            startLevel(0);
            break;
        case 0x1000E:
            Showcase::requestLink();
            Showcase::doAction(0);
            Showcase::paint(cg().graphics);
            break;
        case 0x1000F:
            requestSetState(9);
            setProgressByte(0, 1);
            saveProgress();
            break;
        default: commonRow(id); break;
        }
        break;
    }
    case 1: paintScreen(cg().mainMenu); break;
    default: break;
    }
}

void state7(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        build(g.gameMenu);
        cg().textBox = nullptr;
        openTextBox(g.gameMenu);
        break;
    case 0: {
        const jint id = pollTouchMenu(g.gameMenu);
        if (id == 0x10005) {
            continueGame();
        } else if (id == 0x10006) {
            if (hasProgress()) {
                requestPushState(29);
            } else {
                pushQuestionMenu(7, 1);
            }
        } else if (id == 0x10007) {
            requestPushState(29);
        } else if (backPressed()) {
            requestPopState();
        }
        break;
    }
    case 1: paintScreen(cg().gameMenu); break;
    default: break;
    }
}

void state8(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        build(g.recordsMenu);
        cg().textBox = nullptr;
        openTextBox(g.recordsMenu);
        break;
    case 0:
    case 7: {
        if (message == 0) pollMenu(g.recordsMenu);
        const jint d = checkedDifficulty(g.difficulty, "records");
        jint next = d;
        // Keys, or the page indicator's arrows: the left one (shown on the
        // second page) back to the first, the right one on to the second.
        if ((isKeyPressed(8256) || isPrevArrowTapped()) && d == 3) next = 2;
        if ((isKeyPressed(4112) || isNextArrowTapped()) && d == 2) next = 3;
        if (next != d) {
            g.difficulty = next;
            jint total = 0;
            for (jint s = 0; s < kStages; ++s) total = java::iadd(total, getSaveSlotField(s, next));
            cg().levelScore = total;
            playSound(35);
            setInTransitionFlag();
        }
        if (backPressed(recordsBackKey())) {
            playSound(36);
            requestPopState();
        }
        break;
    }
    case 1:
        paintScreen(cg().recordsMenu);
        paintPageIndicator(400, 440, g.difficulty - 1, 2);
        break;
    default: break;
    }
}

void state9(jint message) {
    cGameStatics& s = cg();
    switch (message) {
    case 2: {
        // The loading picture is made again at the next load.
        cg().overlayGraphics = nullptr;
        cg().overlayImage = nullptr;
        auto* image = javax_microedition_lcdui_Image::createImage(800, 480);
        cg().promoImage = image;
        auto* g = image ? image->getGraphics() : nullptr;
        cg().promoGraphics = g;
        stopAllSounds();
        Showcase::enter(getString(0x10011), 0);
        ensureShowcaseRecordStore();
        break;
    }
    case 0:
        if (Showcase::doAction(getShowcaseKey())) {
            clearLoadRequest();
            IntArray* r = loadRequest();
            r->data()[0] = 4;
            r->data()[2] = 3;
            r->data()[3] = 6;
            requestSetState(kStateLoading);
            s.restoreMenuPosition = true;
        }
        break;
    case 1: paintPromotion(); break;
    case 3:
        cg().promoGraphics = nullptr;
        cg().promoImage = nullptr;
        break;
    default: break;
    }
}

void paintPromotion() {
    cGameStatics& s = cg();
    if (!s.promoGraphics || !s.promoImage) return;
    Showcase::paint(s.promoGraphics);
    if (javax_microedition_lcdui_Graphics* g = cg().graphics) {
        g->setClip(0, 0, 480, 800);
        g->drawRegion(s.promoImage, 0, 0, 800, 480, 5, 0, 0, 0);
    }
}

void state17(jint message) {
    switch (message) {
    case 2:
        setLevelFlag(0, 3);
        if (cg().optionFlag) saveOptions();
        break;
    case 0:
        if (isKeyPressed(kStartKeys) || isConfirmTouched()) requestPopState();
        break;
    case 1: paintDifficultyNotice(); break;
    default: break;
    }
}

void state20(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        build(g.pauseMenu);
        cg().textBox = nullptr;
        openTextBox(g.pauseMenu);
        cg().levelFinished = true;
        break;
    case 7:
        stopSound(0);
        g.currentMusic = -1;
        break;
    case 3: cg().overlayDirty = true; break;
    case 0: {
        const jint id = pollTouchMenu(g.pauseMenu);
        if (id == 2 || (id == -1 && backPressed())) {
            markAllVariablesChanged();
            requestSetState(kStatePlay);
            resetKeys();
        } else if (id == 3) {
            pushQuestionMenu(21, 1);
        } else if (id == 0x10000) {
            pushQuestionMenu(6, 1);
        } else {
            commonRow(id);
        }
        break;
    }
    case 1: paintPauseView(); break;
    default: break;
    }
}

void state25(jint message) {
    if (message == 1) paintMessage();
    if (message == 0 && (isKeyPressed(kConfirmKeys) || isConfirmTouched())) requestPopState();
}

void state26(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        build(g.textBoxMenu);
        cg().textBox = nullptr;
        openTextBox(g.textBoxMenu);
        break;
    case 0:
        pollMenu(g.textBoxMenu);
        if (backPressed()) requestPopState();
        break;
    case 1:
        paintScreen(cg().textBoxMenu);
        // One page a listed entry: "page / pages".
        paintPageIndicator(400, 440, cg().menuCursor + 1, cg().menuMetricA);
        break;
    default: break;
    }
}

void state28(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        build(g.stageMenu);
        applyStageAvailability(g.stageMenu, g.difficulty);
        cg().textBox = nullptr;
        openTextBox(g.stageMenu);
        break;
    case 0: {
        const jint id = pollTouchMenu(g.stageMenu);
        if (id != -1) {
            IntArray* order = g.stageOrder;
            const jint row = cg().menuCommittedCursor;
            const jint stage = order && row >= 0 && row < order->length() ? order->data()[row] : 0;
            const jint d = checkedDifficulty(g.difficulty, "stage choice");
            g.stage = stage;
            setProgressByte(kByteLastDifficulty, d);
            setCurrentStage(d, stage);
            requestPopState();
            startLevel(stage);
        } else if (backPressed()) {
            requestPopState();
        }
        break;
    }
    case 1: paintScreen(cg().stageMenu); break;
    default: break;
    }
}

void state29(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2:
        build(g.difficultyMenu);
        // The first row is not offered; the last needs the next difficulty
        // unlocked. The listed rows then play difficulties 2 and 3.
        setRowValue(g.difficultyMenu, 0x10014, kEntryListed, 0);
        setRowValue(g.difficultyMenu, 0x10016, kEntrySelectable, (progressByte(kStageMaskByte) & 8) ? 1 : 0);
        cg().textBox = nullptr;
        openTextBox(g.difficultyMenu);
        break;
    case 0: {
        const jint id = pollTouchMenu(g.difficultyMenu);
        g.difficulty = cg().menuCursor + 2;
        if (g.difficulty > 3) g.difficulty = 3;
        if (id != -1) {
            if (getMenuSelectedId(g.gameMenu) == 0x10007) {
                startNewGame();
            } else {
                requestPushState(28);
            }
        } else if (backPressed()) {
            requestPopState();
        }
        break;
    }
    case 1: paintScreen(cg().difficultyMenu); break;
    default: break;
    }
}

void state31(jint message) {
    cGameStatics& g = cg();
    switch (message) {
    case 2: build(g.optionsMenu); break;
    case 9: {
        const bool level = inLevel();
        for (jint id : {0x1000A, 0x1000B, 0x10009}) setEntryListed(g.optionsMenu, id, !level);
        setEntryListed(g.optionsMenu, 0x10062, !level && !hasProgress());
        cg().textBox = nullptr;
        openTextBox(g.optionsMenu);
        break;
    }
    case 0: {
        const jint id = pollTouchMenu(g.optionsMenu);
        switch (id) {
        case 0x10085:
            g.vibrationOn = !g.vibrationOn;
            saveVibrationOption();
            vibrate(100);
            break;
        case 0x10062: pushQuestionMenu(23, 1); break;
        case 0x1000B: requestPushState(35); break;
        case 0x10009: requestPushState(8); break;
        case -1:
            if (backPressed()) requestPopState();
            break;
        default: commonRow(id); break;
        }
        break;
    }
    case 1: paintScreen(cg().optionsMenu); break;
    default: break;
    }
}

void state32(jint message) {
    switch (message) {
    case 2:
        cg().bonusAnimFrame = 0;
        cg().bonusAnimTicks = 0;
        onCounterEvent(1);
        prepareLoadingScreen();
        break;
    case 0:
        cg().bonusAnimTicks = java::iadd(cg().bonusAnimTicks, 1);
        if (isKeyPressed(kStartKeys) || isConfirmTouched()) {
            playSound(34);
            requestSetState(30);
        }
        cg().playFrames = java::iadd(cg().playFrames, 1);
        break;
    case 1: paintBonus(); break;
    default: break;
    }
}

void state33(jint message) {
    switch (message) {
    case 2:
        cg().introAnimFrame = 0;
        cg().introAnimTicks = 0;
        break;
    case 0:
        stepIntroAnimation();
        if (isKeyPressed(kStartKeys) || isConfirmTouched()) requestSetState(kStatePlay);
        break;
    case 1: paintIntro(); break;
    default: break;
    }
}

void state34(jint message) {
    if (message == 0 && (isKeyPressed(kLeftSoft) || cg().backFired)) requestPopState();
    if (message == 1) {
        if (javax_microedition_lcdui_Graphics* g = cg().graphics) {
            g->setClip(0, 0, 480, 800);
            g->setColor(0);
            g->fillRect(0, 0, 480, 800);
        }
        setFontPalette(0, 8);
        drawParagraph(0, getString(56), 400, 240, 770, 3);
        paintSoftKeys(-1, 17);
    }
}

void state35(jint message) {
    cGameStatics& s = cg();
    switch (message) {
    case 2: {
        if (!inLevel()) playSound(0);
        s.textScroll = 80;
        String* text = getString(0x10052);
        String* marker = StaticClass::getStringConstant(kPoolMarker);
        String* value = appProperty(StaticClass::getStringConstant(kPoolAppProperty));
        if (text && marker && value && marker->length() > 1) {
            const jint at = String::indexOf(text, String::substring(marker, 0, marker->length() - 1));
            if (at >= 0 && at + 5 <= text->length()) {
                std::u16string t = text->toUtf16();
                t = t.substr(0, static_cast<size_t>(at)) + value->toUtf16() + t.substr(static_cast<size_t>(at) + 5);
                text = String::fromUtf16(t);
            }
        }
        s.scrollText = text;
        jint lines = 1;
        for (jint i = 0; text && i < text->length() - 1; ++i) lines += text->charAt(i) == 10;
        s.scrollTextLines = lines;
        break;
    }
    case 0:
        if (isKeyHeld(16388)) s.textScroll += 4;
        if (isKeyHeld(33024)) s.textScroll -= 4;
        if (backPressed(backKeyOver(35))) {
            playSound(36);
            requestPopState();
        }
        break;
    case 1: paintScrollingText(); break;
    case 3: {
        // The menus' background as outside a level.
        const bool level = inLevel();
        setInLevel(false);
        preparePanelBackground();
        setInLevel(level);
        break;
    }
    default: break;
    }
}

}  // namespace game
