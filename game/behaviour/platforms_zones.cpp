// The crusher (type 55), which kills a hero it closes on, and the trigger
// zone (type 10), which starts its level script when its condition holds
// with the hero inside and re-arms when the script has ended.
// Trigger params: [2] condition, [3] script index (-1: none, never fires),
// [4] re-arm time in ms, [5] 1 = only while scripts are enabled; facing
// holds whether the hero was inside on the last step.
#include "game/actor/levels.h"
#include "game/actor/levels.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/death.h"
#include "game/behaviour/fields.h"
#include "game/behaviour/platforms.h"
#include "game/behaviour/platforms_util.h"
#include "game/behaviour/states.h"
#include "game/flow/flow_statics.h"
#include "game/flow/input.h"
#include "game/flow/variables.h"
#include "game/world/scripts.h"
#include "runtime/log.h"

namespace game::behaviour {

namespace {

bool touchZoneTouched(jint i) {
    ObjectArray* zones = cg().padZones;
    if (!zones || i < 0 || i >= zones->length()) return false;
    return isTouchInRect(static_cast<IntArray*>(zones->data()[i]));
}

bool pointInBox(cActor* a, jint x, jint y) { return a->box && cActor::boxContains(a->box, x, y); }

bool conditionInside(cActor* a, cActor* hero) {
    const jint state = heroState();
    switch (plat::param(a, 2)) {
    case 0: return true;
    case 2: return (state == 0 || state == 6) && touchZoneTouched(1);
    case 3: return (worldFlags() & 2) != 0;
    case 5: return a->facing == 0;
    case 6: return state == 5;
    case 7: return state == 11;
    case 8: {
        // The tap is used up by the trigger the hero stands in, in its box
        // or not.
        const bool hit = pointInBox(a, cg().tapX, cg().tapY);
        cg().tapX = cg().tapY = -1;
        return hit;
    }
    case 9: {
        jint& x = pickupOriginX();
        jint& y = pickupOriginY();
        const bool hit = pointInBox(a, x, y);
        x = y = -1;
        return hit;
    }
    case 10: return hero->anim == 25 || hero->anim == 26 || hero->anim == 27;
    default: return false;
    }
}

}  // namespace

void updateType55(cActor* a) {
    if (world::isAnyScriptActive()) return;
    cActor* hero = plat::heroActor();
    jint s = a->aiState;
    if (s != 0 && s != 2 && s != 3) {
        a->aiState = s = 2;
        a->timer = 0;
        a->setAnim(0);
        physicsFlags(a) = 4;
    }
    const jint period = plat::param(a, 0);
    if (s == 3) {
        a->timer = java::iadd(a->timer, 1);
        if (a->timer > period) {
            a->setAnimThen(2, 0, false);
            a->aiState = 2;
            a->timer = 0;
            physicsFlags(a) = 4;
        }
        return;
    }
    if (hero && plat::touchesHero(a) && hero->posY > ShortArray::at(a->box, 1) + 20) {
        physicsFlags(hero) &= ~2;
        cActor::stopMotion(hero);
        kill(hero);
    }
    a->timer = java::iadd(a->timer, 1);
    if (a->timer > period) {
        a->setAnimThen(1, 3, false);
        a->aiState = 3;
        a->timer = 0;
        physicsFlags(a) = 0;
    }
}

void updateType10(cActor* a) {
    cActor* hero = plat::heroActor();
    a->flags &= ~0x80;
    if (!hero || !a->box) return;
    const jint script = plat::param(a, 3);
    if (a->aiState == 6) {
        if (!world::isAnyScriptActive()) {
            world::resetScriptCounters(script);
            a->aiState = 2;
        }
        return;
    }
    const bool inside = pointInBox(a, hero->posX, hero->posY - (cActor::getHeight(hero) >> 1));
    bool fire = inside ? conditionInside(a, hero) : (plat::param(a, 2) == 4 && a->facing != 0);
    a->facing = inside ? 1 : 0;
    if (!fire || script < 0) return;
    if (plat::param(a, 5) == 1 && scriptsEnabled() == 0) return;
    if (isHeroDead(cg().heroStatus)) return;
    if (cg().stage == 4 && a->uniqueId == 336) world::endAllLevelScripts();
    if (world::isAnyScriptActive()) return;
    world::startScript(script);
    a->aiState = 6;
    const jint rearm = plat::param(a, 4);
    jint wait = plat::msToSteps(rearm);
    if (wait < 1 && rearm >= 0) return;
    if (rearm < 0) {
        clearLevelObjectFlags(a->uniqueId, 160);
        wait = -1;
    }
    hideForRespawn(a, wait);
}

}  // namespace game::behaviour
