// The behaviour library behind the core's BehaviourHooks: per-type update
// and paint through the type table, every other hook forwarded to its
// routine (routines.h), the hero's steering to the hero library.
#include "game/actor/actor.h"
#include "game/actor/defaults.h"
#include "game/actor/tables.h"
#include "game/behaviour/behaviour.h"
#include "game/behaviour/messages.h"
#include "game/behaviour/routines.h"
#include "game/behaviour/types.h"
#include "game/data/hooks.h"
#include "game/world/hero/machine.h"

namespace game::behaviour {

namespace {

class Hooks final : public ActorBehaviourDefaults {
public:
    bool updateType(jint type, cActor* a) override {
        UpdateFn fn = updateFor(type);
        if (!fn || !a) return false;
        fn(a);
        return true;
    }
    bool paintType(jint type, cActor* a, jint dx, jint dy) override {
        PaintFn fn = paintFor(type);
        if (!fn || !a) return false;
        fn(a, dx, dy);
        return true;
    }
    void updateHero(cActor* h) override { hero::updateHero(h); }
    void applyRunSpeed(cActor* h) override { hero::applyRunSpeed(h); }
    bool canEnterState16(cActor* h) override { return hero::canEnterState16(h); }
    void steerHero(cActor* h, bool active) override { hero::steerHero(h, active); }
    bool steerHeroFacing(cActor* h, jint lo, jint hi, jint mode) override {
        return hero::steerHeroFacing(h, lo, hi, mode != 0);
    }

    void initFromLevelData(cActor* a, ShortArray* t, jint length, jint offset) override {
        behaviour::initFromLevelData(a, t, length, offset);
    }
    jint applyPendingHits(cActor* a, bool push) override { return behaviour::applyPendingHits(a, push); }
    void classifyHeroContact(cActor* a) override { behaviour::classifyHeroContact(a); }
    void knockbackWeak(cActor* h, jint d) override { behaviour::knockbackWeak(h, d); }
    void kill(cActor* a) override { behaviour::kill(a); }
    jint onMessage(cActor* a, jint bits, jint test, jint arg) override {
        return behaviour::onMessage(a, bits, test, arg);
    }
    void respawn(cActor* a) override { behaviour::respawn(a); }
    void freezeForScript(cActor* a) override { behaviour::freezeForScript(a); }
    void enterPhase47(cActor* a) override { behaviour::enterPhase47(a); }
    void enterPhase51(cActor* a, jint flag) override { behaviour::enterPhase51(a, flag); }

    jint addTrackedValue(jint v) override { return behaviour::addTrackedValue(v); }
    void restoreTrackedCells(cActor* a) override { behaviour::restoreTrackedCells(a); }
    void saveTrackedCells(cActor* a) override { behaviour::saveTrackedCells(a); }
    void stampCollisionTiles(cActor* a, jint on) override { behaviour::stampCollisionTiles(a, on); }
    bool tryCarryHero(cActor* c) override { return behaviour::tryCarryHero(c); }
    void launchRandomly(cActor* a) override { behaviour::launchRandomly(a); }
    IntArray* pointOnSegment(jint slot, jint x, jint y) override { return behaviour::pointOnSegment(slot, x, y); }
    void updateSegmentObjects() override { behaviour::updateSegmentObjects(); }

    void updateEnemy(cActor* a) override { behaviour::updateEnemy(a); }
    void updateType6(cActor* a) override { behaviour::updateType6(a); }

    void driveHeroType61(cActor* a) override { behaviour::driveHeroType61(a); }
    void driveHeroType75(cActor* a) override { behaviour::driveHeroType75(a); }
    void launchHeroType64(cActor* a) override { behaviour::launchHeroType64(a); }
};

Hooks g_hooks;

}  // namespace

void installBehaviours() {
    registerAllTypes();
    // Programs are checked whenever tables load, and now when they already have.
    setActorTablesCheck(&refuseBadRulePrograms);
    if (StaticClass::instance() && actorTablesLoaded()) refuseBadRulePrograms();
    setBehaviourHooks(&g_hooks);
    installBehaviourSeams();
}

void uninstallBehaviours() {
    static ActorBehaviourDefaults defaults;
    setBehaviourHooks(&defaults);
    setActorTablesCheck(nullptr);
    uninstallBehaviourSeams();
}

}  // namespace game::behaviour
