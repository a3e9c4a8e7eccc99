// The cross-promotion screen (`Showcase`): its resource pack and entry list,
// the screen's small state machine and touch zones, its drawing with the
// pack's own bitmap font, and the opening of a link in the phone's browser.
//
// All state is static (ShowcaseStatics in the statics block); the game drives
// the screen with setup (once), open (on entering its state), doAction (once a
// logic step; true closes) and paint (once a repaint).
//
// Invariants: every read from the pack is checked against the bytes left in
// its entry (a damaged pack gives one log line and an orderly failure); the
// glyph table is only ever written inside `glyphData`; the text box writes at
// most kMaxLines line widths.
#pragma once

#include "game/data/fields.h"
#include "runtime/runtime.h"

class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class javax_microedition_midlet_MIDlet;

namespace game {

// Action codes passed to doAction and answered by hitTest.
enum ShowcaseAction : jint {
    kActNone = 0,
    kActRowUp = 21,
    kActPrevious = 23,
    kActNext = 24,
    kActSelect = 25,
    kActBack = 26,
    kActButton = 27,
    kActRowDown = 32,
};

// Screen states.
enum ShowcaseState : jint { kShowLoading = 0, kShowPage = 1, kShowLeave = 4, kShowEntryLink = 6, kShowPromoLink = 7 };

// Text ids of the decoded text block (the pack's text table follows this
// order): the two Command labels, the two action-button labels, the
// caption of the loading screen, then a title and a description per slot,
// then one text per row of sub-list 0 and then of sub-list 1.
enum ShowcaseText : jint {
    kTextOk = 0,
    kTextBack = 1,
    kTextButtonPlain = 2,
    kTextButtonCatalogue = 3,
    kTextLoading = 4,
    kTextFirstSlot = 5,
};

// The Object that listens to the soft-key Commands when a canvas is given.
class Showcase : public Object {
public:
    Showcase();
    void run() {}
    void commandAction(Object* command, Object* displayable);

    // --- Pack and entries ---------------------------------------------
    static void setup(javax_microedition_midlet_MIDlet* midlet, Object* display, jint width, jint height,
                      Object* canvas);
    static void init();
    static bool openPack();
    static ByteArray* readPackEntry(jint i);
    static void loadStep(jint step);
    static jint getEntryCount();
    static jint getFirstEntry();
    static bool hasEntries();
    static jint firstEntryOrNone();
    static bool isValidValue(String* value, jint flags);
    static String* lookupValue(String* text, String* key, String* base);
    static void enableEntry(jint i, String* key, jint flags, String* prefix, String* propertyText);

    // Cursor readers over one entry; false (with one log line) when the
    // entry has fewer bytes left than the read needs.
    static bool readU16(ByteArray* data, jint* out);
    static ByteArray* readBlock(ByteArray* data, bool* ok);
    static javax_microedition_lcdui_Image* readImage(ByteArray* data, bool* ok);
    static ObjectArray* readStringList(ByteArray* data, bool* ok);
    static String* readShortText(ByteArray* data, bool* ok);

    // --- Screen and input ---------------------------------------------
    static void resetInput();
    static void open(String* caller, jint language);
    // Enters the screen the way the game's cross-promotion state does:
    // resetInput, open, the step count and the first entry.
    static void enter(String* caller, jint language);
    static bool doAction(jint action);
    static void resetPage();
    static void requestLink();
    static jint hitTest(jint x, jint y);
    static void pointerPressed(jint x, jint y);
    static void pointerDragged(jint x, jint y);
    static void pointerReleased(jint x, jint y);
    static void removeCommands();

    // --- Drawing and text ---------------------------------------------
    static void paint(javax_microedition_lcdui_Graphics* g);
    static void afterLoad();
    static void drawProgressBar(javax_microedition_lcdui_Graphics* g, jint y, jint width, jint value, jint max);
    static void drawActionButton(javax_microedition_lcdui_Graphics* g);
    static void drawSoftKeys(javax_microedition_lcdui_Graphics* g);
    static void paintPage(javax_microedition_lcdui_Graphics* g);
    static void paintList(javax_microedition_lcdui_Graphics* g);
    static void drawListArrow(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint size, jint colour,
                              bool vertical, bool down);
    static void drawString(jint id, javax_microedition_lcdui_Graphics* g, jint x, jint y, jint anchor);
    static String* readText(jint id);
    static void drawTextBox(String* text, javax_microedition_lcdui_Graphics* g, jint width, jint x, jint y,
                            jint anchor);
    static jint glyphField(jint c, jint field);
    static jint textWidth(String* text);
    static String* splitText(String* text);
    static String* wrapText(String* text, jint width, jint maxLines);
    static void fillRectAlpha(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h, jint argb);
    static void setClip(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
    static javax_microedition_lcdui_Image* recolourPng(ByteArray* bytes, jint offset, jint length, jint index,
                                                        jint rgb);

    // --- Links --------------------------------------------------------
    static bool buildLink();
    static void openLink();

    // The tick count the blink and the arrows' swing read (the runtime's
    // tick clock: 32 bits, never negative).
    static jlong tickCount();

    static constexpr jint kMaxLines = 10;
    static constexpr jint kImageSlots = 14;
};

#define SHOWCASE_FIELDS(X)                                                   \
    /* references */                                                         \
    X(javax_microedition_midlet_MIDlet*, midlet)                             \
    X(Object*, display)                                                      \
    X(Object*, canvas)                                                       \
    X(Showcase*, listener)                                                   \
    X(Object*, okCommand)                                                    \
    X(Object*, backCommand)                                                  \
    X(Object*, textFont)                                                     \
    X(Object*, hashtable)                                                    \
    X(ShortArray*, workShorts)                                               \
    X(ObjectArray*, subPrefixes)                                             \
    X(IntArray*, packOffsets)                                                \
    X(ObjectArray*, packCache)                                               \
    X(ObjectArray*, languageCodes)                                           \
    X(ObjectArray*, catalogueKeys)                                           \
    X(ObjectArray*, subKeys)      /* three String[] */                       \
    X(ObjectArray*, subLinks)     /* three String[] */                       \
    X(ObjectArray*, subImages)    /* three Image[] */                        \
    X(String*, layoutId)                                                     \
    X(String*, propertyText)                                                 \
    X(String*, linkTemplate)                                                 \
    X(String*, pendingUrl)                                                   \
    X(String*, promoLink)                                                    \
    X(String*, callerContext)                                                \
    X(ByteArray*, entryEnabled)                                              \
    X(ObjectArray*, entryLinks)                                              \
    X(IntArray*, entryKind)                                                  \
    X(ObjectArray*, pageImages)                                              \
    X(ObjectArray*, images)                                                  \
    X(javax_microedition_lcdui_Image*, languageImage)                        \
    X(javax_microedition_lcdui_Image*, extraImage)                           \
    X(javax_microedition_lcdui_Image*, backgroundImage)                      \
    X(ObjectArray*, texts)                                                   \
    X(ByteArray*, glyphData)                                                 \
    X(ObjectArray*, fontImages)                                              \
    X(IntArray*, lineWidths)                                                 \
    /* pack and entries */                                                   \
    X(jint, readCursor)                                                      \
    X(jint, packEntryCount)                                                  \
    X(jint, catalogueCount)                                                  \
    X(jint, catalogueLinkCount)                                              \
    X(jint, slotCount)                                                       \
    X(jint, slotMore)                                                        \
    X(jbyte, optionFlag)                                                     \
    X(jint, optionStep)                                                      \
    X(jint, releaseStep)                                                     \
    X(jint, enabledCount)                                                    \
    X(jbyte, usable)                                                         \
    X(jint, languageIndex)                                                   \
    X(jint, screenWidth)                                                     \
    X(jint, screenHeight)                                                    \
    X(jint, halfWidth)                                                       \
    X(jint, halfHeight)                                                      \
    X(jint, layoutBottom)                                                    \
    X(jint, titleTop)                                                        \
    X(jbyte, useCommands)                                                    \
    X(jbyte, combinedProperties)                                             \
    X(jbyte, insertLanguage)                                                 \
    X(jbyte, displayFlagA)                                                   \
    X(jbyte, displayFlagB)                                                   \
    /* screen */                                                             \
    X(jint, loadStepIndex)                                                   \
    X(jint, loadStepCount)                                                   \
    X(jint, screenState)                                                     \
    X(jbyte, visible)                                                        \
    X(jint, lastAction)                                                      \
    X(jbyte, swallowAction)                                                  \
    X(jint, pressedAction)                                                   \
    X(jint, pressedAction2)                                                  \
    X(jbyte, softKeyHeld)                                                    \
    X(jint, pressedRow)                                                      \
    X(jint, currentEntry)                                                    \
    X(jint, pageEntry)                                                       \
    X(jbyte, listMode)                                                       \
    X(jint, currentList)                                                     \
    X(jint, listTop)                                                         \
    X(jint, listSelection)                                                   \
    X(jint, listVisibleRows)                                                 \
    X(jint, listLength)                                                      \
    X(jbyte, movedBack)                                                      \
    X(jbyte, movedForward)                                                   \
    X(jint, highlightCount)                                                  \
    X(jbyte, buttonVisible)                                                  \
    X(jint, buttonLabel)                                                     \
    X(jint, buttonX) X(jint, buttonY) X(jint, buttonW) X(jint, buttonH)      \
    X(jint, button2X) X(jint, button2Y) X(jint, button2W) X(jint, button2H)  \
    X(jint, gradientX) X(jint, gradientY) X(jint, gradientW) X(jint, gradientH) \
    X(jint, listLeft) X(jint, listWidth) X(jint, listTopY) X(jint, listRowHeight) \
    X(jint, listUpY) X(jint, listDownY)                                      \
    X(jint, leftMargin)                                                      \
    X(jint, rightMargin)                                                     \
    X(jint, progressColour)                                                  \
    /* text and font */                                                      \
    X(jint, glyphExtra)                                                      \
    X(jint, glyphHighest)                                                    \
    X(jint, lineHeight)                                                      \
    X(jint, letterSpacing)                                                   \
    X(jint, widestLine)                                                      \
    X(jint, textHeight)                                                      \
    X(jbyte, noClip)                                                         \
    X(jint, fontStrip)                                                       \
    /* links */                                                              \
    X(jbyte, linkReady)                                                      \
    X(jbyte, linkRequested)

BRAMBLE_STATICS(ShowcaseStatics, SHOWCASE_FIELDS)

// The block's Showcase statics.
ShowcaseStatics* showcaseStatics();
// The contribution (registered by registerShowcaseStatics).
const StaticsContribution* showcaseContribution();
void registerShowcaseStatics();

}  // namespace game
