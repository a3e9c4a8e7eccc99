// Dialog paging and the sliding panel (dialog.h).
#include "game/flow/screens/dialog.h"

#include "game/actor/hero.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/screens.h"
#include "game/sprite/sprite.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"

namespace game {

namespace {

constexpr jint kConfirmKeys = 0x50020;
constexpr jint kSkipKey = 0x20000;
constexpr jint kScrollUpKeys = 0x4000 | 0x4;     // up, '2'
constexpr jint kScrollDownKeys = 0x8000 | 0x100;  // down, '8'
constexpr jint kMaxScrollSpeed = 5;
constexpr jint kScrollTop = 80;
constexpr jint kScrollStart = 400;
constexpr jint kPanelFull = 480;
constexpr jint kFadeSteps = 16;
constexpr jint kPoolSkipHint = 101;

IntArray* styleRecord(jint mode) {
    ObjectArray* styles = cg().panelButtons;
    if (!styles || mode < 0 || mode >= styles->length()) return nullptr;
    return static_cast<IntArray*>(styles->data()[mode]);
}

jint styleField(jint mode, jint field) {
    IntArray* r = styleRecord(mode);
    return r && field >= 0 && field < r->length() ? r->data()[field] : 0;
}

// Wrapped lines of the text without its terminator, at least one.
jint wrappedLines(String* text, jint mode) {
    const jint last = text->length() - 2;
    jint lines = 1;
    if (BSprite* font = gameFont(styleField(mode, kStyleFont))) {
        lines = font->getWrappedLineCount(text, 0, last, styleField(mode, kStyleWidth));
    } else {
        for (jint i = 0; i <= last; ++i) lines += text->charAt(i) == 10;
    }
    return lines < 1 ? 1 : lines;
}

void endDialog() {
    cGameStatics& s = cg();
    if (cg().dialogMode == 2) cg().variableChangedMask = -1;
    if (cg().dialogMode == 3) setPanelOffset(0);
    s.dialogText = nullptr;
    cg().dialogMode = -1;
    setDialogKind(-1);
    s.dialogParam = -1;
}

}  // namespace

jint dialogStyle(jint field) { return styleField(cg().dialogMode, field); }

void openDialog(jint textId, jint param, jint hold, jint mode) {
    cGameStatics& s = cg();
    if (mode < 0 || mode >= kDialogModes) {
        ::logPrintf("dialog %d: style %d outside 0-%d, not opened", textId, mode, kDialogModes - 1);
        return;
    }
    if (param < -1 || param >= kSpeakers) {
        ::logPrintf("dialog %d: speaker %d outside 0-%d, shown without a portrait", textId, param, kSpeakers - 1);
        param = -1;
    }
    if (isTouchInRect(cg().touchRect3)) {
        printLine(StaticClass::getStringConstant(kPoolSkipHint));
        s.skipHintPending = true;
    }
    s.dialogTextId = textId;
    s.dialogHold = hold;
    cg().dialogMode = mode;
    setDialogKind(mode);
    s.dialogParam = param;
    s.dialogStep = -2;
    s.dialogFirstLine = 0;
    s.dialogLineCount = 0;
    s.dialogPageLines = 0;
    s.dialogText = nullptr;
    if (mode == 3) {
        cg().dialogScrollBase = kScrollStart;
        s.dialogScrollSpeed = 3;
        s.dialogScroll = 0;
        setPanelOffset(kPanelFull);
    }
    nextDialogPage();
    if (!s.dialogText) {
        // An absent text leaves no dialog.
        cg().dialogMode = -1;
        setDialogKind(-1);
        s.dialogParam = -1;
        if (mode == 3) setPanelOffset(0);
    }
}

void nextDialogPage() {
    cGameStatics& s = cg();
    cg().dialogRedraw = true;
    if (java::iadd(s.dialogFirstLine, s.dialogPageLines) < s.dialogLineCount) {
        s.dialogFirstLine += s.dialogPageLines;
        return;
    }
    s.dialogStep = java::iadd(s.dialogStep, 2);
    s.dialogText = nullptr;
    if (s.dialogLineCount != 0) return;
    String* text = getString(s.dialogTextId);
    if (!text || text->length() < 1) return;
    s.dialogText = text;
    s.dialogLineCount = wrappedLines(text, cg().dialogMode);
    s.dialogFirstLine = 0;
    s.dialogPageLines = 0;
}

jint dialogPageSize() {
    cGameStatics& s = cg();
    const jint left = s.dialogLineCount - s.dialogFirstLine;
    const jint page = styleField(cg().dialogMode, kStyleLines);
    jint n = page < left ? page : left;
    if (left - n == 1) n -= 1;
    return n < 1 ? 1 : n;
}

bool updateDialog() {
    cGameStatics& s = cg();
    if (!s.dialogText) return false;
    const jint mode = cg().dialogMode;
    if (mode == 3 && isHeroInputFree() && (isKeyPressed(kSkipKey) || isTouchReleasedIn(cg().touchRect12))) {
        closeDialog();
        return false;
    }
    if (mode != 3) {
        const bool key = isKeyPressed(kConfirmKeys);
        const bool zone = isHeroInputFree() && isTouchReleasedIn(cg().touchRect2);
        // A touch released on the screen (not on the skip corner) turns the
        // page; a finger held down turns nothing.
        const bool screen = isScreenTapped();
        if (screen) takeScreenTap();
        if (key || zone || screen) {
            playSound(34);
            nextDialogPage();
            resetKeys();
        }
    } else {
        setDisplayValue(false, 15);
        setDisplayValue(true, -1);
        if (isKeyHeld(kScrollUpKeys)) {
            if (s.dialogScrollSpeed > -kMaxScrollSpeed) s.dialogScrollSpeed -= 1;
        } else if (isKeyHeld(kScrollDownKeys)) {
            if (s.dialogScrollSpeed < kMaxScrollSpeed) s.dialogScrollSpeed += 1;
        } else if (s.dialogScrollSpeed < 2) {
            s.dialogScrollSpeed += 1;
        }
        s.dialogScroll = java::isub(s.dialogScroll, s.dialogScrollSpeed);
        if (s.dialogScroll > 0) s.dialogScroll = 0;
        jint lineHeight = 0;
        if (BSprite* font = gameFont(styleField(3, kStyleFont)))
            lineHeight = font->getFontHeight() + font->getLineSpacing();
        if (java::iadd(s.dialogScroll, cg().dialogScrollBase) <= kScrollTop - lineHeight * s.dialogPageLines)
            nextDialogPage();
    }
    if (!s.dialogText) {
        endDialog();
        return false;
    }
    return s.dialogHold < 1;
}

void closeDialog() { endDialog(); }

bool isDialogActive() { return cg().dialogText != nullptr; }

void setPanelOffset(jint v) {
    cg().panelPosition = v;
    cg().panelOffset = v;
}

bool isPanelSliding() { return cg().panelPosition != cg().panelOffset; }
bool hasPanelOffset() { return cg().panelPosition != 0; }

void updatePanel() {
    cGameStatics& g = cg();
    if (g.panelPosition == g.panelOffset) return;
    if (g.panelFadeMode == 1) {
        fadeTileStep(g.panelFadeStep, kFadeSteps);
        g.panelFadeStep += 1;
        if (g.panelFadeStep > kFadeSteps) {
            g.panelFadeMode = 0;
            g.panelPosition = g.panelOffset;
            g.panelFadeStep = 0;
            if (g.panelOffset <= 0) g.variableChangedMask = -1;
        }
        return;
    }
    const jint distance = java::isub(g.panelOffset, g.panelPosition);
    if (distance > 9) {
        g.panelPosition += 10;
    } else if (distance < -9) {
        g.panelPosition -= 10;
    } else {
        g.panelPosition = g.panelOffset;
    }
    if (distance < 0) g.variableChangedMask = -1;
}

void fadeTileStep(jint step, jint steps) {
    cGameStatics& s = cg();
    if (!s.fadeTile) s.fadeTile = newIntArray(kFadeTileWidth * kFadeTileHeight);
    jint* p = s.fadeTile->data();
    const jint n = s.fadeTile->length();
    if (step == 0)
        for (jint i = 0; i < n; ++i) p[i] = 0;
    const jint alpha = steps > 0 ? 255 - java::idiv(java::imul(step, 255), steps) : 0;
    for (jint i = 0; i < n; ++i)
        p[i] = static_cast<jint>((static_cast<uint32_t>(alpha & 0xFF) << 24) | (static_cast<uint32_t>(p[i]) & 0xFFFFFF));
}

}  // namespace game
