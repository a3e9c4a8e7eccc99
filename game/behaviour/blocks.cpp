// The block family's rows: tile blocks, pickups, carrying, pushers,
// the carrier with its dropper, chain and multi-copy paints.
#include "game/actor/actor.h"
#include "game/behaviour/blocks.h"
#include "game/behaviour/blocks_statics.h"
#include "game/behaviour/types.h"
#include "game/world/camera.h"

namespace game::behaviour {

namespace {

// The framework hands a type-4 painter the shift from world to view of the
// actor's own layer; the block paint places itself against layer 3's view
// and takes only the structure offset (how far the drawn position lies
// from the actor's own).
void paintType4Row(cActor* a, jint dx, jint dy) {
    if (!(a->flags & 0x400)) {
        dx += game::world::getLayerX(a->layer) - 400;
        dy += game::world::getLayerY(a->layer) - 240;
    }
    paintType4(a, dx, dy);
}

void paintType8Row(cActor* a, jint, jint) { paintType8(a); }
void paintType31Row(cActor* a, jint, jint) { paintType31(a); }
void paintType52Row(cActor* a, jint, jint) { paintType52(a); }

}  // namespace

void registerBlockTypes() {
    resetBlocksStatics();
    setUpdate(4, updateType4);
    setPaint(4, paintType4Row);
    setNeeds(4, {5, 0, 0});
    setUpdate(17, updateType17);
    setNeeds(17, {5, 0, 0});
    setUpdate(88, updateType88);
    setNeeds(88, {4, 0, 0});
    setPaint(8, paintType8Row);
    setPaint(31, paintType31Row);
    setPaint(52, paintType52Row);
}

}  // namespace game::behaviour
