// Level data loading (see level.h): sprite preparation modes, screen
// sprites, tile layers, math tables, the level-state reset and the fixed
// actors.
#include "game/data/level.h"

#include "display/lcdui/image.h"
#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/data/datanode.h"
#include "game/data/pack.h"
#include "game/data/progress.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/sprite/sprite.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/regions.h"
#include "runtime/runtime.h"

namespace game {
namespace {

using Image = javax_microedition_lcdui_Image;

BSprite* newLoadedSprite(jint r) {
    BSprite* s = newObject<BSprite>();
    ByteArray* data = loadResource(r);
    if (!data) {
        logPrintf("sprite: entry %d missing; the sprite has no data", r);
        return s;
    }
    s->load(data, 0, 0xFFFFFF, 1, 0);
    s->initAlphaTables();
    return s;
}

// Replaces every module Image of palette p by its quarter-turn copy.
void rotateModuleImages(BSprite* s, jint p) {
    ObjectArray* rows = s->moduleImageCache;
    if (!rows || p < 0 || p >= rows->length()) return;
    auto* row = static_cast<ObjectArray*>(rows->data()[p]);
    for (jint m = 0; row && m < row->length(); ++m) {
        auto* img = static_cast<Image*>(row->data()[m]);
        if (img) ObjectArray::set(row, m, ASprite::rotateImage(img));
    }
}

bool hasImageModules(BSprite* s) {
    ByteArray* types = s->moduleType;
    for (jint m = 0; types && m < s->moduleCount && m < types->length(); ++m)
        if (types->data()[m] == sprite::kImage) return true;
    return false;
}

// Layer l's entry as bytes; null (with a log line) when it is missing.
ByteArray* layerEntry(jint e) { return loadResource(e); }

jint u8(ByteArray* a, jint i) { return a->data()[i] & 0xFF; }
jint le16(ByteArray* a, jint i) { return static_cast<jshort>(u8(a, i) | (u8(a, i + 1) << 8)); }

}  // namespace

void loadSprite(ObjectArray* table, jint r, jint slot, jint flags) {
    if (!table || slot < 0 || slot >= table->length()) {
        logPrintf("sprite: slot %d outside its table (%d slots)", slot, table ? table->length() : 0);
        return;
    }
    if (table->data()[slot]) return;
    BSprite* s = newLoadedSprite(r);
    ObjectArray::set(table, slot, s);
    if (!s->hasPixelData() && !s->palettes) return;
    const jint mode = flags & kSpriteModeMask;
    jint mask = flags & kSpritePaletteMask;
    jint palettes = s->paletteCount;
    if (flags & kSpriteAlphaPalette) {
        s->alphaFromLastPalette = 1;
        s->applyAlphaPalette();
        palettes--;
    }
    if (mode == 6) s->buildFrameIndexImages(0, -1);
    if (mode == 7) {
        s->buildFrameIndexImages((flags >> 4) & 255, (flags >> 12) & 255);
        mask = 0;
    }
    if (mode == 1 || mode == 2 || mode == 3 || mode == 5 || mode == 7) {
        if (mode == 3 || mode == 5) ASprite::setImageCacheEnabled(s, true);
        for (jint p = 0; p < palettes; ++p) {
            if (mask && !(mask & (1 << (4 + p)))) continue;
            switch (mode) {
            case 1:
            case 7:
                s->buildModuleImages(p, 0, -1, -1);
                rotateModuleImages(s, p);
                break;
            case 2:
            case 5: s->cacheFrameImages(p, 0, -1); break;
            case 3: s->buildModuleImages(p, 0, -1, -1); break;
            default: break;
            }
        }
    }
    if (mode != 4 && !(flags & kSpriteKeepData)) {
        s->releasePixelData();
        // Nothing built above keeps the pictures of its image modules: such a
        // sprite measures and animates but draws nothing (said once here).
        if (!s->moduleImageCache && !s->moduleRGBCache && !s->frameImageCache && !s->frameRGBCache &&
            !s->frameIndexImages && hasImageModules(s))
            logPrintf("sprite: entry %d (slot %d, load mode %d) keeps no pixels; its image modules draw nothing", r,
                      slot, mode);
    }
}

BSprite* createSprite(jint r, bool buildImages, bool keepData, jint palette) {
    BSprite* s = newLoadedSprite(r);
    if (!(s->spriteFlags & sprite::kFlagImages) && !(s->spriteFlags & sprite::kFlagNoAnimCache)) {
        s->spriteFlags |= sprite::kFlagNoAnimCache;
        ByteArray* png = loadResource(r + 1);
        Image* img = png && png->length() > 0 ? Image::createImage(png, 0, png->length()) : nullptr;
        catchException();
        if (!img) {
            logPrintf("sprite: entry %d holds no picture", r + 1);
        } else {
            ObjectArray* row = newObjectArray(cid::Object, 1);
            ObjectArray::set(row, 0, ASprite::rotateImage(img));
            ObjectArray* rows = newObjectArray(cid::ObjectArray, 1);
            ObjectArray::set(rows, 0, row);
            s->moduleImageCache = rows;
            s->moduleImagesRotated = 1;
        }
    }
    if (buildImages) {
        s->buildModuleImages(palette, 0, -1, -1);
        if (!keepData) s->releasePixelData();
    }
    return s;
}

void loadLevelLayer(jint e, jint l) {
    cGameStatics& g = cg();
    if (l < 0 || l >= kLayers) return;
    auto* size = static_cast<ShortArray*>(g.layerSizes->data()[l]);
    ByteArray* cells = layerEntry(e);
    if (!cells || cells->length() == 0) {
        size->data()[0] = size->data()[1] = 0;
        ObjectArray::set(cg().layerMaps, l, nullptr);
        return;
    }
    ByteArray* head = layerEntry(e + 1);
    if (!head || head->length() < 5) {
        logPrintf("layer %d: header entry %d missing or cut short", l, e + 1);
        return;
    }
    const jint w = le16(head, 0), h = le16(head, 2), n = u8(head, 4);
    if (w < 1 || h < 1) {
        logPrintf("layer %d: size %d x %d", l, w, h);
        return;
    }
    if (head->length() < 5 + 2 * n) {
        logPrintf("layer %d: tile table of %d cut short", l, n);
        return;
    }
    const jint count = w * h;
    if (cells->length() < count) {
        logPrintf("layer %d: %d cells for a %d x %d grid", l, cells->length(), w, h);
        return;
    }
    ByteArray* flags = layerEntry(e + 2);
    if (!flags || flags->length() < count) {
        logPrintf("layer %d: %d flag bytes for a %d x %d grid", l, flags ? flags->length() : 0, w, h);
        return;
    }
    for (jint i = 0; i < count; ++i)
        if (u8(cells, i) >= n) {
            logPrintf("layer %d: cell %d names tile %d of %d", l, i, u8(cells, i), n);
            return;
        }
    ShortArray* map = newShortArray(count);
    {
        const auto* c = reinterpret_cast<const uint8_t*>(cells->data());
        const auto* f = reinterpret_cast<const uint8_t*>(flags->data());
        jshort* out = map->data();
        for (jint i = 0; i < count; ++i) {
            jint v = le16(head, 5 + 2 * c[i]);
            if (f[i]) v |= f[i] << 14;
            out[i] = static_cast<jshort>(v);
        }
    }
    size = static_cast<ShortArray*>(cg().layerSizes->data()[l]);
    size->data()[0] = static_cast<jshort>(w);
    size->data()[1] = static_cast<jshort>(h);
    ObjectArray::set(cg().layerMaps, l, map);
}

void dropLevelLayers() {
    cGameStatics& g = cg();
    for (jint l = 0; l < kLayers; ++l) {
        if (g.layerMaps && g.layerMaps->inBounds(l)) g.layerMaps->data()[l] = nullptr;
        auto* size = g.layerSizes && g.layerSizes->inBounds(l) ? static_cast<ShortArray*>(g.layerSizes->data()[l]) : nullptr;
        if (size && size->length() >= 2) size->data()[0] = size->data()[1] = 0;
    }
    g.collisionMap = nullptr;
    g.collisionWidth = g.collisionHeight = 0;
}

void loadLevelLayers(jint stage, jint mask) {
    java_lang_System::gc();
    for (jint l = 0; l < kLayers; ++l) {
        if (mask != 0 && !(mask & (1 << l))) continue;
        loadLevelLayer(3 * l, l);
        cGameStatics& g = cg();
        auto* size = static_cast<ShortArray*>(g.layerSizes->data()[l]);
        const jint w = size->data()[0], h = size->data()[1];
        if (w * kCellPixels > g.mapPixelWidth) g.mapPixelWidth = w * kCellPixels;
        if (h * kCellPixels > g.mapPixelHeight) g.mapPixelHeight = h * kCellPixels;
        if (l == 4) {
            if (game::world::isRegionFlagSet(stage)) ObjectArray::set(cg().layerMaps, 4, nullptr);
            cg().collisionWidth = w;
            cg().collisionHeight = h;
            cg().collisionMap = static_cast<ShortArray*>(cg().layerMaps->data()[4]);
        }
    }
}

void loadMathTables(String* name, jint a, jint b) {
    readPackHeader(name);
    cg().sineTable = a < 0 ? nullptr : loadDataNode(a);
    cg().extraMathTable = b < 0 ? nullptr : loadDataNode(b);
    closePack();
}

void resetPlayState() {
    cGameStatics& g = cg();
    g.cameraX = g.cameraY = 0;
    g.cameraOffsetX = g.cameraOffsetY = g.cameraStepX = g.cameraStepY = 0;
    g.cameraTarget = nullptr;
    game::world::updateCamera(0);
    g.lookMode = 99;
    g.lookAheadForcedX = g.lookAheadForcedY = 30001;
    game::world::setCameraLimits(0, 0, g.mapPixelWidth, g.mapPixelHeight);
    g.riseScroll = g.riseScrollStep = 0;
    g.panelActor = nullptr;
    g.portraitActor = nullptr;
    g.portraitActorId = -1;
    g.panelDisplayValue = getVariable(0);
    g.playFrames = 0;
    g.shakeTimer = 0;
    g.scrollDelay = -1;
    g.scrollStepX = g.scrollStepY = 0;
    g.cameraFlags = 9;
    if (cActor* h = g.hero) h->flags &= ~0x200;
    game::world::updateCamera(0);
    game::world::resetHeroState();
    setDisplayValue(true, -1);
    setDisplayValue(false, -1);
    g.displayIdA = -13148160;
    g.displayIdB = 0;
    g.displayIdC = 0;
    g.panelPosition = 240;
    g.panelOffset = 0;
    g.variableChangedMask = -1;
    loadLevelVariables();
    resetLevelStats();
    g.levelTimer = -1;
    g.bossMaskCount = mordle().maskTable ? mordle().maskTable->length() : 0;
    g.offscreenFlag = 1;
    refreshActors();
    ca().heroInputLock = 0;
    game::world::initCheckpoint();
    releaseCarriedActor();
    if (BSprite* s = getSpriteById(1, 18)) s->cacheAnimImages(0, 8);
    initTrackedLists();
}

void spawnLevelActors() {
    // The per-level counters: special items and two counters 0, the level
    // mark -1, no hero state, the launch byte 0.
    for (jint i = 0; ca().itemCounts && i < 5 && i < ca().itemCounts->length(); ++i) ca().itemCounts->data()[i] = 0;
    ca().hitGuard = 0;
    ca().levelMark = -1;
    ca().heroState = -1;
    ca().heroLaunched = 0;
    cGameStatics& g = cg();
    g.boss = nullptr;
    g.spawnFixedActors = g.hero == nullptr;
    if (!g.characterSlots) g.characterSlots = newObjectArray(cid::cActor, 3);
    ShortArray* starts = g.recordStarts;
    ShortArray* values = g.recordValues;
    const jint records = starts ? starts->length() - 1 : 0;
    jint nextSlot = 0;
    while (nextSlot < 3 && cg().characterSlots->data()[nextSlot]) ++nextSlot;
    for (jint k = 0; k < records; ++k) {
        const jint start = starts->data()[k], end = starts->data()[k + 1];
        if (!values || start < 0 || end <= start || end > values->length()) {
            logPrintf("level objects: record %d spans [%d, %d) outside %d values", k, start, end,
                      values ? values->length() : 0);
            continue;
        }
        const jint type = values->data()[start];
        const jint cls = subtypeClassOf(type);
        if (cls < 0) {
            logPrintf("level objects: record %d has type %d, which the actor constants lack; skipped", k, type);
            continue;
        }
        if (cls == 0 && cg().spawnFixedActors) {
            if (nextSlot >= 3) {
                logPrintf("level objects: character record %d beyond the three slots; skipped", k);
                continue;
            }
            cActor* a = cActor::makeFromRecord(values, end - start, start);
            ObjectArray::set(cg().characterSlots, nextSlot++, reinterpret_cast<Object*>(a));
        } else if (cls == 45) {
            cActor* a = cActor::makeFromRecord(values, end - start, start);
            if (a) cg().itemsTotal += a->getParam(1);
        } else if (cls == 44) {
            cActor::makeFromRecord(values, end - start, start);
        }
    }
    cg().hero = reinterpret_cast<cActor*>(cg().characterSlots->data()[0]);
}

}  // namespace game
