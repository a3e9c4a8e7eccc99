// The progress record: one 265-byte buffer (cGame.progress) kept in memory
// for the run and saved whole as record 1 of the store named by pool entry
// 108. Three 62-byte slots, one per difficulty (1-3), option bytes in the
// head of slot 1, global progress after the slots. Numbers big-endian.
//
// Slot n starts at (n - 1) x 62: byte 4 variable 0, 5 variable 9, 6
// variable 5, 7 and 10 for the menus, 8-9 variable 1, then eleven stage
// records of five bytes at 12 + 5s (s = 0-10; the best score in their first
// four bytes; stage 10's lies in the next slot's unused head, or at
// 186-189). Byte 191 is the difficulty of the last game (1-3), 192 the slot
// bits, 193 the completed flag, 194 the progress bits, 198 the flag bits.
//
// Invariants: the buffer is never shorter than 265 bytes; a stored record
// over 265 bytes keeps its first 265 (never a reset); a save that fails
// leaves the store as it was and the buffer as the truth; the running
// game's slot is its difficulty, and any other slot reads and writes
// nothing (logged); a fresh record that cannot be saved is used from memory
// after one retry.
#pragma once

#include "runtime/array.h"

namespace game {

constexpr jint kSlotBytes = 62;
constexpr jint kStageRecords = 11;
constexpr jint kByteLastDifficulty = 191;

void resetProgress(bool full);
// A stored record as the buffer: its first 265 bytes (logged when longer),
// the rest zero when shorter; a null record gives a zeroed buffer.
void adoptProgressRecord(ByteArray* stored);
void loadProgress();
void saveProgress();
void applyProgressSettings();
void saveOptions();
void saveVibrationOption();
void saveLevelResult();
void loadLevelVariables();
void resetLevelRecord(jint n);
void resetCurrentLevelState();
jint readSaveInt(jint offset);
void writeSaveInt(jint offset, jint value);
void setSaveSlotShort(jint value, jint n);
// The best score of stage s (0-10) in slot n (1-3); 0 for any other.
jint getSaveSlotField(jint s, jint n);
void setSaveSlotField(jint s, jint n, jint value);
// Byte 191 as a slot number: 2 when it holds anything but 1-3.
jint lastDifficulty();
// The running game's slot (cGame.saveSlot = cGame.difficulty); 0 (logged)
// when the difficulty is no slot.
jint currentSaveSlot();

// Showcase.ensureRecordStore: the screen's display flags set and the store
// named by pool entry 52 made to exist; nothing read or written.
void ensureShowcaseRecordStore();

}  // namespace game
