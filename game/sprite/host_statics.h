// Static fields of the built-in sprite host (game/sprite/host.h): its colour
// row, its current Graphics and its two pixel buffers, each a collector root.
#pragma once

#include "runtime/array.h"
#include "runtime/statics.h"

class javax_microedition_lcdui_Graphics;

namespace sprite {

struct StandaloneHostStatics {
    IntArray* colourRow;
    jint colourRowColour;
    javax_microedition_lcdui_Graphics* current;
    IntArray* pixelBuffer;
    IntArray* rotationBuffer;
};

extern StaticsContribution g_StandaloneHostStatics;

}  // namespace sprite
