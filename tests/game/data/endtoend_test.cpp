// The demo data end to end: the kit's demo archive in the test's device
// root, read through the archive resources (no in-memory files): fonts with
// their character map, texts in two languages drawn with font 0 (golden),
// the math tables, the level pack, the sprite packs and the content types.
#include <gtest/gtest.h>

#include "game/data/datanode.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/textpack.h"
#include "game/sprite/sprite.h"
#include "tests/game/data/support.h"
#include "tests/game/sprite/support.h"
#include "tools/kit/demo.h"

namespace {

using namespace datatest;
using game::cg;

constexpr jint kLeftTop = 4 | 16;

class DemoDataTest : public GameDataTest {
protected:
    void SetUp() override {
        GameDataTest::SetUp();
        kit::writeFile(appFolder() + "/data.bar", kit::buildDemoArchive());
        game::setResourceOpener(nullptr);  // the data archive
    }
};

TEST_F(DemoDataTest, FontZeroDrawsATextPackString) {
    ASSERT_TRUE(game::readPackHeader(game::packNameOf(0)));
    EXPECT_EQ(utf8(cg().packName), "pack0");
    ObjectArray* fonts = newObjectArray(cid::Object, 3);
    for (jint f = 0; f < 3; ++f) game::loadSprite(fonts, f, f, game::kSpriteKeepData);
    cg().charMap = game::loadCharMap(3);
    ASSERT_NE(cg().charMap, nullptr);
    ASSERT_EQ(cg().charMap->classId(), cid::ShortArray);
    auto* font = static_cast<BSprite*>(fonts->data()[0]);
    ASSERT_NE(font, nullptr);
    font->setCharMap(static_cast<ShortArray*>(cg().charMap));

    // English (LZMA, in sub-pack file 1), then German into the same slot.
    game::loadTextPackResource(game::packNameOf(0), 6);
    ASSERT_TRUE(game::isTextPackLoaded(6));
    String* english = game::getString(65536 + 4);
    EXPECT_EQ(utf8(english), "NEW GAME\x03");
    game::loadTextPackResource(game::packNameOf(0), 7);
    String* german = game::getString(65536 + 4);
    EXPECT_EQ(utf8(german), "NEUES SPIEL\x03");

    spritetest::Screen screen;
    font->drawString(screen.g, english, nullptr, 4, 4, kLeftTop, false);
    font->drawString(screen.g, german, nullptr, 4, 14, kLeftTop, false);
    jint x1, y1, x2, y2;
    ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
    // The goldens live beside this test.
    spritetest::expectGolden("../../data/golden/demo_font_texts", screen, 480 - 30, 0, 30, 60);
    EXPECT_EQ(Application::pendingException(), nullptr);
}

TEST_F(DemoDataTest, MathLevelSpritesAndContentTypes) {
    game::loadMathTables(game::packNameOf(1), 0, 1);
    ASSERT_NE(cg().sineTable, nullptr);
    EXPECT_EQ(static_cast<IntArray*>(cg().sineTable)->data()[512], 16384);

    ASSERT_TRUE(game::readPackHeader(game::packNameOf(2)));
    game::loadLevelLayers(0, 0);
    EXPECT_NE(cg().layerMaps->data()[0], nullptr);
    EXPECT_NE(cg().layerMaps->data()[1], nullptr);
    EXPECT_EQ(cg().layerMaps->data()[2], nullptr);
    EXPECT_NE(cg().collisionMap, nullptr);
    EXPECT_EQ(cg().collisionWidth, 40);
    EXPECT_EQ(cg().mapPixelWidth, 40 * 36);
    ByteArray* extra = game::loadResource(16);
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->length(), 2);

    ASSERT_TRUE(game::readPackHeader(game::packNameOf(18)));
    ObjectArray* sprites = newObjectArray(cid::Object, 13);
    for (jint r = 0; r < 13; ++r) game::loadSprite(sprites, r, r, 0x2);
    for (jint r = 0; r < 13; ++r) {
        auto* s = static_cast<BSprite*>(sprites->data()[r]);
        ASSERT_NE(s, nullptr);
        EXPECT_GT(s->getFrameCount(), 0) << r;
    }
    game::loadContentTypes(jstr("types.bin"));
    EXPECT_EQ(utf8(game::getSoundContentType(1)), "audio/x-wav");
    EXPECT_EQ(Application::pendingException(), nullptr);
}

}  // namespace
