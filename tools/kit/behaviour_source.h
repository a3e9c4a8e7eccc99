// Readable source of the behaviour data in the actor tables file: subtype
// rows with their entries by name, rule programs one rule a line, and the
// state-animation rows. The source is applied onto a tables model and the
// result checked as the game checks it (a next state outside its program
// refuses the program), so a source that passes gives tables the game
// takes whole.
//
//   # comment
//   row 41: type 6 width 40 height 48 flags 0xA0 layer 10
//   program 7 states 12
//   state 3: mask 0x2 msg 28 arg 0 -> 63
//   state 3: mask 0x1 msg 0 arg 0 -> 4
//   anims 2: -1 -1 0 1 1 -1 -1 1 -1 -1 -1 -1 -1 -1
//
// A rule packs into its word as mask << 12 | msg << 6 | next (mask 0..0xFFFFF,
// msg 0..63, next 0..63 with 63 = fall through); its argument follows it.
// "program n states k" starts program n (1..22) afresh with k (10..12)
// empty states. Row entries: marginX marginY spritePack spriteIndex param4
// type width height flags layer param10 param11 param12 param13 (a row grows
// to the entry named, at most 14, with zeros).
#pragma once

#include "tools/kit/actortables.h"

#include <string>
#include <vector>

namespace kit {

int32_t packRule(int32_t mask, int32_t message, int32_t next);
// Applies the source onto tables; throws KitError "line N: ..." for a bad line
// or a program that names a next state outside its states.
void applyBehaviourSource(ActorTables& tables, const std::string& source);
// The demo tables with the source applied.
ActorTables actorTablesFromSource(const std::string& source);
// The game's program rule: each state's rules in pairs, every next state 63 or
// inside the program. Throws KitError naming program, state and rule.
void checkRulePrograms(const ActorTables& tables);
// The programs and animation rows of tables as source (rows are not written).
std::string writeBehaviourSource(const ActorTables& tables);
// Sources that must be refused: unknown entry, bad number, next state outside
// the program, state outside the program, message 64, program 23, 9 states,
// an animation row of 13, a rule before any program.
std::vector<std::string> damagedBehaviourSources();

}  // namespace kit
