// Small collision maps for the hero's states, one per family, as level
// descriptions (see level.h): a 24 x 12 collision layer whose rows 10 and
// 11 are solid ground (class 8) between walls (class 6) in columns 0 and
// 23, with the family's cells placed on it.
// Every map names its cells in a comment block at its head.
#pragma once

#include <string>
#include <vector>

namespace kit {

enum class HeroFixture {
    Flat,        // ground only
    Ladder,      // class 21 column 5, rows 4-9, a ledge at row 3
    Water,       // a pool, rows 5-9: still (9) and the four currents 10-13
    Mire,        // class 20 cells, columns 8-15, rows 8-9
    Ice,         // class 23 ground, columns 6-17 of row 10
    Slopes,      // quarter ramp 0-3, half ramp 4-5, steep 25-28 and 18-19
    Pit,         // class 15 gap, columns 10-12, rows 10-11
    Hazards,     // class 16 at column 8, class 17 at column 14 (row 10)
    DropFloor,   // class 22 floor, columns 6-17 of row 7
    LowCeiling,  // class 8 ceiling, columns 6-17 of row 7
};

std::vector<HeroFixture> allHeroFixtures();
const char* heroFixtureName(HeroFixture f);
// The fixture's level description.
std::string heroFixtureLevel(HeroFixture f);

}  // namespace kit
