// Sprite fonts: a font sprite whose frame 0 carries the metrics, frame 1 is
// the glyph drawn for a character the map lacks, and every further frame is
// one glyph; plus the character map (a short array) that the game hands to
// the font after loading it.
//
// Frame layout the text engine reads:
//   frame 0: three frame modules at y = -ascent, descent and
//            descent + lineSpacing, so fontTop = ascent, fontHeight =
//            ascent + descent and lineSpacing come out as given;
//   glyph frames: frame module 0 sits at x = advance (the glyph's advance);
//            the glyph's picture, if any, follows as frame module 1 at
//            (xOffset, yOffset - ascent), its top left in the line's cell.
// The anchor frame modules use module 0, a size-only module of 0 x 0.
//
// Character map: map[0] = S buckets, then S (character, frame) pairs, pair
// i being the first of bucket i (a character c lives in bucket c mod S);
// then, for each bucket with more characters, (bucket, n, n pairs). A
// bucket without characters gets a filler pair whose character can never
// land in it, pointing at frame 1.
#pragma once

#include "tools/kit/sprite.h"

#include <map>
#include <string>
#include <vector>

namespace kit {

struct FontGlyph {
    char16_t ch = 0;          // unused for the missing glyph
    int advance = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // width * height palette indices
    int xOffset = 0, yOffset = 0; // picture position inside the cell (from its top)

    // A glyph from text rows: '.' and ' ' are index 0 (transparent), '#' is
    // 1, '0'-'9' and 'a'-'z' are 0-35. Width is the longest row.
    static FontGlyph fromRows(char16_t ch, int advance, const std::vector<std::string>& rows);
};

struct FontDescription {
    int ascent = 0, descent = 0, lineSpacing = 0;
    int spaceAdvance = 0;         // advance of ' ' when the glyphs hold no ' '
    FontGlyph missing;            // frame 1
    std::vector<FontGlyph> glyphs;  // frames 2, 3, ... in this order (a glyph for ' ' is added when absent)
    SpriteImages images;          // palettes and pixel format; index 0 is normally transparent
    int charMapSize = 0;          // buckets; 0 picks the number of characters
};

struct FontBuild {
    SpriteModel sprite;
    std::vector<int16_t> charMap;
    std::map<char16_t, int> frameOf;  // glyph frame of every mapped character
};

// The default images of a font: 8888 palette {transparent, white}, 4-bit pixels.
SpriteImages defaultFontImages();
FontBuild buildFont(const FontDescription& font);

// Lays out a character map; throws for a size below 1, a character above
// 0x7FFF (the map holds signed shorts) or a character given twice.
std::vector<int16_t> buildCharMap(const std::vector<std::pair<char16_t, int>>& pairs, int size);
// The engine's look-up over such a map: the frame of c, 1 when absent, 0
// when the map is empty.
int lookupCharMap(const std::vector<int16_t>& map, char16_t c);

// The game's data-node form of a short array (tag 0x19: kind 1, a u16
// count, 16-bit little-endian elements), in which the character map is
// stored among the game's data.
Bytes encodeShortNode(const std::vector<int16_t>& values);
// Reads a data node of kind 1 (short array) in any of its forms (u8 or u16
// count, 8- or 16-bit elements); strict: other kinds, short data or bytes
// left over throw KitError.
std::vector<int16_t> decodeShortNode(ByteSpan bytes);
// Checks a character map's layout: a size of at least 1, every first pair
// present, every group naming a bucket of the map and holding the pairs it
// announces, nothing left over. Throws KitError naming the fault.
void checkCharMap(const std::vector<int16_t>& map);

}  // namespace kit
