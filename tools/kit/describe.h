// The kit's text description of a sprite or a sprite font, for hand-written
// demo and test data. Line oriented; '#' starts a comment on keyword lines;
// numbers are decimal or 0x-hex; colours are ARGB hex (AARRGGBB).
//
//   sprite                         optional first line ("font" for a font)
//   header N                       the two bytes before the flag word
//   flags N                        flag bits to set besides those the content needs
//   palette-format 8888|4444|5515|6505
//   pixel-format 5602|1600|0400|0200|64F0|27F1|56F2|A640
//   colors N                       colours per palette (default: the first palette's size)
//   palette C C C ...              one palette of ARGB colours
//   palette-native V V ...         one palette in the format's own values
//   module image W H [extra=N]     then H rows of pixels (see below)
//   module rect C W H              outline (type 1)
//   module fill C W H              filled rectangle (type 2)
//   module size W H                size only (type 5)
//   module arc C W H START ANGLE   (type 3)       module fill-arc C W H START ANGLE (type 4)
//   module triangle C X1 Y1 X2 Y2  (type 6)       module fill-triangle C X1 Y1 X2 Y2 (type 7)
//   module line C W H              (type 8)
//   module gradient C1 C2 DIR W H  (type 9)
//   block HH HH ...                the previous module's pixel block, written as it stands
//   frame                          starts a frame; fm, nest and rect lines belong to it
//   fm MODULE X Y [flags=N] [palette=N]
//   nest FRAME X Y [flags=N]       a nested frame
//   rect X Y W H                   a frame rectangle
//   anim                           starts an animation
//   af FRAME TIME [DX DY] [flags=N]
//   remap                          starts a remap table; then lines "MODULE REPLACEMENT"
//
// Pixel rows are taken as they stand (no comments): W characters, '.' for
// 0, '#' for 1, '0'-'9' and 'a'-'z' for 0-35; or, when the row holds
// spaces, W numbers.
//
// A font uses the same palette lines and, instead of modules and frames:
//   ascent N / descent N / line-spacing N / space N / char-map-size N
//   missing ADVANCE W H [x=N] [y=N]        then H rows
//   glyph CHAR ADVANCE W H [x=N] [y=N]     then H rows; CHAR is one
//                                          character, U+XXXX, or a number
#pragma once

#include "tools/kit/font.h"
#include "tools/kit/sprite.h"

#include <string_view>

namespace kit {

bool isFontDescription(std::string_view text);
SpriteModel parseSpriteDescription(std::string_view text);
FontDescription parseFontDescription(std::string_view text);

}  // namespace kit
