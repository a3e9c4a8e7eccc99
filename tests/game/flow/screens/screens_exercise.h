// The screens' fuzz input and its seeds, shared by the libFuzzer target and
// the replay in the ordinary test run. Input: one selector byte, a 16-bit
// little-endian length n, n bytes of progress record, then a text pack
// (slot 1, the menus' texts). The record and the pack go through the
// game's own readers; the menus built over them (main menu with its row
// visibility, continue, the stage choice, the records with their value
// texts, the level intro and results) update and paint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace screenstest {

void exerciseScreens(const uint8_t* data, size_t size);

struct ScreensSeed {
    std::string name;
    std::vector<uint8_t> bytes;
};
// The kit's progress fixtures (fresh, mid-game, all open, stage 10 open,
// damaged) with the demo's slot-1 texts, and the demo record with every
// damaged text pack the kit makes.
std::vector<ScreensSeed> screensSeeds();

}  // namespace screenstest
