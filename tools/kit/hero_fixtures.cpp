// The hero's fixture maps (see hero_fixtures.h).
#include "tools/kit/hero_fixtures.h"

#include <string>

namespace kit {

namespace {

constexpr int kW = 24, kH = 12;

using Grid = std::vector<std::string>;

Grid ground() {
    Grid g(kH, std::string(kW, '.'));
    g[10] = std::string(kW, '8');
    g[11] = std::string(kW, '8');
    for (int r = 0; r < 10; ++r) {  // walls at both ends
        g[static_cast<size_t>(r)][0] = '6';
        g[static_cast<size_t>(r)][kW - 1] = '6';
    }
    return g;
}

void put(Grid& g, int col0, int col1, int row0, int row1, char c) {
    for (int r = row0; r <= row1; ++r)
        for (int c0 = col0; c0 <= col1; ++c0) g[static_cast<size_t>(r)][static_cast<size_t>(c0)] = c;
}

std::string describe(const Grid& g) {
    std::string s = "layer 4 " + std::to_string(kW) + " " + std::to_string(kH) + "\n";
    for (const std::string& row : g) s += row + "\n";
    return s;
}

}  // namespace

std::vector<HeroFixture> allHeroFixtures() {
    return {HeroFixture::Flat,    HeroFixture::Ladder, HeroFixture::Water,   HeroFixture::Mire,
            HeroFixture::Ice,     HeroFixture::Slopes, HeroFixture::Pit,     HeroFixture::Hazards,
            HeroFixture::DropFloor, HeroFixture::LowCeiling};
}

const char* heroFixtureName(HeroFixture f) {
    switch (f) {
    case HeroFixture::Flat: return "flat";
    case HeroFixture::Ladder: return "ladder";
    case HeroFixture::Water: return "water";
    case HeroFixture::Mire: return "mire";
    case HeroFixture::Ice: return "ice";
    case HeroFixture::Slopes: return "slopes";
    case HeroFixture::Pit: return "pit";
    case HeroFixture::Hazards: return "hazards";
    case HeroFixture::DropFloor: return "drop-floor";
    case HeroFixture::LowCeiling: return "low-ceiling";
    }
    return "?";
}

std::string heroFixtureLevel(HeroFixture f) {
    Grid g = ground();
    std::string head = std::string("# hero fixture: ") + heroFixtureName(f) + "\n";
    switch (f) {
    case HeroFixture::Flat:
        break;
    case HeroFixture::Ladder:
        put(g, 5, 5, 4, 9, 'l');     // 21
        put(g, 2, 8, 3, 3, '8');     // the ledge the ladder leads to
        put(g, 5, 5, 3, 3, 'l');
        break;
    case HeroFixture::Water:
        put(g, 4, 19, 5, 9, '9');    // still water
        put(g, 6, 7, 5, 9, 'a');     // 10 up
        put(g, 9, 10, 5, 9, 'b');    // 11 down
        put(g, 12, 14, 7, 9, 'c');   // 12 right
        put(g, 16, 18, 7, 9, 'd');   // 13 left
        put(g, 3, 3, 4, 9, '6');     // pool walls
        put(g, 20, 20, 4, 9, '6');
        break;
    case HeroFixture::Mire:
        put(g, 8, 15, 8, 9, 'k');    // 20
        break;
    case HeroFixture::Ice:
        put(g, 6, 17, 10, 10, 'n');  // 23: floor with the slippery flag
        break;
    case HeroFixture::Slopes:
        // Quarter ramp up to the right (classes 0-3), then a half ramp
        // (4-5); steep cells 25-28 and 18-19 further on.
        g[9][2] = '0';
        g[9][3] = '1';
        g[9][4] = '2';
        g[9][5] = '3';
        g[9][7] = '4';
        g[9][8] = '5';
        g[9][11] = 'p';              // 25
        g[9][12] = 'q';
        g[9][13] = 'r';
        g[9][14] = 's';              // 28
        g[9][17] = 'i';              // 18
        g[9][18] = 'j';              // 19
        break;
    case HeroFixture::Pit:
        put(g, 10, 12, 10, 11, 'f'); // 15
        break;
    case HeroFixture::Hazards:
        g[10][8] = 'g';              // 16 instant death
        g[10][14] = 'h';             // 17 damage
        break;
    case HeroFixture::DropFloor:
        put(g, 6, 17, 7, 7, 'm');    // 22
        break;
    case HeroFixture::LowCeiling:
        put(g, 6, 17, 7, 7, '8');
        break;
    }
    return head + describe(g);
}

}  // namespace kit
