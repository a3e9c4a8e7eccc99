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
#include "game/actor/host.h"
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

// A host that records calls by name and lets tests steer the answers.
struct RecordingHost : game::ActorHost {
    std::vector<std::string> calls;
    bool scriptActive = false;
    jint pendingHits = 0;
    void updateType(game::cActor*, jint type) override { calls.push_back("type" + std::to_string(type)); }
    jint applyPendingHits(game::cActor*, bool) override { return pendingHits; }
    void respawn(game::cActor*) override { calls.push_back("respawn"); }
    void kill(game::cActor*) override { calls.push_back("kill"); }
    void setHeroState(game::cActor*, jint s) override {
        calls.push_back("heroState" + std::to_string(s));
        game::ca().heroState = s;
    }
    jint heroStateDispatch(game::cActor*, jint s, jint phase) override {
        calls.push_back("dispatch" + std::to_string(s) + "/" + std::to_string(phase));
        return 0;
    }
    void playSound(jint id) override { calls.push_back("sound" + std::to_string(id)); }
    bool isAnyScriptActive() override { return scriptActive; }
    void setTileAttribute(jint r, jint v, bool high) override {
        calls.push_back("tile" + std::to_string(r) + "=" + std::to_string(v) + (high ? "h" : "l"));
    }
    void heroPhysics(game::cActor*) override { calls.push_back("physics"); }
    void moveHeroBy(game::cActor* h, jint dx, jint dy) override {
        calls.push_back("heroBy" + std::to_string(dx) + "," + std::to_string(dy));
        game::cActor::moveBy(h, dx, dy);
    }
};

class ActorTest : public testing::Test {
protected:
    void SetUp() override {
        startApplication();
        game::setActorHost(&host);
        game::createActorPool();
    }
    void TearDown() override {
        game::setActorHost(nullptr);
        closeApplication();
    }
    RecordingHost host;
};

// A Java record {subtype, id, x, y, 0, anim, flags, params...}.
ShortArray* record(int subtype, int id, int x, int y, int anim = 0, int flags = 0x20 | 0x80,
                   const std::vector<int16_t>& params = {});
// Spawns from such a record; fails the test when the factory refuses.
game::cActor* spawn(int subtype, int id, int x, int y, int flags = 0xA0, const std::vector<int16_t>& params = {});
// Places a with a box of w x h standing on (x, y).
void place(game::cActor* a, jint x, jint y, jint w, jint h);

}  // namespace actortest
