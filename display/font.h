// The one font behind every javax.microedition.lcdui.Font, whatever its
// face, style and size: a scalable font file (BRAMBLE_FONT, else DejaVu
// Sans from fonts-dejavu-core) rendered through FreeType at one pixel size,
// monochrome, so every text pixel is exactly the drawing colour and the
// key colour of the text bitmap stays exact. Metrics are the same for every
// Font. When the file cannot be loaded (logged once) every measurement is 0
// and text draws nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/jint.h"

namespace display {

using java::jchar;
using java::jint;

// Pixel size the font is rendered at.
constexpr int kFontPixelSize = 18;
// The font used when BRAMBLE_FONT is not set.
constexpr const char* kDefaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// Background value of the 32-bit text bitmap; copying skips exactly it.
constexpr uint32_t kTextKey = 0x0000F81F;

struct FontMetrics {
    jint ascent = 0;  // baseline position from the top
    jint height = 0;  // ascent + descent
};

FontMetrics fontMetrics();
// The file in use (or tried).
std::string fontFile();

// Width in pixels of count UTF-16 units.
jint textWidth(const jchar* text, size_t count);
// Width of the characters start .. end inclusive of text (length units):
// 0 when start > end; an index outside the text logs and answers 0.
jint substringWidth(const jchar* text, size_t length, jint start, jint end);
inline jint charWidth(jchar c) { return textWidth(&c, 1); }

// Renders count UTF-16 units into a 32-bit bitmap window: the text occupies
// textWidth(text, count) x fontMetrics().height pixels with its top-left at
// (0, 0); the window is the part (windowX, windowY, windowW, windowH) of it,
// stored row by row in out (windowW x windowH values). Background pixels
// get kTextKey, text pixels rgb (0x00RRGGBB). Answers false without a font.
bool renderText(const jchar* text, size_t count, uint32_t rgb, jint windowX, jint windowY, jint windowW,
                jint windowH, uint32_t* out);

}  // namespace display
