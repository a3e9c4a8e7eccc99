// The progress record: fresh records, loading and saving through the
// record store, the option and level-result writers, the slot fields (see
// progress.h for the layout and invariants).
#include "game/data/progress.h"

#include <cstring>

#include "game/data/pack.h"
#include "game/data/routines.h"
#include "game/data/statics.h"
#include "game/showcase/showcase.h"
#include "game/world/regions.h"
#include "io/recordstore.h"
#include "runtime/runtime.h"

namespace game {
namespace {

using RecordStore = javax_microedition_rms_RecordStore;

jbyte* bytes() { return cg().progress ? cg().progress->data() : nullptr; }
jint byteAt(jint i) { return bytes() ? bytes()[i] : 0; }
void setByte(jint i, jint v) {
    if (bytes()) bytes()[i] = static_cast<jbyte>(v);
}

bool validSlot(jint n) { return n >= 1 && n <= 3; }
jint slotBase(jint n) { return (n - 1) * kSlotBytes; }

RecordStore* openStore(jint poolEntry, bool create) {
    RecordStore* s = RecordStore::openRecordStoreByName(StaticClass::getStringConstant(poolEntry), create ? 1 : 0);
    if (catchException()) return nullptr;
    return s;
}

void closeStore(RecordStore* s) {
    if (!s) return;
    s->closeRecordStore();
    catchException();
}

// Reads record 1 into a new buffer; false when the store holds no record
// (or cannot be opened).
bool readRecord() {
    RecordStore* store = openStore(108, true);
    if (!store) return false;
    const jint records = store->getNumRecords();
    if (catchException() || records <= 0) {
        closeStore(store);
        return false;
    }
    ByteArray* stored = store->getRecord(1);
    const bool failed = catchException();
    closeStore(store);
    if (failed) return false;
    adoptProgressRecord(stored);
    java_lang_System::gc();
    return true;
}

}  // namespace

void adoptProgressRecord(ByteArray* stored) {
    ByteArray* buf = newByteArray(kProgressBytes);
    if (stored) {
        jint n = stored->length();
        if (n > kProgressBytes) {
            logPrintf("progress: stored record of %d bytes; its first %d kept", n, kProgressBytes);
            n = kProgressBytes;
        }
        if (n > 0) std::memcpy(buf->data(), stored->data(), static_cast<size_t>(n));
    }
    cg().progress = buf;
}

jint readSaveInt(jint offset) {
    if (!bytes() || offset < 0 || offset + 4 > kProgressBytes) return 0;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes() + offset);
    return static_cast<jint>((static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]);
}

void writeSaveInt(jint offset, jint value) {
    if (!bytes() || offset < 0 || offset + 4 > kProgressBytes) return;
    for (int i = 0; i < 4; ++i) bytes()[offset + i] = static_cast<jbyte>(value >> (24 - 8 * i));
}

void setSaveSlotShort(jint value, jint n) {
    if (!validSlot(n)) {
        logPrintf("progress: slot %d is no save slot", n);
        return;
    }
    setByte(slotBase(n) + 8, value >> 8);
    setByte(slotBase(n) + 9, value);
}

jint getSaveSlotField(jint s, jint n) {
    if (!validSlot(n) || s < 0 || s >= kStageRecords) return 0;
    return readSaveInt(slotBase(n) + 12 + 5 * s);
}

void setSaveSlotField(jint s, jint n, jint value) {
    if (!validSlot(n) || s < 0 || s >= kStageRecords) {
        logPrintf("progress: stage %d of slot %d has no record", s, n);
        return;
    }
    writeSaveInt(slotBase(n) + 12 + 5 * s, value);
}

jint lastDifficulty() {
    const jint v = byteAt(kByteLastDifficulty);
    return validSlot(v) ? v : 2;
}

jint currentSaveSlot() {
    const jint n = cg().difficulty;
    if (!validSlot(n)) {
        logPrintf("progress: difficulty %d has no save slot; nothing read or written", n);
        return 0;
    }
    cg().saveSlot = n;
    return n;
}

void resetLevelRecord(jint n) {
    if (!validSlot(n) || !bytes()) return;
    const jint b = slotBase(n);
    setByte(b + 5, 10);
    setByte(b + 6, 2);
    setByte(b + 10, 255);
    setByte(b + 7, 0);
    setByte(b + 8, 0);
    setByte(b + 9, 0);
    setByte(192, byteAt(192) & ~(1 << n));
}

void resetCurrentLevelState() { setByte(slotBase(lastDifficulty()) + 6, 2); }

void resetProgress(bool full) {
    const jint kept0 = byteAt(0), kept2 = byteAt(2), kept3 = byteAt(3);
    cg().progress = newByteArray(kProgressBytes);
    for (jint n = 1; n <= 3; ++n) resetLevelRecord(n);
    setByte(kByteLastDifficulty, 2);
    setByte(1, 1);
    setByte(192, 0);
    setByte(0, kept0);
    setByte(198, byteAt(198) | 6);
    if (!full) {
        setByte(2, kept2);
        setByte(3, kept3);
    }
}

void saveProgress() {
    if (!cg().progress) return;
    RecordStore* store = openStore(108, true);
    if (!store) {
        logPrintf("progress: store cannot be opened; the record stays in memory");
        return;
    }
    const jint records = store->getNumRecords();
    if (!catchException()) {
        if (records <= 0)
            store->addRecord(cg().progress, 0, kProgressBytes);
        else
            store->setRecord(1, cg().progress, 0, kProgressBytes);
        if (catchException()) logPrintf("progress: record not written; the record stays in memory");
    }
    closeStore(store);
    java_lang_System::gc();
}

void applyProgressSettings() {
    cGameStatics& g = cg();
    g.optionFlag = byteAt(1) != 0;
    g.vibrationOn = byteAt(3) != 0;
    g.gameCompleted = byteAt(193) != 0;
    g.progressBits = readSaveInt(194);
}

void loadProgress() {
    if (!readRecord()) {
        // No record (or no store): a fresh one, saved and read back once.
        java_lang_System::gc();
        resetProgress(true);
        saveProgress();
        ByteArray* fresh = cg().progress;
        if (!readRecord()) {
            logPrintf("progress: fresh record could not be stored; going on with it in memory");
            cg().progress = fresh;
        }
    }
    applyProgressSettings();
}

void saveOptions() {
    setByte(1, cg().optionFlag ? 1 : 0);
    setByte(3, cg().vibrationOn ? 1 : 0);
    saveProgress();
}

void saveVibrationOption() {
    setByte(3, cg().vibrationOn ? 1 : 0);
    saveProgress();
}

void saveLevelResult() {
    const jint n = currentSaveSlot();
    if (!n || !bytes()) return;
    const jint s = cg().stage;
    const jint b = slotBase(n);
    setByte(kByteLastDifficulty, n);
    setByte(b + 4, getVariable(0));
    if (!game::world::isRegionFlagSet(s)) {
        setByte(b + 5, getVariable(9));
        setByte(b + 6, getVariable(5));
    }
    const jint score = computeLevelScore();
    if (s >= 0 && s < kStageRecords) {
        if (score > getSaveSlotField(s, n)) setSaveSlotField(s, n, score);
    } else {
        logPrintf("progress: stage %d has no record in slot %d", s, n);
    }
    saveProgress();
}

void loadLevelVariables() {
    const jint n = currentSaveSlot();
    if (n && bytes()) {
        const jint b = slotBase(n);
        setVariable(9, byteAt(b + 5), true);
        setVariable(5, byteAt(b + 6), true);
        setVariable(1, ((byteAt(b + 8) & 0xFF) << 8) | (byteAt(b + 9) & 0xFF), true);
        setVariable(3, cg().heroStatus ? cg().heroStatus->get(9) : 0, true);
        setVariable(0, byteAt(b + 4), true);
    }
    cg().eventMask = 0;
}

void ensureShowcaseRecordStore() {
    showcaseStatics()->displayFlagA = 1;
    showcaseStatics()->displayFlagB = 1;
    RecordStore* s = openStore(52, false);
    if (!s) s = openStore(52, true);
    closeStore(s);
}

}  // namespace game
