// Fixture of the cross-promotion screen tests: a device root whose archive
// holds a pack and a descriptor made by the content kit, an application
// with the io, lcdui and Showcase statics and the kit's demo pool, a MIDlet,
// a settable tick clock, an 800 x 480 screen image, log capture and text
// goldens under tests/game/showcase/golden (BRAMBLE_UPDATE_GOLDEN=1
// rewrites them).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/lcdui/graphics.h"
#include "display/lcdui/image.h"
#include "game/showcase/showcase.h"
#include "io/midlet.h"
#include "runtime/runtime.h"
#include "tests/runtime/fixture.h"
#include "tools/kit/jad.h"
#include "tools/kit/showcase.h"
#include "tools/kit/stringpool.h"

namespace showcasetest {

using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;
using MIDlet = javax_microedition_midlet_MIDlet;

// The tick count the screen reads while a test runs.
extern uint32_t g_tick;

// The demo's link properties (the kit's), for tests that change a few.
kit::JadProperties demoProperties();

struct World {
    kit::Bytes pack;                       // empty: no pack in the archive
    kit::JadProperties properties = demoProperties();
    kit::StringPool pool;                  // the kit's demo pool unless set
};

// Starts the application over a fresh device holding the world; the MIDlet
// is created (null when withMidlet is false).
void start(const World& world, bool withMidlet = true);
void stop();
MIDlet* midlet();

// Set-up as the game does it (800 x 480, no canvas).
void setupScreen();
// Enters the screen and runs the loading steps until the page shows.
void enterAndLoad(jint language = 0);

// Captures the runtime log for its lifetime (the runtime tests' helper).
using LogCapture = ::LogCapture;

ByteArray* javaBytes(const kit::Bytes& bytes);
std::string utf8(String* s);

struct Screen {
    Screen(jint width = 800, jint height = 480);
    void clear(uint16_t value = 0);
    uint16_t at(jint x, jint y) const;
    Image* image;
    Graphics* g;
    jint width, height;
};

// Compares the area (x, y, w, h) with golden/<name>.txt, every step-th
// pixel in both directions.
void expectGolden(const std::string& name, const Screen& screen, jint x, jint y, jint w, jint h, jint step = 1);

class ShowcaseTest : public testing::Test {
protected:
    void TearDown() override { stop(); }
};

}  // namespace showcasetest
