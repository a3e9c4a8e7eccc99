// The enemy family: the common enemy AI's states and its entries beside
// updateEnemy (routines.h), and the rule-driven enemy's program look-ups.
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

class cActor;

namespace game::behaviour {

// The common enemy AI's states (cActor.aiState of its 27 types).
enum EnemyAiState : jint {
    kEnemySetup = 0,
    kEnemyLeave = 1,
    kEnemyIdle = 2,
    kEnemyApproach = 3,
    kEnemyFleeUp = 5,
    kEnemyActive = 6,
    kEnemyDefeated = 11,
};

// The 27 types that run updateEnemy.
inline constexpr jint kCommonEnemyTypes[] = {14, 15, 16, 18, 26, 34, 35, 36, 51, 54, 60, 69, 70, 73,
                                             82, 84, 85, 86, 90, 95, 96, 100, 104, 105, 106, 107, 108};

// DEFEATED (or LEAVE with pushHero and animation 1), the tile owner told,
// the hero pushed when pushHero is set.
void defeatEnemy(cActor* self, jint pushHero);
// SETUP applied first when still pending, then ACTIVE and an acceleration
// toward (x, y); false only without an actor.
bool launchEnemyToward(cActor* self, jint x, jint y, jint accel, jint maxSpeed);

// The rule program and animation row of a type-6 actor's subtype; a null
// program and row -1 for a subtype without one.
struct RuleSelection {
    ObjectArray* program = nullptr;
    jint row = -1;
};
RuleSelection selectRules(cActor* self);
// The state animation of a row, -1 when the row or the entry is missing.
jint stateAnimation(jint row, jint state);
// The rules themselves run through runRules (messages.h).

}  // namespace game::behaviour
