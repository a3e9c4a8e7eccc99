// The block family's own statics and the small cGame operations
// its routines share (see blocks_statics.h).
#include "game/behaviour/blocks_statics.h"

#include "game/world/camera.h"

namespace game::behaviour {

BlocksStatics& blks() {
    static BlocksStatics s;
    return s;
}

void resetBlocksStatics() { blks() = BlocksStatics{}; }

void restoreCameraLimits() {
    IntArray* s = cg().savedCameraLimits;
    if (!s || s->length() < 4) return;
    const jint l = s->data()[0], t = s->data()[1], r = s->data()[2], b = s->data()[3];
    game::world::setCameraLimits(l, t, r, b);
}

}  // namespace game::behaviour
