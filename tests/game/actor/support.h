// Shared fixture of the actor-framework tests: an application with the
// sprite engine's, lcdui's and the actor framework's static fields, the
// actor tables file served from the kit's demo tables (or given bytes),
// a test host that records what the framework asks of world and
// behaviours, and small builders of actors and records.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/defaults.h"
#include "game/data/statics.h"
#include "game/actor/pool.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/actortables.h"

namespace actortest {

using spritetest::LogCapture;

// Starts the application; tables: the bytes served as the tables file
// (nullopt: the demo tables; an empty vector: no file at all).
void startApplication(std::optional<kit::Bytes> tables = std::nullopt);
void closeApplication();

kit::Bytes demoTablesBytes();

// World and behaviour hooks that record calls by name (on top of the
// framework's generic defaults) and let tests steer the answers.
struct Recorder {
    std::vector<std::string> calls;
    bool has(const std::string& c) const;
};

struct RecordingWorld : game::ActorWorldDefaults {
    explicit RecordingWorld(Recorder& r) : rec(r) {}
    Recorder& rec;
    bool scriptActive = false;
    void setHeroState(cActor*, jint s) override {
        rec.calls.push_back("heroState" + std::to_string(s));
        game::ca().heroState = s;
    }
    jint heroStateDispatch(cActor*, jint s, jint phase) override {
        rec.calls.push_back("dispatch" + std::to_string(s) + "/" + std::to_string(phase));
        return 0;
    }
    void applyHeroStateTables(cActor*, jint s) override { rec.calls.push_back("tables" + std::to_string(s)); }
    bool isAnyScriptActive() override { return scriptActive; }
    void setTileAttribute(jint r, jint v, bool high) override {
        rec.calls.push_back("tile" + std::to_string(r) + "=" + std::to_string(v) + (high ? "h" : "l"));
    }
    void heroPhysics(cActor*) override { rec.calls.push_back("physics"); }
    void moveHeroBy(cActor* h, jint dx, jint dy) override {
        rec.calls.push_back("heroBy" + std::to_string(dx) + "," + std::to_string(dy));
        ActorWorldDefaults::moveHeroBy(h, dx, dy);
    }
};

struct RecordingBehaviour : game::ActorBehaviourDefaults {
    explicit RecordingBehaviour(Recorder& r) : rec(r) {}
    Recorder& rec;
    jint pendingHits = 0;
    bool updateType(jint type, cActor*) override {
        rec.calls.push_back("type" + std::to_string(type));
        return true;
    }
    jint applyPendingHits(cActor*, bool) override { return pendingHits; }
    void respawn(cActor*) override { rec.calls.push_back("respawn"); }
    void kill(cActor*) override { rec.calls.push_back("kill"); }
    void driveHeroType61(cActor*) override { rec.calls.push_back("drive61"); }
    void driveHeroType75(cActor*) override { rec.calls.push_back("drive75"); }
    void launchHeroType64(cActor*) override { rec.calls.push_back("launch64"); }
};

class ActorTest : public testing::Test {
protected:
    void SetUp() override {
        startApplication();
        game::setWorldHooks(&world);
        game::setBehaviourHooks(&behaviour);
        game::createActorPool();
    }
    void TearDown() override { closeApplication(); }
    Recorder rec;
    RecordingWorld world{rec};
    RecordingBehaviour behaviour{rec};
};

// A Java record {subtype, id, x, y, 0, anim, flags, params...}.
ShortArray* record(int subtype, int id, int x, int y, int anim = 0, int flags = 0x20 | 0x80,
                   const std::vector<int16_t>& params = {});
// Spawns from such a record; fails the test when the factory refuses.
cActor* spawn(int subtype, int id, int x, int y, int flags = 0xA0, const std::vector<int16_t>& params = {});
// Places a with a box of w x h standing on (x, y).
void place(cActor* a, jint x, jint y, jint w, jint h);
// A hero (cGame.hero) with a motion state and a 20 x 40 box on (x, y).
cActor* makeHero(jint x, jint y, jint subtype = 0);
// A sprite of `anims` animations, each of `frames` one-tick frames of one
// small square.
BSprite* tickSprite(int anims, int frames);
// Camera and every layer centred on (400, 240): view and world agree.
void centreCamera();

}  // namespace actortest
