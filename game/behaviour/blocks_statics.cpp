// The block family's statics contribution and the small cGame operations
// its routines share (see blocks_statics.h).
#include "game/behaviour/blocks_statics.h"

#include "game/data/hooks.h"

namespace game::behaviour {

StaticsContribution g_blocksStatics = contribution<BlocksStatics>("cActor.blocks", kClinitActor + 1, nullptr);

void registerBlocksStatics() {
    static bool done = false;
    if (done) return;
    done = true;
    StaticClass::contribute(&g_blocksStatics);
}

const StaticsContribution* blocksStaticsContribution() { return &g_blocksStatics; }

void restoreCameraLimits() {
    IntArray* s = cg().savedCameraLimits;
    if (!s || s->length() < 4) return;
    const jint l = s->data()[0], t = s->data()[1], r = s->data()[2], b = s->data()[3];
    worldHooks().setCameraLimits(l, t, r, b);
}

}  // namespace game::behaviour
