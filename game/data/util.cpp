// Util's stream reader and the small drawing routines (see util.h).
// Exceptions of the stream stay pending for the caller's handler.
#include "game/data/util.h"

#include "display/lcdui/graphics.h"
#include "game/data/statics.h"
#include "javalib/inputstreams.h"
#include "runtime/runtime.h"

namespace game {

jint utilReadByte() {
    java_io_InputStream* s = util().stream;
    if (!s) {
        rt::logNullPointer();
        return -1;
    }
    const jint v = s->read();
    if (v >= 0) util().bytesRead++;
    return v;
}

jint utilReadInt32() {
    jint v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | (utilReadByte() & 0xFF);
    return v;
}

jint utilRead(ByteArray* b) {
    java_io_InputStream* s = util().stream;
    if (!s) {
        rt::logNullPointer();
        return -1;
    }
    const jint n = s->read(b);
    if (n > 0) util().bytesRead += n;
    return n;
}

void utilClose() {
    if (java_io_InputStream* s = util().stream) s->close();
    util().stream = nullptr;
    java_lang_System::gc();
}

void setClip(javax_microedition_lcdui_Graphics* g, jint x, jint y, jint w, jint h) {
    if (!g) {
        rt::logNullPointer();
        return;
    }
    g->setClip(x, y, w, h);
}

void setAlphaFillColor(jint argb) {
    cGameStatics& g = cg();
    if (g.fillRow && g.fillColor == argb) return;
    g.fillColor = argb;
    if (!g.fillRow) g.fillRow = newIntArray(256);
    jint* row = cg().fillRow->data();
    for (jint i = 0; i < 256; ++i) row[i] = argb;
}

}  // namespace game
