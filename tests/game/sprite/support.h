// Shared fixture of the sprite-engine tests: an application with the
// engine's and lcdui's static fields and the kit's string pool (so remap
// trailers are recognised), sprites and fonts built by the content kit at
// test time, a 480x800 RGB565 screen image with its Graphics, log capture,
// and golden pictures kept as text under tests/game/sprite/golden/ (same
// form as the display goldens; BRAMBLE_UPDATE_GOLDEN=1 rewrites them).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/sprite/bitmapfont.h"
#include "game/sprite/host.h"
#include "game/sprite/sprite.h"
#include "runtime/runtime.h"
#include "tools/kit/font.h"
#include "tools/kit/sprite.h"

namespace spritetest {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

// Loads the kit's demo string pool into the statics (Config::loadConstants).
void loadDemoPool(StaticClass& statics);

// Starts and closes the application of one test program run (or one test).
void startApplication(size_t objectHeap = 8 << 20, size_t dataHeap = 32 << 20);
void closeApplication();

// Captures the runtime log for its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    bool contains(const std::string& text) const;
    size_t count() const;
    void clear();
    std::vector<std::string> lines() const;
};

ByteArray* javaBytes(const kit::Bytes& bytes);
ShortArray* javaShorts(const std::vector<int16_t>& values);
IntArray* javaInts(const std::vector<int32_t>& values);
String* javaString(const std::u16string& text);

// A sprite loaded from the kit's encoding of model (or from raw bytes).
BSprite* loadSprite(const kit::SpriteModel& model);
BSprite* loadSprite(const kit::Bytes& bytes);
// A font sprite with its character map set.
BSprite* loadFont(const kit::FontDescription& font);

// A mutable RGB565 image with a Graphics on it (480 x 800 by default).
struct Screen {
    explicit Screen(jint width = 480, jint height = 800, uint16_t fill = 0);
    void clear(uint16_t value = 0);
    uint16_t at(jint x, jint y) const;
    std::vector<uint16_t> pixels() const;
    // Pixels (inside the image) that are not value; and their bounding box.
    int countNot(uint16_t value) const;
    bool boxNot(uint16_t value, jint* x1, jint* y1, jint* x2, jint* y2) const;
    void resetGraphics();

    Image* image;
    Graphics* g;
    jint width, height;
};

// Compares the area (x, y, w, h) of the screen with <folder>/<name>.txt
// (folder relative to the source tree).
void expectGolden(const std::string& name, const Screen& screen, jint x, jint y, jint w, jint h,
                  const char* folder = "tests/game/sprite/golden");

// A test with a fresh application.
class SpriteTest : public testing::Test {
protected:
    void SetUp() override { startApplication(); }
    void TearDown() override { closeApplication(); }
};

}  // namespace spritetest
