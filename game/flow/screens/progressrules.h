// The rules the menu screens read from the progress record: which stages
// a difficulty may start, the unlock requests of the main menu's key
// sequences, the difficulty a continued game plays. Difficulties are 1-3
// and select the 62-byte slot at (difficulty - 1) x 62; a difficulty read
// from the record outside 1-3 becomes 2 (logged) before it selects one.
#pragma once

#include "runtime/array.h"

namespace game {

constexpr jint kStages = 11;
constexpr jint kStageMaskByte = 198;
// Bytes 8-9 of a slot reach this value when every stage before the last
// is done.
constexpr jint kAllStagesDone = 1023;

// The difficulty as a slot number: the value itself when 1-3, else 2
// (logged with what).
jint checkedDifficulty(jint difficulty, const char* what);
// The difficulty of the last game (byte 191), checked.
jint storedDifficulty();
// Progress byte i (0 when out of the record).
jint progressByte(jint i);
void setProgressByte(jint i, jint v);
// Bit of the difficulty in stage's mask byte (setLevelFlag / its test).
void setStageOpen(jint stage, jint difficulty);
bool isStageOpen(jint stage, jint difficulty);
// The stage menu's rows available for the difficulty: row r is open when
// its mask byte has the difficulty's bit; the last only when bytes 8-9 of
// the slot hold 1023.
bool isStageRowAvailable(jint row, jint difficulty);
// Marks the rows of an expanded stage menu selectable or greyed.
void applyStageAvailability(ObjectArray* stageMenu, jint difficulty);
// Unlock request bit 8 (every stage for the last difficulty played) and
// bit 16 (every stage for every difficulty); both save the record.
void unlockAllStagesForLastDifficulty();
void unlockEverything();
// Stage of the slot's current-stage byte (10), clamped to 10 when stored.
void setCurrentStage(jint difficulty, jint stage);
jint currentStage(jint difficulty);

}  // namespace game
