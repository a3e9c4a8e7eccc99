// Fixture of the block family's tests: the behaviour tests' application
// (behaviours installed), the block sprite loaded from the kit's
// demo description, a screen for pictures, and small helpers to make
// blocks, items and pushers from level records.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/actor/actor.h"
#include "tests/game/sprite/support.h"
#include "tests/game/world/support.h"

namespace blockstest {

using worldtest::LogCapture;

class BlocksTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An empty level of w x h cells with a floor in the two bottom rows.
    void emptyLevel(int w = 40, int h = 14, const std::string& extra = "");
    // A type-4 block of the demo subtype with the given parameters
    // {solid, damage base, -, columns, rows, -, top anim, -, hits, script}.
    cActor* block(int subtype, int id, int x, int y, const std::vector<int16_t>& params);
    // The collision cell at (column, row).
    int cell(int column, int row) const;
    // The pixel at view (x, y) of the landscape view (on the portrait screen).
    uint16_t view(jint x, jint y) const { return screen->at(479 - y, x); }
    void goldenView(const std::string& name, jint x, jint y, jint w, jint h);

    BSprite* sprite = nullptr;
    std::unique_ptr<spritetest::Screen> screen;
    cActor* hero = nullptr;
};

}  // namespace blockstest
