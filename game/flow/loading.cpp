// The loading table, the group conditions and the step executor
// (loading.h). File values that index tables are checked once at set-up
// (a bad record becomes a no-op); the interpreter bounds its stack and
// recursion and turns every data error into a group value of 0.
#include "game/flow/loading.h"
#include "game/flow/screens/levelobjects.h"

#include <algorithm>
#include <array>

#include "game/data/datanode.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/progress.h"
#include "game/data/statics.h"
#include "game/data/textpack.h"
#include "game/data/util.h"
#include "game/actor/pool.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/flow/screen.h"
#include "game/flow/screens.h"
#include "game/flow/sound.h"
#include "game/flow/states.h"
#include "game/sprite/sprite.h"
#include "game/world/regions.h"
#include "game/world/scripts.h"
#include "game/world/streaming.h"
#include "io/resource.h"
#include "javalib/inputstreams.h"
#include "javalib/lang.h"
#include "javalib/outputstreams.h"
#include "runtime/application.h"
#include "runtime/jint.h"
#include "runtime/log.h"
#include "runtime/statics.h"
#include "runtime/string.h"
#include "runtime/stringbuffer.h"
#include "runtime/system.h"

namespace game {

namespace {

String* pool(jint n) { return StaticClass::getStringConstant(n); }

std::array<jint, kLoadRecords> g_runCounts{};
jint g_rejected = 0;
jint g_conditionErrors = 0;

}  // namespace

ByteArray* readResource(String* name, jint maxBytes) {
    java_io_InputStream* in = openResource(name);
    if (!in) {
        logPrintf("loading: resource %s missing", name ? name->toUtf8().c_str() : "(null)");
        return nullptr;
    }
    // One array of the size wanted, or of what the resource holds when that
    // is less, filled by reads until it is full or the stream ends.
    jint held = in->available();
    if (Application::pendingException() || held < 0) held = 0;
    const jint size = maxBytes < held ? maxBytes : held;
    ByteArray* buf = newByteArray(size);
    jint got = 0;
    while (got < size && !Application::pendingException()) {
        const jint n = in->read(buf, got, size - got);
        if (Application::pendingException() || n <= 0) break;
        got += n;
    }
    catchException();
    in->close();
    Application::clearPendingException();
    if (got == size) return buf;
    ByteArray* part = newByteArray(got);
    for (jint k = 0; k < got; ++k) part->data()[k] = buf->data()[k];
    return part;
}
void LoadSteps::openPack(String* name) {
    if (!cg().packName || !name || !String::equals(cg().packName, name)) readPackHeader(name);
}
ByteArray* LoadSteps::loadResource(jint entry) { return game::loadResource(entry); }
jint LoadSteps::entryType() { return cg().entryType; }
bool LoadSteps::isTextPackLoaded(jint id) { return game::isTextPackLoaded(id); }
void LoadSteps::loadTextPack(String* packName, jint id) { loadTextPackResource(packName, id); }
void LoadSteps::unloadTextPack(jint id) { game::unloadTextPack(id); }
void LoadSteps::loadMathTables(String* packName) { game::loadMathTables(packName, 0, 1); }
void LoadSteps::loadSprite(ObjectArray* table, jint resource, jint slot, jint param) {
    game::loadSprite(table, resource, slot, param);
}
Object* LoadSteps::loadDataNode(jint resource) { return game::loadDataNode(resource); }
void LoadSteps::setCharMap(Object* font, Object* charMap) {
    if (font && charMap && charMap->classId() == cid::ShortArray)
        static_cast<BSprite*>(font)->setCharMap(static_cast<ShortArray*>(charMap));
}
void LoadSteps::loadLevelObjects(ByteArray* list) {
    cg().levelObjectData = list;
    game::loadLevelObjectAssets(list);
    game::world::setupLevelMap();
}
void LoadSteps::loadLevelLayers(jint stage, jint param) { game::loadLevelLayers(stage, param); }
void LoadSteps::spawnLevelActors() { game::spawnLevelActors(); }
void LoadSteps::resetPlayState() { game::resetPlayState(); }
void LoadSteps::loadProgressIfMissing() {
    if (!cg().progress) loadProgress();
}
void LoadSteps::loadContentTypes() { game::loadContentTypes(pool(117)); }
void LoadSteps::frameBuffers() {
    if (!cg().frameCache) {
        IntArray* screen = newIntArray(384000);
        cg().frameCache = screen;
    }
    IntArray* work = newIntArray(19200);
    cg().rotationWork = work;
}
void LoadSteps::createActorPool() { game::createActorPool(); }
void LoadSteps::dropLevelScripts() { world::clearScripts(); }
void LoadSteps::dropMapRegions() { world::clearMapRegions(); }
void LoadSteps::dropLayers() { game::dropLevelLayers(); }

namespace {
LoadSteps g_builtinSteps;
LoadSteps* g_steps = &g_builtinSteps;
}  // namespace

LoadSteps& loadSteps() { return *g_steps; }
void setLoadSteps(LoadSteps* steps) { g_steps = steps ? steps : &g_builtinSteps; }

jint loadStepRunCount(jint i) { return i >= 0 && i < kLoadRecords ? g_runCounts[size_t(i)] : 0; }
jint loadRecordsRejected() { return g_rejected; }
jint loadConditionErrors() { return g_conditionErrors; }

// --- records ---------------------------------------------------------------------

namespace {

struct Record {
    jint op, slot, group, param, pack, resource;
};

Record readRecord(ByteArray* table, jint i) {
    const jbyte* r = table->data() + i * kLoadRecordBytes;
    Record rec;
    rec.op = r[0];
    rec.slot = r[1] & 255;
    rec.group = r[2];
    rec.param = static_cast<jint>((uint32_t(uint8_t(r[3])) << 24) | (uint32_t(uint8_t(r[4])) << 16) |
                                  (uint32_t(uint8_t(r[5])) << 8) | uint32_t(uint8_t(r[6])));
    rec.pack = r[7] & 255;
    rec.resource = ((r[8] & 255) << 8) | (r[9] & 255);
    return rec;
}

bool tableReady() {
    ByteArray* t = cg().loadingTable;
    return t && t->length() >= kLoadTableBytes;
}

// Why a record cannot run, or null.
const char* recordFault(const Record& r) {
    switch (r.op) {
    case 1:
        if (r.slot >= kSpriteSlots) return "sprite slot past 118";
        if (r.pack >= kIndexPacks || r.resource >= kIndexEntries) return "sprite index entry outside 27 x 128";
        return nullptr;
    case 2: return r.slot >= kFontSlots ? "font slot past 2" : nullptr;
    case 19:
        if (r.slot >= kSoundIds || r.resource >= kSoundIds) return "sound id or resource past 36";
        return nullptr;
    case 15: return (r.param & 15) >= 5 ? "level sprite slot past 4" : nullptr;
    case 12:
    case 18: return r.resource >= kLoadRecords ? "record reference past 419" : nullptr;
    default: return nullptr;
    }
}

void makeNoOp(ByteArray* table, jint i) {
    jbyte* r = table->data() + i * kLoadRecordBytes;
    r[0] = 3;
    r[7] = static_cast<jbyte>(0xFF);
}

void buildSpriteIndex() {
    ObjectArray* index = newObjectArray(cid::IntArray, kIndexPacks);
    cg().spriteIndex = index;
    for (jint i = 0; i < kLoadRecords; ++i) {
        const Record r = readRecord(cg().loadingTable, i);
        if (r.op != 1) continue;
        if (!cg().spriteIndex->data()[r.pack]) {
            IntArray* entries = newIntArray(kIndexEntries);
            cg().spriteIndex->data()[r.pack] = entries;
        }
        static_cast<IntArray*>(cg().spriteIndex->data()[r.pack])->data()[r.resource] = (i << 16) | r.slot;
    }
}

jint readU32BE(const jbyte* p) {
    return static_cast<jint>((uint32_t(uint8_t(p[0])) << 24) | (uint32_t(uint8_t(p[1])) << 16) |
                             (uint32_t(uint8_t(p[2])) << 8) | uint32_t(uint8_t(p[3])));
}

}  // namespace

namespace {

// Takes table (at least 4,200 bytes; the loader's own array from now on)
// as the loading table: a record that cannot run becomes a no-op.
void installLoadingTable(ByteArray* table) {
    for (jint i = 0; i < kLoadRecords; ++i) {
        const Record r = readRecord(table, i);
        if (const char* why = recordFault(r)) {
            logPrintf("loading record %d (opcode %d) made a no-op: %s", i, r.op, why);
            makeNoOp(table, i);
            ++g_rejected;
        }
    }
    cg().loadingTable = table;
}

bool tableLongEnough(ByteArray* table) {
    if (table && table->length() >= kLoadTableBytes) return true;
    logPrintf("loading table rejected: %d bytes, %d needed", table ? table->length() : 0, kLoadTableBytes);
    return false;
}

// What Util's stream still holds (every stream the loader opens answers
// this exactly); -1 after an exception.
int64_t utilBytesLeft() {
    const jint n = util().stream->available();
    return Application::pendingException() ? -1 : n;
}

// Reads the condition file from Util's stream: the leading number, then per
// group its length and its program with one read, each length checked
// against what the stream still holds before its array is made. The
// programs replace the old ones only when all 36 arrive; false (logged)
// otherwise.
bool readConditionPrograms() {
    if (utilBytesLeft() < 4) {
        logPrintf("condition file rejected: %lld bytes", static_cast<long long>(std::max<int64_t>(utilBytesLeft(), 0)));
        return false;
    }
    utilReadInt32();  // not used
    ObjectArray* programs = newObjectArray(cid::ByteArray, kLoadGroups);
    for (jint g = 0; g < kLoadGroups; ++g) {
        if (Application::pendingException() || utilBytesLeft() < 4) {
            logPrintf("condition file rejected: group %d's length lies past the end", g);
            return false;
        }
        const jint len = utilReadInt32();
        if (len < 0 || len > utilBytesLeft()) {
            logPrintf("condition file rejected: group %d's %d bytes run past the end", g, len);
            return false;
        }
        ByteArray* prog = newByteArray(len);
        programs->data()[g] = prog;
        if (len == 0) continue;
        const jint got = utilRead(prog);
        if (Application::pendingException() || got != len) {
            logPrintf("condition file rejected: group %d's program cut short (%d of %d bytes)", g, got, len);
            return false;
        }
    }
    cg().groupPrograms = programs;
    return true;
}

// The condition file through Util's stream, which is closed and dropped
// afterwards whatever happened.
bool readConditionFile(java_io_InputStream* in) {
    util().stream = in;
    const bool ok = readConditionPrograms();
    catchException();
    utilClose();
    Application::clearPendingException();
    return ok;
}

}  // namespace

bool acceptLoadingTable(ByteArray* table) {
    if (!tableLongEnough(table)) return false;
    ByteArray* copy = newByteArray(kLoadTableBytes);
    for (jint k = 0; k < kLoadTableBytes; ++k) copy->data()[k] = table->data()[k];
    installLoadingTable(copy);
    return true;
}

bool acceptConditionFile(ByteArray* file) {
    if (!file) {
        logPrintf("condition file rejected: 0 bytes");
        return false;
    }
    return readConditionFile(newObject<java_io_ByteArrayInputStream>(file));
}

void loadGameData() {
    cGameStatics& f = cg();
    IntArray* request = newIntArray(4);
    f.loadRequest = request;
    IntArray* values = newIntArray(kLoadGroups);
    cg().groupValues = values;
    if (!cg().loadingTable) {
        // The table's 4,200 bytes, whatever else the resource holds.
        ByteArray* table = readResource(pool(112), kLoadTableBytes);
        if (!table || !tableLongEnough(table)) return;
        installLoadingTable(table);
    }
    if (!cg().groupPrograms) {
        java_io_InputStream* in = openResource(pool(113));
        if (!in) {
            logPrintf("loading: resource %s missing", pool(113) ? pool(113)->toUtf8().c_str() : "(null)");
            return;
        }
        if (!readConditionFile(in)) return;
    }
    buildSpriteIndex();
}

// --- interpreter -------------------------------------------------------------------

namespace {

void conditionError(jint g, const char* what) {
    ++g_conditionErrors;
    logPrintf("loading group %d: %s; the group is 0", g, what);
}

struct Machine {
    jint group;
    bool failed = false;

    void push(jint v) {
        cGameStatics& f = cg();
        if (f.groupStackTop >= kGroupStack) {
            fail("stack overflow");
            return;
        }
        cg().groupStack->data()[f.groupStackTop++] = v;
    }
    jint pop() {
        cGameStatics& f = cg();
        if (f.groupStackTop <= 0) {
            fail("stack underflow");
            return 0;
        }
        return cg().groupStack->data()[--f.groupStackTop];
    }
    void fail(const char* what) {
        if (!failed) conditionError(group, what);
        failed = true;
    }
};

jint requestElement(jint k) {
    IntArray* r = cg().loadRequest;
    return r && r->inBounds(k) ? r->data()[k] : 0;
}

}  // namespace

void evalLoadGroups() {
    cGameStatics& f = cg();
    BoolArray* needed = newBoolArray(kLoadRecords);
    f.stepNeeded = needed;
    BoolArray* evaluated = newBoolArray(kLoadGroups);
    cg().groupEvaluated = evaluated;
    BoolArray* inProgress = newBoolArray(kLoadGroups);
    cg().groupInProgress = inProgress;
    if (!cg().groupValues) {
        IntArray* values = newIntArray(kLoadGroups);
        cg().groupValues = values;
    }
    for (jint g = 0; g < kLoadGroups; ++g) cg().groupValues->data()[g] = 0;
    cg().groupStackTop = 0;
    for (jint g = 0; g < kLoadGroups; ++g) evalLoadGroup(g);
}

jint evalLoadGroup(jint g) {
    cGameStatics& f = cg();
    if (g < 0 || g >= kLoadGroups) {
        conditionError(g, "no such group");
        return 0;
    }
    if (!f.groupEvaluated || !f.groupInProgress || !f.groupValues || !cg().groupStack) return 0;
    if (f.groupEvaluated->data()[g]) return f.groupValues->data()[g];
    if (f.groupInProgress->data()[g]) {
        conditionError(g, "refers to itself");
        return 0;
    }
    f.groupInProgress->data()[g] = 1;
    Machine m{g};
    const jint base = f.groupStackTop;
    ByteArray* prog = f.groupPrograms ? static_cast<ByteArray*>(f.groupPrograms->data()[g]) : nullptr;
    const jint n = prog ? prog->length() : 0;
    for (jint pc = 0; pc < n && !m.failed;) {
        // Re-read the program's bytes each instruction: group references
        // below may allocate nothing, but stay safe against moves.
        const jint op = prog->data()[pc++];
        if (op == 2 || op == 4 || op == 6) {
            if (pc > n - 4) {
                m.fail("operand cut short");
                break;
            }
            const jint k = readU32BE(prog->data() + pc);
            pc += 4;
            if (op == 2) {
                m.push(k);
            } else if (op == 4) {
                if (k < 0 || k > 3) conditionError(g, "request element outside 0-3 (0 pushed)");
                m.push(requestElement(k));
            } else {
                m.push(evalLoadGroup(k));
            }
            continue;
        }
        if (op < 7 || op > 31 || op == 8 || op == 25) continue;
        if (op == 7) {
            const jint t = m.pop(), mid = m.pop(), c = m.pop();
            m.push(c > 0 ? mid : t);
            continue;
        }
        if (op >= 28) {
            const jint t = m.pop();
            m.push(op == 28 ? (t <= 0 ? 1 : 0) : op == 29 ? ~t : op == 30 ? java::ineg(t) : t);
            continue;
        }
        const jint t = m.pop(), s = m.pop();
        jint v = 0;
        switch (op) {
        case 9: v = (s > 0 || t > 0) ? 1 : 0; break;
        case 10: v = (s > 0 && t > 0) ? 1 : 0; break;
        case 11: v = s | t; break;
        case 12: v = s ^ t; break;
        case 13: v = s & t; break;
        case 14: v = s == t; break;
        case 15: v = s != t; break;
        case 16: v = s < t; break;
        case 17: v = s > t; break;
        case 18: v = s <= t; break;
        case 19: v = s >= t; break;
        case 20: v = deviceShl(s, t); break;
        case 21: v = deviceShr(s, t); break;
        case 22: v = java::iadd(s, t); break;
        case 23: v = java::isub(s, t); break;
        case 24: v = java::imul(s, t); break;
        case 26:
        case 27:
            if (t == 0) {
                conditionError(g, "division by zero (0 pushed)");
                v = 0;
            } else {
                v = op == 26 ? java::idiv(s, t) : java::irem(s, t);
            }
            break;
        default: break;
        }
        m.push(v);
    }
    jint value = 0;
    if (!m.failed) {
        if (cg().groupStackTop <= base)
            m.fail("program leaves no value");
        else
            value = m.pop();
    }
    if (m.failed) {
        value = 0;
        cg().groupStackTop = base;
    }
    cg().groupInProgress->data()[g] = 0;
    cg().groupEvaluated->data()[g] = 1;
    cg().groupValues->data()[g] = value;
    return value;
}

// --- planning and running ---------------------------------------------------------

void clearLoadRequest() {
    IntArray* r = cg().loadRequest;
    for (jint k = 0; r && k < r->length(); ++k) r->data()[k] = 0;
}

void planLoadSteps() {
    cGameStatics& f = cg();
    if (f.reuseLoadPlan) {
        java_lang_System::gc();
        f.loadStepsDone = 0;
        f.loadCursor = 0;
        f.reuseLoadPlan = 0;
        return;
    }
    f.loadStepsDone = 0;
    f.loadCursor = 0;
    f.loadStepsTotal = 0;
    evalLoadGroups();
    if (tableReady()) {
        for (jint i = 0; i < kLoadRecords; ++i) {
            const jint group = cg().loadingTable->data()[i * kLoadRecordBytes + 2];
            const bool needed = group >= 0 && group < kLoadGroups && cg().groupValues->data()[group] > 0;
            cg().stepNeeded->data()[i] = needed;
            if (needed)
                cg().loadStepsTotal += 1;
            else
                freeLoadStep(i);
        }
    }
    java_lang_System::gc();
}

jint getLoadStepParam(jint i) {
    if (!tableReady() || i < 0 || i >= kLoadRecords) return 0;
    return readU32BE(cg().loadingTable->data() + i * kLoadRecordBytes + 3);
}

void setLoadStepParam(jint i, jint value) {
    if (!tableReady() || i < 0 || i >= kLoadRecords) return;
    jbyte* p = cg().loadingTable->data() + i * kLoadRecordBytes + 3;
    p[0] = java::i2b(value >> 24);
    p[1] = java::i2b(value >> 16);
    p[2] = java::i2b(value >> 8);
    p[3] = java::i2b(value);
}

IntArray* decodeLoadStep(jint i) {
    IntArray* out = newIntArray(5);
    if (!tableReady() || i < 0 || i >= kLoadRecords) return out;
    const Record r = readRecord(cg().loadingTable, i);
    IntArray::fill(out, {r.op, r.slot, r.pack, r.resource, r.param});
    return out;
}

namespace {

String* packName(jint pack) {
    StringBuffer* sb = StringBuffer::make(16);
    StringBuffer::append(sb, pool(76));
    StringBuffer::appendInt(sb, pack);
    return sb->toString();
}

ObjectArray* ensureTable(ObjectArray*& field, jint n) {
    if (!field) {
        ObjectArray* t = newObjectArray(cid::Object, n);
        field = t;
    }
    return field;
}

bool slotEmpty(ObjectArray* t, jint slot) { return t && t->inBounds(slot) && !t->data()[slot]; }

}  // namespace

void runLoadStep(jint i) {
    if (!tableReady() || i < 0 || i >= kLoadRecords) {
        logPrintf("runLoadStep(%d): no such record", i);
        return;
    }
    if (i < kLoadRecords) g_runCounts[size_t(i)] += 1;
    const Record r = readRecord(cg().loadingTable, i);
    LoadSteps& steps = loadSteps();
    String* name = packName(r.pack);
    if (r.pack != 255) steps.openPack(name);
    cGameStatics& f = cg();
    switch (r.op) {
    case 0:
        steps.frameBuffers();
        cg().randomSeed = java::l2i(cg().gameClock);
        steps.createActorPool();
        break;
    case 1: {
        ObjectArray* t = ensureTable(cg().sprites, kSpriteSlots);
        if (slotEmpty(t, r.slot)) steps.loadSprite(t, r.resource, r.slot, r.param);
        break;
    }
    case 2: {
        ObjectArray* t = ensureTable(cg().fonts, kFontSlots);
        if (slotEmpty(t, r.slot)) {
            steps.loadSprite(t, r.resource, r.slot, r.param);
            steps.setCharMap(cg().fonts->data()[r.slot], cg().charMap);
        }
        break;
    }
    case 4:
        if (!steps.isTextPackLoaded(r.resource)) steps.loadTextPack(name, r.resource);
        break;
    case 5:
        if (!f.mathTablesLoaded) {
            steps.loadMathTables(name);
            if (!Application::pendingException()) cg().mathTablesLoaded = 1;
        }
        break;
    case 9: steps.loadLevelObjects(steps.loadResource(15)); break;
    case 10: game::world::loadLevelRecords(steps.loadResource(16)); break;
    case 11:
        if (ByteArray* regions = steps.loadResource(17)) game::world::loadMapRegions(regions);
        break;
    case 12: {
        const Record other = readRecord(cg().loadingTable, r.resource);
        if (other.pack != 255) steps.openPack(packName(other.pack));
        steps.loadLevelLayers(cg().stage, r.param);
        break;
    }
    case 13: steps.spawnLevelActors(); break;
    case 14: steps.resetPlayState(); break;
    case 15: {
        ObjectArray* t = cg().levelSprites;
        if (slotEmpty(t, r.param & 15)) steps.loadSprite(t, r.resource, r.param & 15, 1);
        break;
    }
    case 16:
        if (!cg().charMap) {
            Object* node = steps.loadDataNode(r.resource);
            cg().charMap = node;
        }
        break;
    case 18: {
        const Record other = readRecord(cg().loadingTable, r.resource);
        ObjectArray* t = ensureTable(cg().sprites, kSpriteSlots);
        if (slotEmpty(t, other.slot) || !t->inBounds(other.slot))
            logPrintf("loading record %d: sprite slot %d of record %d is empty; nothing to load", i, other.slot,
                      r.resource);
        break;
    }
    case 19:
        if (!KTLibPlayer::isSoundLoaded(r.slot)) {
            if (!cg().soundTable) {
                IntArray* table = newIntArray(kSoundIds);
                cg().soundTable = table;
            }
            ByteArray* bytes = steps.loadResource(r.resource);
            if (bytes && bytes->length() > 0)
                KTLibPlayer::loadSound(bytes, steps.entryType(), r.slot, (r.param & 0x10000) == 0);
            cg().soundTable->data()[r.resource] = r.param;
            if ((r.param & 15) == 3) cg().levelMusic = r.resource;
        }
        break;
    case 20: steps.loadProgressIfMissing(); break;
    case 21:
        if (!cg().contentTypes) {
            steps.loadContentTypes();
            if (!Application::pendingException()) KTLibPlayer::allocateChannelTables(kSoundIds);
            if (!Application::pendingException()) cg().soundOn = 0;
        }
        break;
    case 22: createOffscreenBuffer(); break;
    default: break;
    }
    java_lang_System::gc();
}

void stateLoading() {
    cGameStatics& f = cg();
    if (f.loadStepsDone == -1) {
        planLoadSteps();
        return;
    }
    if (f.loadStepsDone < f.loadStepsTotal) {
        while (f.loadCursor < kLoadRecords && !(f.stepNeeded && f.stepNeeded->data()[f.loadCursor])) ++f.loadCursor;
        const jint record = f.loadCursor;
        if (record < kLoadRecords) runLoadStep(record);
        if (Application::pendingException()) {
            if (!catchException()) return;
            StringBuffer* sb = StringBuffer::make(32);
            StringBuffer::append(sb, pool(115));
            StringBuffer::appendInt(sb, record);
            StringBuffer::append(sb, pool(116));
            StringBuffer::append(sb, pool(record >= 221 && record <= 257 ? 114 : 1));
            String* line = sb->toString();
            logPrintf("%s", line ? line->toUtf8().c_str() : "");
            if (java_lang_System_Statics* sys = systemStatics())
                if (sys->out) static_cast<java_io_PrintStream*>(sys->out)->println(line);
        }
        cg().loadCursor += 1;
        cg().loadStepsDone += 1;
    } else {
        f.loadStepsDone += 1;
    }
    if (cg().loadStepsDone < cg().loadStepsTotal) return;
    // Finish: close the streams, collect, and go on to the requested state.
    if (java_io_InputStream* s = util().stream) {
        s->close();
        Application::clearPendingException();
        util().stream = nullptr;
    }
    java_lang_System::gc();
    if (java_io_InputStream* s = cg().packStream) {
        s->close();
        Application::clearPendingException();
    }
    cg().packStream = nullptr;
    cg().packPosition = 0;
    java_lang_System::gc();
    const jint kind = IntArray::at(cg().loadRequest, 0);
    requestSetState(IntArray::at(cg().loadRequest, 3));
    if (kind == 4) {
        setLoadButtons(true);
        cg().inLevel = 0;
    }
    if (kind == 5) {
        setLoadButtons(false);
        cg().inLevel = 1;
        cg().hintCount = 0;
        cg().hintTimer = 0;
    }
}

void setLoadButtons(bool on) {
    ObjectArray* layout = cg().screenLayoutA;
    for (jint i = 1; i <= 3; ++i) {
        auto* e = layout && layout->inBounds(i) ? static_cast<IntArray*>(layout->data()[i]) : nullptr;
        if (e && e->length() > 0) e->data()[0] = i > 1 && on ? 1 : 0;
    }
}

jint requireResource(jint entry, jint group) {
    ObjectArray* idx = cg().spriteIndex;
    IntArray* g = idx && idx->inBounds(group) ? static_cast<IntArray*>(idx->data()[group]) : nullptr;
    if (!g || !g->inBounds(entry) || g->data()[entry] == 0) {
        logPrintf("cGame.requireResource: no index entry %d in group %d", entry, group);
        return 0;
    }
    const jint record = (g->data()[entry] >> 16) & 0xFFFF;
    if (record >= kLoadRecords) return 0;
    BoolArray* needed = cg().stepNeeded;
    if (needed && !needed->data()[record]) {
        needed->data()[record] = 1;
        cg().loadStepsTotal += 1;
    }
    const jint param = getLoadStepParam(record);
    if (param != 0) return param;
    setLoadStepParam(record, 17);
    return 17;
}

}  // namespace game
