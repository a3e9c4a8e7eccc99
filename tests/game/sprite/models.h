// Sprite and font descriptions the tests build with the content kit.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "tools/kit/font.h"
#include "tools/kit/sprite.h"

namespace spritetest {

// Colours a pixel format can index.
inline int coloursFor(uint16_t pixelFormat) {
    switch (pixelFormat) {
    case kit::kPixels1: return 2;
    case kit::kPixels2: return 4;
    case kit::kPixels4: return 16;
    default: return 40;
    }
}

// Pixels with runs and literals; index 0 (transparent) where hole(x, y).
inline std::vector<uint8_t> patternPixels(int w, int h, int colours, uint32_t seed, bool holes = true) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> px(static_cast<size_t>(w) * h);
    uint8_t cur = 1;
    for (int i = 0; i < w * h; ++i) {
        if (rng() % 3 == 0) cur = static_cast<uint8_t>(1 + rng() % static_cast<unsigned>(colours - 1));
        const int x = i % w, y = i / w;
        px[static_cast<size_t>(i)] = holes && ((x + 2 * y) % 7 == 0) ? 0 : cur;
    }
    return px;
}

// Opaque palettes with index 0 transparent; colours well apart in RGB565.
inline std::vector<std::vector<uint32_t>> testPalettes(int count, int colours) {
    std::vector<std::vector<uint32_t>> out;
    for (int p = 0; p < count; ++p) {
        std::vector<uint32_t> pal;
        for (int i = 0; i < colours; ++i)
            pal.push_back(i == 0 ? 0u
                                 : 0xFF000000u | static_cast<uint32_t>((i * 53 + p * 90) & 0xF8) << 16 |
                                       static_cast<uint32_t>((i * 29 + 64) & 0xFC) << 8 |
                                       static_cast<uint32_t>((i * 97 + p * 40 + 8) & 0xF8));
        out.push_back(pal);
    }
    return out;
}

// A sprite that uses every part of the format: modules of every marker,
// frames with rectangles and nested frames, animations.
inline kit::SpriteModel richSprite(uint16_t paletteFormat = kit::kPalette8888, uint16_t pixelFormat = kit::kPixels8,
                                   uint32_t extraFlags = 0) {
    const int C = coloursFor(pixelFormat);
    kit::SpriteModel m;
    m.flags = extraFlags;
    kit::SpriteImages img;
    img.paletteFormat = paletteFormat;
    img.pixelFormat = pixelFormat;
    img.palettes = testPalettes(2, C);
    m.images = img;
    m.modules.push_back(kit::SpriteModule::image(7, 5, patternPixels(7, 5, C, 1)));     // 0
    m.modules.push_back(kit::SpriteModule::image(12, 9, patternPixels(12, 9, C, 2)));   // 1
    m.modules.back().extra = 9;
    m.modules.push_back(kit::SpriteModule::image(0, 0, {}));                             // 2
    m.modules.push_back(kit::SpriteModule::rect(0xFF102030, 10, 12));                    // 3
    m.modules.push_back(kit::SpriteModule::fillRect(0x80FFFFFF, 20, 4));                 // 4
    m.modules.push_back(kit::SpriteModule::sizeOnly(30, 40));                            // 5
    m.modules.push_back(kit::SpriteModule::arc(0xFFFF0000, 16, 16, 30, -270));           // 6
    m.modules.push_back(kit::SpriteModule::fillArc(0xFF00FF00, 16, 8, -45, 90));         // 7
    m.modules.push_back(kit::SpriteModule::triangle(0xFF0000FF, 5, -6, -7, 8));          // 8
    m.modules.push_back(kit::SpriteModule::fillTriangle(0xFFFFFF00, 9, 0, 0, 9));        // 9
    m.modules.push_back(kit::SpriteModule::line(0xFF00FFFF, 6, 3));                      // 10
    m.modules.push_back(kit::SpriteModule::gradient(0xFF000000, 0xFF0000FE, 1, 3, 2));  // 11

    kit::SpriteFrame f0;
    f0.modules = {{0, -3, -4, 0, 0}, {1, 5, 2, 1, 1}, {3, -10, 0, 0, 2}, {8, 0, 0, 0, 4}};
    f0.rects = {{-5, -6, 10, 12}, {3, 4, 200, 7}};
    kit::SpriteFrame f1;
    f1.modules = {{5, 0, 0, 0, 0}};
    kit::SpriteFrame f2;
    f2.modules = {{0, 0, 0, 0, kit::kFModuleNestedFrame | 1}, {1, 20, 0, 0, 5}};
    f2.rects = {{0, 0, 1, 1}};
    kit::SpriteFrame f3;  // empty
    m.frames = {f0, f1, f2, f3};

    kit::SpriteAnim a0;
    a0.frames = {{0, 3, 1, -2, 0}, {2, 5, -4, 6, 1}, {1, 0, 0, 0, 2}};
    kit::SpriteAnim a1;  // no frames
    m.anims = {a0, a1};
    return m;
}

// A small sprite font: glyphs A-D, a, b, the underscore and the digits 0-1
// drawn in palette index 1, metrics ascent 5, descent 1, line spacing 2.
inline kit::FontDescription testFont() {
    kit::FontDescription f;
    f.ascent = 5;
    f.descent = 1;
    f.lineSpacing = 2;
    f.spaceAdvance = 3;
    f.images.paletteFormat = kit::kPalette8888;
    f.images.pixelFormat = kit::kPixels4;
    f.images.palettes = {{0x00000000, 0xFFFFFFFF, 0xFFFF0000},
                         {0x00000000, 0xFF00FF00, 0xFF0000FF},
                         {0x00000000, 0xFF0000FF, 0xFF00FF00}};
    f.missing = kit::FontGlyph::fromRows(0, 4, {"###", "#.#", "#.#", "#.#", "###"});
    f.glyphs = {
        kit::FontGlyph::fromRows(u'A', 4, {".#.", "#.#", "###", "#.#", "#.#"}),
        kit::FontGlyph::fromRows(u'B', 4, {"##.", "#.#", "##.", "#.#", "##."}),
        kit::FontGlyph::fromRows(u'C', 4, {".##", "#..", "#..", "#..", ".##"}),
        kit::FontGlyph::fromRows(u'D', 5, {"###.", "#..#", "#..#", "#..#", "###."}),
        kit::FontGlyph::fromRows(u'a', 3, {"..", "##", ".#", "##", "##"}),
        kit::FontGlyph::fromRows(u'b', 3, {"#.", "#.", "##", "#2", "##"}),
        kit::FontGlyph::fromRows(u'_', 4, {"...", "...", "...", "...", "###"}),
        kit::FontGlyph::fromRows(u'0', 4, {"###", "#.#", "#.#", "#.#", "###"}),
        kit::FontGlyph::fromRows(u'1', 4, {".#.", "##.", ".#.", ".#.", "###"}),
    };
    f.charMapSize = 4;
    return f;
}

}  // namespace spritetest
