// The Showcase screen's state machine: opening, one action per logic step,
// the page reset, the touch zones and the pointer handlers, the soft-key
// Commands.
//
// Invariants: the current entry only ever moves to an enabled slot; the
// list selection stays inside the list and inside the visible rows.
#include "display/lcdui/display.h"
#include "display/lcdui/font.h"
#include "game/showcase/internal.h"

namespace game {

using namespace showcase_detail;

void Showcase::resetInput() {
    ShowcaseStatics* s = S();
    s->lastAction = 0;
    s->pressedAction = 0;
    s->pressedAction2 = 0;
    s->softKeyHeld = 0;
    s->swallowAction = 1;
    s->linkRequested = 0;
}

void Showcase::open(String* caller, jint language) {
    ShowcaseStatics* s = S();
    if (language < 0 || language >= arrayLength(s->languageCodes)) return;
    s->loadStepIndex = -1;
    s->languageIndex = language;
    s->callerContext = caller;
    s->screenState = kShowLoading;
    s->currentEntry = 0;
    s->listTop = s->listSelection = 0;
    s->lineWidths = newIntArray(kMaxLines);
    s->visible = 1;
    s->textFont = javax_microedition_lcdui_Font::getFont(0, 0, 8);
    Application::clearPendingException();
    s->pressedAction = 0;
    s->softKeyHeld = 0;
}

void Showcase::enter(String* caller, jint language) {
    ShowcaseStatics* s = S();
    resetInput();
    open(caller, language);
    s->loadStepCount = s->slotCount + 4;
    s->currentEntry = getFirstEntry();
}

namespace {

bool enabled(jint slot) { return ByteArray::at(S()->entryEnabled, slot) != 0; }

// The entry link of the page (or of the selected row), with the language
// put in after the marker when links carry it; null when there is none.
String* entryLink() {
    ShowcaseStatics* s = S();
    String* link = s->listMode ? subLink(s->currentList, s->listSelection) : elem<String>(s->entryLinks, s->currentEntry);
    if (isEmpty(link)) return nullptr;
    if (!s->insertLanguage) return link;
    String* marker = pool(kLanguageMarker);
    const jint at = find(link, marker);
    if (at < 0) return cat({link, marker, languageCode()});
    return cat({String::substring(link, 0, at), marker, languageCode(),
                String::substringFrom(link, at + len(marker))});
}

}  // namespace

bool Showcase::doAction(jint action) {
    ShowcaseStatics* s = S();
    if (s->linkRequested) return !s->linkReady || s->screenState == kShowLeave;
    if (!s->usable) return true;
    if (s->swallowAction) s->swallowAction = 0;
    else s->lastAction = action;
    const jint act = s->lastAction;
    switch (s->screenState) {
    case kShowLoading:
        if (s->loadStepIndex >= s->loadStepCount) {
            afterLoad();
            s->screenState = kShowPage;
            resetPage();
        } else {
            loadStep(s->loadStepIndex);
        }
        s->loadStepIndex += 1;
        return false;
    case kShowPage:
        switch (act) {
        case kActRowUp:
            if (s->listMode && s->listSelection >= 1) {
                s->listSelection -= 1;
                if (s->listSelection < s->listTop) s->listTop -= 1;
            }
            break;
        case kActRowDown:
            if (s->listMode && s->listSelection < s->listLength - 1) {
                s->listSelection += 1;
                if (s->listSelection - s->listTop >= s->listVisibleRows) s->listTop += 1;
            }
            break;
        case kActPrevious:
        case kActNext:
            if (s->enabledCount < 2) break;
            if (act == kActPrevious) {
                jint e = s->currentEntry;
                for (jint n = 0; n < s->slotCount; ++n) {
                    e = e <= 0 ? s->slotCount - 1 : e - 1;
                    if (enabled(e)) break;
                }
                s->currentEntry = e;
                s->movedBack = 1;
            }
            if (!s->movedBack) {
                jint e = s->currentEntry;
                for (jint n = 0; n < s->slotCount; ++n) {
                    e = e >= s->slotCount - 1 ? 0 : e + 1;
                    if (enabled(e)) break;
                }
                s->currentEntry = e;
                s->movedForward = 1;
            }
            s->listTop = s->listSelection = 0;
            resetPage();
            break;
        case kActSelect:
        case kActButton: s->screenState = kShowEntryLink; break;
        case kActBack: s->screenState = kShowLeave; break;
        default: break;
        }
        return false;
    case kShowLeave:
        s->pageImages = s->pageImages ? newObjectArray(cid::javax_microedition_lcdui_Image, s->slotCount) : nullptr;
        if (s->useCommands) removeCommands();
        s->visible = 0;
        return true;
    case kShowEntryLink: {
        String* link = entryLink();
        if (!link) {
            // Nothing to open: back to the page rather than a stuck screen.
            s->screenState = kShowPage;
            return false;
        }
        s->pendingUrl = link;
        return false;
    }
    default: return false;
    }
}

void Showcase::resetPage() {
    ShowcaseStatics* s = S();
    const jint slot = s->currentEntry;
    s->pageEntry = slot;
    s->listLength = 0;
    s->listMode = 0;
    String* link = elem<String>(s->entryLinks, slot);
    s->buttonVisible = !isEmpty(link) && !same(link, pool(kNoneValue));
    const jint cat = s->catalogueCount;
    if (slot == cat + 1 || slot == cat + 2) {
        s->listMode = 1;
        s->currentList = slot - cat - 1;
        s->buttonVisible = 0;
        s->listLength = subListLength(s->currentList);
    } else if (slot == cat + 3 || slot == cat + 4) {
        s->buttonVisible = 1;
    }
    s->buttonLabel = IntArray::at(s->entryKind, slot) == 4 ? kTextButtonCatalogue : kTextButtonPlain;
    layoutPage();
}

void Showcase::requestLink() {
    ShowcaseStatics* s = S();
    s->linkRequested = 1;
    if (buildLink()) {
        s->pendingUrl = s->promoLink;
        s->screenState = kShowPromoLink;
    }
}

jint Showcase::hitTest(jint x, jint y) {
    ShowcaseStatics* s = S();
    const jint w = s->screenWidth, h = s->screenHeight;
    if (x < 1 || y < 1 || s->screenState == kShowLoading || !s->visible) return 0;
    if (s->listMode) {
        const jint margin = 3 * (w / 100);
        const jint rh = s->listRowHeight;
        const bool inX = x >= s->listLeft + margin && x <= s->listLeft + s->listWidth - margin;
        if (inX && rh > 0 && y >= s->listTopY) {
            const jint r = s->listTop + (y - s->listTopY) / rh;
            if (r < s->listTop + s->listVisibleRows && r < s->listLength) {
                if (r == s->listSelection) return kActSelect;
                s->listSelection = r;
                return 0;
            }
        }
        if (inX && s->listLength > s->listVisibleRows) {
            if (y >= s->listUpY - rh / 2 && y < s->listUpY + rh && s->listSelection > 0) return kActRowUp;
            if (y >= s->listDownY - rh / 2 && y < s->listDownY + rh && s->listSelection < s->listLength - 1)
                return kActRowDown;
        }
    }
    if (s->buttonVisible && x > s->buttonX && x < s->buttonX + s->buttonW && y > s->buttonY &&
        y < s->buttonY + s->buttonH)
        return kActButton;
    if (s->button2W > 0 && x > s->button2X && x < s->button2X + s->button2W && y > s->button2Y &&
        y < s->button2Y + s->button2H)
        return kActButton;
    Image* arrow = image(7);
    const jint w7 = widthOf(arrow), h7 = heightOf(arrow);
    if (y > h / 2 - h7 && y < h / 2 - h7 + 2 * h7) {
        if (x < 2 * w7) return kActPrevious;
        if (x > w - w7 - w7 && x < w - w7 + 2 * w7) return kActNext;
    }
    if (!s->useCommands) {
        Image* key = image(13);
        const jint w13 = widthOf(key), h13 = heightOf(key);
        if (y >= h - 2 * h13 && y <= h) {
            if (x >= s->leftMargin && x <= s->leftMargin + 2 * w13) {
                s->softKeyHeld = 1;
                return kActSelect;
            }
            if (x >= w - 2 * w13 - s->rightMargin && x <= w - s->rightMargin) return kActBack;
        }
    }
    return 0;
}

void Showcase::pointerPressed(jint x, jint y) {
    ShowcaseStatics* s = S();
    const jint a = hitTest(x, y);
    if (a == 0) return;
    if (s->listMode) s->pressedRow = s->listSelection;
    s->pressedAction = a;
}

void Showcase::pointerDragged(jint x, jint y) {
    ShowcaseStatics* s = S();
    s->lastAction = 0;
    s->pressedAction = 0;
    s->softKeyHeld = 0;
    pointerPressed(x, y);
}

void Showcase::pointerReleased(jint x, jint y) {
    ShowcaseStatics* s = S();
    const jint a = hitTest(x, y);
    if (a != 0) {
        s->swallowAction = 1;
        s->lastAction = a;
    }
    s->pressedAction = 0;
    s->pressedAction2 = 0;
    s->softKeyHeld = 0;
}

void Showcase::commandAction(Object* command, Object*) {
    ShowcaseStatics* s = S();
    if (!s->useCommands || !command) return;
    if (command == s->okCommand) doAction(kActSelect);
    else if (command == s->backCommand) doAction(kActBack);
}

void Showcase::removeCommands() {
    ShowcaseStatics* s = S();
    s->okCommand = nullptr;
    s->backCommand = nullptr;
}

}  // namespace game
