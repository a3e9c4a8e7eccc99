// Painting: one frame through every path gives the same pixels, the quarter
// turn to the portrait screen, transforms of primitives, measure and list
// modes, the ARGB transforms against drawRegion, the rotated and scaled
// path, and the cache builders.
#include <cmath>

#include "tests/game/sprite/models.h"
#include "tests/game/sprite/support.h"

#include "display/pixel.h"
#include "game/sprite/statics.h"

using namespace spritetest;
using namespace sprite;

namespace {

class PaintTest : public SpriteTest {};

constexpr uint16_t kBackground = 0x4208;

// Three image modules with holes, a frame nesting another, every
// frame-module transform.
kit::SpriteModel pathSprite(int colours = 40) {
    kit::SpriteModel m;
    kit::SpriteImages img;
    img.pixelFormat = colours > 16 ? kit::kPixels8 : kit::kPixels4;
    img.palettes = testPalettes(2, colours);
    m.images = img;
    m.modules.push_back(kit::SpriteModule::image(7, 5, patternPixels(7, 5, colours, 11)));
    m.modules.push_back(kit::SpriteModule::image(12, 9, patternPixels(12, 9, colours, 12)));
    m.modules.push_back(kit::SpriteModule::image(5, 11, patternPixels(5, 11, colours, 13)));
    kit::SpriteFrame inner;
    inner.modules = {{0, 0, 0, 0, 0}, {1, 8, -3, 0, 3}};
    kit::SpriteFrame frame;
    frame.modules = {{0, -10, -8, 0, 0}, {1, 5, 2, 0, 1},   {2, -20, 6, 0, 2},  {0, 20, -12, 0, 3},
                     {1, -4, 15, 0, 4},  {2, 12, 20, 0, 5}, {0, 30, 5, 0, 6},   {1, -30, -20, 0, 7},
                     {0, 0, 30, 0, kit::kFModuleNestedFrame | 5}};
    m.frames = {inner, frame};
    kit::SpriteAnim anim;
    anim.frames = {{1, 2, 3, -4, 0}, {0, 2, 0, 0, 1}};
    m.anims = {anim};
    return m;
}

// Turns every module Image of a palette a quarter, as the game's loader does.
void turnModuleImages(BSprite* s, jint palette) {
    auto* row = static_cast<ObjectArray*>(s->moduleImageCache->data()[palette]);
    for (jint m = 0; m < row->length(); ++m) {
        auto* image = static_cast<Image*>(row->data()[m]);
        if (!image) continue;
        Image* turned = ASprite::rotateImage(image);
        row = static_cast<ObjectArray*>(s->moduleImageCache->data()[palette]);
        row->data()[m] = turned;
    }
}

enum class Path { Fresh, ModuleArgb, ModuleImage, ModuleImageTurned, FrameArgb, FrameImage, FrameIndex };
const char* name(Path p) {
    switch (p) {
    case Path::Fresh: return "fresh decode";
    case Path::ModuleArgb: return "ARGB module cache";
    case Path::ModuleImage: return "Image module cache";
    case Path::ModuleImageTurned: return "pre-turned module images";
    case Path::FrameArgb: return "ARGB frame cache";
    case Path::FrameImage: return "Image frame cache";
    case Path::FrameIndex: return "frame index image";
    }
    return "?";
}

BSprite* spriteFor(Path path, const kit::Bytes& bytes, jint palette) {
    BSprite* s = loadSprite(bytes);
    s->initAlphaTables();
    switch (path) {
    case Path::Fresh: break;
    case Path::ModuleArgb:
        ASprite::setImageCacheEnabled(s, true);
        s->buildModuleImages(palette, 0, -1, -1);
        break;
    case Path::ModuleImage:
        s->buildModuleImages(palette, 0, -1, -1);
        s->moduleImagesRotated = 0;  // kept as built
        break;
    case Path::ModuleImageTurned:
        s->buildModuleImages(palette, 0, -1, -1);
        turnModuleImages(s, palette);
        break;
    case Path::FrameArgb:
        ASprite::setImageCacheEnabled(s, true);
        s->cacheFrameImages(palette, 0, -1);
        break;
    case Path::FrameImage: s->cacheFrameImages(palette, 0, -1); break;
    case Path::FrameIndex:
        s->buildFrameIndexImages(0, -1);
        s->pixelData = nullptr;  // painted from the index images alone
        break;
    }
    s->setPalette(palette);
    return s;
}

// The quadrant (sign of x, sign of y) a game direction lands in on the
// device after the transform flags and the turn to the device.
std::pair<int, int> deviceDirection(int dx, int dy, jint flags) {
    if (flags & kMirror) dx = -dx;
    if (flags & kFlip) dy = -dy;
    if (flags & kTurn) std::tie(dx, dy) = std::make_pair(-dy, dx);
    return {-dy, dx};  // the turn to the device
}

}  // namespace

TEST_F(PaintTest, OneFrameThroughEveryPathGivesTheSamePixels) {
    const kit::Bytes bytes = kit::encodeSprite(pathSprite());
    Screen screen;
    for (jint palette : {0, 1}) {
        std::vector<std::vector<uint16_t>> reference(8);
        for (Path path : {Path::Fresh, Path::ModuleArgb, Path::ModuleImage, Path::ModuleImageTurned, Path::FrameArgb,
                          Path::FrameImage, Path::FrameIndex}) {
            BSprite* s = spriteFor(path, bytes, palette);
            for (jint flags = 0; flags < 8; ++flags) {
                SCOPED_TRACE(testing::Message() << name(path) << ", palette " << palette << ", flags " << flags);
                screen.clear(kBackground);
                s->paintFrame(screen.g, 1, 300, 200, flags, 0, 0);
                std::vector<uint16_t> pixels = screen.pixels();
                if (path == Path::Fresh) {
                    EXPECT_GT(screen.countNot(kBackground), 300);
                    reference[static_cast<size_t>(flags)] = std::move(pixels);
                } else {
                    ASSERT_EQ(pixels.size(), reference[static_cast<size_t>(flags)].size());
                    size_t differing = 0;
                    for (size_t i = 0; i < pixels.size(); ++i) differing += pixels[i] != reference[static_cast<size_t>(flags)][i];
                    EXPECT_EQ(differing, 0u);
                }
            }
        }
    }
}

TEST_F(PaintTest, QuarterTurnOntoThePortraitScreen) {
    kit::SpriteModel m;
    m.modules.push_back(kit::SpriteModule::fillRect(0xFFFF0000, 10, 20));
    m.frames.push_back({});
    m.frames[0].modules = {{0, 0, 0, 0, 0}};
    BSprite* s = loadSprite(m);
    Screen screen;
    s->paintModule(screen.g, 0, 100, 50, 0);
    jint x1, y1, x2, y2;
    ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
    // Height 20 at game (100, 50): device (410, 100), 20 wide and 10 high.
    EXPECT_EQ(std::vector<jint>({x1, y1, x2, y2}), std::vector<jint>({410, 100, 430, 110}));
    EXPECT_EQ(screen.at(410, 100), display::rgb565(0xFF0000));
    // With the module's own quarter turn the extent is its width.
    screen.clear();
    s->paintModule(screen.g, 0, 100, 50, kTurn);
    ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
    EXPECT_EQ(std::vector<jint>({x1, y1, x2, y2}), std::vector<jint>({420, 100, 430, 120}));
}

TEST_F(PaintTest, MirrorInsideAMirroredFrameIsUnmirrored) {
    EXPECT_EQ(kComposeMirror[1], 0);
    kit::SpriteModel m = pathSprite();
    m.frames.push_back({});
    m.frames.back().modules = {{1, 3, 4, 0, 1}};
    BSprite* s = loadSprite(m);
    Screen a, b;
    s->paintFrame(a.g, 2, 200, 100, kMirror, 0, 0);
    // The module mirrored twice: unmirrored, at -(3 + 12).
    s->paintModule(b.g, 1, 200 - 15, 104, 0);
    EXPECT_EQ(a.pixels(), b.pixels());
}

TEST_F(PaintTest, MeasureAndListModes) {
    kit::SpriteModel m;
    m.modules = {kit::SpriteModule::rect(0xFF00FF00, 10, 12), kit::SpriteModule::sizeOnly(4, 6),
                 kit::SpriteModule::fillRect(0xFF0000FF, 3, 3)};
    m.frames.resize(4);
    m.frames[0].modules = {{0, 0, 0, 0, 0}};
    m.frames[1].modules = {{1, 0, 0, 0, 0}};
    m.frames[2].modules = {{0, 0, 0, 0, 0}, {1, 20, 0, 0, 0}, {2, -5, -5, 0, 0}};
    BSprite* s = loadSprite(m);
    // An outline counts by its size; a size-only module likewise; an empty frame is 0.
    EXPECT_EQ(s->getFrameWidth(0), 10);
    EXPECT_EQ(s->getFrameHeight(0), 12);
    EXPECT_EQ(s->getFrameWidth(1), 4);
    EXPECT_EQ(s->getFrameWidth(3), 0);
    EXPECT_EQ(s->getFrameHeight(3), 0);
    IntArray* rect = newIntArray(4);
    s->getFrameRect(rect, 2, 100, 50, kMirror);
    EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{76, 45, 105, 62}));
    // List mode keeps what fits the output: 8 ints, two rectangles.
    IntArray* out = newIntArray(8);
    EXPECT_EQ(BitmapFont::collectFrameModuleRects(s, out, 2, 0, 0, 0), 2);
    EXPECT_EQ(std::vector<jint>(out->data(), out->data() + 8), (std::vector<jint>{0, 0, 10, 12, 20, 0, 24, 6}));
    // The size filter, and its reset afterwards.
    BitmapFont::setMeasureBounds(4, 100, 4, 100);
    IntArray* big = newIntArray(12);
    EXPECT_EQ(BitmapFont::collectFrameModuleRects(s, big, 2, 0, 0, 0), 2);  // the 3 x 3 box is filtered out
    EXPECT_EQ(bf().minWidth, java::kIntMin);
    EXPECT_EQ(BitmapFont::collectFrameModuleRects(s, big, 2, 0, 0, 0), 3);
    EXPECT_EQ(as().measureMode, 0);
}

TEST_F(PaintTest, FrameRectangleQueriesAndLists) {
    BSprite* s = loadSprite(richSprite());
    IntArray* rect = newIntArray(4);
    s->getFrameRectAt(0, 0, rect, kMirror | kFlip);  // (-5, -6, 10, 12)
    EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{-5, -6, 10, 12}));
    s->getFrameRectAt(0, 1, rect, 0);  // a width of 200 in a byte
    EXPECT_EQ(rect->data()[2], 200);
    s->getFrameRectAt(0, 2, rect, 0);  // i equal to the count
    EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{0, 0, 0, 0}));
    // Animation frame 1 shows frame 2 (one rectangle) at (-4, 6) with flags 1.
    s->getAFrameRectAt(0, 1, 0, rect, 0, true);
    EXPECT_EQ(std::vector<jint>(rect->data(), rect->data() + 4), (std::vector<jint>{-1 - 4, 0 + 6, 1, 1}));
    // Lists stop when the output is full.
    IntArray* out = newIntArray(4);
    EXPECT_EQ(BitmapFont::getFrameRectList(s, out, 0, 100, 10, 0), 1);
    EXPECT_EQ(std::vector<jint>(out->data(), out->data() + 4), (std::vector<jint>{95, 4, 105, 16}));
    IntArray* roomy = newIntArray(16);
    EXPECT_EQ(BitmapFont::getFrameRectList(s, roomy, 0, 0, 0, 0), 2);
    EXPECT_EQ(BitmapFont::getAFrameRectList(s, roomy, 0, 0, 0, 0, 0), 2);
    EXPECT_EQ(s->getAnimDuration(0), 8);
    EXPECT_EQ(s->getAnimDuration(1), 0);
}

TEST_F(PaintTest, FilledRectanglesOpaqueAndTranslucent) {
    kit::SpriteModel m;
    m.modules = {kit::SpriteModule::fillRect(0x00FF0000, 4, 4), kit::SpriteModule::fillRect(0x80FF0000, 4, 4)};
    BSprite* s = loadSprite(m);
    Screen screen(480, 800, display::rgb565(0x808080));
    s->paintModule(screen.g, 0, 0, 0, 0);
    EXPECT_EQ(screen.at(476, 0), display::rgb565(0xFF0000));
    s->paintModule(screen.g, 1, 10, 0, 0);
    const uint16_t blended = screen.at(476, 10);
    EXPECT_NE(blended, display::rgb565(0xFF0000));
    EXPECT_NE(blended, display::rgb565(0x808080));
    EXPECT_EQ(blended, display::blendAlpha565(display::rgb565(0x808080), display::rgb565(0xFF0000), 0x80));
}

TEST_F(PaintTest, PrimitivesDrawOnThePaintedGraphics) {
    kit::SpriteModel m;
    m.modules = {kit::SpriteModule::rect(0xFFFFFFFF, 6, 6), kit::SpriteModule::arc(0xFFFFFFFF, 8, 8, 0, 360),
                 kit::SpriteModule::gradient(0xFF000000, 0xFFFFFFFF, 1, 5, 5)};
    BSprite* s = loadSprite(m);
    Screen game, target(64, 64);
    StandaloneHost::setCurrentGraphics(game.g);
    for (jint module = 0; module < 3; ++module) {
        SCOPED_TRACE(module);
        target.clear();
        s->paintModule(target.g, module, 10, 440, 0);
        EXPECT_GT(target.countNot(0), 0);
        EXPECT_EQ(game.countNot(0), 0);
    }
}

TEST_F(PaintTest, ArcsFollowEveryTransform) {
    kit::SpriteModel m;
    m.modules = {kit::SpriteModule::fillArc(0xFFFFFFFF, 40, 40, 0, 90), kit::SpriteModule::arc(0xFFFFFFFF, 40, 30, 0, 360),
                 kit::SpriteModule::fillArc(0xFFFFFFFF, 40, 40, -90, 180)};
    BSprite* s = loadSprite(m);
    Screen screen;
    int fullCount = -1;
    for (jint flags = 0; flags < 8; ++flags) {
        SCOPED_TRACE(flags);
        // The quarter 0-90 degrees (up and right in the game) lands in the
        // quadrant the transform and the turn send that direction to.
        screen.clear();
        s->paintModule(screen.g, 0, 200, 100, flags);
        jint x1, y1, x2, y2;
        ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
        const jint cx = 480 - 40 - 100 + 20, cy = 200 + 20;  // centre of the module on the device
        const auto [dx, dy] = deviceDirection(1, -1, flags);
        EXPECT_EQ(dx > 0, x1 >= cx - 1) << x1 << " " << cx;
        EXPECT_EQ(dx < 0, x2 <= cx + 1) << x2 << " " << cx;
        EXPECT_EQ(dy > 0, y1 >= cy - 1) << y1 << " " << cy;
        EXPECT_EQ(dy < 0, y2 <= cy + 1) << y2 << " " << cy;
        // A full ellipse stays full.
        screen.clear();
        s->paintModule(screen.g, 1, 200, 100, flags);
        const int count = screen.countNot(0);
        EXPECT_GT(count, 80);
        if (fullCount < 0) fullCount = count;
        EXPECT_NEAR(count, fullCount, fullCount / 10);
        // An arc across 0 degrees is drawn under every transform.
        screen.clear();
        s->paintModule(screen.g, 2, 200, 100, flags);
        EXPECT_GT(screen.countNot(0), 300);
    }
}

TEST_F(PaintTest, GradientsAndTheirEdges) {
    Screen screen(16, 16);
    // Three columns with code 8: blue 0, 127 and 254.
    ASprite::fillGradientOn(screen.g, 0, 0, 3, 2, 0x000000, 0x0000FE, 8);
    EXPECT_EQ(screen.at(0, 0), display::rgb565(0x000000));
    EXPECT_EQ(screen.at(1, 1), display::rgb565(0x00007F));
    EXPECT_EQ(screen.at(2, 0), display::rgb565(0x0000FE));
    // Code 16 puts colour 1 at the bottom, 32 at the top.
    ASprite::fillGradientOn(screen.g, 0, 4, 2, 3, 0xFF0000, 0x00FF00, 16);
    EXPECT_EQ(screen.at(0, 6), display::rgb565(0xFF0000));
    EXPECT_EQ(screen.at(0, 4), display::rgb565(0x00FF00));
    ASprite::fillGradientOn(screen.g, 4, 4, 2, 3, 0xFF0000, 0x00FF00, 32);
    EXPECT_EQ(screen.at(4, 4), display::rgb565(0xFF0000));
    // One column or one row: colour 1, no division by zero.
    ASprite::fillGradientOn(screen.g, 8, 0, 1, 4, 0x123456, 0xABCDEF, 4);
    EXPECT_EQ(screen.at(8, 3), display::rgb565(0x123456));
    ASprite::fillGradientOn(screen.g, 8, 6, 4, 1, 0x123456, 0xABCDEF, 32);
    EXPECT_EQ(screen.at(11, 6), display::rgb565(0x123456));
    // Equal colours fill plainly; another code draws nothing and keeps the colour.
    ASprite::fillGradientOn(screen.g, 12, 0, 3, 3, 0x00FF00, 0x00FF00, 4);
    EXPECT_EQ(screen.at(13, 1), display::rgb565(0x00FF00));
    screen.g->setColor(0x112233);
    ASprite::fillGradientOn(screen.g, 12, 8, 3, 3, 0xFFFFFF, 0xFFFFFF, 5);
    EXPECT_EQ(screen.at(13, 9), 0);
    EXPECT_EQ(screen.g->getColor(), static_cast<jint>(0xFF112233));
    // The Graphics is left at the last line's colour, however much of the
    // gradient the clip hides (wholly, or all but its first line).
    for (const jint clipX : {0, 15}) {
        SCOPED_TRACE(clipX);
        screen.g->setColor(0x112233);
        screen.g->setClip(clipX, 0, 1, 16);
        ASprite::fillGradientOn(screen.g, 0, 0, 3, 2, 0x000000, 0x0000FE, 8);
        EXPECT_EQ(screen.g->getColor(), static_cast<jint>(0xFF0000FE));
    }
    screen.g->setClip(0, 0, 16, 16);
    // The game's form draws on the game's current Graphics.
    StandaloneHost::setCurrentGraphics(screen.g);
    ASprite::fillGradient(0, 12, 2, 2, 0xFFFFFF, 0xFFFFFF, 8);
    EXPECT_EQ(screen.at(1, 13), 0xFFFF);
}

TEST_F(PaintTest, TransformRgbThenDrawRgbEqualsDrawRegion) {
    std::vector<int32_t> argb;
    for (int i = 0; i < 15; ++i) argb.push_back(static_cast<int32_t>(0xFF000000u | static_cast<uint32_t>(i * 0x111111)));
    IntArray* pixels = javaInts(argb);
    Image* image = Image::createRGBImage(pixels, 5, 3, 0);
    Screen a(32, 32), b(32, 32);
    for (jint t = 0; t < 8; ++t) {
        SCOPED_TRACE(t);
        a.clear();
        b.clear();
        ASprite::drawRGBTransformed(a.g, pixels, 0, 5, 4, 6, 5, 3, false, t);
        b.g->drawRegion(image, 0, 0, 5, 3, kTransformToMidp[static_cast<size_t>(t)], 4, 6, 0);
        EXPECT_EQ(a.pixels(), b.pixels());
        EXPECT_GT(a.countNot(0), 0);
    }
    // The transform table itself.
    EXPECT_EQ(ASprite::transformRGB(pixels, 5, 3, 0), pixels);
    IntArray* row = javaInts({1, 2, 3});
    IntArray* mirrored = ASprite::transformRGB(row, 3, 1, 1);
    EXPECT_EQ(mirrored, as().workPixels);
    EXPECT_EQ(std::vector<jint>(mirrored->data(), mirrored->data() + 3), (std::vector<jint>{3, 2, 1}));
    EXPECT_EQ(ASprite::transformRGB(mirrored, 3, 1, 1), as().workPixels2);
    IntArray* tall = javaInts({1, 2, 3, 4, 5, 6});  // 2 wide, 3 high
    IntArray* turned = ASprite::transformRGB(tall, 3, 2, 4);
    EXPECT_EQ(std::vector<jint>(turned->data(), turned->data() + 6), (std::vector<jint>{5, 3, 1, 6, 4, 2}));
}

TEST_F(PaintTest, RotatedAndScaledFrames) {
    kit::SpriteModel m = pathSprite();
    BSprite* s = loadSprite(m);
    Screen screen, reference;
    const Box box = s->measureFrame(1, 0, 0, 0);
    const jint w = box.maxX - box.minX, h = box.maxY - box.minY;
    ASSERT_LT(w, 128);
    ASSERT_LT(h, 128);

    // 180 degrees is the half-turn transform.
    s->setRotation(180);
    s->paintFrame(screen.g, 1, 300, 200, 0, 0, 0);
    EXPECT_EQ(s->rotation, 0);
    EXPECT_EQ(s->scale, 100);
    s->paintFrame(reference.g, 1, 300, 200, kMirror | kFlip, 0, 0);
    EXPECT_EQ(screen.pixels(), reference.pixels());

    // Scale 200 doubles the box; nothing lands outside it.
    screen.clear();
    s->setScale(200);
    s->paintFrame(screen.g, 1, 300, 200, 0, 0, 0);
    EXPECT_EQ(s->scale, 100);
    jint x1, y1, x2, y2;
    ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
    // Game box (300 + 2 minX .. 300 + 2 maxX) x (200 + 2 minY .. 200 + 2 maxY) on the device.
    EXPECT_GE(x1, 480 - (200 + 2 * box.maxY));
    EXPECT_LE(x2, 480 - (200 + 2 * box.minY));
    EXPECT_GE(y1, 300 + 2 * box.minX);
    EXPECT_LE(y2, 300 + 2 * box.maxX);
    EXPECT_GE(x2 - x1, 2 * h - 2);
    EXPECT_GE(y2 - y1, 2 * w - 2);

    // A rotation keeps to its box.
    screen.clear();
    s->setRotation(30);
    s->paintFrame(screen.g, 1, 300, 200, 0, 0, 0);
    ASSERT_TRUE(screen.boxNot(0, &x1, &y1, &x2, &y2));
    const double c = std::cos(M_PI / 6), sn = std::sin(M_PI / 6);
    double gx1 = 1e9, gy1 = 1e9, gx2 = -1e9, gy2 = -1e9;
    for (int k = 0; k < 4; ++k) {
        const double dx = (k & 1) ? box.maxX : box.minX, dy = (k & 2) ? box.maxY : box.minY;
        const double X = dx * c - dy * sn, Y = dx * sn + dy * c;
        gx1 = std::min(gx1, X), gx2 = std::max(gx2, X), gy1 = std::min(gy1, Y), gy2 = std::max(gy2, Y);
    }
    EXPECT_GE(y1, 300 + std::floor(gx1) - 1);
    EXPECT_LE(y2, 300 + std::ceil(gx2) + 1);
    EXPECT_GE(x1, 480 - (200 + std::ceil(gy2)) - 1);
    EXPECT_LE(x2, 480 - (200 + std::floor(gy1)) + 1);
    EXPECT_EQ(s->rotation, 0);

    // A box beyond the game screen draws nothing and still resets.
    screen.clear();
    s->setRotation(45);
    s->setScale(150);
    s->paintFrame(screen.g, 1, 900, 200, 0, 0, 0);
    EXPECT_EQ(screen.countNot(0), 0);
    EXPECT_EQ(s->rotation, 0);
    EXPECT_EQ(s->scale, 100);
    EXPECT_FALSE(s->scaledPaintBusy);

    // From an animation frame: the rotation is about the animation's position.
    screen.clear();
    reference.clear();
    s->setRotation(180);
    s->paintAFrame(screen.g, 0, 0, 300, 200, 0, 0, 0);
    s->paintAFrame(reference.g, 0, 0, 300, 200, kMirror | kFlip, 0, 0);
    EXPECT_EQ(screen.pixels(), reference.pixels());
    EXPECT_FALSE(s->scalingFromAFrame);
}

TEST_F(PaintTest, RotatedFramesFromTheCaches) {
    const kit::Bytes bytes = kit::encodeSprite(pathSprite());
    for (Path path : {Path::FrameArgb, Path::FrameImage, Path::FrameIndex}) {
        SCOPED_TRACE(name(path));
        BSprite* plain = loadSprite(bytes);
        BSprite* cached = spriteFor(path, bytes, 0);
        Screen a, b;
        plain->setRotation(180);
        plain->paintFrame(a.g, 1, 300, 200, kTurn, 0, 0);
        cached->setRotation(180);
        cached->paintFrame(b.g, 1, 300, 200, kTurn, 0, 0);
        EXPECT_EQ(a.pixels(), b.pixels());
        EXPECT_GT(a.countNot(0), 300);
    }
}

TEST_F(PaintTest, CacheBuilders) {
    kit::SpriteModel m = pathSprite();
    m.flags = kit::kSpriteNoAnimCache;
    BSprite* noAnim = loadSprite(m);
    noAnim->cacheAnimImages(0, 0);
    EXPECT_EQ(noAnim->frameImageCache, nullptr);
    BSprite* s = loadSprite(pathSprite());
    s->cacheAnimImages(0, 0);
    ASSERT_TRUE(s->frameImageCache);
    auto* row = static_cast<ObjectArray*>(s->frameImageCache->data()[0]);
    EXPECT_TRUE(row->data()[0]);
    EXPECT_TRUE(row->data()[1]);
    // Palette 1 shares palette 0's module images.
    s->buildModuleImages(0, 0, -1, -1);
    s->buildModuleImages(1, 0, -1, 0);
    auto* p0 = static_cast<ObjectArray*>(s->moduleImageCache->data()[0]);
    auto* p1 = static_cast<ObjectArray*>(s->moduleImageCache->data()[1]);
    for (jint i = 0; i < 3; ++i) {
        EXPECT_TRUE(p0->data()[i]);
        EXPECT_EQ(p0->data()[i], p1->data()[i]);
    }
    EXPECT_TRUE(s->moduleImagesRotated);
}

TEST_F(PaintTest, FrameImagesAndIndexImages) {
    // An opaque frame with no magenta left: no alpha, an opaque image.
    kit::SpriteModel full;
    kit::SpriteImages img;
    img.palettes = testPalettes(1, 256);
    img.palettes[0][0] = 0xFF202020;
    full.images = img;
    std::vector<uint8_t> px(6 * 4, 200);
    px[0] = 0;
    full.modules = {kit::SpriteModule::image(6, 4, px)};
    full.frames.resize(2);
    full.frames[0].modules = {{0, 0, 0, 0, 0}};
    full.frames[1].modules = {{0, 0, 0, 0, 0}, {0, 10, 0, 0, 0}};  // a gap of 4 columns
    BSprite* s = loadSprite(full);
    IntArray* buf = s->buildFrameImage(0, 0, nullptr);
    ASSERT_TRUE(buf);
    EXPECT_FALSE(as().frameImageHasAlpha);
    Image* image = s->buildFrameImageAsImage(0, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->m_type, 0);
    // Index 200 comes back as 200; without a transparent index the
    // background of the gap stays transparent.
    s->initAlphaTables();
    ASSERT_EQ(s->transparentIndex, -1);
    s->buildFrameIndexImages(0, -1);
    auto* indices = static_cast<ByteArray*>(s->frameIndexImages->data()[0]);
    ASSERT_EQ(indices->length(), 24);
    EXPECT_EQ(static_cast<uint8_t>(indices->data()[5]), 200);
    EXPECT_EQ(static_cast<uint8_t>(indices->data()[0]), 0);
    s->pixelData = nullptr;
    Screen screen(480, 800, kBackground);
    s->paintFrame(screen.g, 1, 0, 0, 0, 0, 0);
    // The gap (game columns 6-9) keeps the background: device rows 6-9.
    for (jint y = 6; y < 10; ++y) EXPECT_EQ(screen.at(477, y), kBackground) << y;
    EXPECT_NE(screen.at(477, 11), kBackground);
    // An empty frame has no image.
    kit::SpriteModel empty = full;
    empty.frames.push_back({});
    BSprite* e = loadSprite(empty);
    IntArray* mine = newIntArray(3);
    EXPECT_EQ(e->buildFrameImage(2, 0, mine), mine);
    EXPECT_EQ(e->buildFrameImageAsImage(2, 0), nullptr);
}

// Entry [palette][frame] of a two-level cache, or null.
IntArray* cacheEntry(ObjectArray* cache, jint palette, jint frame) {
    if (!cache || palette < 0 || palette >= cache->length()) return nullptr;
    auto* row = static_cast<ObjectArray*>(cache->data()[palette]);
    return row && frame >= 0 && frame < row->length() ? static_cast<IntArray*>(row->data()[frame]) : nullptr;
}

// A host that forwards to the built-in one and runs an image-effect step
// that records what it was handed (and, while it runs, the frame cache slot).
class RecordingHost final : public SpriteHost {
public:
    void setAlphaFillColor(jint argb) override { base().setAlphaFillColor(argb); }
    void drawTiledRect(Graphics* g, jint x, jint y, jint w, jint h) override { base().drawTiledRect(g, x, y, w, h); }
    jint sin(jint angle) override { return base().sin(angle); }
    jint quarterCircle() override { return base().quarterCircle(); }
    jint stepsPerCircle() override { return base().stepsPerCircle(); }
    Graphics* currentGraphics() override { return base().currentGraphics(); }
    IntArray* pixelBuffer(jint n) override { return base().pixelBuffer(n); }
    IntArray* rotationBuffer(jint n) override { return base().rotationBuffer(n); }
    bool imageEffectActive() override { return true; }
    EffectResult applyImageEffect(Graphics*, IntArray* rgb, jint, jint, jint w, jint h, jint, bool alpha) override {
        ++calls;
        width = w;
        height = h;
        handed = rgb;
        slot = sprite ? cacheEntry(sprite->frameRGBCache, sprite->currentPalette, frame) : nullptr;
        return {rgb, w, h, alpha};
    }
    static StandaloneHost& base() { return StandaloneHost::instance(); }

    BSprite* sprite = nullptr;
    jint frame = 0;
    int calls = 0;
    jint width = 0, height = 0;
    IntArray* handed = nullptr;
    IntArray* slot = nullptr;
};

struct HostScope {
    explicit HostScope(SpriteHost* h) { setSpriteHost(h); }
    ~HostScope() { setSpriteHost(nullptr); }
};

TEST_F(PaintTest, IndexImageFramesPaintThroughTheFrameCache) {
    const kit::Bytes bytes = kit::encodeSprite(pathSprite());
    BSprite* s = spriteFor(Path::FrameIndex, bytes, 1);
    ASSERT_EQ(s->frameRGBCache, nullptr);
    ASSERT_FALSE(s->cacheFlags & 1);
    RecordingHost recorder;
    recorder.sprite = s;
    recorder.frame = 1;
    HostScope scope(&recorder);
    Screen screen(480, 800, kBackground);
    s->paintFrame(screen.g, 1, 300, 200, 0, 0, 0);
    // The frame reached the painter as one cached picture: the image-effect
    // step saw it whole, lent to the cache slot of the current palette.
    ASSERT_EQ(recorder.calls, 1);
    const Box box = s->measureFrame(1, 0, 0, 0);
    EXPECT_EQ(recorder.width, box.maxX - box.minX);
    EXPECT_EQ(recorder.height, box.maxY - box.minY);
    EXPECT_EQ(recorder.slot, recorder.handed);
    EXPECT_EQ(recorder.handed, StandaloneHost::instance().pixelBuffer(1));
    // The cache was created (palettes x frames, ARGB) and the slot emptied.
    ASSERT_TRUE(s->frameRGBCache);
    EXPECT_TRUE(s->cacheFlags & 1);
    EXPECT_EQ(s->frameRGBCache->length(), 2);
    EXPECT_EQ(cacheEntry(s->frameRGBCache, 1, 1), nullptr);
    auto* row = static_cast<ObjectArray*>(s->frameRGBCache->data()[1]);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->length(), s->getFrameCount());
    EXPECT_GT(screen.countNot(kBackground), 300);
}

TEST_F(PaintTest, IndexImagePaintGivesACachedFrameBackItsEntry) {
    const kit::Bytes bytes = kit::encodeSprite(pathSprite());
    Screen reference(480, 800, kBackground), screen(480, 800, kBackground);
    BSprite* fresh = spriteFor(Path::Fresh, bytes, 0);
    fresh->paintFrame(reference.g, 1, 300, 200, kMirror, 0, 0);
    // Frame 1 cached as ARGB for palette 0 before its index image is used.
    BSprite* s = spriteFor(Path::FrameArgb, bytes, 0);
    IntArray* cached = cacheEntry(s->frameRGBCache, 0, 1);
    ASSERT_TRUE(cached);
    s->buildFrameIndexImages(0, -1);
    s->pixelData = nullptr;
    s->paintFrame(screen.g, 1, 300, 200, kMirror, 0, 0);
    EXPECT_EQ(screen.pixels(), reference.pixels());
    EXPECT_EQ(cacheEntry(s->frameRGBCache, 0, 1), cached);
    // Entries of other frames are left alone, and a second paint is the same.
    EXPECT_TRUE(cacheEntry(s->frameRGBCache, 0, 0));
    screen.clear(kBackground);
    s->paintFrame(screen.g, 1, 300, 200, kMirror, 0, 0);
    EXPECT_EQ(screen.pixels(), reference.pixels());
}

TEST_F(PaintTest, IndexImageOfAPaletteBeyondAShortCacheIsDrawnDirectly) {
    const kit::Bytes bytes = kit::encodeSprite(pathSprite());
    Screen reference(480, 800, kBackground), screen(480, 800, kBackground);
    spriteFor(Path::Fresh, bytes, 1)->paintFrame(reference.g, 1, 300, 200, 0, 0, 0);
    BSprite* s = spriteFor(Path::FrameIndex, bytes, 1);
    s->frameRGBCache = newObjectArray(cid::ObjectArray, 1);  // no row for palette 1
    s->paintFrame(screen.g, 1, 300, 200, 0, 0, 0);
    EXPECT_EQ(screen.pixels(), reference.pixels());
    EXPECT_EQ(s->frameRGBCache->length(), 1);
}

TEST_F(PaintTest, RotateImageTurnsAQuarterClockwise) {
    IntArray* px = javaInts({static_cast<int32_t>(0xFF0000FF), static_cast<int32_t>(0xFF00FF00),
                             static_cast<int32_t>(0xFFFF0000), static_cast<int32_t>(0xFFFFFFFF),
                             static_cast<int32_t>(0xFF000000), static_cast<int32_t>(0xFF0000FF),
                             static_cast<int32_t>(0xFF00FF00), static_cast<int32_t>(0xFFFF0000)});
    Image* image = Image::createRGBImage(px, 4, 2, 0);
    Image* turned = ASprite::rotateImage(image);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->getWidth(), 2);
    EXPECT_EQ(turned->getHeight(), 4);
    IntArray* out = newIntArray(8);
    turned->getRGB(out, 0, 2, 0, 0, 2, 4);
    // Output (h - 1 - y, x) is source (x, y): the source's bottom-left at the top left.
    EXPECT_EQ(static_cast<uint32_t>(out->data()[0]), 0xFF000000u);
    EXPECT_EQ(static_cast<uint32_t>(out->data()[1]), 0xFF0000FFu);
    EXPECT_EQ(static_cast<uint32_t>(out->data()[7]), 0xFFFFFFFFu);
    EXPECT_EQ(ASprite::rotateImage(nullptr), nullptr);
}

TEST_F(PaintTest, BlendedFillOfAnArgbBuffer) {
    IntArray* buffer = javaInts(std::vector<int32_t>(4 * 3, static_cast<int32_t>(0x80000000)));
    // Clipped to the buffer: columns 2-3 of rows 0-1.
    ASprite::fillRectBlend(buffer, 4, 3, 2, -5, 9, 2, static_cast<jint>(0x80FF8040));
    const jint* p = buffer->data();
    EXPECT_EQ(static_cast<uint32_t>(p[2]), 0x807F4020u);
    EXPECT_EQ(static_cast<uint32_t>(p[4 + 3]), 0x807F4020u);
    EXPECT_EQ(static_cast<uint32_t>(p[1]), 0x80000000u);
    EXPECT_EQ(static_cast<uint32_t>(p[8 + 2]), 0x80000000u);
    // 8-bit weights: an opaque colour over black is 255/256 of itself; a
    // clear one changes nothing.
    ASprite::fillRectBlend(buffer, 4, 3, 0, 2, 1, 3, static_cast<jint>(0xFF123456));
    EXPECT_EQ(static_cast<uint32_t>(p[8]), 0x80113355u);
    ASprite::fillRectBlend(buffer, 4, 3, 0, 2, 1, 3, 0x00ABCDEF);
    EXPECT_EQ(static_cast<uint32_t>(p[8]), 0x80113355u);
    // A buffer shorter than its size draws nothing.
    ASprite::fillRectBlend(buffer, 5, 3, 0, 0, 5, 3, static_cast<jint>(0xFFFFFFFF));
    EXPECT_EQ(static_cast<uint32_t>(p[0]), 0x80000000u);
}

TEST_F(PaintTest, PaletteLessSpriteWithAlphaPaintsTranslucently) {
    kit::SpriteModel m;
    m.modules = {kit::SpriteModule::fillRect(0xFFFF0000, 8, 6)};
    m.frames.resize(1);
    m.frames[0].modules = {{0, 0, 0, 0, 0}};
    BSprite* s = loadSprite(m);
    s->setAlpha(128);
    EXPECT_EQ(s->alpha, 128);
    Screen screen(480, 800, display::rgb565(0x0000FF));
    s->paintFrame(screen.g, 0, 100, 100, 0, 0, 0);
    // Through the off-screen picture, with the sprite's alpha on every pixel.
    const uint16_t expected = display::blendAlpha565(display::rgb565(0x0000FF), display::rgb565(0xFF0000), 128);
    EXPECT_EQ(screen.at(480 - 6 - 100, 100), expected);
    EXPECT_EQ(screen.at(480 - 100 - 1, 107), expected);
    EXPECT_EQ(screen.countNot(display::rgb565(0x0000FF)), 48);
}
