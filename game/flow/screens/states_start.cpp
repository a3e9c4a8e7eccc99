// Splash, second logo and loading states, and the handler table entries of
// every screen (states_start.h).
#include "game/flow/screens/states_start.h"

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/actor/actor.h"
#include "game/actor/screencalls.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/flow/screens/flowseams.h"
#include "game/flow/screens/hud.h"
#include "game/flow/screens/states_levelend.h"
#include "game/flow/screens/states_menu.h"
#include "game/flow/screens/states_play.h"
#include "game/sprite/sprite.h"
#include "runtime/application.h"

namespace game {

namespace {

constexpr jint kFirstStep = 413;
constexpr jint kSecondStep = 414;
constexpr jint kLogoSprite = 113;
constexpr jint kSecondLogoSprite = 114;
constexpr jint kIndicatorSprite = 107;
constexpr jint kLoadingPictureW = 540;
constexpr jint kLoadingPictureH = 864;

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

void runStartStep(jint record, const char* what) {
    runLoadStep(record);
    if (Application::pendingException()) Application::drainPendingException(what);
}

void fillScreen(Graphics* g, jint colour) {
    if (!g) return;
    g->setColor(colour);
    g->setClip(0, 0, 480, 800);
    g->fillRect(0, 0, 480, 800);
}

}  // namespace

Graphics* ensureLoadingPicture() {
    if (!cg().overlayImage || !cg().overlayGraphics) {
        Image* image = Image::createImage(kLoadingPictureW, kLoadingPictureH);
        cg().overlayImage = image;
        Graphics* g = image ? image->getGraphics() : nullptr;
        cg().overlayGraphics = g;
    }
    return cg().overlayGraphics;
}

void prepareLoadingScreen() {
    Graphics* g = ensureLoadingPicture();
    if (!g) return;
    Graphics* saved = cg().graphics;
    cg().graphics = g;
    const jint kind = IntArray::at(cg().loadRequest, 0);
    if (kind == 2) {
        fillScreen(g, 0xFFFFFF);
        paintSpriteAnim(kLogoSprite, 0, 0, 400, 240);
    } else {
        fillScreen(g, 0xFFFFFF);
        fillScreen(g, 0);
        paintSpriteAnim(kSecondLogoSprite, 0, 0, 400, 240);
        paintSpriteFrame(117, 0, 400, 240);
        fillTiledRect(0, 0, 480, 800, static_cast<jint>(0xAF000000), g);
    }
    cg().graphics = saved;
}

void paintMenuLoadBar(Graphics* g, jint done, jint total) {
    if (!g) return;
    // The 725 x 19 bar turned a quarter (transform 5) at (26, 38): its
    // outline 724 x 18, its red fill (2, 2, done x 720 / total, 14) becomes
    // canvas columns 29-42 from row 40 down. Total 0 leaves it empty.
    const jint filled = total > 0 ? static_cast<jint>(jlong{done} * 720 / total) : 0;
    g->setClip(0, 0, 480, 800);
    g->setColor(0);
    g->fillRect(26, 38, 19, 725);
    g->setColor(0xFFFFFF);
    g->drawRect(26, 38, 18, 724);
    if (filled > 0) {
        g->setColor(0xFF0000);
        g->fillRect(29, 40, 14, filled < 720 ? filled : 720);
    }
}

void stateSplash(jint message) {
    switch (message) {
    case 2: {
        ObjectArray* slots = newObjectArray(cid::Object, kSpriteSlots);
        cg().loadSlots = slots;
        loadGameData();
        IntArray* src = cg().splashOffsets;
        const jint n = src ? src->length() : 0;
        IntArray* curve = newIntArray(n);
        cg().offsetCurve = curve;
        for (jint i = 0; i < n; ++i) cg().offsetCurve->data()[i] = cg().splashOffsets->data()[i];
        runStartStep(kFirstStep, "state 1, first loading step");
        break;
    }
    case 1:
        fillScreen(cg().graphics, 0xFFFFFF);
        paintSpriteAnim(kLogoSprite, 0, 0, 400, 240);
        break;
    case 0:
        if (stateTicks() >= kLogoSteps && !cg().statePending) requestLoad(2, 0, 0, 2);
        break;
    default: break;
    }
}

void state2(jint message) {
    switch (message) {
    case 2: runStartStep(kSecondStep, "state 2, second loading step"); break;
    case 1:
        fillScreen(cg().graphics, 0);
        paintSpriteAnim(kSecondLogoSprite, 0, getCurrentEntryValue(), 400, 240);
        break;
    case 0:
        if (cActor* logo = cg().logoActor) logo->updateAnimation();
        if (stateTicks() > kSecondLogoSteps && !cg().statePending) requestLoad(4, 0, 0, 4);
        break;
    default: break;
    }
}

void state11(jint message) {
    switch (message) {
    case 2:
        cg().loadStepsDone = -1;
        prepareLoadingScreen();
        KTLibPlayer::request(0, 4, -1, -1, -1, -1);
        cg().currentMusic = -1;
        break;
    case 0:
        stateLoading();
        if (Object* e = Application::pendingException())
            if (instanceOf(e, cid::java_lang_Exception)) Application::clearPendingException();
        break;
    case 1: {
        Graphics* g = cg().graphics;
        IntArray* r = cg().loadRequest;
        const jint kind = IntArray::at(r, 0), sub = IntArray::at(r, 2);
        const jint done = cg().loadStepsDone > 0 ? cg().loadStepsDone : 0;
        const jint total = cg().loadStepsTotal;
        if (kind == 4 && sub == 3) {
            fillScreen(cg().screenGraphics, 0);
            setFontPalette(0, 1);
            drawParagraph(0, getString(0x10011), 400, 412, 770, 17);
            paintMenuLoadBar(cg().screenGraphics, done, total);
            break;
        }
        if (cg().overlayImage && g) g->drawImage(cg().overlayImage, 0, 0, 0);
        if (kind == 5 || sub == 1) {
            const jint t = getCurrentEntryValue();
            paintSpriteAnim(kIndicatorSprite, 8, t, 264, 420);
            paintSpriteFrame(kIndicatorSprite, 11, 0, 0);
            const jint x = total > 0 ? 264 + done * 272 / total : 264;
            paintSpriteAnim(kIndicatorSprite, 10, t, x, 420);
            if (kind == 5 && sub == 0) paintLoadingHints();
        }
        break;
    }
    case 3: deactivateEffects(); break;
    default: break;
    }
}

void installScreenStates() {
    static const std::pair<jint, StateHandler> kHandlers[] = {
        {1, &stateSplash}, {2, &state2},   {3, &state3},   {4, &state4},   {5, &state5},   {6, &state6},
        {7, &state7},      {8, &state8},   {9, &state9},   {11, &state11}, {13, &state13}, {14, &stateGameplay},
        {17, &state17},    {18, &state18}, {19, &state19}, {20, &state20}, {21, &state21}, {22, &stateAfterDeath},
        {25, &state25},    {26, &state26}, {28, &state28}, {29, &state29}, {30, &state30}, {31, &state31},
        {32, &state32},    {33, &state33}, {34, &state34}, {35, &state35},
    };
    for (const auto& [state, handler] : kHandlers) setStateHandler(state, handler);
}

}  // namespace game
