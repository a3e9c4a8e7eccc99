// Game variables (the bounded cGame.heroStatus table, 0-9, with its changed
// mask), the counter and damage routines, display values, object state
// nibbles, sprite references, tween slots and the progress record's
// per-difficulty bytes and flag bits.
//
// Invariants: a variable index outside 0-9 and a slot outside 1-3 are
// refused with one log line (reads answer 0); record accesses never leave
// the 265-byte record.
#pragma once

#include "runtime/array.h"

class BSprite;

namespace game {

constexpr jint kVariables = 10;

jint getVariable(jint i);
// Stores a bounded game variable; a changed value marks its bit in the
// changed-variables mask (which the side panel reads too).
void setVariable(jint i, jint value, bool notify);
bool isVariableChanged(jint i);
void decrementVariable6();
void onCounterEvent(jint kind);
jint scaleByLevel(jint v, bool add);
// Energy down by amount (scaled by difficulty); the hero's hit kind is
// stored in its state timer.
void applyHeroDamage(jint amount, jint hitKind);
void clearHeroHit();
void initLevelVariables();

void setDisplayValue(bool first, jint value);
void setDisplayValues(jint a, jint b);
void setDisplayIds(jint a, jint b);

void latchPlayFrames();
void unlatchPlayFrames();
void clearLayerBits();
void setLayerBit(jint bit, jint i);
void setMapCell(jint layer, jint value, jint index);

// Sprite references: cGame.spriteIndex[group][i]; low 16 bits index
// cGame.sprites. Null (logged) when the group, entry or sprite is missing.
BSprite* getSpriteById(jint i, jint group);
jint getSpriteRefLow(jint i, jint group);
jint getSpriteRefHigh(jint i, jint group);

bool isRecordAvailable(ByteArray* states, jint i, jint levelMask);
void copyLowNibbleToHigh(ByteArray* states, jint n);
void copyHighNibbleToLow(ByteArray* states, jint n);
jint findFreeTweenSlot();
// Operand length of a level-script command (100-131); -1 (logged) outside.
jint getScriptOperandLength(jint command);
void fillInts(IntArray* a, jint v);
void setAlphaAll(IntArray* a, jint alpha);
inline jint twice(jint x) { return static_cast<jint>(static_cast<uint32_t>(x) * 2u); }
jint mod3From34(jint x);

// The x scroll of parallax layer i minus 400 (the camera's for others).
jint getLayerViewLeft(jint i);
void clearMapLayers();
void clearTileAttributes();
void setPortraitActorId(jint v);
// Leaves play for the pause menu (state 20): music noted and stopped, the
// touch list reset, the deferred set requested.
void pauseGame();

// Progress record: slot n (1-3, the difficulty) bytes.
jint slotOffset(jint n);
jint getSaveSlotByte(jint n);
void setSaveSlotByte(jint n, jint v);
jint getSlotByte5(jint n);
void setSlotByte5(jint n, jint v);
jint getSlotByte6(jint n);
void setSlotByte6(jint n, jint v);
jint getSlotByte7(jint n);
void setSlotByte7(jint n, jint v);
jint getSlotByte10(jint n);
void setSlotByte10(jint n, jint v);
jint getSlotU16(jint n);
jint getSelector();
void setSelector(jint v);
void setRecordFlag(jint bit);
void clearRecordFlag(jint bit);
bool testRecordFlag(jint bit);
bool testLevelFlag(jint i, jint bit);
void setLevelFlag(jint i, jint bit);
jint findHighestFlaggedLevel();
bool hasProgress();
void computeSlotTotal();

}  // namespace game
