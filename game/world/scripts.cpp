// Level script tables, runner, waits, events and global commands (see
// scripts.h).
#include "game/world/scripts.h"

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/data/routines.h"
#include "game/behaviour/blocks.h"
#include "game/data/statics.h"
#include "game/flow/screens/dialog.h"
#include "game/flow/screens/firework.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/flow/variables.h"
#include "game/world/body.h"
#include "game/world/camera.h"
#include "game/world/checkpoint.h"
#include "game/world/hero/machine.h"
#include "game/world/map.h"
#include "game/world/regions.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "game/world/tables.h"
#include "runtime/log.h"

namespace game::world {

namespace {

jint scriptsIn() {
    ShortArray* ids = cg().scriptIds;
    ShortArray* st = cg().scriptStates;
    if (!ids || !st || !cg().scriptCommands || !cg().scriptReadOffsets || !cg().scriptTargets) return 0;
    return std::min(ids->length(), st->length());
}

ObjectArray* recordsOf(jint i) {
    ObjectArray* all = cg().scriptCommands;
    return all && all->inBounds(i) ? static_cast<ObjectArray*>(all->data()[i]) : nullptr;
}
IntArray* offsetsOf(jint i) {
    ObjectArray* all = cg().scriptReadOffsets;
    return all && all->inBounds(i) ? static_cast<IntArray*>(all->data()[i]) : nullptr;
}
IntArray* targetsOf(jint i) {
    ObjectArray* all = cg().scriptTargets;
    return all && all->inBounds(i) ? static_cast<IntArray*>(all->data()[i]) : nullptr;
}

jint u8(ByteArray* b, jint i) { return b->inBounds(i) ? static_cast<uint8_t>(b->data()[i]) : 0; }
jint s8(ByteArray* b, jint i) { return static_cast<int8_t>(u8(b, i)); }
jint s16(ByteArray* b, jint i) { return static_cast<int16_t>(u8(b, i) | u8(b, i + 1) << 8); }
jint s32(ByteArray* b, jint i) {
    return static_cast<jint>(static_cast<uint32_t>(u8(b, i)) | static_cast<uint32_t>(u8(b, i + 1)) << 8 |
                             static_cast<uint32_t>(u8(b, i + 2)) << 16 | static_cast<uint32_t>(u8(b, i + 3)) << 24);
}

void makeTables(jint n) {
    cGameStatics& g = cg();
    g.scriptCommands = newObjectArray(cid::ObjectArray, n);
    g.scriptReadOffsets = newObjectArray(cid::IntArray, n);
    g.scriptTargets = newObjectArray(cid::IntArray, n);
    g.scriptIds = newShortArray(n);
}

void cameraUpdateUnlocked(jint smooth) {
    const jbyte locked = cg().cameraLocked;
    cg().cameraLocked = 0;
    updateCamera(smooth);
    if (locked) cg().cameraLocked = 1;
}

}  // namespace


// --- loading ------------------------------------------------------------------------

void loadLevelRecords(ByteArray* table) {
    cGameStatics& g = cg();
    g.inputBlock = 0;
    g.queuedScript = -1;
    std::vector<ScriptShape> shape;
    std::string error;
    bool ok = false;
    if (table) {
        ByteView view(reinterpret_cast<const uint8_t*>(table->data()), static_cast<size_t>(table->length()));
        ok = checkScriptTable(view, &shape, &error);
        if (!ok) logPrintf("level scripts: table refused (%s)", error.c_str());
    }
    if (!ok) shape.clear();
    const jint n = static_cast<jint>(shape.size());
    makeTables(n);
    for (jint i = 0; i < n; ++i) {
        const ScriptShape& s = shape[static_cast<size_t>(i)];
        cg().scriptIds->data()[i] = static_cast<jshort>(s.id);
        const jint c = static_cast<jint>(s.records.size());
        ObjectArray* records = newObjectArray(cid::ByteArray, c);
        ObjectArray::set(cg().scriptCommands, i, records);
        IntArray* offsets = newIntArray(c);
        ObjectArray::set(cg().scriptReadOffsets, i, offsets);
        IntArray* targets = newIntArray(c);
        ObjectArray::set(cg().scriptTargets, i, targets);
        for (jint j = 0; j < c; ++j) {
            const ScriptRecordShape& r = s.records[static_cast<size_t>(j)];
            ByteArray* copy = newByteArray(r.length + 2);
            ObjectArray::set(records, j, copy);
            const jbyte* src = table->data() + r.start;  // re-read after the allocation
            for (jint k = 0; k < r.length; ++k) copy->data()[k] = src[k];
            copy->data()[r.length] = static_cast<jbyte>(r.firstKeyframe);
            copy->data()[r.length + 1] = 0;
            targets->data()[j] = r.kind == 2 ? r.target : 0;
            offsets->data()[j] = r.firstKeyframe;
        }
    }
    cg().scriptStates = newShortArray(n);
    resetAllScripts();
}

void clearScripts() {
    cGameStatics& g = cg();
    g.scriptCommands = g.scriptReadOffsets = g.scriptTargets = nullptr;
    g.scriptIds = g.scriptStates = nullptr;
}

jint scriptCount() { return scriptsIn(); }

void resetScriptCounters(jint i) {
    ObjectArray* records = recordsOf(i);
    IntArray* offsets = offsetsOf(i);
    if (!records || !offsets) return;
    for (jint j = 0; j < records->length() && j < offsets->length(); ++j) {
        ByteArray* r = static_cast<ByteArray*>(records->data()[j]);
        if (r && r->length() >= 2) offsets->data()[j] = u8(r, r->length() - 2);
    }
}

void resetAllScripts() {
    cg().scriptBlocked = 0;
    const jint n = scriptsIn();
    for (jint i = 0; i < n; ++i) {
        cg().scriptStates->data()[i] = -1;
        resetScriptCounters(i);
    }
}

void startScript(jint i) {
    if (i >= 0 && i < scriptsIn()) cg().scriptStates->data()[i] = 0;
}

jint findScriptById(jint id) {
    const jint n = scriptsIn();
    for (jint i = 0; i < n; ++i)
        if (cg().scriptIds->data()[i] == id) return i;
    return -1;
}

jint getFirstActiveScript() {
    const jint n = scriptsIn();
    for (jint i = 0; i < n; ++i)
        if (cg().scriptStates->data()[i] >= 0) return cg().scriptStates->data()[i];
    return -1;
}

bool isAnyScriptActive() { return getFirstActiveScript() >= 0; }
bool isScriptRunning() { return cg().scriptBlocked != 1 && isAnyScriptActive(); }

bool isScriptTargetId(jint id) {
    const jint n = scriptsIn();
    for (jint i = 0; i < n; ++i) {
        if (cg().scriptStates->data()[i] < 0) continue;
        IntArray* t = targetsOf(i);
        for (jint j = 0; t && j < t->length(); ++j)
            if (t->data()[j] == id) return true;
    }
    return false;
}

bool isActorScriptTarget(cActor* a) { return a && isScriptTargetId(a->uniqueId); }

void lockCamera(jint mode, jint ms) {
    cg().scriptBlocked = 1;
    cg().scriptWaitMode = mode;
    if (mode == 3) cg().scriptWaitTicks = msToFrames(ms);
}

void pauseScripts() { cg().scriptBlocked = 1; }

void endScriptWait() {
    cg().scriptWaitMode = 9;
    cg().scriptBlocked = 0;
}

void setCameraLockMode(jint mode) {
    cg().scriptWaitMode = mode;
    if (mode == 9) cg().scriptBlocked = 0;
}

jint cameraLockFlag() { return cg().scriptBlocked; }

void releaseScriptWaitIfIdle() {
    if (cg().scriptWaitMode == 9) cg().scriptBlocked = 0;
}

bool resumeBlockedScript() {
    const jint q = cg().queuedScript;
    if (isAnyScriptActive() || q < 0 || q >= scriptsIn()) return false;
    resetScriptCounters(q);
    cg().scriptStates->data()[q] = 0;
    cg().queuedScript = -1;
    return true;
}

void endLevelScript(jint i) {
    if (i >= 0 && i < scriptsIn()) cg().scriptStates->data()[i] = -2;
    if (cg().queuedScript != -1) return;
    cGameStatics& g = cg();
    g.inputBlock &= ~1;
    // The camera snaps back to the hero: the snap runs with the lock
    // released (a locked camera would only be clamped and ease back later).
    if (g.cameraLocked && !cg().scriptKeepsCamera) cameraUpdateUnlocked(0);
    cg().cameraLocked = 0;
    cg().scriptKeepsCamera = 0;
    if (isRegionFlagSet(cg().stage)) cg().variableChangedMask = -1;
    cg().cutsceneSkippable = 0;
    cg().inputBlock = 0;
    if (cg().checkpointAtSceneEnd) {
        setCheckpoint(hero());
        cg().checkpointAtSceneEnd = 0;
    }
}

void endAllLevelScripts() {
    const jint n = scriptsIn();
    for (jint i = 0; i < n; ++i)
        if (cg().scriptStates && cg().scriptStates->data()[i] >= 0) endLevelScript(i);
}

void clearHeroHold() { cg().inputBlock &= ~1; }
void setRestartScriptIndex(jint index) { cg().currentScriptId = index; }

// --- events -----------------------------------------------------------------------------

namespace {

void forcedScroll(jint sx, jint sy) {
    cGameStatics& g = cg();
    g.scrollDelay = -1;
    g.scrollStepX = static_cast<jshort>(sx);
    g.scrollStepY = static_cast<jshort>(sy);
    g.cameraFlags = 74;
    if (cActor* h = hero()) h->flags |= 0x200;
}

}  // namespace

void handleScriptEvent(jint kind, jint a, jint b, jint count) {
    cGameStatics& g = cg();
    if (count == 1) {
        switch (kind) {
        case 0: game::requestLevelEnd(); break;
        case 1: g.panelOffset = 50; break;
        case 2: g.cutsceneSkippable = 0, g.panelOffset = 0; break;
        case 3: game::resetTransition(), cg().scriptKeepsCamera = 1; break;
        case 4: g.cutsceneSkippable = 1; break;
        case 5: g.cutsceneSkippable = 0; break;
        case 6: ca().heroInputLock |= 0x7FFFFFFF; break;
        case 7: ca().heroInputLock &= static_cast<jint>(0x80000000u); break;
        case 8: resetHeroState(); break;
        case 9: cameraUpdateUnlocked(0); break;
        case 10: game::stopHeroForScript(); break;
        case 11: game::requestSetState(30); break;
        case 12: cg().scriptFlagA = 1; break;
        case 13:
            cg().scriptFlagA = 0;
            if (!game::isHeroSubtype(hero()))
                if (cActor* h = hero()) {
                    if (IntArray* v = ca().heroStateVars; v && v->length() > 0) v->data()[0] = 0;
                    hero::setHeroState(h, 32);
                }
            break;
        case 14: cg().scriptFlagB = 1; break;
        case 15: cg().scriptFlagB = 0; break;
        default: break;
        }
    } else if (count == 2) {
        switch (kind) {
        case 0: g.panelOffset = 240; break;
        case 1: game::closeDialog(), cg().panelOffset = 0; break;
        case 2: if (a >= 0 && a < 11) cg().levelVariant = a; break;
        case 3: g.riseScrollStep = static_cast<jshort>(a), g.riseScroll = 1; break;
        case 4: g.riseScroll = 0; break;
        default: break;
        }
    } else if (count == 3) {
        switch (kind) {
        case 0: forcedScroll(a, b); break;
        case 1:
            ca().landingMode = 1;  // cruise after the landing
            if (hero()) game::resetHeroStateAfterLanding();
            forcedScroll(8, 0);
            break;
        case 2: cg().currentScriptId = findScriptById(a); break;
        default: break;
        }
    }
}

// --- global commands ----------------------------------------------------------------------

namespace {

void heroSwitch(jint id, jint carryOver) {
    cActor* old = hero();
    cActor* next = getActorSlotById(id);
    if (!next) {
        logPrintf("script command 119: no character %d; the hero stays", id);
        return;
    }
    const jint state = ca().heroState;
    const jint x = old ? old->posX : 0, y = old ? old->posY : 0;
    const jint anim = old ? old->anim : -1, follow = old ? old->nextAnim : -1;
    const jint hitKind = old ? old->contactFlags : 0;
    IntArray* oldMotion = old ? old->motion : nullptr;
    cg().hero = next;
    if (carryOver == 0) {
        hero::setHeroState(next, state);
    } else {
        hero::resetHero(next, x, y);
        if (oldMotion && next->motion)
            for (jint k = 0; k < oldMotion->length() && k < next->motion->length(); ++k)
                next->motion->data()[k] = oldMotion->data()[k];
        hero::setHeroState(next, state);
        next->setAnimThen(anim, follow, 0);
    }
    next->contactFlags = hitKind;
}

void rectCorners(jint id, jint out[4]) {
    const jint n = findRectIndex(id);
    out[0] = getRectField(n, 0);
    out[1] = getRectField(n, 1);
    out[2] = out[0] + getRectField(n, 2);
    out[3] = out[1] + getRectField(n, 3);
}

}  // namespace

jint execScriptCommand(jint op, ByteArray* rec, jint p, jint frame, jint keyFrame) {
    if (op < 100 || op > 131) return 0;
    const jint length = kScriptCommandLengths[op - 100];
    if (keyFrame != frame || !rec) return length;
    const bool skipping = cg().skipCutscene != 0;
    auto w = [&](jint k) { return s16(rec, p + 2 * k); };
    auto withFlag16 = [](jint f) { return f == 16 ? 0x80010 : f; };
    switch (op) {
    case 100: {
        if (findRectIndex(w(0)) < 0) break;
        jint r[4];
        rectCorners(w(0), r);
        const jint layer = w(1);
        if (layer < 0 || layer > 4) {
            logPrintf("script command 100: layer %d is not a map layer", layer);
            break;
        }
        fillTileRect(layer, -1, r[0], r[1], r[2], r[3]);
        break;
    }
    case 101: game::setLevelObjectFlags(w(0), withFlag16(w(1))); break;
    case 102: if (!skipping) game::openDialog(s32(rec, p + 2), w(0), msToFrames(w(3)), 2); break;
    case 103: cg().levelTimer = w(1) * 16, cg().levelTimerHold = w(0); break;
    case 104: game::clearLevelObjectFlags(w(0), withFlag16(w(1))); break;
    case 105:
        if (cActor* a = getActorById(w(0))) behaviour::activateDropper(a), a->flags |= 0x20000;
        break;
    case 106:
        if (cActor* a = getActorById(w(0))) despawnScriptActor(a), a->flags &= ~0x20000;
        break;
    case 107: cg().queuedScript = findScriptById(w(0)); break;
    case 108: if (!skipping) game::playSound(w(0)); break;
    case 109: game::stopSound(-1), cg().scriptMusic = -1; break;
    case 110: if (cActor* h = hero()) hero::setHeroState(h, w(0)); break;
    case 111: {
        if (findRectIndex(w(0)) < 0) {
            setCameraLimits(0, 0, cg().mapPixelWidth, cg().mapPixelHeight);
            break;
        }
        jint r[4];
        rectCorners(w(0), r);
        setCameraLimits(r[0], r[1], r[2], r[3]);
        break;
    }
    case 112: {
        if (findRectIndex(w(0)) < 0) break;
        jint r[4];
        rectCorners(w(0), r);
        setRegionStateInRect(w(1), r[0], r[1], r[2], r[3]);
        break;
    }
    case 113: if (cActor* a = getActorById(w(0))) game::stunByScript(a, w(1)); break;
    case 115: {
        const jint text = s32(rec, p + 2);
        const bool firstText = cg().firstLevelMode && text == 0x20001;
        if (firstText) cg().panelPosition = 240;  // the shown offset jumps out; the target stays
        else if (!skipping) game::openDialog(text, w(0), msToFrames(w(3)), w(4));
        break;
    }
    case 116: if (!skipping) lockCamera(w(0), w(1)); break;
    case 117:
        if (w(0) != 30000) cg().lookAheadForcedX = w(0);
        if (w(1) != 30000) cg().lookAheadForcedY = w(1);
        break;
    case 118:
        if (w(0) != 0) {
            cg().inputBlock |= 2;
            if (w(0) == 2) lockCamera(2, 0);
        } else {
            cameraUpdateUnlocked(0);
        }
        break;
    case 119: heroSwitch(w(0), w(1)); break;
    case 120:
        if (cActor* a = getActorById(w(0))) {
            if (skipping) {
                // The box is resized from its unscaled size, as the scale tween
                // does: the box as it stands already carries the old scale, and
                // sizing it again by the new one would multiply the two.
                const jint old = a->scale ? a->scale : 100;
                const jint width = java::idiv(java::imul(cActor::getWidth(a), 100), old);
                const jint height = java::idiv(java::imul(cActor::getHeight(a), 100), old);
                a->scale = w(1);
                setBoxSize(a, width, height);
            } else {
                cActor::startScaleTween(a, w(1), w(2));
            }
        }
        break;
    case 121: cg().markedActorId = w(0); break;
    case 122: if (!skipping) cg().clearPending = 1; break;
    case 123:
        // The two scripts the ring of state 37 starts (by the action key).
        ca().ringScriptLow = w(0);
        ca().ringScriptHigh = w(1);
        if (cActor* h = hero()) hero::setHeroState(h, 37);
        break;
    case 124:
        if (!isHeroInvulnerable() && w(0) != 0) game::playSound(29), game::applyHeroDamage(w(0), 53);
        if (!skipping) game::playSound(29);
        break;
    case 125:
        setCheckpoint(hero());
        cg().checkpointTimer = 64;
        break;
    case 126: if (!skipping) cg().shakeTimer = w(0) & 0xFFFF; break;
    case 127: if (cActor* h = hero()) hero::setHeroState(h, 38); break;
    case 128: cg().tileCacheDirty = 1, setLevelPalette(2); break;
    case 129:
        // The show is set up here, not at the next paint, so that a wait for
        // its end that follows at once has rockets to wait on.
        cg().fireworksOn = 1, cg().fireworkPhase = 0;
        spawnFireworks();
        break;
    case 130:
        if (w(0) != 0) {
            ca().runSpeedFactor = 460;
            magician().attachedEffect =
                cActor::spawnEffect(getSpriteById(50, 20), 0, cg().cameraX, cg().cameraY, 2, 8192);
        } else {
            ca().runSpeedFactor = 256;
            if (cActor* held = magician().attachedEffect) held->deactivate();
            magician().attachedEffect = nullptr;
        }
        break;
    case 131: if (cActor* h = hero()) hero::setHeroState(h, 40); break;
    default: break;
    }
    return length;
}

// --- the runner -------------------------------------------------------------------------

namespace {

void serveWait() {
    cGameStatics& g = cg();
    bool done = false;
    switch (g.scriptWaitMode) {
    case 0: done = !game::isDialogActive(); break;
    case 1: done = !game::isPanelSliding(); break;
    case 2:
        done = !isCameraShaking();
        if (done) cg().inputBlock &= ~2;
        break;
    case 3:
        if (g.scriptWaitTicks > 0) --g.scriptWaitTicks;
        done = g.scriptWaitTicks <= 0;
        break;
    case 4: done = true; break;
    case 5:
        done = cg().fireworksAlive <= 0;
        if (done) cg().fireworksOn = 0, cg().fireworkPhase = 0, clearFireworkState();
        break;
    case 6: {
        cActor* h = hero();
        const jint s = ca().heroState;
        done = !h || s == 0 || s == 14 || s == 38 || s == 40;
        if (!done) {
            if (h->motion && h->motion->length() > 2) h->motion->data()[2] /= 2;
            cg().cameraLocked = 0;
        }
        break;
    }
    case 7: done = (ca().heroActionMask & 128) != 0; break;
    default: break;
    }
    if (done) endScriptWait();
}

void runScript(jint i) {
    const jint t = cg().scriptStates->data()[i];
    cg().scriptStates->data()[i] = static_cast<jshort>(t + 1);
    bool finished = true;
    ObjectArray* records = recordsOf(i);
    IntArray* offsets = offsetsOf(i);
    IntArray* targets = targetsOf(i);
    if (!records || !offsets || !targets) return;
    for (jint j = 0; j < records->length(); ++j) {
        ByteArray* rec = static_cast<ByteArray*>(records->data()[j]);
        if (!rec || rec->length() < 2) continue;
        const jint length = rec->length() - 2;
        jint off = offsets->data()[j];
        if (off >= length) continue;
        const jint kind = u8(rec, 0);
        cActor* actor = nullptr;
        if (kind == 1) cg().cameraLocked = 1;
        if (kind == 2) actor = getActorById(targets->data()[j]);
        const jint f = s16(rec, off);
        const jint ops = s8(rec, off + 2);
        jint p = off + 3;
        bool goal = false;
        jint lastOp = -1;
        jint gx = 0, gy = 0;
        auto currentX = [&]() { return actor ? actor->posX : cg().cameraX; };
        auto currentY = [&]() { return actor ? actor->posY : cg().cameraY; };
        for (jint k = 0; k < ops; ++k) {
            const jint op = u8(rec, p++);
            const jint len = scriptOperandBytes(op);
            switch (op) {
            case 11: case 12: case 21: case 31: case 41:
                if (f >= t) {
                    const jint x = s16(rec, p), y = s16(rec, p + 2);
                    const jint add = op == 11;
                    gx = x == -1 ? currentX() : x + 400 * add;
                    gy = y == -1 ? currentY() : y + 240 * add;
                    goal = true;
                }
                break;
            case 13:
                if (f >= t) {
                    const jint k2 = u8(rec, p);
                    IntArray* tg = targets;
                    cActor* other = tg->inBounds(k2) ? getActorById(tg->data()[k2]) : nullptr;
                    if (other) {
                        gx = other->posX + s16(rec, p + 1);
                        gy = other->posY + s16(rec, p + 3);
                        goal = true;
                    }
                }
                break;
            case 22: case 32: case 42:
                if (f <= t && actor) actor->setAnim(s8(rec, p));
                break;
            case 23: case 43: case 24: case 44:
                if (f <= t && actor) {
                    const jint F = u8(rec, p) + 256 * u8(rec, p + 1) + u8(rec, p + 2);
                    const bool left = op == 23 || op == 43;
                    if (F & 1) cActor::setFacing(actor, left ? 1 : 0);
                    else if (F & 0x80) actor->flags = left ? actor->flags & ~0x80 : actor->flags | 0x80;
                }
                break;
            case 34: case 35: case 36:
                if (f == t) {
                    const jint count = op - 33;
                    if (cActor* a = getActorById(s16(rec, p)))
                        a->handleEvent(s16(rec, p + 2), count > 1 ? s16(rec, p + 4) : -1, count > 2 ? s16(rec, p + 6) : -1,
                                       count);
                }
                break;
            case 37: case 38: case 39:
                if (f == t) {
                    const jint count = op - 36;
                    handleScriptEvent(s16(rec, p), count > 1 ? s16(rec, p + 2) : -1, count > 2 ? s16(rec, p + 4) : -1, count);
                }
                break;
            default:
                if (op >= 100 && op <= 131) execScriptCommand(op, rec, p, t, f);
                break;
            }
            p += len < 0 ? 0 : len;
            lastOp = op;
            // A global command may have replaced the tables (a new level).
            if (recordsOf(i) != records) return;
        }
        if (f <= t) offsets->data()[j] = p;
        if (offsets->data()[j] < length) finished = false;
        if (goal && f >= t) {
            const jint d = f - t + 1;
            if (kind == 1) {
                if (!(cg().inputBlock & 2)) {
                    cGameStatics& g = cg();
                    if (lastOp == 13) {
                        g.cameraX = gx;
                        g.cameraY = gy;
                    } else {
                        g.cameraX += (gx - g.cameraX) / d;
                        g.cameraY += (gy - g.cameraY) / d;
                    }
                    // Lower bound first, as the map may be smaller than the view.
                    if (g.cameraX < 400) g.cameraX = 400;
                    if (g.cameraX > g.mapPixelWidth - 400) g.cameraX = g.mapPixelWidth - 400;
                    if (g.cameraY < 240) g.cameraY = 240;
                    if (g.cameraY > g.mapPixelHeight - 240) g.cameraY = g.mapPixelHeight - 240;
                }
            } else if (kind == 2 && actor) {
                const jint dx = (gx - actor->posX) / d, dy = (gy - actor->posY) / d;
                cActor::moveBy(actor, java::ishl(dx, 8), java::ishl(dy, 8));
                cActor::updateScreenBox(actor);
                if (isHero(actor)) {
                    if (dx < 0) cActor::setFacing(actor, 1);
                    if (dx > 0) cActor::setFacing(actor, 0);
                }
            }
        }
    }
    if (finished) endLevelScript(i);
}

}  // namespace

void runLevelScripts() {
    if (cg().inputBlock & 2) cameraUpdateUnlocked(1);
    serveWait();
    if (cg().scriptBlocked == 1) return;
    const jint n = scriptsIn();
    for (jint i = 0; i < n && i < scriptsIn(); ++i)
        if (cg().scriptStates->data()[i] >= 0) runScript(i);
}

}  // namespace game::world
