// Cells of tile blocks taking hits and breaking: the hit rules an actor's
// movement meets (hitTileBlockCell), the neighbour break of the chain, the
// cell break with its falling piece and hidden item, and the type-4
// routine that settles unsupported cells and runs the chain break.
//
// Invariants: a cell outside the block's array holds (no hit, no break);
// a break writes the struck byte (254) for good, the gone byte (253) only
// comes from restoring remembered cells; a hidden item comes out only for
// an index inside the level's item table, a known template and a pool
// with room; the chain state ends after a pass that broke nothing.
#include <algorithm>

#include "game/actor/actor.h"
#include "game/actor/hero.h"
#include "game/actor/levels.h"
#include "game/actor/pool.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_access.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/contact.h"
#include "game/data/statics.h"
#include "game/flow/sound.h"
#include "game/flow/variables.h"
#include "game/actor/levels.h"
#include "game/actor/actor.h"
#include "game/world/hero/state.h"
#include "game/world/map.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "game/behaviour/states.h"
#include "runtime/jint.h"
#include "runtime/log.h"

namespace game::behaviour {

using namespace blk;

namespace {

// The hit that every rule shares: the block's counter falls; above 0 the
// block shows the next damage frame and the cell holds; otherwise the cell
// breaks (before: the caller's extra effect).
template <typename Before>
bool takeHit(cActor* block, jint c, jint r, Before before) {
    hitCount(block) -= 1;
    if (hitCount(block) > 0) {
        block->setAnim(param(block, 1) - hitCount(block));
        return false;
    }
    before();
    breakTileBlockCell(block, c, r, -1);
    return true;
}
bool takeHit(cActor* block, jint c, jint r) {
    return takeHit(block, c, r, [] {});
}

ShortArray* cellBoxInto(ShortArray*& scratch, cActor* block, jint c, jint r) {
    if (len(scratch) < 4) scratch = newShortArray(4);
    const jint w = typeParam(block, 6), h = typeParam(block, 7);
    const jint l = boxAt(block, 0) + java::imul(c, w), t = boxAt(block, 1) + java::imul(r, h);
    cActor::setBox(scratch, l, t, l + w, t + h);
    return scratch;
}

void heroBreaksThrough() {
    cActor* h = hero();
    if (!h) return;
    contactFlags(h) |= 1;
    h->flags |= 64;
}

// breakNeighbourCell with its answer: whether a cell broke.
bool breakNeighbour(cActor* block, jint c, jint r) {
    if (c < 0 || c >= param(block, 3) || r < 0 || r >= param(block, 4)) return false;
    if (tileBlockCell(block, c, r) != kCellIntact) return false;
    breakTileBlockCell(block, c, r, (param(block, 0) & 8) ? 15 : -1);
    return true;
}

// One count-down step of the break sound's delay per logic frame, however
// many blocks run.
void tickBreakSoundDelay() {
    BlocksStatics& s = blks();
    if (s.breakSoundFrame == cg().playFrames + 1) return;
    s.breakSoundFrame = cg().playFrames + 1;
    if (breakSoundDelay() > 0) breakSoundDelay() -= 1;
}

}  // namespace

// --- hit rules -------------------------------------------------------------------

bool hitTileBlockCell(cActor* block, cActor* actor, jint column, jint row) {
    if (!block || !actor || !hasBox(block) || !block->tileBlock) return false;
    const jint w = typeParam(block, 6), h = typeParam(block, 7);
    if (w < 1 || h < 1) return false;
    const jint c = java::idiv(java::imul(column, 36) - boxAt(block, 0), w);
    const jint r = java::idiv(java::imul(row, 36) - boxAt(block, 1), h);
    const jint cell = tileBlockCell(block, c, r);
    if (cell == kNoCell) return false;  // outside the block: holds
    if (cell == kCellGone) return true;
    const jint rules = param(block, 0);
    cActor* hr = hero();
    const jint state = ca().heroState;
    if (actor == hr) {
        if ((rules & 1) && heroMayTouchBlock()) {
            ShortArray* cellBox = cellBoxInto(scratchBox(), block, c, r);
            if (isBoxUnderHeroSweep(cellBox)) return false;
            if (hr->posY <= java::ishr(cellBox->data()[1] + cellBox->data()[3], 1)) return false;
            return takeHit(block, c, r, [&] {
                if (state == HeroState::DASH) heroBreaksThrough();
            });
        }
        if ((rules & 2) && isHeroBelowBlockCell(block, c, r)) return takeHit(block, c, r);
        if ((rules & 4) && actor->type == 0 && state == HeroState::STOMP)
            return takeHit(block, c, r, [&] { struckBlockId() = block->uniqueId; });
        if ((rules & 16) && state == HeroState::POWER_RUN && !powerRunAirborne()) {
            ShortArray* cellBox = cellBoxInto(scratchBox(), block, c, r);
            if (isBoxUnderHeroSweep(cellBox)) return false;
            return takeHit(block, c, r, heroBreaksThrough);
        }
        if ((rules & 32) && isHeroBelowBlockCell(block, c, r) && state == HeroState::POWER_RUN)
            return takeHit(block, c, r);
    }
    switch (actor->subtype) {
    case 13:
    case 14:
    case 112: return actor->aiState == 5 && (rules & 8) ? takeHit(block, c, r) : false;
    case 92:
    case 147:
    case 199: return takeHit(block, c, r);
    case 20: return block->anim == 4 ? takeHit(block, c, r) : false;
    case 32:
    case 33:
        breakNeighbourCell(block, c, r);
        block->flags |= 0xA0000;
        block->aiState = 6;
        breakActor(actor);
        return false;
    default: return false;
    }
}

void breakNeighbourCell(cActor* block, jint column, jint row) { breakNeighbour(block, column, row); }

// --- the cell break -------------------------------------------------------------

void breakTileBlockCell(cActor* a, jint column, jint row, jint debrisAnim) {
    if (!a || !hasBox(a)) return;
    if (tileBlockCell(a, column, row) == kNoCell) return;
    if (breakSoundDelay() < 1) {
        playSound(16);
        breakSoundDelay() = 6;
    }
    const jint w = typeParam(a, 6), h = typeParam(a, 7);
    const jint x0 = boxAt(a, 0) + java::imul(w, column), y0 = boxAt(a, 1) + java::imul(h, row);
    const jint cx = x0 + java::ishr(w, 1), bottom = y0 + h;
    const jint pieceLayer = typeParam(a, 11);

    cActor* piece = cActor::obtainEffect();
    if (piece) {
        piece->sprite = a->sprite;
        piece->flags &= ~0x800;
        piece->setAnim(param(a, 1));
        piece->scale = 100;
        piece->posX = cx;
        piece->posY = bottom;
        piece->layer = pieceLayer;
        piece->paintFlags = 0x2000;
        contactFlags(piece) = 0;
        timer(piece) = -1;
        piece->angle = 0;
        effectParam(piece) = typeParam(a, 4) & 0xFF;
        if (a->flags & static_cast<jint>(0x80000000u)) {
            piece->flags |= static_cast<jint>(0x80000000u);
            piece->paintFlags |= 0x80000;
        }
        if (a->flags & 0x2000) piece->flags |= 0x2000;
    }
    a->releaseChild();
    if (debrisAnim >= 0 && piece && !isInertEffect(piece))
        cActor::spawnChild(piece, getSpriteById(8, 18), debrisAnim, 0, cx, bottom, pieceLayer, 0x2000);
    world::fillTileRect(4, typeParam(a, 12), x0, y0, x0 + w, bottom);

    const jint old = tileBlockCell(a, column, row);
    setTileBlockCell(a, column, row, kCellStruck);

    if (old >= 0 && old < ca().itemCount && game::isRecordAvailable(cg().tileAttributes, old, -1)) {
        const jint kind = getItemField(old, 3), sub = getItemField(old, 4);
        if (kind == 2 && sub != 4) lastRevealedItem() = getItemField(old, 5);
        cActor* item = spawnFromTemplate(kind, cx, bottom);
        if (!item) {
            logPrintf("Tile block %d: item %d of template %d not made", a->uniqueId, old, kind);
        } else {
            item->recordIndex = (old & 0xFFFFFF) | 0x2000000;
            startTumble(item, sub);
            if (kind == 2 && sub == 4) {
                setParamSafe(item, 1, 4);
                setParamSafe(item, 2, getItemField(old, 5));
                if (BSprite* sp = getSpriteByNumber(param(item, 2))) item->sprite = sp;
                item->setAnim(getItemField(old, 8));
            } else if (kind == 2 && sub == 8) {
                setParamSafe(item, 1, 8);
                item->scale = 150;
            } else if (kind == 7) {
                setParamSafe(item, 1, sub);
                setParamSafe(item, 0, getItemField(old, 6));
                setParamSafe(item, 2, getItemField(old, 7));
            } else if (kind == 8) {
                cActor::spawnEffect(item->sprite, getItemField(old, 8), cx, bottom, item->getTypeParam(11), 0x2000);
            }
        }
    } else if (old >= 0) {
        logPrintf("Tile block %d: hidden item %d not released", a->uniqueId, old);
    }
    const jint script = param(a, 9);
    if (a->params && a->params->length() > 9 && script >= 0) {
        const jint i = world::findScriptById(script);
        if (i >= 0) {
            world::resetScriptCounters(i);
            world::startScript(i);
        }
    }
}

// --- the type-4 routine ----------------------------------------------------------

void updateType4(cActor* a) {
    if (!a) return;
    tickBreakSoundDelay();
    switch (a->aiState) {
    case 0:
        a->aiState = 2;
        if (a->subtype == 181) hitCount(a) = param(a, 8);
        break;
    case 2: {
        const jint cols = std::min(param(a, 3), tileBlockColumns(a));
        const jint rows = param(a, 4);
        if (cols < 1) break;
        const jint w = typeParam(a, 6), h = typeParam(a, 7);
        cActor* hr = hero();
        for (jint c = 0; c < cols; ++c) {
            for (jint r = 0; r + 1 < rows; ++r) {
                if (tileBlockCell(a, c, r) != kCellIntact || tileBlockCell(a, c, r + 1) != kCellStruck) continue;
                ShortArray* cell = cellBoxInto(scratchBox(), a, c, r);
                if (hasBox(hr) && (cActor::isBelowOverlapping(hr->box, cell) || cActor::rectsIntersect(hr->box, cell)))
                    continue;
                const jint x = cell->data()[0], y = cell->data()[1];
                setTileBlockCell(a, c, r, kCellStruck);
                a->releaseChild();  // its contact bits go to the collected mask
                world::fillTileRect(4, typeParam(a, 12), x, y, x + w, y + h);
                if (cActor* falling = spawnFromTemplate(11, x + w / 2, y + h)) addActiveActor(falling);
            }
        }
        break;
    }
    case 6: {
        const jint cols = std::min(param(a, 3), tileBlockColumns(a));
        bool broke = false;
        if (cols >= 1) {
            const jint rows = param(a, 4);
            for (jint c = 0; c < cols; ++c)
                for (jint r = 0; r < rows; ++r) {
                    if (tileBlockCell(a, c, r) != kCellGone) continue;
                    broke |= breakNeighbour(a, c + 1, r);
                    broke |= breakNeighbour(a, c - 1, r);
                    broke |= breakNeighbour(a, c, r + 1);
                    broke |= breakNeighbour(a, c, r - 1);
                }
        }
        if (!broke) {
            a->aiState = 2;
            a->flags &= ~0xA0000;
        }
        break;
    }
    default: break;
    }
}

}  // namespace game::behaviour
