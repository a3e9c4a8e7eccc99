// The hero's fixture maps compile through the level description and hold
// the cells their names promise, where the states' tests put the hero.
#include <gtest/gtest.h>

#include "tools/kit/hero_fixtures.h"
#include "tools/kit/level.h"

namespace {

using kit::HeroFixture;

int classAt(const kit::TileLayer& l, int c, int r) { return l.at(c, r) & 0x1FFF; }

TEST(HeroFixtures, EveryMapCompilesWithGroundUnderIt) {
    for (HeroFixture f : kit::allHeroFixtures()) {
        kit::LevelModel m = kit::parseLevelDescription(kit::heroFixtureLevel(f));
        ASSERT_TRUE(m.layers[4].has_value()) << kit::heroFixtureName(f);
        const kit::TileLayer& l = *m.layers[4];
        EXPECT_EQ(l.width, 24);
        EXPECT_EQ(l.height, 12);
        EXPECT_EQ(classAt(l, 0, 11), 8) << kit::heroFixtureName(f);
    }
}

TEST(HeroFixtures, CellsOfEachFamily) {
    struct Case {
        HeroFixture f;
        int col, row, cls;
    } cases[] = {
        {HeroFixture::Ladder, 5, 9, 21},   {HeroFixture::Ladder, 5, 3, 21},  {HeroFixture::Water, 6, 8, 10},
        {HeroFixture::Water, 9, 8, 11},    {HeroFixture::Water, 12, 8, 12},  {HeroFixture::Water, 16, 8, 13},
        {HeroFixture::Water, 5, 8, 9},     {HeroFixture::Mire, 8, 9, 20},    {HeroFixture::Ice, 6, 10, 23},
        {HeroFixture::Slopes, 2, 9, 0},    {HeroFixture::Slopes, 8, 9, 5},   {HeroFixture::Slopes, 11, 9, 25},
        {HeroFixture::Slopes, 18, 9, 19},  {HeroFixture::Pit, 11, 11, 15},   {HeroFixture::Hazards, 8, 10, 16},
        {HeroFixture::Hazards, 14, 10, 17}, {HeroFixture::DropFloor, 6, 7, 22}, {HeroFixture::LowCeiling, 17, 7, 8},
    };
    for (const Case& c : cases) {
        kit::LevelModel m = kit::parseLevelDescription(kit::heroFixtureLevel(c.f));
        EXPECT_EQ(classAt(*m.layers[4], c.col, c.row), c.cls) << kit::heroFixtureName(c.f) << " " << c.col << "," << c.row;
    }
}

}  // namespace
