// Progress-record rules of the menu screens (progressrules.h).
#include "game/flow/screens/progressrules.h"

#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/flow/screens/menus.h"
#include "runtime/log.h"

namespace game {

namespace {
constexpr jint kFirstStageRow = 0x10022;
constexpr jint kSlotStageByte = 10;
constexpr jint kSlotDoneShort = 8;

jint slotBase(jint difficulty) { return (difficulty - 1) * kSlotBytes; }
}  // namespace

jint checkedDifficulty(jint difficulty, const char* what) {
    if (difficulty >= 1 && difficulty <= 3) return difficulty;
    logPrintf("%s: difficulty %d outside 1-3, 2 used", what, difficulty);
    return 2;
}

jint storedDifficulty() { return checkedDifficulty(progressByte(kByteLastDifficulty), "progress byte 191"); }

jint progressByte(jint i) {
    ByteArray* p = cg().progress;
    return p && i >= 0 && i < p->length() && i < kProgressBytes ? static_cast<uint8_t>(p->data()[i]) : 0;
}

void setProgressByte(jint i, jint v) {
    ByteArray* p = cg().progress;
    if (p && i >= 0 && i < p->length() && i < kProgressBytes) p->data()[i] = static_cast<jbyte>(v);
}

void setStageOpen(jint stage, jint difficulty) {
    if (stage < 0 || stage >= kStages) return;
    difficulty = checkedDifficulty(difficulty, "stage unlock");
    setProgressByte(kStageMaskByte + stage, progressByte(kStageMaskByte + stage) | (1 << difficulty));
}

bool isStageOpen(jint stage, jint difficulty) {
    if (stage < 0 || stage >= kStages) return false;
    return (progressByte(kStageMaskByte + stage) & (1 << checkedDifficulty(difficulty, "stage test"))) != 0;
}

bool isStageRowAvailable(jint row, jint difficulty) {
    difficulty = checkedDifficulty(difficulty, "stage menu");
    if (!isStageOpen(row, difficulty)) return false;
    if (row != kStages - 1) return true;
    const jint base = slotBase(difficulty) + kSlotDoneShort;
    return (progressByte(base) << 8 | progressByte(base + 1)) == kAllStagesDone;
}

void applyStageAvailability(ObjectArray* stageMenu, jint difficulty) {
    for (jint row = 0; row < kStages; ++row) {
        IntArray* e = menuEntryInts(stageMenu, 4 + row);
        if (!e || e->length() <= kEntrySelectable || e->data()[kEntryId] != kFirstStageRow + row) continue;
        e->data()[kEntrySelectable] = isStageRowAvailable(row, difficulty) ? 1 : 0;
    }
}

void setCurrentStage(jint difficulty, jint stage) {
    difficulty = checkedDifficulty(difficulty, "current stage");
    setProgressByte(slotBase(difficulty) + kSlotStageByte, stage > 10 ? 10 : stage);
}

jint currentStage(jint difficulty) {
    return progressByte(slotBase(checkedDifficulty(difficulty, "current stage")) + kSlotStageByte);
}

void unlockAllStagesForLastDifficulty() {
    const jint d = storedDifficulty();
    for (jint s = 0; s < kStages; ++s) setStageOpen(s, d);
    setCurrentStage(d, 10);
    saveProgress();
}

void unlockEverything() {
    for (jint s = 0; s < kStages; ++s) setProgressByte(kStageMaskByte + s, progressByte(kStageMaskByte + s) | 2 | 4 | 8);
    for (jint d = 1; d <= 3; ++d) {
        setProgressByte(slotBase(d) + kSlotStageByte, 10);
        setProgressByte(slotBase(d) + 8, 3);
        setProgressByte(slotBase(d) + 9, 255);
    }
    saveProgress();
}

}  // namespace game
