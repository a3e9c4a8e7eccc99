// Fixture of the world tests: an application with the sprite engine's,
// lcdui's, the game's, the actor framework's and the world's statics, the
// world installed, levels compiled by the content kit from a description
// and put in place as the level loader leaves them, and a hero.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "game/actor/pool.h"
#include "game/data/statics.h"
#include "game/actor/actor.h"
#include "game/data/statics.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/actortables.h"
#include "tools/kit/level.h"

namespace worldtest {

using spritetest::LogCapture;

// `extraStatics`, when given, adds the statics of libraries above the world
// (the behaviours' fixture) before the application starts.
using StaticsAppender = void (*)(std::vector<const StaticsContribution*>& list);
void startApplication(StaticsAppender extraStatics = nullptr);
void closeApplication();

// Puts a compiled level in place: layers (layer 4 the collision map),
// then the object list through the level set-up, the script table and the
// region table when the description has them.
void loadLevel(const std::string& description);
// A hero of subtype 0 standing at (x, y) with a 34 x 85 box, physics on.
cActor* makeHero(jint x, jint y);
// A level actor of the given subtype from a record.
cActor* spawnRecord(const std::vector<int16_t>& record);
ByteArray* javaBytes(const kit::Bytes& bytes);

class WorldTest : public testing::Test {
protected:
    void SetUp() override { startApplication(); }
    void TearDown() override { closeApplication(); }
};

}  // namespace worldtest
