// Util's shared stream reader (big-endian numbers, a running byte count)
// and the small drawing routines kept beside the pack code: the clip setter
// and the cached colour row of the translucent fill.
#pragma once

#include "runtime/array.h"

class javax_microedition_lcdui_Graphics;

namespace game {

// One read() of Util.stream; a result of 0 or more counts one byte.
jint utilReadByte();
// Four bytes, most significant first.
jint utilReadInt32();
inline jint utilReadInt() { return utilReadInt32(); }
jint utilRead(ByteArray* b);
void utilClose();

void setClip(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h);
// cGame.fillRow: 256 ints of argb (filled only when the colour changes).
void setAlphaFillColor(jint argb);

}  // namespace game
