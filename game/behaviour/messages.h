// Actor messages 2-61: the common reactions that behaviour routines ask of
// an actor. Result 63 means handled with nothing to report; any other value
// is the AI state the sender should enter. Unknown numbers do nothing.
#pragma once

#include "runtime/array.h"
#include "runtime/jint.h"

using java::jint;

class cActor;

namespace game::behaviour {

// Message `message` with the source flag word and one parameter.
jint onMessage(cActor* self, jint sourceFlags, jint message, jint parameter);
// Messages 22 and 60: one hit point taken, the subtype's hurt animation
// played, or at the last one the hero's facing taken and the death
// animation played. Result 1 (the dying state) when no hit points are
// left, else 63.
jint onHitBySubtype(cActor* self, jint parameter);
// Writes text n of the string pool to the standard output.
void printPoolText(jint n);

// --- rule programs (rule word: mask << 12 | message << 6 | next state) ------------
constexpr jint ruleMask(jint word) { return static_cast<jint>(static_cast<uint32_t>(word) >> 12) & 0xFFFFF; }
constexpr jint ruleMessage(jint word) { return (word >> 6) & 63; }
constexpr jint ruleNext(jint word) { return word & 63; }
// The rules of `state` in `program` ({word, argument} pairs); null for a
// state outside the program (no rules).
IntArray* ruleRow(ObjectArray* program, jint state);
// Animation of `state` in row `row` of the state-animation table; -1 for a
// row or state the table does not have.
jint stateAnimFor(jint row, jint state);
// Whether every rule of the program names a next state inside it (or 63)
// and every state's rules come in pairs.
bool isRuleProgramValid(ObjectArray* program);
// Checks the 22 loaded programs; a program that fails is dropped (its
// subtypes run no rules) with one log line. Run after the tables load.
void refuseBadRulePrograms();
// The first matching rule and its chain (63 falls through to the pair's
// next state): the next AI state, or -1 when no rule matches.
jint runRules(cActor* self, ObjectArray* program, jint conditions);

}  // namespace game::behaviour
