// A scripted stand-in for everything the hero's state machine calls: actors
// are plain records, the map is a grid of cell classes and flags, and every
// call the tests observe (sounds, effects, kills, state requests) is written
// to a log of short lines. Actor handles are FakeActor pointers.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/world/hero/machine.h"
#include "game/world/hero/seam.h"

namespace herotest {

using game::hero::jint;

struct FakeActor {
    std::array<jint, 10> m{};  // motion state
    jint x = 0, y = 0;
    jint boxW = 33, boxH = 85;
    jint facing = 0, subtype = 0, type = 0, scale = 100, uniqueId = 1;
    jint physicsFlags = 0, flags = 0, contactFlags = 0, aiState = 0, timer = 0, counter = 0, angle = 0;
    jint anim = -1, frame = 0, ticks = 0, frameCount = 4;
    bool animDone = false;
    jint childAnim = -1, childFlags = 0;
    bool childFinished = true;
    jint drawDx = 0, drawDy = 0;
    std::vector<jint> params, parts;
    std::array<jint, 8> typeParams{};
    jint chainMode = 0, swingSide = 0, swingBoost = 0;
    FakeActor* carried = nullptr;
    jint box(jint i) const {
        switch (i) {
        case 0: return x - boxW / 2;
        case 1: return y - boxH;
        case 2: return x - boxW / 2 + boxW;
        default: return y;
        }
    }
};

inline cActor* A(FakeActor& a) { return reinterpret_cast<cActor*>(&a); }
inline FakeActor& F(cActor* a) { return *reinterpret_cast<FakeActor*>(a); }

// The map: class per cell (-1 void) and tile flags per cell.
struct FakeWorld {
    std::map<std::pair<jint, jint>, jint> cls;
    std::map<std::pair<jint, jint>, jint> tileFlags;
    jint mirrored = 0;
    jint slope = 0;
    jint feetFlags = 0;
    jint cellClass(jint col, jint row) const {
        auto it = cls.find({col, row});
        return it == cls.end() ? -1 : it->second;
    }
    jint cellFlags(jint col, jint row) const {
        auto it = tileFlags.find({col, row});
        return it == tileFlags.end() ? 0 : it->second;
    }
    // A floor of solid cells (flag 8) on a row from col0 to col1.
    void floor(jint row, jint col0, jint col1) {
        for (jint c = col0; c <= col1; ++c) tileFlags[{c, row}] = 8;
    }
};

struct Fake {
    FakeActor hero;
    FakeWorld world;
    std::vector<std::string> log;
    std::vector<FakeActor> spawned;  // reserved so pointers stay put
    // Hero-side statics of the framework.
    jint heroState = 0, heroStateTicks = 0;
    std::array<jint, 9> heroStateVars{};
    jint actionMask = 0, actionAnim = 0, actionNextState = 0, inputLock = 0, inputMode = -1, inputOptions = 0, airControl = 0;
    jint cruise = 0;
    std::array<jint, 4> modes{};
    cActor* grabbed = nullptr;
    jint grabMode = 10;
    cActor* partner = nullptr;
    jint partnerMode = 0;
    cActor* mount = nullptr;
    std::vector<jint> curve;
    jint curveIndex = 0, curveLength = 0;
    jint collisionResult = 0, physicsDy = 0, worldFlags = 0;
    std::array<jint, 23> stateAnims{0, 2, 10, 6, 12, 5, 2, 19, 15, 82, 9, 16, -1, 22, -1, 37, 36, 2, 55, -1, 81, 77, 80};
    // World and camera.
    bool level7 = false, scriptActive = false, scriptHolds = false, scriptTarget = false;
    jint cameraFlags = 9, cameraDivX = 0, cameraDivY = 0, scrollDelay = 0, scrollStepX = 0, scrollStepY = 0;
    jint quake = 0, cameraX = 0, runSpeedFactor = 256, lookAheadX = 0, lookAheadForcedX = 0, lookAheadForcedY = 0;
    jint cameraLocked = 0, heroSpeedTimer = 0, boostFrames = 0, heroBumped = 0, heroSkipScroll = 0, autoRunHalt = 0;
    cActor* heldItem = nullptr;
    jint frameTick = 0, health = 3, level = 1;
    bool heroDead = false, touch = false, dialog = false, poolFull = false;
    std::map<jint, bool> keysHeld, keysPressed;
    std::array<jint, 10> variables{};
    // cActor's statics block (the real struct, in a small application of
    // the fake's own), cleared for each fake.
    game::cActorStatics& statics;
    bool headroomBlockedByActor = false;
    jint stompAnimDuration = 6;

    Fake();
    void note(const std::string& s) { log.push_back(s); }
    bool logged(const std::string& s) const;
    cActor* h() { return A(hero); }
    FakeActor& spawn();
    // One step as the framework runs it for the hero: acceleration with the
    // limits, fine position, then the hero's behaviour (or just the state's
    // UPDATE with stepHandler).
    void accelerate(FakeActor& a);
    void stepHandler();
    void enter(jint state);
};

// The fake the seam answers from (one per test).
Fake& fake();
void installFake(Fake* f);

}  // namespace herotest
