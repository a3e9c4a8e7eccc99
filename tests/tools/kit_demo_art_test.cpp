// The demo's look: the screens' backdrop covers the whole view, every tile
// frame stays inside its cell, every painted cell of every stage names a
// tile frame that exists, and no screen text is a stand-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tools/kit/demo_art.h"
#include "tools/kit/demo_game.h"
#include "tools/kit/demo_screens.h"
#include "tools/kit/demo_world.h"
#include "tools/kit/hero_sprite.h"
#include "tools/kit/level.h"

namespace {

struct Box {
    int x0, y0, x1, y1;  // half-open
};

// The box a primitive module placed at (x, y) can touch.
Box reach(const kit::SpriteModule& m, int x, int y) {
    if (m.marker == kit::SpriteModule::fillTriangle(0, 0, 0, 0, 0).marker) {
        const int xs[] = {0, m.params[0], m.params[2]}, ys[] = {0, m.params[1], m.params[3]};
        return {x + *std::min_element(xs, xs + 3), y + *std::min_element(ys, ys + 3), x + *std::max_element(xs, xs + 3),
                y + *std::max_element(ys, ys + 3)};
    }
    return {x, y, x + m.width, y + m.height};
}

TEST(DemoArt, TheBackdropCoversTheWholeView) {
    const kit::SpriteModel m = kit::demoBackdropSprite();
    ASSERT_GE(m.frames.size(), 2u);
    // Frame 0 is drawn at the view's centre: its filled rectangles alone
    // must leave no pixel of the 800 x 480 view open.
    std::vector<char> covered(size_t(kit::kViewWidth * kit::kViewHeight), 0);
    const uint8_t fill = kit::SpriteModule::fillRect(0, 1, 1).marker;
    for (const kit::FrameModule& fm : m.frames[0].modules) {
        const kit::SpriteModule& mod = m.modules[size_t(fm.index)];
        if (mod.marker != fill || (mod.color >> 24) != 0xFF) continue;
        for (int y = std::max(0, fm.y + 240); y < std::min(480, fm.y + 240 + mod.height); ++y)
            for (int x = std::max(0, fm.x + 400); x < std::min(800, fm.x + 400 + mod.width); ++x)
                covered[size_t(y * 800 + x)] = 1;
    }
    EXPECT_EQ(std::count(covered.begin(), covered.end(), 0), 0);
}

TEST(DemoArt, EveryTileFrameStaysInsideItsCell) {
    const kit::SpriteModel m = kit::demoTileSprite();
    ASSERT_EQ(int(m.frames.size()), kit::kDemoTileFrames);
    for (size_t f = 0; f < m.frames.size(); ++f) {
        EXPECT_FALSE(m.frames[f].modules.empty()) << "frame " << f;
        for (const kit::FrameModule& fm : m.frames[f].modules) {
            const Box b = reach(m.modules[size_t(fm.index)], fm.x, fm.y);
            EXPECT_TRUE(b.x0 >= 0 && b.y0 >= 0 && b.x1 <= kit::kTileSize && b.y1 <= kit::kTileSize)
                << "frame " << f << " reaches " << b.x0 << "," << b.y0 << " - " << b.x1 << "," << b.y1;
        }
    }
}

void expectPaintedCellsExist(const kit::LevelModel& level, const std::string& name) {
    bool painted = false;
    for (int l = 0; l < 4; ++l) {
        if (!level.layers[size_t(l)]) continue;
        for (uint16_t v : level.layers[size_t(l)]->cells) {
            if (v == kit::kCellEmpty) continue;
            painted = painted || l == 2;
            EXPECT_LT(v & 0x1FFF, kit::kDemoTileFrames) << name << " layer " << l;
        }
    }
    EXPECT_TRUE(painted) << name << " paints no cell of layer 2";
}

TEST(DemoArt, EveryStagePaintsItsMapWithTilesThatExist) {
    expectPaintedCellsExist(kit::parseLevelDescription(kit::kDemoStage), "stage 0");
    for (const kit::DemoStage& d : kit::demoStages())
        expectPaintedCellsExist(kit::demoStageLevel(d), "stage " + std::to_string(d.stage));
}

TEST(DemoArt, TheStagesGroundIsPaintedWhereItIsSolid) {
    // Stage 1's floor: the top solid row grows grass, the row below is wall.
    const kit::LevelModel level = kit::demoStageLevel(kit::demoStages().front());
    const kit::TileLayer& map = *level.layers[4];
    const kit::TileLayer& art = *level.layers[2];
    for (int c = 0; c < map.width; ++c) {
        const uint16_t bottom = map.at(c, map.height - 1);
        if ((bottom & 0x1FFF) != 6 || (map.at(c, map.height - 2) & 0x1FFF) != 6) continue;
        EXPECT_EQ(art.at(c, map.height - 1), kit::kTileWall) << "column " << c;
    }
}

TEST(DemoTexts, NoScreenTextIsAStandIn) {
    for (int slot : {0, 1})
        for (bool german : {false, true}) {
            const std::vector<std::string> texts = kit::screenTexts(slot, german);
            for (size_t i = 0; i < texts.size(); ++i)
                EXPECT_NE(texts[i].rfind("TEXT ", 0), 0u)
                    << "slot " << slot << (german ? " de" : " en") << " entry " << i << ": " << texts[i];
        }
}

TEST(DemoTexts, ScreenTextsUseOnlyLettersTheDemoFontHas) {
    // Capitals, digits, the font's punctuation, line breaks, the parameter
    // marker "\\d" and the version marker "%VER%", which the game replaces.
    const std::string glyphs = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,!?:-'_\n";
    for (int slot : {0, 1})
        for (bool german : {false, true}) {
            const std::vector<std::string> texts = kit::screenTexts(slot, german);
            for (size_t i = 0; i < texts.size(); ++i) {
                std::string s = texts[i].substr(0, texts[i].size() - 1);  // the terminator
                for (size_t p; (p = s.find("\\d")) != std::string::npos;) s.erase(p, 2);
                for (size_t p; (p = s.find("%VER%")) != std::string::npos;) s.erase(p, 5);
                for (char c : s)
                    EXPECT_NE(glyphs.find(c), std::string::npos)
                        << "slot " << slot << (german ? " de" : " en") << " entry " << i << " '" << c << "'";
            }
        }
}

}  // namespace

namespace {

// Every actor a stage places draws with a sprite the stage loads: rows
// without a sprite of their own gain the look of their type, the arena
// actors a boss-coloured copy of the hero's sprite. Trigger zones stay
// unseen, and so do the thrown and spawned hazards, whose behaviour runs
// on the lengths of the animations they have (none).
TEST(DemoArt, EveryStageActorNamesASpriteOfPackNineteenOrItsOwn) {
    kit::ActorTables t = kit::demoActorTables();
    kit::addDemoGameActorSprites(t);
    std::map<int, const kit::ActorTables::Row*> bySubtype;
    for (const kit::ActorTables::Row& r : t.rows) bySubtype[r.subtype] = &r;
    int drawn = 0;
    for (const kit::DemoStage& d : kit::demoStages()) {
        for (const kit::LevelRecord& rec : kit::demoStageLevel(d).objects) {
            if (rec.values.empty() || rec.values[0] >= 2000) continue;
            auto it = bySubtype.find(rec.values[0]);
            ASSERT_NE(it, bySubtype.end()) << "stage " << d.stage << " subtype " << rec.values[0];
            const std::vector<int32_t>& v = it->second->values;
            const bool unseen = v[5] == 10 || kit::unseenHazard(v[5]);
            if (unseen && v[2] < 0) continue;
            EXPECT_GE(v[2], 0) << "stage " << d.stage << " subtype " << rec.values[0] << " type " << v[5];
            ++drawn;
        }
    }
    EXPECT_GT(drawn, 0);
}

TEST(DemoArt, ActorLooksAreDistinctAndHoldEveryAnimation) {
    std::vector<kit::SpriteModel> looks;
    for (int k = 0; k < kit::kDemoActorLooks; ++k) looks.push_back(kit::demoActorSprite(kit::ActorLook(k)));
    for (size_t a = 0; a < looks.size(); ++a) {
        EXPECT_EQ(int(looks[a].anims.size()), kit::kDemoActorAnims);
        for (size_t b = a + 1; b < looks.size(); ++b) EXPECT_NE(looks[a].modules, looks[b].modules) << a << " " << b;
    }
    // The arena sprite keeps the hero's geometry and timing, only its colours change.
    const kit::SpriteModel arena = kit::demoArenaSprite(), hero = kit::heroSprite();
    EXPECT_EQ(arena.frames, hero.frames);
    EXPECT_EQ(arena.anims, hero.anims);
    EXPECT_NE(arena.images->palettes, hero.images->palettes);
}

}  // namespace
