// The core library's statics: every reference field is a root that
// survives collections, the constant tables and menus as the class
// initialiser builds them, the glyph font, Util's reader and the fill row.
#include <gtest/gtest.h>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/data/statics.h"
#include "game/data/util.h"
#include "game/sprite/bitmapfont.h"
#include "tests/game/data/support.h"

namespace {

using namespace datatest;
using game::cg;

class StaticsTest : public GameDataTest {};

struct RefSnapshot {
    const char* owner;
    const char* name;
    Object* object;
    jint classId;
    jint length;
};

template <typename T>
void snapshot(const char* owner, T& statics, std::vector<RefSnapshot>& out) {
    for (const game::FieldInfo& f : T::fields()) {
        if (!f.isRef) continue;
        Object* o = *reinterpret_cast<Object**>(reinterpret_cast<char*>(&statics) + f.offset);
        jint len = o && ArrayBase::isArrayClass(o->classId()) ? static_cast<ArrayBase*>(o)->length() : -1;
        out.push_back({owner, f.name, o, o ? o->classId() : -1, len});
    }
}

TEST_F(StaticsTest, EveryReferenceFieldIsARootAndSurvivesCollections) {
    std::vector<RefSnapshot> refs;
    snapshot("cGame", cg(), refs);
    snapshot("Util", game::util(), refs);
    snapshot("Mordle", game::mordle(), refs);
    snapshot("Magician", game::magician(), refs);
    // Every reference field's address is a root slot of the block.
    const auto& roots = StaticClass::instance()->rootSlots();
    auto rooted = [&](void* address) {
        return std::find(roots.begin(), roots.end(), static_cast<Object**>(address)) != roots.end();
    };
    for (const game::FieldInfo& f : game::cGameStatics::fields()) {
        if (f.isRef) {
            EXPECT_TRUE(rooted(reinterpret_cast<char*>(&cg()) + f.offset)) << f.name;
        }
    }

    // Garbage, collections, more garbage: the tables stay what they were.
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 2000; ++i) newIntArray(64 + i % 32);
        ObjectManager::instance()->gc(ObjectManager::kForced);
    }
    std::vector<RefSnapshot> after;
    snapshot("cGame", cg(), after);
    snapshot("Util", game::util(), after);
    snapshot("Mordle", game::mordle(), after);
    snapshot("Magician", game::magician(), after);
    ASSERT_EQ(refs.size(), after.size());
    for (size_t i = 0; i < refs.size(); ++i) {
        EXPECT_EQ(refs[i].object, after[i].object) << refs[i].owner << "." << refs[i].name;
        if (after[i].object) {
            EXPECT_EQ(refs[i].classId, after[i].object->classId()) << refs[i].name;
            EXPECT_EQ(refs[i].length, after[i].length) << refs[i].name;
        }
    }
    // The contents of nested tables survive too.
    auto* row = static_cast<IntArray*>(cg().panelButtons->data()[3]);
    EXPECT_EQ(row->data()[8], 16777233);
    EXPECT_EQ(static_cast<ShortArray*>(cg().pathTables->data()[1])->length(), 41);
}

TEST_F(StaticsTest, MenusHaveNoNullRowsOrRecords) {
    ObjectArray* menus[] = {cg().mainMenu,  cg().gameMenu,     cg().difficultyMenu, cg().stageMenu, cg().pauseMenu,
                            cg().optionsMenu, cg().questionMenu, cg().textBoxMenu,  cg().recordsMenu};
    for (ObjectArray* menu : menus) {
        ASSERT_NE(menu, nullptr);
        ASSERT_GE(menu->length(), 5);
        for (jint r = 0; r < menu->length(); ++r) {
            auto* row = static_cast<ObjectArray*>(menu->data()[r]);
            ASSERT_NE(row, nullptr);
            ASSERT_EQ(row->classId(), cid::ObjectArray);
            for (jint k = 0; k < row->length(); ++k) {
                ASSERT_NE(row->data()[k], nullptr) << "row " << r << " record " << k;
                EXPECT_EQ(row->data()[k]->classId(), cid::IntArray);
            }
        }
        // Rows 3 and 4 start with an empty record; the header is eleven ints.
        EXPECT_EQ(static_cast<IntArray*>(static_cast<ObjectArray*>(menu->data()[2])->data()[0])->length(), 0);
        auto* header = static_cast<IntArray*>(static_cast<ObjectArray*>(menu->data()[0])->data()[0]);
        EXPECT_EQ(header->length(), 11);
        EXPECT_EQ(header->data()[3], 400);
    }
    for (ObjectArray* layout : {cg().screenLayoutA, cg().screenLayoutB, cg().screenLayoutC, cg().screenLayoutD}) {
        ASSERT_NE(layout->data()[0], nullptr);
        EXPECT_EQ(static_cast<IntArray*>(layout->data()[0])->length(), 0);
    }
}

TEST_F(StaticsTest, DerivedValuesAndTables) {
    EXPECT_EQ(cg().angleSteps, 2048);
    EXPECT_EQ(cg().quarterSteps, 512);
    EXPECT_EQ(cg().halfSteps, 1024);
    EXPECT_EQ(cg().threeQuarterSteps, 1536);
    EXPECT_EQ(cg().fullSteps, 2048);
    const game::Int13 hud = {184, 6, 190, 22, 6, 7, 6, 19, 60, 12800, 512, 38, 171};
    EXPECT_EQ(cg().hudLayout, hud);
    EXPECT_EQ(cg().bossMaskCount, 17);

    // The count follows the mask table's length and nothing else.
    game::mordle().maskTable = newIntArray(5);
    cg().angleSteps = 360;
    game::cGame_clinit();
    EXPECT_EQ(cg().bossMaskCount, 5);
    EXPECT_EQ(cg().quarterSteps, 512);

    ShortArray* rows = cg().tileRowFlags;
    ASSERT_EQ(rows->length(), 166);
    EXPECT_EQ(rows->data()[12], 64);
    EXPECT_EQ(rows->data()[30], 0);   // last of the eleven zeros
    EXPECT_EQ(rows->data()[31], 17);
    EXPECT_EQ(rows->data()[165], 512);
    EXPECT_EQ(rows->data()[164], 17);

    IntArray* runs = cg().identityRuns;
    ASSERT_EQ(runs->length(), 112);
    EXPECT_EQ(runs->data()[35], 35);
    EXPECT_EQ(runs->data()[36], 0);
    EXPECT_EQ(runs->data()[104], 67);
    EXPECT_EQ(runs->data()[111], 3);

    // Eight sequences of eight single keys: six digits, then '*', then '#';
    // no two start with the same key (the matcher takes the first match).
    ASSERT_EQ(cg().keySequences->length(), 8);
    jint firstKeys = 0;
    for (jint i = 0; i < 8; ++i) {
        auto* seq = static_cast<IntArray*>(cg().keySequences->data()[i]);
        ASSERT_EQ(seq->length(), 8);
        for (jint k = 0; k < 6; ++k) {
            const jint key = seq->data()[k];
            EXPECT_TRUE(key >= 1 && key <= 0x200 && (key & (key - 1)) == 0) << "row " << i << " key " << k;
        }
        EXPECT_EQ(seq->data()[6], 0x800) << i;
        EXPECT_EQ(seq->data()[7], 0x400) << i;
        EXPECT_EQ(firstKeys & seq->data()[0], 0) << "row " << i << " starts like an earlier one";
        firstKeys |= seq->data()[0];
    }

    EXPECT_EQ(cg().levelTimer, -1);
    EXPECT_EQ(cg().tapY, -1);
    EXPECT_EQ(cg().buttonAlphaMask, static_cast<jint>(0x88FFFFFFu));
    EXPECT_TRUE(cg().cameraSnap);
    EXPECT_EQ(cg().frameCache->length(), 384000);
    EXPECT_EQ(static_cast<IntArray*>(cg().loadingHintLayouts->data()[0])->length(), 30);
    EXPECT_EQ(game::magician().stepTable->length(), 41);
    EXPECT_EQ(game::mordle().stepTable->length(), 68);
    EXPECT_EQ(utf8(cg().textEncoding), "UTF-8");
}

// --- the glyph font ---------------------------------------------------------------

BitmapFont* glyphFont(jint bitsPerPixel, std::initializer_list<jbyte> data, jint width, jint height) {
    BitmapFont* f = newObject<BitmapFont>();
    const jint perByte = 8 / bitsPerPixel;
    f->bitShift = bitsPerPixel == 1 ? 0 : (bitsPerPixel == 2 ? 1 : (bitsPerPixel == 4 ? 2 : 3));
    f->byteShift = perByte == 8 ? 3 : (perByte == 4 ? 2 : (perByte == 2 ? 1 : 0));
    f->pixelMask = perByte - 1;
    f->valueMask = (1 << bitsPerPixel) - 1;
    f->glyphHeight = height;
    f->glyphData = ByteArray::fill(newByteArray(static_cast<jint>(data.size())), data);
    f->glyphWidths = ByteArray::fill(newByteArray(2), {static_cast<jbyte>(width), 0});
    f->glyphOffsets = IntArray::fill(newIntArray(2), {0, 0});
    f->glyphPixels = newIntArray(64);
    f->charMap = jstr("AB");
    f->setColor(0x112233);
    return f;
}

TEST_F(StaticsTest, GlyphFontIdsCountFromOne) {
    EXPECT_EQ(newObject<BitmapFont>()->id, 1);
    EXPECT_EQ(newObject<BitmapFont>()->id, 2);
    EXPECT_EQ(newObject<BitmapFont>()->id, 3);
}

TEST_F(StaticsTest, DecodeGlyphTables) {
    const jint c1 = static_cast<jint>(0xFF112233u), c2 = static_cast<jint>(0xFF445566u);
    struct Case {
        const char* name;
        jint bits;
        std::initializer_list<jbyte> data;
        jint width, height;
        bool twoColor;
        std::vector<jint> expected;
    };
    const Case cases[] = {
        // 1 bit: pixel p is bit p of its byte (low bit first).
        {"1-bit", 1, {static_cast<jbyte>(0x95)}, 4, 2, false, {c1, 0, c1, 0, c1, 0, 0, c1}},
        // 2 bits: values 1, 2, 3, 0 in one byte.
        {"2-bit two colours", 2, {static_cast<jbyte>(0x39)}, 4, 1, true, {c1, c2, c2, 0}},
        {"2-bit value 2 without twoColor", 2, {static_cast<jbyte>(0x39)}, 4, 1, false, {c1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        BitmapFont* f = glyphFont(c.bits, c.data, c.width, c.height);
        if (c.twoColor) {
            f->setColor2(0x445566);
        }
        IntArray::fill(f->glyphPixels, {7, 7, 7, 7, 7, 7, 7, 7, 7});
        f->decodeGlyph(0, f->glyphPixels);
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(f->glyphPixels->data()[i], c.expected[i]) << c.name << " pixel " << i;
        EXPECT_EQ(f->glyphPixels->data()[c.expected.size()], 7) << c.name << ": nothing past the glyph";
    }
    // Width 0 writes nothing; a glyph outside the arrays writes nothing (logged).
    BitmapFont* f = glyphFont(1, {static_cast<jbyte>(0xFF)}, 4, 2);
    IntArray::fill(f->glyphPixels, {7, 7});
    f->decodeGlyph(1, f->glyphPixels);
    EXPECT_EQ(f->glyphPixels->data()[0], 7);
    log.clear();
    f->decodeGlyph(5, f->glyphPixels);
    f->glyphOffsets->data()[0] = 1;  // past the one data byte
    f->decodeGlyph(0, f->glyphPixels);
    EXPECT_EQ(f->glyphPixels->data()[0], 7);
    EXPECT_TRUE(log.contains("decodeGlyph"));
}

TEST_F(StaticsTest, DrawCharNeedsALoadedFontAndAKnownCharacter) {
    BitmapFont* f = glyphFont(1, {static_cast<jbyte>(0x0F)}, 2, 2);
    javax_microedition_lcdui_Image* img = javax_microedition_lcdui_Image::createImage(8, 8);
    javax_microedition_lcdui_Graphics* g = img->getGraphics();
    EXPECT_EQ(f->drawChar(g, 'A', 1, 1), 0) << "not loaded";
    f->loaded = 1;
    EXPECT_EQ(f->drawChar(g, 'Z', 1, 1), 0) << "absent character";
    EXPECT_EQ(f->drawChar(g, 'A', 1, 1), 2);
    IntArray* px = newIntArray(3);
    img->getRGB(px, 0, 3, 1, 1, 3, 1);
    EXPECT_NE(px->data()[0] & 0xFFFFFF, 0) << "the glyph's pixel";
    EXPECT_EQ(px->data()[2] & 0xFFFFFF, 0) << "past the glyph's width";
}

// Widths are signed bytes: 0x80 is -128, a glyph of no pixels, even where
// the arrays would hold 128 columns; drawChar hands the width back as read.
TEST_F(StaticsTest, GlyphWidthIsASignedByte) {
    BitmapFont* f = glyphFont(1, {}, 0, 2);
    ByteArray* data = newByteArray(32);
    for (jint i = 0; i < 32; ++i) data->data()[i] = static_cast<jbyte>(0xFF);
    f->glyphData = data;
    f->glyphWidths->data()[0] = static_cast<jbyte>(0x80);
    IntArray* pixels = newIntArray(256);
    for (jint i = 0; i < 256; ++i) pixels->data()[i] = 7;
    f->glyphPixels = pixels;
    log.clear();
    f->decodeGlyph(0, f->glyphPixels);
    for (jint i = 0; i < 256; ++i) ASSERT_EQ(f->glyphPixels->data()[i], 7) << "pixel " << i;
    EXPECT_FALSE(log.contains("decodeGlyph")) << "a negative width is no error";

    javax_microedition_lcdui_Image* img = javax_microedition_lcdui_Image::createImage(140, 4);
    javax_microedition_lcdui_Graphics* g = img->getGraphics();
    f->loaded = 1;
    EXPECT_EQ(f->drawChar(g, 'A', 0, 0), -128);
    IntArray* px = newIntArray(140 * 4);
    img->getRGB(px, 0, 140, 0, 0, 140, 4);
    for (jint i = 0; i < 140 * 4; ++i) ASSERT_EQ(px->data()[i] & 0xFFFFFF, 0) << "pixel " << i;
    // 0x7F is still 127 columns.
    f->glyphWidths->data()[0] = 0x7F;
    EXPECT_EQ(f->drawChar(g, 'A', 0, 0), 127);
    img->getRGB(px, 0, 140, 0, 0, 140, 4);
    EXPECT_NE(px->data()[126] & 0xFFFFFF, 0);
    EXPECT_EQ(px->data()[127] & 0xFFFFFF, 0);
}

TEST_F(StaticsTest, UtilReaderAndFillRow) {
    game::util().stream = streamOf({0, 0, 1, 2, 9});
    EXPECT_EQ(game::utilReadInt32(), 258);
    EXPECT_EQ(game::util().bytesRead, 4);
    EXPECT_EQ(game::utilReadByte(), 9);
    EXPECT_EQ(game::utilReadByte(), -1);
    EXPECT_EQ(game::util().bytesRead, 5);

    game::setAlphaFillColor(0x80FF0000);
    ASSERT_NE(cg().fillRow, nullptr);
    EXPECT_EQ(cg().fillRow->length(), 256);
    EXPECT_EQ(cg().fillRow->data()[255], 0x80FF0000);
    cg().fillRow->data()[3] = 1;  // a second fill with the same colour would restore it
    game::setAlphaFillColor(0x80FF0000);
    EXPECT_EQ(cg().fillRow->data()[3], 1);
    game::setAlphaFillColor(0x40000000);
    EXPECT_EQ(cg().fillRow->data()[3], 0x40000000);
}

}  // namespace
