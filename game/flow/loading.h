// The data-driven loading table and the loading-group conditions: the
// one-time set-up, the planner, the condition interpreter and the step
// executor with its 23 opcodes.
//
// Table: 420 records of 10 bytes (opcode s8, slot u8, group s8, parameter
// s32 BE, pack u8 (255 none), resource u16 BE), read as the resource's
// first 4,200 bytes. Condition file: a 32-bit number, then 36 blocks of
// {u32 length, program}, each length checked against what the stream
// holds before its program is made, so both are read in linear time.
// Invariants: every record that would index a table out of range is made a
// no-op at set-up (logged); a group is evaluated at most once per plan, a
// cycle gives 0; the evaluation stack never leaves its 256 entries.
#pragma once

#include "runtime/array.h"

class String;

namespace game {

constexpr jint kLoadRecords = 420;
constexpr jint kLoadRecordBytes = 10;
constexpr jint kLoadTableBytes = kLoadRecords * kLoadRecordBytes;
constexpr jint kLoadGroups = 36;
constexpr jint kGroupStack = 256;
constexpr jint kSpriteSlots = 119;
constexpr jint kFontSlots = 3;
constexpr jint kIndexPacks = 27;
constexpr jint kIndexEntries = 128;

// The operations the steps perform on other parts of the game: packs, text
// packs, sprites, level data, actors, sounds. The built-in object calls the
// game's own routines; tests install a recording one.
class LoadSteps {
public:
    virtual ~LoadSteps() = default;
    virtual void openPack(String* name);
    virtual ByteArray* loadResource(jint entry);
    virtual jint entryType();
    virtual bool isTextPackLoaded(jint id);
    virtual void loadTextPack(String* packName, jint id);
    virtual void unloadTextPack(jint id);
    virtual void loadMathTables(String* packName);
    virtual void loadSprite(ObjectArray* table, jint resource, jint slot, jint param);
    virtual Object* loadDataNode(jint resource);
    virtual void setCharMap(Object* font, Object* charMap);
    virtual void loadLevelObjects(ByteArray* list);
    virtual void loadLevelLayers(jint stage, jint param);
    virtual void spawnLevelActors();
    virtual void resetPlayState();
    virtual void loadProgressIfMissing();
    virtual void loadContentTypes();
    virtual void frameBuffers();
    virtual void createActorPool();
    virtual void dropLevelScripts();
    virtual void dropMapRegions();
    virtual void dropLayers();
};
LoadSteps& loadSteps();
void setLoadSteps(LoadSteps* steps);

// At most maxBytes of the named resource (the data archive by default) in
// one array, shorter when the resource holds less; null (logged) when it
// is missing.
ByteArray* readResource(String* name, jint maxBytes);

// Parses a loading table and a condition file into the cGame fields
// (exposed for tools and fuzzers; the file is read as loadGameData reads
// it, through Util's stream). False (logged) when rejected.
bool acceptLoadingTable(ByteArray* table);
bool acceptConditionFile(ByteArray* file);

void loadGameData();
void planLoadSteps();
void evalLoadGroups();
jint evalLoadGroup(jint g);
void runLoadStep(jint i);
void clearLoadRequest();
jint getLoadStepParam(jint i);
void setLoadStepParam(jint i, jint value);
IntArray* decodeLoadStep(jint i);
// One loading step of the loading state (plan first, then one record).
void stateLoading();
// The loading screen's buttons (cGame.screenLayoutA): element 1 off, and
// elements 2 and 3 on after a menu-data load, off after a level load.
void setLoadButtons(bool on);
// cGame.requireResource(entry, group): the record named by the high 16
// bits of cGame.spriteIndex[group][entry] is marked needed (and counted)
// when it was not; answers its parameter, a parameter of 0 becoming 17.
// A missing index entry answers 0 (logged).
jint requireResource(jint entry, jint group);
// How often record i has run since start (diagnostics and tests).
jint loadStepRunCount(jint i);
// Records made no-ops at set-up, and data errors met by the interpreter
// since start (diagnostics and tests).
jint loadRecordsRejected();
jint loadConditionErrors();

}  // namespace game
