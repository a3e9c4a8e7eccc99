// Painting the play field against small golden pictures (the view's top
// left corner, which the sprite engine turns to the screen's top right),
// and the placements that decide whether anything is painted.
#include "tests/game/actor/support.h"

#include "game/behaviour/fields.h"

#include "game/actor/paint.h"
#include "game/flow/screen.h"
#include "game/actor/screencalls.h"
#include "game/flow/flow_statics.h"
#include "game/flow/gmath.h"
#include "game/sprite/sprite.h"
#include "runtime/application.h"
#include "runtime/objectmanager.h"

namespace {

using namespace game;
using spritetest::Screen;

constexpr const char* kGolden = "tests/game/actor/golden";

kit::SpriteModule fill(uint32_t argb, int w, int h) { return kit::SpriteModule::fillRect(argb, w, h); }

// One frame (and animation) per module, each module anchored at (dx, dy).
BSprite* blocks(const std::vector<kit::SpriteModule>& modules, int dx, int dy) {
    kit::SpriteModel m;
    m.modules = modules;
    for (size_t i = 0; i < modules.size(); ++i) {
        kit::SpriteFrame f;
        f.modules = {{static_cast<int>(i), dx, dy, 0, 0}};
        m.frames.push_back(f);
        kit::SpriteAnim a;
        a.frames = {{static_cast<int>(i), 1}};
        m.anims.push_back(a);
    }
    return spritetest::loadSprite(m);
}

class PaintTest : public actortest::ActorTest {
protected:
    void SetUp() override {
        ActorTest::SetUp();
        screen = new Screen();
        cg().graphics = screen->g;
        actortest::centreCamera();
    }
    void TearDown() override {
        delete screen;
        ActorTest::TearDown();
    }
    cActor* drawn(jint subtype, jint x, jint y, jint layer, BSprite* s, jint anim, const std::vector<int16_t>& params = {}) {
        cActor* a = actortest::spawn(subtype, 1, x, y, 0xA0, params);
        a->layer = layer;
        a->sprite = s;
        a->setAnim(anim);
        addActiveActor(a);
        return a;
    }
    // The view's top-left w x h corner on the portrait screen.
    void golden(const char* name, jint w, jint h) { spritetest::expectGolden(name, *screen, 480 - h, 0, h, w, kGolden); }
    Screen* screen = nullptr;
};

TEST_F(PaintTest, TwoTileLayersWithEffectsAndActorsByLayer) {
    BSprite* tiles = blocks({fill(0xFFC00000, 36, 36), fill(0xFF0000C0, 36, 36), fill(0xFF00C000, 12, 12)}, 0, 0);
    cg().layerMaps = newObjectArray(cid::ShortArray, 5);
    cg().layerSizes = newObjectArray(cid::ShortArray, 5);
    cg().levelSprites = newObjectArray(cid::BSprite, 5);
    ShortArray* map0 = ShortArray::fill(newShortArray(6), 6, 0, 1, 0, 1, 0, 1);
    cg().layerMaps->data()[0] = map0;
    // Layer 1: small tiles over the second and last cells, one mirrored.
    ShortArray* map1 = ShortArray::fill(newShortArray(6), 6, -1, 2, -1, -1, -1, 2 | 0x4000);
    cg().layerMaps->data()[1] = map1;
    for (jint l : {0, 1}) {
        ShortArray* size = ShortArray::fill(newShortArray(2), 2, 3, 2);
        cg().layerSizes->data()[l] = size;
        cg().levelSprites->data()[l] = tiles;
    }
    BSprite* dots = blocks({fill(0xFFFFFF00, 10, 10), fill(0xFFFF00FF, 14, 14), fill(0xFFFFFFFF, 8, 8)}, -5, -10);
    cActor::spawnEffect(dots, 0, 60, 50, 0, 0);  // layer 0 effect: over layer 0 tiles, under layer 1
    drawn(6, 20, 40, 0, dots, 1);                 // layer 0 actor
    drawn(6, 48, 60, 1, dots, 2);                 // layer 1 actor, over the small tile
    cActor::spawnEffect(dots, 2, 100, 30, 1, 0);  // layer 1 effect beyond the map: repeats? no, layer 1 repeats
    paintField(0, 4);
    golden("field_two_layers", 120, 80);
    // Both small green tiles of layer 1 are drawn (the world's tile painter,
    // the mirrored one flipped inside its own cell), each 12 x 12.
    jint green = 0;
    for (uint16_t p : screen->pixels()) green += p == 0x0600;
    EXPECT_GE(green, 2 * 12 * 12 - 2 * 12 * 4) << "partly under the layer-1 actor and effects";
}

TEST_F(PaintTest, StripsWithCapsAndTheGrid) {
    BSprite* bars = blocks({fill(0xFFC00000, 36, 10), fill(0xFF00C000, 36, 10), fill(0xFF0000C0, 36, 10)}, 0, 0);
    drawn(182, 0, 0, 2, bars, 1, {3, 5, 0, 0});   // horizontal: first +1 (blue), last -1 (red)
    drawn(182, 0, 20, 2, bars, 1, {1, 5, 0, 0});  // one segment: the first-segment rule
    drawn(182, 112, 0, 2, bars, 1, {0, 6, 3, 1}); // vertical: params[2] segments, caps by bits 2 and 6
    BSprite* cell = blocks({fill(0xFFFFFFFF, 20, 20)}, 0, 0);
    drawn(134, 0, 40, 2, cell, 0, {2, 2});        // 2 x 2 cells of the subtype's 48 x 48... (row: 32 x 32)
    paintLayerActors(2);
    golden("strips_and_grid", 160, 120);
}

TEST_F(PaintTest, RepeatedSpriteAndDivisionsByData) {
    actortest::LogCapture log;
    BSprite* post = blocks({fill(0xFF00FFFF, 6, 30)}, -3, -30);
    cActor* a = drawn(6, 10, 60, 3, post, 0, {50, 1, 2});
    a->type = 13;
    cg().cameraX = 500;  // x0 = (10 - 100 / 2) mod 50 = -40
    paintLayerActors(3);
    golden("type13_repeat", 160, 70);
    // A step or divisor of 0 paints nothing and says so once.
    screen->clear();
    a->setParam(0, 0);
    paintLayerActors(3);
    a->setParam(0, 50);
    a->setParam(2, 0);
    paintLayerActors(3);
    EXPECT_EQ(screen->countNot(0), 0);
    int lines = 0;
    for (const std::string& l : log.lines()) lines += l.find("repeat step or divisor 0") != std::string::npos;
    EXPECT_EQ(lines, 1);
    // A wrapped sprite with a period of 0 and a tile layer of width 0 too.
    a->type = 29;
    a->subtype = 7;
    a->posX = 0;
    paintLayerActors(3);
    cg().layerMaps = newObjectArray(cid::ShortArray, 5);
    cg().layerSizes = newObjectArray(cid::ShortArray, 5);
    ShortArray* map = newShortArray(4);
    cg().layerMaps->data()[0] = map;
    ShortArray* size = ShortArray::fill(newShortArray(2), 2, 0, 4);
    cg().layerSizes->data()[0] = size;
    paintTileLayer(0);
    EXPECT_EQ(screen->countNot(0), 0);
    EXPECT_TRUE(log.contains("repeat period 0"));
    EXPECT_TRUE(log.contains("Tile layer 0 has width 0"));
}

// A grid (subtype 134: params[0] columns by params[1] rows of the subtype's
// constants 6 x 7) draws only the cells that can meet the view: its
// pictures are those of drawing every cell, whatever the frame's anchor,
// the steps' signs, the mirror, a turn and scale, translucency or a
// triangle reaching out of its module's box.
TEST_F(PaintTest, GridPicturesEqualDrawingEveryCell) {
    struct Case {
        const char* name;
        kit::SpriteModule module;
        int dx, dy;  // the module's place in its frame
        jint cols, rows, w, h, x, y, flags, scale, angle;
    };
    const Case cases[] = {
        {"anchored", fill(0xFFC08000, 30, 30), 0, 0, 40, 30, 36, 36, -300, -200, 0, 100, 0},
        {"far from its anchor", fill(0xFF00C0C0, 20, 20), -100, -60, 40, 30, 36, 36, -10, -10, 0, 100, 0},
        {"mirrored", fill(0xFF00C0C0, 20, 20), 40, 8, 30, 20, 45, 30, 700, -100, 1, 100, 0},
        {"negative steps", fill(0xFFFFFF00, 30, 30), 0, 0, 40, 30, -36, -36, 820, 500, 0, 100, 0},
        {"overlapping translucent", fill(0x80FF0000, 30, 30), 0, 0, 60, 40, 20, 20, -400, -300, 0, 100, 0},
        {"triangle beyond its box", kit::SpriteModule::fillTriangle(0xFF00FF00, 60, 0, 0, 60), 0, 0, 30, 20, 40, 40,
         -600, -300, 0, 100, 0},
        {"turned and scaled", fill(0xFF8080FF, 24, 12), -12, -6, 30, 20, 40, 40, -300, -200, 0, 150, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BSprite* s = blocks({c.module}, c.dx, c.dy);
        cActor* a = drawn(134, 0, 0, 2, s, 0, {static_cast<int16_t>(c.cols), static_cast<int16_t>(c.rows)});
        a->setTypeParam(6, c.w);
        a->setTypeParam(7, c.h);
        a->scale = c.scale;
        a->angle = c.angle;
        screen->clear();
        paintSprite(a, c.x, c.y, c.flags);
        const std::vector<uint16_t> culled = screen->pixels();
        screen->clear();
        for (jint col = 0; col < c.cols; ++col)
            for (jint row = 0; row < c.rows; ++row)
                drawSpriteFrame(s, 0, 0, c.x + col * c.w, c.y + row * c.h, c.flags, c.scale, c.angle);
        EXPECT_GT(screen->countNot(0), 0);
        EXPECT_TRUE(culled == screen->pixels()) << "the grid's picture differs from drawing every cell";
    }
}

// Counts the draws of translucent fills (one per cell of a translucent
// block), passing everything on to the host that was installed.
struct CountingHost : sprite::SpriteHost {
    explicit CountingHost(sprite::SpriteHost& inner) : host(inner) {}
    sprite::SpriteHost& host;
    int fills = 0;
    void setAlphaFillColor(jint argb) override { host.setAlphaFillColor(argb); }
    void drawTiledRect(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) override {
        ++fills;
        host.drawTiledRect(g, x, y, w, h);
    }
    jint sin(jint angle) override { return host.sin(angle); }
    jint quarterCircle() override { return host.quarterCircle(); }
    jint stepsPerCircle() override { return host.stepsPerCircle(); }
    javax_microedition_lcdui_Graphics* currentGraphics() override { return host.currentGraphics(); }
    IntArray* pixelBuffer(jint n) override { return host.pixelBuffer(n); }
    IntArray* rotationBuffer(jint n) override { return host.rotationBuffer(n); }
};

// Damaged sizes cost what the view holds, not what the data states: a
// 32767 x 32767 grid, a grid of 0 x 0 cells and a parallax repeat of step 1
// over a 2^30-pixel frame width each make a few hundred draws.
TEST_F(PaintTest, HugeGridsAndRepeatsDrawWhatTheViewHolds) {
    actortest::LogCapture log;
    CountingHost counter(sprite::host());
    sprite::setSpriteHost(&counter);
    BSprite* glass = blocks({fill(0x80FF0000, 30, 30)}, 0, 0);
    cActor* grid = drawn(134, 0, 0, 2, glass, 0, {32767, 32767});
    grid->setTypeParam(6, 36);
    grid->setTypeParam(7, 36);
    paintSprite(grid, -5, -5, 0);
    // Columns 0..22 and rows 0..13 reach into the view.
    EXPECT_EQ(counter.fills, 23 * 14);
    EXPECT_GT(screen->countNot(0), 0);
    // Cells of size 0 lie on each other: drawn once, said once.
    counter.fills = 0;
    grid->setTypeParam(6, 0);
    grid->setTypeParam(7, 0);
    paintSprite(grid, 100, 100, 0);
    paintSprite(grid, 100, 100, 0);
    EXPECT_EQ(counter.fills, 2);
    int lines = 0;
    for (const std::string& l : log.lines()) lines += l.find("grid cell size 0") != std::string::npos;
    EXPECT_EQ(lines, 1);

    counter.fills = 0;
    BSprite* post = blocks({fill(0x8000FFFF, 6, 30)}, -3, -30);
    cActor* a = drawn(6, 10, 300, 3, post, 0, {1, 1, 2});
    a->type = 13;
    a->setTypeParam(6, 0x7FFFFFFE);  // half a width of 2^30
    a->setTypeParam(7, 30);
    paintActor(a);
    // One copy a pixel, from where the post's right edge enters the view
    // to where its left edge leaves it.
    EXPECT_GE(counter.fills, 800);
    EXPECT_LE(counter.fills, 800 + 6 + 8);
    sprite::setSpriteHost(&counter.host);
}

// A repeat's picture is that of every copy the loop asks for.
TEST_F(PaintTest, RepeatPictureEqualsDrawingEveryCopy) {
    BSprite* post = blocks({fill(0xFF00FFFF, 6, 30), fill(0x80FFFF00, 30, 6)}, -3, -30);
    for (jint anim : {0, 1}) {
        SCOPED_TRACE(anim);
        cActor* a = drawn(6, 10, 200, 3, post, anim, {7, 3, 5});
        a->type = 13;
        a->setTypeParam(6, 3000);
        a->setTypeParam(7, 30);
        cg().cameraX = 1234;
        screen->clear();
        paintActor(a);
        const std::vector<uint16_t> culled = screen->pixels();
        screen->clear();
        const jint half = 1500, x0 = java::irem(10 - java::idiv(3 * (1234 - 400), 5), 7);
        for (jint sx = x0; sx < half + 800; sx += 7)
            if (sx + half >= 0) drawSpriteFrame(post, anim, 0, sx, 200 - cg().cameraY + 240, 0, 100, 0);
        EXPECT_GT(screen->countNot(0), 0);
        EXPECT_TRUE(culled == screen->pixels());
    }
}

// The charge ring of hero state 37: five red and five yellow/green arcs of
// 27 and 45 degrees round the hero, turning with the frame counter (drawn
// only since partial arcs are drawn at all).
TEST_F(PaintTest, State37Ring) {
    BSprite* body = blocks({fill(0xFF808080, 10, 20)}, -5, -20);
    cActor* h = actortest::makeHero(60, 130);
    h->sprite = body;
    h->setAnim(0);
    h->layer = 2;
    h->flags |= 0x80;
    h->viewRating = 0;
    ca().heroState = 37;
    ca().ringRadius = 30 << 8;
    cg().playFrames = 9;  // start (9 * 2000 >> 8) mod 360 = 70; odd: green
    paintActor(h);
    // The ring is drawn straight on the screen's Graphics (unturned), its
    // box at (60 - 30, 130 - 30 - 99), 59 px across.
    spritetest::expectGolden("state37_ring", *screen, 20, 0, 80, 70, kGolden);
    // The arcs are partial: more than the body is painted.
    EXPECT_GT(screen->countNot(0), 10 * 20 + 40) << screen->countNot(0);
}

// A structure (segment record 0) spanning x 99-100 at the height of an
// actor at (100, 100): the behaviours' projection puts that actor at the
// orbit angle the projection scale names (scale = angle << 8).
void orbitAt(jint angle) {
    if (!ca().segments) {
        ObjectArray* segs = newObjectArray(cid::IntArray, 3);
        ca().segments = segs;
        for (jint i = 0; i < 3; ++i) {
            IntArray* r = newIntArray(9);
            ca().segments->data()[i] = r;
        }
    }
    jint* e = static_cast<IntArray*>(ca().segments->data()[0])->data();
    e[0] = 1;
    e[1] = e[2] = e[3] = 0;
    e[4] = 99;
    e[5] = 100;
    e[6] = 100;
    e[7] = 100;
    game::behaviour::segmentScale() = angle << 8;
}

TEST_F(PaintTest, StructureActorHiddenBehindItsStructure) {
    ca().boxC = ShortArray::fill(newShortArray(4), 4, 0, 0, 0, 0);
    orbitAt(0);
    BSprite* s = blocks({fill(0xFFFFFFFF, 20, 20)}, -10, -20);
    cActor* a = drawn(6, 100, 100, 2, s, 0);
    a->flags |= 0x2000;
    struct Case {
        jint angle;
        bool shown;
    };
    for (const Case& c : {Case{90, true}, Case{91, false}, Case{180, false}, Case{269, false}, Case{270, true}}) {
        screen->clear();
        orbitAt(c.angle);
        paintActor(a);
        EXPECT_EQ(screen->countNot(0) > 0, c.shown) << c.angle;
    }
}

// The orbit answer is a scratch pair: painting an actor on a structure
// makes no Java object once the pair exists.
TEST_F(PaintTest, StructureActorPaintMakesNoObjects) {
    orbitAt(0);
    BSprite* s = blocks({fill(0xFFFFFFFF, 20, 20)}, -10, -20);
    cActor* a = drawn(6, 100, 100, 2, s, 0);
    a->flags |= 0x2000;
    IntArray* first = getOrbitPosition(0);
    EXPECT_EQ(getOrbitPosition(720), first) << "one scratch pair";
    paintActor(a);  // warm-up
    ObjectManager& objects = Application::instance()->objects();
    const size_t before = objects.objectCount();
    const uint64_t collections = objects.collections();
    for (jint i = 0; i < 50; ++i) {
        orbitAt(i * 7);
        paintActor(a);
    }
    ASSERT_EQ(objects.collections(), collections) << "a collection would make the count net";
    EXPECT_EQ(objects.objectCount(), before);
}

// Puts a sprite in the sprite table under (id, group).
void registerSprite(jint id, jint group, BSprite* s) {
    if (!cg().spriteIndex) cg().spriteIndex = newObjectArray(cid::IntArray, 32);
    if (!cg().spriteIndex->data()[group]) {
        IntArray* g = newIntArray(64);
        ObjectArray::set(cg().spriteIndex, group, g);
    }
    const jint slot = 1 + group % 4;
    if (!cg().sprites || cg().sprites->length() <= slot) cg().sprites = newObjectArray(cid::Object, 8);
    ObjectArray::set(cg().sprites, slot, s);
    static_cast<IntArray*>(cg().spriteIndex->data()[group])->data()[id] = slot;
}

// A screen marker: none without sprite (10, 18); with it, animation 0 on
// layer 12, its frame standing 5 px below y (here 20 px high), as a world
// point below the view's top or view-fixed, living its lifetime's steps.
TEST_F(PaintTest, ScreenEffectMarksAPlaceForItsLifetime) {
    cg().cameraX = 1000;
    cg().cameraY = 1000;
    EXPECT_EQ(spawnScreenEffect(1500, 50, 32, false), nullptr);
    BSprite* marker = blocks({fill(0xFFFFFFFF, 12, 20), fill(0xFF0000FF, 12, 20)}, -6, -20);
    registerSprite(10, 18, marker);
    cActor* e = spawnScreenEffect(1500, 50, 32, false);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->sprite, marker);
    EXPECT_EQ(e->anim, 0);
    EXPECT_EQ(e->layer, 12);
    EXPECT_EQ(e->posX, 1500);
    EXPECT_EQ(e->posY, 1000 + 50 + 20 + 5 - 240);
    EXPECT_EQ(e->flags & 0x400, 0);
    EXPECT_EQ(e->timer, 32);
    // Painted relative to the camera: its frame's bottom at view y 75.
    cg().cameraX = 1300;
    paintEffectLayer(12);
    jint x1, y1, x2, y2;
    ASSERT_TRUE(screen->boxNot(0, &x1, &y1, &x2, &y2));
    EXPECT_EQ(480 - x2, 75 - 20) << "view top";
    EXPECT_EQ(480 - x1, 75) << "view bottom";
    EXPECT_EQ(y1, 1500 - 1300 + 400 - 6);
    for (int i = 0; i < 31; ++i) updateEffectPool();
    EXPECT_EQ(e->flags & 0x40, 0) << "alive for 32 steps";
    updateEffectPool();
    EXPECT_NE(e->flags & 0x40, 0);
    // In view: x from the camera, y kept, view-fixed.
    cActor* v = spawnScreenEffect(1500, 50, 10, true);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->posX, 1500 - 1300 + 400);
    EXPECT_EQ(v->posY, 75);
    EXPECT_NE(v->flags & 0x400, 0);
    EXPECT_EQ(v->timer, 10);
}

// An actor with flag 0x40000 is drawn half its current frame lower, at the
// same x.
TEST_F(PaintTest, FlagFortyThousandDrawsHalfAFrameLower) {
    BSprite* post = blocks({fill(0xFFFFFFFF, 10, 20), fill(0xFFFFFFFF, 10, 31)}, -5, -20);
    for (jint anim : {0, 1}) {
        SCOPED_TRACE(anim);
        cActor* a = drawn(6, 400, 240, 3, post, anim);
        a->viewRating = 0;
        jint box[2][4];
        for (jint k = 0; k < 2; ++k) {
            if (k == 1) a->flags |= 0x40000;
            screen->clear();
            paintActor(a);
            ASSERT_TRUE(screen->boxNot(0, &box[k][0], &box[k][1], &box[k][2], &box[k][3]));
        }
        const jint h = anim == 0 ? 20 : 31;
        EXPECT_EQ(box[0][0] - box[1][0], h / 2) << "lower on the view is left on the portrait screen";
        EXPECT_EQ(box[0][1], box[1][1]) << "x kept";
        game::removeActor(a, false);
    }
}

// The screens' effects (the portrait, the panel icon, the loading hints)
// through the framework's screen routines: made with the animation restarted, painted as
// their layer paints them (view-fixed with 0x20000, clipped to the frame
// with 0x40000), and a layer's effects painted on request.
TEST_F(PaintTest, ScreenEffectsOfTheScreens) {
    // Frames stand on their bottom centre, as the frame clip expects.
    BSprite* s = blocks({fill(0xFFE0A000, 16, 16), fill(0xFF00A0E0, 16, 16)}, -8, -16);
    // The camera stands elsewhere: a view-fixed effect ignores it.
    cg().cameraX = 5000;
    cActor* e = spawnScreenEffect(s, 1, 20, 30, 14, 0x62000, -1);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->anim, 1);
    EXPECT_EQ(e->frame, 0);
    EXPECT_EQ(e->paintFlags, 0x62000);
    paintScreenActor(e);
    EXPECT_EQ(screen->countNot(0), 16 * 16);
    golden("screen_effect", 40, 40);
    // Layer 2 (the loading hints' layer) on request: one effect there.
    screen->clear();
    spawnScreenEffect(s, 0, 24, 40, 2, 0x20000, -1);
    paintEffectLayer(2);
    EXPECT_EQ(screen->countNot(0), 16 * 16);
    screen->clear();
    paintEffectLayer(3);
    EXPECT_EQ(screen->countNot(0), 0);
    // A frame drawn away from its anchor is clipped to where it lies, also
    // mirrored.
    BSprite* off = blocks({fill(0xFFFFFFFF, 12, 12)}, 10, 10);
    for (jbyte facing : {jbyte{0}, jbyte{1}}) {
        screen->clear();
        cActor* o = spawnScreenEffect(off, 0, 60, 60, 14, 0x60000, -1);
        o->facing = facing;
        paintScreenActor(o);
        EXPECT_EQ(screen->countNot(0), 12 * 12) << "facing " << int(facing);
        deactivateScreenActor(o);
    }
    // Deactivated: painted no more, and the same id asks for it again.
    const jint id = e->uniqueId;
    deactivateScreenActor(e);
    screen->clear();
    paintScreenActor(e);
    EXPECT_EQ(screen->countNot(0), 0);
    updateEffectPool();  // a frame on: the slot is free to take again
    EXPECT_EQ(spawnScreenEffect(s, 0, 8, 8, 14, 0x62000, id), e) << "the free effect of that id";
    EXPECT_NE(spawnScreenEffect(s, 0, 8, 8, 14, 0x62000, id), e) << "busy: the pool chooses";
}

}  // namespace
