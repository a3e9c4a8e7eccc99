// The companion-throwing boss (type 94) and its companion (type 111): the
// boss throws companions that walk in from the arena's right limit; fast
// throws only hurt, catchable ones can be thrown back by the hero and are
// rallied by the boss stageReturns[stage] - 1 times before one reaches its
// body and costs a hit point. For both types facing 1 moves toward smaller x.
//
// Invariants: the hero's input lock is applied again on every step the boss
// runs; the stage only rises, one step at a time; stage tables are read
// inside their bounds (a missing entry reads 0); a companion spawn that
// yields nothing leaves linked[0] empty and the boss waits for the next try.
#include "game/behaviour/bosses.h"
#include "game/behaviour/bosses_local.h"
#include "game/behaviour/hazards.h"

namespace game::behaviour {

using namespace bossutil;

namespace {

jint stageValue(IntArray* table, jint stage) {
    return table && stage >= 0 && stage < table->length() ? table->data()[stage] : 0;
}

jint towardFacing(cActor* a, jint v) { return a->facing == 1 ? -v : v; }

// Launch of a thrown or caught companion.
void launchCompanion(cActor* c, jint dx, jint dy, jint speed, jint nextState) {
    cActor::moveBy(c, towardFacing(c, dx), dy);
    limitsX(c, -speed, speed);
    setVx(c, towardFacing(c, speed));
    c->setAnim(110);
    c->aiState = nextState;
    playSound(24);
}

}  // namespace

void updateType94(cActor* self) {
    cActor* h = hero();
    if (world::isScriptTargetId(self->uniqueId)) return;
    self->setAttackBox(param(self, 3), param(self, 4), param(self, 1), param(self, 2));
    timer(self) -= 1;
    heroInputLock() |= 0x7FF7FF7B;
    switch (self->aiState) {
    case 0:
        targetActor() = self;
        physicsFlags(self) = 0x1000006;
        bossStage(self) = 0;
        cActor::setFacing(self, h && self->posX > h->posX ? 1 : 0);
        self->flags |= 2;
        if (h) h->flags |= 2;
        timer(self) = 48;
        counter(self) = 0;
        counterLimit(self) = 0;
        setLinkedAt(self, 0, nullptr);
        setLinkedAt(self, 1, nullptr);
        self->aiState = 45;
        break;
    case 45: {
        self->setAnim(103);
        if (cActor* back = linkedAt(self, 1)) {
            counterLimit(self) -= 1;
            if (counterLimit(self) > 0) {
                timer(back) += 1;
                enterGrabPhase(self, back, 0);
            }
            setLinkedAt(self, 1, nullptr);
        }
        if (self->aiState != 45 || timer(self) > 0) break;
        if (!linkedAt(self, 0)) spawnCompanionRight(self);
        cActor* c = linkedAt(self, 0);
        if (timer(self) <= 0 && c && c->aiState == 45) {
            if (counter(self) > 0) {
                enterGrabPhase(self, c, 1);
                counter(self) -= 1;
            } else {
                enterGrabPhase(self, c, 0);
            }
            setLinkedAt(self, 0, nullptr);
            counterLimit(self) = stageValue(stageReturns(self), bossStage(self));
        }
        break;
    }
    case 47:
        if (self->isAnimDone()) self->aiState = 45;
        break;
    case 46:
        self->setAnim(104);
        if (self->isAnimDone()) {
            self->aiState = 45;
            counter(self) = stageValue(stageFastThrows(self), bossStage(self));
            jint hp = part(self, 2);
            if (bossStage(self) == 0 && hp <= 3) bossStage(self) = 1;
            else if (bossStage(self) < 2 && hp <= 1) bossStage(self) = 2;
        }
        break;
    case 1:
        if (self->anim != 105 || !self->isAnimDone()) {
            self->setAnim(105);
            break;
        }
        self->setAnim(106);
        self->aiState = 30;
        startDefeatScript(param(self, 5));
        break;
    default: break;
    }
}

void updateType111(cActor* self) {
    cActor* h = hero();
    const jint s = java::imul(timer(self) + 2, 1024);
    switch (self->aiState) {
    case 0:
        limitsX(self, -2048, 2048);
        setVx(self, towardFacing(self, 2048));
        self->aiState = 46;
        break;
    case 46: {
        self->setAnim(111);
        cActor* t = targetActor();
        if (t && self->posX <= t->posX) {
            limitsX(self, 0, 0);
            setVx(self, 0);
            self->aiState = 45;
        }
        break;
    }
    case 45: self->setAnim(112); break;
    case 47:
        self->setAnim(113);
        if (self->isAnimDone()) launchCompanion(self, 7680 - s, -9728, s, 49);
        break;
    case 51:
        self->setAnim(113);
        if (self->isAnimDone()) {
            launchCompanion(self, 3584, -9728, 4096, 52);
            limitsY(self, 0, 2560);
            setVy(self, 2560);
            setAy(self, -563);
        }
        break;
    case 49:
    case 52:
        self->setAnim(110);
        if (leaveCameraLimits(self)) break;
        if (!h) break;
        if (heroAttackMeets(self) && partnerMode() > 8) {
            partnerMode() = 8;
            partnerActor() = self;
        }
        if (bodyMeetsHero(self)) {
            if (knockbackHero(h, self, 1, 0)) {
                knockback(h, h->posX > self->posX ? 1 : -1, 9, 1536, 4352, 0, 512);
                playSound(29);
            }
            launchUp(self);
        }
        break;
    case 48:
        self->setAnim(114);
        if (!self->isAnimDone()) {
            if (h) {
                setAnimAndSkip(h, 97, self->animTicks);
                h->nextAnim = 0;
            }
            break;
        }
        launchCompanion(self, s + 7680, -15360, s, 50);
        break;
    case 50: {
        self->setAnim(110);
        if (leaveCameraLimits(self)) break;
        cActor* t = targetActor();
        if (!t) break;
        if (boxesMeet(t->attackBox, self->box)) setLinkedAt(t, 1, self);
        if (boxesMeet(self->box, t->box)) {
            if (t->decrementPartsCounter(1)) {
                t->aiState = 1;
                playSound(16);
            } else {
                t->aiState = 46;
                playSound(32);
            }
            launchUp(self);
        }
        break;
    }
    case 1:
        self->setAnim(109);
        leaveCameraLimits(self);
        break;
    default: break;
    }
}

}  // namespace game::behaviour
