// Shared fixture of the actor-framework tests: an application with the
// sprite engine's, lcdui's and the actor framework's static fields, the
// actor tables file served from the kit's demo tables (or given bytes),
// and small builders of actors and records. The framework's calls into the
// world, the hero and the behaviours run the real routines.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "game/actor/actor.h"
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

// An empty collision map of 160 x 60 cells (5760 x 2160 pixels): the
// world's movement and box routines meet no tiles.
void openMap();

class ActorTest : public testing::Test {
protected:
    void SetUp() override {
        startApplication();
        game::createActorPool();
        openMap();
    }
    void TearDown() override { closeApplication(); }
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
